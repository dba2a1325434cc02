// The OpenGL device drawn offscreen and read back, and drawn straight into
// a window of its size and read from there: placement by the matrices,
// texture orientation and repeat, pictures decoded ahead, blending,
// culling, clip depth, viewports, the alpha test, the model vertex layout,
// indexed draws from a base vertex, effect parameters and compile errors.
#include <d3d9.h>
#include <d3d9_standin.h>
#include <d3dx9.h>

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "d3d9_test_device.h"
#include "d3d9_test_window.h"
#include "device/VertexFormats.h"
#include "d3d9_test_files.h"

#include <array>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT kSize = 64;

constexpr const char* kEffect = R"(// Quads for the device tests.
uniform mat4 WVP;
uniform vec4 tint = vec4(1.0, 1.0, 1.0, 1.0);
uniform float fA = 1.0;
uniform sampler2D picture;
uniform sampler2D second;
uniform sampler2D mipmapped;

vertex QuadVS {
    layout(location = ATTR_POSITION) in vec3 position;
    layout(location = ATTR_COLOR) in vec4 colour;
    layout(location = ATTR_TEXCOORD0) in vec2 uv;
    out vec4 vColour;
    out vec2 vUv;
    void main() {
        gl_Position = vec4(position, 1.0) * WVP;
        vColour = colour;
        vUv = uv;
    }
}

fragment TexturedFS {
    in vec4 vColour;
    in vec2 vUv;
    out vec4 fragColour;
    void main() { fragColour = texture(picture, vUv) * vColour * tint; }
}

fragment SecondFS {
    in vec4 vColour;
    in vec2 vUv;
    out vec4 fragColour;
    void main() { fragColour = texture(second, vUv); }
}

fragment MipmappedFS {
    in vec4 vColour;
    in vec2 vUv;
    out vec4 fragColour;
    void main() { fragColour = texture(mipmapped, vUv); }
}

fragment FlatFS {
    in vec4 vColour;
    in vec2 vUv;
    out vec4 fragColour;
    void main() {
        fragColour = vColour * tint;
        fragColour.a *= fA;
    }
}

technique Textured {
    pass P0 { CullMode = None; VertexShader = QuadVS; PixelShader = TexturedFS; }
}
technique Second {
    pass P0 { VertexShader = QuadVS; PixelShader = SecondFS; }
}
technique Blended {
    pass P0 {
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = InvSrcAlpha;
        VertexShader = QuadVS;
        PixelShader = FlatFS;
    }
}
technique Flat {
    pass P0 { VertexShader = QuadVS; PixelShader = FlatFS; }
}
technique Mipmapped {
    pass P0 { CullMode = None; VertexShader = QuadVS; PixelShader = MipmappedFS; }
}

sampler_state picture { MinFilter = Point; MagFilter = Point; MipFilter = None; }
sampler_state second { Stage = 3; MinFilter = Point; MagFilter = Point; }
sampler_state mipmapped { Stage = 5; MinFilter = Linear; MagFilter = Linear; MipFilter = Linear; }
)";

struct Vertex {
    float x, y, z;
    DWORD colour;
    float u, v;
};

using Rgba = std::array<int, 4>;

const Rgba kBlack{0, 0, 0, 255};
const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kWhite{255, 255, 255, 255};

// Where the device draws: its own framebuffer, read back with
// GetPresentedFrame; or a window of its size that it draws straight into
// (on desktop OpenGL), read from the window.
enum class Target { kHeadless, kWindow };

std::string TargetName(const testing::TestParamInfo<Target>& info) {
    return info.param == Target::kHeadless ? "Headless" : "InWindow";
}

