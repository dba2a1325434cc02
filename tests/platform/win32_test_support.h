// Helpers shared by the tests that drive the Win32 stand-in.
#pragma once

#include <win32_standin.h>

#include <string>
#include <vector>

// A message box the stand-in was asked to show.
struct RecordedBox {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};

// A message-box hook: keeps each box in the std::vector<RecordedBox> given
// as its user pointer and answers it as its OK button would.
inline int RecordBoxes(void* boxes, LPCWSTR text, LPCWSTR caption, UINT type) {
    static_cast<std::vector<RecordedBox>*>(boxes)->push_back({text, caption, type});
    return IDOK;
}

// Empties the thread's message queue, WM_QUIT included.
inline void DrainMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// Releases a key, forgets that it was pressed and drops the messages.
inline void ForgetKey(int virtualKey) {
    win32::InjectKey(virtualKey, false, false);
    GetAsyncKeyState(virtualKey);
    DrainMessages();
}
