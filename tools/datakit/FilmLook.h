// The show's shared finish for every picture: a soft filmic tone curve,
// cold shadows and warm highlights, vignette and grain.
#pragma once

#include <cstdint>

#include "tools/datakit/Image.h"

namespace datakit {

struct FilmLook {
    double grain = 0.05;     // grain amplitude in the mid-tones
    double vignette = 0.55;  // darkening at the corners, 0..1
    double exposure = 1.0;   // gain before the tone curve
    std::uint32_t seed = 1;
};

void ApplyFilmLook(Image& image, const FilmLook& look);

}  // namespace datakit
