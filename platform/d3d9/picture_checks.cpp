#include "picture_checks.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::array<unsigned char, 8> kPngSignature = {0x89, 'P',  'N',  'G',
                                                        '\r', '\n', 0x1A, '\n'};

// Length, type and CRC around each chunk's data.
constexpr long long kChunkHeaderBytes = 8;
constexpr long long kChunkCrcBytes = 4;

// A file may be cut to a quarter of what its pixels need and still decode.
constexpr long long kShortestCut = 4;
// JPEG's densest coding: one bit for each 8x8 block's DC difference (a
// one-bit Huffman code for "no change"), and nothing else.
constexpr long long kJpegPixelsPerByte = 8 * 64;
// TGA: the header before the image ID, and the most pixels one run-length
// packet repeats.
constexpr long long kTgaHeaderBytes = 18;
constexpr long long kTgaPixelsPerPacket = 128;

std::uint32_t BigEndian32(const unsigned char* bytes) {
    return std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
           std::uint32_t(bytes[2]) << 8 | std::uint32_t(bytes[3]);
}

bool StartsWithPngSignature(std::FILE* file) {
    std::array<unsigned char, 8> signature{};
    return std::fread(signature.data(), 1, signature.size(), file) == signature.size() &&
           signature == kPngSignature;
}

// Reads from just after the signature.
bool ChunksFitAfterTheSignature(std::FILE* file, long long fileSize) {
    long long position = static_cast<long long>(kPngSignature.size());
    for (;;) {
        unsigned char header[kChunkHeaderBytes];
        if (std::fread(header, 1, sizeof header, file) != sizeof header) {
            // Cut short before IEND: the decoder reports that itself.
            return true;
        }
        const long long length = BigEndian32(header);
        position += kChunkHeaderBytes;
        if (length > fileSize - position) {
            return false;
        }
        if (std::memcmp(header + 4, "IEND", 4) == 0) {
            return true;
        }
        position += length + kChunkCrcBytes;
        if (std::fseek(file, static_cast<long>(position), SEEK_SET) != 0) {
            return false;
        }
    }
}

// The pixels a TGA of `fileSize` bytes could describe, when its header
// (already read) is one of the uncompressed or run-length types; -1 for the
// other types, which the decoder refuses itself.
long long MostTgaPixels(const unsigned char (&header)[kTgaHeaderBytes], long long fileSize) {
    const long long idBytes = header[0];
    const long long colourMapBytes =
        header[1] == 1 ? (header[5] | header[6] << 8) * ((header[7] + 7LL) / 8) : 0;
    const long long pixelBytes = (header[16] + 7LL) / 8;
    const long long imageBytes = fileSize - kTgaHeaderBytes - idBytes - colourMapBytes;
    if (pixelBytes == 0 || imageBytes < 0) {
        return 0;
    }
    switch (header[2]) {
        case 1:
        case 2:
        case 3:
            return imageBytes / pixelBytes;
        case 9:
        case 10:
        case 11:
            return imageBytes / (1 + pixelBytes) * kTgaPixelsPerPacket;
        default:
            return -1;
    }
}

long long FileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long long size = std::ftell(file);
    return std::fseek(file, 0, SEEK_SET) == 0 ? size : -1;
}

// Runs check from the file's start and puts the position back; false when
// the file cannot be positioned.
template <typename Check>
bool FromTheStart(std::FILE* file, Check check) {
    const long start = std::ftell(file);
    if (start < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        return false;
    }
    const bool passed = check();
    return std::fseek(file, start, SEEK_SET) == 0 && passed;
}

}  // namespace

bool IsJpegPngOrTga(std::FILE* file) {
    return FromTheStart(file, [file] {
        unsigned char first[2] = {};
        if (std::fread(first, 1, sizeof first, file) != sizeof first) {
            return false;
        }
        const bool jpeg = first[0] == 0xFF && first[1] == 0xD8;
        const bool png = first[0] == kPngSignature[0] && first[1] == kPngSignature[1];
        // A TGA's second byte is its colour-map type, 0 or 1; none of the
        // other formats' signatures has 0 or 1 there.
        const bool tga = first[1] <= 1;
        return jpeg || png || tga;
    });
}

bool PngChunksFitTheFile(std::FILE* file) {
    return FromTheStart(file, [file] {
        const long long fileSize = FileSize(file);
        return fileSize >= 0 &&
               (!StartsWithPngSignature(file) || ChunksFitAfterTheSignature(file, fileSize));
    });
}

bool PixelsCouldBeInTheFile(std::FILE* file, long long pixels) {
    return FromTheStart(file, [file, pixels] {
        const long long fileSize = FileSize(file);
        unsigned char header[kTgaHeaderBytes] = {};
        if (fileSize < 0 || std::fread(header, 1, sizeof header, file) < 2) {
            return false;
        }
        if (header[0] == 0xFF && header[1] == 0xD8) {
            return pixels <= kShortestCut * kJpegPixelsPerByte * fileSize;
        }
        if (header[0] == kPngSignature[0] || header[1] > 1) {
            return true;
        }
        const long long most = MostTgaPixels(header, fileSize);
        return most < 0 || pixels <= kShortestCut * most;
    });
}
