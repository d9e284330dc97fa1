#include "controls/ITextControl.h"
#include "device/DeviceMessage.h"
#include "device/MessageBuilders.h"
#include "device/OmnarControl.h"
#include "device/ReplyRules.h"
#include "platform/sys/Folders.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr int kSlotCount = 128;
constexpr int kMaxRetries = 3;
constexpr int kPresetNumberTag = 1;
constexpr int kProgressKnob = 57;
constexpr int kProgressText = 58;
constexpr int kKnobBankTags[] = {64, 103};
constexpr int kIRNameATag = 74;
constexpr int kIRNameBTag = 75;
constexpr int kPresetNameReplyTag = 104;
constexpr int kPresetNameTag = 148;
constexpr int kDeviceTag = 151;
constexpr int kVersionTag = 152;
constexpr int kSerialTag = 153;
constexpr int kPatchOffsetParam = 91;
constexpr int kScrollParam = 79;
constexpr int kScrollRows = 109;
constexpr int kIRParam = 14;
constexpr int kIROnA = 40;
constexpr int kIROnB = 41;
constexpr int kKnobBankIndex = 0x4D;
constexpr int kStoreDeviceId = 18;
constexpr int kKnobBankDeviceId = 19;
constexpr int kPresetValuesAt = 42;
constexpr int kNameAt = 10;
constexpr int kPageDrive = 13;
constexpr int kPageMidFilter = 11;
constexpr int kPagePunchFilter = 8;
const vx::ui::IColor kRowSelected(255, 100, 255, 255);
const vx::ui::IColor kRowNormal(150, 100, 255, 255);
const vx::ui::IColor kWhite(255, 255, 255, 255);

std::string Formatted(const char* format, int value) {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Chars(std::span<const uint8_t> m, std::size_t at, std::size_t count) {
    return std::string(m.begin() + std::ptrdiff_t(at), m.begin() + std::ptrdiff_t(at + count));
}

} // namespace

void OmnarControl::ProcessSysEx(const vx::ISysEx& sysex) {
    if (!sysex.data || sysex.size <= 0)
        return;
    const std::vector<uint8_t> copy(sysex.data, sysex.data + sysex.size);
    const std::span<const uint8_t> m(copy);
    if (!omnar::IsWellFormedReply(m))
        return;
    if (m[4] == omnar::kLoaderGroup) {
        OnLoaderReply(m[5]);
        return;
    }
    switch (m[5]) {
    case 0x41:
    case 0x52:
    case 0x6B:
        OnDumpReply(m);
        break;
    case 0x60:
    case 0x65:
    case 0x66:
        OnIRPart(m);
        break;
    case 0x7B:
        if (m[6] == omnar::kEditorVersionByte && !mFirmwareSending)
            SetControlText(kPresetNameReplyTag,
                           omnar::TrimReceivedName(m.subspan(7, omnar::kTextFieldSize)).c_str());
        break;
    default:
        OnShortReply(m);
    }
}

void OmnarControl::OnDumpReply(std::span<const uint8_t> m) {
    switch (m[5]) {
    case 0x41:
        if (!mConnected)
            return;
        if (mSlotSyncActive)
            OnSlotSyncDump(m);
        else if (mBackupActive)
            OnBackupDump(m);
        else
            OnCurrentPresetDump(m);
        break;
    case 0x52:
        OnSettingsReply(m);
        break;
    default:
        OnIRNamesReply(m);
    }
}

// The pedal's checksum is recorded, and the slot counted as held, only once
// its file is written whole; a failed write is said once and stays flagged.
bool OmnarControl::StoreSlotFile(int slot, std::span<const uint8_t> m) {
    const std::string path = sys::PresetsFolder() + Formatted("%03d.dat", slot + 1);
    const int error = WriteLibraryFile(path, m.subspan(8, omnar::kDumpDataSize));
    if (error != 0) {
        ReportWriteFailure(path, error);
        return false;
    }
    mPresetChecksums[std::size_t(slot)] = {m[264], m[265]};
    mSlotChanged[std::size_t(slot)] = false;
    return true;
}

