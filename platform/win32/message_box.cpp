// Message boxes: a shown box (SDL's on the desktop, an overlay on the page in
// a browser), a hook for tests, and standard error where no box can be shown.
#include <win32_standin.h>

#include "standin.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

win32::MessageBoxHook g_hook = nullptr;
void* g_hookUser = nullptr;

}  // namespace

namespace win32::detail {

// What closing the box (Escape or the close button) answers.
int ClosedAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        default:
            return IDOK;
    }
}

}  // namespace win32::detail

namespace win32 {

void SetMessageBoxHook(MessageBoxHook hook, void* user) {
    g_hook = hook;
    g_hookUser = user;
}

}  // namespace win32

extern "C" {

int WINAPI MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    if (g_hook != nullptr) {
        return g_hook(g_hookUser, text != nullptr ? text : L"",
                      caption != nullptr ? caption : L"Error", type);
    }
    const std::string utf8Text = win32::detail::Utf8(text);
    const std::string utf8Caption = caption != nullptr ? win32::detail::Utf8(caption) : "Error";
    if (win32::HasDisplay()) {
        const int answer = win32::detail::ShowMessageBox(utf8Text, utf8Caption, type);
        if (answer != 0) {
            return answer;
        }
    }
    std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    std::fflush(stderr);
    return win32::detail::ClosedAnswer(type);
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const std::wstring wideText = win32::detail::Wide(text);
    const std::wstring wideCaption = win32::detail::Wide(caption != nullptr ? caption : "Error");
    return MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), type);
}

}  // extern "C"
