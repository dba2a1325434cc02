// CWindow: the program's one top-level window. Registers its class, creates
// the window fullscreen or windowed, runs the message loop and turns window
// messages into virtual calls. The show derives from it.
#pragma once

#include <windows.h>

class CWindow {
public:
    CWindow() = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    virtual ~CWindow() = default;
    // Once, inside Create, after the window is shown; the device is not open yet.
    virtual int OnInit();
    // Once per pass of the message loop.
    virtual int OnFrame();
    // Declared for the show; the start-up sequence does not call it.
    virtual int OnShutdown();
    virtual LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual int OnKeyDown(int key);
    virtual int OnKeyUp(int key);
    virtual int OnLButtonDown(int x, int y);
    virtual int OnLButtonUp(int x, int y);
    // Two more handlers of the button shape; no message reaches them.
    virtual int OnRButtonDown(int x, int y);
    virtual int OnRButtonUp(int x, int y);

    // 1 when the window exists; 0 after a failure (shown in a message box).
    int Create(HINSTANCE instance);
    // Runs until WM_QUIT, Escape or OnFrame clears the running flag.
    void Run();
    // Destroys the window (if it was created) and unregisters the class.
    int Destroy();
    void RegisterWindowClass(HINSTANCE instance);

    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The start-up sequence opens the device on the window and reads its size.
    HWND m_hWnd = nullptr;
    int m_width = 0;
    int m_height = 0;

protected:
    HINSTANCE m_hInstance = nullptr;
    int m_fullscreen = 0;
    int m_created = 0;
    int m_running = 0;
    WNDCLASSEXW m_windowClass = {};
    MSG m_msg = {};
};

// The program's one window object; StaticWndProc reaches it only through
// this pointer, which the show sets during static initialisation.
extern CWindow* g_window;

// The display-mode choice of the start-up prompt: 1 fullscreen, 0 windowed.
// Create copies it.
extern int g_displayMode;

// Hooks around the message loop for drivers outside the show (capture mode,
// the trace); both null in a plain run. The start hook runs once before the
// first pass; the frame-done hook after every pass's OnFrame, and false from
// it ends the loop after that pass, as the show's own end does.
using LoopStartHook = void (*)();
using FrameDoneHook = bool (*)();
extern LoopStartHook g_loopStartHook;
extern FrameDoneHook g_frameDoneHook;
