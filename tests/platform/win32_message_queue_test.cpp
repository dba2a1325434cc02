// The message queue: order, filters, WM_QUIT last, capacity, dispatch.
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The first message number free for a program's own use (WM_USER).
constexpr UINT kPrivateMessage = 0x0400;

std::vector<UINT> g_dispatched;

LRESULT CALLBACK RecordingProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_CREATE && message != WM_DESTROY) {
        g_dispatched.push_back(message);
    }
    return static_cast<LRESULT>(wParam) + 1;
}

class Win32MessageQueueTest : public ::testing::Test {
protected:
    void SetUp() override { DrainMessages(); }
    void TearDown() override { DrainMessages(); }

    static std::vector<UINT> TakeAll() {
        std::vector<UINT> messages;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            messages.push_back(msg.message);
        }
        return messages;
    }
};

TEST_F(Win32MessageQueueTest, PostedMessagesComeOutInOrderAndQuitLast) {
    PostQuitMessage(7);
    PostMessageW(nullptr, WM_KEYDOWN, 1, 0);
    PostMessageW(nullptr, WM_KEYUP, 2, 0);

    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, 1u);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Win32MessageQueueTest, RangeFilterTakesALaterMessageAndKeepsTheRestInOrder) {
    PostMessageW(nullptr, WM_KEYDOWN, 0, 0);
    PostMessageW(nullptr, WM_LBUTTONDOWN, 0, 0);
    PostMessageW(nullptr, WM_KEYUP, 0, 0);

    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_LBUTTONUP, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_LBUTTONUP, PM_REMOVE));
    EXPECT_EQ(TakeAll(), (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(Win32MessageQueueTest, QueueRefusesWhenFullAndStaysInOrderAcrossTheWrap) {
    // Fill, take half, fill again: the ring wraps around its end.
    int posted = 0;
    while (PostMessageW(nullptr, WM_NULL, static_cast<WPARAM>(posted), 0)) {
        ++posted;
        ASSERT_LT(posted, 100000) << "the queue never fills";
    }
    MSG msg;
    for (int i = 0; i < posted / 2; ++i) {
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(i));
    }
    for (int i = 0; i < posted / 2; ++i) {
        ASSERT_TRUE(PostMessageW(nullptr, WM_NULL, static_cast<WPARAM>(posted + i), 0));
    }
    EXPECT_FALSE(PostMessageW(nullptr, WM_NULL, 0, 0));
    for (int i = posted / 2; i < posted + posted / 2; ++i) {
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(i));
    }
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Win32MessageQueueTest, WindowMessagesReachTheProcedureAndDeadWindowsAreRefused) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = L"QueueTestClass";
    ASSERT_NE(RegisterClassExW(&wc), 0);
    const HWND window = CreateWindowExW(0, L"QueueTestClass", L"queue", WS_POPUP, 0, 0, 64, 64,
                                        nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    g_dispatched.clear();

    ASSERT_TRUE(PostMessageW(window, WM_KEYDOWN, 4, 0));
    PostMessageW(nullptr, WM_KEYUP, 0, 0);
    MSG msg;
    // A window filter passes over thread messages.
    ASSERT_TRUE(PeekMessageW(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(TranslateMessage(&msg), TRUE);
    EXPECT_EQ(DispatchMessageW(&msg), 5);
    EXPECT_EQ(SendMessageW(window, kPrivateMessage, 9, 0), 10);
    EXPECT_EQ(g_dispatched, (std::vector<UINT>{WM_KEYDOWN, kPrivateMessage}));

    DestroyWindow(window);
    EXPECT_FALSE(PostMessageW(window, WM_KEYDOWN, 0, 0));
    EXPECT_EQ(SendMessageW(window, WM_KEYDOWN, 0, 0), 0);
    EXPECT_TRUE(UnregisterClassW(L"QueueTestClass", nullptr));
}

}  // namespace
