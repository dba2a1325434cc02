// The show's process-wide state: the Show clock, the three music values,
// the shared view matrix, the identity world and the three projections.
// OnInit sets it up; OnFrame refreshes the clock and music values first
// thing every frame, and the rows read it.
#pragma once

#include "render/Matrix4.h"

// The show ends in the first frame in which its clock passes this (seconds).
constexpr float kShowLength = 180.0f;

struct ShowState {
    // Seconds from the timer's creation to its latest update.
    float showClock = 0.0f;
    // Leaky sums over three bands of the spectrum, carried frame to frame.
    float bassValue = 0.0f;
    float pitchValue = 0.0f;
    float upperBandValue = 0.0f;
    // The camera in force: the default camera at the start of each frame,
    // overwritten by every row that has a camera of its own.
    Matrix4 view{};
    // Never changed after OnInit; the particle drawing's "World".
    Matrix4 identityWorld{};
    // Vertical fields of view of 45, 60 and 90 degrees, aspect 4:3.
    Matrix4 projection45{};
    Matrix4 projection60{};
    Matrix4 projection90{};
};

extern ShowState g_show;

// Called once a frame right after the music values are updated, with the
// frame's spectrum (binCount values); null when nobody listens. The trace
// writes its frame line from here.
using FrameLineHook = void (*)(const float* spectrum, int binCount);
extern FrameLineHook g_frameLineHook;
