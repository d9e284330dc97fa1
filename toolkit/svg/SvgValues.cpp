#include "toolkit/svg/SvgValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vx::ui::svg {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

} // namespace

Xform Xform::Then(const Xform& n) const {
    return {a * n.a + c * n.b, b * n.a + d * n.b,     a * n.c + c * n.d,
            b * n.c + d * n.d, a * n.e + c * n.f + e, b * n.e + d * n.f + f};
}

void Xform::Apply(double& x, double& y) const {
    const double nx = a * x + c * y + e;
    y = b * x + d * y + f;
    x = nx;
}

bool Xform::Inverse(Xform& out) const {
    const double det = Det();
    if (!std::isfinite(det) || std::fabs(det) < 1e-12)
        return false;
    const double inv = 1.0 / det;
    out = {d * inv, -b * inv, -c * inv, a * inv, (c * f - d * e) * inv, (b * e - a * f) * inv};
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

void Scanner::SkipSpace() {
    while (!AtEnd() && IsSpace(s[pos]))
        ++pos;
}

void Scanner::SkipCommaSpace() {
    SkipSpace();
    if (Peek() == ',') {
        ++pos;
        SkipSpace();
    }
}

bool Scanner::NumberAhead() const {
    const char c = Peek();
    return IsDigit(c) || c == '-' || c == '+' || c == '.';
}

double Scanner::Number() {
    const size_t start = pos;
    size_t p = pos;
    if (p < s.size() && (s[p] == '+' || s[p] == '-'))
        ++p;
    const size_t intStart = p;
    while (p < s.size() && IsDigit(s[p]))
        ++p;
    bool digits = p > intStart;
    if (p < s.size() && s[p] == '.') {
        const size_t fracStart = ++p;
        while (p < s.size() && IsDigit(s[p]))
            ++p;
        digits = digits || p > fracStart;
    }
    if (!digits)
        throw BadValue("malformed number");
    // An exponent needs digits; otherwise the letter starts a unit ("1em").
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
        size_t q = p + 1;
        if (q < s.size() && (s[q] == '+' || s[q] == '-'))
            ++q;
        if (q < s.size() && IsDigit(s[q])) {
            while (q < s.size() && IsDigit(s[q]))
                ++q;
            p = q;
        }
    }
    const char* first = s.data() + start + (s[start] == '+' ? 1 : 0);
    double value = 0;
    const auto [end, ec] = std::from_chars(first, s.data() + p, value);
    if (ec != std::errc() || end != s.data() + p || !std::isfinite(value))
        throw BadValue("malformed or out-of-range number");
    pos = p;
    return value;
}

bool Scanner::Flag() {
    const char c = Peek();
    if (c != '0' && c != '1')
        throw BadValue("malformed arc flag");
    ++pos;
    return c == '1';
}

Length ParseLength(std::string_view text) {
    Scanner sc(Trim(text));
    Length out;
    out.value = sc.Number();
    const std::string_view unit = sc.Rest();
    static constexpr std::pair<std::string_view, Unit> units[] = {
        {"", Unit::None}, {"px", Unit::Px},    {"pt", Unit::Pt}, {"pc", Unit::Pc},
        {"mm", Unit::Mm}, {"cm", Unit::Cm},    {"in", Unit::In}, {"em", Unit::Em},
        {"ex", Unit::Ex}, {"%", Unit::Percent}};
    for (const auto& [name, u] : units)
        if (unit == name) {
            out.unit = u;
            return out;
        }
    throw BadValue("malformed length");
}

double UnitFactor(Unit unit, double dpi) {
    switch (unit) {
    case Unit::None:
    case Unit::Px:
        return 1.0;
    case Unit::Pt:
        return dpi / 72.0;
    case Unit::Pc:
        return dpi / 6.0;
    case Unit::Mm:
        return dpi / 25.4;
    case Unit::Cm:
        return dpi / 2.54;
    case Unit::In:
        return dpi;
    case Unit::Em:
        return 16.0;
    case Unit::Ex:
        return 8.0;
    case Unit::Percent:
        return 0.0;
    }
    return 1.0;
}

double LengthToPx(const Length& length, double dpi, double percentBase) {
    if (length.unit == Unit::Percent)
        return length.value / 100.0 * percentBase;
    return length.value * UnitFactor(length.unit, dpi);
}

double ParseNumber(std::string_view text) {
    Scanner sc(Trim(text));
    const double v = sc.Number();
    if (!sc.AtEnd())
        throw BadValue("malformed number");
    return v;
}

