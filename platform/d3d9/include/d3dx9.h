// The D3DX 9 subset the show calls: maths, effects and texture loading, with
// D3DX's names and documented meanings (row vectors, left-handed cameras,
// clip-space z in [0, 1]), provided by platform/d3d9.
#pragma once

#include <d3d9.h>

// ---------------------------------------------------------------- maths
struct D3DXVECTOR3 {
    float x, y, z;
};

struct D3DXVECTOR4 {
    float x, y, z, w;
};

struct D3DXMATRIX : D3DMATRIX {
    operator float*() { return &_11; }
    operator const float*() const { return &_11; }
};

extern "C" {
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* out);
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye,
                                               const D3DXVECTOR3* at, const D3DXVECTOR3* up);
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect,
                                                       float zNear, float zFar);
// out may be m1 or m2.
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1,
                                               const D3DXMATRIX* m2);
// Returns null (and leaves out unchanged) when m is singular.
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* out, float* determinant,
                                              const D3DXMATRIX* m);
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m);
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z);
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* out, float angle);
D3D9_API D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* out, float angle);
D3D9_API D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v,
                                                    const D3DXMATRIX* m);
}

// ---------------------------------------------------------------- buffers
struct ID3DXBuffer : IUnknown {
    virtual void* GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};
using LPD3DXBUFFER = ID3DXBuffer*;

// ---------------------------------------------------------------- effects
// A handle names a technique or parameter: either a handle returned by
// GetTechniqueByName/GetParameterByName, or the name itself as a string.
// The stand-in's handles are small integers (below 0x10000) cast to
// pointers, so they never collide with a string's address.
using D3DXHANDLE = const char*;

#define D3DXERR_INVALIDDATA ((HRESULT)0x88760B59)

// Flags of Begin: without D3DXFX_DONOTSAVESTATE, End restores the render
// states, sampler states and textures that the technique's passes change.
#define D3DXFX_DONOTSAVESTATE (1 << 0)
#define D3DXFX_DONOTSAVESHADERSTATE (1 << 1)
#define D3DXFX_DONOTSAVESAMPLERSTATE (1 << 2)

// Creation flags of D3DXCreateEffectFromFileA.
#define D3DXFX_NOT_CLONEABLE (1 << 11)
// Stand-in extension: the effect's calls write no trace lines (the render
// device library traces its own internal effect itself).
#define D3DXFX_STANDIN_NOTRACE (1 << 30)

struct D3DXMACRO {
    LPCSTR Name;
    LPCSTR Definition;
};

struct ID3DXInclude;
struct ID3DXEffectPool;
using LPD3DXINCLUDE = ID3DXInclude*;
using LPD3DXEFFECTPOOL = ID3DXEffectPool*;

struct ID3DXEffect : IUnknown {
    virtual D3DXHANDLE GetTechniqueByName(LPCSTR name) = 0;
    virtual D3DXHANDLE GetParameterByName(D3DXHANDLE parent, LPCSTR name) = 0;
    virtual HRESULT SetTechnique(D3DXHANDLE technique) = 0;
    // Starts the current technique and reports its number of passes.
    virtual HRESULT Begin(UINT* passes, DWORD flags) = 0;
    virtual HRESULT BeginPass(UINT pass) = 0;
    virtual HRESULT CommitChanges() = 0;
    virtual HRESULT EndPass() = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) = 0;
    virtual HRESULT SetFloat(D3DXHANDLE parameter, float value) = 0;
    virtual HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) = 0;
    // Adds a reference to the texture (and releases it when replaced or when
    // the effect is released).
    virtual HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) = 0;
    virtual HRESULT GetFloat(D3DXHANDLE parameter, float* value) = 0;
    virtual HRESULT GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) = 0;
    virtual HRESULT GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) = 0;
    // Adds a reference to the texture it returns (null when none is set).
    virtual HRESULT GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) = 0;
};
using LPD3DXEFFECT = ID3DXEffect*;

extern "C" {
// Parses and compiles an effect file (the format is in docs/effects.md) for
// the device. On a parse or compile failure it returns E_FAIL and, when
// errors is given, a buffer holding zero-terminated text that names the file,
// the line and the message. A missing file fails with 0x80070002
// (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) and no buffer. On success
// *errors is null. The macros are defined for the GLSL code; the include
// handler and the pool are ignored.
D3D9_API HRESULT WINAPI D3DXCreateEffectFromFileA(IDirect3DDevice9* device, LPCSTR file,
                                                  const D3DXMACRO* defines, LPD3DXINCLUDE include,
                                                  DWORD flags, LPD3DXEFFECTPOOL pool,
                                                  ID3DXEffect** effect, ID3DXBuffer** errors);

// Loads a JPEG, PNG or TGA file (alpha kept) as a mipmapped A8R8G8B8
// texture; image row 0 is at v = 0. A missing file fails with 0x80070002, an
// undecodable one with D3DXERR_INVALIDDATA; neither creates anything.
D3D9_API HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR file,
                                                   IDirect3DTexture9** texture);
}