class GlDevice : public testing::TestWithParam<Target> {
protected:
    void SetUp() override {
        IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(direct3d, nullptr);
        D3DPRESENT_PARAMETERS parameters = d3d9test::HeadlessParameters(kSize, kSize);
        if (InWindow()) {
            ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
            window_ = d3d9test::CreateGlWindow(kSize, kSize);
            ASSERT_NE(window_, nullptr) << SDL_GetError();
            parameters.hDeviceWindow = reinterpret_cast<HWND>(window_);
            d3d9::DrawIntoWindows(true);
            d3d9::CountFrames(true);
        }
        ASSERT_EQ(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0,
                                         &parameters, &device_),
                  D3D_OK);
        direct3d->Release();
        effect_ = LoadEffect();
        ASSERT_NE(effect_, nullptr);
        ASSERT_EQ(device_->CreateVertexBuffer(4 * sizeof(Vertex), D3DUSAGE_WRITEONLY, 0x142,
                                              D3DPOOL_MANAGED, &quad_, nullptr),
                  D3D_OK);
        ASSERT_EQ(device_->SetFVF(0x142), D3D_OK);
        ASSERT_EQ(device_->SetStreamSource(0, quad_, 0, sizeof(Vertex)), D3D_OK);
        D3DXMatrixIdentity(&identity_);
    }

    void TearDown() override {
        quad_->Release();
        effect_->Release();
        EXPECT_EQ(device_->Release(), 0u);
        if (InWindow()) {
            // On desktop OpenGL the frames went straight into the window.
            const d3d9::FrameCounters counters = d3d9::TakeFrameCounters();
            d3d9::CountFrames(false);
            if (presents_ > 0 && d3d9test::DrawsIntoWindows()) {
                EXPECT_GT(counters.framesIntoWindow, 0u);
            }
            d3d9::DrawIntoWindows(false);
            SDL_DestroyWindow(window_);
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }

    bool InWindow() const { return GetParam() == Target::kWindow; }

    ID3DXEffect* LoadEffect() {
        static const std::string path = d3d9test::WriteTextFile("device.fx", kEffect);
        ID3DXEffect* effect = nullptr;
        ID3DXBuffer* errors = nullptr;
        const HRESULT result = D3DXCreateEffectFromFileA(device_, path.c_str(), nullptr, nullptr, 0,
                                                         nullptr, &effect, &errors);
        EXPECT_EQ(result, D3D_OK) << (errors != nullptr
                                          ? static_cast<const char*>(errors->GetBufferPointer())
                                          : "");
        return effect;
    }

    // The quad from (-1, -1) to (1, 1) at depth z, uv (0, 0) at its top left
    // and (uvMax, uvMax) at its bottom right, wound clockwise on screen.
    void FillQuad(D3DCOLOR colour, float uvMax = 1.0f, float z = 0.5f) {
        const Vertex vertices[4] = {{-1, -1, z, colour, 0, uvMax},
                                    {-1, 1, z, colour, 0, 0},
                                    {1, -1, z, colour, uvMax, uvMax},
                                    {1, 1, z, colour, uvMax, 0}};
        void* data = nullptr;
        ASSERT_EQ(quad_->Lock(0, 0, &data, 0), D3D_OK);
        std::memcpy(data, vertices, sizeof vertices);
        ASSERT_EQ(quad_->Unlock(), D3D_OK);
    }

    void Draw(ID3DXEffect* effect, const char* technique, const D3DXMATRIX& wvp) {
        ASSERT_EQ(effect->SetTechnique(technique), D3D_OK);
        ASSERT_EQ(effect->SetMatrix("WVP", &wvp), D3D_OK);
        UINT passes = 0;
        ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
        ASSERT_EQ(effect->BeginPass(0), D3D_OK);
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        ASSERT_EQ(effect->EndPass(), D3D_OK);
        ASSERT_EQ(effect->End(), D3D_OK);
    }

    void Clear(D3DCOLOR colour) {
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0),
                  D3D_OK);
    }

    void Present() {
        ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        if (!InWindow()) {
            ASSERT_EQ(device_->GetPresentedFrame(frame_.data(), kSize * 4), D3D_OK);
            return;
        }
        ++presents_;
        UINT width = 0, height = 0;
        ASSERT_EQ(d3d9::ReadWindowPixels(device_, &frame_, &width, &height), D3D_OK);
        ASSERT_EQ(width, kSize);
        ASSERT_EQ(height, kSize);
    }

    // A pixel of the last presented frame, x right and y down.
    Rgba Pixel(UINT x, UINT y) const {
        const BYTE* p = &frame_[(y * kSize + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }

    static bool Near(const Rgba& a, const Rgba& b, int tolerance = 2) {
        for (int i = 0; i < 4; ++i) {
            if (std::abs(a[i] - b[i]) > tolerance) {
                return false;
            }
        }
        return true;
    }

    // A managed vertex buffer holding SIZE bytes from DATA.
    IDirect3DVertexBuffer9* MakeVertexBuffer(const void* vertices, UINT size, DWORD fvf) {
        IDirect3DVertexBuffer9* buffer = nullptr;
        EXPECT_EQ(device_->CreateVertexBuffer(size, 0, fvf, D3DPOOL_MANAGED, &buffer, nullptr),
                  D3D_OK);
        void* data = nullptr;
        if (buffer != nullptr && buffer->Lock(0, 0, &data, 0) == D3D_OK) {
            std::memcpy(data, vertices, size);
            buffer->Unlock();
        }
        return buffer;
    }

    // The two triangles of a four-vertex quad: (0, 1, 2) and (2, 1, 3).
    IDirect3DIndexBuffer9* MakeQuadIndices() {
        const WORD list[6] = {0, 1, 2, 2, 1, 3};
        IDirect3DIndexBuffer9* indices = nullptr;
        EXPECT_EQ(device_->CreateIndexBuffer(sizeof list, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                             &indices, nullptr),
                  D3D_OK);
        void* data = nullptr;
        if (indices != nullptr && indices->Lock(0, 0, &data, 0) == D3D_OK) {
            std::memcpy(data, list, sizeof list);
            indices->Unlock();
        }
        return indices;
    }

    IDirect3DTexture9* LoadTexture(const std::string& name, int width, int height,
                                   const std::vector<std::uint32_t>& pixels) {
        const std::string path = d3d9test::WriteImage(name, width, height, pixels);
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(D3DXCreateTextureFromFileA(device_, path.c_str(), &texture), D3D_OK);
        return texture;
    }

    // A quad in front of the near plane is clipped; of two quads the nearer
    // wins.
    void ExpectDirect3DClipDepth() {
        Clear(0xFF000000);
        FillQuad(0xFFFF0000, 1.0f, -0.25f);
        Draw(effect_, "Flat", identity_);
        Present();
        EXPECT_EQ(Pixel(32, 32), kBlack) << "z below 0 is in front of the near plane";

        FillQuad(0xFFFF0000, 1.0f, 0.25f);
        Draw(effect_, "Flat", identity_);
        FillQuad(0xFF00FF00, 1.0f, 0.75f);
        Draw(effect_, "Flat", identity_);
        Present();
        EXPECT_EQ(Pixel(32, 32), kRed) << "the farther green quad fails LESSEQUAL";
    }

    SDL_Window* window_ = nullptr;
    int presents_ = 0;
    IDirect3DDevice9* device_ = nullptr;
    ID3DXEffect* effect_ = nullptr;
    IDirect3DVertexBuffer9* quad_ = nullptr;
    D3DXMATRIX identity_;
    std::vector<BYTE> frame_ = std::vector<BYTE>(kSize * kSize * 4);
};

TEST_P(GlDevice, TexturedQuadLandsWhereTheMatricesSayWithItsTopRowAtVZero) {
    // Row 0 of the picture: red, green; row 1: blue, white.
    IDirect3DTexture9* picture =
        LoadTexture("quadrants.tga", 2, 2, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFFFF});
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(effect_->SetTexture("picture", picture), D3D_OK);
    FillQuad(0xFFFFFFFF);
    // Half size, then moved right by half the view: the quad covers x from
    // 0 to 1 and y from -0.5 to 0.5, the right half's middle band.
    D3DXMATRIX scale, move, wvp;
    D3DXMatrixScaling(&scale, 0.5f, 0.5f, 1.0f);
    D3DXMatrixTranslation(&move, 0.5f, 0.0f, 0.0f);
    D3DXMatrixMultiply(&wvp, &scale, &move);
    Clear(0xFF000000);
    Draw(effect_, "Textured", wvp);
    Present();
    EXPECT_EQ(Pixel(40, 20), kRed);
    EXPECT_EQ(Pixel(56, 20), kGreen);
    EXPECT_EQ(Pixel(40, 44), kBlue);
    EXPECT_EQ(Pixel(56, 44), kWhite);
    EXPECT_EQ(Pixel(16, 32), kBlack);
    EXPECT_EQ(Pixel(40, 8), kBlack);
    EXPECT_EQ(Pixel(33, 17), kRed) << "the quad's corner pixel";
    EXPECT_EQ(Pixel(31, 17), kBlack);
    picture->Release();
}

