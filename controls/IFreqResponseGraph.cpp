#include "controls/IFreqResponseGraph.h"

#include "controls/RadixTwoFFT.h"
#include "controls/SpectrumMath.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

constexpr float kFreqLinesHz[IFreqResponseGraph::kNumFreqLines] = {
    30, 40, 50, 100, 200, 300, 400, 500, 1000, 2000, 3000, 4000, 5000, 10000};
// 20 log10 of the smallest magnitude drawn: -100 dB.
constexpr double kMagnitudeFloor = 0.00001;
// The curve falls ten times more slowly than it rises (fractions of the height).
constexpr double kFallTime = 0.3;
constexpr double kRiseTime = 0.03;

bool AcceptedSize(int n) {
    return n >= IFreqResponseGraph::kMinFFTSize && n <= IFreqResponseGraph::kMaxFFTSize &&
           ExactLog2(n) >= 0;
}

} // namespace

IFreqResponseGraph::IFreqResponseGraph(const IRECT& bounds, const IColor& color, int n,
                                       int windowKind)
    : IControl(bounds), windowType(windowKind), width(static_cast<int>(bounds.W())),
      height(static_cast<int>(bounds.H())), left(static_cast<int>(bounds.L)),
      top(static_cast<int>(bounds.T)), curveColor(color),
      columnY(static_cast<size_t>(std::max(width, 0)), 0.0),
      smoothState(static_cast<size_t>(std::max(width, 0)), 0.0),
      graphText(14.f, kColorBlack, 1, 1) {
    if (AcceptedSize(n))
        Allocate(n);
    ComputeAxes();
}

void IFreqResponseGraph::Allocate(int n) {
    fftSize = n;
    magnitudes.assign(static_cast<size_t>(n), 0.0);
    logSpectrum.assign(static_cast<size_t>(n), 0.0);
    block.assign(static_cast<size_t>(n), 0.0);
    blockShown = false;
    window = SquaredWindow(windowType, n);
}

void IFreqResponseGraph::SetSampleRate(double rate) {
    if (rate > 0.0 && std::isfinite(rate)) {
        blockShown = blockShown && rate == sampleRate;
        sampleRate = rate;
    }
}

void IFreqResponseGraph::SetFFTSize(int n) {
    if (AcceptedSize(n))
        Allocate(n);
}

std::span<const double> IFreqResponseGraph::Magnitudes() const {
    return std::span<const double>(magnitudes).first(magnitudes.size() / 2);
}

void IFreqResponseGraph::SetRanges(double lo, double hi, double range, double offset) {
    if (!(lo > 0.0) || !(hi > lo) || !(range > 0.0) || !std::isfinite(hi) ||
        !std::isfinite(range) || !std::isfinite(offset))
        return;
    minFreq = lo;
    maxFreq = hi;
    dbRange = range;
    dbOffset = offset;
    ComputeAxes();
}

void IFreqResponseGraph::ComputeAxes() {
    blockShown = false; // the spectrum is resampled over the new range
    octaves = DisplayLog2(maxFreq) - DisplayLog2(minFreq);
    logSpan = 0.30103 * octaves;
    logMin = std::log10(minFreq);
    for (int k = 0; k < kNumFreqLines; ++k)
        freqGridPos[size_t(k)] = static_cast<float>(
            (DisplayLog2(double(kFreqLinesHz[k])) - DisplayLog2(minFreq)) / octaves);
    for (int k = 0; k < kNumDbLines; ++k)
        dbGridPos[size_t(k)] =
            static_cast<float>(std::max(dbOffset - kDbLines[size_t(k)], 0.0) / dbRange);
}

void IFreqResponseGraph::ProcessBlock(const double* samples) {
    if (graphics)
        graphics->AssertMainThread();
    if (!samples || !Usable())
        return;
    const size_t n = static_cast<size_t>(fftSize);
    // The same IR again (each preset, value and page change hands it over)
    // has the same spectrum: only the smoothing moves on, without an FFT.
    if (!blockShown || !std::equal(samples, samples + n, block.begin())) {
        std::copy_n(samples, n, block.begin());
        blockShown = true;
        std::vector<double> re(n), im(n, 0.0);
        for (size_t i = 0; i < n; ++i)
            re[i] = std::isfinite(block[i]) ? block[i] * window[i] : 0.0;
        RadixTwoFFT(re, im);
        double largest = 0.0;
        for (size_t k = 0; k < n / 2; ++k) {
            magnitudes[k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
            largest = std::max(largest, magnitudes[k]);
        }
        if (largest > 0.0)
            inverseMaxMagnitude = 1.0 / largest;
        ResampleLogarithmically();
    }
    MapColumns();
    SetDirty(true);
}

void IFreqResponseGraph::ResampleLogarithmically() {
    const int half = fftSize / 2;
    const std::span<const double> spectrum(magnitudes.data(), size_t(half));
    for (int i = 0; i < half; ++i) {
        const double hz = std::pow(10.0, double(i) / half * logSpan + logMin);
        logSpectrum[size_t(i)] = CubicAt(spectrum, hz * half / (sampleRate / 2.0));
    }
}

void IFreqResponseGraph::MapColumns() {
    const int half = fftSize / 2;
    const std::span<const double> spectrum(logSpectrum.data(), size_t(half));
    for (int i = 0; i < width; ++i) {
        const double v = CubicAt(spectrum, double(i) * half / width);
        const double db = 20.0 * std::log10(std::max(v, kMagnitudeFloor));
        double y = (dbOffset - db) * height / dbRange;
        if (!noSmoothing) {
            const double s = smoothState[size_t(i)];
            const double time = y > s ? kFallTime : kRiseTime;
            y = (s - y) * std::exp(-1.0 / (time * height)) + y;
            smoothState[size_t(i)] = y;
        }
        columnY[size_t(i)] = std::clamp(y, 0.0, double(height));
    }
}

void IFreqResponseGraph::OnMouseOver(float x, float y, const IMouseMod&) {
    mouseOver = true;
    mouseX = static_cast<int>(x);
    mouseY = static_cast<int>(y);
    SetDirty(true);
}

void IFreqResponseGraph::OnMouseOut() {
    mouseOver = false;
    SetDirty(false);
}

} // namespace vx::ui
