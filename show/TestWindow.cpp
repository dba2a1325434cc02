// The show's window: the program's one window object, reached through the
// global window pointer that is set before the entry point runs.
#include "show/TestWindow.h"

#include "app/Timer.h"
#include "audio/SpectrumAnalyser.h"

namespace {

// The show ends in the first frame in which its clock passes this.
constexpr float kShowLength = 180.0f;

TestWindow g_testWindow;

}  // namespace

CWindow* g_window = &g_testWindow;

int TestWindow::OnInit() {
    OpenMusic();
    return 0;
}

int TestWindow::OnFrame() {
    g_timer->Update(0.0f);
    const float showClock = g_timer->GetTimeSinceStart();
    if (showClock > kShowLength) {
        m_running = 0;
    }
    return 0;
}
