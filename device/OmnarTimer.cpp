#include "controls/ITextControl.h"
#include "device/MessageBuilders.h"
#include "device/OmnarControl.h"
#include "device/ReplyRules.h"
#include "device/TransferMessages.h"
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace {

constexpr int kMaxRetries = 3;
// The watchdog gives a dump request this many ticks before it asks again.
constexpr int kDumpWaitTicks = 10;
constexpr int kReplyDeadlineTicks = 30;
constexpr int kLoaderDeadlineTicks = 50;
constexpr int kPollTicks = 32;
// The MIDI ports are looked up again once a second: a port gone while open
// means the pedal was unplugged or switched off.
constexpr int kPortWatchTicks = 10;
constexpr int kProgressKnob = 57;
constexpr int kProgressText = 58;
constexpr int kStreamKnob = 78;
constexpr int kStreamText = 77;
constexpr int kFirmwareKnob = 150;
constexpr int kFirmwareText = 149;
constexpr uint8_t kFreeRunningPart = 0x78; // 'x': middle IR parts need no acknowledgement

std::span<const uint8_t> Slice(const std::vector<uint8_t>& buffer, int at, int count) {
    return {buffer.data() + at, std::size_t(std::max(count, 0))};
}

} // namespace

// The 100 ms tick: completions first, then at most one transfer message.
void OmnarControl::OnZMK3Timer(vx::Timer&) {
    // A ParamChange held back by the chorus rule stays held for one tick
    // only, then goes with its latest value.
    mSuppressParamSend = false;
    SendHeldParams();
    RunPortWatch();
    RunDumpWatchdog();
    RunDeadline();
    RunCompletions();
    if (RunFirmwareStep() || RunStreamStep() || RunRestoreStep() || RunBackupStep() ||
        RunSlotSyncStep() || RunIRUploadStep())
        return;
    if (!mConnected)
        RunPoll();
}

void OmnarControl::RunDumpWatchdog() {
    if (!mDumpWaitArmed || mDumpWaitTicks++ < kDumpWaitTicks)
        return;
    if (mDumpRetries < kMaxRetries) {
        const int retries = mDumpRetries + 1;
        SendPresetDumpRequest(mDumpRequestSlot);
        mDumpRetries = retries;
        return;
    }
    mDumpWaitArmed = false;
    ShowGroup("progresscontrols", false);
    if (mConnected)
        LoseDevice();
}

void OmnarControl::RunDeadline() {
    if (mAwaited == Awaited::None)
        return;
    const int limit = mAwaited == Awaited::Loader ? kLoaderDeadlineTicks : kReplyDeadlineTicks;
    if (++mAwaitTicks < limit)
        return;
    const Awaited missed = mAwaited;
    Await(Awaited::None);
    if (missed == Awaited::Loader || missed == Awaited::LoaderReady) {
        FinishFirmware(false);
        return;
    }
    if (missed == Awaited::UploadReady || missed == Awaited::UploadResult ||
        missed == Awaited::RestoreAck)
        ShowMessage("Communication error!");
    // A pedal that comes back must not stay in bulk mode.
    if (missed == Awaited::RestoreAck && (mRestoreActive || mStreamActive))
        SendBulkMode(0);
    LoseDevice();
}

void OmnarControl::RunCompletions() {
    if (mDeviceWriteDone) {
        mDeviceWriteDone = false;
        if (GetGraphics()) {
            ShowMessage("Finished successfully!");
            SendSettingsRequest(omnar::kSettingsGlobals);
        }
    } else if (mRestoreDone) {
        mRestoreDone = false;
        if (GetGraphics()) {
            ShowGroup("progresscontrols", false);
            ShowMessage("Finished successfully!");
            ClearLocalLibrary();
            RefreshPresetList();
            mConnected = false;
            mPollEnabled = true;
        }
    }
    if (mIRPreviewPending) {
        mIRPreviewPending = false;
        if (mUserIRFocusA)
            SendIRDumpRequest(mUserIRNumberA);
        else if (mUserIRFocusB)
            SendIRDumpRequest(mUserIRNumberB);
    }
}

