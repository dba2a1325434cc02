// What the files of the Win32 stand-in share among themselves: the SDL video
// start, the window table, the message queue, the key state and text
// conversion. Not part of the stand-in's public surface.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

struct SDL_Window;

namespace win32::detail {

// Starts SDL's video subsystem on first use (falling back on the offscreen
// driver where no display answers); false when no video driver works.
bool EnsureVideo();
bool VideoStarted();

// Window table (windows.cpp).
WNDPROC ProcedureOf(HWND window);
SDL_Window* SdlWindowOfHandle(HWND window);
HWND WindowOfSdlId(std::uint32_t sdlWindowId);
// The oldest live window, or null: where signals and injected keys go.
HWND FirstLiveWindow();

// Message queue (message_queue.cpp). False when the queue is full.
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// SDL events to messages and key state (events.cpp); also turns a pending
// signal into WM_CLOSE.
void PumpEvents();

// Key state (keyboard.cpp).
void RecordKey(int virtualKey, bool down);
// 0 for keys the show cannot name.
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
