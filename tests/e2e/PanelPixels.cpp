#include "tests/e2e/PanelPixels.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <memory>

namespace e2e {

namespace {

constexpr double kPanelWidth = 1920.0;
constexpr double kPanelHeight = 1200.0;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

} // namespace

std::optional<PanelPixels> PanelPixels::Grab(unsigned long window, PanelArea rect) {
    // A connection of its own: a grab must not disturb the harness's.
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        return std::nullopt;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display.get(), window, &attributes) || attributes.width < 16)
        return std::nullopt;
    const double scale = attributes.width / kPanelWidth;
    const int panelTop = attributes.height - int(kPanelHeight * scale + 0.5);
    const int x = int(rect.left * scale);
    const int y = panelTop + int(rect.top * scale);
    const int width = std::min(int((rect.right - rect.left) * scale), attributes.width - x);
    const int height = std::min(int((rect.bottom - rect.top) * scale), attributes.height - y);
    if (x < 0 || y < 0 || width <= 0 || height <= 0)
        return std::nullopt;
    XImage* image = XGetImage(display.get(), window, x, y, unsigned(width), unsigned(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    PanelPixels grab;
    grab.mWidth = width;
    grab.mHeight = height;
    grab.mPixels.reserve(std::size_t(width) * std::size_t(height));
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            grab.mPixels.push_back(XGetPixel(image, column, row));
    XDestroyImage(image);
    return grab;
}

double PanelPixels::DifferenceFrom(const PanelPixels& other) const {
    if (mWidth != other.mWidth || mHeight != other.mHeight || mPixels.empty())
        return 1.0;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < mPixels.size(); ++i)
        differing += mPixels[i] != other.mPixels[i];
    return double(differing) / double(mPixels.size());
}

} // namespace e2e
