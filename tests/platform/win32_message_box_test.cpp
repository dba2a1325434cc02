// Message boxes: the test hook, and standard error where no box can be shown.
#include <win32_standin.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct RecordedBox {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
    int answer = IDOK;
};

int Record(void* user, LPCWSTR text, LPCWSTR caption, UINT type) {
    auto* box = static_cast<RecordedBox*>(user);
    box->text = text;
    box->caption = caption;
    box->type = type;
    return box->answer;
}

class Win32MessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override { win32::SetMessageBoxHook(nullptr, nullptr); }
};

TEST_F(Win32MessageBoxTest, HookReceivesEveryBoxAndAnswersIt) {
    RecordedBox box;
    box.answer = IDNO;
    win32::SetMessageBoxHook(Record, &box);
    EXPECT_EQ(MessageBoxW(nullptr, L"text", L"caption", MB_YESNOCANCEL | MB_ICONWARNING), IDNO);
    EXPECT_EQ(box.text, L"text");
    EXPECT_EQ(box.caption, L"caption");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONWARNING));

    box.answer = IDOK;
    EXPECT_EQ(MessageBoxA(nullptr, "Fehler \xFC", nullptr, MB_ICONERROR), IDOK);
    EXPECT_EQ(box.text, L"Fehler \u00FC");
    EXPECT_EQ(box.caption, L"Error");
}

// The tests run with SDL's offscreen driver: no display to show a box on.
TEST_F(Win32MessageBoxTest, WithoutDisplayTheBoxGoesToStandardErrorAndIsClosed) {
    ASSERT_FALSE(win32::HasDisplay());
    ::testing::internal::CaptureStderr();
    const int prompt = MessageBoxW(nullptr, L" fullscreen (yes)\n window (no)", L"h u s h",
                                   MB_YESNOCANCEL | MB_ICONWARNING);
    const int question = MessageBoxW(nullptr, L"Sure?", L"Q", MB_YESNO);
    const int notice = MessageBoxW(nullptr, L"Gr\u00FC\u00DFe", L"Info", MB_OK);
    const std::string written = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(prompt, IDCANCEL);
    EXPECT_EQ(question, IDNO);
    EXPECT_EQ(notice, IDOK);
    EXPECT_EQ(written,
              "h u s h:  fullscreen (yes)\n window (no)\nQ: Sure?\nInfo: Gr\u00FC\u00DFe\n");
}

}  // namespace
