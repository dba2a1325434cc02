// stb_image_write's compressor (stbi_zlib_compress) restated: every choice
// it makes is kept, so the output is the same; what differs is how fast the
// matches are measured and the bits put out.
#include "app/capture/PngDeflate.h"

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "matches are measured with little-endian word loads");

namespace {

constexpr int kBuckets = 16384;
constexpr int kWindow = 32768;
constexpr int kMaxMatch = 258;
constexpr int kStoredBlock = 32767;

constexpr unsigned short kLengthBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11,  13,
                                          15, 17, 19, 23,  27,  31,  35,  43,  51,  59,
                                          67, 83, 99, 115, 131, 163, 195, 227, 258, 259};
constexpr unsigned char kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr unsigned short kDistanceBase[] = {
    1,   2,   3,   4,   5,    7,    9,    13,   17,   25,   33,   49,    65,    97,    129,  193,
    257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32768};
constexpr unsigned char kDistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

unsigned Reversed(unsigned code, int bits) {
    unsigned result = 0;
    while (bits-- > 0) {
        result = (result << 1) | (code & 1);
        code >>= 1;
    }
    return result;
}

// The fixed Huffman code of each literal/length symbol, bits reversed as
// they go out, and its length.
struct FixedCodes {
    unsigned code[288];
    int bits[288];
    FixedCodes() {
        for (unsigned n = 0; n < 288; ++n) {
            if (n <= 143) {
                code[n] = Reversed(0x30 + n, 8), bits[n] = 8;
            } else if (n <= 255) {
                code[n] = Reversed(0x190 + n - 144, 9), bits[n] = 9;
            } else if (n <= 279) {
                code[n] = Reversed(n - 256, 7), bits[n] = 7;
            } else {
                code[n] = Reversed(0xc0 + n - 280, 8), bits[n] = 8;
            }
        }
    }
};

const FixedCodes kCodes;

unsigned Hash(const std::uint8_t* data) {
    std::uint32_t hash = data[0] + (data[1] << 8) + (data[2] << 16);
    hash ^= hash << 3;
    hash += hash >> 5;
    hash ^= hash << 4;
    hash += hash >> 17;
    hash ^= hash << 25;
    hash += hash >> 6;
    return hash & (kBuckets - 1);
}

// How many bytes a and b share from the start, up to limit and 258.
int MatchLength(const std::uint8_t* a, const std::uint8_t* b, int limit) {
    limit = std::min(limit, kMaxMatch);
    int i = 0;
    while (i + 8 <= limit) {
        std::uint64_t x = 0, y = 0;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y) {
            return i + std::countr_zero(x ^ y) / 8;
        }
        i += 8;
    }
    while (i < limit && a[i] == b[i]) {
        ++i;
    }
    return i;
}

// Bits packed from the lowest up, flushed a word at a time.
class BitWriter {
public:
    explicit BitWriter(std::uint8_t* out) : out_(out) {}
    void Put(unsigned code, int bits) {
        buffer_ |= std::uint64_t(code) << count_;
        count_ += bits;
        if (count_ >= 32) {
            const std::uint32_t word = static_cast<std::uint32_t>(buffer_);
            std::memcpy(out_ + size_, &word, 4);
            size_ += 4;
            buffer_ >>= 32;
            count_ -= 32;
        }
    }
    void Symbol(int n) { Put(kCodes.code[n], kCodes.bits[n]); }
    void Byte(std::uint8_t byte) { Put(byte, 8); }
    // Pads with zero bits to a whole byte and puts out what is left.
    std::size_t Finish() {
        while (count_ > 0) {
            out_[size_++] = static_cast<std::uint8_t>(buffer_);
            buffer_ >>= 8;
            count_ = count_ > 8 ? count_ - 8 : 0;
        }
        return size_;
    }

private:
    std::uint8_t* out_;
    std::size_t size_ = 0;
    std::uint64_t buffer_ = 0;
    int count_ = 0;
};

std::uint32_t Adler32(const std::uint8_t* data, int size) {
    std::uint32_t s1 = 1, s2 = 0;
    while (size > 0) {
        const int block = std::min(size, 5552);
        for (int i = 0; i < block; ++i) {
            s1 += data[i];
            s2 += s1;
        }
        s1 %= 65521;
        s2 %= 65521;
        data += block;
        size -= block;
    }
    return (s2 << 16) | s1;
}

}  // namespace

