// The libraries the program loads by name, linked into it in a browser: the
// render device library the Renderer asks for as "EmberD3D.dll".
#include <win32_standin.h>

#include <iterator>

class CRenderDevice;

extern "C" HRESULT CreateRenderDevice(HMODULE, CRenderDevice** device);

namespace {

const win32::LinkedExport kEmberD3D[] = {
    {"CreateRenderDevice", reinterpret_cast<FARPROC>(&CreateRenderDevice)},
};

const bool g_registered =
    win32::RegisterLinkedLibrary("EmberD3D.dll", kEmberD3D, std::size(kEmberD3D));

}  // namespace
