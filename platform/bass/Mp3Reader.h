// An MP3 file held in memory, decoded by libmpg123 into 32-bit float frames
// at the file's own rate and channel count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct mpg123_handle_struct;

namespace bass {

class Mp3Reader {
public:
    // Null when the bytes hold no decodable MPEG audio.
    static std::unique_ptr<Mp3Reader> Open(std::vector<unsigned char> bytes);
    ~Mp3Reader();
    Mp3Reader(const Mp3Reader&) = delete;
    Mp3Reader& operator=(const Mp3Reader&) = delete;

    long Rate() const { return rate_; }
    int Channels() const { return channels_; }
    // Frames the whole file decodes to (a full scan, so exact).
    std::int64_t Length() const { return length_; }

    // Decodes up to maxFrames interleaved frames into out; 0 at the end of
    // the file or on an error that ends decoding.
    std::size_t Read(float* out, std::size_t maxFrames);

private:
    explicit Mp3Reader(std::vector<unsigned char> bytes);
    bool Start();

    std::vector<unsigned char> bytes_;
    std::size_t readOffset_ = 0;
    mpg123_handle_struct* handle_ = nullptr;
    long rate_ = 0;
    int channels_ = 0;
    std::int64_t length_ = 0;

    friend struct MemoryIo;
};

}  // namespace bass
