// Present into a window: the back buffer scaled with its aspect kept and
// black bars around it. The window comes from SDL directly, standing in for
// the Win32 stand-in's window table.
#include <d3d9.h>
#include <d3d9_standin.h>
#include <win32_standin.h>

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "d3d9_test_device.h"
#include "d3d9_test_window.h"
#include "platform/d3d9/letterbox.h"

namespace win32 {
// The test's window table: a window handle is its SDL window.
__attribute__((visibility("default"))) void* SdlWindowOf(HWND window) {
    return window;
}
}  // namespace win32

namespace {

TEST(Letterbox, KeepsTheAspectAndCentres) {
    const LetterboxRect same = Letterbox(1024, 768, 1024, 768);
    EXPECT_EQ(same.x, 0);
    EXPECT_EQ(same.width, 1024);
    const LetterboxRect wide = Letterbox(1024, 768, 1920, 1080);
    EXPECT_EQ(wide.height, 1080);
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.x, 240);
    EXPECT_EQ(wide.y, 0);
    const LetterboxRect tall = Letterbox(1024, 768, 800, 1000);
    EXPECT_EQ(tall.width, 800);
    EXPECT_EQ(tall.height, 600);
    EXPECT_EQ(tall.y, 200);
    const LetterboxRect empty = Letterbox(1024, 768, 0, 600);
    EXPECT_EQ(empty.width, 0);
}

class WindowPresent : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        direct3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    }
    void TearDown() override {
        d3d9::DrawIntoWindows(false);
        if (direct3d_ != nullptr) {
            direct3d_->Release();
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // A device whose back buffer is the window's size (64x48) and presents
    // into it, with devices allowed to draw straight into their windows;
    // null where it cannot be made.
    IDirect3DDevice9* CreateWindowSizedDevice(SDL_Window* window) {
        D3DPRESENT_PARAMETERS parameters = d3d9test::HeadlessParameters(64, 48);
        parameters.hDeviceWindow = reinterpret_cast<HWND>(window);
        d3d9::DrawIntoWindows(true);
        IDirect3DDevice9* device = nullptr;
        EXPECT_EQ(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0,
                                          &parameters, &device),
                  D3D_OK);
        return device;
    }

    IDirect3D9* direct3d_ = nullptr;
};

// Even where devices may draw into their window: this one is not its size.
TEST_F(WindowPresent, LetterboxesTheBackBufferIntoAWideWindow) {
    SDL_Window* window = d3d9test::CreateGlWindow(200, 100);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    d3d9::DrawIntoWindows(true);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = 64;
    parameters.BackBufferHeight = 48;
    parameters.Windowed = TRUE;
    parameters.hDeviceWindow = reinterpret_cast<HWND>(window);
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters,
                                      &device),
              D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    std::vector<BYTE> pixels;
    UINT width = 0, height = 0;
    ASSERT_EQ(d3d9::ReadWindowPixels(device, &pixels, &width, &height), D3D_OK);
    ASSERT_EQ(width, 200u);
    ASSERT_EQ(height, 100u);
    // 64x48 fills the height: 133 pixels wide from x = 33.
    const auto red = [&](UINT x, UINT y) {
        const BYTE* p = &pixels[(y * width + x) * 4];
        return p[0] == 255 && p[1] == 0 && p[2] == 0;
    };
    const auto black = [&](UINT x, UINT y) {
        const BYTE* p = &pixels[(y * width + x) * 4];
        return p[0] == 0 && p[1] == 0 && p[2] == 0;
    };
    EXPECT_TRUE(black(10, 50));
    EXPECT_TRUE(black(32, 50));
    EXPECT_TRUE(red(34, 0));
    EXPECT_TRUE(red(100, 50));
    EXPECT_TRUE(red(165, 99));
    EXPECT_TRUE(black(167, 50));
    EXPECT_TRUE(black(190, 50));

    // With presents into windows off (a capture's), the window keeps the
    // last frame copied into it and the presented frame is still read.
    d3d9::PresentIntoWindows(false);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    d3d9::PresentIntoWindows(true);
    std::vector<BYTE> presented(64 * 48 * 4);
    ASSERT_EQ(device->GetPresentedFrame(presented.data(), 64 * 4), D3D_OK);
    EXPECT_EQ(presented[0], 0);
    EXPECT_EQ(presented[1], 255);
    ASSERT_EQ(d3d9::ReadWindowPixels(device, &pixels, &width, &height), D3D_OK);
    EXPECT_TRUE(red(100, 50));

    EXPECT_EQ(device->Release(), 0u);
    SDL_DestroyWindow(window);
}