// A picture decoded ahead, with its mipmap chain, draws the same pixels as
// one decoded when its texture is made, at its full size and shrunk onto
// the lower levels.
TEST_P(GlDevice, PicturesDecodedAheadDrawTheSamePixels) {
    std::vector<std::uint32_t> pixels(48 * 40);
    std::uint32_t state = 12345;
    for (std::uint32_t& pixel : pixels) {
        state = state * 1664525u + 1013904223u;
        pixel = state | 0xFFu;
    }
    const std::string path = d3d9test::WriteImage("noise.png", 48, 40, pixels);
    FillQuad(0xFFFFFFFF);
    D3DXMATRIX shrunk;
    D3DXMatrixScaling(&shrunk, 0.3f, 0.3f, 1.0f);
    std::vector<BYTE> frames[2];
    for (int ahead = 0; ahead < 2; ++ahead) {
        if (ahead == 1) {
            const char* files[] = {path.c_str()};
            d3d9::DecodeAhead(files, 1);
        }
        IDirect3DTexture9* picture = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileA(device_, path.c_str(), &picture), D3D_OK);
        d3d9::EndDecodeAhead();
        ASSERT_EQ(device_->SetTexture(5, picture), D3D_OK);
        for (const D3DXMATRIX* wvp : {&identity_, &shrunk}) {
            Clear(0xFF000000);
            Draw(effect_, "Mipmapped", *wvp);
            Present();
            frames[ahead].insert(frames[ahead].end(), frame_.begin(), frame_.end());
        }
        ASSERT_EQ(device_->SetTexture(5, nullptr), D3D_OK);
        picture->Release();
    }
    EXPECT_NE(Pixel(32, 32), kBlack);
    EXPECT_TRUE(frames[0] == frames[1]);
}

