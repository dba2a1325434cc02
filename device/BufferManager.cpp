// Static buffer creation and drawing.
#include "device/BufferManager.h"

#include "device/DeviceTrace.h"
#include "device/StraightRowSteps.h"
#include "device/VertexFormats.h"

#include <cstring>
#include <utility>

namespace ember {

namespace {

template <typename T>
void ReleaseAndClear(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

UINT StrideOf(int vertexFormat) {
    return vertexFormat == kVertexFormatModel ? kModelStride : kPictureStride;
}

// Pictures and the mask are single quads; the tunnel is far larger and seen
// minified in the distance.
constexpr UINT kMostCornersChecked = 12;

std::vector<TexturedCorner> CornersOf(const void* vertices, UINT vertexCount, const WORD* indices,
                                      UINT indexCount) {
    std::vector<TexturedCorner> corners;
    corners.reserve(indexCount);
    for (UINT i = 0; i < indexCount; ++i) {
        if (indices[i] >= vertexCount) {
            return {};
        }
        const auto* vertex =
            static_cast<const unsigned char*>(vertices) + std::size_t(indices[i]) * kPictureStride;
        TexturedCorner corner;
        std::memcpy(&corner.x, vertex, 3 * sizeof(float));
        std::memcpy(&corner.u, vertex + 16, 2 * sizeof(float));
        corners.push_back(corner);
    }
    return corners;
}

}  // namespace

BufferManager::~BufferManager() {
    for (StaticBuffer& buffer : buffers_) {
        ReleaseAndClear(buffer.vertices);
        ReleaseAndClear(buffer.indices);
    }
    ReleaseAndClear(pictureDeclaration_);
    ReleaseAndClear(modelDeclaration_);
}

HRESULT BufferManager::CreateStaticBuffer(int vertexFormat, UINT skinId, UINT vertexCount,
                                          UINT indexCount, const void* vertices,
                                          const WORD* indices, int primitiveKind, UINT* bufferId) {
    const bool knownFormat =
        vertexFormat == kVertexFormatPicture || vertexFormat == kVertexFormatModel;
    const bool knownKind =
        primitiveKind == kPrimitiveTriangleList || primitiveKind == kPrimitiveTriangleStrip;
    HRESULT result = S_OK;
    if (!knownFormat || !knownKind || bufferId == nullptr || vertices == nullptr ||
        vertexCount == 0 || vertexCount > 65536 || (indexCount > 0 && indices == nullptr)) {
        result = E_INVALIDARG;
    } else if (*device_ == nullptr) {
        result = E_FAIL;
    } else {
        StaticBuffer buffer{};
        buffer.vertexFormat = vertexFormat;
        buffer.skinId = skinId;
        buffer.vertexCount = vertexCount;
        std::vector<WORD> merged;
        if (shortcuts_.mergeSteps && vertexFormat == kVertexFormatPicture &&
            primitiveKind == kPrimitiveTriangleStrip) {
            merged = MergeStraightRowSteps(indices, indexCount, static_cast<const BYTE*>(vertices),
                                           vertexCount);
        }
        const WORD* drawn = merged.empty() ? indices : merged.data();
        buffer.indexCount = merged.empty() ? indexCount : static_cast<UINT>(merged.size());
        if (primitiveKind == kPrimitiveTriangleList) {
            buffer.primitive = D3DPT_TRIANGLELIST;
            buffer.primitiveCount = buffer.indexCount / 3;
        } else {
            buffer.primitive = D3DPT_TRIANGLESTRIP;
            buffer.primitiveCount = buffer.indexCount >= 3 ? buffer.indexCount - 2 : 0;
        }
        result = Upload(buffer, vertices, drawn);
        if (SUCCEEDED(result)) {
            Prepare(buffer, vertices, drawn);
        }
        if (SUCCEEDED(result)) {
            // Made now, with the first buffer of its format, so the frames
            // that draw it allocate nothing.
            Declaration(vertexFormat);
            buffers_.push_back(std::move(buffer));
            *bufferId = static_cast<UINT>(buffers_.size());
        }
    }
    if (trace::On()) {
        trace::Line("dev", "CreateStaticBuffer")
            .Int("format", vertexFormat)
            .UInt("skin", skinId)
            .UInt("vertices", vertexCount)
            .UInt("indexCount", indexCount)
            .Int("kind", primitiveKind)
            .UInt("buffer", SUCCEEDED(result) ? *bufferId : 0);
    }
    return result;
}

HRESULT BufferManager::Upload(StaticBuffer& buffer, const void* vertices, const WORD* indices) {
    IDirect3DDevice9* device = *device_;
    const UINT vertexBytes = buffer.vertexCount * StrideOf(buffer.vertexFormat);
    HRESULT result = device->CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED,
                                                &buffer.vertices, nullptr);
    void* data = nullptr;
    if (SUCCEEDED(result)) {
        result = buffer.vertices->Lock(0, vertexBytes, &data, 0);
    }
    if (SUCCEEDED(result)) {
        std::memcpy(data, vertices, vertexBytes);
        result = buffer.vertices->Unlock();
    }
    // A buffer without indices draws nothing; it still gets an id.
    if (SUCCEEDED(result) && buffer.indexCount > 0) {
        const UINT indexBytes = buffer.indexCount * static_cast<UINT>(sizeof(WORD));
        result = device->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                           D3DPOOL_MANAGED, &buffer.indices, nullptr);
        if (SUCCEEDED(result)) {
            result = buffer.indices->Lock(0, indexBytes, &data, 0);
        }
        if (SUCCEEDED(result)) {
            std::memcpy(data, indices, indexBytes);
            result = buffer.indices->Unlock();
        }
    }
    if (FAILED(result)) {
        ReleaseAndClear(buffer.vertices);
        ReleaseAndClear(buffer.indices);
    }
    return result;
}

