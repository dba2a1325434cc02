// Static buffers: vertices and 16-bit indices uploaded once, drawn with their
// skin's textures under whatever shader pass is current.
#pragma once

#include "device/MagnifiedDraw.h"
#include "device/SkinManager.h"
#include "render/RenderDevice.h"

#include <d3d9.h>
#include <d3dx9.h>

#include <functional>
#include <vector>

namespace ember {

struct StaticBuffer {
    int vertexFormat;
    UINT skinId;
    UINT vertexCount;
    UINT indexCount;
    D3DPRIMITIVETYPE primitive;
    UINT primitiveCount;
    IDirect3DVertexBuffer9* vertices;
    IDirect3DIndexBuffer9* indices;
    // A small picture buffer's triangles, corner by corner, for telling
    // whether a draw of it shows its texture magnified.
    std::vector<TexturedCorner> corners;
};

// What the device tells its buffers before each draw.
struct DrawHooks {
    // Commits the device's own effect's parameters when one of its passes
    // is active.
    std::function<void()> beforeDraw;
    // The "WVP" of the device's picture effect while one of its passes is
    // active, else null.
    std::function<const D3DXMATRIX*()> pictureWvp;
};

class BufferManager final : public CBufferManager {
public:
    BufferManager(IDirect3DDevice9** device, const SkinManager& skins, DrawHooks hooks)
        : device_(device), skins_(skins), hooks_(std::move(hooks)) {}
    ~BufferManager();
    BufferManager(const BufferManager&) = delete;
    BufferManager& operator=(const BufferManager&) = delete;

    HRESULT CreateStaticBuffer(int vertexFormat, UINT skinId, UINT vertexCount, UINT indexCount,
                               const void* vertices, const WORD* indices, int primitiveKind,
                               UINT* bufferId) override;
    HRESULT RenderStaticBuffer(UINT bufferId, int flags) override;

private:
    HRESULT Upload(StaticBuffer& buffer, const void* vertices, const WORD* indices);
    IDirect3DVertexDeclaration9* Declaration(int vertexFormat);
    bool ShowsTextureMagnified(const StaticBuffer& buffer, IDirect3DTexture9* texture) const;

    IDirect3DDevice9** device_;
    const SkinManager& skins_;
    DrawHooks hooks_;
    std::vector<StaticBuffer> buffers_;
    IDirect3DVertexDeclaration9* pictureDeclaration_ = nullptr;
    IDirect3DVertexDeclaration9* modelDeclaration_ = nullptr;
};

}  // namespace ember