// A frame drawn into the window is the one drawn into the device's own
// framebuffer and copied there, but for the rasteriser's rounding where a
// triangle's edge crosses a pixel: the window's rows run the other way in
// the driver. Turned, filtered and blended quads show it.
class GlDeviceInWindow : public GlDevice {};

TEST_P(GlDeviceInWindow, FramesDrawnIntoTheWindowDifferOnlyAlongEdges) {
    if (!d3d9test::DrawsIntoWindows()) {
        GTEST_SKIP() << "an ES context draws into no window";
    }
    std::vector<std::uint32_t> pixels(48 * 40);
    std::uint32_t state = 777;
    for (std::uint32_t& pixel : pixels) {
        state = state * 1664525u + 1013904223u;
        pixel = state | 0xFFu;
    }
    IDirect3DTexture9* picture = LoadTexture("turned.png", 48, 40, pixels);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(device_->SetTexture(5, picture), D3D_OK);
    D3DXMATRIX turn, shrink, turned, tilted;
    D3DXMatrixRotationZ(&turn, 0.52f);
    D3DXMatrixScaling(&shrink, 0.71f, 0.63f, 1.0f);
    D3DXMatrixMultiply(&turned, &shrink, &turn);
    D3DXMatrixRotationZ(&tilted, -0.31f);
    const auto drawScene = [&] {
        Clear(0xFF203040);
        FillQuad(0xFFFFFFFF);
        Draw(effect_, "Mipmapped", turned);
        FillQuad(0x90F0A020, 1.0f, 0.25f);
        Draw(effect_, "Blended", tilted);
    };
    // Copied: the frame letterboxed one to one into the window, and kept.
    std::vector<BYTE> kept(frame_.size());
    d3d9::DrawIntoWindows(false);
    Present();
    drawScene();
    Present();
    EXPECT_EQ(device_->GetPresentedFrame(kept.data(), kSize * 4), D3D_OK);
    const std::vector<BYTE> copied = frame_;
    EXPECT_TRUE(kept == copied);
    // Drawn into the window (the Present before it chose the window), and
    // not kept.
    d3d9::DrawIntoWindows(true);
    Present();
    drawScene();
    Present();
    EXPECT_EQ(device_->GetPresentedFrame(kept.data(), kSize * 4), D3DERR_INVALIDCALL);
    int differing = 0;
    for (std::size_t pixel = 0; pixel < copied.size(); pixel += 4) {
        differing += std::memcmp(&copied[pixel], &frame_[pixel], 4) != 0 ? 1 : 0;
    }
    EXPECT_NE(Pixel(32, 32), Pixel(2, 2)) << "the quads were drawn";
    // Only pixels on the quads' edges (about 250 of the 4,096) may differ;
    // a frame turned over or moved would differ almost everywhere.
    EXPECT_LT(differing, 250) << "pixels that differ";
    ASSERT_EQ(device_->SetTexture(5, nullptr), D3D_OK);
    picture->Release();
}

INSTANTIATE_TEST_SUITE_P(Window, GlDeviceInWindow, testing::Values(Target::kWindow), TargetName);

TEST_P(GlDevice, TexturesRepeatOutsideZeroToOne) {
    IDirect3DTexture9* stripes = LoadTexture("stripes.png", 2, 1, {0xFF0000FF, 0x00FF00FF});
    ASSERT_NE(stripes, nullptr);
    effect_->SetTexture("picture", stripes);
    FillQuad(0xFFFFFFFF, 2.0f);
    Clear(0xFF000000);
    Draw(effect_, "Textured", identity_);
    Present();
    EXPECT_EQ(Pixel(4, 32), kRed);
    EXPECT_EQ(Pixel(20, 32), kGreen);
    EXPECT_EQ(Pixel(36, 32), kRed);
    EXPECT_EQ(Pixel(52, 32), kGreen);
    stripes->Release();
}

