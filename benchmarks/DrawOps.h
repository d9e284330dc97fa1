#pragma once

// One frame's drawing calls as the toolkit makes them on its back end: the
// path, paint, transform, clip, text and bitmap operations every control's
// drawing comes down to, with their arguments copied, so the frame can be
// played again on any back end.

#include "toolkit/IDrawingRecords.h"
#include "toolkit/IResourceRecords.h"
#include "toolkit/ISharedTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace bench {

struct DrawOp {
    enum class Kind {
        PathReset,
        PathClose,
        PathArc,   // v: cx, cy, r, a1, a2; i: winding
        PathMove,  // v: x, y
        PathLine,  // v: x, y
        PathCubic, // v: c1x, c1y, c2x, c2y, x2, y2
        PathQuad,  // v: cx, cy, x2, y2
        PathHole,  // flag: the next shape is a hole
        Stroke,    // pattern, v[0]: thickness, stroke, blend
        Fill,      // pattern, fill, blend
        Transform, // matrix
        Clip,      // rect
        Text,      // text, str, rect, blend
        WrappedText,
        Bitmap,     // bitmap, rect, i: source x, v[0]: source y, blend
        RectShadow, // rect: inner, rect2: outer, v: offset, roundness, blur; blend
    };

    Kind kind = Kind::PathReset;
    float v[6] = {};
    int i = 0;
    bool flag = false;
    vx::ui::IFillPattern pattern;
    vx::ui::IStrokeStyle stroke;
    vx::ui::IFillStyle fill;
    std::optional<vx::ui::IBlendSetting> blend;
    vx::ui::IAffineMatrix matrix;
    vx::ui::IRECT rect, rect2;
    vx::ui::IText text;
    std::string str;
    vx::ui::IBitmapHandle bitmap;

    const vx::ui::IBlendSetting* Blend() const { return blend ? &*blend : nullptr; }
};

using DrawOps = std::vector<DrawOp>;

} // namespace bench
