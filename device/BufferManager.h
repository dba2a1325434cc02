// Static buffers: vertices and 16-bit indices uploaded once, drawn with their
// skin's textures under whatever shader pass is current.
#pragma once

#include "device/SkinManager.h"
#include "render/RenderDevice.h"

#include <d3d9.h>

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
};

class BufferManager final : public CBufferManager {
public:
    // beforeDraw runs just before each draw, so the device can commit its
    // own effect's parameters when one of its passes is active.
    BufferManager(IDirect3DDevice9** device, const SkinManager& skins,
                  std::function<void()> beforeDraw)
        : device_(device), skins_(skins), beforeDraw_(std::move(beforeDraw)) {}
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

    IDirect3DDevice9** device_;
    const SkinManager& skins_;
    std::function<void()> beforeDraw_;
    std::vector<StaticBuffer> buffers_;
    IDirect3DVertexDeclaration9* pictureDeclaration_ = nullptr;
    IDirect3DVertexDeclaration9* modelDeclaration_ = nullptr;
};

}  // namespace ember
