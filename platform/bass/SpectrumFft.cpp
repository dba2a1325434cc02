// The FFT behind BASS_ChannelGetData's FFT flags.
#include "platform/bass/SpectrumFft.h"

#include <kiss_fftr.h>

#include <array>
#include <cmath>
#include <new>
#include <numbers>
#include <vector>

namespace bass {

struct SpectrumFft::State {
    struct Plan {
        int size = 0;
        kiss_fftr_cfg config = nullptr;
        std::vector<float> window;
    };
    std::array<Plan, 3> plans;
    std::vector<float> input = std::vector<float>(kMaxSize);
    std::vector<kiss_fft_cpx> bins = std::vector<kiss_fft_cpx>(kMaxSize / 2 + 1);

    ~State() {
        for (Plan& plan : plans) {
            kiss_fftr_free(plan.config);
        }
    }
};

SpectrumFft::SpectrumFft() : state_(std::make_unique<State>()) {
    int size = 512;
    for (State::Plan& plan : state_->plans) {
        plan.size = size;
        plan.config = kiss_fftr_alloc(size, 0, nullptr, nullptr);
        if (plan.config == nullptr) {
            throw std::bad_alloc();
        }
        // The periodic Hann window: its coherent gain is exactly 0.5.
        plan.window.resize(static_cast<std::size_t>(size));
        for (int i = 0; i < size; ++i) {
            plan.window[static_cast<std::size_t>(i)] = static_cast<float>(
                0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / static_cast<double>(size)));
        }
        size *= 2;
    }
}

SpectrumFft::~SpectrumFft() = default;

int SpectrumFft::SizeForFlag(DWORD flag) {
    switch (flag) {
        case BASS_DATA_FFT512:
            return 512;
        case BASS_DATA_FFT1024:
            return 1024;
        case BASS_DATA_FFT2048:
            return 2048;
        default:
            return 0;
    }
}

float* SpectrumFft::Input() {
    return state_->input.data();
}

void SpectrumFft::Magnitudes(int size, float* out) {
    for (State::Plan& plan : state_->plans) {
        if (plan.size != size) {
            continue;
        }
        float* input = state_->input.data();
        for (std::size_t i = 0; i < plan.window.size(); ++i) {
            input[i] *= plan.window[i];
        }
        kiss_fftr(plan.config, input, state_->bins.data());
        // A sine of amplitude A at a bin's centre gives A * size / 2 before
        // the window and A * size / 4 after it.
        const float scale = 2.0f / static_cast<float>(size);
        for (int k = 0; k < size / 2; ++k) {
            const kiss_fft_cpx& bin = state_->bins[static_cast<std::size_t>(k)];
            out[k] = std::sqrt(bin.r * bin.r + bin.i * bin.i) * scale;
        }
    }
}

}  // namespace bass
