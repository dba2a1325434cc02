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

}  // namespace d3d9
