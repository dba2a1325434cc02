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
        if (std::fseek(file, 0, SEEK_END) != 0) {
            return false;
        }
        const long long fileSize = std::ftell(file);
        if (fileSize < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
            return false;
        }
        return !StartsWithPngSignature(file) || ChunksFitAfterTheSignature(file, fileSize);
    });
}
