#pragma once

// A screenshot's pixels, for what only the picture shows: where a knob's
// pointer stands, whether a part of the panel changed.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class ShotPixels {
public:
    // Reads a PNG through ImageMagick; nothing when that fails.
    static std::optional<ShotPixels> Load(const std::string& png);

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // r + g + b of a pixel; 0 outside the picture.
    int Brightness(int x, int y) const;
    // Pixels of the rectangle that differ by more than a small tolerance.
    int ChangedPixels(const ShotPixels& other, const PixelRect& area) const;
    // The smallest rectangle holding those pixels; nothing when none changed.
    std::optional<PixelRect> ChangedBounds(const ShotPixels& other, const PixelRect& area) const;
    // Pixels of the rectangle that stand out from its most common shade:
    // the strokes of a text on its background.
    int InkPixels(const PixelRect& area) const;
    // The middle row of each line of text in the rectangle, top to bottom:
    // rows that show the area's most common shade and ink on it.
    std::vector<int> TextLines(const PixelRect& area) const;

private:
    int mWidth = 0;
    int mHeight = 0;
    std::vector<std::uint8_t> mRgb;
};

// A knob's pointer: the brightest point on the circle at 0.75 of the knob's
// radius, its angle in degrees clockwise from straight up (-180..180).
struct KnobPointer {
    double degrees = 0;
    int brightness = 0;
};
KnobPointer FindPointer(const ShotPixels& shot, const PixelRect& knob);
// Where a knob's pointer stands for a 7-bit value: 0 at -150 degrees, 127 at 150.
double PointerAngleOf(int value);

} // namespace e2e
