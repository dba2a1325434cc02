// The start-up prompt on the page: an overlay (#hush-prompt) with the three
// answers. The click is also the user gesture a browser wants before it
// plays sound or goes fullscreen, so the fullscreen answer asks for
// fullscreen right inside it.
#include "app/web_mode_prompt.h"

#include <emscripten/emscripten.h>

namespace {

// 1 fullscreen, 0 windowed, -1 quit (or the prompt closed with Escape).
// clang-format off
EM_ASYNC_JS(int, AskOnPage, (), {
    const prompt = document.createElement('div');
    prompt.id = 'hush-prompt';
    prompt.className = 'hush-message';
    prompt.setAttribute('role', 'dialog');
    prompt.setAttribute('aria-modal', 'true');
    const caption = document.createElement('div');
    caption.className = 'hush-caption';
    caption.textContent = 'h u s h';
    const row = document.createElement('div');
    row.className = 'hush-buttons';
    prompt.append(caption, row);
    const answer = await new Promise((resolve) => {
        const answers = [['fullscreen', 'fullscreen', 1], ['windowed', 'window', 0],
                         ['quit', 'quit', -1]];
        for (const answer of answers) {
            const value = answer[2];
            const button = document.createElement('button');
            button.type = 'button';
            button.dataset.answer = answer[0];
            button.textContent = answer[1];
            button.addEventListener('click', () => {
                if (value === 1 && document.documentElement.requestFullscreen) {
                    document.documentElement.requestFullscreen().catch(() => {});
                }
                resolve(value);
            });
            row.append(button);
        }
        prompt.addEventListener('keydown', (event) => {
            if (event.key === 'Escape') {
                event.preventDefault();
                resolve(-1);
            }
        });
        document.body.append(prompt);
        row.firstChild.focus();
    });
    prompt.remove();
    return answer;
});

EM_JS(void, LeaveOnPage, (), {
    if (window.history.length > 1) {
        window.history.back();
    } else {
        window.location.href = 'about:blank';
    }
});
// clang-format on

}  // namespace

ModeAnswer AskModeOnPage() {
    const int answer = AskOnPage();
    return answer == 1   ? ModeAnswer::Fullscreen
           : answer == 0 ? ModeAnswer::Windowed
                         : ModeAnswer::Quit;
}

void LeavePage() {
    LeaveOnPage();
}
