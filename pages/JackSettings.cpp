// The two jacks' pedal and switch rows: which settings apply to the chosen
// mode, and the MIDI message each row sends, described as text.

#include "controls/ITextControl.h"
#include "device/MidiCCNames.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cstdio>

using namespace omnar::pages;

namespace {

struct MappingRow {
    int channel;
    int mode;
    int controller;
    int tags[3];
};

constexpr MappingRow kMappingRows[6] = {
    {134, 135, 136, {121, 122, 123}}, {117, 118, 119, {134, 135, 136}},
    {141, 143, 144, {126, 127, 128}}, {145, 147, 148, {130, 131, 132}},
    {124, 126, 127, {139, 140, 141}}, {128, 130, 131, {143, 144, 145}}};
constexpr int kPedalRows = 2;

constexpr int kJack1Mode = 115;
constexpr int kJack2Mode = 113;

// A switch's function mode with its channel and controller, its jack's
// special-controller pair and the other switch of the jack.
struct SwitchParams {
    int mode;
    int channel;
    int controller;
    int pairFirst;
    int otherMode;
};

constexpr SwitchParams kSwitches[] = {{143, 141, 144, 149, 147},
                                      {147, 145, 148, 149, 143},
                                      {126, 124, 127, 132, 130},
                                      {130, 128, 131, 132, 126}};

constexpr int kSpecialControllerMode = 5;

} // namespace

void OmnarControl::ShowMidiMappingText(int row) {
    if (row < 0 || row >= int(std::size(kMappingRows)))
        return;
    const MappingRow& params = kMappingRows[row];
    const int channel = ParamInt(params.channel) + 1;
    const int mode = ParamInt(params.mode);
    const int c = ParamInt(params.controller);
    const std::string controllerName = MidiCCNames[std::size_t(std::clamp(c, 0, 127))];
    char described[64] = {};
    std::string name, extra;
    const auto controllerText = [&] {
        std::snprintf(described, sizeof described, "CH %d - CC %d", channel, c);
        name = controllerName;
    };
    if (row < kPedalRows) {
        if (mode < 1)
            controllerText();
        else
            std::snprintf(described, sizeof described,
                          mode == 1 ? "CH %d AFTERTOUCH" : "CH %d PITCH BEND", channel);
    } else if (mode == 0 || mode == 5 || mode == 6) {
        controllerText();
        if (mode == 6)
            extra = "PEDAL";
    } else if (mode == 1) {
        const int note = std::clamp(c, 0, 127);
        std::snprintf(described, sizeof described, "CH %d NOTE %s%d", channel,
                      MidiNoteNames[std::size_t(note % 12)].c_str(), note / 12 - 2);
    } else if (mode == 2 || mode == 3) {
        std::snprintf(described, sizeof described, "START/STOP");
    } else if (mode == 4) {
        std::snprintf(described, sizeof described, "CH %d PRG. CHANGE", channel);
    }
    mMappingTexts[std::size_t(row)] = {described, name, extra};
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    for (int i = 0; i < 3; ++i)
        if (canvas->FindControlByTag(params.tags[i]))
            SetControlText(params.tags[i], mMappingTexts[std::size_t(row)][std::size_t(i)].c_str());
}

void OmnarControl::RebuildMappingTexts(int index, int v) {
    if (!GetGraphics() && index != 119 && index != 136)
        return;
    const auto rows = [this](std::initializer_list<int> list) {
        for (int row : list)
            ShowMidiMappingText(row);
    };
    const bool jack1Pedal = ParamInt(kJack1Mode) == 0;
    const bool jack2Pedal = ParamInt(kJack2Mode) == 0;
    switch (index) {
    case kJack1Mode:
        v <= 0 ? rows({0}) : rows({2, 3});
        break;
    case kJack2Mode:
        v <= 0 ? rows({1}) : rows({4, 5});
        break;
    case 117:
    case 118:
    case 119:
        if (jack2Pedal)
            rows({1});
        break;
    case 134:
    case 135:
    case 136:
        if (jack1Pedal)
            rows({0});
        break;
    case 124:
    case 126:
    case 127:
        if (ParamInt(kJack2Mode) > 0)
            rows({4});
        break;
    case 128:
    case 130:
    case 131:
        if (ParamInt(kJack2Mode) > 0)
            rows({5});
        break;
    case 141:
    case 143:
    case 144:
        if (ParamInt(kJack1Mode) > 0)
            rows({2});
        break;
    case 145:
    case 147:
    case 148:
        if (ParamInt(kJack1Mode) > 0)
            rows({3});
        break;
    default:
        break;
    }
}

void OmnarControl::OnJackSettingChange(int index, int v) {
    if (mUserEditing)
        RebuildMappingTexts(index, v);
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    if (index == kJack1Mode || index == kJack2Mode) {
        const bool jack1 = index == kJack1Mode;
        const bool pedal = v <= 0;
        HideGroup(*canvas, jack1 ? "jack1switchcontrols" : "jack2switchcontrols", pedal);
        HideGroup(*canvas, jack1 ? "jack1pedalcontrols" : "jack2pedalcontrols", !pedal);
        canvas->DisableControl(jack1 ? 116 : 114, !pedal);
        return;
    }
    if (index == 135 || index == 118) {
        canvas->DisableControl(index == 135 ? 136 : 119, v > 0);
        return;
    }
    for (const SwitchParams& s : kSwitches) {
        if (s.mode != index)
            continue;
        canvas->DisableControl(s.channel, false);
        canvas->DisableControl(s.controller, false);
        if (v == kSpecialControllerMode) {
            canvas->DisableControl(s.pairFirst, false);
            canvas->DisableControl(s.pairFirst + 1, false);
            return;
        }
        if (ParamInt(s.otherMode) != kSpecialControllerMode) {
            canvas->DisableControl(s.pairFirst, true);
            canvas->DisableControl(s.pairFirst + 1, true);
        }
        if (v == 2 || v == 3) {
            canvas->DisableControl(s.channel, true);
            canvas->DisableControl(s.controller, true);
        }
    }
}

void OmnarControl::UpdatePresetEditedIndicator() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    HideTag(*canvas, 1, false);
    const bool edited =
        !std::equal(mStoredPresetValues.begin(), mStoredPresetValues.end(), mDeviceValues.begin());
    mPresetEdited = edited;
    if (auto* number = dynamic_cast<vx::ui::ITextControl*>(canvas->FindControlByTag(1)))
        number->SetTextColor(edited ? vx::ui::IColor(100, 255, 255, 255)
                                    : vx::ui::IColor(255, 0, 255, 255));
}
