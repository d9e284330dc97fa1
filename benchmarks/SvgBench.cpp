// Parsing an SVG whose one shape has many sub-paths: the hole classification
// runs once per parse, and must stay far from the old cost of seconds a draw.
#include "toolkit/svg/SvgImage.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A grid of small squares inside one large square: every square a sub-path of
// one path element.
std::string GridDocument(int side) {
    std::string d = "M0 0 H" + std::to_string(side * 4) + " V" + std::to_string(side * 4) + " H0 Z";
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            d += " M" + std::to_string(column * 4 + 1) + " " + std::to_string(row * 4 + 1) +
                 " h2 v2 h-2 Z";
    return "<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"" + d + "\"/></svg>";
}

void BM_ParseManySubPaths(benchmark::State& state) {
    const std::string document = GridDocument(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto parsed = vx::ui::svg::Parse(document.data(), document.size());
        benchmark::DoNotOptimize(parsed.image);
    }
    state.SetLabel(std::to_string(state.range(0) * state.range(0) + 1) + " sub-paths");
}
BENCHMARK(BM_ParseManySubPaths)->Arg(20)->Arg(60)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
