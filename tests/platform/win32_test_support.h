// Helpers shared by the Win32 stand-in's tests.
#pragma once

#include <win32_standin.h>

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
