// The draws the render device leaves out, on the recording Direct3D backend:
// under its own effect's "RenderTunnel" with "fA" at or below 0 it submits
// nothing, and a large buffer drawn under its own effect submits only the
// chunks inside the view of "WVP". Anything else, or either switch off,
// draws every triangle as asked. A straight grid strip is drawn as one step
// per straight run, or whole with that switch off.
#include "device/BufferChunks.h"
#include "device/DeviceSwitches.h"
#include "render/Renderer.h"

#include <d3d9_record.h>
#include <win32_standin.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND TestWindow() {
    static HWND window = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &PlainWindowProc;
        windowClass.lpszClassName = L"EmberDeviceDrawsTest";
        RegisterClassExW(&windowClass);
        return CreateWindowExW(0, L"EmberDeviceDrawsTest", L"test", WS_POPUP, 0, 0, 1024, 768,
                               nullptr, nullptr, nullptr, nullptr);
    }();
    return window;
}

// startIndex and primitiveCount of each indexed draw since the last look.
using Draws = std::vector<std::pair<std::int64_t, std::int64_t>>;

// A render device from the library on a recording Direct3D device, made
// with the given switch settings ("1" or "0"), its own effect loaded, with
// a quad and a long ribbon: 2 x 1024 strip triangles along x from 0 to
// 1024, at z = 0 except between x = 400 and 600, where it dips to z = -100.
class Device {
public:
    Device(const char* skip, const char* culling, const char* merge = "1") {
        setenv(ember::kSkipClearDrawsVariable, skip, 1);
        setenv(ember::kCullChunksVariable, culling, 1);
        setenv(ember::kMergeStraightStepsVariable, merge, 1);
        d3d9::UseRecordingBackend(true);
        renderer_ = std::make_unique<Renderer>(nullptr);
        EXPECT_EQ(renderer_->CreateDevice("DIRECT3D"), S_OK);
        device = renderer_->device;
        device->screenWidth = 1024;
        device->screenHeight = 768;
        EXPECT_EQ(device->Open(TestWindow(), 1, 0, 0), S_OK);
        d3d9::UseRecordingBackend(false);
        unsetenv(ember::kSkipClearDrawsVariable);
        unsetenv(ember::kCullChunksVariable);
        unsetenv(ember::kMergeStraightStepsVariable);
        vsm = device->LoadShaderEffect("data\\shaders\\vsm.fx");
        particles = device->LoadShaderEffect("data\\shaders\\p.fx");
        EXPECT_EQ(device->UseShaderEffect(vsm), S_OK);

        const PictureVertex quad[4] = {{-1, -1, 0, 0xFFFFFFFF, 0, 1},
                                       {-1, 1, 0, 0xFFFFFFFF, 0, 0},
                                       {1, -1, 0, 0xFFFFFFFF, 1, 1},
                                       {1, 1, 0, 0xFFFFFFFF, 1, 0}};
        const WORD quadIndices[6] = {0, 1, 2, 2, 1, 3};
        EXPECT_EQ(Buffers()->CreateStaticBuffer(kVertexFormatPicture, 0, 4, 6, quad, quadIndices,
                                                kPrimitiveTriangleList, &quadBuffer),
                  S_OK);
        std::vector<PictureVertex> ribbon;
        std::vector<WORD> ribbonIndices;
        for (int i = 0; i <= kRibbonSteps; ++i) {
            const float z = i > 400 && i < 600 ? -100.0f : 0.0f;
            ribbon.push_back({float(i), -1, z, 0xFFFFFFFF, 0, 0});
            ribbon.push_back({float(i), 1, z, 0xFFFFFFFF, 0, 1});
            ribbonIndices.push_back(WORD(2 * i));
            ribbonIndices.push_back(WORD(2 * i + 1));
        }
        EXPECT_EQ(Buffers()->CreateStaticBuffer(
                      kVertexFormatPicture, 0, UINT(ribbon.size()), UINT(ribbonIndices.size()),
                      ribbon.data(), ribbonIndices.data(), kPrimitiveTriangleStrip, &ribbonBuffer),
                  S_OK);
    }
    ~Device() { delete device; }

    CBufferManager* Buffers() { return device->GetBufferManager(); }

    // One pass of the current effect drawing the buffer; the draws it made.
    Draws DrawInPass(UINT buffer) {
        d3d9::ClearRecordedCalls(device->d3dDevice);
        device->BeginShaderEffect(0, 0);
        device->BeginShaderPass(0, 0);
        EXPECT_EQ(Buffers()->RenderStaticBuffer(buffer, 1), S_OK);
        device->EndShaderPass();
        device->EndShaderEffect();
        return IndexedDraws();
    }

    Draws IndexedDraws() {
        Draws draws;
        for (const d3d9::RecordedCall& call : d3d9::RecordedCalls(device->d3dDevice)) {
            if (call.call == "DrawIndexedPrimitive") {
                EXPECT_EQ(call.result, D3D_OK);
                draws.emplace_back(call.args[3], call.args[4]);
            }
        }
        return draws;
    }

