// Color4: four 32-bit floats r, g, b, a.
#pragma once

struct Color4 {
    float r, g, b, a;

    Color4* Clear() {
        r = g = b = a = 0.0f;
        return this;
    }
};

static_assert(sizeof(Color4) == 16, "Color4 is embedded in fixed record layouts");
