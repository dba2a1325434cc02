// The show's window: the program's one window object, reached through the
// global window pointer that is set before the entry point runs.
#include "show/TestWindow.h"

#include "app/Timer.h"
#include "audio/SpectrumAnalyser.h"
#include "effects/TunnelEffect.h"
#include "show/MusicValues.h"
#include "show/RowSteps.h"
#include "show/Schedule.h"
#include "show/ShowObjects.h"
#include "show/ShowState.h"

namespace {

// The default camera's distance from the origin along +z.
constexpr float kDefaultCameraDistance = 20.0f;
constexpr float kAspect = 1.3333334f;
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 4000.0f;

TestWindow g_testWindow;

}  // namespace

CWindow* g_window = &g_testWindow;

int TestWindow::OnInit() {
    OpenMusic();
    g_show.bassValue = 0.0f;
    g_show.pitchValue = 0.0f;
    g_show.upperBandValue = 0.0f;
    D3DXMatrixIdentity(&g_show.identityWorld);
    D3DXMatrixPerspectiveFovLH(&g_show.projection45, 0.7853982f, kAspect, kNearPlane, kFarPlane);
    D3DXMatrixPerspectiveFovLH(&g_show.projection60, 1.0471976f, kAspect, kNearPlane, kFarPlane);
    D3DXMatrixPerspectiveFovLH(&g_show.projection90, 1.5707964f, kAspect, kNearPlane, kFarPlane);
    return 0;
}

// The clock and music values advance in every frame, even one that cannot
// begin or draws nothing.
int TestWindow::OnFrame() {
    g_timer->Update(0.0f);
    const float t = g_timer->GetTimeSinceStart();
    g_show.showClock = t;
    const float* spectrum = g_analyser->Analyse();
    UpdateMusicValues(spectrum);
    if (g_frameLineHook != nullptr) {
        g_frameLineHook(spectrum, g_analyser->binCount);
    }

    g_renderDevice->SetClearColor(0.0f, 0.0f, 0.0f);
    g_renderDevice->SelectView(0, 0);
    if (FAILED(g_renderDevice->BeginFrame(1, 1, 0))) {
        MessageBoxW(nullptr, L"RenderDevice: Begin Rendering Failed!", L"Error", MB_ICONERROR);
        return E_FAIL;
    }
    SetCamera(0.0f, 0.0f, kDefaultCameraDistance);
    if (g_renderDevice->drawFlag != 0) {
        g_renderDevice->SetShaderFloat("fTime", t);
        g_renderDevice->SetShaderFloat("fBassValue", g_show.bassValue);
        g_renderDevice->SetShaderFloat("fPitchValue", g_show.pitchValue);
        RunSchedule(t);
    }
    g_renderDevice->EndFrame();
    if (t > kShowLength) {
        m_running = 0;
    }
    return 0;
}

// Frees the analyser's buffers and forgets the analyser (without deleting
// it), then frees the tunnel's arrays.
int TestWindow::OnShutdown() {
    if (g_analyser != nullptr) {
        delete[] g_analyser->spectrum;
        g_analyser->spectrum = nullptr;
        delete[] g_analyser->work;
        g_analyser->work = nullptr;
    }
    g_analyser = nullptr;
    g_tunnelEffect.Shutdown();
    return 0;
}
