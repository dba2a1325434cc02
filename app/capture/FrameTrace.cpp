// The trace's frame line, written by the show right after it has updated
// the music values.
#include "app/capture/FrameTrace.h"

#include "app/capture/FftTap.h"
#include "app/Timer.h"
#include "show/ShowState.h"

#include <trace.h>

#include <cerrno>
#include <cstring>

namespace {

std::int64_t g_frame = 0;

}  // namespace

bool StartTrace(const std::string& path, std::ostream& err) {
    if (!trace::Open(path.c_str())) {
        err << "hush: cannot write trace file '" << path << "': " << std::strerror(errno) << "\n";
        return false;
    }
    g_frame = 0;
    g_frameLineHook = &WriteFrameLine;
    return true;
}

void StopTrace() {
    g_frameLineHook = nullptr;
    trace::Close();
}

void WriteFrameLine(const float* spectrum, int binCount) {
    if (!trace::On()) {
        return;
    }
    trace::Line("frame", g_frame++)
        .Float("t", g_show.showClock)
        .Float("dt", g_timer != nullptr ? g_timer->GetFrameTime() : 0.0f)
        .Float("bass", g_show.bassValue)
        .Float("pitch", g_show.pitchValue)
        .Float("upper", g_show.upperBandValue)
        .Floats("fft", TappedFft(), kFetchedFftCount)
        .Floats("spectrum", spectrum, binCount > 0 ? static_cast<std::size_t>(binCount) : 0);
}