    // Looking at the ribbon from z = -distance above x = at, with a view
    // `wide` degrees across.
    void LookAtRibbon(float at, float wide, float distance = 50.0f) {
        D3DXMATRIX view, projection, wvp;
        const D3DXVECTOR3 eye{at, 0, -distance}, target{at, 0, 0}, up{0, 1, 0};
        D3DXMatrixLookAtLH(&view, &eye, &target, &up);
        D3DXMatrixPerspectiveFovLH(&projection, wide * 0.017453292f, 1.0f, 1.0f, 4000.0f);
        D3DXMatrixMultiply(&wvp, &view, &projection);
        EXPECT_EQ(device->SetShaderMatrix("WVP", static_cast<const Matrix4&>(wvp)), S_OK);
    }

    static constexpr int kRibbonSteps = 1024;
    static constexpr std::int64_t kRibbonTriangles = 2 * kRibbonSteps;
    CRenderDevice* device = nullptr;
    UINT vsm = 0;
    UINT particles = 0;
    UINT quadBuffer = 0;
    UINT ribbonBuffer = 0;

private:
    std::unique_ptr<Renderer> renderer_;
};

const Draws kWholeQuad = {{0, 2}};

TEST(EmberDeviceDraws, RenderTunnelWithFaAtOrBelowZeroSubmitsNothingAndAnythingElseDraws) {
    Device on("1", "1");
    on.device->SetShaderTechnique("RenderTunnel");
    for (float clear : {-0.5f, 0.0f, -0.0f, -INFINITY}) {
        on.device->SetShaderFloat("fA", clear);
        EXPECT_EQ(on.DrawInPass(on.quadBuffer), Draws{}) << clear;
    }
    for (float seen : {0.01f, 1.0f, NAN}) {
        on.device->SetShaderFloat("fA", seen);
        EXPECT_EQ(on.DrawInPass(on.quadBuffer), kWholeQuad) << seen;
    }

    // Set inside the pass, before the draw: the draw sees the new value.
    on.device->BeginShaderEffect(0, 0);
    on.device->BeginShaderPass(0, 0);
    on.device->SetShaderFloat("fA", 0.5f);
    d3d9::ClearRecordedCalls(on.device->d3dDevice);
    on.Buffers()->RenderStaticBuffer(on.quadBuffer, 1);
    EXPECT_EQ(on.IndexedDraws(), kWholeQuad);
    on.device->SetShaderFloat("fA", -0.5f);
    d3d9::ClearRecordedCalls(on.device->d3dDevice);
    on.Buffers()->RenderStaticBuffer(on.quadBuffer, 1);
    EXPECT_EQ(on.IndexedDraws(), Draws{});
    on.device->EndShaderPass();
    on.device->EndShaderEffect();

    // The mask ignores fA.
    on.device->SetShaderTechnique("RenderMask");
    EXPECT_EQ(on.DrawInPass(on.quadBuffer), kWholeQuad);

    // Outside the device's own pass: another effect's pass drives the draw.
    on.device->SetShaderTechnique("RenderTunnel");
    ID3DXEffect* mapper = nullptr;
    ASSERT_EQ(D3DXCreateEffectFromFileA(on.device->d3dDevice, "data\\shaders\\offset_mapper.fx",
                                        nullptr, nullptr, 0, nullptr, &mapper, nullptr),
              D3D_OK);
    mapper->SetTechnique(mapper->GetTechniqueByName("TechniqueParallaxMapping"));
    UINT passes = 0;
    mapper->Begin(&passes, 0);
    mapper->BeginPass(0);
    d3d9::ClearRecordedCalls(on.device->d3dDevice);
    on.Buffers()->RenderStaticBuffer(on.quadBuffer, 1);
    EXPECT_EQ(on.IndexedDraws(), kWholeQuad);
    mapper->EndPass();
    mapper->End();
    mapper->Release();

    // Another effect loaded through the device has an "fA" of its own.
    ASSERT_EQ(on.device->UseShaderEffect(on.particles), S_OK);
    on.device->SetShaderTechnique("ParticleTechnique");
    on.device->SetShaderFloat("fA", -1.0f);
    EXPECT_EQ(on.DrawInPass(on.quadBuffer), kWholeQuad);

    // Switched off, every draw is submitted; the call still succeeds.
    Device off("0", "1");
    off.device->SetShaderTechnique("RenderTunnel");
    off.device->SetShaderFloat("fA", -1.0f);
    EXPECT_EQ(off.DrawInPass(off.quadBuffer), kWholeQuad);
}

