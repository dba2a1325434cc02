// stb_image_write compiled here, private to this file, with its allocations
// served by a bump arena that every Encode starts afresh. Only a frame that
// needs more than the arena holds falls back on the heap.
#include "app/capture/PngEncoder.h"

#include <cstdlib>
#include <cstring>

struct PngEncoder::Arena {
    explicit Arena(std::size_t capacity)
        : memory(static_cast<unsigned char*>(std::malloc(capacity))),
          capacity(memory != nullptr ? capacity : 0) {}
    ~Arena() { std::free(memory); }

    bool Holds(const void* p) const {
        const unsigned char* byte = static_cast<const unsigned char*>(p);
        return byte >= memory && byte < memory + capacity;
    }

    unsigned char* memory;
    std::size_t capacity;
    std::size_t used = 0;
    // The latest block, which may grow in place.
    unsigned char* last = nullptr;
};

namespace {

constexpr std::size_t kAlignment = 16;
// The encoder's own needs on top of the filtered image and its compressed
// copies: the match-finder's hash buckets (16384 chains of up to 15
// pointers, grown by doubling).
constexpr std::size_t kHashTableBytes = 16384 * (16 + 32 + 64 + 128) + 16384 * 8;

PngEncoder::Arena* g_arena = nullptr;

std::size_t Aligned(std::size_t size) {
    return (size + kAlignment - 1) / kAlignment * kAlignment;
}

void* ArenaMalloc(std::size_t size) {
    PngEncoder::Arena& arena = *g_arena;
    const std::size_t need = Aligned(size);
    if (arena.capacity - arena.used < need) {
        return std::malloc(size);
    }
    arena.last = arena.memory + arena.used;
    arena.used += need;
    return arena.last;
}

void ArenaFree(void* p) {
    if (p != nullptr && !g_arena->Holds(p)) {
        std::free(p);
    }
}

void* ArenaRealloc(void* p, std::size_t oldSize, std::size_t newSize) {
    PngEncoder::Arena& arena = *g_arena;
    if (p == nullptr) {
        return ArenaMalloc(newSize);
    }
    if (!arena.Holds(p)) {
        return std::realloc(p, newSize);
    }
    if (p == arena.last) {
        const std::size_t start = static_cast<std::size_t>(arena.last - arena.memory);
        if (arena.capacity - start >= Aligned(newSize)) {
            arena.used = start + Aligned(newSize);
            return p;
        }
    }
    void* grown = ArenaMalloc(newSize);
    if (grown != nullptr) {
        std::memcpy(grown, p, oldSize < newSize ? oldSize : newSize);
    }
    return grown;
}

}  // namespace

#define STBIW_MALLOC(size) ArenaMalloc(size)
#define STBIW_REALLOC_SIZED(p, oldSize, newSize) ArenaRealloc(p, oldSize, newSize)
#define STBIW_FREE(p) ArenaFree(p)
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

PngEncoder::PngEncoder(int width, int height, int channels)
    : width_(width), height_(height), channels_(channels) {
    // The filtered image, its compressed stream while it grows by doubling
    // (at worst about four times the image), the finished file, and the
    // hash buckets.
    const std::size_t image =
        static_cast<std::size_t>(width * channels + 1) * static_cast<std::size_t>(height);
    arena_ = std::make_unique<Arena>(7 * image + kHashTableBytes);
    // Fast: short match chains; frames are large and many.
    stbi_write_png_compression_level = 1;
}

PngEncoder::~PngEncoder() = default;

const std::uint8_t* PngEncoder::Encode(const std::uint8_t* pixels, std::size_t* size) {
    g_arena = arena_.get();
    if (encoded_ != nullptr) {
        ArenaFree(encoded_);
    }
    arena_->used = 0;
    arena_->last = nullptr;
    int length = 0;
    encoded_ =
        stbi_write_png_to_mem(pixels, width_ * channels_, width_, height_, channels_, &length);
    *size = encoded_ != nullptr ? static_cast<std::size_t>(length) : 0;
    return encoded_;
}
