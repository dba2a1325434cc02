// What the page shows of the run, for its tests and links:
// window.hushFrames counts presented frames; document.title says "hush
// ready" once the first frame asked for is presented and "hush ended" when
// the program has ended, its status in window.hushExitStatus.
#include <win32_standin.h>

#include <emscripten/emscripten.h>

namespace {

// clang-format off
EM_JS(void, CountFrame, (), { window.hushFrames = (window.hushFrames || 0) + 1; });
EM_JS(void, SayReady, (), { document.title = 'hush ready'; });
EM_JS(void, SayEnded, (int status), {
    window.hushExitStatus = status;
    document.title = 'hush ended';
});
// clang-format on

}  // namespace

namespace win32 {

void PageFramePresented() {
    CountFrame();
}

void PageReady() {
    SayReady();
}

void PageEnded(int status) {
    SayEnded(status);
}

}  // namespace win32
