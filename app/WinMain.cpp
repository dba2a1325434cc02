// The entry point: one straight sequence from the mode prompt through the
// message loop to teardown, all on this thread.
#include "app/WinMain.h"

#include "app/Timer.h"
#include "app/Window.h"
#include "audio/SpectrumAnalyser.h"
#include "effects/ParticleScene.h"
#include "render/Renderer.h"
#include "show/ShowObjects.h"
#include "show/ShowResources.h"

#include <d3d9_standin.h>
#include <d3dx9.h>

#include <new>
#include <stdexcept>

int g_modePromptAnswer = 0;

namespace {

// The Renderer, the render device and its library are never released: they
// end with the process.
Renderer* g_renderer = nullptr;

// A failure that stops start-up: one box with no owner, then E_FAIL.
HRESULT FailStartup(const wchar_t* text) {
    MessageBoxW(nullptr, text, L"Error", MB_OK | MB_ICONERROR);
    return E_FAIL;
}

int AskDisplayMode() {
    if (g_modePromptAnswer != 0) {
        return g_modePromptAnswer;
    }
    return MessageBoxW(nullptr, L" fullscreen (yes)\n window (no)\n quit (cancel)", L"h u s h",
                       MB_YESNOCANCEL | MB_ICONWARNING);
}

// The offset-mapping effect on the device's Direct3D device. A failure shows
// the compiler's text, or says which file could not be read when there is
// no text.
HRESULT CreateOffsetMappingEffect() {
    constexpr const char* kFile = "data\\shaders\\offset_mapper.fx";
    ID3DXBuffer* errors = nullptr;
    const HRESULT result =
        D3DXCreateEffectFromFileA(g_renderDevice->d3dDevice, kFile, nullptr, nullptr, 0, nullptr,
                                  &g_offsetMappingEffect, &errors);
    if (FAILED(result)) {
        if (errors != nullptr) {
            MessageBoxA(nullptr, static_cast<const char*>(errors->GetBufferPointer()),
                        "Fx Compile Error", MB_OK | MB_ICONWARNING);
            errors->Release();
        } else {
            MessageBoxA(nullptr, "Effect file data\\shaders\\offset_mapper.fx could not be read",
                        "Fx Compile Error", MB_OK | MB_ICONWARNING);
        }
        g_offsetMappingEffect = nullptr;
        return result;
    }
    if (errors != nullptr) {
        errors->Release();
    }
    return result;
}

// Everything from the prompt to the start of playback: S_OK when the show
// can run, S_FALSE after a quit at the prompt, E_FAIL after a failure that
// has been shown.
HRESULT StartUp(HINSTANCE instance) {
    // Cancel, or closing the prompt, quits before anything is created.
    const int answer = AskDisplayMode();
    if (answer == IDYES) {
        g_displayMode = 1;
    } else if (answer == IDNO) {
        g_displayMode = 0;
    } else {
        return S_FALSE;
    }

    // The pictures decode on a worker while the device, the effects and the
    // models are made.
    DecodePicturesAhead();
    g_renderer = new (std::nothrow) Renderer(instance);
    if (g_renderer == nullptr) {
        return FailStartup(L"Failed to create Ember Renderer Object");
    }
    if (FAILED(g_renderer->CreateDevice("DIRECT3D"))) {
        return FailStartup(L"Failed to create Ember D3D Renderer");
    }
    g_renderDevice = g_renderer->device;

    // Creates and shows the window and runs the show's OnInit. Without a
    // window there is nothing to open the device on, so start-up stops.
    if (g_window->Create(instance) == 0) {
        return E_FAIL;
    }

    g_renderDevice->screenWidth = 1024;
    g_renderDevice->screenHeight = 768;
    if (FAILED(g_renderDevice->Open(g_window->m_hWnd, 1, 0, g_displayMode))) {
        return FailStartup(L"Failed to Init Ember Render Device");
    }
    const UINT vsmEffectId = g_renderDevice->LoadShaderEffect("data\\shaders\\vsm.fx");
    if (FAILED(CreateOffsetMappingEffect())) {
        return E_FAIL;
    }
    if (FAILED(g_renderDevice->UseShaderEffect(vsmEffectId))) {
        return E_FAIL;
    }
    g_renderDevice->SetDepthRange(1.0f, 4000.0f);
    const Viewport viewport = {0, 0, g_window->m_width, g_window->m_height};
    g_renderDevice->SetupPerspective(0.7853982f, viewport, 0);
    if (FAILED(g_renderDevice->SelectView(0, 0))) {
        return FailStartup(L"RenderDevice: Set Mode Failed!");
    }
    // What fails to load here is left out of the show; start-up goes on.
    LoadModels(g_renderDevice);
    SetupParticleScene(g_renderDevice->d3dDevice);
    BuildPictureQuads(g_renderDevice);
    SetUpTunnel(g_renderDevice);

    // From here on the timer's creation is the show's zero time.
    g_timer = new CTimer();

    // A stream that failed to open simply plays nothing.
    BASS_StreamPlay(g_analyser->stream, FALSE, 0);
    return S_OK;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HRESULT started = E_FAIL;
    // Start-up allocates as it loads; memory that runs out there stops it
    // like any other start-up failure. The frames allocate nothing.
    bool outOfMemory = false;
    try {
        started = StartUp(instance);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    } catch (const std::length_error&) {
        outOfMemory = true;
    }
    // Whatever start-up had decoded ahead and did not use goes with the
    // worker.
    d3d9::EndDecodeAhead();
    if (outOfMemory) {
        return FailStartup(L"Not enough memory to start the show");
    }
    if (started != S_OK) {
        return started == S_FALSE ? 0 : E_FAIL;
    }

    g_window->Run();

    g_analyser->CloseMusic();
    g_window->Destroy();
    delete g_timer;
    g_timer = nullptr;
    if (g_offsetMappingEffect != nullptr) {
        g_offsetMappingEffect->Release();
        g_offsetMappingEffect = nullptr;
    }
    UnloadModels();
    ReleaseParticleScene();
    return 0;
}
