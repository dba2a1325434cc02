// PNG frames written with plain POSIX calls into buffers sized up front, so
// a frame allocates nothing.
#include "app/capture/PngFolderSink.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kFrameName = "/frame_%06lld.png";
// "/frame_" + up to 19 digits + ".png" + the terminator.
constexpr std::size_t kFrameNameSize = 32;

bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

PngFolderSink::PngFolderSink(const std::string& folder, int width, int height)
    : folder_(folder),
      width_(width),
      height_(height),
      encoder_(width, height, 3),
      rgb_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3),
      path_(folder.size() + kFrameNameSize) {}

bool PngFolderSink::Open() {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) {
        error_ = "cannot create the folder " + folder_ + ": " + error.message();
        return false;
    }
    if (!std::filesystem::is_directory(folder_, error)) {
        error_ = folder_ + " is not a folder";
        return false;
    }
    return true;
}

bool PngFolderSink::Write(const std::uint8_t* rgba) {
    // The back buffer has no alpha worth keeping.
    const std::size_t pixels = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    for (std::size_t i = 0; i < pixels; ++i) {
        rgb_[3 * i] = rgba[4 * i];
        rgb_[3 * i + 1] = rgba[4 * i + 1];
        rgb_[3 * i + 2] = rgba[4 * i + 2];
    }
    std::size_t size = 0;
    const std::uint8_t* png = encoder_.Encode(rgb_.data(), &size);
    if (png == nullptr) {
        error_ = "cannot encode frame " + std::to_string(next_) + " as PNG";
        return false;
    }

    std::memcpy(path_.data(), folder_.data(), folder_.size());
    std::snprintf(path_.data() + folder_.size(), kFrameNameSize, kFrameName,
                  static_cast<long long>(next_));
    const int fd = open(path_.data(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error_ = std::string("cannot create ") + path_.data() + ": " + std::strerror(errno);
        return false;
    }
    const bool written = WriteAll(fd, png, size);
    const int writeError = errno;
    if (close(fd) != 0 || !written) {
        error_ = std::string("cannot write ") + path_.data() + ": " +
                 std::strerror(written ? errno : writeError);
        return false;
    }
    ++next_;
    return true;
}
