#pragma once

#include "tests/device/LibraryFixtures.h"
#include "tests/devsim/DeviceSim.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace omnar::test {

// The editor with the reply handling's and the timer's state in reach.
class RigEditor : public LibraryEditor {
public:
    using LibraryEditor::LibraryEditor;
    using OmnarControl::mAwaited;
    using OmnarControl::mBackupActive;
    using OmnarControl::mBackupIRIndex;
    using OmnarControl::mBackupIRWanted;
    using OmnarControl::mBackupPresetIndex;
    using OmnarControl::mBackupReady;
    using OmnarControl::mBankBuffer;
    using OmnarControl::mBankExportPath;
    using OmnarControl::mBankLength;
    using OmnarControl::mBankPath;
    using OmnarControl::mBlinkPhase;
    using OmnarControl::mBlinkStopArmed;
    using OmnarControl::mBlinkStopTicks;
    using OmnarControl::mBulkBeginPending;
    using OmnarControl::mDeviceValues;
    using OmnarControl::mDumpWaitArmed;
    using OmnarControl::mImportIRAPending;
    using OmnarControl::mImportIRBPending;
    using OmnarControl::mImportPath;
    using OmnarControl::mKnobBankB;
    using OmnarControl::mMessagePending;
    using OmnarControl::mOpenDocument;
    using OmnarControl::mPendingMessage;
    using OmnarControl::mPollEnabled;
    using OmnarControl::mPresetDownHeld;
    using OmnarControl::mPresetEdited;
    using OmnarControl::mPresetNumber;
    using OmnarControl::mPresetNumberRestorePending;
    using OmnarControl::mPresetNumberRestoreTicks;
    using OmnarControl::mPresetUpHeld;
    using OmnarControl::mProgramMap;
    using OmnarControl::mRecallPending;
    using OmnarControl::mRepeatTicks;
    using OmnarControl::mRestoreActive;
    using OmnarControl::mRestoreCount;
    using OmnarControl::mRestoreDone;
    using OmnarControl::mRestoreIndex;
    using OmnarControl::mRestoreReady;
    using OmnarControl::mSlotChanged;
    using OmnarControl::mSlotSyncSlot;
    using OmnarControl::mStoredPresetValues;
    using OmnarControl::mStorePending;
    using OmnarControl::mStreamActive;
    using OmnarControl::mStreamBuffer;
    using OmnarControl::mStreamIndex;
    using OmnarControl::mStreamSending;
    using OmnarControl::mUserIRNameA;
    using OmnarControl::mUserIRNameB;
};

// The editor and the simulated pedal on one clock. A 100 ms step is one
// transfer tick and five UI ticks; before each UI tick the messages the
// editor sent reach the pedal, and the replies due by then enter the
// callback ring the UI tick empties. Nothing sleeps.
class DeviceRig {
public:
    explicit DeviceRig(bool panel = true, devsim::SimState state = devsim::FactoryState());

    void Step();
    void Steps(int count);
    // Steps until the condition holds; false when it did not within maxSteps.
    bool RunUntil(const std::function<bool()>& condition, int maxSteps);
    // Identity, checksums, slot sync, settings and the current preset.
    bool Connect(int maxSteps = 400);
    // As the callback thread hands a message over; taken at the next UI tick.
    void Feed(const Bytes& message);
    // Feeds and runs one UI tick; what the editor sent in it reaches the pedal.
    void FeedNow(const Bytes& message);

    // Every message the editor sent, in order, and the ones from `from` on
    // that carry the command.
    std::vector<Bytes> SentWithCommand(int command, std::size_t from = 0) const;
    std::vector<std::string> MessageBoxes() const;
    std::string PresetFile(int slot) const;

    TempDataHome home;
    vx::test::FakeHost host;
    std::unique_ptr<RigEditor> editor;
    devsim::DeviceSim pedal;
    std::vector<Bytes> sent;
    std::vector<int> sentTicks; // the transfer tick each sent message belongs to
    std::int64_t nowMs = 0;
    int ticks = 0;

private:
    void UITick();
    void DeliverOutgoing();
};

// The 2-byte command key of a message: group and command ("05 40").
int CommandOf(const Bytes& message);
std::string Hex(const Bytes& bytes, std::size_t count = 16);

} // namespace omnar::test
