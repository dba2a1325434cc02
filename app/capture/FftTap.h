// A tap on the analyser's FFT fetch, put in place once start-up has made the
// analyser, before the first frame. In capture mode it first moves what the stream is heard playing
// to the show clock; for the trace it keeps the magnitudes each fetch left.
#pragma once

#include <cstddef>

// The magnitudes one BASS_DATA_FFT1024 fetch delivers.
constexpr std::size_t kFetchedFftCount = 512;

// From now on the analyser fetches through the tap. With followShowClock
// the stream is heard at the show clock before every fetch (playback starts
// at show time 0, so the clock is the music's position).
void TapFft(bool followShowClock);

// The first kFetchedFftCount values of the analyser's buffer after the
// latest fetch: what it delivered, or what the buffer still held when it
// failed. Zeros before the first fetch.
const float* TappedFft();
