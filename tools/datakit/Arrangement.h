// The show's music, start to finish: places every note of the score on
// its buses, runs the effects and masters the mix.
#pragma once

#include "tools/datakit/Instruments.h"

namespace datakit {

// About 181 s of 44.1 kHz stereo, peaking just under full scale.
Stereo RenderShowMusic();

}  // namespace datakit