TEST(EmberDeviceDraws, LargeBuffersDrawOnlyTheRunsOfChunksInsideTheView) {
    Device on("1", "1");
    on.device->SetShaderTechnique("RenderTunnel");
    const std::int64_t chunk = ember::kTrianglesPerChunk;
    const std::int64_t all = Device::kRibbonTriangles;

    // Before any WVP the device cannot tell: everything is drawn.
    EXPECT_EQ(on.DrawInPass(on.ribbonBuffer), (Draws{{0, all}}));

    // From far above, all of it; the dip lies in front of the camera too.
    on.LookAtRibbon(512, 170, 200);
    EXPECT_EQ(on.DrawInPass(on.ribbonBuffer), (Draws{{0, all}}));

    // Around x = 300, 20 units either side: only the chunks reaching there
    // (two triangles per unit of x), as one draw starting on a chunk.
    on.LookAtRibbon(300, 2 * std::atan(20.0f / 50.0f) / 0.017453292f);
    Draws near = on.DrawInPass(on.ribbonBuffer);
    ASSERT_EQ(near.size(), 1u);
    EXPECT_EQ(near[0].first % chunk, 0);
    EXPECT_LE(near[0].first, 2 * 280);
    EXPECT_GE(near[0].first, 2 * 280 - chunk);
    EXPECT_GE(near[0].first + near[0].second, 2 * 320);
    EXPECT_LE(near[0].first + near[0].second, 2 * 320 + chunk);

    // Around x = 500 with a wide view: the dip, behind the camera, leaves
    // a gap between two draws.
    on.LookAtRibbon(500, 150);
    Draws gap = on.DrawInPass(on.ribbonBuffer);
    ASSERT_EQ(gap.size(), 2u);
    EXPECT_EQ(gap[0].first, gap[0].first / chunk * chunk);
    EXPECT_LE(gap[0].first + gap[0].second, 2 * 401 + chunk);
    EXPECT_GE(gap[0].first + gap[0].second, 2 * 401);
    EXPECT_GE(gap[1].first, 2 * 599 - chunk);
    EXPECT_LE(gap[1].first, 2 * 599);

    // Looking away from it: nothing is submitted, and the call succeeds.
    D3DXMATRIX away;
    D3DXMatrixTranslation(&away, 0.0f, 0.0f, -1.0e6f);
    on.device->SetShaderMatrix("WVP", static_cast<const Matrix4&>(away));
    EXPECT_EQ(on.DrawInPass(on.ribbonBuffer), Draws{});

    // Small buffers are drawn whole.
    EXPECT_EQ(on.DrawInPass(on.quadBuffer), kWholeQuad);

    // The WVP of another effect, or culling switched off: drawn whole.
    ASSERT_EQ(on.device->UseShaderEffect(on.particles), S_OK);
    EXPECT_EQ(on.DrawInPass(on.ribbonBuffer), (Draws{{0, all}}));
    Device off("1", "0");
    off.device->SetShaderTechnique("RenderTunnel");
    off.LookAtRibbon(100, 10);
    EXPECT_EQ(off.DrawInPass(off.ribbonBuffer), (Draws{{0, all}}));
}

// A straight tube of 100 steps round 17 columns, as the tunnel is made.
UINT MakeTube(CBufferManager* buffers) {
    std::vector<PictureVertex> vertices;
    std::vector<WORD> indices;
    const float turn = 6.2831855f / 16.0f;
    for (int row = 0; row <= 100; ++row) {
        for (int column = 0; column <= 16; ++column) {
            vertices.push_back({std::sin(float(column) * turn) * 30.0f,
                                std::cos(float(column) * turn) * 30.0f, -2.0f * float(row),
                                0xFFFFFFFF, float(column) / 16.0f, float(row) * 0.125f});
        }
    }
    for (int row = 0; row < 100; ++row) {
        for (int column = 0; column <= 16; ++column) {
            indices.push_back(WORD(row * 17 + column));
            indices.push_back(WORD((row + 1) * 17 + column));
        }
    }
    UINT buffer = 0;
    EXPECT_EQ(buffers->CreateStaticBuffer(kVertexFormatPicture, 0, UINT(vertices.size()),
                                          UINT(indices.size()), vertices.data(), indices.data(),
                                          kPrimitiveTriangleStrip, &buffer),
              S_OK);
    return buffer;
}

TEST(EmberDeviceDraws, AStraightTubeIsDrawnAsOneStepUnlessThatSwitchIsOff) {
    Device on("1", "1");
    const UINT merged = MakeTube(on.Buffers());
    EXPECT_EQ(on.DrawInPass(merged), (Draws{{0, 2 * 17 - 2}}));

    Device off("1", "1", "0");
    const UINT whole = MakeTube(off.Buffers());
    off.LookAtRibbon(0.0f, 170.0f, 1000.0f);
    const Draws draws = off.DrawInPass(whole);
    std::int64_t triangles = 0;
    for (const auto& draw : draws) {
        triangles += draw.second;
    }
    EXPECT_EQ(triangles, 100 * 2 * 17 - 2);
}

}  // namespace
