// What the tests that open a Direct3D device on the stand-in share: the
// parameters of a headless device.
#pragma once

#include <d3d9.h>

namespace d3d9test {

// A windowless device: an X8R8G8B8 back buffer of the given size with a
// 24-bit depth and 8-bit stencil buffer, presented without waiting.
inline D3DPRESENT_PARAMETERS HeadlessParameters(UINT width, UINT height) {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = width;
    parameters.BackBufferHeight = height;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return parameters;
}

}  // namespace d3d9test
