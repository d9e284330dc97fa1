#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A parsed SVG image as the toolkit draws it: shapes of cubic sub-paths in
// output units, every transform applied.
namespace vx::ui::svg {

struct GradientStop {
    uint32_t color = 0; // R bits 0-7, G 8-15, B 16-23, alpha 24-31
    float offset = 0.f;
};

struct Gradient {
    // Maps image space to gradient space: a linear gradient runs from (0, 0)
    // to (0, 1), a radial one has its centre at (0, 0) and radius 1.
    float xform[6] = {1.f, 0.f, 0.f, 1.f, 0.f, 0.f}; // xx, yx, xy, yy, tx, ty
    int spread = 0;                                  // 0 pad, 1 reflect, 2 repeat
    std::vector<GradientStop> stops;
};

struct Paint {
    enum Type : int { None = 0, Color = 1, Linear = 2, Radial = 3 };

    int type = None;
    uint32_t color = 0; // as a stop's colour; alpha is the fill or stroke opacity
    std::shared_ptr<const Gradient> gradient;
};

// One sub-path: a start point then three points per cubic segment.
struct Path {
    std::vector<float> pts; // x, y pairs
    bool closed = false;
    float bounds[4] = {}; // min x, min y, max x, max y of the curves
    bool hole = false;    // drawn with the hole winding

    int NPoints() const { return static_cast<int>(pts.size() / 2); }
};

struct Shape {
    static constexpr int kMaxDashes = 8;
    enum Flags : unsigned { kVisible = 1 };

    Paint fill;
    Paint stroke;
    float opacity = 1.f;
    float strokeWidth = 1.f;
    float strokeDashOffset = 0.f;
    float strokeDashArray[kMaxDashes] = {};
    int strokeDashCount = 0;
    int strokeLineJoin = 0; // 0 miter, 1 round, 2 bevel
    int strokeLineCap = 0;  // 0 butt, 1 round, 2 square
    float miterLimit = 4.f;
    unsigned flags = kVisible;
    std::vector<Path> paths;
};

struct Image {
    float width = 0.f;
    float height = 0.f;
    std::vector<Shape> shapes;
};

struct ParseResult {
    std::unique_ptr<Image> image; // null when the parse failed
    std::string error;            // names line, column, element and attribute
};

// Parses a document of `size` bytes into coordinates of `units` ("px", "pt",
// "pc", "mm", "cm", "in") at `dpi`. Nothing outside the text is read.
ParseResult Parse(const char* text, size_t size, const char* units = "px", float dpi = 72.f);

} // namespace vx::ui::svg
