#include "tests/e2e/XWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <map>
#include <set>
#include <thread>

namespace e2e {

namespace {

Display* Dpy(void* display) {
    return static_cast<Display*>(display);
}

std::string Title(Display* dpy, Window window) {
    XTextProperty property{};
    if (!XGetWMName(dpy, window, &property) || !property.value)
        return {};
    std::string title(reinterpret_cast<const char*>(property.value), property.nitems);
    XFree(property.value);
    return title;
}

// _NET_WM_PID, which GTK sets on its top-level windows; -1 when absent.
long WindowPid(Display* dpy, Window window) {
    const Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", True);
    if (pidAtom == None)
        return -1;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(dpy, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                           &after, &data) == Success &&
        data && items == 1 && format == 32)
        pid = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return pid;
}

XErrorHandler g_defaultHandler = nullptr;

// The program's windows come and go while a test walks them: a request about a
// window already gone fails and answers nothing, instead of ending the test.
int IgnoreGoneWindows(Display* dpy, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable)
        return 0;
    return g_defaultHandler ? g_defaultHandler(dpy, error) : 0;
}

Display* OpenDisplay() {
    static const bool installed = [] {
        g_defaultHandler = XSetErrorHandler(&IgnoreGoneWindows);
        return true;
    }();
    (void)installed;
    return XOpenDisplay(nullptr);
}

} // namespace

XDisplay::XDisplay() : mDisplay(OpenDisplay()) {}

bool XDisplay::Open(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!mDisplay && std::chrono::steady_clock::now() < deadline) {
        // No connection, so no event can say the server has come up: polled.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        mDisplay = OpenDisplay();
    }
    return mDisplay != nullptr;
}

XDisplay::~XDisplay() {
    if (mDisplay)
        XCloseDisplay(Dpy(mDisplay));
}

std::optional<unsigned long> XDisplay::FindWindow(const std::string& title, int pid) {
    Display* dpy = Dpy(mDisplay);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<unsigned long> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(dpy, children[i], &attributes) &&
            attributes.map_state == IsViewable && Title(dpy, children[i]) == title &&
            WindowPid(dpy, children[i]) == pid)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

std::optional<unsigned long> XDisplay::WaitForWindow(const std::string& title, int pid,
                                                     std::chrono::milliseconds timeout) {
    if (!mDisplay)
        return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (auto window = FindWindow(title, pid))
            return window;
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        // The poll's period, not a pause: the title and the pid are set by
        // the program in several requests, so the tree is looked at again.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::optional<WindowSize> XDisplay::Size(unsigned long window) {
    XWindowAttributes attributes{};
    if (!mDisplay || !XGetWindowAttributes(Dpy(mDisplay), window, &attributes))
        return std::nullopt;
    return WindowSize{attributes.width, attributes.height};
}

std::optional<std::pair<int, int>> XDisplay::Origin(unsigned long window) {
    if (!mDisplay)
        return std::nullopt;
    Display* dpy = Dpy(mDisplay);
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(dpy, window, DefaultRootWindow(dpy), 0, 0, &x, &y, &child))
        return std::nullopt;
    return std::pair{x, y};
}

XDisplay::Colours XDisplay::Shades(unsigned long window, int grid) {
    const auto size = Size(window);
    if (!size || size->width < 8 || size->height < 8)
        return {};
    Display* dpy = Dpy(mDisplay);
    XImage* image = XGetImage(dpy, window, 0, 0, unsigned(size->width), unsigned(size->height),
                              AllPlanes, ZPixmap);
    if (!image)
        return {};
    // Every pixel, or the inner points of a grid x grid lattice.
    const int columns = grid ? grid : size->width, rows = grid ? grid : size->height;
    std::map<unsigned long, int> counts;
    int samples = 0;
    for (int y = grid ? 1 : 0; y < rows; ++y)
        for (int x = grid ? 1 : 0; x < columns; ++x, ++samples)
            ++counts[XGetPixel(image, grid ? x * size->width / grid : x,
                               grid ? y * size->height / grid : y)];
    XDestroyImage(image);
    int most = 0;
    for (const auto& [colour, n] : counts)
        most = std::max(most, n);
    return {counts.size(), samples ? double(most) / samples : 0.0};
}

bool XDisplay::ShowsArt(unsigned long window) {
    // A blank or cleared window gives one or two colours on a coarse grid.
    return Shades(window, 16).distinct > 8;
}

bool XDisplay::ShowsContent(unsigned long window) {
    // A painted box is mostly its plain background with antialiased letters
    // on it; unpainted, it shows whatever lay under it (the panel's grain).
    const Colours c = Shades(window, 0);
    return c.distinct > 8 && c.dominantShare > 0.4;
}

std::optional<std::vector<unsigned long>> XDisplay::Pixels(unsigned long window, int x, int y,
                                                           int width, int height) {
    const auto size = Size(window);
    if (!size || width <= 0 || height <= 0 || x < 0 || y < 0 || x + width > size->width ||
        y + height > size->height)
        return std::nullopt;
    XImage* image = XGetImage(Dpy(mDisplay), window, x, y, unsigned(width), unsigned(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    std::vector<unsigned long> pixels;
    pixels.reserve(std::size_t(width) * std::size_t(height));
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            pixels.push_back(XGetPixel(image, column, row));
    XDestroyImage(image);
    return pixels;
}

std::vector<unsigned long> XDisplay::ShownWindows(int pid) {
    std::vector<unsigned long> shown;
    if (!mDisplay)
        return shown;
    Display* dpy = Dpy(mDisplay);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count))
        return shown;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        // Menus and tooltips place themselves, past any window manager.
        if (XGetWindowAttributes(dpy, children[i], &attributes) &&
            attributes.map_state == IsViewable && !attributes.override_redirect &&
            WindowPid(dpy, children[i]) == pid)
            shown.push_back(children[i]);
    }
    if (children)
        XFree(children);
    return shown;
}

bool XDisplay::RequestClose(unsigned long window) {
    if (!mDisplay)
        return false;
    Display* dpy = Dpy(mDisplay);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(dpy, window, False, NoEventMask, &event) != 0;
    XFlush(dpy);
    return sent;
}

} // namespace e2e
