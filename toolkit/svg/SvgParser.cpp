// The SVG document walk: expat delivers elements, each element's style is
// computed from its parent's, shapes are built in image coordinates and
// gradient paints are resolved once the whole document is read (they may be
// referenced before they are defined).
#include "toolkit/svg/SvgHoles.h"
#include "toolkit/svg/SvgImage.h"
#include "toolkit/svg/SvgPathBuilder.h"
#include "toolkit/svg/SvgStyle.h"
#include "toolkit/svg/SvgValues.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace vx::ui::svg {

namespace {

constexpr std::string_view kSvgNs = "http://www.w3.org/2000/svg";
constexpr std::string_view kXlinkNs = "http://www.w3.org/1999/xlink";
constexpr char kNsSeparator = '|';
constexpr int kMaxHrefChain = 32;

// Splits an expat name "namespace|local"; `foreign` when the namespace is
// neither SVG's nor `allowed`.
std::string_view LocalName(std::string_view name, bool& foreign, std::string_view allowed = {}) {
    const size_t bar = name.rfind(kNsSeparator);
    foreign = false;
    if (bar == std::string_view::npos)
        return name;
    const std::string_view ns = name.substr(0, bar);
    foreign = ns != kSvgNs && ns != allowed;
    return name.substr(bar + 1);
}

uint32_t WithAlpha(uint32_t rgb, double alpha) {
    const long a = std::lround(std::clamp(alpha, 0.0, 1.0) * 255.0);
    return (rgb & 0xffffffu) | static_cast<uint32_t>(a) << 24;
}

struct PendingPaints {
    size_t shape = 0;
    PaintRef fill;
    PaintRef stroke;
    double fillOpacity = 1;
    double strokeOpacity = 1;
    Xform ctm;
    double bbox[4] = {};
};

class Parser {
public:
    Parser(const char* units, float dpi);
    ~Parser() { XML_ParserFree(parser); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    ParseResult Run(const char* text, size_t size);

private:
    static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char** atts);
    static void XMLCALL OnEnd(void* self, const XML_Char* name);
    static void XMLCALL OnEntityDecl(void* self, const XML_Char*, int, const XML_Char*, int,
                                     const XML_Char*, const XML_Char*, const XML_Char*,
                                     const XML_Char*);

    void Start(std::string_view name, const char** atts);
    void End();
    void Fail(const std::string& what);
    const char* Attr(const char** atts, std::string_view local);

    void ReadRoot(const char** atts);
    void ApplyAttributes(Style& style, const char** atts);
    void ReadGradient(bool linear, const char** atts);
    void ReadStop(const char** atts);
    void BuildShape(std::string_view kind, const char** atts, const Style& style);
    void Geometry(std::string_view kind, const char** atts, PathBuilder& builder);
    double Len(const char** atts, const char* name, double percentBase, double fallback = 0);
    // What a percentage of a length that is neither horizontal nor vertical refers to.
    double Diagonal() const {
        return std::sqrt((viewportW * viewportW + viewportH * viewportH) / 2);
    }
    // Runs `property` on each presentation attribute, then `declarations` on the style attribute.
    template <class Property, class Declarations>
    void ForEachProperty(const char** atts, Property property, Declarations declarations);

    void ResolvePaints();
    Paint ResolvePaint(const PaintRef& ref, double opacity, const PendingPaints& p);
    Paint GradientPaint(const std::string& id, double opacity, const PendingPaints& p);

