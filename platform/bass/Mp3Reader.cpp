// MP3 decoding through libmpg123, reading from memory through replaced I/O.
#include "platform/bass/Mp3Reader.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <sys/types.h>

namespace bass {

// The read and seek callbacks libmpg123 calls on the reader's bytes.
struct MemoryIo {
    static mpg123_ssize_t Read(void* handle, void* buffer, std::size_t count) {
        auto* reader = static_cast<Mp3Reader*>(handle);
        const std::size_t left = reader->bytes_.size() - reader->readOffset_;
        const std::size_t n = std::min(count, left);
        if (n > 0) {
            std::memcpy(buffer, reader->bytes_.data() + reader->readOffset_, n);
            reader->readOffset_ += n;
        }
        return static_cast<mpg123_ssize_t>(n);
    }

    static off_t Seek(void* handle, off_t offset, int whence) {
        auto* reader = static_cast<Mp3Reader*>(handle);
        off_t base = 0;
        if (whence == SEEK_CUR) {
            base = static_cast<off_t>(reader->readOffset_);
        } else if (whence == SEEK_END) {
            base = static_cast<off_t>(reader->bytes_.size());
        } else if (whence != SEEK_SET) {
            return -1;
        }
        const off_t target = base + offset;
        if (target < 0 || target > static_cast<off_t>(reader->bytes_.size())) {
            return -1;
        }
        reader->readOffset_ = static_cast<std::size_t>(target);
        return target;
    }
};

Mp3Reader::Mp3Reader(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

Mp3Reader::~Mp3Reader() {
    if (handle_ != nullptr) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
    }
}

std::unique_ptr<Mp3Reader> Mp3Reader::Open(std::vector<unsigned char> bytes) {
    // mpg123_init is needed by libraries before 1.27 and harmless after.
    static std::once_flag initialised;
    std::call_once(initialised, [] { mpg123_init(); });
    std::unique_ptr<Mp3Reader> reader(new Mp3Reader(std::move(bytes)));
    if (!reader->Start()) {
        return nullptr;
    }
    return reader;
}

bool Mp3Reader::Start() {
    handle_ = mpg123_new(nullptr, nullptr);
    if (handle_ == nullptr) {
        return false;
    }
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // Float output at every rate, mono or stereo as the file has it.
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i) {
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    }
    if (mpg123_replace_reader_handle(handle_, &MemoryIo::Read, &MemoryIo::Seek, nullptr) !=
            MPG123_OK ||
        mpg123_open_handle(handle_, this) != MPG123_OK) {
        return false;
    }
    int encoding = 0;
    if (mpg123_getformat(handle_, &rate_, &channels_, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_FLOAT_32 || (channels_ != 1 && channels_ != 2) || rate_ <= 0) {
        return false;
    }
    if (mpg123_scan(handle_) != MPG123_OK) {
        return false;
    }
    const off_t length = mpg123_length(handle_);
    if (length <= 0) {
        return false;
    }
    length_ = static_cast<std::int64_t>(length);
    return true;
}

std::size_t Mp3Reader::Read(float* out, std::size_t maxFrames) {
    const std::size_t frameBytes = sizeof(float) * static_cast<std::size_t>(channels_);
    for (;;) {
        std::size_t done = 0;
        const int result = mpg123_read(handle_, out, maxFrames * frameBytes, &done);
        if (done > 0 || result != MPG123_NEW_FORMAT) {
            return result == MPG123_OK || result == MPG123_DONE || done > 0 ? done / frameBytes : 0;
        }
        // The output keeps the first format, so a file whose format changes
        // midway ends there.
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || rate != rate_ ||
            channels != channels_) {
            return 0;
        }
    }
}

}  // namespace bass