// Only the awaited slot moves the sync on; a slot that keeps failing its
// check is skipped after a few tries and stays flagged for the next report.
void OmnarControl::OnSlotSyncDump(std::span<const uint8_t> m) {
    const int slot = m[7];
    if (slot != mSlotSyncSlot)
        return;
    mDumpWaitArmed = false;
    mApplyingValues = true;
    if (!omnar::DumpChecksumOk(m)) {
        if (mSlotSyncRetries < kMaxRetries) {
            ++mSlotSyncRetries;
            SendPresetDumpRequest(slot);
            return;
        }
    } else {
        if (!StoreSlotFile(slot, m)) {
            // The library cannot take more: the rest stays flagged for the next sync.
            FinishSlotSync(false);
            return;
        }
        SetPresetRow(slot, Chars(m, kNameAt, omnar::kTextFieldSize).c_str());
        if (vx::ui::ITextControl* row = mPresetRows[std::size_t(slot)]) {
            if (slot == mPresetNumber)
                row->SetTextColor(kRowSelected);
            if (!row->IsHidden())
                row->Hide(false);
        }
    }
    mSlotSyncRetries = 0;
    int next = slot + 1;
    while (next < kSlotCount && !mSlotChanged[std::size_t(next)])
        ++next;
    if (next < kSlotCount) {
        mSlotSyncSlot = next;
        ++mSlotSyncDone;
        if (mSlotSyncTotal > 0)
            SetProgress(kProgressKnob, kProgressText, double(mSlotSyncDone) / mSlotSyncTotal);
        SendPresetDumpRequest(next);
        return;
    }
    FinishSlotSync(true);
}

// The connection goes on with the settings either way.
void OmnarControl::FinishSlotSync(bool whole) {
    mSlotSyncActive = false;
    mApplyingValues = false;
    if (whole)
        SetProgress(kProgressKnob, kProgressText, 1.0);
    ShowGroup("progresscontrols", false);
    mPresetFetchWanted = true;
    SendSettingsRequest(omnar::kSettingsGlobals);
    Await(Awaited::Connect);
}

void OmnarControl::OnBackupDump(std::span<const uint8_t> m) {
    const int awaited = mBackupPresetIndex - 1;
    if (mBackupReady || m[7] != awaited)
        return;
    mDumpWaitArmed = false;
    if (!omnar::DumpChecksumOk(m)) {
        if (mBackupRetries++ < kMaxRetries)
            SendPresetDumpRequest(awaited);
        else
            AbortBackup();
        return;
    }
    if (mBankLength + omnar::kDumpSize > kBankBufferSize) {
        AbortBackup();
        return;
    }
    for (const int n : omnar::UserIRsOfPresetDump(m))
        mBackupIRWanted[std::size_t(n)] = true;
    std::copy(m.begin(), m.end(), mBankBuffer.begin() + mBankLength);
    mBankLength += omnar::kDumpSize;
    SetProgress(kProgressKnob, kProgressText, double(mBackupPresetIndex) / kSlotCount);
    ShowGroup("progresscontrols", true);
    mBackupReady = true;
}

