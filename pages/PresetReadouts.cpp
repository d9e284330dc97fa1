// The value labels of the preset parameters and the page each one brings up.
// Values are computed in single precision, as the pedal shows them.

#include "controls/IDynamicsResponseGraph.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageNames.h"
#include "pages/ValueText.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace omnar::pages;

namespace {

constexpr int kCentre = 64;

// To the nearest half, halves away from zero.
float NearestHalf(float value) {
    return std::round(value * 2.f) / 2.f;
}

bool Visible(vx::ui::ICanvas& canvas, int tag) {
    const vx::ui::IControl* control = canvas.FindControlByTag(tag);
    return control && !control->IsHidden();
}

} // namespace

void OmnarControl::SwitchPage(int page, void (OmnarControl::*show)()) {
    if (mCurrentPage != page && !mApplyingValues)
        (this->*show)();
}

void OmnarControl::ShowPresetReadout(int index, int v) {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    const float x = float(v) / 127.f;
    const auto text = [this](int tag, const std::string& s) { SetControlText(tag, s.c_str()); };
    const auto bypassOr = [&](bool bypass, const char* format, float value) {
        return bypass ? std::string("Bypass") : FormatValue(format, value);
    };
    switch (index) {
    case 0:
        text(tag::kMasterLevel, FormatValue("%.0f%%", x * 100.f));
        SwitchPage(15, &OmnarControl::ShowLevel);
        break;
    case 1:
    case 4:
    case 5: {
        const int tags[] = {0, tag::kPreampGain, 0, 0, tag::kPresence, tag::kDrive};
        const float value = index == 4 ? x * 100.f : std::max(1.f, x * 100.f);
        text(tags[index], FormatValue("%.0f", value));
        SwitchPage(13, &OmnarControl::ShowDrive);
        break;
    }
    case 3:
    case 11:
    case 45:
        if (mPreMidMode) {
            SwitchPage(8, &OmnarControl::ShowFilterPunch);
            UpdatePunchFilterReadout();
        }
        break;
    case 6:
        text(tag::kLowGain, FormatValue("%.1f", v == kCentre ? 0.f : x * 24.f - 12.f));
        SwitchPage(10, &OmnarControl::ShowFilterLow);
        break;
    case 7:
    case 49:
    case 73:
        SwitchPage(12, &OmnarControl::ShowFilterHigh);
        UpdateHighFilterReadout();
        break;
    case 8:
        text(tag::kReverbLevel, bypassOr(v == 0, "%.0f", x * 100.f));
        SwitchPage(3, &OmnarControl::ShowAmbience);
        if (mCurrentPage == 3) {
            const auto marked = [canvas](int tag) {
                const vx::ui::IControl* radio = canvas->FindControlByTag(tag);
                return radio && radio->GetValue() > 0.0;
            };
            HideGroup(*canvas, group::kAmbienceTime,
                      !(marked(tag::kReverbRadio0 + 5) || marked(tag::kReverbRadio0 + 6)));
        }
        break;
    case 9: {
        const float threshold = (x - 1.f) * 70.f - 30.f;
        if (mDynamicsGraph)
            mDynamicsGraph->SetLowerBreakPoint(threshold);
        text(tag::kGateThreshold, bypassOr(v == 0, "%.1f", NearestHalf(threshold)));
        break;
    }
    case 10: {
        const float threshold = x * -60.f;
        text(tag::kDynamicsThreshold, bypassOr(v == 0, "%.1fdB", NearestHalf(threshold)));
        if (mDynamicsGraph)
            mDynamicsGraph->SetUpperBreakPoint(threshold);
        SwitchPage(2, &OmnarControl::ShowDynamics);
        break;
    }
    case 12:
        if (!mPreMidMode) {
            SwitchPage(11, &OmnarControl::ShowFilterMid);
            UpdateMidFilterReadout();
        }
        break;
    case 13:
        UpdateMidFilterReadout();
        SwitchPage(11, &OmnarControl::ShowFilterMid);
        break;
    case 47:
        SwitchPage(11, &OmnarControl::ShowFilterMid);
        UpdateMidFilterReadout();
        break;
    case 15:
        if (v < kCentre) {
            text(tag::kAnalogSimReadout, FormatValue("%.0f", float(kCentre - v) / 64.f * 100.f));
            text(tag::kAnalogSimCaption, "DIGITAL SMOOTH");
        } else if (v == kCentre) {
            text(tag::kAnalogSimReadout, "Bypass");
            text(tag::kAnalogSimCaption, "SMOOTHING");
        } else {
            text(tag::kAnalogSimReadout, FormatValue("%.0f", float(v - kCentre) / 63.f * 100.f));
            text(tag::kAnalogSimCaption, "ANALOG SMOOTH");
        }
        SwitchPage(5, &OmnarControl::ShowAnalogSim);
        break;
    case 16:
        text(tag::kReverbTime,
             FormatValue("%.0f", std::pow(x, 1.7543859869269236f) * 500.f + 100.f));
        break;
    case 17:
        text(tag::kReverbDecay, FormatValue("%.0f", x * 100.f));
        break;
    case 25: {
        const float ratio = x * 19.f + 1.f;
        text(tag::kCompressorRatio, FormatValue("%.1f:1", ratio));
        if (mDynamicsGraph && Visible(*canvas, tag::kCompressorRatio))
            mDynamicsGraph->SetUpperRatio(ratio);
        SwitchPage(2, &OmnarControl::ShowDynamics);
        break;
    }
    case 26: {
        const float gain = (x - 0.5f) * (x < 0.5f ? 60.f : 36.f);
        text(tag::kCompressorOutputGain, FormatValue("%.2f", v == kCentre ? 0.f : gain));
        break;
    }
    case 27:
        text(tag::kCompressorAttack, FormatValue("%.1f", x * x * x * 99.f + 1.f));
        break;
    case 28:
        text(tag::kCompressorRelease, FormatValue("%.1f", x * x * 990.f + 10.f));
        break;
    case 29: {
        const float ratio = x * 11.f + 1.f;
        text(tag::kExpanderRatio, FormatValue("1:%.1f", ratio));
        if (mDynamicsGraph && Visible(*canvas, tag::kExpanderRatio))
            mDynamicsGraph->SetUpperRatio(1.f / ratio);
        break;
    }
    case 36:
        text(tag::kParallelClean, FormatValue("%.0f", x * 100.f));
        break;
    case 37: {
        const float ratio = x * 9.f + 1.f;
        text(tag::kGateRatio, FormatValue("%.1f:1", ratio));
        if (mDynamicsGraph)
            mDynamicsGraph->SetLowerSlope(1.f / ratio);
        break;
    }
    case 39:
        text(tag::kGateRelease, FormatValue("%.1f", x * x * 990.f + 10.f));
        break;
    case 42:
    case 43:
        text(index == 42 ? tag::kIRReadoutSlot7 : tag::kIRReadoutSlot8,
             FormatValue("%.2f", v == kCentre ? 0.f : x * 24.f - 12.f));
        break;
    case 48:
        text(tag::kLowQuality,
             FormatValue("%.1f", v == kCentre ? 1.f : std::pow(2.f, 2.f * x - 1.f)));
        break;
    case 61:
        text(tag::kAutoFilterLevel, bypassOr(v == kCentre, "%.0f", std::floor(x * 200.f - 100.f)));
        SwitchPage(16, &OmnarControl::ShowAutoFilter);
        break;
    case 62:
    case 63:
        text(index == 62 ? tag::kAutoFilterAttack : tag::kAutoFilterRelease,
             FormatValue("%.0f", x * 100.f));
        SwitchPage(16, &OmnarControl::ShowAutoFilter);
        break;
    case 66:
        text(tag::kChorusLevel, bypassOr(v == 0, "%.0f%%", x * 100.f));
        break;
    case 67:
        text(tag::kChorusFrequency, FormatValue("%.2f", x * x * 6.f));
        break;
    case 68:
        text(tag::kChorusDepth, FormatValue("%.0f", x * 100.f));
        SwitchPage(17, &OmnarControl::ShowChorus);
        break;
    case 69:
        text(tag::kChorusDelay, FormatValue("%.0f", x * 100.f));
        break;
    case 70:
        text(tag::kChorusFeedback, FormatValue("%.0f", std::floor(x * 200.f - 100.f)));
        break;
    case 72:
        text(tag::kLowFrequency, FormatValue("%.0f", v == kCentre ? 120.f : x * 160.f + 40.f));
        SwitchPage(10, &OmnarControl::ShowFilterLow);
        break;
    default:
        break;
    }
}
