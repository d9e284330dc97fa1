#include "controls/IDynamicsResponseGraph.h"
#include "controls/IFreqResponseGraph.h"
#include "controls/RadixTwoFFT.h"
#include "tests/controls/ControlsTest.h"

#include <cmath>
#include <complex>
#include <cstdlib>
#include <functional>
#include <numbers>

namespace vx::test {
namespace {

using ui::IColor;
using ui::IFreqResponseGraph;
using ui::IRECT;

constexpr IColor kCurve{255, 0, 200, 0};

std::vector<double> Impulse(int n, double amplitude = 1.0) {
    std::vector<double> block(static_cast<size_t>(n), 0.0);
    block[0] = amplitude;
    return block;
}

TEST(RadixTwoFFT, MatchesADirectTransformAndInvertsExactly) {
    for (int n : {16, 64}) {
        std::vector<double> re(static_cast<size_t>(n)), im(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            re[size_t(i)] = std::sin(0.3 * i) + 0.25 * (i % 5);
            im[size_t(i)] = std::cos(1.7 * i) * 0.5;
        }
        const std::vector<double> re0 = re, im0 = im;
        ui::RadixTwoFFT(re, im);
        for (int k = 0; k < n; ++k) {
            std::complex<double> sum;
            for (int t = 0; t < n; ++t)
                sum += std::complex<double>(re0[size_t(t)], im0[size_t(t)]) *
                       std::polar(1.0, -2.0 * std::numbers::pi * k * t / n);
            EXPECT_NEAR(re[size_t(k)], sum.real(), 1e-9) << "N " << n << " bin " << k;
            EXPECT_NEAR(im[size_t(k)], sum.imag(), 1e-9) << "N " << n << " bin " << k;
        }
        ui::RadixTwoFFT(re, im, true);
        for (int i = 0; i < n; ++i) {
            EXPECT_NEAR(re[size_t(i)], re0[size_t(i)], 1e-12);
            EXPECT_NEAR(im[size_t(i)], im0[size_t(i)], 1e-12);
        }
    }
}

TEST(RadixTwoFFT, OrderIsTheExactLogarithm) {
    struct Case {
        int n, order;
    };
    for (const Case& c : {Case{1, 0}, Case{16, 4}, Case{4096, 12}, Case{65536, 16}, Case{0, -1},
                          Case{-16, -1}, Case{1000, -1}, Case{4095, -1}})
        EXPECT_EQ(ui::ExactLog2(c.n), c.order) << c.n;
}

// The panel's graph: 4096 points, rectangular window, 20 Hz..20480 Hz, 100 dB
// range, 30 dB at the top, no smoothing.
class SpectrumTest : public ControlsTest {
protected:
    IFreqResponseGraph* PanelGraph(const IRECT& r = {0, 0, 672, 450}, int n = 4096) {
        auto* graph = Attach(new IFreqResponseGraph(r, kCurve, n, 0));
        graph->SetRanges(20.0, 20480.0, 100.0, 30.0);
        graph->SetNoSmoothing(1);
        return graph;
    }
    // The readout's two texts, each with its rectangle.
    std::vector<std::string> Readout(IFreqResponseGraph* graph, float x, float y) {
        graph->OnMouseOver(x, y, {});
        canvas.ClearCalls();
        graph->Draw(canvas);
        std::vector<std::string> texts;
        for (const std::string& call : canvas.CallsStartingWith("DrawTextString "))
            if (call.find("Freq:") != std::string::npos || call.find("Gain:") != std::string::npos)
                texts.push_back(call.substr(15));
        return texts;
    }
};

TEST_F(SpectrumTest, UnitImpulseIsFlatAtZeroDecibels) {
    auto* graph = PanelGraph();
    const std::vector<double> block = Impulse(4096);
    graph->ProcessBlock(block.data());
    ASSERT_EQ(graph->ColumnY().size(), 672u);
    for (double y : graph->ColumnY())
        ASSERT_NEAR(y, 135.0, 1e-6);
    EXPECT_NEAR(graph->InverseMaxMagnitude(), 1.0, 1e-12);
    canvas.ClearCalls();
    graph->Draw(canvas);
    EXPECT_EQ(canvas.CallsStartingWith("DrawLine").size(), 671u);
}

TEST_F(SpectrumTest, SilenceDrawsNoCurveAndKeepsTheScale) {
    auto* graph = PanelGraph();
    const std::vector<double> half = Impulse(4096, 0.5), silence(4096, 0.0);
    graph->ProcessBlock(half.data());
    EXPECT_NEAR(graph->InverseMaxMagnitude(), 2.0, 1e-12);
    graph->ProcessBlock(silence.data());
    EXPECT_NEAR(graph->InverseMaxMagnitude(), 2.0, 1e-12);
    for (double y : graph->ColumnY())
        ASSERT_EQ(y, 450.0);
    canvas.ClearCalls();
    graph->Draw(canvas);
    EXPECT_TRUE(canvas.CallsStartingWith("DrawLine").empty());
}

TEST_F(SpectrumTest, BadSamplesAndNullBlocks) {
    auto* graph = PanelGraph();
    std::vector<double> block = Impulse(4096);
    block[7] = std::nan("");
    block[9] = INFINITY;
    graph->SetSampleRate(0.0);
    graph->SetSampleRate(std::nan(""));
    graph->ProcessBlock(block.data());
    for (double y : graph->ColumnY())
        ASSERT_NEAR(y, 135.0, 1e-6) << "non-finite samples count as 0; bad rates are ignored";
    graph->SetClean();
    graph->ProcessBlock(nullptr);
    EXPECT_FALSE(graph->IsDirty());
}

TEST_F(SpectrumTest, CosineAtBinHundredPeaksWhereTheReadoutSaysItsFrequency) {
    auto* graph = PanelGraph();
    std::vector<double> block(4096);
    for (int i = 0; i < 4096; ++i)
        block[size_t(i)] = std::cos(2.0 * std::numbers::pi * 100.0 * i / 4096.0);
    graph->ProcessBlock(block.data());
    const auto y = graph->ColumnY();
    const size_t peak = size_t(std::min_element(y.begin(), y.end()) - y.begin());
    const auto texts = Readout(graph, float(peak), 300.f);
    ASSERT_EQ(texts.size(), 2u);
    ASSERT_EQ(texts[0].rfind("Freq: ", 0), 0u) << texts[0];
    const double khz = std::atof(texts[0].c_str() + 6);
    const double binHz = 100.0 * 44100.0 / 4096.0; // 1.077 kHz
    const double columnRatio = std::pow(1024.0, 1.0 / 672.0);
    EXPECT_LT(std::fabs(std::log(khz * 1000.0 / binHz)), std::log(columnRatio)) << texts[0];
    EXPECT_NE(texts[0].find("kHz"), std::string::npos);
}

TEST_F(SpectrumTest, ReadoutFormatsAndFlipsNearTheRightEdge) {
    auto* graph = PanelGraph({0, 0, 1000, 100});
    struct Case {
        double lo, hi;
        float x;
        const char* freq;
        float boxLeft;
    };
    const Case cases[] = {
        {1000, 2000, 585, "Freq: 1.500 kHz", 595},
        {999, 1998, 0, "Freq:  999 Hz", 10},
        {1000, 2000, 899, "Freq: 1.865 kHz", 909},
        {1000, 2000, 900, "Freq: 1.866 kHz", 810},
    };
    for (const Case& c : cases) {
        graph->SetRanges(c.lo, c.hi, 100.0, 30.0);
        const auto texts = Readout(graph, c.x, 0.f);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0].rfind(std::string(c.freq) + " ", 0), 0u) << texts[0];
        EXPECT_EQ(texts[1].rfind("Gain: 30.0 dB ", 0), 0u) << texts[1];
        const auto fills = canvas.CallsStartingWith("FillRect");
        ASSERT_FALSE(fills.empty());
        EXPECT_NE(fills.back().find(" " + RecordingCanvas::Num(c.boxLeft) + ",10,"),
                  std::string::npos)
            << fills.back();
    }
}

