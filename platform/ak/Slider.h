#pragma once

#include "platform/ak/Control.h"

namespace ak {

// A horizontal or vertical slider over a double range.
class Slider : public Control {
public:
    Slider(Rect frame, bool vertical = false);

    double Value() const;
    void SetValue(double value);
    double MinValue() const { return m_min; }
    double MaxValue() const { return m_max; }
    // An empty or reversed range holds the value at min.
    void SetRange(double min, double max);
    // The small size of tool panels.
    void SetMini(bool mini);

private:
    static void OnValueChanged(void* range, Slider* self);
    double m_min = 0;
    double m_max = 1;
};

// A determinate progress bar.
class ProgressIndicator : public Control {
public:
    explicit ProgressIndicator(Rect frame);

    double Value() const { return m_value; }
    void SetValue(double value);
    void SetRange(double min, double max);
    // (value - min) / (max - min) in [0, 1]; 0 when max <= min or not a number.
    double Fraction() const;

private:
    void Apply();
    double m_min = 0;
    double m_max = 100;
    double m_value = 0;
};

} // namespace ak
