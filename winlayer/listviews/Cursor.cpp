#include "winlayer/listviews/Cursor.h"

#include "winlayer/InputRecords.h"
#include "winlayer/draw/Cursors.h"
#include "winlayer/window/WindowCalls.h"

#include <cstdint>

namespace winlayer {

LPARAM CursorOnScreenParam() {
    POINT cursor{};
    GetCursorPos(&cursor);
    return static_cast<LPARAM>((static_cast<std::uint32_t>(cursor.y) << 16) |
                               (static_cast<std::uint32_t>(cursor.x) & 0xFFFF));
}

LPARAM CursorInClientParam(HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    return PackClientPoint(cursor.x, cursor.y);
}

} // namespace winlayer
