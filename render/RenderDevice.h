// The render device interface: what the system calls on the device that the
// render device library (EmberD3D) creates. Operations sit in fixed virtual
// slots; slots the system never calls are reserved so the others keep their
// places.
#pragma once

#include "render/Color4.h"
#include "render/Matrix4.h"

#include <d3d9.h>
#include <windows.h>

// Vertex formats of static buffers.
constexpr int kVertexFormatPicture = 2;  // x, y, z, ARGB colour, u, v: 24 bytes
constexpr int kVertexFormatModel = 4;    // ModelVertex: 52 bytes

// Primitive kinds of static buffers.
constexpr int kPrimitiveTriangleList = 1;
constexpr int kPrimitiveTriangleStrip = 2;

// Returned by LoadShaderEffect when the effect could not be loaded; no
// effect ever has this id.
constexpr UINT kInvalidEffectId = 0xFFFFFFFFu;

struct PictureVertex {
    float x, y, z;
    DWORD colour;  // 0xAARRGGBB
    float u, v;
};
static_assert(sizeof(PictureVertex) == 24, "vertex format 2 is 24 bytes");

// {x, y, width, height}
struct Viewport {
    int x, y, width, height;
};

class CSkinManager {
public:
    virtual void ReservedSlot0() {}
    virtual HRESULT AddSkin(const Color4& ambient, const Color4& diffuse, const Color4& emissive,
                            const Color4& specular, float power, UINT* skinId) = 0;  // slot 1
    // Loads the file and binds it to the skin's next texture stage.
    virtual HRESULT AddSkinTexture(UINT skinId, const char* file, int flags,
                                   float alpha) = 0;  // slot 2

protected:
    ~CSkinManager() = default;
};

class CBufferManager {
public:
    // slot 0
    virtual HRESULT CreateStaticBuffer(int vertexFormat, UINT skinId, UINT vertexCount,
                                       UINT indexCount, const void* vertices, const WORD* indices,
                                       int primitiveKind, UINT* bufferId) = 0;
    virtual void ReservedSlot1() {}
    virtual void ReservedSlot2() {}
    // slot 3: draws with the buffer's skin under the current shader state.
    virtual HRESULT RenderStaticBuffer(UINT bufferId, int flags) = 0;

protected:
    ~CBufferManager() = default;
};

class CRenderDevice {
public:
    virtual ~CRenderDevice() = default;                                             // slot 0
    virtual HRESULT Open(HWND window, int adapter, int flags, int fullscreen) = 0;  // 1
    virtual void ReservedSlot2() {}
    virtual void ReservedSlot3() {}
    virtual CBufferManager* GetBufferManager() = 0;       // 4
    virtual CSkinManager* GetSkinManager() = 0;           // 5
    virtual UINT LoadShaderEffect(const char* file) = 0;  // 6
    virtual void ReservedSlot7() {}
    virtual HRESULT UseShaderEffect(UINT effectId) = 0;   // 8
    virtual HRESULT BeginShaderEffect(int a, int b) = 0;  // 9
    virtual HRESULT BeginShaderPass(int a, int b) = 0;    // 10
    virtual HRESULT EndShaderPass() = 0;                  // 11
    virtual HRESULT EndShaderEffect() = 0;                // 12
    virtual void ReservedSlot13() {}
    virtual HRESULT SetShaderTechnique(const char* name) = 0;  // 14
    virtual void ReservedSlot15() {}
    virtual HRESULT SetShaderMatrix(const char* name, const Matrix4& matrix) = 0;  // 16
    virtual void ReservedSlot17() {}
    virtual void ReservedSlot18() {}
    virtual void ReservedSlot19() {}
    virtual HRESULT SetShaderFloat(const char* name, float value) = 0;  // 20
    virtual void ReservedSlot21() {}
    // Starts a frame cleared to the clear colour with depth cleared.
    virtual HRESULT BeginFrame(int clearColour, int clearDepth, int clearStencil) = 0;  // 22
    virtual HRESULT EndFrame() = 0;                                                     // 23
    virtual void ReservedSlot24() {}
    virtual void SetClearColor(float r, float g, float b) = 0;  // 25
    virtual void ReservedSlot26() {}
    virtual void ReservedSlot27() {}
    virtual void ReservedSlot28() {}
    virtual void ReservedSlot29() {}
    virtual void SetDepthRange(float nearPlane, float farPlane) = 0;  // 30
    virtual HRESULT SelectView(int a, int b) = 0;                     // 31
    virtual HRESULT SetupPerspective(float fieldOfView, const Viewport& viewport,
                                     int stage) = 0;  // 32

    // Public fields the system reads and writes.
    int screenWidth = 0;                    // written by start-up before Open
    int screenHeight = 0;                   // written by start-up before Open
    IDirect3DDevice9* d3dDevice = nullptr;  // the Direct3D 9 device, once open
    int drawFlag = 0;                       // 1 once open: scenes draw only then
};

// The one export of the render device library.
using CreateRenderDeviceFn = HRESULT (*)(HMODULE library, CRenderDevice** device);