TEST_F(SpectrumTest, DecibelLinesAtThePanelsRanges) {
    auto* graph = PanelGraph();
    const float expected[] = {0.9f, 0.7f, 0.5f, 0.42f, 0.36f, 0.3f, 0.24f, 0.18f, 0.1f};
    for (int k = 0; k < IFreqResponseGraph::kNumDbLines; ++k)
        EXPECT_NEAR(graph->DbLinePosition(k), expected[k], 1e-6) << k;
    canvas.ClearCalls();
    graph->Draw(canvas);
    const auto dashes = canvas.CallsStartingWith("DrawDashedLine");
    ASSERT_EQ(dashes.size(), 14u + 9u);
    EXPECT_NE(dashes[14 + 5].find(" 2 2"), std::string::npos) << "0 dB is 2 thick: " << dashes[19];
    EXPECT_NE(dashes[14 + 4].find(" 1 2"), std::string::npos) << dashes[18];
}

TEST_F(SpectrumTest, FrequencyLinesFollowEverySetRanges) {
    auto* graph = Attach(new IFreqResponseGraph({0, 0, 500, 200}, kCurve, 1024, 4));
    const float defaultPos = graph->FreqLinePosition(3); // 100 Hz on 20..20480
    EXPECT_NEAR(defaultPos, std::log2(5.0) / 10.0, 1e-5) << "set before any SetRanges";
    graph->SetRanges(100.0, 10000.0, 80.0, 30.0);
    EXPECT_NEAR(graph->FreqLinePosition(3), 0.0, 1e-5);
    EXPECT_NEAR(graph->FreqLinePosition(13), 1.0, 1e-5);
    graph->SetRanges(20.0, 20480.0, 80.0, 30.0);
    EXPECT_EQ(graph->FreqLinePosition(3), defaultPos)
        << "from the Hz table, not the last positions";
    graph->SetRanges(0.0, 100.0, 80.0, 30.0);
    EXPECT_EQ(graph->FreqLinePosition(3), defaultPos) << "a range from 0 Hz is ignored";
}