// Whether each frame goes straight into the window is decided at the
// Present before it; a frame drawn there while presents into windows were
// turned off is kept for GetPresentedFrame instead of shown.
TEST_F(WindowPresent, ADeviceOfTheWindowsSizeDrawsStraightIntoItWhileAllowed) {
    SDL_Window* window = d3d9test::CreateGlWindow(64, 48);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    IDirect3DDevice9* device = CreateWindowSizedDevice(window);
    ASSERT_NE(device, nullptr);
    d3d9::CountFrames(true);
    std::vector<BYTE> presented(64 * 48 * 4);
    // Presents a frame cleared to colour; whether it went into the window,
    // and what GetPresentedFrame said of it.
    const auto frame = [&](D3DCOLOR colour, HRESULT* kept) {
        EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0), D3D_OK);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        *kept = device->GetPresentedFrame(presented.data(), 64 * 4);
        return d3d9::TakeFrameCounters().framesIntoWindow == 1;
    };
    const bool desktop = d3d9test::DrawsIntoWindows();
    HRESULT kept = D3D_OK;
    EXPECT_EQ(frame(0xFFFF0000, &kept), desktop);
    EXPECT_EQ(kept, desktop ? D3DERR_INVALIDCALL : D3D_OK);
    std::vector<BYTE> pixels;
    UINT width = 0, height = 0;
    ASSERT_EQ(d3d9::ReadWindowPixels(device, &pixels, &width, &height), D3D_OK);
    ASSERT_EQ(width, 64u);
    EXPECT_EQ(pixels[0], 255);
    EXPECT_EQ(pixels[(47 * 64 + 63) * 4], 255);

    d3d9::PresentIntoWindows(false);
    EXPECT_FALSE(frame(0xFF00FF00, &kept)) << "drawn into the window, then kept";
    EXPECT_EQ(kept, D3D_OK);
    EXPECT_EQ(presented[1], 255);
    EXPECT_FALSE(frame(0xFF0000FF, &kept));
    EXPECT_EQ(presented[2], 255);
    d3d9::PresentIntoWindows(true);
    d3d9::DrawIntoWindows(false);
    EXPECT_FALSE(frame(0xFFFFFFFF, &kept));
    EXPECT_FALSE(frame(0xFFFFFFFF, &kept));
    EXPECT_EQ(kept, D3D_OK);
    d3d9::DrawIntoWindows(true);
    EXPECT_FALSE(frame(0xFFFF0000, &kept)) << "chosen before it was allowed";
    EXPECT_EQ(frame(0xFFFF0000, &kept), desktop);

    d3d9::CountFrames(false);
    EXPECT_EQ(device->Release(), 0u);
    SDL_DestroyWindow(window);
}

// Closing the window destroys it between frames, after the next frame was
// meant for it: that frame is drawn and kept whole all the same.
TEST_F(WindowPresent, AFrameMeantForAWindowThatWentAwayIsKeptWhole) {
    SDL_Window* window = d3d9test::CreateGlWindow(64, 48);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    IDirect3DDevice9* device = CreateWindowSizedDevice(window);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    SDL_DestroyWindow(window);

    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    std::vector<BYTE> presented(64 * 48 * 4);
    ASSERT_EQ(device->GetPresentedFrame(presented.data(), 64 * 4), D3D_OK);
    for (const std::size_t pixel : {std::size_t(0), std::size_t(47 * 64 + 63)}) {
        EXPECT_EQ(presented[pixel * 4 + 1], 255) << "pixel " << pixel;
        EXPECT_EQ(presented[pixel * 4], 0) << "pixel " << pixel;
    }

    EXPECT_EQ(device->Release(), 0u);
}

TEST_F(WindowPresent, RefusesWindowsThatCannotDrawAndHandlesThatAreNone) {
    SDL_Window* plain = SDL_CreateWindow("plain", 0, 0, 64, 64, 0);
    ASSERT_NE(plain, nullptr);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.hDeviceWindow = reinterpret_cast<HWND>(plain);
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters,
                                      &device),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
    // Windowed, the failed call took the window's size as the back buffer's.
    EXPECT_EQ(parameters.BackBufferWidth, 64u);
    parameters.hDeviceWindow = nullptr;
    parameters.BackBufferWidth = 0;
    parameters.BackBufferHeight = 0;
    EXPECT_EQ(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters,
                                      &device),
              D3DERR_INVALIDCALL)
        << "offscreen needs a back buffer size";
    parameters.BackBufferWidth = 32;
    parameters.BackBufferHeight = 32;
    ASSERT_EQ(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters,
                                      &device),
              D3D_OK);
    std::vector<BYTE> pixels;
    UINT width = 0, height = 0;
    EXPECT_EQ(d3d9::ReadWindowPixels(device, &pixels, &width, &height), D3DERR_INVALIDCALL);
    device->Release();
    SDL_DestroyWindow(plain);
}

}  // namespace
