// The comparison functions as intervals of x = clamp(a) * 255 + 0.5. For an
// integer n, floor(x) >= n exactly when x >= n, and floor(x) < n exactly
// when x < n, so the bounds need no rounding of x.
#include "alpha_test.h"

#include <limits>

namespace {

// Beyond any x; finite, as some shading languages' uniforms must be.
constexpr float kBeyondAnyAlpha = std::numeric_limits<float>::max();

}  // namespace

AlphaTestBounds AlphaTestBoundsOf(bool enabled, DWORD function, DWORD ref) {
    const float value = float(ref);
    const AlphaTestBounds off{false, 0.0f, 0.0f, false};
    if (!enabled) {
        return off;
    }
    switch (function) {
        case D3DCMP_NEVER:
            return {true, -kBeyondAnyAlpha, kBeyondAnyAlpha, true};
        case D3DCMP_LESS:
            return {true, -kBeyondAnyAlpha, value, false};
        case D3DCMP_EQUAL:
            return {true, value, value + 1.0f, false};
        case D3DCMP_LESSEQUAL:
            return {true, -kBeyondAnyAlpha, value + 1.0f, false};
        case D3DCMP_GREATER:
            return {true, value + 1.0f, kBeyondAnyAlpha, false};
        case D3DCMP_NOTEQUAL:
            return {true, value, value + 1.0f, true};
        case D3DCMP_GREATEREQUAL:
            return {true, value, kBeyondAnyAlpha, false};
        default:
            return off;
    }
}
