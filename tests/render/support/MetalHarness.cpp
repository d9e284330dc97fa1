#include "tests/render/support/MetalHarness.h"

#include "tests/render/support/TestAssets.h"

#include <cstdlib>
#include <filesystem>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace render_test {

MetalHarness::MetalHarness(int flags, int layerWidth, int layerHeight) {
    layer->setDevice(device);
    layer->setPresenter(presenter);
    layer->drawableSize = {size_t(layerWidth), size_t(layerHeight), 1};
    ctx.reset(vgmtl_create_context(layer, flags));
}

std::vector<unsigned char>
MetalHarness::renderOffscreen(int w, int h, float ratio,
                              const std::function<void(VGdrawContext*)>& draw, VGcolor clear) {
    const int pw = static_cast<int>(w * ratio), ph = static_cast<int>(h * ratio);
    MVGoffscreen* target = vgmtl_create_offscreen(ctx.get(), pw, ph, 0);
    vgmtl_bind_offscreen(target);
    vgmtl_clear_with_color(ctx.get(), clear);
    vg_begin_frame(ctx.get(), float(w), float(h), ratio);
    draw(ctx.get());
    vg_end_frame(ctx.get());
    std::vector<unsigned char> pixels(size_t(pw) * ph * 4);
    vgmtl_read_pixels(ctx.get(), target->image, 0, 0, pw, ph, pixels.data());
    vgmtl_bind_offscreen(nullptr);
    vgmtl_delete_offscreen(target);
    return pixels;
}

bool matches_golden(const std::string& name, int width, int height,
                    const std::vector<unsigned char>& rgba, std::string& message) {
    return matches_golden_in(OMNAR_GOLDEN_DIR, name, width, height, rgba, message);
}

bool matches_golden_in(const std::string& folder, const std::string& name, int width, int height,
                       const std::vector<unsigned char>& rgba, std::string& message) {
    write_test_png(name + ".png", width, height, 4, rgba.data());
    const std::string golden = folder + "/" + name + ".png";
    const char* update = std::getenv("OMNAR_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::filesystem::create_directories(folder);
        stbi_write_png(golden.c_str(), width, height, 4, rgba.data(), width * 4);
        return true;
    }
    int gw = 0, gh = 0, channels = 0;
    unsigned char* expected = stbi_load(golden.c_str(), &gw, &gh, &channels, 4);
    if (!expected) {
        message = "no golden image " + golden + " (run with OMNAR_UPDATE_GOLDEN=1)";
        return false;
    }
    bool same = gw == width && gh == height;
    int differing = 0;
    std::vector<unsigned char> diff(size_t(width) * height * 4, 255);
    for (size_t i = 0; same && i < rgba.size(); i += 4) {
        const bool pixelSame = std::equal(rgba.begin() + i, rgba.begin() + i + 4, expected + i);
        differing += !pixelSame;
        diff[i] = pixelSame ? 0 : 255;
        diff[i + 1] = diff[i + 2] = 0;
    }
    if (same && differing == 0) {
        stbi_image_free(expected);
        return true;
    }
    if (gw > 0 && gh > 0)
        write_test_png(name + ".expected.png", gw, gh, 4, expected);
    write_test_png(name + ".diff.png", width, height, 4, diff.data());
    stbi_image_free(expected);
    message = name + ": " + std::to_string(differing) + " pixels differ from " + golden +
              (same ? "" : " (size differs)");
    return false;
}

} // namespace render_test
