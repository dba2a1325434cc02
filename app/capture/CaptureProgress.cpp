// Progress lines formatted into a fixed buffer and written with write(2):
// nothing allocates per frame.
#include "app/capture/CaptureProgress.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

constexpr int kLineSize = 512;
// Room for an output path of up to PATH_MAX.
constexpr int kSummarySize = kLineSize + 4096;
// Clears what a longer earlier line left to the right.
constexpr const char* kClearToEnd = "\033[K";

double Rate(std::int64_t frames, double elapsed) {
    return elapsed > 0.0 ? static_cast<double>(frames) / elapsed : 0.0;
}

}  // namespace

CaptureProgress::CaptureProgress(int fd, bool terminal, std::int64_t plannedFrames)
    : fd_(fd), terminal_(terminal), planned_(plannedFrames) {}

void CaptureProgress::Frame(std::int64_t written, float showClock, double elapsed) {
    if (!terminal_) {
        return;
    }
    const double rate = Rate(written, elapsed);
    const long long left =
        rate > 0.0 ? static_cast<long long>(static_cast<double>(planned_ - written) / rate + 0.5)
                   : 0;
    char line[kLineSize];
    const int length = std::snprintf(
        line, sizeof line, "\rframe %lld/%lld  t %.3f s  %.1f frames/s  %lld:%02lld left%s",
        static_cast<long long>(written), static_cast<long long>(planned_),
        static_cast<double>(showClock), rate, left / 60, left % 60, kClearToEnd);
    Put(line, length, sizeof line);
    shown_ = true;
}

void CaptureProgress::Summary(std::int64_t written, float firstClock, float lastClock,
                              const char* out, double elapsed) {
    char line[kSummarySize];
    const int length = std::snprintf(
        line, sizeof line,
        "%shush: captured %lld frames (t %.3f to %.3f s) into %s in %.1f s "
        "(%.1f frames/s)\n",
        shown_ ? "\r\033[K" : "", static_cast<long long>(written), static_cast<double>(firstClock),
        static_cast<double>(lastClock), out, elapsed, Rate(written, elapsed));
    Put(line, length, sizeof line);
}

void CaptureProgress::EndLine() {
    if (shown_) {
        Put("\n", 1, 2);
        shown_ = false;
    }
}

// length is what snprintf wanted to write; a cut line keeps what fitted.
void CaptureProgress::Put(const char* text, int length, std::size_t capacity) {
    if (length <= 0) {
        return;
    }
    std::size_t left = static_cast<std::size_t>(length) < capacity
                           ? static_cast<std::size_t>(length)
                           : capacity - 1;
    while (left > 0) {
        const ssize_t written = write(fd_, text, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text += written;
        left -= static_cast<std::size_t>(written);
    }
}