void OmnarControl::OnCurrentPresetDump(std::span<const uint8_t> m) {
    mDumpWaitArmed = false;
    const int slot = m[7];
    const std::string number = Formatted("%02d", ParamInt(kPatchOffsetParam) + slot);
    mPresetNumber = slot;
    if (mHighlightedRow != slot) {
        if (vx::ui::ITextControl* old = mPresetRows[std::size_t(mHighlightedRow)]) {
            old->SetTextColor(kRowNormal);
            old->Hide(false);
        }
        if (vx::ui::ITextControl* row = mPresetRows[std::size_t(slot)]) {
            row->SetTextColor(kRowSelected);
            row->Hide(false);
        }
        mHighlightedRow = slot;
        const double scroll =
            double(kScrollRows - std::min(slot, kScrollRows)) / GetParam(kScrollParam)->Max();
        SetParamFromNormalised(kScrollParam, scroll);
        QueueParamValueForUI(kScrollParam, scroll, true);
    }
    if (!omnar::DumpChecksumOk(m))
        return;
    ApplyReceivedPreset(m);
    if (auto* display = GetGraphics() ? dynamic_cast<vx::ui::ITextControl*>(
                                            GetGraphics()->FindControlByTag(kPresetNumberTag))
                                      : nullptr) {
        display->SetTextColor(kWhite);
        display->Hide(false);
        display->SetString(number.c_str());
    }
    if (mStorePending) {
        mStorePending = false;
        mBlinkStopArmed = false;
        StoreSlotFile(mPresetNumber, m);
    }
    // Fetch the user IRs the preset plays that the library lacks; B follows A.
    if (ParamInt(kIROnA) > 0 && !UserIRFileExists(mUserIRNumberA))
        SendIRDumpRequest(mUserIRNumberA);
    else if (ParamInt(kIROnA) <= 0 && ParamInt(kIROnB) > 0 && !UserIRFileExists(mUserIRNumberB))
        SendIRDumpRequest(mUserIRNumberB);
}

void OmnarControl::ApplyReceivedPreset(std::span<const uint8_t> m) {
    mApplyingValues = true;
    std::array<int, omnar::kPresetValueCount> values{};
    for (int i = 0; i < omnar::kPresetValueCount; ++i) {
        values[std::size_t(i)] = m[std::size_t(kPresetValuesAt + i)];
        ApplyByte(i, values[std::size_t(i)], false);
        mStoredPresetValues[std::size_t(i)] = values[std::size_t(i)];
    }
    mUserIRNumberA = values[53] * 128 + values[54];
    mUserIRNumberB = values[55] * 128 + values[56];
    mUserIRFocusA = mUserIRFocusB = false;
    mPresetEdited = false;
    if (GetGraphics()) {
        const int amp = omnar::DetectAmpMode(values, mAmpModeDefaults);
        SelectAmpMode(amp);
        if (mCurrentPage == kPageMidFilter || mCurrentPage == kPagePunchFilter) {
            if (amp == 1 || amp == 2 || amp >= 10) {
                ShowFilterPunch();
                UpdatePunchFilterReadout();
            } else {
                ShowFilterMid();
                UpdateMidFilterReadout();
            }
        }
        SelectReverbMode(omnar::DetectReverbMode(values, mReverbModeDefaults));
        if (mCurrentPage == kPageDrive)
            ShowDrive();
        const std::string name = Chars(m, kNameAt, omnar::kTextFieldSize);
        SetControlText(kPresetNameTag, name.c_str());
        char row[64];
        std::snprintf(row, sizeof row, " %02d %s", ParamInt(kPatchOffsetParam) + mPresetNumber,
                      name.c_str());
        row[40] = 0;
        if (vx::ui::ITextControl* control = mPresetRows[std::size_t(mPresetNumber)])
            control->SetString(row);
    }
    for (const auto& [on, at, tag, factory, stored] :
         {std::tuple{kIROnA, 200, kIRNameATag, 7, &mUserIRNameA},
          std::tuple{kIROnB, 232, kIRNameBTag, 8, &mUserIRNameB}}) {
        if (mDeviceValues[std::size_t(on)] < 1) {
            SetControlText(tag, mFactoryIRNames[std::size_t(factory)].c_str());
            continue;
        }
        const std::string name =
            omnar::TrimReceivedName(m.subspan(std::size_t(at), omnar::kTextFieldSize));
        stored->fill(0);
        std::copy_n(name.begin(), std::min(name.size(), stored->size() - 1), stored->begin());
        SetControlText(tag, name.c_str());
    }
    if (mDeviceValues[kIROnA] > 0 || mDeviceValues[kIROnB] > 0)
        SelectIRSlot(ParamInt(kIRParam));
    ApplyDeviceValue(kKnobBankIndex, values[60] != 0 || values[65] != 0 ? 1 : 0);
    mApplyingValues = false;
}

