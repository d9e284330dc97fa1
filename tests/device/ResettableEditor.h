#pragma once

#include "controls/ITextControl.h"
#include "toolkit/ICanvas.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

// For fuzz targets that make the editor and its panel once (most of an
// input's time went into making them) and put them back after every input to
// the state they were in when first ready: the editor's fields, the
// parameters, the panel's values, texts and groups, and empty library
// folders. An input then meets the same editor whether it runs alone or after
// others, and a crash it finds is found again by running it alone.
namespace omnar::test {

// Every field of the editor but the object's own helpers (the background
// pattern, the library scanner and the document opener), which no input
// changes. A field added to the editor belongs here.
#define OMNAR_EDITOR_FIELDS(X)                                                                     \
    X(mUserEditing)                                                                                \
    X(mBulkBeginPending)                                                                           \
    X(mMessagePending)                                                                             \
    X(mPendingMessage)                                                                             \
    X(mStatusText)                                                                                 \
    X(mPollEnabled)                                                                                \
    X(mPresetEdited)                                                                               \
    X(mLayoutBuilt)                                                                                \
    X(mPresetNumberRestorePending)                                                                 \
    X(mPresetNumberRestoreTicks)                                                                   \
    X(mCurrentPage)                                                                                \
    X(mIRSampleRate)                                                                               \
    X(mApplyingValues)                                                                             \
    X(mConnected)                                                                                  \
    X(mDeviceParamIds)                                                                             \
    X(mDeviceValues)                                                                               \
    X(mPresetNumber)                                                                               \
    X(mPresetUpHeld)                                                                               \
    X(mPresetDownHeld)                                                                             \
    X(mStoreArmed)                                                                                 \
    X(mRecallArmed)                                                                                \
    X(mRepeatTicks)                                                                                \
    X(mStorePending)                                                                               \
    X(mRecallPending)                                                                              \
    X(mBlinkPhase)                                                                                 \
    X(mBlinkStopTicks)                                                                             \
    X(mBlinkStopArmed)                                                                             \
    X(mFactoryIRNames)                                                                             \
    X(mBankExportPath)                                                                             \
    X(mAmpModeDefaults)                                                                            \
    X(mReverbModeDefaults)                                                                         \
    X(mHighlightedRow)                                                                             \
    X(mStoredPresetValues)                                                                         \
    X(mPresetChecksums)                                                                            \
    X(mSlotChanged)                                                                                \
    X(mSlotSyncActive)                                                                             \
    X(mSlotSyncSlot)                                                                               \
    X(mSlotSyncTotal)                                                                              \
    X(mSlotSyncDone)                                                                               \
    X(mDeviceWriteDone)                                                                            \
    X(mPresetFetchWanted)                                                                          \
    X(mIRReceive)                                                                                  \
    X(mIRChecksumRunning)                                                                          \
    X(mProgramMap)                                                                                 \
    X(mUserIRNumberA)                                                                              \
    X(mUserIRNumberB)                                                                              \
    X(mUserIRNameA)                                                                                \
    X(mUserIRNameB)                                                                                \
    X(mIRAssignStep)                                                                               \
    X(mUserIRFocusA)                                                                               \
    X(mUserIRFocusB)                                                                               \
    X(mKnobBankB)                                                                                  \
    X(mPresetRows)                                                                                 \
    X(mIRListRows)                                                                                 \
    X(mPresetListSelector)                                                                         \
    X(mDynamicsGraph)                                                                              \
    X(mIRListSelect)                                                                               \
    X(mCustomIRSelectLeft)                                                                         \
    X(mCustomIRSelectRight)                                                                        \
    X(mPreMidMode)                                                                                 \
    X(mPresetListOffset)                                                                           \
    X(mLastPresetPath)                                                                             \
    X(mLastChangeIndex)                                                                            \
    X(mLastChangeValue)                                                                            \
    X(mMappingTexts)                                                                               \
    X(mSuppressParamSend)                                                                          \
    X(mHeldParamSends)                                                                             \
    X(mDumpWaitArmed)                                                                              \
    X(mDumpWaitTicks)                                                                              \
    X(mIRPreviewPending)                                                                           \
    X(mPollTicks)                                                                                  \
    X(mTransferBuffer)                                                                             \
    X(mTransferPos)                                                                                \
    X(mTransferRemaining)                                                                          \
    X(mTransferSize)                                                                               \
    X(mTransferCheckHi)                                                                            \
    X(mTransferCheckLo)                                                                            \
    X(mFirmwareSending)                                                                            \
    X(mFirmwarePrepared)                                                                           \
    X(mIRUploadSending)                                                                            \
    X(mIRUploadSlot)                                                                               \
    X(mStagedIRImage)                                                                              \
    X(mStagedIRNumber)                                                                             \
    X(mStreamSending)                                                                              \
    X(mStreamIndex)                                                                                \
    X(mStreamCount)                                                                                \
    X(mStreamBuffer)                                                                               \
    X(mRestoreActive)                                                                              \
    X(mRestoreReady)                                                                               \
    X(mRestoreDone)                                                                                \
    X(mRestoreIndex)                                                                               \
    X(mRestoreCount)                                                                               \
    X(mBackupActive)                                                                               \
    X(mBackupReady)                                                                                \
    X(mBackupPresetIndex)                                                                          \
    X(mBackupIRIndex)                                                                              \
    X(mBackupIRWanted)                                                                             \
    X(mBankBuffer)                                                                                 \
    X(mBankLength)                                                                                 \
    X(mStreamActive)                                                                               \
    X(mDumpRequestSlot)                                                                            \
    X(mDumpRetries)                                                                                \
    X(mAwaited)                                                                                    \
    X(mAwaitTicks)                                                                                 \
    X(mSlotSyncRetries)                                                                            \
    X(mBackupItemStart)                                                                            \
    X(mBackupIRNumber)                                                                             \
    X(mBackupRetries)                                                                              \
    X(mIRReceiveOpen)                                                                              \
    X(mGateMessageShown)                                                                           \
    X(mIRSamples)                                                                                  \
    X(mIRGain)                                                                                     \
    X(mIRNames)                                                                                    \
    X(mLastWavPath)                                                                                \
    X(mIRImportBusy)                                                                               \
    X(mIRListPage)                                                                                 \
    X(mIRDisplay)                                                                                  \
    X(mBankPath)                                                                                   \
    X(mImportPath)                                                                                 \
    X(mImportIRAPending)                                                                           \
    X(mImportIRBPending)                                                                           \
    X(mFirmwareBlockBuffer)                                                                        \
    X(mFirmwareBlocksReady)                                                                        \
    X(mFirmwareBlockIndex)                                                                         \
    X(mFirmwareBlockCount)                                                                         \
    X(mFirmwareLineCount)

// Base is the editor (or a test subclass of it) with its panel open.
template <class Base>
class ResettableEditor : public Base {
public:
    using Base::Base;

