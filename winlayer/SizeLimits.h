#pragma once

#include "winlayer/WinTypes.h"

#include <functional>

inline constexpr UINT WM_GETMINMAXINFO = 0x0024;

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

namespace winlayer {

struct SizeLimit {
    double width;
    double height;
};

// Sends WM_GETMINMAXINFO with the record's address.
using MinMaxAsk = std::function<void(MINMAXINFO&)>;

// A window's size limits as its procedure may change them. The procedure
// sees the toolkit's own limit, truncated (the maximum clamped to
// 1 ... 1,000,000 first). A maximum of 1,000,000 or more keeps the
// toolkit's value; answers out of range are clamped, never negative and a
// maximum never below one pixel.
SizeLimit AskMinimumSize(SizeLimit toolkitMinimum, const MinMaxAsk& ask);
SizeLimit AskMaximumSize(SizeLimit toolkitMaximum, const MinMaxAsk& ask);

} // namespace winlayer
