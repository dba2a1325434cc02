// The comparison functions as intervals of x = clamp(a) * 255 + 0.5. For an
// integer n, floor(x) >= n exactly when x >= n, and floor(x) < n exactly
// when x < n, so the bounds need no rounding of x.
#include "alpha_test.h"

#include <limits>

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

}  // namespace

AlphaTestBounds AlphaTestBoundsOf(bool enabled, DWORD function, DWORD ref) {
    const float value = float(ref);
    const AlphaTestBounds everything{-kInfinity, kInfinity, false};
    if (!enabled) {
        return everything;
    }
    switch (function) {
        case D3DCMP_NEVER:
            return {-kInfinity, kInfinity, true};
        case D3DCMP_LESS:
            return {-kInfinity, value, false};
        case D3DCMP_EQUAL:
            return {value, value + 1.0f, false};
        case D3DCMP_LESSEQUAL:
            return {-kInfinity, value + 1.0f, false};
        case D3DCMP_GREATER:
            return {value + 1.0f, kInfinity, false};
        case D3DCMP_NOTEQUAL:
            return {value, value + 1.0f, true};
        case D3DCMP_GREATEREQUAL:
            return {value, kInfinity, false};
        default:
            return everything;
    }
}
