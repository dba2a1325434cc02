// The IDirect3DDevice9 both backends share: argument checks, the device's
// state (render and sampler states, viewport, bindings), the checks before a
// draw and the draw trace. A backend adds what each call does (OpenGL, or
// nothing) through the hooks below, and sees every call through Note.
#pragma once

#include <d3dx9.h>

#include "com_object.h"
#include "effect_file.h"
#include "image_file.h"
#include "resources.h"
#include "vertex_layout.h"

#include <cstdint>
#include <string>

constexpr DWORD kRenderStateCount = 256;
constexpr DWORD kSamplerCount = 16;
constexpr DWORD kSamplerStateCount = 14;

// One device call as the recording backend sees it; nothing is allocated.
struct DeviceCall {
    explicit DeviceCall(const char* call, const char* name = nullptr) : call(call), name(name) {}

    DeviceCall& Arg(std::int64_t value) {
        if (argCount < 6) {
            args[argCount++] = value;
        }
        return *this;
    }

    const char* call;
    const char* name;
    const TextureBase* texture = nullptr;
    const char* fx = nullptr;  // D3DXCreateEffectFromFileA: the file's base name
    int effect = 0;            // and the effect's number
    std::int64_t args[6] = {};
    int argCount = 0;
    float values[2] = {};
    int valueCount = 0;
    HRESULT result = D3D_OK;
};

class DeviceCore : public ComObject<IDirect3DDevice9>, public DeviceBackend {
public:
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                  DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const void* sourceRect, const void* destRect, HWND overrideWindow,
                    const void* dirtyRegion) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** buffer, void* sharedHandle) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer9** buffer, void* sharedHandle) override;
    HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                    IDirect3DVertexDeclaration9** declaration) override;
    HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                            UINT stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* indices) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                                 UINT vertexCount, UINT startIndex, UINT primitiveCount) override;
    HRESULT GetPresentedFrame(BYTE* rgba, UINT pitch) override;

    IDirect3DDevice9* Device() override { return this; }
    void Forget(const VertexBuffer* buffer) override;
    void Forget(const IndexBuffer* buffer) override;
    void Forget(const TextureBase* texture) override;
    void Forget(const Effect* effect) override;
    void UseShadersOf(const Effect* effect) override;
    HRESULT CreateTextureFromFile(const char* file, IDirect3DTexture9** texture) override;
    HRESULT CreateEffectFromFile(const char* file, const D3DXMACRO* defines, DWORD flags,
                                 ID3DXEffect** effect, std::string* errors) override;

    UINT Width() const { return width_; }
    UINT Height() const { return height_; }

protected:
    // The back buffer's size, and whether it has a depth buffer (which turns
    // ZENABLE on by default).
    DeviceCore(UINT width, UINT height, bool depth);
    ~DeviceCore() override = default;

    // ---- hooks: called after the arguments were checked and the state kept.
    virtual void DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                         DWORD stencil) = 0;
    virtual void DoPresent() = 0;
    virtual void ApplyViewport(const D3DVIEWPORT9& viewport) = 0;
    virtual void ApplyRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual void ApplySamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) = 0;
    virtual void BindTexture(DWORD stage, TextureBase* texture) = 0;
    // The stream, the layout or the index buffer changed.
    virtual void InputsChanged() = 0;
    // Null when the backend cannot make the object (out of memory).
    virtual VertexBuffer* NewVertexBuffer(UINT length, DWORD usage, int number) = 0;
    virtual IndexBuffer* NewIndexBuffer(UINT length, DWORD usage, UINT indexSize, int number) = 0;
    virtual TextureBase* NewTexture(Image image, const char* file) = 0;
    // number: the effect's creation order on the device, from 1. Fails with
    // E_FAIL and the compiler's text when the GLSL does not build.
    virtual HRESULT NewEffect(EffectFile file, const D3DXMACRO* defines, DWORD flags, int number,
                              Effect** effect, std::string* errors) = 0;
    virtual void DoDraw(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount) = 0;
    virtual void DoDrawIndexed(D3DPRIMITIVETYPE type, INT baseVertex, UINT startIndex,
                               UINT indexCount) = 0;
    // D3DERR_INVALIDCALL where the frame was not kept (drawn into a window).
    virtual HRESULT ReadPresentedFrame(BYTE* rgba, UINT pitch) = 0;
    // Every call, failed ones included, with its result.
    virtual void Note(const DeviceCall& call);

    // What the backend draws from.
    const VertexBuffer* Stream() const { return stream_; }
    UINT StreamOffset() const { return streamOffset_; }
    UINT StreamStride() const { return streamStride_; }
    const VertexLayout& Layout() const { return layout_; }
    const IndexBuffer* Indices() const { return indices_; }
    TextureBase* BoundTexture(DWORD stage) const { return textures_[stage]; }
    DWORD RenderState(D3DRENDERSTATETYPE state) const { return renderStates_[state]; }
    DWORD SamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) const {
        return samplerStates_[sampler][type];
    }
    const D3DVIEWPORT9& Viewport() const { return viewport_; }

private:
    HRESULT Report(const DeviceCall& call);
    bool VerticesFit(std::uint64_t lastVertex) const;

    UINT width_;
    UINT height_;
    DWORD renderStates_[kRenderStateCount] = {};
    DWORD samplerStates_[kSamplerCount][kSamplerStateCount] = {};
    D3DVIEWPORT9 viewport_;
    TextureBase* textures_[kSamplerCount] = {};
    VertexBuffer* stream_ = nullptr;
    UINT streamOffset_ = 0;
    UINT streamStride_ = 0;
    IndexBuffer* indices_ = nullptr;
    VertexLayout layout_;
    bool hasLayout_ = false;
    const Effect* shaders_ = nullptr;
    bool inScene_ = false;
    int vertexBuffers_ = 0;
    int indexBuffers_ = 0;
    int declarations_ = 0;
    int effects_ = 0;
};
