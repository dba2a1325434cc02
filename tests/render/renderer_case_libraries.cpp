// Stand-ins for the render device library, one per failure the Renderer
// reports: built as libEmberD3D.so into a folder per case.
#include "render/RenderDevice.h"

#if defined(RENDERER_CASE_FAILING_FACTORY)
// Writes a pointer before failing, as a careless library might.
extern "C" __attribute__((visibility("default"))) HRESULT CreateRenderDevice(
    HMODULE, CRenderDevice** device) {
    *device = reinterpret_cast<CRenderDevice*>(0x1234);
    return E_FAIL;
}
#else
// Loads fine but lacks the export.
extern "C" __attribute__((visibility("default"))) int SomethingElse() {
    return 1;
}
#endif
