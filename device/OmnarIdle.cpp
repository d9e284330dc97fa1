#include "controls/ITextControl.h"
#include "device/OmnarControl.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kPresetNumberTag = 1;
constexpr int kPatchOffsetParam = 91;
// The preset number returns this many ticks after the last value shown.
constexpr int kRestoreTicks = 60;
// Auto-repeat: every 4th tick until the counter reaches 20, then every tick.
constexpr int kRepeatEvery = 4;
constexpr int kRepeatFast = 20;
// The blink stops on the 11th period after it was armed.
constexpr int kBlinkStopPeriods = 10;
constexpr int kPresetCount = 128;
const vx::ui::IColor kRowNormal(255, 120, 120, 120);
const vx::ui::IColor kRowSelected(255, 200, 200, 200);

} // namespace

void OmnarControl::OnIdle() {
    if (mMessagePending) {
        mMessagePending = false;
        if (GetGraphics())
            ShowMessage(mPendingMessage.c_str());
    }
    if (mPresetNumberRestorePending && mPresetNumberRestoreTicks++ >= kRestoreTicks) {
        mPresetNumberRestorePending = false;
        mPresetNumberRestoreTicks = 0;
        ShowPresetNumber();
    }
    for (const auto& [held, delta] : {std::pair{mPresetUpHeld, 1}, {mPresetDownHeld, -1}}) {
        if (!held)
            continue;
        const int counter = mRepeatTicks++;
        if (counter >= 0 && (counter >= kRepeatFast || (counter + 1) % kRepeatEvery == 0))
            StepPresetNumber(delta);
    }
    if (mStorePending)
        RunBlink(mStorePending, 8, 2);
    else if (mRecallPending)
        RunBlink(mRecallPending, 16, 4);
}

void OmnarControl::StepPresetNumber(int delta) {
    mPresetNumber = (mPresetNumber + delta + kPresetCount) % kPresetCount;
    ShowPresetNumber();
}

void OmnarControl::ShowPresetNumber() {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", mPresetNumber + ParamInt(kPatchOffsetParam));
    SetControlText(kPresetNumberTag, text);
}

// Shown at phase 0, hidden at `hideAt`; a held step button keeps it shown.
void OmnarControl::RunBlink(bool& pending, int period, int hideAt) {
    vx::ui::ICanvas* canvas = GetGraphics();
    vx::ui::IControl* number = canvas ? canvas->FindControlByTag(kPresetNumberTag) : nullptr;
    const bool stepping = mPresetUpHeld || mPresetDownHeld;
    if (mBlinkPhase == 0) {
        if (number && !stepping)
            number->Hide(false);
        if (mBlinkStopArmed && mBlinkStopTicks++ >= kBlinkStopPeriods) {
            pending = false;
            mBlinkStopArmed = false;
            mBlinkStopTicks = 0;
        }
    } else if (mBlinkPhase == hideAt && number && !stepping) {
        number->Hide(true);
    }
    mBlinkPhase = mBlinkPhase <= period - 2 ? mBlinkPhase + 1 : 0;
}

void OmnarControl::ShowIRListPage(int page) {
    if (!GetGraphics())
        return;
    mIRListPage = page;
    if (vx::ui::ITextControl* row = mIRListRows[std::size_t(mIRUploadSlot % 32)]) {
        row->SetTextColor(kRowNormal);
        row->Hide(false);
    }
    for (int i = 0; i < 32; ++i) {
        const int entry = page * 32 + i;
        if (vx::ui::ITextControl* row = mIRListRows[std::size_t(i)])
            if (entry >= 0 && entry < kIRNameCount)
                row->SetString(mIRNames[std::size_t(entry)].data());
    }
    if (page == mIRUploadSlot / 32)
        if (vx::ui::ITextControl* row = mIRListRows[std::size_t(mIRUploadSlot % 32)])
            row->SetTextColor(kRowSelected);
}

void OmnarControl::MoveIRListHighlight(int slot) {
    if (!GetGraphics() || slot < 0)
        return;
    if (vx::ui::ITextControl* row = mIRListRows[std::size_t(mIRUploadSlot % 32)]) {
        row->SetTextColor(kRowNormal);
        row->Hide(false);
    }
    mIRUploadSlot = slot;
    if (vx::ui::ITextControl* row = mIRListRows[std::size_t(slot % 32)])
        row->SetTextColor(kRowSelected);
}

std::string OmnarControl::MakeDateString() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%m%d%Y", &local);
    return text;
}

void OmnarControl::ProcessAudioBlock(double**, double** outputs, int frames) {
    if (!outputs)
        return;
    for (int channel = 0; channel < ChannelCount(vx::BusDirection::Output); ++channel)
        if (double* out = outputs[channel])
            std::fill(out, out + std::max(frames, 0), 0.0);
}
