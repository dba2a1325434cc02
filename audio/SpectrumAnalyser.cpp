// The per-frame analysis: fetch the FFT, weight it by the square root of the
// position, and smooth it with a Catmull-Rom curve through band averages.
// Every step is in 32-bit floats, rounded as it goes.
#include "audio/SpectrumAnalyser.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

constexpr int kBinCount = 1024;

// What Analyse returns when the buffers could not be allocated.
float g_silentSpectrum[kBinCount];

}  // namespace

int CSpectrumAnalyser::SetupAnalysis() {
    binCount = kBinCount;
    // Cleared, so frames before the first fetch that delivers data (and a
    // show whose music failed to load) analyse silence.
    spectrum = new (std::nothrow) float[binCount]();
    if (spectrum == nullptr) {
        return 0;
    }
    work = new (std::nothrow) float[binCount]();
    if (work == nullptr) {
        return 0;
    }
    savedVolume = BASS_GetVolume();
    BASS_SetVolume(100);
    return 1;
}

float* CSpectrumAnalyser::Analyse() {
    if (spectrum == nullptr || work == nullptr) {
        return g_silentSpectrum;
    }
    DWORD flag = 0;
    switch (binCount) {
        case 512:
            flag = BASS_DATA_FFT512;
            break;
        case 1024:
            flag = BASS_DATA_FFT1024;
            break;
        case 2048:
            flag = BASS_DATA_FFT2048;
            break;
        default:
            break;
    }
    if (flag != 0) {
        fetchFft(stream, spectrum, flag);
    }
    // The lowest magnitudes are spread over all positions (about three
    // positions each), weighted up with the square root of the position.
    for (int i = 0; i < binCount; ++i) {
        const float x = static_cast<float>(i) * 0.33f;
        const float weight = std::sqrt(x);
        const int source = static_cast<int>(x);
        work[i] = weight * spectrum[source];
    }
    std::copy(work, work + binCount, spectrum);
    SmoothSpectrum(static_cast<unsigned>(binCount) >> 2);
    std::copy(work, work + binCount, spectrum);
    return spectrum;
}

float CSpectrumAnalyser::BandAverage(const float* values, unsigned n, unsigned start,
                                     unsigned length) {
    float sum = 0.0f;
    for (unsigned k = 0; k < length; ++k) {
        sum += values[(start + k) % n];
    }
    return sum / static_cast<float>(length);
}

void CSpectrumAnalyser::SmoothSpectrum(unsigned bandCount) {
    const unsigned n = static_cast<unsigned>(binCount);
    const unsigned width = n / std::max(bandCount, 4u);
    if (width == 0) {
        return;
    }
    // Each block is the curve between its second and third band, written at
    // the block's own position: the result lies one band below its source.
    // The last blocks' bands wrap around to the lowest positions.
    for (unsigned pos = 0; pos < n; pos += width) {
        const float p0 = BandAverage(spectrum, n, pos % n, width);
        const float p1 = BandAverage(spectrum, n, (pos + width) % n, width);
        const float p2 = BandAverage(spectrum, n, (pos + 2 * width) % n, width);
        const float p3 = BandAverage(spectrum, n, (pos + 3 * width) % n, width);
        const float m1 = (p2 - p0) * 0.5f;
        const float m2 = (p3 - p1) * 0.5f;
        for (unsigned k = 0; k < width; ++k) {
            const float t = static_cast<float>(k) / static_cast<float>(width);
            const float t2 = t * t;
            const float t3 = t2 * t;
            const float h00 = 2.0f * t3 - 3.0f * t2 + 1.0f;
            const float h01 = 3.0f * t2 - 2.0f * t3;
            const float h10 = t3 - 2.0f * t2 + t;
            const float h11 = t3 - t2;
            work[(pos + k) % n] = std::fabs(h00 * p1 + h01 * p2 + h10 * m1 + h11 * m2);
        }
    }
    for (unsigned i = 0; i < n; ++i) {
        if (work[i] > 1.0f) {
            work[i] = 1.0f;
        }
    }
}
