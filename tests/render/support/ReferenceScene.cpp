#include "tests/render/support/ReferenceScene.h"

#include "render/vg/VG.h"
#include "tests/render/support/TestAssets.h"

#include <cmath>

namespace render_test {

namespace {

constexpr float kPi = 3.14159265f;

std::vector<unsigned char> make_background() {
    const int w = ReferenceLayout::kWidth, h = ReferenceLayout::kHeight;
    std::vector<unsigned char> rgba(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &rgba[(size_t(y) * w + x) * 4];
            const int tile = ((x / 48) + (y / 48)) % 2;
            p[0] = static_cast<unsigned char>(30 + x * 40 / w + tile * 6);
            p[1] = static_cast<unsigned char>(34 + y * 30 / h + tile * 6);
            p[2] = static_cast<unsigned char>(48 + tile * 8);
            p[3] = 255;
        }
    return rgba;
}

} // namespace

ReferenceLayout::ReferenceLayout() : background(make_background()) {
    for (int i = 0; i < 6; ++i)
        panels.push_back({40.0f + (i % 3) * 620.0f, 60.0f + (i / 3) * 560.0f, 600, 520});
    for (int i = 0; i < 40; ++i) {
        const SceneRect& p = panels[i % 6];
        const int slot = i / 6;
        knobs.push_back({p.x + 80 + (slot % 4) * 140.0f, p.y + 120 + (slot / 4) * 200.0f, 46,
                         float((i * 37) % 100) / 100.0f, float(i) / 40.0f});
    }
    static const char* words[] = {"Gain",  "Bass",  "Middle", "Treble", "Level",
                                  "Drive", "Blend", "Comp",   "Gate",   "Presence"};
    for (int i = 0; i < 100; ++i) {
        const SceneRect& p = panels[i % 6];
        labels.push_back({p.x + 20 + (i / 6 % 4) * 140.0f, p.y + 40 + (i / 24) * 130.0f,
                          std::string(words[i % 10]) + " " + std::to_string(i)});
    }
}

const ReferenceLayout& reference_layout() {
    static const ReferenceLayout layout;
    return layout;
}

ReferenceScene::ReferenceScene(VGdrawContext* ctx) : ctx_(ctx) {
    const ReferenceLayout& l = reference_layout();
    image_ = vg_create_image_rgba(ctx, l.kWidth, l.kHeight, 0, l.background.data());
    font_ = vg_create_font(ctx, "sans", kDejaVuSans);
}

ReferenceScene::~ReferenceScene() {
    if (image_ > 0)
        vg_delete_image(ctx_, image_);
}

void ReferenceScene::draw(float w, float h) const {
    const ReferenceLayout& l = reference_layout();
    VGdrawContext* c = ctx_;
    vg_save(c);
    vg_scale(c, w / l.kWidth, h / l.kHeight);
    vg_begin_path(c);
    vg_rect(c, 0, 0, l.kWidth, l.kHeight);
    vg_fill_paint(c, vg_image_pattern(c, 0, 0, l.kWidth, l.kHeight, 0, image_, 1));
    vg_fill(c);
    for (size_t i = 0; i < l.panels.size(); ++i) {
        const SceneRect& p = l.panels[i];
        vg_begin_path(c);
        vg_rounded_rect(c, p.x, p.y, p.w, p.h, 12);
        vg_fill_paint(c, vg_linear_gradient(c, p.x, p.y, p.x, p.y + p.h, vg_rgba(70, 74, 84, 230),
                                            vg_rgba(36, 38, 44, 230)));
        vg_fill(c);
    }
    for (const SceneKnob& k : l.knobs) {
        vg_begin_path(c);
        vg_circle(c, k.cx, k.cy, k.r);
        vg_fill_paint(c, vg_radial_gradient(c, k.cx - k.r * 0.3f, k.cy - k.r * 0.3f, 4, k.r * 1.2f,
                                            vg_rgb(200, 200, 205), vg_rgb(40, 40, 46)));
        vg_fill(c);
        const float a0 = 0.75f * kPi, a1 = a0 + k.value * 1.5f * kPi;
        vg_begin_path(c);
        vg_arc(c, k.cx, k.cy, k.r + 8, a0, a1, VG_CW);
        vg_stroke_color(c, vg_hsl(k.hue, 0.7f, 0.55f));
        vg_set_stroke_width(c, 5);
        vg_set_line_cap(c, VG_ROUND);
        vg_stroke(c);
    }
    vg_font_face(c, "sans");
    vg_font_size(c, 18);
    vg_fill_color(c, vg_rgb(230, 230, 230));
    vg_text_align(c, VG_ALIGN_LEFT | VG_ALIGN_BASELINE);
    for (const SceneLabel& t : l.labels)
        vg_text(c, t.x, t.y, t.text.c_str(), nullptr);
    vg_restore(c);
}

} // namespace render_test
