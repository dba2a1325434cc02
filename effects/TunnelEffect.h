// CTunnelEffect: a long textured cylinder around the z axis, built once as
// one static buffer drawn as a single triangle strip.
#pragma once

#include "effects/Effect.h"

class CTunnelEffect final : public EmberFX::CEffect {
public:
    static constexpr int kRingCount = 1024;
    static constexpr int kRadius = 30;
    static constexpr int kSegmentCount = 60;
    static constexpr int kVertexCount = (kRingCount + 1) * (kSegmentCount + 1);  // 62,525
    static constexpr int kIndexCount = 2 * (kSegmentCount + 1) * kRingCount;     // 124,928

    CTunnelEffect() = default;
    CTunnelEffect(const CTunnelEffect&) = delete;
    CTunnelEffect& operator=(const CTunnelEffect&) = delete;
    ~CTunnelEffect() { Shutdown(); }

    // Builds the geometry from skinId and creates the static buffer. E_FAIL
    // when an array cannot be allocated; the failure of CreateStaticBuffer
    // when the device refuses the buffer.
    HRESULT Init(CRenderDevice* device) override;
    // Draws the static buffer, when there is one; always 0.
    HRESULT Render(int unused) override;
    void Shutdown() override;
    float* GetValuePair() override { return valuePair; }
    void SetValuePair(const float* pair) override;

    // Whether Init created the static buffer: without it bufferId names
    // nothing and must not be drawn.
    bool HasBuffer() const { return bufferCreated; }

    float valuePair[2] = {0.0f, 0.0f};
    UINT skinId = 0;    // written by start-up before Init
    UINT bufferId = 0;  // written by CreateStaticBuffer in Init
    int ringCount = 0;
    int radius = 0;
    int segmentCount = 0;
    PictureVertex* vertices = nullptr;
    WORD* indices = nullptr;
    CRenderDevice* device = nullptr;
    bool bufferCreated = false;

private:
    void FillVertices();
    void FillIndices();
};

// The show's one tunnel; its arrays live until the process ends.
extern CTunnelEffect g_tunnelEffect;
