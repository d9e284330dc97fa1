#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Attribute value grammar of the SVG parser: numbers, lengths, transforms and
// colours. Every reader throws BadValue on malformed or non-finite input.
namespace vx::ui::svg {

struct BadValue : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Affine transform: (x, y) maps to (a x + c y + e, b x + d y + f).
struct Xform {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    // this x n: n acts first.
    Xform Then(const Xform& n) const;
    void Apply(double& x, double& y) const;
    double Det() const { return a * d - b * c; }
    // False when the matrix cannot be inverted.
    bool Inverse(Xform& out) const;
    static Xform Translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Xform Scale(double x, double y) { return {x, 0, 0, y, 0, 0}; }
};

// Reads numbers, flags and separators off a value.
class Scanner {
public:
    explicit Scanner(std::string_view text) : s(text) {}

    void SkipSpace();
    void SkipCommaSpace(); // spaces, at most one comma, spaces
    bool AtEnd() const { return pos >= s.size(); }
    char Peek() const { return AtEnd() ? '\0' : s[pos]; }
    void Advance() { ++pos; }
    bool NumberAhead() const;
    double Number();
    bool Flag(); // a single 0 or 1, as arc flags are written
    std::string_view Rest() const { return s.substr(pos); }

private:
    std::string_view s;
    size_t pos = 0;
};

enum class Unit { None, Px, Pt, Pc, Mm, Cm, In, Em, Ex, Percent };

struct Length {
    double value = 0;
    Unit unit = Unit::None;
};

Length ParseLength(std::string_view text);
// Pixels per unit at the given dpi (em 16 px, ex 8 px); 0 for percent.
double UnitFactor(Unit unit, double dpi);
// A length in pixels; percentages take `percentBase` as 100 %.
double LengthToPx(const Length& length, double dpi, double percentBase);
double ParseNumber(std::string_view text);
Xform ParseTransform(std::string_view text);

// A colour as R | G << 8 | B << 16, or the currentColor / none answers.
struct ParsedColor {
    enum Kind { Rgb, Current, None } kind = Rgb;
    uint32_t rgb = 0;
};
ParsedColor ParseColor(std::string_view text);
// The colour keywords of SVG; false when `name` is none of them.
bool ColorKeyword(std::string_view name, uint32_t& rgb);

std::string_view Trim(std::string_view text);

} // namespace vx::ui::svg
