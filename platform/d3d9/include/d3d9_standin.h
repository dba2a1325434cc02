// Controls of the Direct3D stand-in that have no Direct3D counterpart.
#pragma once

#include <d3d9.h>

#include <vector>

namespace d3d9 {

// Reads the device window's drawable as the last Present left it, RGBA rows
// top first, with its pixel size. Meaningful where a swap keeps the
// drawable's pixels (SDL's offscreen driver); fails for a device without a
// window or for the recording backend.
D3D9_API HRESULT ReadWindowPixels(IDirect3DDevice9* device, std::vector<BYTE>* rgba, UINT* width,
                                  UINT* height);

// Whether devices created from now on may take Direct3D's clip-space z
// from glClipControl (the default). Off, their vertex stages move z from
// [0, 1] to GL's [-1, 1] themselves, as on drivers without glClipControl
// (tests of that path).
D3D9_API void AllowClipControl(bool allowed);

}  // namespace d3d9
