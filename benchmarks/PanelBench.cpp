// The real panel, as the layout builds it at start-up, drawn whole on the
// headless vector back end: 1920 x 1200 units at panel scale 1 on a screen of
// scale 2, every control dirty, each frame timed until its pixels are done.
// One frame's drawing calls are then recorded and played again, into the
// vector back end and into a cairo version of the same calls; both replays
// are written as PNGs to build/test-output/bench/. Last, one knob is turned
// as the pedal turns it (its value set from the editor side) and the frame
// that follows drawn and presented.
// Goals: a full frame under 8 ms and faster than cairo doing the same work
// (drawing and presenting the whole frame); a knob frame under 2 ms. No
// figure decides the exit status. "--once": one frame each.

#include "benchmarks/CairoReplay.h"
#include "benchmarks/RecordingCanvasVG.h"
#include "controls/IKnobControlBase.h"
#include "device/OmnarControl.h"
#include "platform/sys/Folders.h"
#include "tests/device/LibraryFixtures.h"
#include "tests/render/support/TestAssets.h"
#include "toolkit/IBitmapControl.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

namespace {

using bench::RecordingCanvasVG;

constexpr int kWidth = 1920, kHeight = 1200;
constexpr float kScreenScale = 2.f;

// The editor with its panel open on a fresh user's folders.
class Panel {
public:
    Panel() {
        std::filesystem::create_directories(config.Folder() + "/OmnarControl");
        std::ofstream(config.Folder() + "/OmnarControl/settings.ini") << "[GUI]\nscale=1\n";
        editor = CreatePlugInstance(vx::InstanceInfo{&host});
        editor->SetMakeGraphicsFunc([this] {
            return std::make_unique<RecordingCanvasVG>(*editor, kWidth, kHeight, 1.f, kScreenScale);
        });
        editor->OpenEditor(nullptr);
    }
    ~Panel() { editor->CloseEditor(); }
    RecordingCanvasVG& Canvas() { return static_cast<RecordingCanvasVG&>(*editor->GetGraphics()); }

private:
    const omnar::test::TempDataHome data;
    const omnar::test::TempDataHome config{"XDG_CONFIG_HOME"};
    vx::test::FakeHost host;
    std::unique_ptr<OmnarControl> editor;
};

Panel* g_panel = nullptr;
bench::DrawOps g_frame;
std::unique_ptr<bench::CairoReplay> g_cairo;
// Mean milliseconds of each benchmark's last run.
double g_frameMs = 0, g_vectorMs = 0, g_cairoMs = 0, g_knobMs = 0;

double MeanMs(std::chrono::steady_clock::time_point start, benchmark::State& state) {
    const auto took = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::milli>(took).count() /
           double(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

void BM_PanelFrame(benchmark::State& state) {
    RecordingCanvasVG& canvas = g_panel->Canvas();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        canvas.MarkAllControlsDirty();
        if (!canvas.DrawFrame()) {
            state.SkipWithError("the panel drew nothing");
            return;
        }
    }
    g_frameMs = MeanMs(start, state);
    int w = 0, h = 0;
    canvas.LastFrame(&w, &h);
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h) + " pixels");
    canvas.WriteFramePNG("bench/panel-frame");
}

void BM_ReplayVector(benchmark::State& state) {
    RecordingCanvasVG& canvas = g_panel->Canvas();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        canvas.Replay(g_frame);
    g_vectorMs = MeanMs(start, state);
    state.SetLabel(std::to_string(g_frame.size()) + " calls");
    canvas.WriteFramePNG("bench/panel-replay-vector");
}

void BM_ReplayCairo(benchmark::State& state) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        g_cairo->Play(g_frame);
    g_cairoMs = MeanMs(start, state);
    state.SetLabel(std::to_string(g_frame.size()) + " calls, " +
                   std::to_string(g_cairo->Skipped()) + " left out");
    int w = 0, h = 0;
    const std::vector<unsigned char> pixels = g_cairo->Pixels(&w, &h);
    render_test::write_test_png("bench/panel-replay-cairo.png", w, h, 4, pixels.data());
}