TEST_P(GlDevice, SamplersNotSetByNameReadTheirStageTexture) {
    IDirect3DTexture9* blue = LoadTexture("blue.png", 1, 1, {0x0000FFFF});
    IDirect3DTexture9* green = LoadTexture("green.png", 1, 1, {0x00FF00FF});
    ASSERT_EQ(device_->SetTexture(0, green), D3D_OK);
    ASSERT_EQ(device_->SetTexture(3, blue), D3D_OK);
    FillQuad(0xFFFFFFFF);
    Clear(0xFF000000);
    Draw(effect_, "Second", identity_);
    Present();
    EXPECT_EQ(Pixel(32, 32), kBlue) << "sampler 'second' names stage 3";
    Draw(effect_, "Textured", identity_);
    Present();
    EXPECT_EQ(Pixel(32, 32), kGreen) << "sampler 'picture' is the first: stage 0";
    // The effect's own texture goes to the stage it reads.
    effect_->SetTexture("second", green);
    Draw(effect_, "Second", identity_);
    Present();
    EXPECT_EQ(Pixel(32, 32), kGreen);
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
    blue->Release();
    green->Release();
}

TEST_P(GlDevice, AlphaBlendsOverWhatIsThere) {
    FillQuad(0x80FF0000);
    Clear(0xFF0000FF);
    Draw(effect_, "Blended", identity_);
    Present();
    EXPECT_TRUE(Near(Pixel(32, 32), {128, 0, 127, 255})) << Pixel(32, 32)[0];
    // fA scales alpha: a quarter of 0x80 lets three quarters of blue through.
    effect_->SetFloat("fA", 0.25f);
    Clear(0xFF0000FF);
    Draw(effect_, "Blended", identity_);
    Present();
    EXPECT_TRUE(Near(Pixel(32, 32), {32, 0, 223, 255}, 3)) << Pixel(32, 32)[0];
    // End put back the blend state the technique changed.
    DWORD blending = TRUE;
    EXPECT_EQ(device_->GetRenderState(D3DRS_ALPHABLENDENABLE, &blending), D3D_OK);
    EXPECT_EQ(blending, DWORD(FALSE));
    UINT passes = 0;
    effect_->SetTechnique("Blended");
    effect_->Begin(&passes, D3DXFX_DONOTSAVESTATE);
    effect_->BeginPass(0);
    effect_->EndPass();
    effect_->End();
    EXPECT_EQ(device_->GetRenderState(D3DRS_ALPHABLENDENABLE, &blending), D3D_OK);
    EXPECT_EQ(blending, DWORD(TRUE));
}

TEST_P(GlDevice, CullsCounterClockwiseTrianglesByDefault) {
    // Top left, top right, bottom left: clockwise on screen.
    const Vertex clockwise[3] = {{-1, 1, 0.5f, 0xFFFF0000, 0, 0},
                                 {1, 1, 0.5f, 0xFFFF0000, 0, 0},
                                 {-1, -1, 0.5f, 0xFFFF0000, 0, 0}};
    const Vertex counterClockwise[3] = {clockwise[0], clockwise[2], clockwise[1]};
    const auto drawTriangle = [&](const Vertex(&triangle)[3]) {
        void* data = nullptr;
        EXPECT_EQ(quad_->Lock(0, sizeof triangle, &data, 0), D3D_OK);
        std::memcpy(data, triangle, sizeof triangle);
        EXPECT_EQ(quad_->Unlock(), D3D_OK);
        Clear(0xFF000000);
        effect_->SetTechnique("Flat");
        effect_->SetMatrix("WVP", &identity_);
        effect_->Begin(nullptr, 0);
        effect_->BeginPass(0);
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
        effect_->EndPass();
        effect_->End();
        Present();
        return Pixel(8, 8);
    };
    EXPECT_EQ(drawTriangle(clockwise), kRed);
    EXPECT_EQ(drawTriangle(counterClockwise), kBlack);
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW), D3D_OK);
    EXPECT_EQ(drawTriangle(clockwise), kBlack);
    EXPECT_EQ(drawTriangle(counterClockwise), kRed);
    ASSERT_EQ(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    EXPECT_EQ(drawTriangle(clockwise), kRed);
    EXPECT_EQ(drawTriangle(counterClockwise), kRed);
}

TEST_P(GlDevice, ClipDepthRunsFromZeroToOneAndTheDepthTestKeepsTheNearest) {
    ExpectDirect3DClipDepth();
}

