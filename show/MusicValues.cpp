// The music values, from three bands of the spectrum.
#include "show/MusicValues.h"

#include "show/ShowState.h"

namespace {

// value + s[first] + ... + s[last], summed left to right.
float LeakySum(float value, const float* spectrum, int first, int last) {
    for (int bin = first; bin <= last; ++bin) {
        value += spectrum[bin];
    }
    return value;
}

}  // namespace

void UpdateMusicValues(const float* spectrum) {
    g_show.bassValue = LeakySum(g_show.bassValue, spectrum, 0, 7) * 0.125f;
    g_show.pitchValue = LeakySum(g_show.pitchValue, spectrum, 24, 47) / 24.0f;
    g_show.upperBandValue = LeakySum(g_show.upperBandValue, spectrum, 52, 67) * 0.125f;
}
