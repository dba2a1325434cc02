// A private X server (Xvfb), with a window manager (openbox) or without, for
// the tests of the real window: started on a free display, read back through Xlib, and
// stopped with everything started on it.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _XDisplay;

namespace hushtest {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Pixels, top row first, three bytes (R, G, B) each.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    const std::uint8_t* At(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
};

class XSession {
public:
    // Null, with the reason in failure, when the server or the window
    // manager does not come up. Without a manager, nothing honours a
    // window's wishes (fullscreen among them) but the server itself.
    static std::unique_ptr<XSession> Start(int width, int height, bool withManager,
                                           std::string* failure);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // ":N", for DISPLAY.
    const std::string& Name() const { return name_; }
    // The root window's id.
    unsigned long Root() const;
    // The window's inside (without the manager's frame) on the screen.
    Rect Geometry(unsigned long window) const;
    // The window with the manager's frame around it (_NET_FRAME_EXTENTS).
    Rect Framed(unsigned long window) const;
    // Mapped and shown (not minimised).
    bool Viewable(unsigned long window) const;
    // The window's pixels as the screen shows them.
    Image Grab(unsigned long window) const;

private:
    XSession() = default;

    std::string name_;
    int server_ = -1;
    int manager_ = -1;
    _XDisplay* display_ = nullptr;
};

}  // namespace hushtest
