#pragma once

#include "toolkit/svg/SvgImage.h"
#include "toolkit/svg/SvgValues.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Computed styles of the SVG parser: what an element inherits, its own
// presentation attributes and style declarations, and gradient definitions.
namespace vx::ui::svg {

struct PaintRef {
    enum Kind { None, Rgb, Current, Url };

    Kind kind = None;
    uint32_t rgb = 0;
    std::string id;       // Url
    Kind fallback = None; // Url: None or Rgb
    uint32_t fallbackRgb = 0;
};

struct Style {
    PaintRef fill = Black();
    static PaintRef Black() {
        PaintRef p;
        p.kind = PaintRef::Rgb;
        return p;
    }
    PaintRef stroke;
    double fillOpacity = 1;
    double strokeOpacity = 1;
    Length strokeWidth{1, Unit::None};
    std::vector<Length> dashes;
    Length dashOffset;
    int cap = 0;
    int join = 0;
    double miterLimit = 4;
    bool visible = true;
    uint32_t color = 0;
    // Not inherited as such: the product of the opacities down the tree, and
    // whether an ancestor (or the element) has display none.
    double opacity = 1;
    bool displayed = true;
    bool inDefs = false;
    Xform ctm;
};

// Applies one element's properties onto the style it inherited.
class StyleApplier {
public:
    explicit StyleApplier(Style& style) : style(style) {}

    void Property(std::string_view name, std::string_view value);
    void Declarations(std::string_view css); // "name: value; ..."
    void Finish();

private:
    Style& style;
    double ownOpacity = 1;
    bool displayNone = false;
};

struct StopValues {
    double offset = 0;
    uint32_t rgb = 0;
    double opacity = 1;

    void Property(std::string_view name, std::string_view value, uint32_t currentColor);
    void Declarations(std::string_view css, uint32_t currentColor);
};

struct GradientDef {
    bool linear = true;
    std::optional<Length> x1, y1, x2, y2, cx, cy, r;
    std::optional<bool> userSpace;
    std::optional<Xform> transform;
    std::optional<int> spread;
    std::string href;
    std::vector<GradientStop> stops;

    // Takes what this definition leaves unset from the one it links to.
    void InheritFrom(const GradientDef& other);
};

struct ViewBoxFit {
    bool none = false;
    bool slice = false;
    double alignX = 0.5;
    double alignY = 0.5;
};
ViewBoxFit ParseAspectRatio(const char* text);

PaintRef ParsePaint(std::string_view text);

} // namespace vx::ui::svg