// The shown bitmap controls whose image did not load once drawn (the
// resource folder beside the program missing or incomplete): a frame
// without them is not the panel.
int ShownControlsWithoutBitmap(RecordingCanvasVG& canvas) {
    int missing = 0;
    for (int i = 0; i < canvas.NControls(); ++i) {
        const vx::ui::IControl* c = canvas.GetControl(i);
        if (const auto* b = dynamic_cast<const vx::ui::IBitmapBase*>(c); b && !c->IsHidden())
            missing += b->GetBitmap().IsValid() ? 0 : 1;
    }
    return missing;
}

// The first knob the panel shows.
vx::ui::IControl* FirstShownKnob(RecordingCanvasVG& canvas) {
    for (int i = 0; i < canvas.NControls(); ++i) {
        vx::ui::IControl* c = canvas.GetControl(i);
        if (dynamic_cast<vx::ui::IKnobControlBase*>(c) && !c->IsHidden() && c->NVals() > 0)
            return c;
    }
    return nullptr;
}

void BM_KnobFrame(benchmark::State& state) {
    RecordingCanvasVG& canvas = g_panel->Canvas();
    vx::ui::IControl* knob = FirstShownKnob(canvas);
    if (!knob) {
        state.SkipWithError("the panel shows no knob");
        return;
    }
    canvas.MarkAllControlsDirty();
    canvas.DrawFrame(); // from a whole frame
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        // Always a new value, whatever an earlier run left.
        knob->SetValueFromEditorSide(knob->GetValue() < 0.5 ? 0.75 : 0.25);
        if (!canvas.DrawFrame()) {
            state.SkipWithError("turning the knob drew nothing");
            return;
        }
    }
    g_knobMs = MeanMs(start, state);
    const mtl::PixelRect damage = canvas.presenter->lastDamage();
    state.SetLabel(std::to_string(damage.width) + "x" + std::to_string(damage.height) +
                   " pixels presented");
    canvas.WriteFramePNG("bench/panel-knob-frame");
}

} // namespace

int main(int argc, char** argv) {
    bool once = false;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--once") == 0)
            once = true;
        else
            args.push_back(argv[i]);
    }
    Panel panel;
    g_panel = &panel;
    if (!panel.Canvas().RecordFrame()) {
        std::fprintf(stderr, "panel_bench: the panel drew nothing\n");
        return 1;
    }
    if (const int missing = ShownControlsWithoutBitmap(panel.Canvas())) {
        std::fprintf(stderr,
                     "panel_bench: %d of the panel's bitmaps did not load; the resource folder "
                     "is \"%s\" (it must be the built resources/ beside the program)\n",
                     missing, sys::ResourceFolder().c_str());
        return 1;
    }
    g_frame = panel.Canvas().Ops();
    g_cairo = std::make_unique<bench::CairoReplay>(kWidth, kHeight, kScreenScale, panel.Canvas());
    g_cairo->Play(g_frame); // glyphs cached, as the vector back end's are

    using Bench = std::pair<const char*, void (*)(benchmark::State&)>;
    for (const auto& [name, fn] :
         {Bench{"PanelFrame", BM_PanelFrame}, Bench{"ReplayVector", BM_ReplayVector},
          Bench{"ReplayCairo", BM_ReplayCairo}, Bench{"KnobFrame", BM_KnobFrame}}) {
        auto* b =
            benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
        if (once)
            b->Iterations(1);
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("panel %dx%d at screen scale %.0f: frame %.2f ms; replay of %zu calls: "
                "vector %.2f ms, cairo %.2f ms, ratio %.2f (vector / cairo); knob frame %.2f ms; "
                "goals: frame under 8 ms and faster than cairo, knob frame under 2 ms\n",
                kWidth, kHeight, double(kScreenScale), g_frameMs, g_frame.size(), g_vectorMs,
                g_cairoMs, g_cairoMs > 0 ? g_vectorMs / g_cairoMs : 0.0, g_knobMs);
    g_cairo.reset();
    g_frame.clear();
    return 0;
}
