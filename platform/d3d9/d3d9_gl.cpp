// The OpenGL backend's IDirect3D9: CreateDevice on a window of the Win32
// stand-in or offscreen, and the stand-in's window read-back.
#include <d3d9_standin.h>
#include <win32_standin.h>

#include "factories.h"
#include "gl_device.h"
#include "gl_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class GlDirect3D final : public ComObject<IDirect3D9> {
public:
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE /*type*/, HWND focusWindow,
                         DWORD /*behaviourFlags*/, D3DPRESENT_PARAMETERS* parameters,
                         IDirect3DDevice9** device) override {
        if (device != nullptr) {
            *device = nullptr;
        }
        if (adapter != D3DADAPTER_DEFAULT || parameters == nullptr || device == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        const HWND handle =
            parameters->hDeviceWindow != nullptr ? parameters->hDeviceWindow : focusWindow;
        GlWindow* window = nullptr;
        if (handle != nullptr) {
            window = GlWindowOf(handle);
            if (window == nullptr) {
                std::fprintf(stderr, "Direct3D stand-in: the device window is not a window\n");
                return D3DERR_INVALIDCALL;
            }
        }
        // Windowed, a size of 0 takes the window's client size.
        if (parameters->Windowed && window != nullptr &&
            (parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0)) {
            int width = 0, height = 0;
            GlWindowSize(window, &width, &height);
            parameters->BackBufferWidth =
                parameters->BackBufferWidth != 0 ? parameters->BackBufferWidth : UINT(width);
            parameters->BackBufferHeight =
                parameters->BackBufferHeight != 0 ? parameters->BackBufferHeight : UINT(height);
        }
        const D3DFORMAT format = parameters->BackBufferFormat;
        if (parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0 ||
            parameters->BackBufferWidth > kMaxBackBufferSize ||
            parameters->BackBufferHeight > kMaxBackBufferSize ||
            (format != D3DFMT_UNKNOWN && format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8)) {
            return D3DERR_INVALIDCALL;
        }
        GlDevice* created = nullptr;
        const HRESULT result = GlDevice::Create(window, *parameters, &created);
        *device = created;
        return result;
    }
};

}  // namespace

IDirect3D9* NewGlDirect3D() {
    return new GlDirect3D();
}

namespace {

// HUSH_D3D9_BATCHING=0 in the environment turns batching off from the start.
bool BatchingFromEnvironment() {
    const char* setting = std::getenv("HUSH_D3D9_BATCHING");
    return setting == nullptr || std::strcmp(setting, "0") != 0;
}

bool g_batchDraws = BatchingFromEnvironment();

// HUSH_D3D9_DRAW_INTO_WINDOW=0 in the environment keeps every frame in the
// back buffer framebuffer, for comparison.
bool DrawingIntoWindowsAllowed() {
    const char* setting = std::getenv("HUSH_D3D9_DRAW_INTO_WINDOW");
    return setting == nullptr || std::strcmp(setting, "0") != 0;
}

}  // namespace

namespace d3d9 {

void BatchDraws(bool on) {
    g_batchDraws = on;
}

bool BatchingDraws() {
    return g_batchDraws;
}

void PresentIntoWindows(bool on) {
    GlDevice::PresentIntoWindows(on);
}

void DrawIntoWindows(bool on) {
    static const bool allowed = DrawingIntoWindowsAllowed();
    GlDevice::DrawIntoWindows(on && allowed);
}

void AllowClipControl(bool allowed) {
    GlContext::AllowClipControl(allowed);
}

HRESULT ReadWindowPixels(IDirect3DDevice9* device, std::vector<BYTE>* rgba, UINT* width,
                         UINT* height) {
    GlDevice* gl = dynamic_cast<GlDevice*>(device);
    if (gl == nullptr || rgba == nullptr || width == nullptr || height == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return gl->ReadWindowPixels(rgba, width, height);
}

}  // namespace d3d9
