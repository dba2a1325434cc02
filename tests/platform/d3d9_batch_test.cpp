// Draw batching on the OpenGL device: a script of sprite draws (runs that
// change matrices, sizes and colours per draw, and every kind of thing that
// must break a run) drawn by a batching device and by one that does not
// gives the same pixels, with far fewer GL draws.
#include <d3d9.h>
#include <d3d9_standin.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include "d3d9_test_device.h"
#include "d3d9_test_files.h"

#include <cstring>
#include <vector>

namespace {

constexpr UINT kSize = 128;
constexpr int kSprites = 300;

// Per-draw values in both stages, a sampler, additive blending: the
// particles' effect in small.
constexpr const char* kSpriteEffect = R"(// Sprites for the batching tests.
uniform mat4 World;
uniform mat4 ViewProj;
uniform float size = 1.0;
uniform vec4 tint = vec4(1.0);
uniform float fade = 1.0, unused = 0.0;
uniform sampler2D flare;

vertex SpriteVS {
    layout(location = ATTR_POSITION) in vec3 position;
    layout(location = ATTR_TEXCOORD0) in vec2 uv;
    out vec2 vUv;
    void main() {
        vec4 centre = vec4(0.0, 0.0, 0.0, 1.0) * World;
        centre.xy += position.xy * size;
        gl_Position = centre * ViewProj;
        vUv = uv;
    }
}

fragment SpriteFS {
    in vec2 vUv;
    out vec4 colour;
    void main() { colour = texture(flare, vUv) * tint * fade; }
}

sampler_state flare { MinFilter = Linear; MagFilter = Linear; MipFilter = Linear; }

technique Sprites {
    pass P0 {
        AlphaBlendEnable = true;
        SrcBlend = One;
        DestBlend = One;
        ZWriteEnable = false;
        CullMode = None;
        VertexShader = SpriteVS;
        PixelShader = SpriteFS;
    }
}
)";

struct Vertex {
    float x, y, z;
    DWORD colour;
    float u, v;
};

constexpr Vertex kQuad[4] = {{-0.5f, -0.5f, 0.5f, 0xFFFFFFFFu, 0.0f, 1.0f},
                             {-0.5f, 0.5f, 0.5f, 0xFFFFFFFFu, 0.0f, 0.0f},
                             {0.5f, -0.5f, 0.5f, 0xFFFFFFFFu, 1.0f, 1.0f},
                             {0.5f, 0.5f, 0.5f, 0xFFFFFFFFu, 1.0f, 0.0f}};

// A small glow, brighter in the middle, with an odd texel for orientation.
std::vector<std::uint32_t> FlarePixels(std::uint32_t hue) {
    std::vector<std::uint32_t> pixels(16 * 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int d = (x - 8) * (x - 8) + (y - 8) * (y - 8);
            const std::uint32_t level = d >= 64 ? 0 : std::uint32_t(255 - d * 4);
            pixels[std::size_t(y * 16 + x)] = ((level * ((hue >> 24) & 0xFF) / 255) << 24) |
                                              ((level * ((hue >> 16) & 0xFF) / 255) << 16) |
                                              ((level * ((hue >> 8) & 0xFF) / 255) << 8) | level;
        }
    }
    pixels[3] = 0xFF0000FFu;
    return pixels;
}

