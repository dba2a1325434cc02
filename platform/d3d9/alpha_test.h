// Direct3D's alpha test as the fragment stages apply it. The output alpha,
// clamped to [0, 1], times 255 plus a half is x; its 8-bit value is floor(x).
// Every comparison function becomes one interval of x that passes: kept
// inside [low, high), or outside it where keepOutside is set. A pixel then
// pays two comparisons whatever the function. Off (the uniforms' zeros, as
// a program starts), every pixel passes.
#pragma once

#include <d3d9.h>

struct AlphaTestBounds {
    bool on;
    float low;
    float high;
    bool keepOutside;
};

// enabled false: every pixel passes. function is a D3DCMP_ value; ref is
// D3DRS_ALPHAREF, compared as a number as Direct3D does.
AlphaTestBounds AlphaTestBoundsOf(bool enabled, DWORD function, DWORD ref);
