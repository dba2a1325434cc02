// A capture into a folder: frame_000000.png, frame_000001.png, ... as RGB.
#pragma once

#include "app/capture/FrameSink.h"
#include "app/capture/PngEncoder.h"

#include <vector>

class PngFolderSink : public FrameSink {
public:
    PngFolderSink(const std::string& folder, int width, int height);

    // Creates the folder where it does not exist. False (with Error()) when
    // it cannot be made or is not a folder.
    bool Open();
    bool Write(const std::uint8_t* rgba) override;
    bool Finish() override { return true; }

private:
    std::string folder_;
    int width_;
    int height_;
    PngEncoder encoder_;
    std::vector<std::uint8_t> rgb_;
    std::vector<char> path_;
    std::int64_t next_ = 0;
};
