// The render device's optional shortcuts, each on unless the environment
// sets its variable to 0 when the device is made. Off, the device draws
// every buffer whole, as the calls ask; the pixels are the same either way
// except where noted.
#pragma once

#include <cstdlib>
#include <cstring>

namespace ember {

// Draws under the device's own "RenderTunnel" with "fA" at or below 0
// blend to the colour already there: they are not submitted.
inline constexpr const char* kSkipClearDrawsVariable = "HUSH_DEVICE_SKIP_CLEAR";
// Large static buffers draw only the chunks inside the view of "WVP".
inline constexpr const char* kCullChunksVariable = "HUSH_DEVICE_CULLING";
// A small picture buffer seen magnified everywhere is drawn from its
// texture's top level alone.
inline constexpr const char* kMagnifiedFilterVariable = "HUSH_DEVICE_MAGNIFIED_FILTER";
// A grid strip's straight runs of steps are drawn as one step each: the
// same surface and texturing in fewer triangles. Unlike the others this
// keeps the look, not every bit: the triangles' edges and interpolation
// round differently, mostly by one step of a colour.
inline constexpr const char* kMergeStraightStepsVariable = "HUSH_DEVICE_MERGE_STEPS";

inline bool SwitchFromEnvironment(const char* variable) {
    const char* setting = std::getenv(variable);
    return setting == nullptr || std::strcmp(setting, "0") != 0;
}

}  // namespace ember