void OmnarControl::OnSettingsReply(std::span<const uint8_t> m) {
    if (!mConnected) {
        OnIdentityReply(m);
        return;
    }
    if (!omnar::DumpChecksumOk(m))
        return;
    switch (m[7]) {
    case 0: {
        const bool connecting = mAwaited == Awaited::Connect;
        if (connecting)
            Await(Awaited::None);
        mApplyingValues = true;
        for (int i = 0; i < 10; ++i)
            ApplyByte(89 + i, i == 5 ? (m[14] != 0 ? 1 : 0) : m[std::size_t(9 + i)], true);
        for (int i = 0; i < 3; ++i)
            ApplyByte(33 + i, m[std::size_t(19 + i)], true);
        ApplyByte(99, m[24], true);
        ApplyByte(100, m[25], true);
        mApplyingValues = false;
        SendBulkMode(0);
        // The reply carries the stored slot, not the edit buffer: asked for
        // after every report, it would take back the panel's unsaved edits,
        // which the pedal still plays.
        if (mPresetFetchWanted) {
            mPresetFetchWanted = false;
            SendPresetDumpRequest(m[8]);
        }
        if (connecting && mIRNamesDueBlock >= 0)
            SendIRNamesRequest(std::exchange(mIRNamesDueBlock, -1));
        break;
    }
    case 1:
        for (int i = 0; i < 16; ++i)
            ApplyByte(101 + i, m[std::size_t(8 + i)], true);
        break;
    case 2:
        for (int i = 0; i < kSlotCount; ++i)
            mProgramMap[std::size_t(i)] = m[std::size_t(8 + i)];
        if (GetGraphics()) {
            const int controller = std::clamp(ParamInt(109), 0, 127);
            const int zmk = std::clamp(ParamInt(111) - 1, 0, 127);
            // The boxes show the pedal's entries too: a box left at its old
            // number would write that number back over the pedal's entry.
            for (const auto& [index, entry] : {std::pair{110, controller}, std::pair{112, zmk}}) {
                const double normalised = mProgramMap[std::size_t(entry)] / 127.0;
                SetParamFromNormalised(index, normalised);
                QueueParamValueForUI(index, normalised, true);
            }
        }
        break;
    case 3: {
        bool changed = false;
        for (int s = 0; s < kSlotCount; ++s) {
            const auto& pair = mPresetChecksums[std::size_t(s)];
            mSlotChanged[std::size_t(s)] =
                m[std::size_t(8 + 2 * s)] != pair[0] || m[std::size_t(9 + 2 * s)] != pair[1];
            changed = changed || mSlotChanged[std::size_t(s)];
        }
        if (!changed) {
            mPresetFetchWanted = true;
            SendSettingsRequest(omnar::kSettingsGlobals);
            Await(Awaited::Connect);
            break;
        }
        Await(Awaited::None);
        mSlotSyncActive = true;
        mSlotSyncSlot = -1;
        mBulkBeginPending = true;
        break;
    }
    default:
        break; // the identity replies of the poll
    }
}

void OmnarControl::OnIdentityReply(std::span<const uint8_t> m) {
    mIdentityAnswered = true;
    const int version = m[6];
    char versionText[32];
    std::snprintf(versionText, sizeof versionText, "VERSION: %.1f", version / 10.0);
    SetControlText(kDeviceTag, "DEVICE: Vorlix Quorbel Omnar");
    SetControlText(kVersionTag, versionText);
    if (const auto gate = omnar::VersionGateMessage(version)) {
        // Said once; the poll's later replies would repeat it every 3.3 s.
        if (!mGateMessageShown) {
            mPendingMessage = *gate;
            mMessagePending = true;
            mGateMessageShown = true;
        }
        return;
    }
    if (!omnar::DumpChecksumOk(m))
        return;
    if (m[7] == omnar::kSettingsIdentity) {
        mConnected = true;
        mGateMessageShown = false;
        EnableDeviceGroups(true);
        SetControlText(kSerialTag, ("SERIAL: " + Chars(m, 232, omnar::kTextFieldSize)).c_str());
        SendSettingsRequest(omnar::kSettingsChecksums);
        Await(Awaited::Connect);
    } else if (m[7] == omnar::kSettingsGlobals) {
        for (int i = 0; i < 3; ++i)
            ApplyByte(33 + i, m[std::size_t(19 + i)], true);
    }
}

