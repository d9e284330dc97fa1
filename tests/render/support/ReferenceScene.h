#pragma once

// The reference scene of the renderer's benchmark and largest golden: a
// full-size background image, 6 gradient panels, 40 knobs with radial
// gradients and arcs, and 100 labels, laid out on 1920×1200 and scaled to
// the frame. The layout is data so other painters can draw the same scene.

#include "render/vg/VGContext.h"

#include <string>
#include <vector>

namespace render_test {

struct SceneRect {
    float x, y, w, h;
};

struct SceneKnob {
    float cx, cy, r;
    float value; // 0..1 of the arc
    float hue;
};

struct SceneLabel {
    float x, y;
    std::string text;
};

struct ReferenceLayout {
    static constexpr int kWidth = 1920, kHeight = 1200;
    std::vector<SceneRect> panels;
    std::vector<SceneKnob> knobs;
    std::vector<SceneLabel> labels;
    std::vector<unsigned char> background; // kWidth × kHeight RGBA, straight alpha

    ReferenceLayout();
};

const ReferenceLayout& reference_layout();

class ReferenceScene {
public:
    // Makes the background image and loads the font into the context.
    explicit ReferenceScene(VGdrawContext* ctx);
    ~ReferenceScene();
    ReferenceScene(const ReferenceScene&) = delete;
    ReferenceScene& operator=(const ReferenceScene&) = delete;

    bool ready() const { return image_ > 0 && font_ >= 0; }
    // Draws inside a frame of w×h points (already begun).
    void draw(float w, float h) const;

private:
    VGdrawContext* ctx_;
    int image_ = 0;
    int font_ = -1;
};

} // namespace render_test