// Chunks leave one a tick without waiting; the loader's verdict ends it.
bool OmnarControl::RunFirmwareStep() {
    if (!mFirmwareSending)
        return false;
    const int part = omnar::kFirmwarePartBytes;
    if (mTransferSize <= 0 || mTransferSize > int(mTransferBuffer.size())) {
        mFirmwareSending = false;
        FinishFirmware(false);
        return true;
    }
    if (mTransferPos == 0) {
        const int first = std::min(part, mTransferSize);
        Send(omnar::BuildFirmwareStart(mTransferSize, Slice(mTransferBuffer, 0, first)));
        mTransferPos = first;
        mTransferRemaining = mTransferSize - first;
    } else if (mTransferRemaining > part) {
        Send(omnar::BuildFirmwareChunk(Slice(mTransferBuffer, mTransferPos, part)));
        mTransferPos += part;
        mTransferRemaining = mTransferSize - mTransferPos;
    } else {
        const int last =
            std::clamp(mTransferRemaining, 0, int(mTransferBuffer.size()) - mTransferPos);
        Send(omnar::BuildFirmwareChunkLast(
            Slice(mTransferBuffer, mTransferPos, last),
            {uint8_t(mTransferCheckHi & 0x7F), uint8_t(mTransferCheckLo & 0x7F)}));
        mTransferPos += last;
        mFirmwareSending = false;
        SetControlText(kFirmwareText, "100 %");
        Await(Awaited::Loader);
        return true;
    }
    SetProgress(kFirmwareKnob, kFirmwareText, double(mTransferPos) / mTransferSize);
    return true;
}

bool OmnarControl::RunStreamStep() {
    if (!mStreamSending)
        return false;
    // Armed: its acknowledgements now belong to it.
    mStreamActive = true;
    if (mBulkBeginPending) {
        mBulkBeginPending = false;
        SendBulkMode(1);
        return true;
    }
    mStreamSending = false;
    const auto message = mStreamIndex < mStreamCount
                             ? omnar::NthStoredMessage(mStreamBuffer, mStreamIndex)
                             : std::nullopt;
    if (!message) {
        mStreamActive = false;
        return true;
    }
    SendSysEx({0, int(message->size()), message->data()});
    SetProgress(kStreamKnob, kStreamText, double(mStreamIndex + 1) / mStreamCount);
    if ((*message)[5] == kFreeRunningPart) {
        ++mStreamIndex;
        mStreamSending = true;
    } else {
        Await(Awaited::RestoreAck);
    }
    return true;
}

// A restore waiting for its device lets the tick go on to the poll.
bool OmnarControl::RunRestoreStep() {
    if (!mRestoreActive || !mConnected)
        return false;
    if (!mRestoreReady)
        return true;
    if (mBulkBeginPending) {
        mBulkBeginPending = false;
        SendBulkMode(1);
        return true;
    }
    mRestoreReady = false;
    const std::span<const uint8_t> bank(mBankBuffer.data(), std::size_t(mBankLength));
    const auto stored =
        mRestoreIndex < mRestoreCount ? omnar::NthStoredMessage(bank, mRestoreIndex) : std::nullopt;
    if (!stored) {
        mRestoreActive = false;
        ShowGroup("progresscontrols", false);
        return true;
    }
    const std::vector<uint8_t> write = omnar::RestoreWrite(*stored, mIRChecksumRunning);
    SendSysEx({0, int(write.size()), write.data()});
    SetProgress(kProgressKnob, kProgressText, double(mRestoreIndex + 1) / mRestoreCount);
    if (write[5] == kFreeRunningPart) {
        ++mRestoreIndex;
        mRestoreReady = true;
    } else {
        Await(Awaited::RestoreAck);
    }
    return true;
}

bool OmnarControl::RunBackupStep() {
    if (!mBackupActive)
        return false;
    if (!mConnected) {
        AbortBackup();
        return true;
    }
    if (!mBackupReady)
        return true;
    if (mBackupPresetIndex <= 127) {
        mBackupItemStart = mBankLength;
        mBackupRetries = 0;
        SendPresetDumpRequest(mBackupPresetIndex++);
        mBackupReady = false;
        return true;
    }
    if (mBackupIRIndex > 255) {
        mBackupActive = false;
        mBackupReady = false;
        ShowGroup("progresscontrols", false);
        ShowMessage(WriteBankFile() ? "Finished successfully!" : "ERROR!");
        return true;
    }
    RequestNextBackupIR();
    return true;
}

