// The FFT tap: a plain function in the analyser's fetch slot, with its
// state in fixed storage so the frame path allocates nothing.
#include "app/capture/FftTap.h"

#include "audio/SpectrumAnalyser.h"
#include "show/ShowState.h"

#include <bass_standin.h>

#include <algorithm>

namespace {

bool g_followShowClock = false;
CSpectrumAnalyser::FftSource g_fetch = nullptr;
float g_tapped[kFetchedFftCount] = {};

DWORD TappedFetch(DWORD handle, void* buffer, DWORD flag) {
    if (g_followShowClock) {
        bass::SetHeardTime(handle, static_cast<double>(g_show.showClock));
    }
    const DWORD result = g_fetch(handle, buffer, flag);
    const float* values = static_cast<const float*>(buffer);
    std::copy(values, values + kFetchedFftCount, g_tapped);
    return result;
}

}  // namespace

void TapFft(bool followShowClock) {
    g_followShowClock = followShowClock;
    if (g_analyser != nullptr && g_analyser->fetchFft != &TappedFetch) {
        g_fetch = g_analyser->fetchFft;
        g_analyser->fetchFft = &TappedFetch;
    }
}

const float* TappedFft() {
    return g_tapped;
}
