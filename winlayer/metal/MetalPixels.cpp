#include "winlayer/metal/MetalFrame.h"

#include <algorithm>
#include <array>

namespace winlayer {

std::optional<PixelSize> DrawableSize(double width, double height, bool retina) {
    const double scale = retina ? 2.0 : 1.0;
    const double w = width * scale;
    const double h = height * scale;
    if (!(w >= 1) || !(h >= 1))
        return std::nullopt;
    return PixelSize{static_cast<int>(std::min<double>(w, kMaxDrawableSide)),
                     static_cast<int>(std::min<double>(h, kMaxDrawableSide))};
}

std::string ContentsGravity(int gravityBits, bool flipped) {
    const bool bottom = flipped != ((gravityBits & 2) != 0);
    return std::string(bottom ? "bottom" : "top") + ((gravityBits & 1) ? "Right" : "Left");
}

int UpdatedGravity(int gravityBits, const FrameRect& last, const FrameRect& now) {
    if (now.width != last.width)
        gravityBits = (gravityBits & ~1) | (now.x != last.x ? 1 : 0);
    if (now.height != last.height)
        gravityBits = (gravityBits & ~2) | (now.y != last.y ? 2 : 0);
    return gravityBits;
}

int RoundUpTo4(int value) {
    return (value + 3) / 4 * 4;
}

bool KeepsTexture(PixelSize texture, PixelSize wanted) {
    const auto fits = [](int have, int want) {
        const int rounded = RoundUpTo4(want);
        return have >= rounded && have <= 2 * rounded;
    };
    return fits(texture.width, wanted.width) && fits(texture.height, wanted.height);
}

std::uint32_t BlendOver(std::uint32_t destination, std::uint32_t source) {
    const std::uint32_t alpha = source >> 24;
    if (alpha == 0)
        return destination;
    if (alpha == 255)
        return source;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t s = (source >> shift) & 0xFF;
        const std::uint32_t d = (destination >> shift) & 0xFF;
        out |= ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
    }
    const std::uint32_t da = destination >> 24;
    out |= ((alpha * 255 + da * (255 - alpha) + 127) / 255) << 24;
    return out;
}

std::vector<std::uint32_t> DoublePixels(const std::uint32_t* pixels, int width, int height,
                                        int stride) {
    std::vector<std::uint32_t> doubled(static_cast<std::size_t>(width) * 2 * height * 2);
    const std::size_t row = static_cast<std::size_t>(width) * 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * stride + x];
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    doubled[(static_cast<std::size_t>(y) * 2 + dy) * row + x * 2 + dx] = p;
        }
    return doubled;
}

FillBuffer MetalFill(PixelUploadTarget* target, int x, int y, int width, int height,
                     std::uint32_t pixel) {
    if (!target || width < 1 || height < 1)
        return FillBuffer::none;
    const bool retina = target->FrameOpen() && target->FrameRetina();
    if (retina) {
        x *= 2;
        y *= 2;
        width = std::min(width, kMaxDrawableSide) * 2;
        height = std::min(height, kMaxDrawableSide) * 2;
    }
    // Nothing past the largest drawable can show, and the count must not wrap.
    width = std::min(width, kMaxDrawableSide);
    height = std::min(height, kMaxDrawableSide);
    const std::int64_t count = static_cast<std::int64_t>(width) * height;
    if (count <= kStackFillPixels) {
        std::array<std::uint32_t, kStackFillPixels> stack;
        std::fill_n(stack.begin(), count, pixel);
        target->Upload(stack.data(), x, y, width, height, width, retina);
        return FillBuffer::stack;
    }
    static std::vector<std::uint32_t> scratch;
    try {
        if (scratch.size() < static_cast<std::size_t>(count))
            scratch.resize(static_cast<std::size_t>((count + 1023) / 1024 * 1024));
    } catch (const std::bad_alloc&) {
        return FillBuffer::none; // no room: the fill is skipped
    }
    std::fill_n(scratch.begin(), count, pixel);
    target->Upload(scratch.data(), x, y, width, height, width, retina);
    return FillBuffer::scratch;
}

} // namespace winlayer