void OmnarControl::RequestNextBackupIR() {
    int n = mBackupIRIndex;
    while (n < 256 && !mBackupIRWanted[std::size_t(n)])
        ++n;
    mBackupIRIndex = n >= 256 ? 256 : n + 1;
    if (n >= 256)
        return;
    mBackupIRWanted[std::size_t(n)] = false;
    mBackupIRNumber = n;
    mBackupItemStart = mBankLength;
    mBackupRetries = 0;
    mBackupReady = false;
    SendIRDumpRequest(n);
    Await(Awaited::IRDump);
}

bool OmnarControl::RunSlotSyncStep() {
    if (!mConnected || !mSlotSyncActive || mSlotSyncSlot != -1)
        return false;
    if (mBulkBeginPending) {
        mBulkBeginPending = false;
        SendBulkMode(1);
        return true;
    }
    mSlotSyncDone = 0;
    mSlotSyncTotal = int32_t(std::count(mSlotChanged.begin(), mSlotChanged.end(), true));
    const auto first = std::find(mSlotChanged.begin(), mSlotChanged.end(), true);
    if (first == mSlotChanged.end()) {
        mSlotSyncActive = false;
        return true;
    }
    mSlotSyncSlot = int32_t(first - mSlotChanged.begin());
    mSlotSyncRetries = 0;
    SendPresetDumpRequest(mSlotSyncSlot);
    SetProgress(kProgressKnob, kProgressText, 0.0);
    ShowGroup("progresscontrols", true);
    return true;
}

// First part, a wait for the device's 'c', the middle parts one a tick, the
// last part, and a wait for 'a' or 'b'.
bool OmnarControl::RunIRUploadStep() {
    if (!mConnected || !mIRUploadSending)
        return false;
    const int part = omnar::kIRPartBytes;
    if (mTransferSize <= part || mTransferSize > int(mTransferBuffer.size())) {
        mIRUploadSending = false;
        return true;
    }
    if (mTransferPos == 0) {
        Send(
            omnar::BuildIRDumpFirst(mIRUploadSlot, mTransferSize, Slice(mTransferBuffer, 0, part)));
        mTransferPos = part;
        mTransferRemaining = mTransferSize - part;
        mIRUploadSending = false;
        Await(Awaited::UploadReady);
        SetProgress(kProgressKnob, kProgressText, double(mTransferPos) / mTransferSize);
        ShowGroup("progresscontrols", true);
    } else if (mTransferRemaining > part) {
        Send(omnar::BuildIRDumpMiddle(Slice(mTransferBuffer, mTransferPos, part)));
        mTransferPos += part;
        mTransferRemaining = mTransferSize - mTransferPos;
        SetProgress(kProgressKnob, kProgressText, double(mTransferPos) / mTransferSize);
    } else {
        const int last =
            std::clamp(mTransferRemaining, 0, int(mTransferBuffer.size()) - mTransferPos);
        Send(omnar::BuildIRDumpLast(
            Slice(mTransferBuffer, mTransferPos, last),
            {uint8_t(mTransferCheckHi & 0x7F), uint8_t(mTransferCheckLo & 0x7F)}));
        mTransferPos += last;
        mIRUploadSending = false;
        Await(Awaited::UploadResult);
        SetProgress(kProgressKnob, kProgressText, 0.0);
        ShowGroup("progresscontrols", false);
    }
    return true;
}

void OmnarControl::RunPoll() {
    if (!mPollEnabled) {
        mPollTicks = 0;
        return;
    }
    if (mPollTicks++ >= kPollTicks) {
        mPollTicks = 0;
        // Nobody answered the last request: a device refused by the version
        // gate is gone, so its texts go too.
        if (!mIdentityAnswered)
            ShowSearching();
        mIdentityAnswered = false;
        SendIdentityRequest();
    }
}

void OmnarControl::RunPortWatch() {
    if (++mPortWatchTicks < kPortWatchTicks)
        return;
    mPortWatchTicks = 0;
    if (!RefindMidiPorts() || !mConnected)
        return;
    // An upload or restore cut short is told as its deadline would tell it;
    // a backup tells it itself.
    if (mIRUploadSending || mRestoreActive || mStreamActive || mAwaited == Awaited::UploadReady ||
        mAwaited == Awaited::UploadResult)
        ShowMessage("Communication error!");
    LoseDevice();
}