TEST_F(SpectrumTest, SmoothingRisesTenTimesFasterThanItFalls) {
    auto* graph = Attach(new IFreqResponseGraph({0, 0, 50, 100}, kCurve, 64, 0));
    graph->SetRanges(20.0, 20480.0, 100.0, 30.0);
    const std::vector<double> quiet = Impulse(64, 0.001), loud = Impulse(64);
    graph->ProcessBlock(quiet.data()); // from the top towards -60 dB (y 90)
    const double fell = graph->ColumnY()[10];
    EXPECT_NEAR(fell / 90.0, 1.0 - std::exp(-1.0 / 30.0), 1e-6);
    for (int i = 0; i < 400; ++i)
        graph->ProcessBlock(quiet.data());
    const double settled = graph->ColumnY()[10];
    graph->ProcessBlock(loud.data()); // up towards 0 dB (y 30)
    const double rose = (settled - graph->ColumnY()[10]) / (settled - 30.0);
    EXPECT_NEAR(rose, 1.0 - std::exp(-1.0 / 3.0), 1e-3);
}

// The same block again skips the transform; a new range or rate must not.
TEST_F(SpectrumTest, TheSameBlockAfterANewRangeOrRateIsDrawnForIt) {
    std::vector<double> block = Impulse(4096);
    for (std::size_t i = 1; i < 300; ++i)
        block[i] = std::cos(double(i) * 0.7) * std::exp(-double(i) / 60.0);
    struct Case {
        const char* what;
        std::function<void(IFreqResponseGraph&)> change;
    };
    const Case cases[] = {
        {"range", [](IFreqResponseGraph& g) { g.SetRanges(100.0, 5000.0, 60.0, 0.0); }},
        {"rate", [](IFreqResponseGraph& g) { g.SetSampleRate(22050.0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* again = PanelGraph();
        again->ProcessBlock(block.data());
        c.change(*again);
        again->ProcessBlock(block.data());
        auto* fresh = PanelGraph();
        c.change(*fresh);
        fresh->ProcessBlock(block.data());
        EXPECT_EQ(std::vector<double>(again->ColumnY().begin(), again->ColumnY().end()),
                  std::vector<double>(fresh->ColumnY().begin(), fresh->ColumnY().end()));
    }
}

TEST_F(SpectrumTest, WideGraphsAndHighRangesStayInsideTheirBuffers) {
    auto* graph = PanelGraph({0, 0, 1100, 300});
    graph->SetNoSmoothing(0);
    graph->SetSampleRate(22050.0); // 20480 Hz lies almost at the top of the spectrum
    const std::vector<double> block = Impulse(4096);
    graph->ProcessBlock(block.data());
    EXPECT_EQ(graph->ColumnY().size(), 1100u);
    RunFrame(canvas);
}

TEST_F(SpectrumTest, RefusedSizesAndEmptyGraphs) {
    auto* refused = Attach(new IFreqResponseGraph({0, 0, 100, 100}, kCurve, 1000, 0));
    EXPECT_EQ(refused->FFTSize(), 0);
    std::vector<double> block = Impulse(65536);
    refused->ProcessBlock(block.data());
    canvas.ClearCalls();
    refused->Draw(canvas);
    EXPECT_TRUE(canvas.calls.empty());

    struct Case {
        int requested, kept;
    };
    auto* graph = Attach(new IFreqResponseGraph({0, 0, 100, 100}, kCurve, 256, 0));
    for (const Case& c :
         {Case{100, 256}, Case{8, 256}, Case{131072, 256}, Case{32, 32}, Case{65536, 65536}}) {
        graph->SetFFTSize(c.requested);
        EXPECT_EQ(graph->FFTSize(), c.kept) << c.requested;
    }

    auto* flat = Attach(new IFreqResponseGraph({0, 0, 300, 0}, kCurve, 64, 0));
    flat->ProcessBlock(block.data());
    flat->OnMouseOver(10, 0, {});
    canvas.ClearCalls();
    flat->Draw(canvas);
    EXPECT_TRUE(canvas.CallsStartingWith("DrawLine").empty());
    EXPECT_TRUE(canvas.CallsStartingWith("FillRect").empty());
}

class DynamicsTest : public ControlsTest {
protected:
    ui::IDynamicsResponseGraph graph{{0, 0, 200, 100}, kCurve};
    std::vector<std::string> Curve() {
        canvas.ClearCalls();
        graph.Draw(canvas);
        return canvas.CallsStartingWith("DrawLine");
    }
    static std::string Segment(float x1, float y1, float x2, float y2) {
        auto n = [](float v) { return RecordingCanvas::Num(v); };
        return "DrawLine " + RecordingCanvas::Str(kCurve) + " " + n(x1) + " " + n(y1) + " " +
               n(x2) + " " + n(y2) + " - 3";
    }
};

TEST_F(DynamicsTest, StartsAsOneUnityLine) {
    const auto lines = Curve();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], Segment(0, 100, 200, 0));
    EXPECT_EQ(canvas.CallsStartingWith("DrawCircle").size(), 4u);
}

TEST_F(DynamicsTest, BreakPointsKeepTheirOrderAndIgnoreTheSign) {
    struct Case {
        double lower, upper, lowerBreak, upperBreak;
    };
    const Case cases[] = {{-60, -70, 0.3, 0.3}, {-20, -10, 0.8, 0.9}, {20, 10, 0.8, 0.9}};
    for (const Case& c : cases) {
        graph.SetLowerBreakPoint(c.lower);
        graph.SetUpperBreakPoint(c.upper);
        EXPECT_NEAR(graph.LowerBreak(), c.lowerBreak, 1e-12) << c.lower << " " << c.upper;
        EXPECT_NEAR(graph.UpperBreak(), c.upperBreak, 1e-12) << c.lower << " " << c.upper;
    }
}

TEST_F(DynamicsTest, UpperRatioBendsTheTopSegment) {
    graph.SetLowerBreakPoint(-60); // (80, 60)
    graph.SetUpperBreakPoint(-20); // (160, 20)
    graph.SetLowerSlope(0.5);
    graph.SetUpperRatio(4.0);
    auto lines = Curve();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], Segment(40, 100, 80, 60));
    EXPECT_EQ(lines[1], Segment(80, 60, 160, 20));
    EXPECT_EQ(lines[2], Segment(160, 20, 200, 15)) << "a quarter of the remaining height";
    graph.SetUpperRatio(0.5);
    lines = Curve();
    EXPECT_EQ(lines[2], Segment(160, 20, 180, 0)) << "the top edge halfway to the right edge";
}

} // namespace
} // namespace vx::test
