#include "winlayer/SizeLimits.h"

#include <algorithm>

namespace winlayer {

namespace {
constexpr double kNoMaximum = 1000000.0;

int Truncated(double value, double low, double high) {
    return static_cast<int>(std::clamp(value, low, high));
}
} // namespace

SizeLimit AskMinimumSize(SizeLimit toolkitMinimum, const MinMaxAsk& ask) {
    MINMAXINFO info{};
    info.ptMinTrackSize = {Truncated(toolkitMinimum.width, 0, kNoMaximum),
                           Truncated(toolkitMinimum.height, 0, kNoMaximum)};
    ask(info);
    return {static_cast<double>(std::max(info.ptMinTrackSize.x, 0)),
            static_cast<double>(std::max(info.ptMinTrackSize.y, 0))};
}

SizeLimit AskMaximumSize(SizeLimit toolkitMaximum, const MinMaxAsk& ask) {
    MINMAXINFO info{};
    info.ptMaxTrackSize = {Truncated(toolkitMaximum.width, 1, kNoMaximum),
                           Truncated(toolkitMaximum.height, 1, kNoMaximum)};
    ask(info);
    auto pick = [](int answered, double toolkit) {
        return answered >= kNoMaximum ? toolkit : static_cast<double>(std::max(answered, 1));
    };
    return {pick(info.ptMaxTrackSize.x, toolkitMaximum.width),
            pick(info.ptMaxTrackSize.y, toolkitMaximum.height)};
}

} // namespace winlayer