PngDeflate::PngDeflate(int quality)
    : quality_(std::max(quality, 5)),
      chains_(std::size_t(kBuckets) * 2 * std::size_t(quality_)),
      counts_(kBuckets) {}

std::size_t PngDeflate::Bound(std::size_t size) {
    // No code spends more than 9 bits a byte; stored blocks 5 bytes each.
    const std::size_t coded = size + size / 8 + 8;
    const std::size_t stored = size + (size + kStoredBlock - 1) / kStoredBlock * 5;
    return 2 + std::max(coded, stored) + 4;
}

std::size_t PngDeflate::Compress(const std::uint8_t* data, int size, std::uint8_t* out) {
    const int quality = quality_;
    std::fill(counts_.begin(), counts_.end(), 0);
    out[0] = 0x78;  // a 32K window
    out[1] = 0x5e;  // level 1
    BitWriter bits(out + 2);
    bits.Put(1, 1);  // the final block
    bits.Put(1, 2);  // fixed Huffman codes

    int i = 0;
    while (i < size - 3) {
        unsigned h = Hash(data + i);
        int best = 3;
        const std::uint8_t* bestAt = nullptr;
        const std::uint8_t** chain = &chains_[std::size_t(h) * 2 * std::size_t(quality)];
        int n = counts_[h];
        for (int j = 0; j < n; ++j) {
            if (chain[j] - data > i - kWindow) {
                const int d = MatchLength(chain[j], data + i, size - i);
                if (d >= best) {
                    best = d;
                    bestAt = chain[j];
                }
            }
        }
        // A full bucket forgets its older half.
        if (n == 2 * quality) {
            std::memmove(chain, chain + quality, sizeof(chain[0]) * std::size_t(quality));
            n = quality;
        }
        chain[n] = data + i;
        counts_[h] = n + 1;

        if (bestAt != nullptr) {
            // A longer match from the next byte on makes this byte a literal.
            h = Hash(data + i + 1);
            chain = &chains_[std::size_t(h) * 2 * std::size_t(quality)];
            n = counts_[h];
            for (int j = 0; j < n; ++j) {
                if (chain[j] - data > i - (kWindow - 1) &&
                    MatchLength(chain[j], data + i + 1, size - i - 1) > best) {
                    bestAt = nullptr;
                    break;
                }
            }
        }

        if (bestAt != nullptr) {
            const int distance = static_cast<int>(data + i - bestAt);
            int j = 0;
            while (best > kLengthBase[j + 1] - 1) {
                ++j;
            }
            bits.Symbol(j + 257);
            if (kLengthExtra[j] != 0) {
                bits.Put(unsigned(best - kLengthBase[j]), kLengthExtra[j]);
            }
            j = 0;
            while (distance > kDistanceBase[j + 1] - 1) {
                ++j;
            }
            bits.Put(Reversed(unsigned(j), 5), 5);
            if (kDistanceExtra[j] != 0) {
                bits.Put(unsigned(distance - kDistanceBase[j]), kDistanceExtra[j]);
            }
            i += best;
        } else {
            bits.Symbol(data[i]);
            ++i;
        }
    }
    for (; i < size; ++i) {
        bits.Symbol(data[i]);
    }
    bits.Symbol(256);
    std::size_t length = 2 + bits.Finish();

    // Stored blocks instead where coding made it bigger.
    if (length >
        std::size_t(size) + 2 + std::size_t((size + kStoredBlock - 1) / kStoredBlock) * 5) {
        length = 2;
        for (int j = 0; j < size;) {
            const int block = std::min(size - j, kStoredBlock);
            out[length++] = size - j == block ? 1 : 0;
            out[length++] = static_cast<std::uint8_t>(block);
            out[length++] = static_cast<std::uint8_t>(block >> 8);
            out[length++] = static_cast<std::uint8_t>(~block);
            out[length++] = static_cast<std::uint8_t>(~block >> 8);
            std::memcpy(out + length, data + j, std::size_t(block));
            length += std::size_t(block);
            j += block;
        }
    }
    const std::uint32_t adler = Adler32(data, size);
    out[length++] = static_cast<std::uint8_t>(adler >> 24);
    out[length++] = static_cast<std::uint8_t>(adler >> 16);
    out[length++] = static_cast<std::uint8_t>(adler >> 8);
    out[length++] = static_cast<std::uint8_t>(adler);
    return length;
}
