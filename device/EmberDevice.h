// The render device of the EmberD3D library: one Direct3D 9 device on the
// show's window, its skins and static buffers, and shader effects loaded
// from effect files and driven by name.
#pragma once

#include "device/BufferManager.h"
#include "device/SkinManager.h"
#include "render/RenderDevice.h"

#include <d3dx9.h>

#include <vector>

namespace ember {

class EmberDevice final : public CRenderDevice {
public:
    EmberDevice();
    ~EmberDevice() override;
    EmberDevice(const EmberDevice&) = delete;
    EmberDevice& operator=(const EmberDevice&) = delete;

    HRESULT Open(HWND window, int adapter, int flags, int fullscreen) override;
    CBufferManager* GetBufferManager() override { return &buffers_; }
    CSkinManager* GetSkinManager() override { return &skins_; }
    UINT LoadShaderEffect(const char* file) override;
    HRESULT UseShaderEffect(UINT effectId) override;
    HRESULT BeginShaderEffect(int a, int b) override;
    HRESULT BeginShaderPass(int a, int b) override;
    HRESULT EndShaderPass() override;
    HRESULT EndShaderEffect() override;
    HRESULT SetShaderTechnique(const char* name) override;
    HRESULT SetShaderMatrix(const char* name, const Matrix4& matrix) override;
    HRESULT SetShaderFloat(const char* name, float value) override;
    HRESULT BeginFrame(int clearColour, int clearDepth, int clearStencil) override;
    HRESULT EndFrame() override;
    void SetClearColor(float r, float g, float b) override;
    void SetDepthRange(float nearPlane, float farPlane) override;
    HRESULT SelectView(int a, int b) override;
    HRESULT SetupPerspective(float fieldOfView, const Viewport& viewport, int stage) override;

private:
    ID3DXEffect* CurrentEffect() const;
    void CommitIfInPass();
    const D3DXMATRIX* PictureWvpIfInPass();

    IDirect3D9* direct3d_ = nullptr;
    SkinManager skins_;
    BufferManager buffers_;
    std::vector<ID3DXEffect*> effects_;  // effect id n is effects_[n - 1]
    // Per effect: loaded from the library's own picture effect, "vsm.fx",
    // whose techniques sample stage 0 at the vertices' coordinates.
    std::vector<bool> pictureEffects_;
    D3DXMATRIX passWvp_ = {};
    UINT currentEffect_ = 0;
    bool inPass_ = false;
    float clearColour_[3] = {0.0f, 0.0f, 0.0f};
    float nearPlane_ = 1.0f;
    float farPlane_ = 1000.0f;
    D3DVIEWPORT9 viewport_ = {0, 0, 0, 0, 0.0f, 1.0f};
    D3DXMATRIX projection_ = {};
};

}  // namespace ember
