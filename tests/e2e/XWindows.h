#pragma once

// What the harness asks of the X server directly: finding the program's
// top-level window, its size, and the close request a window manager would
// send. Input goes through xdotool, as a user's would.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

struct WindowSize {
    int width = 0;
    int height = 0;
};

class XDisplay {
public:
    // The display named by DISPLAY; Open() false when there is none.
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;
    bool Open() const { return mDisplay != nullptr; }
    // Tries again until the timeout: a busy server may refuse a connection
    // for a moment.
    bool Open(std::chrono::milliseconds timeout);

    // A mapped top-level window of the process with the title, polled until
    // the timeout.
    std::optional<unsigned long> WaitForWindow(const std::string& title, int pid,
                                               std::chrono::milliseconds timeout);
    std::optional<WindowSize> Size(unsigned long window);
    // The top-left corner of the window's content in screen pixels.
    std::optional<std::pair<int, int>> Origin(unsigned long window);
    // True once the window holds a drawn picture rather than one flat colour.
    bool ShowsArt(unsigned long window);
    // Whether the window holds drawn content (a box's text and button), not
    // just the plain colour a mapped but unpainted window shows.
    bool ShowsContent(unsigned long window);
    // The pixels of a rectangle of the window, row by row; nothing when it
    // cannot be read (gone, or the rectangle lies outside it).
    std::optional<std::vector<unsigned long>> Pixels(unsigned long window, int x, int y, int width,
                                                     int height);
    // WM_DELETE_WINDOW, as the window manager sends it for the close button.
    bool RequestClose(unsigned long window);
    // The process's mapped top-level windows a user answers (the main window,
    // dialogs, boxes), without its menus and other pop-ups.
    std::vector<unsigned long> ShownWindows(int pid);

private:
    std::optional<unsigned long> FindWindow(const std::string& title, int pid);
    // The window's distinct colours and the share of its commonest one, at
    // every pixel (grid 0) or on a grid x grid lattice.
    struct Colours {
        std::size_t distinct = 0;
        double dominantShare = 0.0;
    };
    Colours Shades(unsigned long window, int grid);
    void* mDisplay = nullptr;
};

} // namespace e2e
