// Icons, cursors and stock objects. Nothing here draws them (SDL owns the
// window's look), so each call hands back a valid handle that stands for it.
#include <windows.h>

namespace {

struct StandInResource {
    int kind;
};

StandInResource g_icon{0};
StandInResource g_cursor{1};
StandInResource g_stockObject{2};

}  // namespace

extern "C" {

HICON WINAPI LoadIconW(HINSTANCE, LPCWSTR) {
    return reinterpret_cast<HICON>(&g_icon);
}

HCURSOR WINAPI LoadCursorW(HINSTANCE, LPCWSTR) {
    return reinterpret_cast<HCURSOR>(&g_cursor);
}

HGDIOBJ WINAPI GetStockObject(int) {
    return reinterpret_cast<HGDIOBJ>(&g_stockObject);
}

}  // extern "C"
