// CWindow: creation, the message loop's rules and the message table, with a
// test window standing in for the show.
#include "app/Window.h"
#include "tests/platform/win32_test_support.h"

#include <win32_standin.h>

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The test binary's window pointer; each test points it at its own window.
CWindow* g_window = nullptr;

namespace {

class LoopWindow : public CWindow {
public:
    int OnInit() override {
        ++inits;
        visibleAtInit = IsWindow(m_hWnd) != FALSE;
        return 0;
    }
    int OnFrame() override {
        ++frames;
        if (frameScript) {
            frameScript(*this);
        }
        return 0;
    }
    int OnKeyDown(int key) override {
        keysDown.push_back(key);
        return 0;
    }
    int OnKeyUp(int key) override {
        keysUp.push_back(key);
        return 0;
    }
    int OnLButtonDown(int x, int y) override {
        buttonDowns.push_back({x, y});
        return 0;
    }
    int OnLButtonUp(int x, int y) override {
        buttonUps.push_back({x, y});
        return 0;
    }

    void StopRunning() { m_running = 0; }
    bool Created() const { return m_created == 1; }
    bool Fullscreen() const { return m_fullscreen == 1; }

    struct Point {
        int x;
        int y;
        bool operator==(const Point&) const = default;
    };

    int inits = 0;
    bool visibleAtInit = false;
    int frames = 0;
    std::function<void(LoopWindow&)> frameScript;
    std::vector<int> keysDown;
    std::vector<int> keysUp;
    std::vector<Point> buttonDowns;
    std::vector<Point> buttonUps;
};

// True when the class is still registered: a second registration fails.
bool ClassRegistered() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"PresenterWIN32";
    if (RegisterClassExW(&wc) == 0) {
        return true;
    }
    UnregisterClassW(L"PresenterWIN32", nullptr);
    return false;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        DrainMessages();
        GetAsyncKeyState(VK_ESCAPE);
        g_window = &window_;
        g_displayMode = 0;
    }
    void TearDown() override {
        win32::InjectKey(VK_ESCAPE, false, false);
        GetAsyncKeyState(VK_ESCAPE);
        window_.Destroy();
        DrainMessages();
        win32::SetMessageBoxHook(nullptr, nullptr);
        g_window = nullptr;
    }

    void CreateWindowed() {
        ASSERT_EQ(window_.Create(nullptr), 1);
        ASSERT_TRUE(window_.Created());
    }

    LoopWindow window_;
};

TEST_F(WindowTest, CreateShowsATitledWindowAndRunsOnInitOnce) {
    CreateWindowed();
    EXPECT_EQ(window_.inits, 1);
    EXPECT_TRUE(window_.visibleAtInit);
    EXPECT_EQ(window_.m_width, 1024);
    EXPECT_EQ(window_.m_height, 768);
    auto* sdl = static_cast<SDL_Window*>(win32::SdlWindowOf(window_.m_hWnd));
    ASSERT_NE(sdl, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "h u s h");
    EXPECT_EQ(SDL_GetWindowFlags(sdl) & SDL_WINDOW_BORDERLESS, 0u);
    EXPECT_TRUE(ClassRegistered());
}

TEST_F(WindowTest, FullscreenChoiceMakesABorderlessPopup) {
    g_displayMode = 1;
    ASSERT_EQ(window_.Create(nullptr), 1);
    EXPECT_TRUE(window_.Fullscreen());
    auto* sdl = static_cast<SDL_Window*>(win32::SdlWindowOf(window_.m_hWnd));
    ASSERT_NE(sdl, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_BORDERLESS, 0u);
}

TEST_F(WindowTest, FailedCreationTellsTheUserAndSkipsOnInit) {
    // Take every window the stand-in can hold, so the show's cannot be made.
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"Filler";
    ASSERT_NE(RegisterClassExW(&wc), 0);
    std::vector<HWND> fillers;
    while (HWND filler = CreateWindowExW(0, L"Filler", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                                         nullptr, nullptr)) {
        fillers.push_back(filler);
        ASSERT_LT(fillers.size(), 1000u);
    }
    std::vector<RecordedBox> boxes;
    win32::SetMessageBoxHook(RecordBoxes, &boxes);

    EXPECT_EQ(window_.Create(nullptr), 0);
    EXPECT_FALSE(window_.Created());
    EXPECT_EQ(window_.inits, 0);
    EXPECT_EQ(boxes.size(), 1u);
    // The fillers are destroyed below whatever was shown.
    const RecordedBox box = boxes.empty() ? RecordedBox{} : boxes.back();
    EXPECT_EQ(box.text, L"Failed to create window!");
    EXPECT_EQ(box.caption, L"ERROR");
    EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_FALSE(ClassRegistered());

    for (HWND filler : fillers) {
        DestroyWindow(filler);
    }
    UnregisterClassW(L"Filler", nullptr);
}

