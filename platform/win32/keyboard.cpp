// The asynchronous key state behind GetAsyncKeyState, fed by key events (and
// by InjectKey in tests).
#include <win32_standin.h>

#include "standin.h"

#include <array>

namespace {

constexpr int kKeyCount = 256;

struct KeyState {
    bool down;
    bool pressedSinceQuery;
};

std::array<KeyState, kKeyCount> g_keys{};

bool IsKey(int virtualKey) {
    return virtualKey > 0 && virtualKey < kKeyCount;
}

// The left and right variants of a modifier and its side-less code.
struct ModifierPair {
    int left;
    int right;
    int either;
};

constexpr std::array<ModifierPair, 3> kModifiers = {{
    {VK_LSHIFT, VK_RSHIFT, VK_SHIFT},
    {VK_LCONTROL, VK_RCONTROL, VK_CONTROL},
    {VK_LMENU, VK_RMENU, VK_MENU},
}};

void Record(int virtualKey, bool down) {
    KeyState& key = g_keys[virtualKey];
    key.down = down;
    if (down) {
        key.pressedSinceQuery = true;
    }
}

}  // namespace

namespace win32::detail {

void RecordKey(int virtualKey, bool down) {
    if (!IsKey(virtualKey)) {
        return;
    }
    Record(virtualKey, down);
    for (const ModifierPair& pair : kModifiers) {
        if (virtualKey == pair.left || virtualKey == pair.right) {
            Record(pair.either, g_keys[pair.left].down || g_keys[pair.right].down);
        }
    }
}

int MessageKeyOf(int virtualKey) {
    for (const ModifierPair& pair : kModifiers) {
        if (virtualKey == pair.left || virtualKey == pair.right) {
            return pair.either;
        }
    }
    return virtualKey;
}

LPARAM KeyMessageLParam(bool down, bool repeat) {
    LPARAM lParam = 1;  // repeat count
    if (repeat || !down) {
        lParam |= LPARAM{1} << 30;  // the key was down before this message
    }
    if (!down) {
        lParam |= LPARAM{1} << 31;  // released
    }
    return lParam;
}

}  // namespace win32::detail

namespace win32 {

void InjectKey(int virtualKey, bool down, bool repeat) {
    if (!IsKey(virtualKey)) {
        return;
    }
    detail::RecordKey(virtualKey, down);
    detail::Post(detail::FirstLiveWindow(), down ? WM_KEYDOWN : WM_KEYUP,
                 static_cast<WPARAM>(detail::MessageKeyOf(virtualKey)),
                 detail::KeyMessageLParam(down, repeat));
}

}  // namespace win32

extern "C" {

// Bit 15: the key is down now; bit 0: it was pressed since the previous query.
SHORT WINAPI GetAsyncKeyState(int virtualKey) {
    if (!IsKey(virtualKey)) {
        return 0;
    }
    win32::detail::PollEvents();
    KeyState& key = g_keys[virtualKey];
    const int state = (key.down ? 0x8000 : 0) | (key.pressedSinceQuery ? 1 : 0);
    key.pressedSinceQuery = false;
    return static_cast<SHORT>(state);
}

}  // extern "C"
