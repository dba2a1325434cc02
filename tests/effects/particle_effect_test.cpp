// The show's particle effect file on the OpenGL device, offscreen: a sprite
// faces the camera at its particle, is round on the 4:3 frame and a few
// dozen pixels wide at the largest size, adds its light onto the frame, and
// fades with "fA".
#include "tests/effects/ParticleTestSupport.h"
#include "tests/platform/d3d9_test_device.h"

#include "render/Matrix4.h"

#include <algorithm>
#include <vector>

namespace particletest {
namespace {

constexpr UINT kWidth = 1024;
constexpr UINT kHeight = 768;

struct Pixel {
    int r, g, b;
};

// The extent and brightness of what a frame shows above the background.
struct Lit {
    int left = kWidth, right = -1, top = kHeight, bottom = -1;
};

class ParticleEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        direct3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(direct3d_, nullptr);
        D3DPRESENT_PARAMETERS parameters = d3d9test::HeadlessParameters(kWidth, kHeight);
        if (direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters,
                                    &device_) != D3D_OK) {
            GTEST_SKIP() << "no OpenGL 3.3 device here";
        }
        ASSERT_EQ(D3DXCreateTextureFromFileA(device_, "data\\textures\\flare.tga", &g_flareTexture),
                  D3D_OK);
        ASSERT_EQ(system_.Init(device_), 0) << "p.fx builds on OpenGL";
        SetCamera();
        for (int i = 0; i < system_.particleCount; ++i) {
            system_.particles[i].alive = 0;
        }
    }

    void TearDown() override {
        system_.ReleaseResources();
        if (g_flareTexture != nullptr) {
            g_flareTexture->Release();
            g_flareTexture = nullptr;
        }
        if (device_ != nullptr) {
            device_->Release();
        }
        direct3d_->Release();
    }

    // The scene's camera: eye at z = 30, square 90-degree view.
    void SetCamera() {
        Matrix4 identity;
        D3DXMatrixIdentity(&identity);
        system_.effect->SetMatrix("World", &identity);
        const D3DXVECTOR3 eye = {0.0f, 0.0f, 30.0f};
        const D3DXVECTOR3 at = {0.0f, 0.0f, 0.0f};
        const D3DXVECTOR3 up = {0.0f, 1.0f, 0.0f};
        Matrix4 view;
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        system_.effect->SetMatrix("View", &view);
        Matrix4 projection;
        D3DXMatrixPerspectiveFovLH(&projection, 1.5707964f, 1.0f, 1.0f, 4000.0f);
        system_.effect->SetMatrix("Proj", &projection);
    }

    // Particle i alive at (x, y, 0) with the largest size and a white tint.
    void Place(int i, float x, float y) {
        Particle& particle = system_.particles[i];
        particle.alive = 1;
        particle.size = 9.25f;
        particle.colour = {1.0f, 1.0f, 1.0f, 1.0f};
        particle.position.Set(x, y, 0.0f);
    }

    // One frame on a background of grey level `grey`, read back.
    void Draw(int grey) {
        const D3DCOLOR background = 0xFF000000u | (grey << 16) | (grey << 8) | grey;
        device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0);
        device_->BeginScene();
        system_.Render();
        device_->EndScene();
        device_->Present(nullptr, nullptr, nullptr, nullptr);
        frame_.assign(kWidth * kHeight * 4, 0);
        ASSERT_EQ(device_->GetPresentedFrame(frame_.data(), kWidth * 4), D3D_OK);
    }

    Pixel At(int x, int y) const {
        const BYTE* p = &frame_[(static_cast<std::size_t>(y) * kWidth + x) * 4];
        return {p[0], p[1], p[2]};
    }

    // Where the frame is brighter than the background.
    Lit LitArea(int grey) const {
        Lit lit;
        for (int y = 0; y < static_cast<int>(kHeight); ++y) {
            for (int x = 0; x < static_cast<int>(kWidth); ++x) {
                if (At(x, y).r > grey + 2) {
                    lit.left = std::min(lit.left, x);
                    lit.right = std::max(lit.right, x);
                    lit.top = std::min(lit.top, y);
                    lit.bottom = std::max(lit.bottom, y);
                }
            }
        }
        return lit;
    }

    IDirect3D9* direct3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    CTrailParticles system_;
    std::vector<BYTE> frame_;
};

TEST_F(ParticleEffectTest, ASpriteIsARoundGlowAtItsParticle) {
    // The camera looks down -z from z = 30, so +x lies to the left on
    // screen: 7.5 units is a quarter of the half-width.
    Place(0, 7.5f, 0.0f);
    Draw(0);
    const Lit lit = LitArea(0);
    const int width = lit.right - lit.left + 1;
    const int height = lit.bottom - lit.top + 1;
    EXPECT_NEAR((lit.left + lit.right) / 2.0, 512 - 128, 2.0);
    EXPECT_NEAR((lit.top + lit.bottom) / 2.0, 384, 2.0);
    EXPECT_NEAR(width, height, 2) << "round on the 4:3 frame";
    EXPECT_GT(height, 16);
    EXPECT_LT(height, 48) << "a mote, not a blob";
    const Pixel centre = At(384, 384);
    EXPECT_GT(centre.r, 200);
    EXPECT_GT(centre.g, 180);
}

TEST_F(ParticleEffectTest, SpritesAddTheirLightAndFadeWithfA) {
    Place(0, 0.0f, 0.0f);
    Draw(0);
    const int full = At(512, 384).r;
    system_.effect->SetFloat("fA", 0.5f);
    Draw(0);
    EXPECT_NEAR(At(512, 384).r, full / 2.0, 2.0);
    system_.effect->SetFloat("fA", 0.0f);
    Draw(0);
    EXPECT_EQ(LitArea(0).right, -1) << "faded out entirely";

    // On grey, part way out the glow is the background plus some light.
    system_.effect->SetFloat("fA", 1.0f);
    Draw(64);
    EXPECT_EQ(At(100, 100).r, 64);
    const Lit lit = LitArea(64);
    const int halo = At(512, lit.top + (384 - lit.top) / 3).r;
    EXPECT_GT(halo, 64 + 4);
    EXPECT_LT(halo, 250);
    EXPECT_EQ(At(512, 384).r, std::min(255, 64 + full));
}

}  // namespace
}  // namespace particletest
