#include "benchmarks/CairoReplay.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

namespace bench {

namespace ui = vx::ui;
using Kind = DrawOp::Kind;

struct CairoReplay::FreeType {
    FT_Library library = nullptr;
    FreeType() { FT_Init_FreeType(&library); }
    ~FreeType() {
        if (library)
            FT_Done_FreeType(library);
    }
};

// A font as the vector renderer sizes it: a text size is the height from
// descender to ascender, not the em.
struct CairoReplay::Face {
    std::vector<unsigned char> bytes; // FreeType reads them in place
    FT_Face ft = nullptr;
    cairo_font_face_t* face = nullptr;
    float emPerSize = 1.f, ascender = 0.f, descender = 0.f; // per unit of size

    ~Face() {
        if (face)
            cairo_font_face_destroy(face);
        if (ft)
            FT_Done_Face(ft);
    }
};

namespace {

constexpr double kPi = 3.14159265358979323846;

void SetColor(cairo_t* cr, const ui::IColor& c, float weight) {
    cairo_set_source_rgba(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A * weight / 255.0);
}

void AddStop(cairo_pattern_t* p, double offset, const ui::IColor& c, float weight) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.R / 255.0, c.G / 255.0, c.B / 255.0,
                                      c.A * weight / 255.0);
}

cairo_operator_t OperatorOf(const ui::IBlendSetting* blend) {
    static constexpr cairo_operator_t kOps[] = {CAIRO_OPERATOR_OVER,      CAIRO_OPERATOR_IN,
                                                CAIRO_OPERATOR_OUT,       CAIRO_OPERATOR_ATOP,
                                                CAIRO_OPERATOR_DEST_OVER, CAIRO_OPERATOR_DEST_IN,
                                                CAIRO_OPERATOR_DEST_OUT,  CAIRO_OPERATOR_DEST_ATOP,
                                                CAIRO_OPERATOR_ADD,       CAIRO_OPERATOR_XOR};
    if (!blend || blend->type < 0 || blend->type > 9)
        return CAIRO_OPERATOR_OVER;
    return kOps[blend->type];
}

// (x, y) through the inverse of the pattern's transform; singular: unchanged.
void Inverse(const ui::IAffineMatrix& m, double x, double y, double& ox, double& oy) {
    const double det = m.xx * m.yy - m.xy * m.yx;
    if (std::fabs(det) < 1e-6) {
        ox = x, oy = y;
        return;
    }
    ox = (m.yy * x - m.xy * y + (m.xy * m.ty - m.yy * m.tx)) / det;
    oy = (-m.yx * x + m.xx * y + (m.yx * m.tx - m.xx * m.ty)) / det;
}

cairo_surface_t* SurfaceOf(const ImagePixels& image) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* p = &image.rgba[(size_t(y) * size_t(image.width) + x) * 4];
            const uint32_t a = p[3];
            const uint32_t argb =
                a << 24 | (p[0] * a / 255) << 16 | (p[1] * a / 255) << 8 | (p[2] * a / 255);
            std::memcpy(data + y * stride + x * 4, &argb, 4);
        }
    cairo_surface_mark_dirty(s);
    return s;
}

} // namespace

CairoReplay::CairoReplay(int width, int height, float scale, const RecordingCanvasVG& source)
    : scale(scale), freetype(std::make_unique<FreeType>()) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(float(width) * scale),
                                         int(float(height) * scale));
    cr = cairo_create(surface);
    for (const auto& [id, data] : source.Fonts()) {
        auto face = std::make_unique<Face>();
        face->bytes.assign(data->Bytes(), data->Bytes() + data->Size());
        if (!freetype->library ||
            FT_New_Memory_Face(freetype->library, face->bytes.data(), FT_Long(face->bytes.size()),
                               data->faceIndex, &face->ft) != 0)
            continue;
        const float height = float(face->ft->ascender - face->ft->descender);
        if (height <= 0.f)
            continue;
        face->emPerSize = float(face->ft->units_per_EM) / height;
        face->ascender = float(face->ft->ascender) / height;
        face->descender = float(face->ft->descender) / height;
        face->face = cairo_ft_font_face_create_for_ft_face(face->ft, 0);
        faces[id] = std::move(face);
    }
    for (const auto& [bitmap, pixels] : source.Images())
        if (!pixels.rgba.empty())
            images[bitmap] = SurfaceOf(pixels);
}

CairoReplay::~CairoReplay() {
    for (auto& [bitmap, s] : images)
        cairo_surface_destroy(s);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    // Cairo's font caches still use the FreeType faces: they are emptied first.
    for (auto& [id, face] : faces) {
        cairo_font_face_destroy(face->face);
        face->face = nullptr;
    }
    cairo_debug_reset_static_data();
    faces.clear();
}

