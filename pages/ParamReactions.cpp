// The panel's part of a parameter change: the reactions with state (the IR
// slot and lists, the preset list, the settings, the program map, the jacks).
// Device values are bounded here: rows and IR numbers never pass the tables.

#include "controls/IInvisibleSelectControl.h"
#include "controls/ITextControl.h"
#include "device/OmnarControl.h"
#include "pages/GroupOps.h"
#include "pages/PageNames.h"
#include "pages/ValueText.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cstdio>

using namespace omnar::pages;

namespace {

constexpr int kIRSelectorParam = 14;
constexpr int kIRModeSlot7Param = 40;
constexpr int kIRModeSlot8Param = 41;
constexpr int kIRMsbSlot7Param = 53;
constexpr int kIRMsbSlot8Param = 55;
constexpr int kScrollParam = 79;
constexpr int kPatchOffsetParam = 91;
constexpr int kLastScroll = 109;
constexpr int kPresetCount = 128;
constexpr int kVisiblePresetRows = 19;
constexpr int kIRColumnRows = 16;
constexpr int kIRNameTagSlot7 = 74;
constexpr int kIRNameTagSlot8 = 75;
constexpr int kCompressionTag = 96;
constexpr int kMaxIRSlots = 9; // the IR slot area's rows 0..8
constexpr float kPresetRowPitch = 50.f;
constexpr float kFirstPresetRowY = 228.f;
const vx::ui::IColor kPresetRowNormal(150, 100, 255, 255);
const vx::ui::IColor kPresetRowSelected(255, 100, 255, 255);

bool IsGlobalSetting(int index) {
    return index == 89 || index == 90 || index == 92 || index == 93 ||
           (index >= 95 && index <= 100);
}

int GestureKind(const vx::ui::IInvisibleSelectControl3* area) {
    int kind = -1;
    if (area)
        area->GetGestureKind(kind);
    return kind;
}

} // namespace

void OmnarControl::ReactToParamChange(int index, int v) {
    vx::ui::ICanvas* canvas = GetGraphics();
    ShowPresetReadout(index, v);
    switch (index) {
    case kIRSelectorParam:
        if (canvas) {
            char text[16];
            std::snprintf(text, sizeof text, "%02d", int(80.5f * (float(v) / 127.f)));
            SetControlText(tag::kPresetDisplay, text);
            if (vx::ui::IControl* slider = canvas->FindControlByTag(tag::kIRSlider)) {
                slider->SetValue(1.0 - double(float(v) / 127.f));
                if (!slider->IsHidden()) {
                    slider->Hide(true);
                    slider->Hide(false);
                }
            }
        }
        SelectIRSlot(v);
        break;
    case kIRModeSlot7Param:
    case kIRModeSlot8Param:
        OnIRModeChange(index, v);
        break;
    case 54:
    case 56: {
        const bool slot7 = index == 54;
        const int n = v + 128 * ParamInt(slot7 ? kIRMsbSlot7Param : kIRMsbSlot8Param);
        (slot7 ? mUserIRNumberA : mUserIRNumberB) = n;
        const bool editing = slot7 ? mUserIRFocusA : mUserIRFocusB;
        if (editing && ParamInt(slot7 ? kIRModeSlot7Param : kIRModeSlot8Param) != 0 &&
            n < kIRNameCount) {
            BuildIRNameList(n);
            CheckIRRow(n);
        }
        break;
    }
    case 60:
    case 65:
        mDeviceValues[std::size_t(index)] = v > 0 ? 1 : 0;
        break;
    case 78:
        if (canvas) {
            if (canvas->FindControlByTag(kCompressionTag))
                SetControlText(kCompressionTag,
                               FormatValue("%.0f", float(v - 64) / 63.f * 100.f).c_str());
            SetParamAndQueue(10, double(v) / 127.0);
        }
        break;
    case kScrollParam:
        mPresetListOffset = kLastScroll - v;
        if (canvas)
            for (int i = 0; i < kPresetCount; ++i)
                if (vx::ui::ITextControl* row = mPresetRows[std::size_t(i)]) {
                    // Rows outside the list's window would show past its frame.
                    const int place = i - mPresetListOffset;
                    const float y = kPresetRowPitch * float(place);
                    row->Hide(place < 0 || place >= kVisiblePresetRows);
                    row->SetPosition(1.f, y + kFirstPresetRowY);
                }
        break;
    case 80:
        OnPresetListGesture(v);
        break;
    case 81:
        if (canvas && GestureKind(mIRListSelect) == vx::ui::IInvisibleSelectControl3::kMouseDown)
            SetParamAndQueue(kIRSelectorParam, std::min(v, kMaxIRSlots - 1) * 0.125 + 0.004);
        break;
    case 82:
        SetParamAndQueue(kIRSelectorParam, double(127 - v) / 127.0);
        break;
    case 83:
        if (canvas)
            SwitchPage(4, &OmnarControl::ShowIR);
        break;
    case 86:
        ShowIRListPage(v);
        SendIRNamesRequest(4 * v);
        break;
    case 87:
    case 88:
        OnCustomIRListGesture(index, v);
        break;
    case 109:
        SetParamAndQueue(110, mProgramMap[std::size_t(std::clamp(v, 0, 127))] / 127.0);
        break;
    case 110:
        mProgramMap[std::size_t(std::clamp(ParamInt(109), 0, 127))] = v;
        break;
    case 111:
        SetParamAndQueue(112, mProgramMap[std::size_t(std::clamp(v - 1, 0, 127))] / 127.0);
        break;
    case 112:
        mProgramMap[std::size_t(std::clamp(ParamInt(111) - 1, 0, 127))] = v - 1;
        break;
    default:
        if (index == kPatchOffsetParam || IsGlobalSetting(index))
            OnGlobalSettingChange(index, v);
        else if (index >= 113)
            OnJackSettingChange(index, v);
        break;
    }
    if (canvas)
        canvas->MarkAllControlsDirty();
}