// Where a driver has no glClipControl, the vertex stages move z themselves.
class GlDeviceWithoutClipControl : public GlDevice {
protected:
    void SetUp() override {
        d3d9::AllowClipControl(false);
        GlDevice::SetUp();
        d3d9::AllowClipControl(true);
    }
};

TEST_P(GlDeviceWithoutClipControl, ClipDepthStillRunsFromZeroToOne) {
    ExpectDirect3DClipDepth();
}

INSTANTIATE_TEST_SUITE_P(Targets, GlDeviceWithoutClipControl,
                         testing::Values(Target::kHeadless, Target::kWindow), TargetName);

TEST_P(GlDevice, ViewportsCountFromTheTopLeft) {
    Clear(0xFF000000);
    const D3DVIEWPORT9 topLeft{0, 0, kSize / 2, kSize / 2, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&topLeft), D3D_OK);
    FillQuad(0xFF00FF00);
    Draw(effect_, "Flat", identity_);
    // Clear covers the viewport only.
    const D3DVIEWPORT9 bottomRight{kSize / 2, kSize / 2, kSize / 2, kSize / 2, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&bottomRight), D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), D3D_OK);
    const D3DRECT corner{0, 56, 8, 64};
    ASSERT_EQ(device_->Clear(1, &corner, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK)
        << "outside the viewport: clears nothing";
    Present();
    EXPECT_EQ(Pixel(10, 10), kGreen);
    EXPECT_EQ(Pixel(50, 10), kBlack);
    EXPECT_EQ(Pixel(10, 50), kBlack);
    EXPECT_EQ(Pixel(2, 62), kBlack);
    EXPECT_EQ(Pixel(50, 50), kBlue);
}

TEST_P(GlDevice, AlphaTestDropsFragmentsThatFailTheReference) {
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHAREF, 0x80), D3D_OK);
    Clear(0xFF000000);
    FillQuad(0x40FF0000);
    Draw(effect_, "Flat", identity_);
    Present();
    EXPECT_EQ(Pixel(32, 32), kBlack);
    FillQuad(0xC0FF0000);
    Draw(effect_, "Flat", identity_);
    Present();
    EXPECT_EQ(Pixel(32, 32), kRed);
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE), D3D_OK);
    FillQuad(0x40FFFFFF);
    Draw(effect_, "Flat", identity_);
    Present();
    EXPECT_EQ(Pixel(32, 32), kWhite);
}

// The test turned on or off inside a pass, with nothing committed since:
// the draw still honours it, and with the pass's values (the tint).
TEST_P(GlDevice, AlphaTestTurnedOnOrOffInsideAPassAppliesToTheNextDraw) {
    const D3DXVECTOR4 red{1, 0, 0, 1};
    ASSERT_EQ(effect_->SetVector("tint", &red), D3D_OK);
    ASSERT_EQ(effect_->SetTechnique("Flat"), D3D_OK);
    ASSERT_EQ(effect_->SetMatrix("WVP", &identity_), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHAREF, 0x80), D3D_OK);
    for (const BOOL startsOn : {FALSE, TRUE}) {
        Clear(0xFF000000);
        FillQuad(0x40FFFFFF);
        ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHATESTENABLE, startsOn), D3D_OK);
        UINT passes = 0;
        ASSERT_EQ(effect_->Begin(&passes, 0), D3D_OK);
        ASSERT_EQ(effect_->BeginPass(0), D3D_OK);
        ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHATESTENABLE, !startsOn), D3D_OK);
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        ASSERT_EQ(effect_->EndPass(), D3D_OK);
        ASSERT_EQ(effect_->End(), D3D_OK);
        Present();
        // Alpha 0x40 fails GREATER 0x80: dropped with the test on, drawn
        // red (white tinted) over black with it off.
        const Rgba drawn = Pixel(32, 32);
        if (startsOn) {
            EXPECT_GT(drawn[0], 0) << "turned off inside the pass";
            EXPECT_EQ(drawn[1], 0) << "the tint reached the other program";
            EXPECT_EQ(drawn[2], 0);
        } else {
            EXPECT_EQ(drawn, kBlack) << "turned on inside the pass";
        }
    }
    ASSERT_EQ(device_->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE), D3D_OK);
}