void CairoReplay::Play(const DrawOps& frame) {
    skipped = 0;
    cairo_reset_clip(cr);
    cairo_new_path(cr);
    cairo_identity_matrix(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    SetTransform(ui::IAffineMatrix());
    hole = false;
    for (const DrawOp& op : frame)
        Run(op);
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int height = cairo_image_surface_get_height(surface);
    presented.resize(size_t(stride) * size_t(height));
    std::memcpy(presented.data(), cairo_image_surface_get_data(surface), presented.size());
}

void CairoReplay::SetTransform(const ui::IAffineMatrix& m) {
    cairo_matrix_t base, own, both;
    cairo_matrix_init_scale(&base, scale, scale);
    cairo_matrix_init(&own, m.xx, m.yx, m.xy, m.yy, m.tx, m.ty);
    cairo_matrix_multiply(&both, &own, &base);
    cairo_set_matrix(cr, &both);
}

void CairoReplay::SetClip(const ui::IRECT& r) {
    // A clip replaces the last one and leaves the path being built alone.
    cairo_path_t* path = cairo_has_current_point(cr) ? cairo_copy_path(cr) : nullptr;
    cairo_reset_clip(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, r.L, r.T, std::max(0.f, r.R - r.L), std::max(0.f, r.B - r.T));
    cairo_clip(cr);
    if (path) {
        cairo_append_path(cr, path);
        cairo_path_destroy(path);
    }
}

void CairoReplay::SetPaint(const ui::IFillPattern& p, const ui::IBlendSetting* blend) {
    const float weight = blend ? blend->weight : 1.f;
    const int count = std::min(p.nStops, ui::IFillPattern::kMaxStops);
    if (p.type == ui::IFillPattern::Solid) {
        SetColor(cr, p.stops[0].color, weight);
        return;
    }
    // Two colours, the first and the last stop, as the vector renderer paints gradients.
    double sx = 0, sy = 0;
    Inverse(p.transform, 0.0, 0.0, sx, sy);
    cairo_pattern_t* pattern = nullptr;
    if (p.type == ui::IFillPattern::Radial) {
        const auto& m = p.transform;
        const double det = m.xx * m.yy - m.xy * m.yx;
        const double radius = std::fabs(det) < 1e-6 ? 1.0 : m.yy / det;
        pattern = cairo_pattern_create_radial(sx, sy, p.stops[0].offset * radius, sx, sy, radius);
    } else {
        double ex = 0, ey = 0;
        Inverse(p.transform, 0.0, 1.0, ex, ey);
        pattern = cairo_pattern_create_linear(sx, sy, ex, ey);
    }
    AddStop(pattern, 0.0, p.stops[0].color, weight);
    AddStop(pattern, 1.0, p.stops[std::max(count, 1) - 1].color, weight);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

void CairoReplay::EndPath(bool keep) {
    if (!keep) {
        cairo_new_path(cr);
        hole = false;
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

void CairoReplay::Quad(const float* v) {
    double x0 = v[0], y0 = v[1];
    if (cairo_has_current_point(cr))
        cairo_get_current_point(cr, &x0, &y0);
    else
        cairo_move_to(cr, x0, y0);
    const double c1x = x0 + 2.0 / 3.0 * (v[0] - x0), c1y = y0 + 2.0 / 3.0 * (v[1] - y0);
    const double c2x = v[2] + 2.0 / 3.0 * (v[0] - v[2]), c2y = v[3] + 2.0 / 3.0 * (v[1] - v[3]);
    cairo_curve_to(cr, c1x, c1y, c2x, c2y, v[2], v[3]);
}

void CairoReplay::Run(const DrawOp& op) {
    const float* v = op.v;
    const bool emptyGradient = op.pattern.type != ui::IFillPattern::Solid && op.pattern.nStops <= 0;
    switch (op.kind) {
    case Kind::PathReset:
        cairo_new_path(cr);
        hole = false;
        return;
    case Kind::PathClose:
        return cairo_close_path(cr);
    case Kind::PathArc: {
        const double a1 = (v[3] - 90.0) / 180.0 * kPi, a2 = (v[4] - 90.0) / 180.0 * kPi;
        if (op.i == 0)
            cairo_arc(cr, v[0], v[1], v[2], a1, a2);
        else
            cairo_arc_negative(cr, v[0], v[1], v[2], a1, a2);
        return;
    }
    case Kind::PathMove:
        return cairo_move_to(cr, v[0], v[1]);
    case Kind::PathLine:
        return cairo_line_to(cr, v[0], v[1]);
    case Kind::PathCubic:
        return cairo_curve_to(cr, v[0], v[1], v[2], v[3], v[4], v[5]);
    case Kind::PathQuad:
        return Quad(v);
    case Kind::PathHole:
        hole = hole || op.flag;
        return;
    case Kind::Stroke: {
        if (emptyGradient)
            return EndPath(op.stroke.keepPath);
        static constexpr cairo_line_join_t kJoins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND,
                                                       CAIRO_LINE_JOIN_BEVEL};
        if (op.stroke.cap >= 0 && op.stroke.cap <= 2)
            cairo_set_line_cap(cr, cairo_line_cap_t(op.stroke.cap));
        if (op.stroke.join >= 0 && op.stroke.join <= 2)
            cairo_set_line_join(cr, kJoins[op.stroke.join]);
        cairo_set_miter_limit(cr, op.stroke.miterLimit);
        cairo_set_line_width(cr, v[0]);
        SetPaint(op.pattern, op.Blend());
        cairo_set_operator(cr, OperatorOf(op.Blend()));
        cairo_stroke_preserve(cr);
        return EndPath(op.stroke.keepPath);
    }
    case Kind::Fill:
        if (emptyGradient)
            return EndPath(op.fill.keepPath);
        cairo_set_fill_rule(cr, op.fill.fillRule == ui::IFillStyle::EvenOdd || hole
                                    ? CAIRO_FILL_RULE_EVEN_ODD
                                    : CAIRO_FILL_RULE_WINDING);
        SetPaint(op.pattern, op.Blend());
        cairo_set_operator(cr, OperatorOf(op.Blend()));
        cairo_fill_preserve(cr);
        return EndPath(op.fill.keepPath);
    case Kind::Transform:
        return SetTransform(op.matrix);
    case Kind::Clip:
        return SetClip(op.rect);
    case Kind::Text:
        return Text(op, false);
    case Kind::WrappedText:
        return Text(op, true);
    case Kind::Bitmap:
        return Bitmap(op);
    case Kind::RectShadow:
        ++skipped;
        return;
    }
}

void CairoReplay::Text(const DrawOp& op, bool wrapped) {
    const auto found = faces.find(op.text.font);
    if (found == faces.end() || op.str.empty()) {
        skipped += !op.str.empty();
        return;
    }
    const Face& face = *found->second;
    const ui::IText& t = op.text;
    const ui::IRECT& r = op.rect;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_set_font_face(cr, face.face);
    cairo_set_font_size(cr, t.size * face.emPerSize);
    SetColor(cr, t.FGColor, op.blend ? op.blend->weight : 1.f);
    cairo_set_operator(cr, OperatorOf(op.Blend()));

    // Rows: the whole string, or words wrapped to the rectangle's width.
    std::vector<std::string> rows;
    if (!wrapped) {
        rows.push_back(op.str);
    } else {
        std::istringstream words(op.str);
        std::string row;
        for (std::string word; words >> word;) {
            const std::string wider = row.empty() ? word : row + " " + word;
            cairo_text_extents_t e;
            cairo_text_extents(cr, wider.c_str(), &e);
            if (!row.empty() && e.x_advance > r.W()) {
                rows.push_back(row);
                row = word;
            } else {
                row = wider;
            }
        }
        if (!row.empty())
            rows.push_back(row);
    }
    const float line = t.size * (face.ascender - face.descender);
    float y = t.vAlign == 1 ? r.MH() : t.vAlign == 2 ? r.B : r.T;
    if (wrapped)
        y -= line * float(rows.size()) * (t.vAlign == 1 ? 0.5f : t.vAlign == 2 ? 1.f : 0.f);
    const float baseline = t.vAlign == 1 && !wrapped   ? (face.ascender + face.descender) / 2.f
                           : t.vAlign == 2 && !wrapped ? face.descender
                                                       : face.ascender;
    for (const std::string& row : rows) {
        cairo_text_extents_t e;
        cairo_text_extents(cr, row.c_str(), &e);
        const double x = t.align == 0   ? r.L
                         : t.align == 2 ? r.R - e.x_advance
                                        : r.MW() - e.x_advance / 2.0;
        cairo_move_to(cr, x, y + baseline * t.size);
        cairo_show_text(cr, row.c_str());
        y += line;
    }
    cairo_restore(cr);
}

void CairoReplay::Bitmap(const DrawOp& op) {
    const ui::APIBitmap* a = op.bitmap.bitmap;
    const auto found = images.find(a);
    if (!a || found == images.end() || a->scale <= 0.f || a->drawScale <= 0.f) {
        ++skipped;
        return;
    }
    const double k = 1.0 / (double(a->scale) * double(a->drawScale));
    const ui::IRECT& d = op.rect;
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(found->second);
    cairo_matrix_t m;
    cairo_matrix_init(&m, 1.0 / k, 0, 0, 1.0 / k, -(d.L - op.i) / k, -(d.T - op.v[0]) / k);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, d.L, d.T, d.R - d.L, d.B - d.T);
    cairo_set_source(cr, pattern);
    cairo_set_operator(cr, OperatorOf(op.Blend()));
    const float alpha = op.blend ? op.blend->weight : 1.f;
    if (alpha >= 1.f) {
        cairo_fill(cr);
    } else {
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
}

std::vector<unsigned char> CairoReplay::Pixels(int* width, int* height) const {
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<unsigned char> rgba(size_t(w) * size_t(h) * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t argb = 0;
            std::memcpy(&argb, data + y * stride + x * 4, 4);
            const uint32_t a = argb >> 24;
            unsigned char* out = &rgba[(size_t(y) * size_t(w) + x) * 4];
            for (int c = 0; c < 3; ++c) {
                const uint32_t v = (argb >> (16 - 8 * c)) & 0xFF;
                out[c] = static_cast<unsigned char>(a ? std::min(255u, (v * 255 + a / 2) / a) : 0);
            }
            out[3] = static_cast<unsigned char>(a);
        }
    if (width)
        *width = w;
    if (height)
        *height = h;
    return rgba;
}

} // namespace bench
