// wsprintfW: Win32's conversions and its 1024-character limit.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

class Win32FormatTest : public ::testing::Test {
protected:
    wchar_t buffer_[1100];
};

TEST_F(Win32FormatTest, StringsAreWideWithLowerSAndNarrowWithUpperS) {
    EXPECT_EQ(wsprintfW(buffer_, L"API %s not supported", L"OPENGL2"), 25);
    EXPECT_STREQ(buffer_, L"API OPENGL2 not supported");
    wsprintfW(buffer_, L"[%S|%hs|%ls]", "narrow", "half", L"wide");
    EXPECT_STREQ(buffer_, L"[narrow|half|wide]");
    wsprintfW(buffer_, L"%s", static_cast<const wchar_t*>(nullptr));
    EXPECT_STREQ(buffer_, L"(null)");
    wsprintfW(buffer_, L"[%-6s|%6s|%.3s]", L"ab", L"cd", L"truncate");
    EXPECT_STREQ(buffer_, L"[ab    |    cd|tru]");
    // Narrow text is Latin-1, byte for character.
    wsprintfW(buffer_, L"%S", "caf\xE9");
    EXPECT_STREQ(buffer_, L"caf\u00E9");
}

TEST_F(Win32FormatTest, IntegersAreThirtyTwoBitsAndCharactersWide) {
    wsprintfW(buffer_, L"%d %i %u %x %X %#x", -42, INT_MIN, 4000000000u, 0xBEEFu, 0xBEEFu, 255u);
    EXPECT_STREQ(buffer_, L"-42 -2147483648 4000000000 beef BEEF 0xff");
    wsprintfW(buffer_, L"[%5d|%-5d|%05d|%.4u|%ld]", 42, 42, -42, 7u, 12);
    EXPECT_STREQ(buffer_, L"[   42|42   |-0042|0007|12]");
    wsprintfW(buffer_, L"%c%C%c 100%%", L'\u00FC', 'x', L'!');
    EXPECT_STREQ(buffer_, L"\u00FCx! 100%");
}

TEST_F(Win32FormatTest, OutputStopsAt1024CharactersWithTheZero) {
    const std::wstring name(1500, L'n');
    const int written = wsprintfW(buffer_, L"API %s not supported", name.c_str());
    EXPECT_EQ(written, 1023);
    EXPECT_EQ(buffer_[1023], L'\0');
    EXPECT_EQ(std::wstring(buffer_).substr(0, 6), L"API nn");
}

}  // namespace
