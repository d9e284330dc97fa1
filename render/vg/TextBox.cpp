#include "render/vg/VGText.h"
#include "render/vg/VGTextInternal.h"

#include <algorithm>

namespace {

constexpr int kHorizontal = VG_ALIGN_LEFT | VG_ALIGN_CENTER | VG_ALIGN_RIGHT;
constexpr int kRowsPerCall = 2;

// For the life of a box operation the rows are laid out from their left edge
// and the box places them itself; the caller's align flags come back after.
class BoxLayout {
public:
    explicit BoxLayout(VGdrawContext* ctx) : state_(vg_state(ctx)), align_(state_.textAlign) {
        vg_text_metrics(ctx, nullptr, nullptr, &lineh_);
        state_.textAlign = VG_ALIGN_LEFT | (align_ & ~kHorizontal);
    }
    ~BoxLayout() { state_.textAlign = align_; }
    BoxLayout(const BoxLayout&) = delete;
    BoxLayout& operator=(const BoxLayout&) = delete;

    // Offset of a row within the box; false when no horizontal flag is set.
    bool row_offset(float boxWidth, float rowWidth, float* dx) const {
        if (align_ & VG_ALIGN_LEFT)
            *dx = 0;
        else if (align_ & VG_ALIGN_CENTER)
            *dx = boxWidth * 0.5f - rowWidth * 0.5f;
        else if (align_ & VG_ALIGN_RIGHT)
            *dx = boxWidth - rowWidth;
        else
            return false;
        return true;
    }

    float row_advance() const { return lineh_ * state_.lineHeight; }

private:
    VGdrawState& state_;
    const int align_;
    float lineh_ = 0;
};

// Walks the rows of a box two at a time; stops when a call makes no progress.
template <class RowFn>
void for_each_row(VGdrawContext* ctx, const char* string, const char* end, float breakRowWidth,
                  RowFn&& fn) {
    VGwrapRow rows[kRowsPerCall];
    int nrows;
    while ((nrows = vg_text_break_lines(ctx, string, end, breakRowWidth, rows, kRowsPerCall))) {
        for (int i = 0; i < nrows; ++i)
            fn(rows[i]);
        const char* next = rows[nrows - 1].next;
        if (next <= string)
            break;
        string = next;
    }
}

} // namespace

void vg_text_box(VGdrawContext* ctx, float x, float y, float breakRowWidth, const char* string,
                 const char* end) {
    if (!vg_has_font(ctx))
        return;
    vg_text_range(&string, &end);
    const BoxLayout box(ctx);
    for_each_row(ctx, string, end, breakRowWidth, [&](const VGwrapRow& row) {
        float dx = 0;
        if (box.row_offset(breakRowWidth, row.width, &dx))
            vg_text(ctx, x + dx, y, row.start, row.end);
        y += box.row_advance();
    });
}

void vg_text_box_bounds(VGdrawContext* ctx, float x, float y, float breakRowWidth,
                        const char* string, const char* end, float* bounds) {
    if (!vg_has_font(ctx)) {
        if (bounds)
            std::fill(bounds, bounds + 4, 0.0f);
        return;
    }
    vg_text_range(&string, &end);
    const BoxLayout box(ctx);
    const float scale = vg_text_scale(ctx);
    const float invscale = 1.0f / scale;
    vg_apply_text_state(ctx, scale);
    float rminy = 0, rmaxy = 0;
    glyphatlas_line_bounds(ctx->fs.get(), 0, &rminy, &rmaxy);
    rminy *= invscale;
    rmaxy *= invscale;

    float minx = x, maxx = x, miny = y, maxy = y;
    for_each_row(ctx, string, end, breakRowWidth, [&](const VGwrapRow& row) {
        float dx = 0;
        box.row_offset(breakRowWidth, row.width, &dx);
        minx = std::min(minx, x + row.minx + dx);
        maxx = std::max(maxx, x + row.maxx + dx);
        miny = std::min(miny, y + rminy);
        maxy = std::max(maxy, y + rmaxy);
        y += box.row_advance();
    });
    if (bounds) {
        bounds[0] = minx;
        bounds[1] = miny;
        bounds[2] = maxx;
        bounds[3] = maxy;
    }
}
