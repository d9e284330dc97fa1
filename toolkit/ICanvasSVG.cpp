// SVG images drawn as paths: each shape's sub-paths with their windings, its
// fill, then its stroke.
#include "toolkit/ICanvas.h"

#include "toolkit/svg/SvgImage.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

IColor ColorOf(uint32_t c, int alpha) {
    return {alpha, int(c & 0xff), int(c >> 8 & 0xff), int(c >> 16 & 0xff)};
}

int AlphaByte(double a) {
    return static_cast<int>(std::clamp(std::lround(a * 255.0), 0L, 255L));
}

} // namespace

IFillPattern ICanvas::PatternFromSVGPaint(const svg::Paint& paint, float opacity) {
    if ((paint.type == svg::Paint::Linear || paint.type == svg::Paint::Radial) && paint.gradient) {
        const svg::Gradient& g = *paint.gradient;
        IFillPattern pattern;
        pattern.type =
            paint.type == svg::Paint::Linear ? IFillPattern::Linear : IFillPattern::Radial;
        pattern.extend = g.spread >= 0 && g.spread <= 2 ? g.spread + 1 : 1;
        for (const svg::GradientStop& stop : g.stops) {
            if (pattern.nStops == IFillPattern::kMaxStops)
                break;
            // Translucent stops stay translucent: stop alpha times the shape's opacity.
            const int alpha = AlphaByte((stop.color >> 24) / 255.0 * opacity);
            pattern.stops[pattern.nStops++] = {ColorOf(stop.color, alpha), stop.offset};
        }
        pattern.transform = {g.xform[0], g.xform[1], g.xform[2],
                             g.xform[3], g.xform[4], g.xform[5]};
        return pattern;
    }
    if (paint.type == svg::Paint::Color)
        return IFillPattern(ColorOf(paint.color, AlphaByte((paint.color >> 24) / 255.0 * opacity)));
    return IFillPattern(IColor(AlphaByte(opacity), 0, 0, 0));
}

void ICanvas::DrawSVG(const ISVGHandle& handle, const IRECT& bounds, const IBlendSetting* blend,
                      const IColor* strokeColor, const IColor* fillColor) {
    const svg::Image* image = handle.image;
    if (!image || !(image->width > 0.f) || !(image->height > 0.f))
        return;
    const float s = std::min(bounds.W() / image->width, bounds.H() / image->height);
    PathMatrixPush();
    PathMatrixTranslate(bounds.L, bounds.T);
    PathMatrixScale(s, s);
    DrawSVGShapes(*image, blend, strokeColor, fillColor);
    PathMatrixPop();
}

void ICanvas::DrawRotatedSVG(const ISVGHandle& svg, float cx, float cy, float w, float h,
                             double angle, const IBlendSetting* blend) {
    PathMatrixPush();
    PathMatrixTranslate(cx, cy);
    PathMatrixRotate(static_cast<float>(angle));
    DrawSVG(svg, {-w / 2.f, -h / 2.f, w / 2.f, h / 2.f}, blend);
    PathMatrixPop();
}

void ICanvas::DrawSVGShapes(const svg::Image& image, const IBlendSetting* blend,
                            const IColor* strokeColor, const IColor* fillColor) {
    for (const svg::Shape& shape : image.shapes) {
        if (!(shape.flags & svg::Shape::kVisible))
            continue;
        PathReset();
        for (size_t i = 0; i < shape.paths.size(); ++i) {
            const svg::Path& path = shape.paths[i];
            const float* p = path.pts.data();
            PathAddMove(p[0], p[1]);
            for (int k = 1; k + 2 < path.NPoints(); k += 3)
                PathAddCubic(p[2 * k], p[2 * k + 1], p[2 * k + 2], p[2 * k + 3], p[2 * k + 4],
                             p[2 * k + 5]);
            if (path.closed)
                PathAddClose();
            PathSetFillRule(path.hole);
        }
        if (shape.fill.type != svg::Paint::None) {
            const IFillPattern pattern = fillColor ? IFillPattern(*fillColor)
                                                   : PatternFromSVGPaint(shape.fill, shape.opacity);
            PathFillCurrent(pattern, {IFillStyle::Preserve, shape.stroke.type != svg::Paint::None},
                            blend);
        }
        if (shape.stroke.type != svg::Paint::None) {
            IStrokeStyle style;
            style.miterLimit = shape.miterLimit;
            style.cap =
                shape.strokeLineCap == 1 || shape.strokeLineCap == 2 ? shape.strokeLineCap : 0;
            style.join =
                shape.strokeLineJoin >= 0 && shape.strokeLineJoin <= 2 ? shape.strokeLineJoin : 0;
            style.dashOffset = shape.strokeDashOffset;
            style.dashCount = std::clamp(shape.strokeDashCount, 0, 8);
            for (int d = 0; d < style.dashCount; ++d)
                style.dashArray[d] = shape.strokeDashArray[d];
            const IFillPattern pattern = strokeColor
                                             ? IFillPattern(*strokeColor)
                                             : PatternFromSVGPaint(shape.stroke, shape.opacity);
            PathStrokeCurrent(pattern, shape.strokeWidth, style, blend);
        }
    }
}

} // namespace vx::ui