TEST_P(GlDevice, ParametersKeepTheirValuesAcrossFramesAndPerEffect) {
    ID3DXEffect* other = LoadEffect();
    ASSERT_NE(other, nullptr);
    const D3DXVECTOR4 red{1, 0, 0, 1}, blue{0, 0, 1, 1};
    effect_->SetVector("tint", &red);
    other->SetVector("tint", &blue);
    FillQuad(0xFFFFFFFF);
    D3DXMATRIX left, right;
    D3DXMatrixTranslation(&left, -1.0f, 0.0f, 0.0f);
    D3DXMatrixTranslation(&right, 1.0f, 0.0f, 0.0f);
    for (int frame = 0; frame < 2; ++frame) {
        Clear(0xFF000000);
        Draw(effect_, "Flat", left);
        Draw(other, "Flat", right);
        Present();
        EXPECT_EQ(Pixel(16, 32), kRed) << "frame " << frame;
        EXPECT_EQ(Pixel(48, 32), kBlue) << "frame " << frame;
    }
    // A value set inside a pass shows after CommitChanges.
    Clear(0xFF000000);
    effect_->SetTechnique("Flat");
    effect_->SetMatrix("WVP", &identity_);
    effect_->Begin(nullptr, 0);
    effect_->BeginPass(0);
    const D3DXVECTOR4 green{0, 1, 0, 1};
    effect_->SetVector("tint", &green);
    effect_->CommitChanges();
    device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    effect_->EndPass();
    effect_->End();
    Present();
    EXPECT_EQ(Pixel(32, 32), kGreen);
    other->Release();
}

TEST_P(GlDevice, TheModelVertexFeedsEveryAttributeByUsage) {
    const std::string path = d3d9test::WriteTextFile("model.fx", R"(uniform mat4 WVP;
vertex ModelVS {
    layout(location = ATTR_POSITION) in vec3 position;
    layout(location = ATTR_NORMAL) in vec3 normal;
    layout(location = ATTR_COLOR) in vec4 colour;
    layout(location = ATTR_TEXCOORD0) in vec2 uv;
    layout(location = ATTR_TANGENT) in vec3 tangent;
    layout(location = ATTR_TEXCOORD1) in float handedness;
    out vec4 seen;
    void main() {
        gl_Position = vec4(position, 1.0) * WVP;
        seen = vec4(tangent.x * normal.y, colour.b * uv.y, handedness, colour.a);
    }
}
fragment ModelFS { in vec4 seen; out vec4 colour; void main() { colour = seen; } }
technique Model { pass { CullMode = None; VertexShader = ModelVS; PixelShader = ModelFS; } }
)");
    ID3DXEffect* model = nullptr;
    ASSERT_EQ(D3DXCreateEffectFromFileA(device_, path.c_str(), nullptr, nullptr, 0, nullptr, &model,
                                        nullptr),
              D3D_OK);
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(device_->CreateVertexDeclaration(ember::kModelElements, &declaration), D3D_OK);
    struct ModelVertex {
        float position[3], normal[3];
        DWORD colour;
        float uv[2], tangent[3], handedness;
    };
    static_assert(sizeof(ModelVertex) == 52);
    // A blue colour with alpha 0x80 (bytes B, G, R, A in memory).
    const ModelVertex corner = {{0, 0, 0.5f}, {0, 1, 0}, 0x800000FF, {0, 1}, {1, 0, 0}, 0.5f};
    ModelVertex vertices[4] = {corner, corner, corner, corner};
    const float positions[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
        vertices[i].position[0] = positions[i][0];
        vertices[i].position[1] = positions[i][1];
    }
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(vertices, sizeof vertices, 0);
    ASSERT_NE(buffer, nullptr);
    IDirect3DIndexBuffer9* indices = MakeQuadIndices();
    ASSERT_NE(indices, nullptr);

    ASSERT_EQ(device_->SetVertexDeclaration(declaration), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 0, 52), D3D_OK);
    ASSERT_EQ(device_->SetIndices(indices), D3D_OK);
    model->SetMatrix("WVP", &identity_);
    Clear(0xFF000000);
    model->Begin(nullptr, 0);
    model->BeginPass(0);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    model->EndPass();
    model->End();
    Present();
    EXPECT_TRUE(Near(Pixel(32, 32), {255, 255, 128, 255})) << Pixel(32, 32)[2];

    model->Release();
    declaration->Release();
    indices->Release();
    buffer->Release();
}