// One device, batching or not, drawing the script and reading it back.
class SpriteScene {
public:
    explicit SpriteScene(bool batching) {
        d3d9::BatchDraws(batching);
        IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters = d3d9test::HeadlessParameters(kSize, kSize);
        EXPECT_EQ(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0,
                                         &parameters, &device_),
                  D3D_OK);
        direct3d->Release();
        d3d9::BatchDraws(true);
        static const std::string effectPath = d3d9test::WriteTextFile("sprites.fx", kSpriteEffect);
        ID3DXBuffer* errors = nullptr;
        EXPECT_EQ(D3DXCreateEffectFromFileA(device_, effectPath.c_str(), nullptr, nullptr, 0,
                                            nullptr, &effect_, &errors),
                  D3D_OK)
            << (errors != nullptr ? static_cast<const char*>(errors->GetBufferPointer()) : "");
        static const std::string warm =
            d3d9test::WriteImage("warm.png", 16, 16, FlarePixels(0xFFC080FFu));
        static const std::string cold =
            d3d9test::WriteImage("cold.png", 16, 16, FlarePixels(0x80C0FFFFu));
        EXPECT_EQ(D3DXCreateTextureFromFileA(device_, warm.c_str(), &warm_), D3D_OK);
        EXPECT_EQ(D3DXCreateTextureFromFileA(device_, cold.c_str(), &cold_), D3D_OK);
        EXPECT_EQ(
            device_->CreateVertexBuffer(sizeof kQuad, 0, 0x142, D3DPOOL_MANAGED, &quad_, nullptr),
            D3D_OK);
        FillQuad(1.0f);
    }

    ~SpriteScene() {
        quad_->Release();
        warm_->Release();
        cold_->Release();
        effect_->Release();
        EXPECT_EQ(device_->Release(), 0u);
    }

    void FillQuad(float scale) {
        Vertex vertices[4];
        std::memcpy(vertices, kQuad, sizeof kQuad);
        for (Vertex& vertex : vertices) {
            vertex.x *= scale;
            vertex.y *= scale;
        }
        void* data = nullptr;
        ASSERT_EQ(quad_->Lock(0, 0, &data, 0), D3D_OK);
        std::memcpy(data, vertices, sizeof vertices);
        ASSERT_EQ(quad_->Unlock(), D3D_OK);
    }

    // Sprite i's values: positions on a spiral, sizes and tints that change
    // from draw to draw (the tint only in some stretches).
    void SetSprite(int i) {
        D3DXMATRIX world;
        D3DXMatrixTranslation(&world, -0.9f + 1.8f * float(i % 17) / 16.0f,
                              -0.9f + 1.8f * float((i * 7) % 23) / 22.0f, 0.0f);
        ASSERT_EQ(effect_->SetMatrix("World", &world), D3D_OK);
        ASSERT_EQ(effect_->SetFloat("size", 0.05f + 0.01f * float(i % 9)), D3D_OK);
        const bool tinted = (i / 40) % 2 == 1;
        const D3DXVECTOR4 tint = {tinted ? 0.2f + 0.1f * float(i % 7) : 1.0f, 1.0f,
                                  tinted ? 0.5f : 1.0f, 1.0f};
        ASSERT_EQ(effect_->SetVector("tint", &tint), D3D_OK);
        ASSERT_EQ(effect_->SetFloat("unused", float(i)), D3D_OK);
    }

    void DrawSprite() { EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK); }

    // The script: long runs, broken by a render state, a texture, a buffer
    // upload, CommitChanges, two draws in one pass, a value set inside a
    // pass without a commit (which that pass's draw must not see), a pass
    // with no draw, and End.
    std::vector<BYTE> Draw() {
        EXPECT_EQ(
            device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000010, 1.0f, 0),
            D3D_OK);
        D3DXMATRIX viewProj;
        D3DXMatrixIdentity(&viewProj);
        EXPECT_EQ(effect_->SetMatrix("ViewProj", &viewProj), D3D_OK);
        EXPECT_EQ(effect_->SetTexture("flare", warm_), D3D_OK);
        EXPECT_EQ(device_->SetFVF(0x142), D3D_OK);
        EXPECT_EQ(device_->SetStreamSource(0, quad_, 0, sizeof(Vertex)), D3D_OK);
        EXPECT_EQ(effect_->SetTechnique("Sprites"), D3D_OK);
        UINT passes = 0;
        EXPECT_EQ(effect_->Begin(&passes, 0), D3D_OK);
        for (int i = 0; i < kSprites; ++i) {
            SetSprite(i);
            if (i == 100) {
                EXPECT_EQ(device_->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_MAX), D3D_OK);
            }
            if (i == 150) {
                EXPECT_EQ(effect_->SetTexture("flare", cold_), D3D_OK);
            }
            if (i == 170) {
                FillQuad(1.5f);
            }
            EXPECT_EQ(effect_->BeginPass(0), D3D_OK);
            if (i == 200) {
                EXPECT_EQ(effect_->SetFloat("fade", 0.5f), D3D_OK);
                EXPECT_EQ(effect_->CommitChanges(), D3D_OK);
            }
            if (i == 220) {
                EXPECT_EQ(effect_->SetFloat("size", 0.3f), D3D_OK);
            }
            if (i != 240) {
                DrawSprite();
            }
            if (i == 260) {
                DrawSprite();
            }
            EXPECT_EQ(effect_->EndPass(), D3D_OK);
        }
        EXPECT_EQ(effect_->End(), D3D_OK);
        EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        std::vector<BYTE> frame(kSize * kSize * 4);
        EXPECT_EQ(device_->GetPresentedFrame(frame.data(), kSize * 4), D3D_OK);
        return frame;
    }

private:
    IDirect3DDevice9* device_ = nullptr;
    ID3DXEffect* effect_ = nullptr;
    IDirect3DTexture9* warm_ = nullptr;
    IDirect3DTexture9* cold_ = nullptr;
    IDirect3DVertexBuffer9* quad_ = nullptr;
};

TEST(DrawBatching, BatchedAndUnbatchedDrawsGiveTheSamePixels) {
    d3d9::CountFrames(true);
    std::vector<BYTE> unbatched;
    {
        SpriteScene scene(false);
        d3d9::TakeFrameCounters();
        unbatched = scene.Draw();
        const d3d9::FrameCounters counters = d3d9::TakeFrameCounters();
        EXPECT_EQ(counters.drawCalls, std::uint32_t(kSprites));
        EXPECT_EQ(counters.glDraws, std::uint32_t(kSprites));
    }
    std::vector<BYTE> batched;
    {
        SpriteScene scene(true);
        d3d9::TakeFrameCounters();
        batched = scene.Draw();
        const d3d9::FrameCounters counters = d3d9::TakeFrameCounters();
        EXPECT_EQ(counters.drawCalls, std::uint32_t(kSprites));
        EXPECT_LT(counters.glDraws, 12u) << "each break starts one more run";
    }
    d3d9::CountFrames(false);

    std::size_t lit = 0;
    for (std::size_t i = 0; i < unbatched.size(); i += 4) {
        lit += unbatched[i] > 0x40 ? 1 : 0;
    }
    EXPECT_GT(lit, std::size_t(kSize * kSize / 10)) << "the sprites cover the frame";
    EXPECT_TRUE(batched == unbatched) << "the pixels differ";
}

}  // namespace
