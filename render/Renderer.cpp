// The Renderer's library choice, loading and device creation, each failure
// reported in one message box.
#include "render/Renderer.h"

#include <cstdio>
#include <cstring>

namespace {

void ShowError(const char* text) {
    MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR);
}

}  // namespace

Renderer::Renderer(HINSTANCE instance) : device(nullptr), instance(instance), library(nullptr) {}

HRESULT Renderer::CreateDevice(const char* apiName) {
    const char* libraryFile = nullptr;
    const char* loadFailure = nullptr;
    if (apiName == nullptr) {
        apiName = "";
    }
    // Exact, case-sensitive names including the terminating zero, so
    // "DIRECT3D " or "DIRECT3D1" do not match; never read past the name.
    if (std::strcmp(apiName, "DIRECT3D") == 0) {
        libraryFile = "EmberD3D.dll";
        loadFailure = "Loading EmberD3D.dll failed!";
    } else if (std::strcmp(apiName, "OPENGL") == 0) {
        libraryFile = "EmberGL.dll";
        loadFailure = "Loading EmberGL.dll failed!";
    } else {
        char message[256];
        std::snprintf(message, sizeof message, "API %s not supported", apiName);
        ShowError(message);
        return E_FAIL;
    }

    library = LoadLibraryA(libraryFile);
    if (library == nullptr) {
        ShowError(loadFailure);
        return E_FAIL;
    }

    auto create =
        reinterpret_cast<CreateRenderDeviceFn>(GetProcAddress(library, "CreateRenderDevice"));
    if (create == nullptr) {
        ShowError("Failed to find DLL function");
        return E_FAIL;
    }

    if (FAILED(create(library, &device))) {
        ShowError("Creation of the Render Device failed!");
        device = nullptr;
        return E_FAIL;
    }
    return S_OK;
}
