// The tunnel's geometry: 1025 rings of 61 vertices, 2 units apart along -z,
// stitched ring step by ring step into one triangle strip.
#include "effects/TunnelEffect.h"

#include <cmath>
#include <new>

CTunnelEffect g_tunnelEffect;

namespace {

// 2 pi as a single-precision constant.
constexpr float kFullTurn = 6.2831855f;
constexpr DWORD kOpaqueWhite = 0xFFFFFFFFu;
// The texture repeats this often around the tunnel and along its length.
constexpr int kRepeatsAround = 23;
constexpr int kRepeatsAlong = 126;

}  // namespace

HRESULT CTunnelEffect::Init(CRenderDevice* renderDevice) {
    Shutdown();
    bufferCreated = false;
    device = renderDevice;
    radius = kRadius;
    ringCount = kRingCount;
    segmentCount = kSegmentCount;

    vertices = new (std::nothrow) PictureVertex[kVertexCount];
    if (vertices == nullptr) {
        return E_FAIL;
    }
    FillVertices();
    indices = new (std::nothrow) WORD[kIndexCount];
    if (indices == nullptr) {
        return E_FAIL;
    }
    FillIndices();

    CBufferManager* buffers = device != nullptr ? device->GetBufferManager() : nullptr;
    if (buffers == nullptr) {
        return E_FAIL;
    }
    const HRESULT result =
        buffers->CreateStaticBuffer(kVertexFormatPicture, skinId, kVertexCount, kIndexCount,
                                    vertices, indices, kPrimitiveTriangleStrip, &bufferId);
    if (FAILED(result)) {
        return result;
    }
    bufferCreated = true;
    return 0;
}

// The last vertex of a ring lies on its first but carries u = 23, so the
// texture closes without a jump.
void CTunnelEffect::FillVertices() {
    const float step = kFullTurn / segmentCount;
    for (int i = 0; i <= ringCount; ++i) {
        for (int j = 0; j <= segmentCount; ++j) {
            const float angle = j * step;
            PictureVertex& vertex = vertices[i * (segmentCount + 1) + j];
            vertex.x = std::sin(angle) * radius;
            vertex.y = std::cos(angle) * radius;
            vertex.z = static_cast<float>(-2 * i);
            vertex.colour = kOpaqueWhite;
            vertex.u = static_cast<float>(j * kRepeatsAround) / segmentCount;
            vertex.v = static_cast<float>(i * kRepeatsAlong) / ringCount;
        }
    }
}

// Each ring step zig-zags between ring r and ring r + 1. A step has an even
// number of indices, so every step keeps the strip's winding; the joins pass
// through zero-area triangles.
void CTunnelEffect::FillIndices() {
    const int ringSize = segmentCount + 1;
    int n = 0;
    for (int r = 0; r < ringCount; ++r) {
        for (int k = 0; k <= segmentCount; ++k) {
            indices[n++] = static_cast<WORD>(r * ringSize + k);
            indices[n++] = static_cast<WORD>((r + 1) * ringSize + k);
        }
    }
}

HRESULT CTunnelEffect::Render(int) {
    if (!bufferCreated) {
        return 0;
    }
    CBufferManager* buffers = device->GetBufferManager();
    if (buffers != nullptr) {
        buffers->RenderStaticBuffer(bufferId, 1);
    }
    return 0;
}

void CTunnelEffect::Shutdown() {
    delete[] vertices;
    vertices = nullptr;
    delete[] indices;
    indices = nullptr;
}

void CTunnelEffect::SetValuePair(const float* pair) {
    valuePair[0] = pair[0];
    valuePair[1] = pair[1];
}
