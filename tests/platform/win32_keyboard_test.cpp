// The asynchronous key state and the key messages that go with it.
#include "win32_test_support.h"

#include <gtest/gtest.h>

namespace {

constexpr SHORT kDown = static_cast<SHORT>(0x8000);
constexpr SHORT kPressedSinceQuery = 1;
constexpr LPARAM kPreviousState = LPARAM{1} << 30;
constexpr LPARAM kTransition = LPARAM{1} << 31;

class Win32KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int key : {static_cast<int>('A'), VK_ESCAPE, VK_LSHIFT, VK_RSHIFT, VK_SHIFT}) {
            ForgetKey(key);
        }
    }
    void TearDown() override { SetUp(); }
};

TEST_F(Win32KeyboardTest, DownNowAndPressedSinceTheLastQuery) {
    EXPECT_EQ(GetAsyncKeyState('A'), 0);
    win32::InjectKey('A', true, false);
    EXPECT_EQ(GetAsyncKeyState('A'), kDown | kPressedSinceQuery);
    EXPECT_EQ(GetAsyncKeyState('A'), kDown);
    win32::InjectKey('A', false, false);
    EXPECT_EQ(GetAsyncKeyState('A'), 0);

    // A press released before anyone asked still counts once.
    win32::InjectKey(VK_ESCAPE, true, false);
    win32::InjectKey(VK_ESCAPE, false, false);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), kPressedSinceQuery);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);

    EXPECT_EQ(GetAsyncKeyState(-1), 0);
    EXPECT_EQ(GetAsyncKeyState(256), 0);
}

TEST_F(Win32KeyboardTest, EitherShiftIsShift) {
    win32::InjectKey(VK_LSHIFT, true, false);
    win32::InjectKey(VK_RSHIFT, true, false);
    win32::InjectKey(VK_LSHIFT, false, false);
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT) & kDown, kDown);
    win32::InjectKey(VK_RSHIFT, false, false);
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
}

TEST_F(Win32KeyboardTest, KeyMessagesCarryRepeatAndReleaseBits) {
    win32::InjectKey('A', true, false);
    win32::InjectKey('A', true, true);
    win32::InjectKey('A', false, false);
    win32::InjectKey(VK_RSHIFT, true, false);

    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(msg.lParam & (kPreviousState | kTransition), 0);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.lParam & (kPreviousState | kTransition), kPreviousState);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(msg.lParam & (kPreviousState | kTransition), kPreviousState | kTransition);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_SHIFT));
}

}  // namespace
