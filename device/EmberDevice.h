// The render device of the EmberD3D library: one Direct3D 9 device on the
// show's window, its skins and static buffers, and shader effects loaded
// from effect files and driven by name. Of its own effect (vsm.fx) it keeps
// what the system set, to leave out draws that cannot change a pixel.
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
    bool OwnEffectIsCurrent() const { return ownEffect_ != 0 && currentEffect_ == ownEffect_; }
    void CommitIfInPass();
    DrawView BeforeDraw();

    IDirect3D9* direct3d_ = nullptr;
    SkinManager skins_;
    BufferManager buffers_;
    std::vector<ID3DXEffect*> effects_;  // effect id n is effects_[n - 1]
    UINT currentEffect_ = 0;
    bool inPass_ = false;

    const bool skipClearDraws_;
    // The device's own effect, its "RenderTunnel" technique and the
    // parameters it reads; 0 and null until vsm.fx is loaded.
    UINT ownEffect_ = 0;
    D3DXHANDLE tunnelTechnique_ = nullptr;
    D3DXHANDLE opacityParameter_ = nullptr;
    D3DXHANDLE wvpParameter_ = nullptr;
    // What the system set on it: the technique is RenderTunnel, "fA"
    // (the effect's default until set), "WVP" once set.
    bool tunnelTechniqueSet_ = false;
    float opacity_ = 1.0f;
    bool hasWvp_ = false;
    D3DXMATRIX wvp_ = {};
    // Its pass is active, and began under RenderTunnel.
    bool ownPass_ = false;
    bool tunnelBegun_ = false;
    float clearColour_[3] = {0.0f, 0.0f, 0.0f};
    float nearPlane_ = 1.0f;
    float farPlane_ = 1000.0f;
    D3DVIEWPORT9 viewport_ = {0, 0, 0, 0, 0.0f, 1.0f};
    D3DXMATRIX projection_ = {};
};

}  // namespace ember
