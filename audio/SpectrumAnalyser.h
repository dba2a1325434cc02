// The spectrum analyser: plays the show's music through BASS and, once per
// frame, turns what is heard into 1024 smoothed values in [0, 1].
#pragma once

#include <bass.h>

class CSpectrumAnalyser {
public:
    // Where Analyse fetches the FFT magnitudes: BASS_ChannelGetData, or a
    // scripted source in tests.
    using FftSource = DWORD (*)(DWORD handle, void* buffer, DWORD flag);

    // Sizes and clears both buffers and turns the output volume up to 100,
    // keeping the old volume. 1 = ready, 0 = a buffer could not be allocated.
    int SetupAnalysis();
    // Fetches the FFT of what is heard and returns the weighted, smoothed
    // spectrum (binCount values in [0, 1]); all zeros when the buffers are
    // missing. Valid until CloseMusic.
    float* Analyse();
    // The average of `length` values from `start`, wrapping at n.
    float BandAverage(const float* values, unsigned n, unsigned start, unsigned length);
    // A Catmull-Rom curve through band averages of `spectrum` into `work`.
    void SmoothSpectrum(unsigned bandCount);
    // Puts the volume back, stops and frees the output and the stream, and
    // frees the buffers.
    void CloseMusic();

    HSTREAM stream = 0;
    int binCount = 0;
    float* spectrum = nullptr;
    float* work = nullptr;
    DWORD savedVolume = 0;
    FftSource fetchFft = &BASS_ChannelGetData;
};

// The program's one analyser, made by OpenMusic.
extern CSpectrumAnalyser* g_analyser;

// Creates the analyser, starts the audio output and opens
// "data\music\hush_master_mix.mp3" (a box says so when it cannot), then
// sets up the analysis. Playback is started later by BASS_StreamPlay.
void OpenMusic();
