// Capture mode (--capture): the show rendered offscreen at 1024x768 on a
// virtual clock that advances 1/N s per frame, the music analysed where the
// clock stands instead of played, and every presented frame written to a
// folder of PNGs or through ffmpeg to a video with the music.
#pragma once

#include "app/CommandLine.h"

#include <ostream>

// Exit statuses of a capture, beside 0, kUsageExitCode and the 5 of a
// failed start-up.
constexpr int kCaptureSetupExitCode = 3;   // nothing was started: no ffmpeg, no folder
constexpr int kCaptureFailedExitCode = 4;  // a frame could not be written, ffmpeg failed, or
                                           // the show stopped before the last frame

// Before anything else: checks that the output can be made (the ffmpeg
// command and the video's folder, or the frame folder, which it creates).
// False with the reason on err.
bool CheckCapture(const CaptureSettings& settings, std::ostream& err);

// Once the working directory holds the data: starts ffmpeg for a video,
// puts the counter on the virtual clock, the audio in capture mode and SDL
// on its offscreen driver (unless SDL_VIDEODRIVER says otherwise), and
// hooks the frame writer in after every frame. False with the reason on err.
bool StartCapture(std::ostream& err);

// Once before the first frame: moves the clock to the first frame's time.
void BeginCaptureFrames();

// After the show: finishes the output and prints the summary (or what went
// wrong). Returns the exit status: showResult when start-up failed, else 0
// or kCaptureFailedExitCode.
int FinishCapture(int showResult, std::ostream& err);
