#pragma once

// A renderer context on the Metal back end with its own device and a
// headless layer, and a helper drawing one frame into an off-screen target.

#include "render/metal/MVGcontext.h"
#include "render/metal/VGMetal.h"
#include "tests/render/support/ContextHandle.h"

#include <functional>
#include <string>
#include <vector>

namespace render_test {

struct MetalHarness {
    explicit MetalHarness(int flags = VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER, int layerWidth = 64,
                          int layerHeight = 64);

    std::shared_ptr<mtl::Device> device = std::make_shared<mtl::Device>();
    std::shared_ptr<mtl::MetalLayer> layer = std::make_shared<mtl::MetalLayer>();
    std::shared_ptr<mtl::HeadlessPresenter> presenter = std::make_shared<mtl::HeadlessPresenter>();
    ContextPtr ctx;

    MVGcontext& renderer() const { return *vgmtl_renderer(ctx.get()); }

    // One frame of w×h points at the ratio, cleared to `clear`, drawn into a
    // fresh off-screen target; answers its RGBA pixels.
    std::vector<unsigned char> renderOffscreen(int w, int h, float ratio,
                                               const std::function<void(VGdrawContext*)>& draw,
                                               VGcolor clear = VGcolor{{{0, 0, 0, 0}}});
};

// Compares RGBA pixels with tests/render/golden/<name>.png exactly and
// writes them to build/test-output/<name>.png (on a mismatch also the
// expected image and a difference image). OMNAR_UPDATE_GOLDEN=1 rewrites the
// golden. False with a reason in `message` on a mismatch.
bool matches_golden(const std::string& name, int width, int height,
                    const std::vector<unsigned char>& rgba, std::string& message);
// The same against <folder>/<name>.png, for goldens kept beside other tests.
bool matches_golden_in(const std::string& folder, const std::string& name, int width, int height,
                       const std::vector<unsigned char>& rgba, std::string& message);

} // namespace render_test
