// Direct3DCreate9: the OpenGL backend, or the recording one while tests ask
// for it.
#include <d3d9_record.h>

#include "factories.h"

namespace {
bool g_recording = false;
}

namespace d3d9 {
void UseRecordingBackend(bool on) {
    g_recording = on;
}
}  // namespace d3d9

extern "C" IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) {
        return nullptr;
    }
    return g_recording ? NewRecordingDirect3D() : NewGlDirect3D();
}
