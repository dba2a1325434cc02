// operator new and delete over malloc and free, each new asking the watcher.
#include "tests/app/ReplacedAllocator.h"

#include <cstdlib>
#include <new>

namespace allocation {

namespace {

Watcher g_watcher = nullptr;

}  // namespace

void Watch(Watcher watcher) {
    g_watcher = watcher;
}

}  // namespace allocation

#ifdef HUSH_REPLACES_ALLOCATOR

// The replaced operators below pair malloc with free, which GCC cannot see
// through where it inlines them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

bool Allowed() {
    return allocation::g_watcher == nullptr || allocation::g_watcher();
}

void* Allocate(std::size_t size) {
    return Allowed() ? std::malloc(size > 0 ? size : 1) : nullptr;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    if (!Allowed()) {
        return nullptr;
    }
    const std::size_t align = static_cast<std::size_t>(alignment);
    return std::aligned_alloc(align, (size + align - 1) / align * align);
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* block = Allocate(size)) {
        return block;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    if (void* block = AllocateAligned(size, alignment)) {
        return block;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return operator new(size, alignment);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}

#endif
