// The IDirect3D9 factories of the two backends, for Direct3DCreate9.
#pragma once

#include <d3d9.h>

// The largest back buffer side a device accepts.
constexpr UINT kMaxBackBufferSize = 16384;

IDirect3D9* NewGlDirect3D();
IDirect3D9* NewRecordingDirect3D();