Xform ParseTransform(std::string_view text) {
    Scanner sc(text);
    Xform out;
    sc.SkipSpace();
    while (!sc.AtEnd()) {
        std::string name;
        while (!sc.AtEnd() &&
               ((sc.Peek() >= 'a' && sc.Peek() <= 'z') || (sc.Peek() >= 'A' && sc.Peek() <= 'Z'))) {
            name += sc.Peek();
            sc.Advance();
        }
        sc.SkipSpace();
        if (sc.Peek() != '(')
            throw BadValue("malformed transform");
        sc.Advance();
        double v[6] = {};
        int n = 0;
        sc.SkipSpace();
        while (sc.Peek() != ')') {
            if (n == 6 || !sc.NumberAhead())
                throw BadValue("malformed transform");
            v[n++] = sc.Number();
            sc.SkipCommaSpace();
        }
        sc.Advance();
        Xform t;
        auto need = [&](bool ok) {
            if (!ok)
                throw BadValue("malformed transform");
        };
        const double rad = v[0] / 180.0 * kPi;
        if (name == "matrix") {
            need(n == 6);
            t = {v[0], v[1], v[2], v[3], v[4], v[5]};
        } else if (name == "translate") {
            need(n == 1 || n == 2);
            t = Xform::Translate(v[0], n == 2 ? v[1] : 0.0);
        } else if (name == "scale") {
            need(n == 1 || n == 2);
            t = Xform::Scale(v[0], n == 2 ? v[1] : v[0]);
        } else if (name == "rotate") {
            need(n == 1 || n == 3);
            const Xform r{std::cos(rad), std::sin(rad), -std::sin(rad), std::cos(rad), 0, 0};
            t = n == 3 ? Xform::Translate(v[1], v[2]).Then(r).Then(Xform::Translate(-v[1], -v[2]))
                       : r;
        } else if (name == "skewX") {
            need(n == 1);
            t = {1, 0, std::tan(rad), 1, 0, 0};
        } else if (name == "skewY") {
            need(n == 1);
            t = {1, std::tan(rad), 0, 1, 0, 0};
        } else {
            throw BadValue("malformed transform");
        }
        out = out.Then(t);
        sc.SkipCommaSpace();
    }
    return out;
}

ParsedColor ParseColor(std::string_view text) {
    text = Trim(text);
    ParsedColor out;
    auto hex = [](char c) -> int {
        if (IsDigit(c))
            return c - '0';
        c = Lower(c);
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        throw BadValue("malformed colour");
    };
    if (!text.empty() && text.front() == '#') {
        const std::string_view h = text.substr(1);
        int r = 0, g = 0, b = 0;
        if (h.size() == 3) {
            r = hex(h[0]) * 17, g = hex(h[1]) * 17, b = hex(h[2]) * 17;
        } else if (h.size() == 6) {
            r = hex(h[0]) * 16 + hex(h[1]);
            g = hex(h[2]) * 16 + hex(h[3]);
            b = hex(h[4]) * 16 + hex(h[5]);
        } else {
            throw BadValue("malformed colour");
        }
        out.rgb = uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
        return out;
    }
    if (text.size() > 4 && EqualsNoCase(text.substr(0, 4), "rgb(")) {
        Scanner sc(text.substr(4));
        int channel[3] = {};
        for (int i = 0; i < 3; ++i) {
            sc.SkipSpace();
            double v = sc.Number();
            if (sc.Peek() == '%') {
                sc.Advance();
                v = v * 255.0 / 100.0;
            }
            channel[i] = static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0)));
            if (i < 2) {
                sc.SkipSpace();
                if (sc.Peek() != ',')
                    throw BadValue("malformed colour");
                sc.Advance();
            }
        }
        sc.SkipSpace();
        if (sc.Peek() != ')' || Trim(sc.Rest()).size() != 1)
            throw BadValue("malformed colour");
        out.rgb = uint32_t(channel[0]) | uint32_t(channel[1]) << 8 | uint32_t(channel[2]) << 16;
        return out;
    }
    if (EqualsNoCase(text, "currentColor")) {
        out.kind = ParsedColor::Current;
        return out;
    }
    if (EqualsNoCase(text, "none") || EqualsNoCase(text, "transparent")) {
        out.kind = ParsedColor::None;
        return out;
    }
    if (!ColorKeyword(text, out.rgb))
        throw BadValue("malformed colour");
    return out;
}

} // namespace vx::ui::svg
