// The real panel, as the layout builds it at start-up, drawn whole on the
// headless vector back end: 1920 x 1200 units at panel scale 1 on a screen of
// scale 2, every control dirty, each frame timed until its pixels are done.
// Goal: under 4 ms. No figure decides the exit status. "--once": one frame.

#include "device/OmnarControl.h"
#include "tests/device/LibraryFixtures.h"
#include "tests/support/HeadlessCanvas.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

using vx::test::AttachingHeadlessCanvas;

void BM_PanelFrame(benchmark::State& state) {
    const omnar::test::TempDataHome data;
    const omnar::test::TempDataHome config("XDG_CONFIG_HOME");
    std::filesystem::create_directories(config.Folder() + "/OmnarControl");
    std::ofstream(config.Folder() + "/OmnarControl/settings.ini") << "[GUI]\nscale=1\n";

    vx::test::FakeHost host;
    std::unique_ptr<OmnarControl> editor = CreatePlugInstance(vx::InstanceInfo{&host});
    editor->SetMakeGraphicsFunc([&editor] {
        return std::make_unique<AttachingHeadlessCanvas>(*editor, 1920, 1200, 1.f, 2.f);
    });
    editor->OpenEditor(nullptr);
    auto& canvas = static_cast<AttachingHeadlessCanvas&>(*editor->GetGraphics());
    for (auto _ : state) {
        canvas.MarkAllControlsDirty();
        if (!canvas.DrawFrame()) {
            state.SkipWithError("the panel drew nothing");
            break;
        }
    }
    int w = 0, h = 0;
    canvas.LastFrame(&w, &h);
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h) + " pixels");
    canvas.WriteFramePNG("bench/panel-frame");
    editor->CloseEditor();
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
    auto* bench = benchmark::RegisterBenchmark("PanelFrame", BM_PanelFrame)
                      ->Unit(benchmark::kMillisecond)
                      ->UseRealTime();
    if (once)
        bench->Iterations(1);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
