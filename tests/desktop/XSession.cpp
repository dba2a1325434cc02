// Xvfb picks its own free display (-displayfd) and says which; openbox is
// ready once it has set the root window's _NET_SUPPORTING_WM_CHECK.
#include "tests/desktop/XSession.h"

#include "tests/desktop/Daemon.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <thread>

namespace hushtest {

namespace {

using namespace std::chrono_literals;

// The display number Xvfb writes to the pipe once it accepts connections.
std::string ReadDisplayNumber(int fd, std::chrono::milliseconds timeout) {
    std::string number;
    const auto giveUp = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < giveUp) {
        pollfd ready = {fd, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0) {
            continue;
        }
        char c = 0;
        if (read(fd, &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            return number;
        }
        number += c;
    }
    return "";
}

bool ManagerReady(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found =
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) == Success &&
        count == 1;
    if (data != nullptr) {
        XFree(data);
    }
    return found;
}

int Shift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

}  // namespace

std::unique_ptr<XSession> XSession::Start(int width, int height, bool withManager,
                                          std::string* failure) {
    std::unique_ptr<XSession> session(new XSession());
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        *failure = "no pipe";
        return nullptr;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    session->server_ = SpawnDaemon({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen",
                                    "0", screen, "-nolisten", "tcp", "-noreset"},
                                   {}, pipeFds[1]);
    close(pipeFds[1]);
    const std::string number = ReadDisplayNumber(pipeFds[0], 20s);
    close(pipeFds[0]);
    if (number.empty()) {
        *failure = "Xvfb did not start";
        return nullptr;
    }
    session->name_ = ":" + number;
    session->display_ = XOpenDisplay(session->name_.c_str());
    if (session->display_ == nullptr) {
        *failure = "cannot connect to Xvfb on " + session->name_;
        return nullptr;
    }
    if (!withManager) {
        return session;
    }
    session->manager_ = SpawnDaemon({"openbox", "--sm-disable"}, {{"DISPLAY", session->name_}}, -1);
    for (int i = 0; i < 200 && !ManagerReady(session->display_); ++i) {
        std::this_thread::sleep_for(50ms);
    }
    if (!ManagerReady(session->display_)) {
        *failure = "openbox did not start on " + session->name_;
        return nullptr;
    }
    return session;
}

XSession::~XSession() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
    StopDaemon(manager_);
    StopDaemon(server_);
}

unsigned long XSession::Root() const {
    return DefaultRootWindow(display_);
}

Rect XSession::Geometry(unsigned long window) const {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display_, window, &attributes) == 0) {
        return {};
    }
    int x = 0, y = 0;
    Window child = None;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

Rect XSession::Framed(unsigned long window) const {
    Rect framed = Geometry(window);
    const Atom extents = XInternAtom(display_, "_NET_FRAME_EXTENTS", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, extents, 0, 4, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        count == 4) {
        // left, right, top, bottom
        const long* sides = reinterpret_cast<const long*>(data);
        framed = {framed.x - int(sides[0]), framed.y - int(sides[2]),
                  framed.width + int(sides[0] + sides[1]),
                  framed.height + int(sides[2] + sides[3])};
    }
    if (data != nullptr) {
        XFree(data);
    }
    return framed;
}

bool XSession::Viewable(unsigned long window) const {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

Image XSession::Grab(unsigned long window) const {
    Image image;
    XSync(display_, False);
    const Rect geometry = Geometry(window);
    if (geometry.width <= 0 || geometry.height <= 0 || !Viewable(window)) {
        return image;
    }
    XImage* pixels = XGetImage(display_, window, 0, 0, unsigned(geometry.width),
                               unsigned(geometry.height), AllPlanes, ZPixmap);
    if (pixels == nullptr) {
        return image;
    }
    image.width = geometry.width;
    image.height = geometry.height;
    image.rgb.resize(std::size_t(image.width) * image.height * 3);
    const int red = Shift(pixels->red_mask), green = Shift(pixels->green_mask),
              blue = Shift(pixels->blue_mask);
    std::uint8_t* out = image.rgb.data();
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned long pixel = XGetPixel(pixels, x, y);
            *out++ = std::uint8_t((pixel & pixels->red_mask) >> red);
            *out++ = std::uint8_t((pixel & pixels->green_mask) >> green);
            *out++ = std::uint8_t((pixel & pixels->blue_mask) >> blue);
        }
    }
    XDestroyImage(pixels);
    return image;
}

}  // namespace hushtest