// What the draws of a buffer decide from its geometry, worked out once.
void BufferManager::Prepare(StaticBuffer& buffer, const void* vertices, const WORD* indices) const {
    if (buffer.vertexFormat == kVertexFormatPicture && buffer.primitive == D3DPT_TRIANGLELIST &&
        buffer.indexCount <= kMostCornersChecked) {
        buffer.corners =
            CornersOf(vertices, buffer.vertexCount, indices, buffer.primitiveCount * 3);
    }
    if (shortcuts_.chunked && buffer.primitiveCount >= kChunkedBufferTriangles) {
        buffer.chunks = SplitIntoChunks(buffer.primitive, indices, buffer.primitiveCount,
                                        static_cast<const BYTE*>(vertices),
                                        StrideOf(buffer.vertexFormat), kTrianglesPerChunk);
    }
}

IDirect3DVertexDeclaration9* BufferManager::Declaration(int vertexFormat) {
    IDirect3DVertexDeclaration9*& declaration =
        vertexFormat == kVertexFormatModel ? modelDeclaration_ : pictureDeclaration_;
    if (declaration == nullptr) {
        (*device_)->CreateVertexDeclaration(
            vertexFormat == kVertexFormatModel ? kModelElements : kPictureElements, &declaration);
    }
    return declaration;
}

HRESULT BufferManager::RenderStaticBuffer(UINT bufferId, int) {
    if (trace::On()) {
        trace::Line("dev", "RenderStaticBuffer").UInt("buffer", bufferId);
    }
    if (bufferId == 0 || bufferId > buffers_.size()) {
        return E_INVALIDARG;
    }
    const StaticBuffer& buffer = buffers_[bufferId - 1];
    if (buffer.primitiveCount == 0 || buffer.indices == nullptr) {
        return S_OK;
    }
    IDirect3DDevice9* device = *device_;
    device->SetVertexDeclaration(Declaration(buffer.vertexFormat));
    device->SetStreamSource(0, buffer.vertices, 0, StrideOf(buffer.vertexFormat));
    device->SetIndices(buffer.indices);
    const Skin* skin = skins_.Find(buffer.skinId);
    for (DWORD stage = 0; stage < 8; ++stage) {
        device->SetTexture(stage, skin != nullptr ? skin->textures[stage] : nullptr);
    }
    const DrawView view = beforeDraw_();
    if (view.changesNoPixel) {
        return S_OK;
    }
    if (view.wvp != nullptr && !buffer.chunks.empty()) {
        return DrawVisibleChunks(buffer, *view.wvp);
    }
    // Where every pixel covers at most a texel, the top level alone gives
    // the pixels mipmapped filtering would, for about half the price.
    IDirect3DTexture9* texture = skin != nullptr ? skin->textures[0] : nullptr;
    const bool topLevelOnly =
        view.wvp != nullptr && ShowsTextureMagnified(buffer, texture, *view.wvp);
    DWORD mipFilter = D3DTEXF_NONE;
    if (topLevelOnly) {
        device->GetSamplerState(0, D3DSAMP_MIPFILTER, &mipFilter);
        device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    }
    const HRESULT result = device->DrawIndexedPrimitive(buffer.primitive, 0, 0, buffer.vertexCount,
                                                        0, buffer.primitiveCount);
    if (topLevelOnly) {
        device->SetSamplerState(0, D3DSAMP_MIPFILTER, mipFilter);
    }
    return result;
}

bool BufferManager::ShowsTextureMagnified(const StaticBuffer& buffer, IDirect3DTexture9* texture,
                                          const D3DXMATRIX& wvp) const {
    if (!shortcuts_.magnifiedFilter || buffer.corners.empty() || texture == nullptr) {
        return false;
    }
    D3DSURFACE_DESC top{};
    D3DVIEWPORT9 viewport{};
    if (FAILED(texture->GetLevelDesc(0, &top)) || FAILED((*device_)->GetViewport(&viewport))) {
        return false;
    }
    return MagnifiedEverywhere(buffer.corners.data(), buffer.corners.size(), wvp,
                               float(viewport.Width), float(viewport.Height), float(top.Width),
                               float(top.Height));
}

// Runs of consecutive visible chunks are drawn as one: the triangles that
// are drawn are drawn in their order, each once.
HRESULT BufferManager::DrawVisibleChunks(const StaticBuffer& buffer, const D3DXMATRIX& wvp) {
    IDirect3DDevice9* device = *device_;
    const ViewVolume view = ViewVolumeOf(wvp);
    HRESULT result = S_OK;
    UINT runStart = 0;
    UINT runPrimitives = 0;
    for (const BufferChunk& chunk : buffer.chunks) {
        if (!ChunkOutsideView(chunk, view)) {
            runStart = runPrimitives == 0 ? chunk.firstIndex : runStart;
            runPrimitives += chunk.primitiveCount;
        } else if (runPrimitives > 0) {
            const HRESULT drawn = device->DrawIndexedPrimitive(
                buffer.primitive, 0, 0, buffer.vertexCount, runStart, runPrimitives);
            result = FAILED(result) ? result : drawn;
            runPrimitives = 0;
        }
    }
    if (runPrimitives > 0) {
        const HRESULT drawn = device->DrawIndexedPrimitive(
            buffer.primitive, 0, 0, buffer.vertexCount, runStart, runPrimitives);
        result = FAILED(result) ? result : drawn;
    }
    return result;
}

}  // namespace ember
