// Runs the Renderer once for an API name (default "DIRECT3D") and prints what
// happened: each message box, the result and the Renderer's fields. The
// renderer tests run it in a folder of its own with the device library of
// their case on LD_LIBRARY_PATH.
#include "render/Renderer.h"

#include <win32_standin.h>

#include <cstdio>

namespace {

int PrintBox(void*, LPCWSTR text, LPCWSTR caption, UINT type) {
    std::printf("box: %ls|%ls|%u\n", caption, text, type);
    return IDOK;
}

}  // namespace

int main(int argc, char** argv) {
    win32::SetMessageBoxHook(&PrintBox, nullptr);
    Renderer renderer(nullptr);
    const HRESULT result = renderer.CreateDevice(argc > 1 ? argv[1] : "DIRECT3D");
    std::printf("result: %08x\n", static_cast<unsigned>(result));
    std::printf("device: %s\n", renderer.device != nullptr ? "set" : "null");
    std::printf("library: %s\n", renderer.library != nullptr ? "loaded" : "null");
    return 0;
}
