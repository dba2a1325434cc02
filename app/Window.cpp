// CWindow: class registration, creation, the message loop, the message
// table and destruction.
#include "app/Window.h"

namespace {

constexpr const wchar_t* kClassName = L"PresenterWIN32";
constexpr const wchar_t* kTitle = L"h u s h";
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kIconResource = 101;

constexpr DWORD kFullscreenStyle =
    WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_SYSMENU;
constexpr DWORD kWindowedStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
static_assert(kFullscreenStyle == 0x96880000);
static_assert(kWindowedStyle == 0x10CF0000);

// lParam bit 30: the key was already down (an auto-repeat).
constexpr LPARAM kPreviousKeyState = LPARAM{1} << 30;

int KeyCode(WPARAM wParam) {
    return static_cast<SHORT>(LOWORD(wParam));
}

}  // namespace

int g_displayMode = 0;
LoopStartHook g_loopStartHook = nullptr;
FrameDoneHook g_frameDoneHook = nullptr;

int CWindow::OnInit() {
    return 0;
}

int CWindow::OnFrame() {
    return 0;
}

int CWindow::OnShutdown() {
    return 0;
}

int CWindow::OnKeyDown(int) {
    return 0;
}

int CWindow::OnKeyUp(int) {
    return 0;
}

int CWindow::OnLButtonDown(int, int) {
    return 0;
}

int CWindow::OnLButtonUp(int, int) {
    return 0;
}

int CWindow::OnRButtonDown(int, int) {
    return 0;
}

int CWindow::OnRButtonUp(int, int) {
    return 0;
}

void CWindow::RegisterWindowClass(HINSTANCE instance) {
    m_windowClass.cbSize = sizeof(WNDCLASSEXW);
    m_windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    m_windowClass.lpfnWndProc = StaticWndProc;
    m_windowClass.cbClsExtra = 0;
    m_windowClass.cbWndExtra = 0;
    m_windowClass.hInstance = m_hInstance;
    m_windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    m_windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    m_windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    m_windowClass.lpszMenuName = nullptr;
    m_windowClass.lpszClassName = kClassName;
    m_windowClass.hIconSm = LoadIconW(nullptr, IDI_APPLICATION);
    RegisterClassExW(&m_windowClass);
}

int CWindow::Create(HINSTANCE instance) {
    m_hInstance = instance;
    m_fullscreen = g_displayMode;
    m_width = kWidth;
    m_height = kHeight;
    RegisterWindowClass(instance);

    DWORD style = kFullscreenStyle;
    int x = 0;
    int y = 0;
    if (m_fullscreen == 0) {
        // Centred on the primary screen; each halving truncates toward zero.
        style = kWindowedStyle;
        x = GetSystemMetrics(SM_CXSCREEN) / 2 - m_width / 2;
        y = GetSystemMetrics(SM_CYSCREEN) / 2 - m_height / 2;
    }
    m_hWnd = CreateWindowExW(0, kClassName, kTitle, style, x, y, m_width, m_height, nullptr,
                             nullptr, instance, nullptr);
    if (m_hWnd == nullptr) {
        MessageBoxW(nullptr, L"Failed to create window!", L"ERROR", MB_OK | MB_ICONWARNING);
        m_created = 0;
        UnregisterClassW(kClassName, instance);
        return 0;
    }
    m_created = 1;
    ShowWindow(m_hWnd, SW_SHOW);
    UpdateWindow(m_hWnd);
    ShowCursor(FALSE);
    OnInit();
    return 1;
}

void CWindow::Run() {
    m_running = 1;
    m_msg = {};
    if (g_loopStartHook != nullptr) {
        g_loopStartHook();
    }
    do {
        if (PeekMessageW(&m_msg, nullptr, 0, 0, PM_REMOVE)) {
            if (m_msg.message == WM_QUIT) {
                m_running = 0;
                return;
            }
            TranslateMessage(&m_msg);
            DispatchMessageW(&m_msg);
        }
        // The key state is read directly, so Escape works without focus.
        // WM_QUIT is sent, not posted: the default handling ignores it and
        // the loop ends through the running flag after this pass's frame.
        if (GetAsyncKeyState(VK_ESCAPE) != 0) {
            m_running = 0;
            SendMessageW(m_hWnd, WM_QUIT, 0, 0);
        }
        OnFrame();
        if (g_frameDoneHook != nullptr && !g_frameDoneHook()) {
            m_running = 0;
        }
    } while (m_running != 0);
}

LRESULT CWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
            if ((lParam & kPreviousKeyState) == 0) {
                OnKeyDown(KeyCode(wParam));
            }
            return 0;
        case WM_KEYUP:
            OnKeyUp(KeyCode(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A window closed earlier (close box, Ctrl+C) is gone already; DestroyWindow
// then fails harmlessly and the class is still unregistered.
int CWindow::Destroy() {
    if (m_created == 1) {
        DestroyWindow(m_hWnd);
    }
    UnregisterClassW(kClassName, m_hInstance);
    return 1;
}

LRESULT CALLBACK CWindow::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_window == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return g_window->WndProc(window, message, wParam, lParam);
}
