// The Renderer: turns a graphics API name into a live render device by
// loading the device library for that API at run time and calling its one
// export, CreateRenderDevice.
#pragma once

#include "render/RenderDevice.h"

#include <windows.h>

class Renderer {
public:
    explicit Renderer(HINSTANCE instance);

    // 0 on success; E_FAIL after showing one message box on any failure.
    HRESULT CreateDevice(const char* apiName);

    CRenderDevice* device;  // written by CreateRenderDevice; null before and after a failure
    HINSTANCE instance;
    HMODULE library;
};
