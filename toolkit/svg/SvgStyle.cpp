#include "toolkit/svg/SvgStyle.h"

#include <algorithm>

namespace vx::ui::svg {

namespace {

double Opacity(std::string_view value) {
    Scanner sc(Trim(value));
    double v = sc.Number();
    if (sc.Peek() == '%') {
        sc.Advance();
        v /= 100.0;
    }
    if (!sc.AtEnd())
        throw BadValue("malformed number");
    return std::clamp(v, 0.0, 1.0);
}

template <class Apply>
void ForEachDeclaration(std::string_view css, Apply apply) {
    while (!css.empty()) {
        const size_t semi = css.find(';');
        const std::string_view decl = css.substr(0, semi);
        css = semi == std::string_view::npos ? std::string_view() : css.substr(semi + 1);
        const size_t colon = decl.find(':');
        if (colon == std::string_view::npos)
            continue;
        apply(Trim(decl.substr(0, colon)), Trim(decl.substr(colon + 1)));
    }
}

} // namespace

PaintRef ParsePaint(std::string_view text) {
    text = Trim(text);
    PaintRef out;
    if (text.substr(0, 4) == "url(") {
        const size_t close = text.find(')');
        if (close == std::string_view::npos)
            throw BadValue("malformed paint");
        std::string_view ref = Trim(text.substr(4, close - 4));
        if (ref.size() >= 2 && (ref.front() == '\'' || ref.front() == '"') &&
            ref.back() == ref.front())
            ref = ref.substr(1, ref.size() - 2);
        if (ref.empty() || ref.front() != '#')
            throw BadValue("malformed paint");
        out.kind = PaintRef::Url;
        out.id.assign(ref.substr(1));
        const std::string_view rest = Trim(text.substr(close + 1));
        if (!rest.empty()) {
            const ParsedColor c = ParseColor(rest);
            if (c.kind == ParsedColor::Rgb) {
                out.fallback = PaintRef::Rgb;
                out.fallbackRgb = c.rgb;
            }
        }
        return out;
    }
    const ParsedColor c = ParseColor(text);
    out.kind = c.kind == ParsedColor::Rgb
                   ? PaintRef::Rgb
                   : (c.kind == ParsedColor::Current ? PaintRef::Current : PaintRef::None);
    out.rgb = c.rgb;
    return out;
}

void StyleApplier::Property(std::string_view name, std::string_view value) {
    value = Trim(value);
    if (value == "inherit")
        return;
    if (name == "fill") {
        style.fill = ParsePaint(value);
    } else if (name == "stroke") {
        style.stroke = ParsePaint(value);
    } else if (name == "fill-opacity") {
        style.fillOpacity = Opacity(value);
    } else if (name == "stroke-opacity") {
        style.strokeOpacity = Opacity(value);
    } else if (name == "opacity") {
        ownOpacity = Opacity(value);
    } else if (name == "stroke-width") {
        const Length w = ParseLength(value);
        if (w.value < 0)
            throw BadValue("negative stroke width");
        style.strokeWidth = w;
    } else if (name == "stroke-dasharray") {
        style.dashes.clear();
        if (value == "none")
            return;
        Scanner sc(value);
        sc.SkipSpace();
        std::vector<Length> dashes;
        while (!sc.AtEnd()) {
            const double v = sc.Number();
            std::string unit;
            while (!sc.AtEnd() && sc.Peek() != ',' && sc.Peek() != ' ' && sc.Peek() != '\t' &&
                   sc.Peek() != '\n' && sc.Peek() != '\r') {
                unit += sc.Peek();
                sc.Advance();
            }
            Length len = ParseLength("0" + unit);
            len.value = v;
            dashes.push_back(len);
            sc.SkipCommaSpace();
        }
        // A negative dash makes the whole list invalid: the line is solid.
        if (std::none_of(dashes.begin(), dashes.end(), [](const Length& l) { return l.value < 0; }))
            style.dashes = std::move(dashes);
    } else if (name == "stroke-dashoffset") {
        style.dashOffset = ParseLength(value);
    } else if (name == "stroke-linecap") {
        style.cap =
            value == "round" ? 1 : (value == "square" ? 2 : (value == "butt" ? 0 : style.cap));
    } else if (name == "stroke-linejoin") {
        style.join =
            value == "round" ? 1 : (value == "bevel" ? 2 : (value == "miter" ? 0 : style.join));
    } else if (name == "stroke-miterlimit") {
        const double v = ParseNumber(value);
        if (v >= 1)
            style.miterLimit = v;
    } else if (name == "visibility") {
        if (value == "visible")
            style.visible = true;
        else if (value == "hidden" || value == "collapse")
            style.visible = false;
    } else if (name == "display") {
        displayNone = value == "none";
    } else if (name == "color") {
        const ParsedColor c = ParseColor(value);
        if (c.kind == ParsedColor::Rgb)
            style.color = c.rgb;
    }
}

void StyleApplier::Declarations(std::string_view css) {
    ForEachDeclaration(css, [this](std::string_view n, std::string_view v) { Property(n, v); });
}

void StyleApplier::Finish() {
    style.opacity *= ownOpacity;
    if (displayNone)
        style.displayed = false;
}

void StopValues::Property(std::string_view name, std::string_view value, uint32_t currentColor) {
    value = Trim(value);
    if (name == "offset") {
        offset = Opacity(value); // a number or a percentage, clamped to 0..1
    } else if (name == "stop-color") {
        const ParsedColor c = ParseColor(value);
        rgb = c.kind == ParsedColor::Current ? currentColor : c.rgb;
    } else if (name == "stop-opacity") {
        opacity = Opacity(value);
    }
}

void StopValues::Declarations(std::string_view css, uint32_t currentColor) {
    ForEachDeclaration(
        css, [&](std::string_view n, std::string_view v) { Property(n, v, currentColor); });
}

void GradientDef::InheritFrom(const GradientDef& o) {
    for (auto [mine, theirs] : {std::pair{&x1, &o.x1},
                                {&y1, &o.y1},
                                {&x2, &o.x2},
                                {&y2, &o.y2},
                                {&cx, &o.cx},
                                {&cy, &o.cy},
                                {&r, &o.r}})
        if (!*mine)
            *mine = *theirs;
    if (!userSpace)
        userSpace = o.userSpace;
    if (!transform)
        transform = o.transform;
    if (!spread)
        spread = o.spread;
    if (stops.empty())
        stops = o.stops;
}

ViewBoxFit ParseAspectRatio(const char* text) {
    ViewBoxFit fit;
    if (!text)
        return fit;
    std::string_view s = Trim(text);
    if (s.substr(0, 5) == "defer")
        s = Trim(s.substr(5));
    const std::string_view align = s.substr(0, s.find(' '));
    if (align == "none") {
        fit.none = true;
        return fit;
    }
    if (align.size() == 8 && align[0] == 'x' && align[4] == 'Y') {
        auto pos = [](std::string_view v) { return v == "Min" ? 0.0 : (v == "Max" ? 1.0 : 0.5); };
        fit.alignX = pos(align.substr(1, 3));
        fit.alignY = pos(align.substr(5, 3));
    }
    fit.slice = s.find("slice") != std::string_view::npos;
    return fit;
}

} // namespace vx::ui::svg
