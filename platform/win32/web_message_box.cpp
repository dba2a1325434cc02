// The page's message box: an overlay (.hush-message, role "dialog") with the
// caption, the text and the Win32 button set, awaited while the page runs.
// Enter answers with the first button, Escape as closing the box does.
#include "standin.h"

#include <emscripten/emscripten.h>

namespace {

bool g_showing = false;

// buttons: "id label" pairs, one a line, the first the default.
// clang-format off
EM_ASYNC_JS(int, ShowOverlay, (const char* text, const char* caption, const char* buttons,
                                int closed), {
    const box = document.createElement('div');
    box.className = 'hush-message';
    box.setAttribute('role', 'dialog');
    box.setAttribute('aria-modal', 'true');
    const title = document.createElement('div');
    title.className = 'hush-caption';
    title.textContent = UTF8ToString(caption);
    const body = document.createElement('div');
    body.className = 'hush-text';
    body.textContent = UTF8ToString(text);
    const row = document.createElement('div');
    row.className = 'hush-buttons';
    box.append(title, body, row);
    const answer = await new Promise((resolve) => {
        const choices = UTF8ToString(buttons).split('\n').map((line) => {
            const space = line.indexOf(' ');
            return [Number(line.slice(0, space)), line.slice(space + 1)];
        });
        for (const choice of choices) {
            const button = document.createElement('button');
            button.type = 'button';
            button.textContent = choice[1];
            button.addEventListener('click', () => resolve(choice[0]));
            row.append(button);
        }
        box.addEventListener('keydown', (event) => {
            if (event.key === 'Escape') {
                event.preventDefault();
                resolve(closed);
            }
        });
        document.body.append(box);
        row.firstChild.focus();
    });
    box.remove();
    return answer;
});
// clang-format on

const char* ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return "1 OK\n2 Cancel";
        case MB_YESNOCANCEL:
            return "6 Yes\n7 No\n2 Cancel";
        case MB_YESNO:
            return "6 Yes\n7 No";
        default:
            return "1 OK";
    }
}

}  // namespace

namespace win32::detail {

int ShowMessageBox(const std::string& text, const std::string& caption, UINT type) {
    static_assert(IDOK == 1 && IDCANCEL == 2 && IDYES == 6 && IDNO == 7);
    g_showing = true;
    const int answer =
        ShowOverlay(text.c_str(), caption.c_str(), ButtonsOf(type), ClosedAnswer(type));
    g_showing = false;
    return answer;
}

bool MessageBoxShowing() {
    return g_showing;
}

}  // namespace win32::detail
