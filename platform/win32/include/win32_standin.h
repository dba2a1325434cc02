// Controls of the Win32 stand-in that have no Win32 counterpart: what the
// command line, capture mode, the other stand-ins and the tests set or read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace win32 {

// Message boxes. A hook, when set, receives every MessageBoxW/MessageBoxA
// call (texts converted to wide) instead of a shown box and returns the
// answer; tests record boxes this way. Without a hook and without a display
// the box is written to standard error as "caption: text" and the call
// returns what closing the box returns (IDCANCEL where there is a Cancel
// button, IDNO for Yes/No, IDOK otherwise).
using MessageBoxHook = int (*)(void* user, LPCWSTR text, LPCWSTR caption, UINT type);
WIN32_API void SetMessageBoxHook(MessageBoxHook hook, void* user);

// The clock behind QueryPerformanceCounter and GetTickCount. Off (the
// default), they read the monotonic clock from process start. On, they read a
// virtual clock that only SetVirtualClock moves: capture mode and tests use it.
WIN32_API void UseVirtualClock(bool on);
WIN32_API void SetVirtualClock(std::int64_t nanoseconds);
WIN32_API std::int64_t VirtualClock();
// Moves the monotonic clock on: a run that starts at a later show time.
WIN32_API void AdvanceClock(std::int64_t nanoseconds);

// Whether the stand-in reports QueryPerformanceFrequency as failing, so the
// timer falls back on GetTickCount (tests only).
WIN32_API void SetPerformanceCounterAvailable(bool available);

// Keyboard injection for tests: the same path an SDL key event takes.
WIN32_API void InjectKey(int virtualKey, bool down, bool repeat);

// SIGINT and SIGTERM post WM_CLOSE to the window, so Ctrl+C ends the show
// through the normal teardown; a second one ends the process at once with
// status 128 + the signal. Installed once by the entry point.
WIN32_API void CloseWindowOnSignals();

#ifdef __EMSCRIPTEN__
// Libraries in a browser are linked into the program: each registers its
// exports under its file name ("EmberD3D.dll") before main runs, and
// LoadLibraryA and GetProcAddress find them there. False when the table is
// full.
struct LinkedExport {
    const char* name;
    FARPROC address;
};
WIN32_API bool RegisterLinkedLibrary(const char* name, const LinkedExport* exports,
                                     std::size_t count);

// The CSS selector of the page's canvas behind a window handle, for the
// Direct3D stand-in; null for a handle that is not a live window.
WIN32_API const char* CanvasOf(HWND window);

// What the page shows of the run (window.hushFrames, document.title,
// window.hushExitStatus), for the page's tests and links: a frame was
// presented; the first frame the run was asked for (at its held or
// starting time) has been presented ("hush ready"); the program ended with
// this status ("hush ended").
WIN32_API void PageFramePresented();
WIN32_API void PageReady();
WIN32_API void PageEnded(int status);
#else
// The SDL window behind a window handle (an SDL_Window*), for the Direct3D
// stand-in; null for a handle that is not a live window.
WIN32_API void* SdlWindowOf(HWND window);
#endif

// Whether a display is available (not SDL's offscreen or dummy driver).
WIN32_API bool HasDisplay();

// Paths. The system keeps Windows paths with backslashes; this is the one
// place where they become native paths.
WIN32_API std::string NativePath(const char* path);
// fopen on a system path, as the Windows C runtime accepts it. For reading
// ("r" or "rb") only a regular file of at most kMaxReadableFileBytes opens;
// anything else fails as a missing file does (null, with errno EISDIR for a
// folder, EINVAL for another kind of file, EFBIG for one too large).
WIN32_API std::FILE* OpenFile(const char* path, const char* mode);
// The largest file the show reads: far more than any of its files needs,
// and small enough that reading one whole cannot exhaust memory.
inline constexpr long long kMaxReadableFileBytes = 256LL * 1024 * 1024;
// The folder that holds the running executable, with a trailing '/'.
WIN32_API std::string ExecutableDir();

}  // namespace win32
