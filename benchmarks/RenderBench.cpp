// The renderer against cairo on the reference scene, 1920×1200, one core.
// Prints both frame times and their ratio; no figure decides the exit code.

#include "tests/render/support/MetalHarness.h"
#include "tests/render/support/ReferenceScene.h"

#include "render/vg/VG.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

using render_test::MetalHarness;
using render_test::ReferenceLayout;
using render_test::ReferenceScene;

namespace {

constexpr int kW = ReferenceLayout::kWidth, kH = ReferenceLayout::kHeight;

// Mean milliseconds per frame of each benchmark's last run.
double g_rendererMs = 0, g_cairoMs = 0, g_copyMs = 0;

struct Timer {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    double ms() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    }
};

// Draws one frame into the target and waits until its pixels are done.
void renderer_frame(MetalHarness& h, const ReferenceScene& scene, MVGoffscreen* target) {
    vgmtl_bind_offscreen(target);
    vgmtl_clear_with_color(h.ctx.get(), vg_rgba(0, 0, 0, 255));
    vg_begin_frame(h.ctx.get(), kW, kH, 1);
    scene.draw(kW, kH);
    vg_end_frame(h.ctx.get());
    vgmtl_bind_offscreen(nullptr);
    vgmtl_texture_of_image(h.ctx.get(), target->image);
}

void BM_RendererFrame(benchmark::State& state) {
    MetalHarness h(VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER, kW, kH);
    ReferenceScene scene(h.ctx.get());
    MVGoffscreen* target = vgmtl_create_offscreen(h.ctx.get(), kW, kH, 0);
    renderer_frame(h, scene, target); // images uploaded, glyphs in the atlas
    Timer timer;
    for (auto _ : state)
        renderer_frame(h, scene, target);
    g_rendererMs = timer.ms() / double(state.iterations());
    vgmtl_delete_offscreen(target);
}

// The toolkit's second frame: the back buffer as one rectangle into a drawable.
void BM_DrawableCopy(benchmark::State& state) {
    MetalHarness h(VGMTL_ANTIALIAS | VGMTL_TRIPLE_BUFFER, kW, kH);
    ReferenceScene scene(h.ctx.get());
    MVGoffscreen* back = vgmtl_create_offscreen(h.ctx.get(), kW, kH, 0);
    renderer_frame(h, scene, back);
    Timer timer;
    for (auto _ : state) {
        VGdrawContext* c = h.ctx.get();
        vg_begin_frame(c, kW, kH, 1);
        vg_begin_path(c);
        vg_rect(c, 0, 0, kW, kH);
        vg_fill_paint(c, vg_image_pattern(c, 0, 0, kW, kH, 0, back->image, 1));
        vg_fill(c);
        vg_end_frame(c);
        // The queue runs in order: a later empty buffer completes after the frame.
        auto marker = vgmtl_command_queue(c)->commandBuffer();
        marker->commit();
        marker->waitUntilCompleted();
    }
    g_copyMs = timer.ms() / double(state.iterations());
    vgmtl_delete_offscreen(back);
}

cairo_surface_t* background_surface() {
    const ReferenceLayout& l = render_test::reference_layout();
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kW, kH);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const unsigned char* p = &l.background[(size_t(y) * kW + x) * 4];
            const uint32_t argb = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 |
                                  uint32_t(p[1]) << 8 | p[2]; // opaque: no premultiplying
            std::memcpy(data + y * stride + x * 4, &argb, 4);
        }
    cairo_surface_mark_dirty(s);
    return s;
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void cairo_frame(cairo_t* cr, cairo_surface_t* background) {
    const ReferenceLayout& l = render_test::reference_layout();
    cairo_set_source_surface(cr, background, 0, 0);
    cairo_paint(cr);
    for (const auto& p : l.panels) {
        cairo_pattern_t* g = cairo_pattern_create_linear(p.x, p.y, p.x, p.y + p.h);
        cairo_pattern_add_color_stop_rgba(g, 0, 70 / 255.0, 74 / 255.0, 84 / 255.0, 230 / 255.0);
        cairo_pattern_add_color_stop_rgba(g, 1, 36 / 255.0, 38 / 255.0, 44 / 255.0, 230 / 255.0);
        rounded_rect(cr, p.x, p.y, p.w, p.h, 12);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    cairo_set_line_width(cr, 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const auto& k : l.knobs) {
        cairo_pattern_t* g = cairo_pattern_create_radial(
            k.cx - k.r * 0.3, k.cy - k.r * 0.3, 4, k.cx - k.r * 0.3, k.cy - k.r * 0.3, k.r * 1.2);
        cairo_pattern_add_color_stop_rgb(g, 0, 200 / 255.0, 200 / 255.0, 205 / 255.0);
        cairo_pattern_add_color_stop_rgb(g, 1, 40 / 255.0, 40 / 255.0, 46 / 255.0);
        cairo_arc(cr, k.cx, k.cy, k.r, 0, 2 * M_PI);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        const double a0 = 0.75 * M_PI;
        cairo_arc(cr, k.cx, k.cy, k.r + 8, a0, a0 + k.value * 1.5 * M_PI);
        cairo_set_source_rgb(cr, 0.3 + 0.6 * k.hue, 0.7 - 0.4 * k.hue, 0.5);
        cairo_stroke(cr);
    }
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 18);
    cairo_set_source_rgb(cr, 230 / 255.0, 230 / 255.0, 230 / 255.0);
    for (const auto& t : l.labels) {
        cairo_move_to(cr, t.x, t.y);
        cairo_show_text(cr, t.text.c_str());
    }
    cairo_surface_flush(cairo_get_target(cr));
}

void BM_CairoFrame(benchmark::State& state) {
    cairo_surface_t* background = background_surface();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kW, kH);
    cairo_t* cr = cairo_create(surface);
    cairo_frame(cr, background); // glyphs cached first
    Timer timer;
    for (auto _ : state)
        cairo_frame(cr, background);
    g_cairoMs = timer.ms() / double(state.iterations());
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    cairo_surface_destroy(background);
}

} // namespace

int main(int argc, char** argv) {
    // "--once": one iteration each, as CTest runs it.
    bool once = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--once") == 0)
            once = true;
    const auto add = [&](const char* name, void (*fn)(benchmark::State&)) {
        auto* b = benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond);
        if (once)
            b->Iterations(1);
    };
    add("RendererFrame", BM_RendererFrame);
    add("CairoFrame", BM_CairoFrame);
    add("DrawableCopy", BM_DrawableCopy);
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i)
        if (std::strcmp(argv[i], "--once") != 0)
            args.push_back(argv[i]);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("reference scene 1920x1200: renderer %.2f ms, cairo %.2f ms, ratio %.2f "
                "(renderer / cairo); drawable copy %.2f ms\n",
                g_rendererMs, g_cairoMs, g_cairoMs > 0 ? g_rendererMs / g_cairoMs : 0.0, g_copyMs);
    return 0;
}