TEST_F(WindowTest, EscapeEndsTheLoopAfterOneMoreFrame) {
    CreateWindowed();
    window_.frameScript = [](LoopWindow& w) {
        if (w.frames == 3) {
            win32::InjectKey(VK_ESCAPE, true, false);
        }
    };
    window_.Run();
    EXPECT_EQ(window_.frames, 4);
    EXPECT_EQ(window_.keysDown, std::vector<int>{VK_ESCAPE});
}

TEST_F(WindowTest, WmQuitEndsTheLoopWithoutAFrame) {
    CreateWindowed();
    window_.frameScript = [](LoopWindow& w) {
        if (w.frames == 2) {
            PostQuitMessage(0);
        }
    };
    window_.Run();
    EXPECT_EQ(window_.frames, 2);
}

TEST_F(WindowTest, AutoRepeatKeyDownsAreDropped) {
    CreateWindowed();
    window_.frameScript = [](LoopWindow& w) {
        if (w.frames == 1) {
            win32::InjectKey('A', true, false);
            win32::InjectKey('A', true, true);
            win32::InjectKey('A', true, true);
            win32::InjectKey('A', false, false);
        }
        if (w.frames == 6) {
            w.StopRunning();
        }
    };
    window_.Run();
    EXPECT_EQ(window_.keysDown, std::vector<int>{'A'});
    EXPECT_EQ(window_.keysUp, std::vector<int>{'A'});
    GetAsyncKeyState('A');
}

TEST_F(WindowTest, OnFrameClearingTheFlagEndsTheLoopWithMessagesLeft) {
    CreateWindowed();
    window_.frameScript = [](LoopWindow& w) {
        if (w.frames == 1) {
            for (int i = 0; i < 10; ++i) {
                PostMessageW(w.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(i, 0));
            }
        }
        if (w.frames == 5) {
            w.StopRunning();
        }
    };
    window_.Run();
    // One message per pass: passes 2 to 5 took four of the ten.
    EXPECT_EQ(window_.frames, 5);
    EXPECT_EQ(window_.buttonDowns.size(), 4u);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(GET_X_LPARAM(msg.lParam), 4);
}

// What the loop hooks saw: "start", then "done after N" for each frame.
std::vector<std::string> g_hookCalls;
LoopWindow* g_hookedWindow = nullptr;

TEST_F(WindowTest, LoopHooksRunBeforeTheFirstFrameAndAfterEachAndFalseEndsTheLoop) {
    CreateWindowed();
    g_hookCalls.clear();
    g_hookedWindow = &window_;
    g_loopStartHook = [] {
        g_hookCalls.push_back("start after " + std::to_string(g_hookedWindow->frames));
    };
    g_frameDoneHook = [] {
        g_hookCalls.push_back("done after " + std::to_string(g_hookedWindow->frames));
        return g_hookedWindow->frames < 3;
    };
    window_.Run();
    g_loopStartHook = nullptr;
    g_frameDoneHook = nullptr;
    EXPECT_EQ(window_.frames, 3);
    EXPECT_EQ(g_hookCalls, (std::vector<std::string>{"start after 0", "done after 1",
                                                     "done after 2", "done after 3"}));
}

TEST_F(WindowTest, ClosingTheWindowEndsTheLoopAndDestroyStillUnregisters) {
    CreateWindowed();
    window_.frameScript = [](LoopWindow& w) {
        if (w.frames == 2) {
            PostMessageW(w.m_hWnd, WM_CLOSE, 0, 0);
        }
    };
    window_.Run();
    // Pass 3 closes the window (and still draws); pass 4 takes WM_QUIT.
    EXPECT_EQ(window_.frames, 3);
    EXPECT_FALSE(IsWindow(window_.m_hWnd));
    EXPECT_TRUE(ClassRegistered());
    EXPECT_EQ(window_.Destroy(), 1);
    EXPECT_FALSE(ClassRegistered());
}

TEST_F(WindowTest, MouseCoordinatesAreSignedSixteenBitHalves) {
    CreateWindowed();
    SendMessageW(window_.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 700));
    SendMessageW(window_.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(1023, -1));
    EXPECT_EQ(window_.buttonDowns, (std::vector<LoopWindow::Point>{{-5, 700}}));
    EXPECT_EQ(window_.buttonUps, (std::vector<LoopWindow::Point>{{1023, -1}}));
    // Messages the table does not name go to the default handling.
    EXPECT_EQ(SendMessageW(window_.m_hWnd, WM_MOUSEMOVE, 0, 0), 0);
}

}  // namespace
