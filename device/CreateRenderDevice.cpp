// The library's one export: creates the render device.
#include "device/EmberDevice.h"

#include <new>

extern "C" __attribute__((visibility("default"))) HRESULT CreateRenderDevice(
    HMODULE, CRenderDevice** device) {
    if (device == nullptr) {
        return E_INVALIDARG;
    }
    *device = new (std::nothrow) ember::EmberDevice();
    return *device != nullptr ? S_OK : E_OUTOFMEMORY;
}
