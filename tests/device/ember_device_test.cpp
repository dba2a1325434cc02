// The EmberD3D render device library, loaded as the show loads it and opened
// on a headless window: a picture quad drawn under "RenderTunnel" lands in the
// presented frame, and ids the device never issued are refused.
#include "render/Renderer.h"

#include <stb_image_write.h>
#include <win32_standin.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

class EmberDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &PlainWindowProc;
        windowClass.lpszClassName = L"EmberDeviceTest";
        RegisterClassExW(&windowClass);
        window_ = CreateWindowExW(0, L"EmberDeviceTest", L"test", WS_POPUP, 0, 0, kWidth, kHeight,
                                  nullptr, nullptr, nullptr, nullptr);
        renderer_ = new Renderer(nullptr);
        ASSERT_EQ(renderer_->CreateDevice("DIRECT3D"), S_OK);
        device_ = renderer_->device;
        device_->screenWidth = kWidth;
        device_->screenHeight = kHeight;
        ASSERT_EQ(device_->Open(window_, 1, 0, 0), S_OK);
        effect_ = device_->LoadShaderEffect("data\\shaders\\vsm.fx");
    }

    // A small picture, red on the left half and blue on the right.
    static std::string WritePicture() {
        const std::string path =
            (std::filesystem::temp_directory_path() / "ember_device_test.png").string();
        std::vector<unsigned char> rgba(16 * 16 * 4);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                unsigned char* p = &rgba[(y * 16 + x) * 4];
                p[0] = x < 8 ? 255 : 0;
                p[2] = x < 8 ? 0 : 255;
                p[3] = 255;
            }
        }
        stbi_write_png(path.c_str(), 16, 16, 4, rgba.data(), 16 * 4);
        return path;
    }

    static Renderer* renderer_;
    static CRenderDevice* device_;
    static HWND window_;
    static UINT effect_;
};

Renderer* EmberDeviceTest::renderer_ = nullptr;
CRenderDevice* EmberDeviceTest::device_ = nullptr;
HWND EmberDeviceTest::window_ = nullptr;
UINT EmberDeviceTest::effect_ = 0;

TEST_F(EmberDeviceTest, OpensWithTheDrawFlagAndItsDirect3DDevice) {
    EXPECT_EQ(device_->drawFlag, 1);
    EXPECT_NE(device_->d3dDevice, nullptr);
    ASSERT_NE(effect_, kInvalidEffectId);
    EXPECT_EQ(device_->UseShaderEffect(effect_), S_OK);
}

TEST_F(EmberDeviceTest, PictureQuadDrawnUnderRenderTunnelLandsWhereTheMatricesSay) {
    const Color4 white = {1.0f, 1.0f, 1.0f, 1.0f};
    UINT skin = 0;
    ASSERT_EQ(device_->GetSkinManager()->AddSkin(white, white, white, white, 1.0f, &skin), S_OK);
    ASSERT_EQ(device_->GetSkinManager()->AddSkinTexture(skin, WritePicture().c_str(), 0, 1.0f),
              S_OK);
    // The landscape quad, all white so the texture shows as it is.
    const PictureVertex quad[4] = {{-29, -20, 0, 0xFFFFFFFF, 0, 1},
                                   {-29, 20, 0, 0xFFFFFFFF, 0, 0},
                                   {29, -20, 0, 0xFFFFFFFF, 1, 1},
                                   {29, 20, 0, 0xFFFFFFFF, 1, 0}};
    const WORD indices[6] = {0, 1, 2, 2, 1, 3};
    UINT buffer = 0;
    ASSERT_EQ(device_->GetBufferManager()->CreateStaticBuffer(
                  kVertexFormatPicture, skin, 4, 6, quad, indices, kPrimitiveTriangleList, &buffer),
              S_OK);

    // Seen from z = -60 with a 90 degree view the quad covers the middle.
    Matrix4 view, projection, wvp;
    const D3DXVECTOR3 eye{0, 0, -60}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 1.5707964f, 4.0f / 3.0f, 1.0f, 4000.0f);
    D3DXMatrixMultiply(&wvp, &view, &projection);

    ASSERT_EQ(device_->UseShaderEffect(effect_), S_OK);
    device_->SetClearColor(0.0f, 1.0f, 0.0f);
    device_->SelectView(0, 0);
    ASSERT_EQ(device_->BeginFrame(1, 1, 0), S_OK);
    for (const char* name : {"fR", "fG", "fB", "fA"}) {
        device_->SetShaderFloat(name, 1.0f);
    }
    device_->SetShaderMatrix("WVP", wvp);
    device_->SetShaderTechnique("RenderTunnel");
    device_->BeginShaderEffect(0, 0);
    device_->BeginShaderPass(0, 0);
    EXPECT_EQ(device_->GetBufferManager()->RenderStaticBuffer(buffer, 1), S_OK);
    device_->EndShaderPass();
    device_->EndShaderEffect();
    ASSERT_EQ(device_->EndFrame(), S_OK);

    std::vector<BYTE> frame(kWidth * kHeight * 4);
    ASSERT_EQ(device_->d3dDevice->GetPresentedFrame(frame.data(), kWidth * 4), S_OK);
    auto pixel = [&](int x, int y) { return &frame[(y * kWidth + x) * 4]; };
    // The quad spans x from 512 - 29/60 * 512 to 512 + 29/60 * 512 (about 265 to 759).
    const BYTE* left = pixel(400, 384);
    const BYTE* right = pixel(620, 384);
    const BYTE* outside = pixel(100, 384);
    EXPECT_GT(left[0], 200);
    EXPECT_LT(left[2], 60);
    EXPECT_GT(right[2], 200);
    EXPECT_LT(right[0], 60);
    EXPECT_EQ(outside[1], 255);  // the clear colour
    EXPECT_EQ(outside[0], 0);
}

TEST_F(EmberDeviceTest, IdsTheDeviceNeverIssuedAreRefused) {
    EXPECT_LT(device_->GetBufferManager()->RenderStaticBuffer(0, 1), 0);
    EXPECT_LT(device_->GetBufferManager()->RenderStaticBuffer(99999, 1), 0);
    EXPECT_LT(device_->GetSkinManager()->AddSkinTexture(0, "x.png", 0, 1.0f), 0);
    EXPECT_LT(device_->UseShaderEffect(kInvalidEffectId), 0);
    EXPECT_LT(device_->UseShaderEffect(0), 0);
    const WORD indices[3] = {0, 1, 2};
    const PictureVertex quad[3] = {};
    UINT buffer = 0;
    EXPECT_LT(
        device_->GetBufferManager()->CreateStaticBuffer(7, 1, 3, 3, quad, indices, 1, &buffer), 0);
}

TEST_F(EmberDeviceTest, EffectThatDoesNotCompileGivesNoIdAndItsTextOnStandardError) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "ember_device_broken.fx").string();
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("uniform float fA;\ntechnique RenderTunnel {\n", file);
    std::fclose(file);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(device_->LoadShaderEffect(path.c_str()), kInvalidEffectId);
    const std::string text = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(text.find("ember_device_broken.fx("), std::string::npos) << text;
    EXPECT_EQ(device_->LoadShaderEffect("no\\such\\effect.fx"), kInvalidEffectId);
}

}  // namespace
