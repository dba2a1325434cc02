// stb_image_write compiled here, private to this file, with its allocations
// served by a bump arena that every Encode starts afresh, and its zlib
// compressor replaced by PngDeflate, which makes the same bytes faster. Only
// a frame that needs more than the arena holds falls back on the heap.
#include "app/capture/PngEncoder.h"

#include "app/capture/PngDeflate.h"

#include <cstdlib>

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
};

namespace {

constexpr std::size_t kAlignment = 16;
// Fast: short match chains; frames are large and many.
constexpr int kCompressionLevel = 1;
// The PNG file around the compressed stream: signature and chunks.
constexpr std::size_t kPngFraming = 64;

// The encoder at work on this thread.
thread_local PngEncoder::Arena* g_arena = nullptr;
thread_local PngDeflate* g_deflate = nullptr;

std::size_t Aligned(std::size_t size) {
    return (size + kAlignment - 1) / kAlignment * kAlignment;
}

void* ArenaMalloc(std::size_t size) {
    PngEncoder::Arena& arena = *g_arena;
    const std::size_t need = Aligned(size);
    if (arena.capacity - arena.used < need) {
        return std::malloc(size);
    }
    void* block = arena.memory + arena.used;
    arena.used += need;
    return block;
}

void ArenaFree(void* p) {
    if (p != nullptr && !g_arena->Holds(p)) {
        std::free(p);
    }
}

// The level is the one the deflater was made with (kCompressionLevel).
unsigned char* Compress(unsigned char* data, int size, int* compressedSize, int /*level*/) {
    auto* out = static_cast<unsigned char*>(ArenaMalloc(PngDeflate::Bound(std::size_t(size))));
    if (out == nullptr) {
        return nullptr;
    }
    *compressedSize = static_cast<int>(g_deflate->Compress(data, size, out));
    return out;
}

}  // namespace

#define STBIW_ZLIB_COMPRESS(data, size, compressedSize, quality) \
    Compress(data, size, compressedSize, quality)
#define STBIW_MALLOC(size) ArenaMalloc(size)
// Asked for with the others; with the compressor replaced nothing grows a
// block.
#define STBIW_REALLOC(p, size) std::realloc(p, size)
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
    : width_(width),
      height_(height),
      channels_(channels),
      deflate_(std::make_unique<PngDeflate>(kCompressionLevel)) {
    // The filtered image, a row, the compressed stream and the finished
    // file, each rounded up to the alignment.
    const std::size_t row = static_cast<std::size_t>(width * channels);
    const std::size_t image = (row + 1) * static_cast<std::size_t>(height);
    arena_ = std::make_unique<Arena>(image + row + 2 * (PngDeflate::Bound(image) + kPngFraming) +
                                     4 * kAlignment);
    stbi_write_png_compression_level = kCompressionLevel;
}

PngEncoder::~PngEncoder() = default;

const std::uint8_t* PngEncoder::Encode(const std::uint8_t* pixels, std::size_t* size) {
    g_arena = arena_.get();
    g_deflate = deflate_.get();
    if (encoded_ != nullptr) {
        ArenaFree(encoded_);
    }
    arena_->used = 0;
    int length = 0;
    encoded_ =
        stbi_write_png_to_mem(pixels, width_ * channels_, width_, height_, channels_, &length);
    *size = encoded_ != nullptr ? static_cast<std::size_t>(length) : 0;
    return encoded_;
}
