// Where a capture's frames go: a folder of PNG files or an ffmpeg process.
#pragma once

#include <cstdint>
#include <string>

class FrameSink {
public:
    virtual ~FrameSink() = default;
    // One frame of RGBA bytes (width x height, top row first, rows packed).
    // False when it could not be written; Error() says why.
    virtual bool Write(const std::uint8_t* rgba) = 0;
    // Ends the output after the last frame. False when it could not be
    // completed; Error() says why.
    virtual bool Finish() = 0;

    const std::string& Error() const { return error_; }

protected:
    std::string error_;
};
