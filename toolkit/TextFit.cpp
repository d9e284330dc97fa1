#include "toolkit/TextFit.h"

#include "toolkit/ICanvas.h"

#include <algorithm>
#include <vector>

namespace vx::ui {

namespace {

constexpr float kSmallestShrink = 0.6f; // of the style's size
constexpr float kSmallestSize = 12.f;   // panel units, unless the style is smaller
constexpr float kShrinkStep = 0.5f;
constexpr const char* kEllipsis = "\xE2\x80\xA6";

float Width(const ICanvas& g, const IText& text, const std::string& str) {
    IRECT bounds;
    return g.MeasureText(text, str.c_str(), bounds);
}

// Byte offsets where a UTF-8 character starts, after the first one.
std::vector<std::size_t> CharacterStarts(const std::string& s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 1; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    return starts;
}

} // namespace

float MinimumLegibleSize(float styleSize) {
    return std::max(styleSize * kSmallestShrink, std::min(styleSize, kSmallestSize));
}

FittedText FitText(const ICanvas& g, const IText& text, const char* str, float width) {
    FittedText fitted{text, str ? str : ""};
    if (fitted.str.empty() || width <= 0.f || text.angle != 0.f)
        return fitted;
    float measured = Width(g, text, fitted.str);
    if (measured <= width)
        return fitted;
    // Width grows about in proportion to size: one guess, then small steps.
    const float smallest = MinimumLegibleSize(text.size);
    fitted.style.size = std::max(smallest, text.size * width / measured);
    while ((measured = Width(g, fitted.style, fitted.str)) > width && fitted.style.size > smallest)
        fitted.style.size = std::max(smallest, fitted.style.size - kShrinkStep);
    if (measured <= width)
        return fitted;
    // The longest head that fits with the ellipsis; the ellipsis alone at worst.
    const std::vector<std::size_t> starts = CharacterStarts(fitted.str);
    std::size_t lo = 0, hi = starts.size(); // heads of starts[0..k) characters
    while (lo < hi) {
        const std::size_t mid = (lo + hi + 1) / 2;
        if (Width(g, fitted.style, fitted.str.substr(0, starts[mid - 1]) + kEllipsis) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    fitted.str = (lo == 0 ? std::string() : fitted.str.substr(0, starts[lo - 1])) + kEllipsis;
    return fitted;
}

} // namespace vx::ui
