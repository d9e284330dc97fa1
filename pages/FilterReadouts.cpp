// The value labels of the punch, mid and high filter pages. Each method
// reads its own three parameters, so any one of them may have changed.

#include "device/OmnarControl.h"
#include "pages/PageNames.h"
#include "pages/ValueText.h"

#include <cmath>
#include <cstdio>

using namespace omnar::pages;

namespace {

constexpr int kCentre = 64;

struct Knob {
    float x; // 0..1
    float c; // -1..1
    bool centred;
};

Knob Position(int value) {
    const float x = float(value) / 127.f;
    return {x, 2.f * x - 1.f, value == kCentre};
}

// 200 Hz at 0, 500 Hz in the centre, 2 kHz at 127.
float PunchMidFrequency(const Knob& knob) {
    if (knob.centred)
        return 500.f;
    return 500.f + knob.c * (knob.c < 0.f ? 300.f : 1500.f);
}

float CentredGain(const Knob& knob, float range) {
    return knob.centred ? 0.f : knob.x * range - range / 2.f;
}

} // namespace

void OmnarControl::UpdatePunchFilterReadout() {
    if (!GetGraphics())
        return;
    const Knob gain = Position(ParamInt(3));
    const Knob quality = Position(ParamInt(45));
    const float dB = gain.centred ? 0.f : std::round((48.f * gain.x - 24.f) * 2.f) / 2.f;
    SetControlText(tag::kPunchGain, FormatValue("%.1f", dB).c_str());
    SetControlText(tag::kPunchFrequency,
                   FormatValue("%.0f", PunchMidFrequency(Position(ParamInt(11)))).c_str());
    float q = quality.centred ? 0.f : quality.c;
    if (ParamInt(3) < kCentre)
        q *= 2.f;
    SetControlText(tag::kPunchQuality,
                   FormatValue("%.1f", 0.644f * std::pow(2.f, 2.f * q)).c_str());
}

void OmnarControl::UpdateMidFilterReadout() {
    if (!GetGraphics())
        return;
    SetControlText(tag::kMidGain,
                   FormatValue("%.1f", CentredGain(Position(ParamInt(12)), 24.f)).c_str());
    const float frequency = PunchMidFrequency(Position(ParamInt(13)));
    const std::string shown = frequency < 1000.f
                                  ? FormatValue("%.0f", std::round(frequency / 10.f) * 10.f)
                                  : FormatValue("%.2fk", std::round(frequency / 20.f) * 0.02f);
    SetControlText(tag::kMidFrequency, shown.c_str());
    const Knob quality = Position(ParamInt(47));
    SetControlText(tag::kMidQuality,
                   FormatValue("%.1f", std::pow(2.f, quality.centred ? 0.f : quality.c)).c_str());
}

void OmnarControl::UpdateHighFilterReadout() {
    if (!GetGraphics())
        return;
    const float gain = CentredGain(Position(ParamInt(7)), 24.f);
    SetControlText(tag::kHighGain, FormatValue("%.1f", gain).c_str());
    const Knob frequency = Position(ParamInt(73));
    const float hundreds = frequency.centred ? 45.f : (7000.f * frequency.x + 1000.f) / 100.f;
    SetControlText(tag::kHighFrequency, FormatValue("%.1fk", std::round(hundreds) / 10.f).c_str());
    const Knob quality = Position(ParamInt(49));
    float q = quality.centred ? 0.f : quality.c;
    if (gain < 0.f)
        q *= 3.f;
    SetControlText(tag::kHighQuality, FormatValue("%.1f", 0.7f * std::pow(2.f, q)).c_str());
}
