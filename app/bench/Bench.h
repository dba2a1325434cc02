// Bench mode (--bench): the show rendered offscreen at 1024x768 with its
// clock held at each of a list of times for a number of frames, every frame
// timed and split into the show's own work, the OpenGL submission and the
// wait for the frame to be drawn; then the start-up time and peak memory.
//
// Holding the clock: the counter is on a virtual clock, as in a capture.
// Before each frame it is put where the frame timer reads the time T less
// 1/60 s and the timer is updated there; then it is put at T. The frame's own
// timer update then reads the show clock T (exactly as a capture's frame at
// T would) and a frame time of 1/60 s, so the particles keep moving while
// the schedule stays at T. Nothing is written; the music is analysed at T.
#pragma once

#include "app/CommandLine.h"

#include <ostream>
#include <vector>

// The bench stopped before its last frame (Ctrl+C, the window closed).
constexpr int kBenchStoppedExitCode = 4;

// Before start-up: puts the counter on the virtual clock, the audio in
// capture mode and SDL on its offscreen driver (unless SDL_VIDEODRIVER says
// otherwise), and hooks the bench in after every frame.
void StartBench(const BenchSettings& settings);

// Once before the first frame: counters on, the clock at the first time.
void BeginBenchFrames();

// After the show: prints the figures to out (a table, or JSON). Returns the
// exit status: showResult when start-up failed, kBenchStoppedExitCode when
// the bench did not run to its end, else 0.
int FinishBench(int showResult, std::ostream& out, std::ostream& err);