void OmnarControl::OnIRNamesReply(std::span<const uint8_t> m) {
    if (!mConnected || m[6] != omnar::kEditorVersionByte || !omnar::DumpChecksumOk(m))
        return;
    const int block = m[7];
    for (int k = 0; k < 8; ++k) {
        std::string name =
            omnar::TrimReceivedName(m.subspan(std::size_t(8 + 32 * k), omnar::kTextFieldSize));
        if (name == std::string(omnar::kTextFieldSize, ' '))
            name = Formatted("Empty Slot %d", (block & 3) * 8 + k + 1);
        if (vx::ui::ITextControl* row = mIRListRows[std::size_t((block & 3) * 8 + k)])
            row->SetString(name.c_str());
    }
    if (((block + 1) & 3) != 0)
        SendIRNamesRequest(block + 1);
}

// An IR dump from the device. Only a first part announcing a whole image
// opens a transfer; parts without one are ignored, and the image is saved
// only when it arrived whole with a matching check.
void OmnarControl::OnIRPart(std::span<const uint8_t> m) {
    if (!mConnected)
        return;
    if (mBackupActive) {
        OnBackupIRPart(m);
        return;
    }
    const uint8_t command = m[5];
    if (command == 0x60) {
        const int declared = m[9] * 16384 + m[10] * 128 + m[11];
        mIRReceiveOpen = declared == omnar::kIRImagePackedSize;
        if (!mIRReceiveOpen)
            return;
    } else if (!mIRReceiveOpen) {
        return;
    }
    mIRReceive.Take(m);
    mIRChecksumRunning = int(mIRReceive.RunningSum());
    if (mAwaited == Awaited::IRDump)
        Await(command == 0x66 ? Awaited::None : Awaited::IRDump);
    if (command == 0x60) {
        SetProgress(kProgressKnob, kProgressText, 0.0);
        ShowGroup("progresscontrols", true);
        return;
    }
    if (command == 0x65) {
        const double expected = double(std::max<std::size_t>(mIRReceive.Expected(), 1));
        SetProgress(kProgressKnob, kProgressText, double(mIRReceive.Image().size()) / expected,
                    true);
        return;
    }
    mIRReceiveOpen = false;
    const int slot = mIRReceive.Slot();
    // A dump spoilt on the way is asked for once more before the IR is left
    // missing; a dump that came whole but could not be written was said already.
    if (!ReceivedIRIsWhole() && mIRDumpRetriedSlot != slot) {
        mIRDumpRetriedSlot = slot;
        SendIRDumpRequest(slot);
        return;
    }
    mIRDumpRetriedSlot = -1;
    if (SaveReceivedIR(slot))
        ShowReceivedIRName(slot);
    SelectIRSlot(ParamInt(kIRParam));
    if (slot != mUserIRNumberB && ParamInt(kIROnB) > 0 && !UserIRFileExists(mUserIRNumberB))
        SendIRDumpRequest(mUserIRNumberB);
    SetProgress(kProgressKnob, kProgressText, 1.0);
    ShowGroup("progresscontrols", false);
}