    // The state to go back to: call once the editor and its panel are ready.
    void Remember() {
#define OMNAR_SAVE(field) saved.field = this->field;
        OMNAR_EDITOR_FIELDS(OMNAR_SAVE)
#undef OMNAR_SAVE
        params.clear();
        for (int i = 0; i < this->NParams(); ++i)
            params.push_back(this->GetParam(i)->CurrentValue());
        controls.clear();
        vx::ui::ICanvas* canvas = this->GetGraphics();
        for (int i = 0; i < canvas->NControls(); ++i) {
            vx::ui::IControl* control = canvas->GetControl(i);
            ControlState state{control, {}, control->IsHidden(), control->IsDisabled(), {}, false};
            for (int slot = 0; slot < control->NVals(); ++slot)
                state.values.push_back(control->GetValue(slot));
            if (const auto* text = dynamic_cast<const vx::ui::ITextControl*>(control)) {
                state.text = text->GetString();
                state.isText = true;
            }
            controls.push_back(std::move(state));
        }
    }

    void PutBack() {
#define OMNAR_RESTORE(field) this->field = saved.field;
        OMNAR_EDITOR_FIELDS(OMNAR_RESTORE)
#undef OMNAR_RESTORE
        // The values alone, as the device path sets them: nothing is sent.
        for (int i = 0; i < this->NParams(); ++i)
            this->GetParam(i)->Set(params[std::size_t(i)]);
        vx::ui::ICanvas* canvas = this->GetGraphics();
        if (canvas->NControls() != int(controls.size()))
            std::abort(); // the panel is laid out once; no input may add or remove controls
        for (int i = 0; i < canvas->NControls(); ++i) {
            const ControlState& state = controls[std::size_t(i)];
            if (canvas->GetControl(i) != state.control)
                std::abort();
            // Only what the input changed: hiding, enabling and setting a
            // text mark the control for drawing and took most of an input's time.
            if (state.control->IsHidden() != state.hidden)
                state.control->Hide(state.hidden);
            if (state.control->IsDisabled() != state.disabled)
                state.control->SetDisabled(state.disabled);
            for (int slot = 0; slot < int(state.values.size()); ++slot)
                state.control->SetValue(state.values[std::size_t(slot)], slot);
            if (state.isText) {
                auto* text = static_cast<vx::ui::ITextControl*>(state.control);
                if (text->GetString() != state.text)
                    text->SetString(state.text.c_str());
            }
        }
    }

private:
    struct ControlState {
        vx::ui::IControl* control;
        std::vector<double> values;
        bool hidden;
        bool disabled;
        std::string text; // text controls only
        bool isText;
    };
    struct Saved {
#define OMNAR_DECLARE(field) decltype(ResettableEditor::field) field;
        OMNAR_EDITOR_FIELDS(OMNAR_DECLARE)
#undef OMNAR_DECLARE
    };
    Saved saved;
    std::vector<double> params;
    std::vector<ControlState> controls;
};

// The library folders, emptied of what an input wrote into them. Listing
// them for every input took longer than the input: the kernel says whether
// anything was made there since the last look.
class LibraryWatch {
public:
    explicit LibraryWatch(std::string root)
        : root(std::move(root)), fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd < 0)
            std::abort();
        Empty();
    }
    ~LibraryWatch() { close(fd); }

    void EmptyIfChanged() {
        bool changed = false;
        alignas(inotify_event) char events[4096];
        while (read(fd, events, sizeof events) > 0)
            changed = true;
        if (changed)
            Empty();
    }

private:
    // Removes every file, and watches every folder (new ones too) for what is made or moved in.
    void Empty() {
        Watch(root);
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (entry.is_directory())
                Watch(entry.path());
            else
                files.push_back(entry.path());
        }
        for (const auto& file : files)
            std::filesystem::remove(file);
    }
    void Watch(const std::filesystem::path& folder) {
        if (inotify_add_watch(fd, folder.c_str(), IN_CREATE | IN_MOVED_TO) < 0)
            std::abort();
    }

    std::string root;
    int fd;
};

} // namespace omnar::test
