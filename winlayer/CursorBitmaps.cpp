#include "winlayer/Cursors.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace winlayer {

namespace {

constexpr int kSide = 16;
constexpr unsigned char kInk = 0x0F;     // black, opaque
constexpr unsigned char kOutline = 0xFF; // white, opaque

using Bitmap = std::array<unsigned char, kSide * kSide>;

bool DiagonalArrow(int x, int y) {
    const bool shaft = x >= 2 && x <= 13 && x == y;
    const bool headNW = x >= 1 && y >= 1 && x + y <= 7;
    const bool headSE = x <= 14 && y <= 14 && x + y >= 23;
    return shaft || headNW || headSE;
}

bool FourWayArrow(int x, int y) {
    const double dx = std::abs(x - 7.5);
    const double dy = std::abs(y - 7.5);
    const bool shafts = (dy <= 0.5 && dx <= 6) || (dx <= 0.5 && dy <= 6);
    const bool heads = (dx >= 3.5 && dx <= 6.5 && dy <= 6.5 - dx + 0.01) ||
                       (dy >= 3.5 && dy <= 6.5 && dx <= 6.5 - dy + 0.01);
    return shafts || heads;
}

bool NoSign(int x, int y) {
    const double dx = x - 7.5;
    const double dy = y - 7.5;
    const double r = std::sqrt(dx * dx + dy * dy);
    const bool ring = r >= 5 && r <= 7;
    const bool bar = r < 5 && std::abs(dx - dy) <= 1;
    return ring || bar;
}

template <class Ink>
Bitmap Draw(Ink ink) {
    Bitmap bitmap{};
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (ink(x, y))
                bitmap[size_t(y * kSide + x)] = kInk;
    // A white rim keeps the shape visible on dark backgrounds.
    Bitmap rimmed = bitmap;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            if (bitmap[size_t(y * kSide + x)])
                continue;
            for (int ny = std::max(0, y - 1); ny <= std::min(kSide - 1, y + 1); ++ny)
                for (int nx = std::max(0, x - 1); nx <= std::min(kSide - 1, x + 1); ++nx)
                    if (bitmap[size_t(ny * kSide + nx)] == kInk)
                        rimmed[size_t(y * kSide + x)] = kOutline;
        }
    return rimmed;
}

} // namespace

const unsigned char* BuiltInCursorBitmap(BuiltInCursor which) {
    static const Bitmap nwse = Draw(DiagonalArrow);
    static const Bitmap nesw = Draw([](int x, int y) { return DiagonalArrow(kSide - 1 - x, y); });
    static const Bitmap all = Draw(FourWayArrow);
    static const Bitmap no = Draw(NoSign);
    switch (which) {
    case BuiltInCursor::SizeNorthWestSouthEast:
        return nwse.data();
    case BuiltInCursor::SizeNorthEastSouthWest:
        return nesw.data();
    case BuiltInCursor::SizeAll:
        return all.data();
    case BuiltInCursor::No:
        return no.data();
    }
    return nullptr;
}

ak::Ref<ak::Image> ImageFromCursorBitmap(const unsigned char* bitmap) {
    std::array<uint32_t, kSide * kSide> pixels{};
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t grey = (bitmap[i] >> 4) * 17u;
        const uint32_t alpha = (bitmap[i] & 0x0F) * 17u;
        const uint32_t premultiplied = (grey * alpha + 127) / 255;
        pixels[i] = (alpha << 24) | (premultiplied << 16) | (premultiplied << 8) | premultiplied;
    }
    return ak::Image::FromPixels(pixels.data(), kSide, kSide);
}

} // namespace winlayer