// Backup: the parts of the awaited IR are kept as they came; a dump that is
// not whole and checked is taken out again and asked for once more.
void OmnarControl::OnBackupIRPart(std::span<const uint8_t> m) {
    if (mBackupReady || mBackupIRNumber < 0)
        return;
    const uint8_t command = m[5];
    if (command == 0x60) {
        if (m[7] * 128 + m[8] != mBackupIRNumber)
            return;
        mBankLength = mBackupItemStart;
    } else if (mBankLength == mBackupItemStart) {
        return;
    }
    if (mBankLength + int32_t(m.size()) > kBankBufferSize) {
        AbortBackup();
        return;
    }
    std::copy(m.begin(), m.end(), mBankBuffer.begin() + mBankLength);
    mBankLength += int32_t(m.size());
    Await(Awaited::IRDump);
    if (command != 0x66)
        return;
    Await(Awaited::None);
    const std::span<const uint8_t> dump(mBankBuffer.data() + mBackupItemStart,
                                        std::size_t(mBankLength - mBackupItemStart));
    if (!omnar::IsWholeIRDump(dump)) {
        mBankLength = mBackupItemStart;
        if (mBackupRetries++ < kMaxRetries) {
            SendIRDumpRequest(mBackupIRNumber);
            Await(Awaited::IRDump);
        } else {
            AbortBackup();
        }
        return;
    }
    mBackupRetries = 0;
    SetProgress(kProgressKnob, kProgressText, double(mBackupIRIndex) / 256.0);
    ShowGroup("progresscontrols", true);
    mBackupReady = true;
}

void OmnarControl::OnShortReply(std::span<const uint8_t> m) {
    if (m.size() > 6 && m[6] == omnar::kEditorVersionByte) {
        if (m[5] == 0x51 && m.size() == std::size_t(omnar::kParamValueSize) &&
            omnar::IsDeviceValueIndex(m[7]))
            ApplyDeviceValue(m[7], m[8]);
        return;
    }
    switch (m[5]) {
    case 'W':
        mDeviceWriteDone = true;
        break;
    case '_':
        if (mIRAssignStep == 55 || mIRAssignStep == 53) {
            const bool b = mIRAssignStep == 55;
            mIRAssignStep = b ? 56 : 54;
            SetParamFromNormalised(mIRAssignStep,
                                   ((b ? mUserIRNumberB : mUserIRNumberA) & 0x7F) / 127.0);
        }
        break;
    case 'a':
        if (mAwaited == Awaited::UploadResult) {
            Await(Awaited::None);
            CommitStagedIR();
        }
        if (!GetGraphics())
            break;
        if (mImportIRAPending) {
            mImportIRAPending = false;
            if (mImportIRBPending) {
                ReadPresetFileIR(VxString(mImportPath.c_str()));
                break;
            }
        } else if (mImportIRBPending) {
            mImportIRBPending = false;
        } else {
            SelectIRSlot(ParamInt(kIRParam));
            break;
        }
        SelectIRSlot(ParamInt(kIRParam));
        SendCurrentPreset();
        break;
    case 'b':
        if (mAwaited == Awaited::UploadReady || mAwaited == Awaited::UploadResult) {
            Await(Awaited::None);
            mIRUploadSending = false;
            mImportIRAPending = mImportIRBPending = false;
            mStagedIRImage.clear(); // refused: the library keeps what it had
            ShowMessage("ERROR!");
        } else {
            OnRefusedChange();
        }
        break;
    case 'c':
        // Only an upload that waits for it goes on; a stray one starts nothing.
        if (mAwaited == Awaited::UploadReady) {
            Await(Awaited::None);
            mIRUploadSending = true;
        }
        break;
    default:
        OnAcknowledgement(m[5]);
    }
}

