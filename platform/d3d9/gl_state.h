// Direct3D state values as OpenGL enums.
#pragma once

#include <d3d9.h>
#include "gl_api.h"

GLenum GlBlendFactor(DWORD blend);
GLenum GlBlendEquation(DWORD blendOp);
GLenum GlCompare(DWORD compare);
// border: the wrap mode D3DTADDRESS_BORDER takes (ES has none; clamping to
// the edge stands in).
GLenum GlWrap(DWORD address, GLenum border);
GLenum GlMagFilter(DWORD filter);
// The minifying filter and the mipmap filter together.
GLenum GlMinFilter(DWORD minFilter, DWORD mipFilter);
// Direct3D culls by winding as seen on screen: D3DCULL_CCW drops triangles
// that run counter-clockwise there, so GL's front faces must be the
// clockwise ones, and the other way round for D3DCULL_CW.
GLenum GlFrontFace(DWORD cullMode);
GLenum GlPrimitive(D3DPRIMITIVETYPE type);
