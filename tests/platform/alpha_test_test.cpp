// The alpha test's intervals against Direct3D's comparisons: for every
// function, reference and 8-bit alpha (and x anywhere in that alpha's
// step), a pixel passes exactly when the comparison says it does.
#include "platform/d3d9/alpha_test.h"

#include <gtest/gtest.h>

namespace {

bool Compare(DWORD function, DWORD alpha, DWORD ref) {
    switch (function) {
        case D3DCMP_NEVER:
            return false;
        case D3DCMP_LESS:
            return alpha < ref;
        case D3DCMP_EQUAL:
            return alpha == ref;
        case D3DCMP_LESSEQUAL:
            return alpha <= ref;
        case D3DCMP_GREATER:
            return alpha > ref;
        case D3DCMP_NOTEQUAL:
            return alpha != ref;
        case D3DCMP_GREATEREQUAL:
            return alpha >= ref;
        default:
            return true;
    }
}

bool Passes(const AlphaTestBounds& bounds, float x) {
    const bool inside = x >= bounds.low && x < bounds.high;
    return !bounds.on || inside != bounds.keepOutside;
}

TEST(AlphaTestBounds, EveryFunctionKeepsWhatItsComparisonKeeps) {
    for (DWORD function = 0; function <= 9; ++function) {
        for (DWORD ref : {0u, 1u, 127u, 128u, 254u, 255u, 256u, 70000u}) {
            const AlphaTestBounds bounds = AlphaTestBoundsOf(true, function, ref);
            for (DWORD alpha = 0; alpha <= 255; ++alpha) {
                // x = clamp(a) * 255 + 0.5 lies in [alpha, alpha + 1) where
                // floor(x) is alpha; 255.5 is the clamp's top.
                for (float offset : {0.0f, 0.5f, 0.999f}) {
                    const float x = alpha == 255 ? 255.5f : float(alpha) + offset;
                    EXPECT_EQ(Passes(bounds, x), Compare(function, alpha, ref))
                        << "function " << function << " ref " << ref << " alpha " << alpha << " x "
                        << x;
                }
            }
        }
    }
}

// Off, and as a program starts with its uniforms all zero, everything
// passes.
TEST(AlphaTestBounds, OffEverythingPasses) {
    for (const AlphaTestBounds& bounds :
         {AlphaTestBoundsOf(false, D3DCMP_NEVER, 0), AlphaTestBoundsOf(true, D3DCMP_ALWAYS, 0),
          AlphaTestBounds{}}) {
        for (float x : {0.5f, 100.0f, 255.5f}) {
            EXPECT_TRUE(Passes(bounds, x));
        }
    }
}

}  // namespace
