// Window classes and windows over SDL: creation with WM_CREATE, styles,
// destruction, stale handles, the default procedure, signals and the screen.
#include "win32_test_support.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Seen {
    UINT message;
    HWND window;
};

std::vector<Seen> g_seen;
CREATESTRUCTW g_create = {};
LRESULT g_createResult = 0;

LRESULT CALLBACK TestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_seen.push_back({message, window});
    if (message == WM_CREATE) {
        g_create = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        return g_createResult;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

constexpr const wchar_t* kClass = L"WindowsTestClass";

class Win32WindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        DrainMessages();
        g_seen.clear();
        g_createResult = 0;
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = TestProc;
        wc.lpszClassName = kClass;
        ASSERT_NE(RegisterClassExW(&wc), 0);
    }
    void TearDown() override {
        for (HWND window : windows_) {
            DestroyWindow(window);
        }
        UnregisterClassW(kClass, nullptr);
        DrainMessages();
    }

    HWND Create(DWORD style, LPCWSTR title = L"test") {
        const HWND window = CreateWindowExW(0, kClass, title, style, 10, 20, 320, 240, nullptr,
                                            nullptr, nullptr, nullptr);
        if (window != nullptr) {
            windows_.push_back(window);
        }
        return window;
    }

    static SDL_Window* Sdl(HWND window) {
        return static_cast<SDL_Window*>(win32::SdlWindowOf(window));
    }

    std::vector<HWND> windows_;
};

TEST_F(Win32WindowsTest, ClassesAreRegisteredOnceAndNamedWithoutRegardToCase) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TestProc;
    wc.lpszClassName = L"windowstestclass";
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    wc.lpszClassName = L"AnotherClass";
    wc.cbSize = 48;  // a size other than this platform's structure is refused
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_FALSE(UnregisterClassW(L"AnotherClass", nullptr));
    EXPECT_EQ(CreateWindowExW(0, L"AnotherClass", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
}

TEST_F(Win32WindowsTest, CreationSendsWmCreateWithItsArgumentsAndMakesAnOpenGlWindow) {
    const HWND window = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"h u s h \u00FC");
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(g_seen[0].window, window);
    EXPECT_EQ(g_create.x, 10);
    EXPECT_EQ(g_create.cy, 240);
    EXPECT_STREQ(g_create.lpszClass, kClass);

    EXPECT_TRUE(IsWindow(window));
    SDL_Window* sdl = Sdl(window);
    ASSERT_NE(sdl, nullptr);
    const Uint32 flags = SDL_GetWindowFlags(sdl);
    EXPECT_NE(flags & SDL_WINDOW_OPENGL, 0u);
    EXPECT_NE(flags & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_EQ(flags & SDL_WINDOW_BORDERLESS, 0u);
    EXPECT_NE(flags & SDL_WINDOW_SHOWN, 0u);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "h u s h \xC3\xBC");
    // The offscreen driver reports no frame, so the client area is the whole window.
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(sdl, &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
}

TEST_F(Win32WindowsTest, DestroyingSendsWmDestroyAndTheHandleStaysDead) {
    const HWND first = Create(WS_POPUP);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(UnregisterClassW(kClass, nullptr)) << "a window of the class still exists";
    g_seen.clear();
    EXPECT_TRUE(DestroyWindow(first));
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(win32::SdlWindowOf(first), nullptr);
    EXPECT_FALSE(DestroyWindow(first));

    // The next window may reuse the table slot but never the handle.
    const HWND second = Create(WS_POPUP);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(0x12345)));
}

TEST_F(Win32WindowsTest, WmCreateReturningMinusOneCancelsTheWindow) {
    g_createResult = -1;
    EXPECT_EQ(Create(WS_POPUP), nullptr);
    EXPECT_TRUE(UnregisterClassW(kClass, nullptr)) << "no window of the class is left";
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TestProc;
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
}

TEST_F(Win32WindowsTest, DefaultProcedureDestroysOnCloseAndTheQuitFollows) {
    const HWND window = Create(WS_POPUP);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    DispatchMessageW(&msg);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(DefWindowProcW(window, WM_KEYDOWN, 0, 0), 0);
}

// Each signal is raised in a child process: the stand-in counts the signals
// a process receives, and the second one ends it.
TEST_F(Win32WindowsTest, ASignalClosesTheOldestWindowOrQuits) {
    const auto closesTheOldest = [this] {
        win32::CloseWindowOnSignals();
        const HWND first = Create(WS_POPUP);
        Create(WS_POPUP);
        std::raise(SIGINT);
        MSG msg;
        const bool closed = PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) &&
                            msg.message == WM_CLOSE && msg.hwnd == first &&
                            !PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        std::_Exit(closed ? 0 : 1);
    };
    EXPECT_EXIT(closesTheOldest(), ::testing::ExitedWithCode(0), "");

    const auto quitsWithoutWindows = [] {
        win32::CloseWindowOnSignals();
        std::raise(SIGTERM);
        MSG msg;
        std::_Exit(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT ? 0 : 1);
    };
    EXPECT_EXIT(quitsWithoutWindows(), ::testing::ExitedWithCode(0), "");
}

// However soon after the first, and whether the first was handled or not.
TEST_F(Win32WindowsTest, ASecondSignalEndsTheProcessWithTheShellsStatus) {
    const auto twoSignals = [this](int first, int second) {
        win32::CloseWindowOnSignals();
        Create(WS_POPUP);
        std::raise(first);
        std::raise(second);
        std::_Exit(0);
    };
    EXPECT_EXIT(twoSignals(SIGINT, SIGTERM), ::testing::ExitedWithCode(128 + SIGTERM), "");
    EXPECT_EXIT(twoSignals(SIGTERM, SIGINT), ::testing::ExitedWithCode(128 + SIGINT), "");

    const auto secondAfterTheFirstWasHandled = [this] {
        win32::CloseWindowOnSignals();
        Create(WS_POPUP);
        std::raise(SIGINT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        std::raise(SIGINT);
        std::_Exit(0);
    };
    EXPECT_EXIT(secondAfterTheFirstWasHandled(), ::testing::ExitedWithCode(128 + SIGINT), "");
}

}  // namespace
