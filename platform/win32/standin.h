// What the files of the Win32 stand-in share among themselves: the video
// start, the window table and its surfaces, the message queue, the key state
// and text conversion. Not part of the stand-in's public surface.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace win32::detail {

// Starts SDL's video subsystem on first use (falling back on the offscreen
// driver where no display answers); false when no video driver works.
bool EnsureVideo();
bool VideoStarted();

// Window table (windows.cpp). A window's surface is what it shows on: an
// SDL_Window on the desktop, the page's canvas in a browser.
WNDPROC ProcedureOf(HWND window);
void* SurfaceOfWindow(HWND window);
// Null for a surface that is no live window's.
HWND WindowOfSurface(const void* surface);
// The oldest live window, or null: where signals and injected keys go.
HWND FirstLiveWindow();

// Surfaces (sdl_window.cpp, web_canvas.cpp). CreateSurface returns null
// when no surface can be made; ShowSurface returns whether it was visible.
void* CreateSurface(LPCWSTR title, DWORD style, int x, int y, int width, int height);
void DestroySurface(void* surface);
bool ShowSurface(void* surface, bool show);

// Message queue (message_queue.cpp). False when the queue is full.
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Events to messages and key state (events.cpp); also turns a pending
// signal into WM_CLOSE. PumpEvents runs once per pass of the message loop
// (PeekMessageW): in a browser it first hands control to the page until its
// next animation frame. PollEvents only takes what has arrived.
void PumpEvents();
void PollEvents();

// Message boxes (sdl_message_box.cpp, web_message_box.cpp): shows one and
// returns the button's id, or 0 when it cannot be shown.
int ShowMessageBox(const std::string& text, const std::string& caption, UINT type);

#ifdef __EMSCRIPTEN__
// The page's events for the window (web_events.cpp): keys, the mouse, the
// page leaving fullscreen. Listened to while the canvas is a window's.
void ListenToPage();
void StopListeningToPage();
// Whether a message box is on the page: keys then belong to it.
bool MessageBoxShowing();
// The virtual-key code of a DOM KeyboardEvent.code, 0 for keys the show
// cannot name (web_key_codes.cpp).
int VirtualKeyOfCode(const char* code);
#endif
// What closing a box of this type answers (message_box.cpp).
int ClosedAnswer(UINT type);

// Key state (keyboard.cpp).
void RecordKey(int virtualKey, bool down);
// 0 for keys the show cannot name (scancodes.cpp: SDL's scancodes).
int VirtualKeyOfScancode(int scancode);
// Key messages carry VK_SHIFT, VK_CONTROL and VK_MENU for either side.
int MessageKeyOf(int virtualKey);
// WM_KEYDOWN/WM_KEYUP's lParam: repeat count 1, previous state (bit 30) and
// transition (bit 31).
LPARAM KeyMessageLParam(bool down, bool repeat);

// Signals (signals.cpp): true once per delivered SIGINT/SIGTERM batch.
bool TakeCloseRequest();

// A regular file of at most kMaxReadableFileBytes opened for reading, or
// null with errno saying why not (regular_file.cpp).
std::FILE* OpenRegularFile(const std::string& nativePath);

// Library files (library_file.cpp): a regular file is there; the file is
// an ELF object whose header and every segment lie inside it.
bool IsFile(const std::string& path);
bool IsWholeSharedObject(const std::string& path);

// Text.
std::string Utf8(LPCWSTR text);
std::wstring Wide(LPCSTR text);

}  // namespace win32::detail
