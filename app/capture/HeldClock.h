// The show clock held at one time, frame after frame (bench mode, and a run
// held with --hold): the counter is on the virtual clock. Before each frame
// it is put where the frame timer reads the time T less 1/fps and the timer
// is updated there; then it is put at T. The frame's own timer update then
// reads the show clock T (exactly as a capture's frame at T would) and a
// frame time of 1/fps, so the particles keep moving while the schedule
// stays at T.
#pragma once

#include <cstdint>

// countsPerSecond: what QueryPerformanceFrequency reports.
void HoldShowClockAt(double t, int fps, std::int64_t countsPerSecond);
