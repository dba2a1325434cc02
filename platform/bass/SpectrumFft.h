// Hann-windowed FFT magnitudes of 512, 1024 or 2048 mono samples through
// kissfft, with the plans, windows and scratch made once.
#pragma once

#include <bass.h>

#include <memory>

namespace bass {

class SpectrumFft {
public:
    static constexpr int kMaxSize = 2048;

    // Throws std::bad_alloc when a plan cannot be made.
    SpectrumFft();
    ~SpectrumFft();
    SpectrumFft(const SpectrumFft&) = delete;
    SpectrumFft& operator=(const SpectrumFft&) = delete;

    // The FFT size a BASS_DATA_FFT* flag asks for; 0 for any other value.
    static int SizeForFlag(DWORD flag);

    // Where the caller puts the samples to analyse (kMaxSize of them).
    float* Input();
    // Windows and transforms the first `size` samples of Input() (a size
    // that SizeForFlag gives) and writes size / 2 magnitudes, scaled so that
    // a full-scale sine at a bin's centre reads 0.5 there.
    void Magnitudes(int size, float* out);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace bass