void OmnarControl::OnRefusedChange() {
    mImportIRAPending = mImportIRBPending = false;
    const SentParam sent = std::exchange(mLastParamSent, SentParam{});
    std::string what = "its last message";
    if (sent.id == kKnobBankDeviceId) {
        what = "the knob bank switch";
        ApplyDeviceValue(kKnobBankIndex, sent.value > 0 ? 0 : 1);
    } else if (sent.id == kStoreDeviceId) {
        what = "the preset store";
        mStorePending = mBlinkStopArmed = false;
    } else if (sent.id >= 0) {
        for (int i = 0; i < omnar::kPresetValueCount; ++i)
            if (mDeviceParamIds[std::size_t(i)] == sent.id)
                what = "the change of " + std::string(GetParam(i)->Name());
    }
    ShowMessage(("ERROR! The pedal refused " + what + ".").c_str());
}

// Acknowledgements move a restore or a factory-preset stream on; outside
// them they mean nothing.
void OmnarControl::OnAcknowledgement(uint8_t reply) {
    if (mAwaited != Awaited::RestoreAck || (!mRestoreActive && !mStreamActive))
        return;
    Await(Awaited::None);
    const bool refused = reply == 'r' || reply == '~';
    if (mRestoreActive) {
        if (refused) {
            // The pedal must leave bulk mode whatever ends the restore.
            SendBulkMode(0);
            mRestoreActive = false;
            SetProgress(kProgressKnob, kProgressText, 0.0);
            ShowGroup("progresscontrols", false);
            ShowMessage("Communication error!");
            return;
        }
        if (++mRestoreIndex < mRestoreCount) {
            mRestoreReady = true;
            return;
        }
        if (reply == 's') {
            // Advances but never ends the restore: the deadline does, with a message.
            Await(Awaited::RestoreAck);
            return;
        }
        SendBulkMode(0);
        mRestoreActive = false;
        mRestoreDone = true;
        return;
    }
    if (refused) {
        mStreamSending = true;
        return;
    }
    if (++mStreamIndex < mStreamCount) {
        mStreamSending = true;
        return;
    }
    if (reply == 's') {
        Await(Awaited::RestoreAck);
        return;
    }
    mStreamActive = false;
    SendBulkMode(0);
    ShowGroup("factorypresetcontrols", false);
    ClearLocalLibrary();
    RefreshPresetList();
    mPresetFetchWanted = true;
    Send(omnar::BuildFactoryReset(1));
}

void OmnarControl::OnLoaderReply(uint8_t reply) {
    switch (reply) {
    case 0x12:
        // Only a prepared image goes to the loader; a stray ready would send
        // whatever the transfer buffer last held.
        if (!mFirmwarePrepared)
            break;
        if (mAwaited == Awaited::LoaderReady)
            Await(Awaited::None);
        mFirmwarePrepared = false;
        mFirmwareSending = true;
        ShowGroup("firmwarecontrols", true);
        EnableGroup("fwupdatecontrols", false);
        break;
    case 0x14:
    case 0x15:
        mFirmwareSending = false;
        mConnected = false;
        FinishFirmware(reply == 0x14);
        break;
    default:
        break;
    }
}

void OmnarControl::ApplyDeviceValue(int index, int value) {
    if (index == kKnobBankIndex) {
        if (!GetGraphics())
            return;
        mKnobBankB = value > 0;
        for (const int tag : kKnobBankTags)
            if (vx::ui::IControl* control = GetGraphics()->FindControlByTag(tag))
                control->Hide(!mKnobBankB);
        ShowPreMidControls();
        return;
    }
    if (index < 0 || index >= omnar::kParamCount)
        return;
    mApplyingValues = true;
    ApplyByte(index, value, false);
    mApplyingValues = false;
}

// Settings are scaled by the maximum, preset values over their range.
void OmnarControl::ApplyByte(int index, int byte, bool settingsScale) {
    const vx::IParam* param = GetParam(index);
    if (!param)
        return;
    const double span = settingsScale ? param->Max() : param->Max() - param->Min();
    const double offset = settingsScale ? 0.0 : param->Min();
    const double normalised = span > 0.0 ? std::clamp((byte - offset) / span, 0.0, 1.0) : 0.0;
    SetParamFromNormalised(index, normalised);
    QueueParamValueForUI(index, normalised, true);
}
