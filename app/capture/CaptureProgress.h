// The capture's progress on standard error: on a terminal one line updated
// in place after every frame; elsewhere quiet until a final summary line.
#pragma once

#include <cstddef>
#include <cstdint>

class CaptureProgress {
public:
    // fd: where to write (standard error); terminal: whether it is one.
    CaptureProgress(int fd, bool terminal, std::int64_t plannedFrames);

    // After each written frame: frames written so far, the last frame's
    // show clock, and the real seconds since the first frame began.
    void Frame(std::int64_t written, float showClock, double elapsed);

    // The last line: how many frames, the show clock range, where they went,
    // and the real time and rate. On a terminal it replaces the progress line.
    void Summary(std::int64_t written, float firstClock, float lastClock, const char* out,
                 double elapsed);

    // Ends a progress line that is showing, so an error starts on a line of
    // its own.
    void EndLine();

private:
    void Put(const char* text, int length, std::size_t capacity);

    int fd_;
    bool terminal_;
    std::int64_t planned_;
    bool shown_ = false;
};
