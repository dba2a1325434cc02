// Message boxes: an SDL message box with the Win32 button sets, a hook for
// tests, and standard error where no box can be shown.
#include <win32_standin.h>

#include "standin.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

win32::MessageBoxHook g_hook = nullptr;
void* g_hookUser = nullptr;

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

Uint32 SdlIconFlag(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            return SDL_MESSAGEBOX_ERROR;
        case MB_ICONWARNING:
            return SDL_MESSAGEBOX_WARNING;
        case MB_ICONINFORMATION:
        case MB_ICONQUESTION:
            return SDL_MESSAGEBOX_INFORMATION;
        default:
            return 0;
    }
}

int ShowSdlBox(const std::string& text, const std::string& caption, UINT type) {
    SDL_MessageBoxButtonData buttons[3];
    int count = 0;
    const int closed = ClosedAnswer(type);
    auto add = [&](int id, const char* label) {
        Uint32 flags = 0;
        if (count == 0) {
            flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        }
        if (id == closed) {
            flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        }
        buttons[count++] = {flags, id, label};
    };
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            add(IDOK, "OK");
            add(IDCANCEL, "Cancel");
            break;
        case MB_YESNOCANCEL:
            add(IDYES, "Yes");
            add(IDNO, "No");
            add(IDCANCEL, "Cancel");
            break;
        case MB_YESNO:
            add(IDYES, "Yes");
            add(IDNO, "No");
            break;
        default:
            add(IDOK, "OK");
            break;
    }
    const SDL_MessageBoxData data = {
        SdlIconFlag(type), nullptr, caption.c_str(), text.c_str(), count, buttons, nullptr};
    int answer = -1;
    if (SDL_ShowMessageBox(&data, &answer) != 0) {
        return 0;
    }
    // SDL reports -1 when the box was closed without a button.
    return answer < 0 ? closed : answer;
}

}  // namespace

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
        const int answer = ShowSdlBox(utf8Text, utf8Caption, type);
        if (answer != 0) {
            return answer;
        }
    }
    std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    std::fflush(stderr);
    return ClosedAnswer(type);
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const std::wstring wideText = win32::detail::Wide(text);
    const std::wstring wideCaption = win32::detail::Wide(caption != nullptr ? caption : "Error");
    return MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), type);
}

}  // extern "C"
