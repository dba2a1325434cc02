// Trace lines of the render device's calls ({"dev":...}); each costs one
// flag test when tracing is off.
#pragma once

#include <trace.h>

namespace ember {

inline void TraceCall(const char* call) {
    if (trace::On()) {
        trace::Line("dev", call);
    }
}

inline void TraceResult(const char* call, long result) {
    if (trace::On()) {
        trace::Line("dev", call).Int("result", result);
    }
}

}  // namespace ember