void OmnarControl::OnIRModeChange(int index, int v) {
    const bool slot7 = index == kIRModeSlot7Param;
    if (vx::ui::ICanvas* canvas = GetGraphics()) {
        for (int tag : {slot7 ? tag::kIRKnobSlot7 : tag::kIRKnobSlot8,
                        slot7 ? tag::kIRImportSlot7 : tag::kIRImportSlot8,
                        slot7 ? tag::kIRListSlot7 : tag::kIRListSlot8})
            DisableTag(*canvas, tag, v == 0);
        const char* name = v != 0 ? (slot7 ? mUserIRNameA : mUserIRNameB).data()
                                  : mFactoryIRNames[slot7 ? 7 : 8].c_str();
        SetControlText(slot7 ? kIRNameTagSlot7 : kIRNameTagSlot8, name);
    }
    // Compared unrounded: selector values 96 to 111 blend slot 7 in too.
    const int selector = ParamInt(kIRSelectorParam);
    if (float(selector) / 127.f * 8.f > 6.f)
        SelectIRSlot(selector);
}

void OmnarControl::CheckIRRow(int n) {
    if (n < 0 || n >= kIRNameCount)
        return;
    char empty[32];
    std::snprintf(empty, sizeof empty, "Empty Slot %d", n % 32 + 1);
    const vx::ui::ITextControl* row = mIRListRows[std::size_t(n % 32)];
    const std::string text = row ? row->GetString() : "";
    if (text != empty && text != mIRNames[std::size_t(n)].data() && !mIRImportBusy)
        mIRPreviewPending = true;
    if (vx::ui::ICanvas* canvas = GetGraphics())
        canvas->MarkAllControlsDirty();
}

// A press below the last whole row reports one row too many: it counts as the last.
void OmnarControl::OnPresetListGesture(int v) {
    vx::ui::ICanvas* canvas = GetGraphics();
    const int kind = GestureKind(mPresetListSelector);
    if (kind == vx::ui::IInvisibleSelectControl3::kWheel) {
        int modifier = 0;
        mPresetListSelector->GetGestureModifier(modifier);
        const int step = modifier == 1 || modifier == 2 ? 1 : 3;
        mPresetListOffset = mPresetListSelector->GetGestureDirection()
                                ? std::max(0, mPresetListOffset - step)
                                : std::min(kLastScroll, mPresetListOffset + step);
        SetParamAndQueue(kScrollParam, double(kLastScroll - mPresetListOffset) / kLastScroll);
        return;
    }
    if (kind != vx::ui::IInvisibleSelectControl3::kMouseDown)
        return;
    const int row = std::clamp(v, 0, kVisiblePresetRows - 1) + mPresetListOffset;
    if (row < 0 || row >= kPresetCount)
        return;
    if (vx::ui::ITextControl* old = mPresetRows[std::size_t(mHighlightedRow)]) {
        old->SetTextColor(kPresetRowNormal);
        if (!old->IsHidden())
            old->Hide(false);
    }
    mHighlightedRow = row;
    if (vx::ui::ITextControl* selected = mPresetRows[std::size_t(row)]) {
        selected->SetTextColor(kPresetRowSelected);
        selected->Hide(false);
    }
    if (!mConnected)
        return;
    if (mStorePending) {
        if (canvas)
            HideTag(*canvas, tag::kPresetDisplay, false);
        SendParamMessage(18, row);
        mBlinkStopTicks = 0;
        mBlinkStopArmed = true;
        return;
    }
    SendPresetSelect(row);
}

void OmnarControl::OnCustomIRListGesture(int index, int v) {
    if (!GetGraphics())
        return;
    const int kind = GestureKind(index == 87 ? mCustomIRSelectLeft : mCustomIRSelectRight);
    const int n = std::clamp(v, 0, kIRColumnRows - 1) + 32 * mIRListPage + (index == 88 ? 16 : 0);
    if (n < 0 || n >= kIRNameCount)
        return;
    if (kind == vx::ui::IInvisibleSelectControl3::kDoubleClick) {
        if (n <= 255) {
            mIRUploadSlot = n;
            mIRImportBusy = true;
            LoadWavIR();
        }
        return;
    }
    if (kind != vx::ui::IInvisibleSelectControl3::kMouseDown)
        return;
    MoveIRListHighlight(n);
    int msbParam = -1;
    if (mUserIRFocusA) {
        mUserIRNumberA = n;
        msbParam = kIRMsbSlot7Param;
    } else if (mUserIRFocusB) {
        mUserIRNumberB = n;
        msbParam = kIRMsbSlot8Param;
    }
    if (msbParam >= 0) {
        mIRAssignStep = msbParam;
        SetParamAndQueue(msbParam, double((n >> 7) & 0x7F) / 127.0);
    }
    SelectIRSlot(ParamInt(kIRSelectorParam));
    if (msbParam >= 0)
        SetControlText(
            mUserIRFocusA ? kIRNameTagSlot7 : kIRNameTagSlot8,
            mIRNames[std::size_t(std::clamp(mIRUploadSlot, 0, kIRNameCount - 1))].data());
}

void OmnarControl::OnGlobalSettingChange(int index, int) {
    if (!GetGraphics())
        return;
    if (index == kPatchOffsetParam) {
        char text[16];
        std::snprintf(text, sizeof text, "%02d", ParamInt(kPatchOffsetParam) + mPresetNumber);
        SetControlText(tag::kPresetDisplay, text);
        ListPresetFolder();
    }
    if (!mApplyingValues)
        SendSettingsDump(0);
}
