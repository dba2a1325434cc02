// The entry point: one straight sequence from the mode prompt through the
// message loop to teardown, all on this thread.
#include "app/WinMain.h"

#include "app/Timer.h"
#include "app/Window.h"
#include "audio/SpectrumAnalyser.h"

int g_modePromptAnswer = 0;

namespace {

int AskDisplayMode() {
    if (g_modePromptAnswer != 0) {
        return g_modePromptAnswer;
    }
    return MessageBoxW(nullptr, L" fullscreen (yes)\n window (no)\n quit (cancel)", L"h u s h",
                       MB_YESNOCANCEL | MB_ICONWARNING);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Cancel, or closing the prompt, quits before anything is created.
    const int answer = AskDisplayMode();
    if (answer == IDYES) {
        g_displayMode = 1;
    } else if (answer == IDNO) {
        g_displayMode = 0;
    } else {
        return 0;
    }

    // Later: the Renderer loads the device library and creates the render device.

    // Creates and shows the window and runs the show's OnInit. Without a
    // window there is nothing to open the device on, so start-up stops.
    if (g_window->Create(instance) == 0) {
        return E_FAIL;
    }

    // Later: open the device on the window; load the vsm and offset-mapping
    // effects; set the depth range, perspective and view.
    // Later: load and build models W and Q.
    // Later: set up the particle scene.
    // Later: build the nine picture quads.
    // Later: the tunnel's skin and its Init.

    // From here on the timer's creation is the show's zero time.
    g_timer = new CTimer();

    // A stream that failed to open simply plays nothing.
    BASS_StreamPlay(g_analyser->stream, FALSE, 0);

    g_window->Run();

    g_analyser->CloseMusic();
    g_window->Destroy();
    delete g_timer;
    g_timer = nullptr;
    // Later: release the offset-mapping effect, unload the models, release
    // the particle systems and the flare texture.
    return 0;
}
