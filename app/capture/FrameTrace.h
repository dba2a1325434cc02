// --trace FILE: the call trace, opened before start-up so that start-up's
// lines are in it, plus one frame line per frame with the music values.
#pragma once

#include <ostream>
#include <string>

// Opens the trace (truncating path) and hooks the frame line into the show.
// False, with the reason on err, when the file cannot be opened.
bool StartTrace(const std::string& path, std::ostream& err);

// Flushes and closes the trace; nothing more is written.
void StopTrace();

// The frame-line hook: {"frame":n,"t":...,"dt":...,"bass":...,"pitch":...,
// "upper":...,"fft":[512 fetched magnitudes],"spectrum":[what Analyse
// returned]}, frames counted from 0.
void WriteFrameLine(const float* spectrum, int binCount);