    XML_Parser parser;
    double dpi;
    double outScale = 1;
    double viewportW = 100, viewportH = 100;
    bool widthFromContent = false;
    bool heightFromContent = false;
    std::unique_ptr<Image> image = std::make_unique<Image>();
    std::vector<Style> stack;
    std::vector<PendingPaints> pending;
    std::unordered_map<std::string, GradientDef> gradients;
    GradientDef* currentGradient = nullptr;
    size_t gradientDepth = 0;
    int skipDepth = 0;
    bool sawRoot = false;
    std::string element = "-";
    std::string attribute = "-";
    unsigned long line = 0, column = 0;
    std::string error;
};

Parser::Parser(const char* units, float dpiIn)
    : parser(XML_ParserCreateNS(nullptr, kNsSeparator)), dpi(dpiIn > 0 ? dpiIn : 72.f) {
    Unit unit = Unit::Px;
    try {
        unit = ParseLength(std::string("1") + (units ? units : "px")).unit;
    } catch (const BadValue&) {
    }
    const double factor = UnitFactor(unit, dpi);
    outScale = factor > 0 ? 1.0 / factor : 1.0;
}

void XMLCALL Parser::OnStart(void* self, const XML_Char* name, const XML_Char** atts) {
    static_cast<Parser*>(self)->Start(name, atts);
}

void XMLCALL Parser::OnEnd(void* self, const XML_Char*) {
    static_cast<Parser*>(self)->End();
}

void XMLCALL Parser::OnEntityDecl(void* self, const XML_Char*, int, const XML_Char*, int,
                                  const XML_Char*, const XML_Char*, const XML_Char*,
                                  const XML_Char*) {
    auto* p = static_cast<Parser*>(self);
    p->line = XML_GetCurrentLineNumber(p->parser);
    p->column = XML_GetCurrentColumnNumber(p->parser) + 1;
    p->Fail("entity declarations are not accepted");
}

void Parser::Fail(const std::string& what) {
    if (!error.empty())
        return;
    error = "line " + std::to_string(line) + ", column " + std::to_string(column) + ", element <" +
            element + ">, attribute " + attribute + ": " + what;
    XML_StopParser(parser, XML_FALSE);
}

const char* Parser::Attr(const char** atts, std::string_view local) {
    for (int i = 0; atts[i]; i += 2) {
        bool foreign = false;
        if (LocalName(atts[i], foreign, kXlinkNs) == local && !foreign)
            return atts[i + 1];
    }
    return nullptr;
}

void Parser::Start(std::string_view name, const char** atts) {
    if (!error.empty())
        return;
    if (skipDepth > 0) {
        ++skipDepth;
        return;
    }
    line = XML_GetCurrentLineNumber(parser);
    column = XML_GetCurrentColumnNumber(parser) + 1;
    bool foreign = false;
    const std::string_view local = LocalName(name, foreign);
    element.assign(local);
    attribute = "-";
    if (!sawRoot) {
        if (foreign || local != "svg") {
            Fail("the root element is not svg");
            return;
        }
        sawRoot = true;
        try {
            ReadRoot(atts);
        } catch (const BadValue& e) {
            Fail(e.what());
        }
        return;
    }
    try {
        // A gradient holds stops only; anything else inside it is never drawn.
        if (gradientDepth > 0) {
            if (foreign || local != "stop" || !currentGradient) {
                skipDepth = 1;
                return;
            }
            stack.push_back(stack.back());
            ReadStop(atts);
            return;
        }
        if (!foreign && (local == "linearGradient" || local == "radialGradient")) {
            stack.push_back(stack.back());
            ReadGradient(local == "linearGradient", atts);
            gradientDepth = stack.size();
            return;
        }
        static constexpr std::string_view kShapes[] = {"path", "rect",     "circle", "ellipse",
                                                       "line", "polyline", "polygon"};
        const bool shape =
            std::find(std::begin(kShapes), std::end(kShapes), local) != std::end(kShapes);
        if (foreign || (!shape && local != "g" && local != "defs")) {
            skipDepth = 1;
            return;
        }
        Style style = stack.back();
        ApplyAttributes(style, atts);
        if (local == "defs")
            style.inDefs = true;
        stack.push_back(style);
        if (shape && style.displayed && !style.inDefs)
            BuildShape(local, atts, style);
    } catch (const BadValue& e) {
        Fail(e.what());
    }
}

void Parser::End() {
    if (!error.empty())
        return;
    if (skipDepth > 0) {
        --skipDepth;
        return;
    }
    if (gradientDepth > 0 && stack.size() == gradientDepth) {
        currentGradient = nullptr;
        gradientDepth = 0;
    }
    if (!stack.empty())
        stack.pop_back();
}

void Parser::ReadRoot(const char** atts) {
    Style root;
    const char* w = Attr(atts, "width");
    const char* h = Attr(atts, "height");
    const char* vb = Attr(atts, "viewBox");
    double vbox[4] = {};
    bool haveViewBox = false;
    if (vb) {
        attribute = "viewBox";
        Scanner sc(vb);
        sc.SkipSpace();
        for (double& v : vbox) {
            v = sc.Number();
            sc.SkipCommaSpace();
        }
        if (!sc.AtEnd() || vbox[2] < 0 || vbox[3] < 0)
            throw BadValue("malformed viewBox");
        haveViewBox = vbox[2] > 0 && vbox[3] > 0;
    }
    auto size = [&](const char* text, const char* name, double viewBoxSize) {
        attribute = name;
        const Length len = text ? ParseLength(text) : Length{100, Unit::Percent};
        if (len.value < 0)
            throw BadValue("negative size");
        if (len.unit != Unit::Percent)
            return LengthToPx(len, dpi, 0);
        return haveViewBox ? len.value / 100.0 * viewBoxSize : -1.0;
    };
    double width = size(w, "width", vbox[2]);
    double height = size(h, "height", vbox[3]);
    widthFromContent = width < 0;
    heightFromContent = height < 0;
    width = std::max(width, 0.0);
    height = std::max(height, 0.0);
    viewportW = haveViewBox ? vbox[2] : (width > 0 ? width : 100);
    viewportH = haveViewBox ? vbox[3] : (height > 0 ? height : 100);

    Xform view;
    if (haveViewBox) {
        attribute = "preserveAspectRatio";
        const ViewBoxFit fit = ParseAspectRatio(Attr(atts, "preserveAspectRatio"));
        double sx = width / vbox[2], sy = height / vbox[3];
        if (!fit.none)
            sx = sy = fit.slice ? std::max(sx, sy) : std::min(sx, sy);
        const double tx = (width - vbox[2] * sx) * fit.alignX - vbox[0] * sx;
        const double ty = (height - vbox[3] * sy) * fit.alignY - vbox[1] * sy;
        view = {sx, 0, 0, sy, tx, ty};
    }
    root.ctm = Xform::Scale(outScale, outScale).Then(view);
    image->width = static_cast<float>(width * outScale);
    image->height = static_cast<float>(height * outScale);
    ApplyAttributes(root, atts);
    root.ctm = Xform::Scale(outScale, outScale).Then(view); // the root takes no transform
    stack.push_back(root);
}

template <class Property, class Declarations>
void Parser::ForEachProperty(const char** atts, Property property, Declarations declarations) {
    for (int i = 0; atts[i]; i += 2) {
        bool foreign = false;
        const std::string_view name = LocalName(atts[i], foreign);
        if (foreign || name == "style")
            continue;
        attribute.assign(name);
        property(name, atts[i + 1]);
    }
    if (const char* css = Attr(atts, "style")) {
        attribute = "style";
        declarations(css);
    }
    attribute = "-";
}

void Parser::ApplyAttributes(Style& style, const char** atts) {
    StyleApplier applier(style);
    ForEachProperty(
        atts,
        [&](std::string_view name, const char* value) {
            if (name == "transform")
                style.ctm = style.ctm.Then(ParseTransform(value));
            else
                applier.Property(name, value);
        },
        [&](const char* css) { applier.Declarations(css); });
    applier.Finish();
}

void Parser::ReadGradient(bool linear, const char** atts) {
    const char* id = Attr(atts, "id");
    GradientDef def;
    def.linear = linear;
    auto length = [&](const char* name, std::optional<Length>& out) {
        if (const char* v = Attr(atts, name)) {
            attribute = name;
            out = ParseLength(v);
        }
    };
    length("x1", def.x1);
    length("y1", def.y1);
    length("x2", def.x2);
    length("y2", def.y2);
    length("cx", def.cx);
    length("cy", def.cy);
    length("r", def.r);
    if (const char* units = Attr(atts, "gradientUnits"))
        def.userSpace = std::string_view(units) == "userSpaceOnUse";
    if (const char* t = Attr(atts, "gradientTransform")) {
        attribute = "gradientTransform";
        def.transform = ParseTransform(t);
    }
    if (const char* spread = Attr(atts, "spreadMethod")) {
        const std::string_view s = Trim(spread);
        def.spread = s == "reflect" ? 1 : (s == "repeat" ? 2 : 0);
    }
    if (const char* href = Attr(atts, "href")) {
        const std::string_view h = Trim(href);
        if (!h.empty() && h.front() == '#')
            def.href.assign(h.substr(1));
    }
    attribute = "-";
    if (!id || !*id) {
        currentGradient = nullptr;
        return;
    }
    // The first definition of an id wins.
    auto [it, added] = gradients.try_emplace(id, std::move(def));
    currentGradient = added ? &it->second : nullptr;
}

void Parser::ReadStop(const char** atts) {
    StopValues stop;
    const uint32_t current = stack.back().color;
    ForEachProperty(
        atts,
        [&](std::string_view name, const char* value) { stop.Property(name, value, current); },
        [&](const char* css) { stop.Declarations(css, current); });
    float offset = static_cast<float>(std::clamp(stop.offset, 0.0, 1.0));
    if (!currentGradient->stops.empty())
        offset = std::max(offset, currentGradient->stops.back().offset);
    currentGradient->stops.push_back({WithAlpha(stop.rgb, stop.opacity), offset});
}

double Parser::Len(const char** atts, const char* name, double percentBase, double fallback) {
    const char* v = Attr(atts, name);
    if (!v)
        return fallback;
    attribute = name;
    return LengthToPx(ParseLength(v), dpi, percentBase);
}

void Parser::Geometry(std::string_view kind, const char** atts, PathBuilder& b) {
    const double diag = Diagonal();
    if (kind == "path") {
        if (const char* d = Attr(atts, "d")) {
            attribute = "d";
            b.AddPathData(d);
        }
    } else if (kind == "rect") {
        const double x = Len(atts, "x", viewportW), y = Len(atts, "y", viewportH);
        const double w = Len(atts, "width", viewportW), h = Len(atts, "height", viewportH);
        double rx = Len(atts, "rx", viewportW, -1), ry = Len(atts, "ry", viewportH, -1);
        if (w <= 0 || h <= 0)
            return;
        if (rx < 0 && ry < 0)
            rx = ry = 0;
        else if (rx < 0)
            rx = ry;
        else if (ry < 0)
            ry = rx;
        rx = std::min(rx, w / 2);
        ry = std::min(ry, h / 2);
        if (rx <= 0 || ry <= 0) {
            b.MoveTo(x, y);
            b.LineTo(x + w, y);
            b.LineTo(x + w, y + h);
            b.LineTo(x, y + h);
        } else {
            b.MoveTo(x + rx, y);
            b.LineTo(x + w - rx, y);
            b.ArcTo(rx, ry, 0, false, true, x + w, y + ry);
            b.LineTo(x + w, y + h - ry);
            b.ArcTo(rx, ry, 0, false, true, x + w - rx, y + h);
            b.LineTo(x + rx, y + h);
            b.ArcTo(rx, ry, 0, false, true, x, y + h - ry);
            b.LineTo(x, y + ry);
            b.ArcTo(rx, ry, 0, false, true, x + rx, y);
        }
        b.Close();
    } else if (kind == "circle") {
        const double r = Len(atts, "r", diag);
        if (r > 0)
            b.AddEllipse(Len(atts, "cx", viewportW), Len(atts, "cy", viewportH), r, r);
    } else if (kind == "ellipse") {
        const double rx = Len(atts, "rx", viewportW), ry = Len(atts, "ry", viewportH);
        if (rx > 0 && ry > 0)
            b.AddEllipse(Len(atts, "cx", viewportW), Len(atts, "cy", viewportH), rx, ry);
    } else if (kind == "line") {
        b.MoveTo(Len(atts, "x1", viewportW), Len(atts, "y1", viewportH));
        b.LineTo(Len(atts, "x2", viewportW), Len(atts, "y2", viewportH));
    } else if (const char* points = Attr(atts, "points")) { // polyline, polygon
        attribute = "points";
        Scanner sc(points);
        sc.SkipSpace();
        bool first = true;
        while (!sc.AtEnd()) {
            const double x = sc.Number();
            sc.SkipCommaSpace();
            if (sc.AtEnd())
                throw BadValue("malformed point list");
            const double y = sc.Number();
            sc.SkipCommaSpace();
            first ? b.MoveTo(x, y) : b.LineTo(x, y);
            first = false;
        }
        if (kind == "polygon")
            b.Close();
    }
}

void Parser::BuildShape(std::string_view kind, const char** atts, const Style& style) {
    PathBuilder builder;
    Geometry(kind, atts, builder);
    attribute = "-";
    const std::vector<PathBuilder::LocalPath> local = builder.Finish();
    if (local.empty())
        return;
    PendingPaints p;
    p.bbox[0] = p.bbox[1] = INFINITY;
    p.bbox[2] = p.bbox[3] = -INFINITY;
    for (const PathBuilder::LocalPath& lp : local) {
        double b[4];
        CubicBounds(lp.pts.data(), static_cast<int>(lp.pts.size() / 2), b);
        p.bbox[0] = std::min(p.bbox[0], b[0]);
        p.bbox[1] = std::min(p.bbox[1], b[1]);
        p.bbox[2] = std::max(p.bbox[2], b[2]);
        p.bbox[3] = std::max(p.bbox[3], b[3]);
    }
    Shape shape;
    shape.paths = TransformPaths(local, style.ctm);
    const double diag = Diagonal();
    const double scale = std::sqrt(std::fabs(style.ctm.Det()));
    shape.opacity = static_cast<float>(style.opacity);
    shape.strokeWidth = static_cast<float>(LengthToPx(style.strokeWidth, dpi, diag) * scale);
    shape.strokeDashOffset = static_cast<float>(LengthToPx(style.dashOffset, dpi, diag) * scale);
    std::vector<double> dashes;
    for (const Length& d : style.dashes)
        dashes.push_back(LengthToPx(d, dpi, diag) * scale);
    if (dashes.size() % 2 == 1)
        dashes.insert(dashes.end(), dashes.begin(), dashes.end());
    const bool anyDash = std::any_of(dashes.begin(), dashes.end(), [](double d) { return d > 0; });
    if (anyDash) {
        shape.strokeDashCount =
            static_cast<int>(std::min<size_t>(dashes.size(), Shape::kMaxDashes));
        for (int i = 0; i < shape.strokeDashCount; ++i)
            shape.strokeDashArray[i] = static_cast<float>(dashes[static_cast<size_t>(i)]);
    }
    shape.strokeLineCap = style.cap;
    shape.strokeLineJoin = style.join;
    shape.miterLimit = static_cast<float>(style.miterLimit);
    shape.flags = style.visible ? Shape::kVisible : 0u;
    if (!std::isfinite(shape.strokeWidth) || !std::isfinite(shape.strokeDashOffset))
        throw BadValue("stroke out of range");

    p.shape = image->shapes.size();
    p.fill = style.fill;
    p.stroke = style.stroke;
    p.fillOpacity = style.fillOpacity;
    p.strokeOpacity = style.strokeOpacity;
    p.ctm = style.ctm;
    for (PaintRef* ref : {&p.fill, &p.stroke})
        if (ref->kind == PaintRef::Current) {
            ref->kind = PaintRef::Rgb;
            ref->rgb = style.color;
        }
    image->shapes.push_back(std::move(shape));
    pending.push_back(std::move(p));
}

Paint Parser::ResolvePaint(const PaintRef& ref, double opacity, const PendingPaints& p) {
    Paint paint;
    if (ref.kind == PaintRef::Url) {
        if (gradients.count(ref.id))
            return GradientPaint(ref.id, opacity, p);
        if (ref.fallback == PaintRef::Rgb) {
            paint.type = Paint::Color;
            paint.color = WithAlpha(ref.fallbackRgb, opacity);
        }
        return paint;
    }
    if (ref.kind == PaintRef::Rgb) {
        paint.type = Paint::Color;
        paint.color = WithAlpha(ref.rgb, opacity);
    }
    return paint;
}

Paint Parser::GradientPaint(const std::string& id, double opacity, const PendingPaints& p) {
    const GradientDef& def = gradients.at(id);
    GradientDef merged = def;
    const GradientDef* link = &def;
    for (int depth = 0; depth < kMaxHrefChain && !link->href.empty(); ++depth) {
        const auto it = gradients.find(link->href);
        if (it == gradients.end())
            break;
        link = &it->second;
        merged.InheritFrom(*link);
    }
    Paint paint;
    if (merged.stops.empty())
        return paint;
    std::vector<GradientStop> stops = merged.stops;
    for (GradientStop& s : stops)
        s.color = WithAlpha(s.color, (s.color >> 24) / 255.0 * opacity);
    auto solid = [&](const GradientStop& s) {
        paint.type = Paint::Color;
        paint.color = s.color;
        return paint;
    };
    if (stops.size() == 1)
        return solid(stops.back());

    const bool userSpace = merged.userSpace.value_or(false);
    const double diag = Diagonal();
    auto coord = [&](const std::optional<Length>& v, double fallbackFraction, double base) {
        const Length len = v.value_or(Length{fallbackFraction * 100, Unit::Percent});
        if (!userSpace)
            return len.unit == Unit::Percent ? len.value / 100.0 : len.value;
        return LengthToPx(len, dpi, base);
    };
    Xform grad;
    if (def.linear) {
        const double x1 = coord(merged.x1, 0, viewportW), y1 = coord(merged.y1, 0, viewportH);
        const double x2 = coord(merged.x2, 1, viewportW), y2 = coord(merged.y2, 0, viewportH);
        const double dx = x2 - x1, dy = y2 - y1;
        grad = {dy, -dx, dx, dy, x1, y1};
    } else {
        const double r = coord(merged.r, 0.5, diag);
        grad = {r, 0, 0, r, coord(merged.cx, 0.5, viewportW), coord(merged.cy, 0.5, viewportH)};
    }
    Xform space = p.ctm;
    if (!userSpace)
        space =
            space.Then({p.bbox[2] - p.bbox[0], 0, 0, p.bbox[3] - p.bbox[1], p.bbox[0], p.bbox[1]});
    const Xform toImage = space.Then(merged.transform.value_or(Xform())).Then(grad);
    Xform inverse;
    if (!toImage.Inverse(inverse))
        return solid(stops.back());
    auto gradient = std::make_shared<Gradient>();
    const double m[6] = {inverse.a, inverse.b, inverse.c, inverse.d, inverse.e, inverse.f};
    for (int i = 0; i < 6; ++i) {
        if (!std::isfinite(m[i]))
            return solid(stops.back());
        gradient->xform[i] = static_cast<float>(m[i]);
    }
    gradient->spread = merged.spread.value_or(0);
    gradient->stops = std::move(stops);
    paint.type = def.linear ? Paint::Linear : Paint::Radial;
    paint.gradient = std::move(gradient);
    return paint;
}

void Parser::ResolvePaints() {
    for (const PendingPaints& p : pending) {
        Shape& shape = image->shapes[p.shape];
        shape.fill = ResolvePaint(p.fill, p.fillOpacity, p);
        shape.stroke = ResolvePaint(p.stroke, p.strokeOpacity, p);
    }
    // Without a size or a viewBox the image reaches as far as its shapes.
    float w = 0.f, h = 0.f;
    for (const Shape& shape : image->shapes)
        for (const Path& path : shape.paths) {
            w = std::max(w, path.bounds[2]);
            h = std::max(h, path.bounds[3]);
        }
    if (widthFromContent)
        image->width = w;
    if (heightFromContent)
        image->height = h;
}

ParseResult Parser::Run(const char* text, size_t size) {
    ParseResult result;
    if (!parser) {
        result.error = "out of memory";
        return result;
    }
    if (size > static_cast<size_t>(INT_MAX)) {
        result.error = "document too large";
        return result;
    }
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetEntityDeclHandler(parser, OnEntityDecl);
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    const XML_Status status = XML_Parse(parser, text, static_cast<int>(size), XML_TRUE);
    if (error.empty() && status != XML_STATUS_OK) {
        line = XML_GetCurrentLineNumber(parser);
        column = XML_GetCurrentColumnNumber(parser) + 1;
        attribute = "-";
        Fail(XML_ErrorString(XML_GetErrorCode(parser)));
    }
    if (error.empty() && !sawRoot)
        Fail("no svg root element");
    if (error.empty()) {
        try {
            ResolvePaints();
        } catch (const BadValue& e) {
            Fail(e.what());
        }
    }
    if (!error.empty()) {
        result.error = error;
        return result;
    }
    ClassifyHoles(*image);
    result.image = std::move(image);
    return result;
}

} // namespace

ParseResult Parse(const char* text, size_t size, const char* units, float dpi) {
    Parser parser(units, dpi);
    return parser.Run(text ? text : "", text ? size : 0);
}

} // namespace vx::ui::svg
