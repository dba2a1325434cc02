// A capture into a video file: raw RGBA frames piped to an ffmpeg process
// that encodes them (H.264, yuv420p) and muxes in the music (AAC).
#pragma once

#include "app/capture/FrameSink.h"

#include <sys/types.h>

#include <vector>

// The ffmpeg command's full path from PATH; empty when there is none.
std::string FindFfmpeg();

struct VideoSettings {
    std::string ffmpeg;  // the command to run
    std::string out;     // .mp4 or .mkv
    int width = 0;
    int height = 0;
    int fps = 0;
    // Where the music starts (the first frame's show clock), and the file;
    // an empty music name makes a video without sound.
    double musicStart = 0.0;
    std::string music;
    // The captured duration: frames / fps. The sound is cut to it.
    double duration = 0.0;
};

// The ffmpeg arguments (after the program name) for these settings.
std::vector<std::string> FfmpegArguments(const VideoSettings& settings);

class FfmpegSink : public FrameSink {
public:
    explicit FfmpegSink(const VideoSettings& settings);
    ~FfmpegSink() override;

    // Starts ffmpeg in a process group of its own (Ctrl+C in the terminal
    // then ends the show, and the video is still finished properly). False
    // (with Error()) when it cannot be started.
    bool Open();
    // A write to an ffmpeg that has gone away fails with its exit status.
    bool Write(const std::uint8_t* rgba) override;
    // Closes ffmpeg's input and waits for it to finish the file; false when
    // it ends with a status other than 0.
    bool Finish() override;

private:
    // Closes ffmpeg's input and reaps it: waiting as long as it takes, or
    // killing it when it has not gone within a few seconds. Its wait status,
    // or -1 when there is none.
    int Reap(bool wait);

    VideoSettings settings_;
    std::size_t frameBytes_;
    pid_t child_ = -1;
    int input_ = -1;
};