// ES draws have no base vertex: the inputs are bound that many vertices on,
// and bound again for a draw without one.
TEST_P(GlDevice, IndexedDrawsCountFromTheBaseVertex) {
    const Vertex vertices[8] = {{-1, -1, 0.5f, 0xFFFF0000, 0, 0}, {-1, 1, 0.5f, 0xFFFF0000, 0, 0},
                                {1, -1, 0.5f, 0xFFFF0000, 0, 0},  {1, 1, 0.5f, 0xFFFF0000, 0, 0},
                                {-1, -1, 0.5f, 0xFF00FF00, 0, 0}, {-1, 1, 0.5f, 0xFF00FF00, 0, 0},
                                {1, -1, 0.5f, 0xFF00FF00, 0, 0},  {1, 1, 0.5f, 0xFF00FF00, 0, 0}};
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(vertices, sizeof vertices, 0x142);
    ASSERT_NE(buffer, nullptr);
    IDirect3DIndexBuffer9* indices = MakeQuadIndices();
    ASSERT_NE(indices, nullptr);
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 0, sizeof(Vertex)), D3D_OK);
    ASSERT_EQ(device_->SetIndices(indices), D3D_OK);
    effect_->SetTechnique("Flat");
    effect_->SetMatrix("WVP", &identity_);

    Clear(0xFF000000);
    effect_->Begin(nullptr, 0);
    effect_->BeginPass(0);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2), D3D_OK);
    effect_->EndPass();
    effect_->End();
    Present();
    EXPECT_EQ(Pixel(32, 32), kGreen);

    Clear(0xFF000000);
    effect_->Begin(nullptr, 0);
    effect_->BeginPass(0);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    effect_->EndPass();
    effect_->End();
    Present();
    EXPECT_EQ(Pixel(32, 32), kRed);

    device_->SetStreamSource(0, quad_, 0, sizeof(Vertex));
    indices->Release();
    buffer->Release();
}

TEST_P(GlDevice, GlslErrorsNameTheFileAndLine) {
    const std::string path = d3d9test::WriteTextFile("broken.fx", R"(uniform mat4 WVP;

vertex V {
    layout(location = ATTR_POSITION) in vec3 position;
    void main() {
        gl_Position = vec4(position, 1.0) * WVP;
    }
}

fragment F {
    out vec4 colour;
    void main() {
        colour = undeclared;
    }
}

technique T { pass { VertexShader = V; PixelShader = F; } }
)");
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    EXPECT_EQ(D3DXCreateEffectFromFileA(device_, path.c_str(), nullptr, nullptr, 0, nullptr,
                                        &effect, &errors),
              E_FAIL);
    EXPECT_EQ(effect, nullptr);
    ASSERT_NE(errors, nullptr);
    const std::string text(static_cast<const char*>(errors->GetBufferPointer()));
    EXPECT_EQ(text.rfind(path + "(13): ", 0), 0u) << text;
    EXPECT_NE(text.find("undeclared"), std::string::npos) << text;
    errors->Release();

    // Macros reach the GLSL.
    const D3DXMACRO defines[] = {{"undeclared", "vec4(1.0)"}, {nullptr, nullptr}};
    EXPECT_EQ(D3DXCreateEffectFromFileA(device_, path.c_str(), defines, nullptr, 0, nullptr,
                                        &effect, nullptr),
              D3D_OK);
    effect->Release();
}

TEST_P(GlDevice, PresentedFrameOutlivesTheNextClear) {
    if (InWindow() && d3d9test::DrawsIntoWindows()) {
        // Nothing keeps a frame drawn into the window.
        Clear(0xFF00FF00);
        Present();
        EXPECT_EQ(device_->GetPresentedFrame(frame_.data(), kSize * 4), D3DERR_INVALIDCALL);
        return;
    }
    Clear(0xFF00FF00);
    Present();
    Clear(0xFFFF0000);
    ASSERT_EQ(device_->GetPresentedFrame(frame_.data(), kSize * 4), D3D_OK);
    EXPECT_EQ(Pixel(0, 0), kGreen);
    EXPECT_EQ(Pixel(63, 63), kGreen);
}

TEST_P(GlDevice, ObjectsCountReferencesAndHoldTheirDevice) {
    IDirect3DTexture9* texture = LoadTexture("one.png", 1, 1, {0xFFFFFFFF});
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->AddRef(), 2u);
    EXPECT_EQ(texture->Release(), 1u);
    // The effect takes a reference of its own; the device's stage does not.
    effect_->SetTexture("picture", texture);
    device_->SetTexture(0, texture);
    EXPECT_EQ(texture->AddRef(), 3u);
    texture->Release();
    effect_->SetTexture("picture", nullptr);
    EXPECT_EQ(texture->Release(), 0u);
    IDirect3DBaseTexture9* bound = texture;
    EXPECT_EQ(device_->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, nullptr) << "a released texture is unbound";

    // Device, effect and buffer are held: releasing the device's own
    // reference leaves it alive for them.
    EXPECT_EQ(device_->AddRef(), 4u);
    EXPECT_EQ(device_->Release(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Targets, GlDevice, testing::Values(Target::kHeadless, Target::kWindow),
                         TargetName);

}  // namespace
