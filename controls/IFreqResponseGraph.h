#pragma once

#include "toolkit/IControl.h"

#include <array>
#include <span>
#include <vector>

namespace vx::ui {

// The impulse-response spectrum display: the magnitude spectrum of a block of
// samples over a logarithmic frequency axis with a decibel grid, and a readout
// of frequency and gain under the mouse. Main thread only.
class IFreqResponseGraph : public IControl {
public:
    static constexpr int kNumFreqLines = 14;
    static constexpr int kNumDbLines = 9;
    static constexpr int kMinFFTSize = 16;
    static constexpr int kMaxFFTSize = 65536;
    static constexpr std::array<float, kNumDbLines> kDbLines{-60, -40, -20, -12, -6, 0, 6, 12, 20};

    // A size that is not a power of two in 16..65536 is refused: nothing is
    // analysed or drawn.
    IFreqResponseGraph(const IRECT& bounds, const IColor& curveColor, int fftSize, int windowType);

    // Analyses fftSize samples at once and redraws; null does nothing.
    virtual void ProcessBlock(const double* samples);
    // A rate that is not a positive number is ignored.
    virtual void SetSampleRate(double rate);
    // A size the constructor would refuse keeps the current one.
    virtual void SetFFTSize(int n);
    virtual void SetNoSmoothing(int off) { noSmoothing = off; }
    // Ranges without extent or with a non-positive lower frequency are ignored.
    virtual void SetRanges(double minFreq, double maxFreq, double dbRange, double dbOffset);

    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    void Draw(ICanvas& g) override;

    double InverseMaxMagnitude() const { return inverseMaxMagnitude; }
    int FFTSize() const { return fftSize; }
    std::span<const double> LastBlock() const { return block; }
    std::span<const double> ColumnY() const { return columnY; }
    std::span<const double> Magnitudes() const;
    int WindowType() const { return windowType; }
    double MinFreq() const { return minFreq; }
    double MaxFreq() const { return maxFreq; }
    double DbRange() const { return dbRange; }
    double DbOffset() const { return dbOffset; }
    bool SmoothingOff() const { return noSmoothing != 0; }
    const IColor& CurveColor() const { return curveColor; }
    float FreqLinePosition(int k) const { return freqGridPos[static_cast<size_t>(k)]; }
    float DbLinePosition(int k) const { return dbGridPos[static_cast<size_t>(k)]; }

private:
    bool Usable() const { return fftSize > 0; }
    void Allocate(int n);
    void ComputeAxes();
    void ResampleLogarithmically();
    void MapColumns();
    void DrawFrequencyGrid(ICanvas& g);
    void DrawDbGrid(ICanvas& g);
    void DrawCurve(ICanvas& g);
    void DrawReadout(ICanvas& g);

    double inverseMaxMagnitude = 1.0;
    int windowType;
    int width, height, left, top;
    int fftSize = 0;
    double sampleRate = 44100.0;
    double minFreq = 20.0, maxFreq = 20480.0;
    double dbRange = 80.0, dbOffset = 30.0;
    IColor curveColor;
    std::vector<double> window;
    std::vector<double> magnitudes;
    std::vector<double> logSpectrum;
    std::vector<double> columnY;
    std::vector<double> smoothState; // one per column, so any width fits
    std::vector<double> block;       // the last block handed in
    bool blockShown = false;         // the display shows block's spectrum
    int noSmoothing = 0;
    int mouseX = 0, mouseY = 0;
    bool mouseOver = false;
    IText graphText;
    double octaves = 0.0, logSpan = 0.0, logMin = 0.0;
    std::array<float, kNumFreqLines> freqGridPos{};
    std::array<float, kNumDbLines> dbGridPos{};
};

} // namespace vx::ui
