// The desktop's message box: SDL's, with the Win32 button sets.
#include "standin.h"

#include <SDL2/SDL.h>

namespace {

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

}  // namespace

namespace win32::detail {

int ShowMessageBox(const std::string& text, const std::string& caption, UINT type) {
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

}  // namespace win32::detail
