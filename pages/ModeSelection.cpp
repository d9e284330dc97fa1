// Amp models and reverb types: the radio rows' marks and the values each
// model or type brings with it.

#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageNames.h"
#include "toolkit/ICanvas.h"

using namespace omnar::pages;

namespace {

constexpr int kAmpModels = 10;
constexpr int kReverbTypes = 7;
constexpr int kDrivePage = 13;
constexpr int kAmbiencePage = 3;
constexpr int kMidParam = 12;
// Parameters of the AmpModeDefaults fields, in the order they are written:
// field index, parameter.
constexpr int kAmpFieldOrder[][2] = {{0, 1},  {7, 11}, {8, 5},  {10, 64}, {1, 2},
                                     {4, 44}, {2, 3},  {5, 45}, {3, 4},   {6, 46}};
constexpr int kReverbFieldOrder[][2] = {{0, 16}, {8, 58}, {9, 59}, {1, 18}, {2, 19},
                                        {3, 20}, {4, 21}, {5, 22}, {6, 23}, {7, 24}};

void SetMark(vx::ui::ICanvas* canvas, int tag, double value) {
    if (!canvas)
        return;
    if (vx::ui::IControl* radio = canvas->FindControlByTag(tag))
        radio->SetValue(value);
}

bool PressedUnmarked(vx::ui::ICanvas* canvas, int tag) {
    const vx::ui::IControl* radio = canvas ? canvas->FindControlByTag(tag) : nullptr;
    return radio && radio->GetValue() == 0.0;
}

} // namespace

void OmnarControl::SelectAmpMode(int model) {
    vx::ui::ICanvas* canvas = GetGraphics();
    for (int i = 0; i < kAmpModels; ++i)
        SetMark(canvas, tag::kAmpRadio0 + i, 0.0);
    mPreMidMode = 0;
    if (model == 1 || model == 11 || model == 2 || model == 12) {
        SetMark(canvas, tag::kAmpRadio0 + (model % 10), 1.0);
        mPreMidMode = 1;
    } else if (model >= 0 && model < kAmpModels) {
        SetMark(canvas, tag::kAmpRadio0 + model, 1.0);
    }
    ShowPreMidControls();
    if (canvas && mCurrentPage == kDrivePage) {
        HideGroup(*canvas, group::kDrive, true);
        HideGroup(*canvas, group::kDrive, false);
    }
}

void OmnarControl::SelectReverbMode(int type) {
    vx::ui::ICanvas* canvas = GetGraphics();
    for (int i = 0; i < kReverbTypes; ++i)
        SetMark(canvas, tag::kReverbRadio0 + i, i == type ? 1.0 : 0.0);
    if (!canvas)
        return;
    if (type == 5 || type == 6) {
        if (mCurrentPage == kAmbiencePage)
            HideGroup(*canvas, group::kAmbienceTime, false);
    } else {
        HideGroup(*canvas, group::kAmbienceTime, true);
    }
}

void OmnarControl::ApplyAmpModeDefaults(int model) {
    // Rows past the table would read beyond it.
    if (model < 0 || model >= kAmpModels)
        return;
    mApplyingValues = true;
    mUserEditing = false;
    const auto& row = mAmpModeDefaults[std::size_t(model)];
    for (const auto& [field, param] : kAmpFieldOrder)
        SetParamAndQueue(param, row[std::size_t(field)] / GetParam(param)->Max());
    if (model == 1 || model == 2)
        SetParamAndQueue(kMidParam, 0.5);
    mApplyingValues = false;
    mUserEditing = true;
    if (mConnected)
        SendCurrentPreset();
}

void OmnarControl::ApplyReverbModeDefaults(int type) {
    if (type < 0 || type >= kReverbTypes)
        return;
    mApplyingValues = true;
    mUserEditing = false;
    const auto& row = mReverbModeDefaults[std::size_t(type)];
    for (const auto& [field, param] : kReverbFieldOrder) {
        const vx::IParam* p = GetParam(param);
        const bool byRange = param >= 18 && param <= 24;
        const double min = byRange ? p->Min() : 0.0;
        SetParamAndQueue(param, (row[std::size_t(field)] - min) / (p->Max() - min));
    }
    mApplyingValues = false;
    mUserEditing = true;
    if (mConnected)
        SendCurrentPreset();
}

// Radios call on press and release without changing their value: only the
// press on an unmarked button acts.
void OmnarControl::OnReverbRadio(int type) {
    if (!PressedUnmarked(GetGraphics(), tag::kReverbRadio0 + type))
        return;
    SelectReverbMode(type);
    ApplyReverbModeDefaults(type);
}

void OmnarControl::OnAmpRadio(int model) {
    if (!PressedUnmarked(GetGraphics(), tag::kAmpRadio0 + model))
        return;
    SelectAmpMode(model);
    ApplyAmpModeDefaults(model);
}

void OmnarControl::SetParamAndQueue(int index, double normalised) {
    SetParamFromNormalised(index, normalised);
    QueueParamValueForUI(index, normalised, true);
}
