// Static buffers: vertices and 16-bit indices uploaded once, drawn with their
// skin's textures under whatever shader pass is current. A large buffer is
// split into chunks, and where the device knows the pass's view only the
// chunks inside it are drawn.
#pragma once

#include "device/BufferChunks.h"
#include "device/MagnifiedDraw.h"
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
    UINT indexCount;  // as uploaded: fewer than given where steps were merged
    D3DPRIMITIVETYPE primitive;
    UINT primitiveCount;
    IDirect3DVertexBuffer9* vertices;
    IDirect3DIndexBuffer9* indices;
    std::vector<BufferChunk> chunks;  // empty: drawn whole
    // A small picture buffer's triangles, corner by corner, for telling
    // whether a draw of it shows its texture magnified.
    std::vector<TexturedCorner> corners;
};

// What the device knows, just before a draw, of the pass it is drawn under.
struct DrawView {
    bool changesNoPixel = false;      // the draw would leave every pixel as it is
    const D3DXMATRIX* wvp = nullptr;  // the pass's world-view-projection, when known
};

// Which of the buffer manager's shortcuts are on. chunked: large buffers
// are split so that draws with a known view leave out what lies outside it.
// magnifiedFilter: small picture buffers seen magnified everywhere sample
// only their texture's top level. mergeSteps: grid strips draw each
// straight run of steps as one step.
struct BufferShortcuts {
    bool chunked = true;
    bool magnifiedFilter = true;
    bool mergeSteps = true;
};

class BufferManager final : public CBufferManager {
public:
    // beforeDraw runs just before each draw, so the device can commit its
    // own effect's parameters when one of its passes is active, and says
    // what it knows of that pass.
    BufferManager(IDirect3DDevice9** device, const SkinManager& skins,
                  std::function<DrawView()> beforeDraw, BufferShortcuts shortcuts)
        : device_(device),
          skins_(skins),
          beforeDraw_(std::move(beforeDraw)),
          shortcuts_(shortcuts) {}
    ~BufferManager();
    BufferManager(const BufferManager&) = delete;
    BufferManager& operator=(const BufferManager&) = delete;

    HRESULT CreateStaticBuffer(int vertexFormat, UINT skinId, UINT vertexCount, UINT indexCount,
                               const void* vertices, const WORD* indices, int primitiveKind,
                               UINT* bufferId) override;
    HRESULT RenderStaticBuffer(UINT bufferId, int flags) override;

private:
    HRESULT Upload(StaticBuffer& buffer, const void* vertices, const WORD* indices);
    void Prepare(StaticBuffer& buffer, const void* vertices, const WORD* indices) const;
    IDirect3DVertexDeclaration9* Declaration(int vertexFormat);
    HRESULT DrawVisibleChunks(const StaticBuffer& buffer, const D3DXMATRIX& wvp);
    bool ShowsTextureMagnified(const StaticBuffer& buffer, IDirect3DTexture9* texture,
                               const D3DXMATRIX& wvp) const;

    IDirect3DDevice9** device_;
    const SkinManager& skins_;
    std::function<DrawView()> beforeDraw_;
    BufferShortcuts shortcuts_;
    std::vector<StaticBuffer> buffers_;
    IDirect3DVertexDeclaration9* pictureDeclaration_ = nullptr;
    IDirect3DVertexDeclaration9* modelDeclaration_ = nullptr;
};

}  // namespace ember
