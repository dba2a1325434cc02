// BASS_Init's argument checks, the same for every audio output.
#pragma once

#include <bass.h>

namespace bass {

// BASS_OK, or the error BASS_Init gives for a device number below -1 (-1
// is the default device) or a frequency of 0 or above 384 kHz.
inline int InitArgumentsError(int device, DWORD frequency) {
    if (device < -1) {
        return BASS_ERROR_DEVICE;
    }
    if (frequency == 0 || frequency > 384000) {
        return BASS_ERROR_ILLPARAM;
    }
    return BASS_OK;
}

}  // namespace bass
