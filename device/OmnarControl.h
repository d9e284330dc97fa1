#pragma once

#include "controls/DirectoryScanner.h"
#include "device/DeviceParamIdTable.h"
#include "device/IRReceive.h"
#include "device/ParamValues.h"
#include "framework/IStandaloneApp.h"
#include "framework/VxString.h"
#include "toolkit/IDrawingRecords.h"

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vx {
class Timer;
namespace ui {
class ICanvas;
class IDynamicsResponseGraph;
class IFreqResponseGraph;
class IInvisibleSelectControl3;
class ITextControl;
} // namespace ui
} // namespace vx

namespace omnar {
class DeviceMessage;
namespace pages {
class PageBuilder;
}
} // namespace omnar

// The editor of the pedal: the one plug-in object of the application. Its
// state is shared without locks between the main thread (UI and transfer
// timers, control actions) and the device reply path; every handshake flag
// has one side that sets it and one that clears it.
class OmnarControl : public vx::IStandaloneApp {
public:
    using Name = std::array<char, 33>; // 32 characters and a terminator

    static constexpr int kTransferBufferSize = 65536;
    // Holds a packed firmware file of up to 65,535 bytes.
    static constexpr int kTransferBufferCapacity = 74898;
    static constexpr int kBankBufferSize = 1048576;
    static constexpr int kStreamBufferSize = 262144;
    static constexpr int kIRSampleCount = 4096;
    static constexpr int kIRNameCount = 288;
    static constexpr uint32_t kTransferTimerMs = 100;

    explicit OmnarControl(const vx::InstanceInfo& info);
    ~OmnarControl() override;

    // ---- Overrides ----
    void OnParamChange(int32_t index) override;
    void HandleMidiMsgOnUI(const vx::IMidiMsg&) override {}
    // No MIDI thru: the device's own short messages stop here.
    void ProcessMidiMessage(const vx::IMidiMsg&) override {}
    // Every device reply; the UI tick drains them here on the main thread.
    void ProcessSysEx(const vx::ISysEx& sysex) override;
    void ShowConnectionStatus() override;
    // The 20 ms idle work: messages, the preset number, auto-repeat, blink.
    void OnIdle() override;
    // Menu commands 1..8 of the application shell.
    void OnHostRequestingMessage(int32_t command) override;
    bool OnHostRequestingAboutBox() override;
    bool OnHostRequestingManual() override;
    // The manual's absolute path among the resources; "" when there is none.
    static std::string ManualPath();
    // Says, with the manual's path, that nothing could show it.
    void ReportManualNotOpened();
    void OnEditorClose() override;
    // Silence: the editor passes no audio.
    void ProcessAudioBlock(double** inputs, double** outputs, int frames) override;
    void ShowIRListPage(int page);
    void MoveIRListHighlight(int slot);
    // Today as "%m%d%Y".
    static std::string MakeDateString();

    // ---- Device replies ----
    // One device value to parameter `index`; 0x4D switches the knob bank.
    void ApplyDeviceValue(int index, int value);

    // ---- Transfer timer, every 100 ms on the main thread ----
    void OnZMK3Timer(vx::Timer& timer);

    // ---- Device message builders: each sends one message at once ----
    void SendSettingsRequest(int type);
    void SendIdentityRequest();
    void SendPresetSelect(int preset);
    // Also arms the dump-reply watchdog.
    void SendPresetDumpRequest(int slot);
    void SendIRDumpRequest(int slot);
    void SendIRNamesRequest(int block);
    // BulkBegin for 1, BulkEnd for 0.
    void SendBulkMode(int begin);
    void SendEditorClosed();
    void SendParamMessage(int deviceParamId, int value);
    // The edited preset as a 0x20 dump to the selected slot.
    void SendCurrentPreset();
    // Types 0, 1 and 2; other types send nothing.
    void SendSettingsDump(int type);
    void SendAltHeaderParams();
    void SendAltHeaderRequest();

    // ---- Pages (built in pages/) ----
    void LayoutPages(vx::ui::ICanvas* canvas);
    void SelectAmpMode(int mode);
    void SelectReverbMode(int mode);
    void ShowFilterMid();
    void ShowFilterPunch();
    void UpdateMidFilterReadout();
    void UpdatePunchFilterReadout();
    void UpdateHighFilterReadout();
    // Tag 1 coloured by whether the values still equal the stored preset.
    void UpdatePresetEditedIndicator();
    // The MIDI message a pedal or switch row of the jacks sends, as three
    // texts; rows 0..5, others nothing.
    void ShowMidiMappingText(int row);
    void ShowDrive();
    void ShowPreMidControls();
    void ShowIR();
    // The effect pages share one area; each method shows one page's groups
    // (main thread; nothing without a panel).
    void HideControls();
    void ShowControls();
    void DisableAllControls(bool disable);
    void ShowGate();
    void ShowDynamics();
    void ShowAmbience();
    void ShowAnalogSim();
    void ShowFilter();
    void ShowFilterBuzz();
    void ShowFilterCrunch();
    void ShowFilterLow();
    void ShowFilterHigh();
    void ShowPreamp();
    void ShowLevel();
    void ShowAutoFilter();
    void ShowChorus();
    void ApplyAmpModeDefaults(int mode);
    void ApplyReverbModeDefaults(int mode);

    // ---- Control actions of the pages (each one Part action) ----
    void OnReverbRadio(int type);
    void OnAmpRadio(int model);
    void OnImportPresetButton();
    void OnExportPresetButton();
    // Fired on press and on release; `tag` names the switch.
    void OnFootswitch(int tag);
    void OnIRImportButton(int slot);
    // Opens the custom IR list on the bank of the slot's user IR.
    void OnIRListButton(int slot);
    void OnPresetNameEdited();
    void OnReconnectButton();
    void OnUpdateFirmwareButton();
    void OnCloseFirmwarePage();
    void OnCloseCustomIRList();
    void OnCloseGlobalSettings();
    void OnOpenMidiProgramMap();
    void OnOpenMidiCCMap();
    // 0 everything, 1 the presets, 2 the settings.
    void OnFactoryResetButton(int type);
    void OnMidiCCBack();
    void OnMidiProgramBack();
    void OnCloseAbout();

    // ---- Local preset library ----
    // Removes every ".dat" file of the Presets, User IRs and Factory IRs folders.
    void ClearLocalLibrary();
    // Removes the staging files of library writes whose writer was killed.
    void RemoveAbandonedLibraryFiles();
    // All 128 rows and the checksum table from the slot files.
    void RefreshPresetList();
    // The rows of the slot files present; "NNN.dat" fills row NNN - 1.
    void ListPresetFolder();

    // ---- Impulse-response library (main thread) ----
    // Copies the factory WAVs that are missing from <resources>/irs/.
    void InstallFactoryIRs();
    void InstallFactoryIRs(const std::string& resourceFolder);
    // File indexes are 0-based; only complete 2436-byte slot files count.
    bool UserIRFileExists(int n);
    bool FactoryIRFileExists(int n);
    void LoadUserIR(int n);
    void LoadFactoryIR(int n);
    void LoadFactoryIRName(int n);
    void BuildIRNameList(int n);
    // After user IR n came from the pedal: its name in the table and in slot
    // 7's or 8's row while that slot plays it.
    void ShowReceivedIRName(int n);
    void ShowUserIRName(int n);
    // The displayed IR for an IR selector value 0..127; nothing is sent.
    void SelectIRSlot(int value);
    // False, the IR unchanged, for a file that is not a readable WAV.
    bool ReadWavFile(const VxString& path);
    void LoadWavIR();
    // The WAV just read (mLastWavPath) as IR n's slot file, and its upload.
    void StoreWavIR(int irNumber);
    // Stores the current IR as IR n's slot file and, when asked, prepares its
    // upload; the name is cut of its trailing spaces in place.
    void NormalizeAndPackIR(Name& name, int irNumber, bool upload);
    // The IR dump just received came whole and passed its check.
    bool ReceivedIRIsWhole() const;
    // Stores the IR dump just received; false (nothing written) unless it
    // arrived whole with a matching check and its file was written.
    bool SaveReceivedIR(int irNumber);
    // The pedal accepted the upload: its image becomes the library's file.
    void CommitStagedIR();
    void ReadPresetFileIR(const VxString& path);

    // ---- Bank file ----
    // The collected backup to mBankExportPath through a staging file; false
    // (nothing replaced) when it could not be written whole.
    bool WriteBankFile();
    // The backup's save prompt; true when a path was chosen.
    bool ChooseBankExportPath();
    // Question, prompt, load and check; arms the restore.
    void LoadImportedBank();

    // ---- Firmware ----
    // Reads and packs the file and asks the device for its loader.
    void PrepareFirmwareTransfer(const VxString& path);
    // The older block-image path; nothing calls it.
    void FirmwareUpdate(VxString path);

    // ---- Preset exchange files ----
    void ImportPreset(VxString path);
    // The path loses its extension in place.
    void ExportPreset(VxString& path);

private:
    // Replies the timer waits for with a deadline of its own.
    enum class Awaited {
        None,
        Connect,
        IRDump,
        UploadReady,
        UploadResult,
        RestoreAck,
        LoaderReady,
        Loader
    };

    // Reply handling, by kind of message.
    void OnDumpReply(std::span<const uint8_t> m);
    void OnSlotSyncDump(std::span<const uint8_t> m);
    void OnBackupDump(std::span<const uint8_t> m);
    void OnCurrentPresetDump(std::span<const uint8_t> m);
    void ApplyReceivedPreset(std::span<const uint8_t> m);
    bool StoreSlotFile(int slot, std::span<const uint8_t> m);
    void FinishSlotSync(bool whole);
    // Writes a library file whole; 0, or the errno of the failure.
    static int WriteLibraryFile(const std::string& path, std::span<const uint8_t> bytes);
    // One box naming the folder a library write failed in and why.
    void ReportWriteFailure(const std::string& path, int error);
    void OnSettingsReply(std::span<const uint8_t> m);
    void OnIdentityReply(std::span<const uint8_t> m);
    void OnIRNamesReply(std::span<const uint8_t> m);
    void OnIRPart(std::span<const uint8_t> m);
    void OnBackupIRPart(std::span<const uint8_t> m);
    void OnShortReply(std::span<const uint8_t> m);
    void OnAcknowledgement(uint8_t reply);
    void OnLoaderReply(uint8_t reply);
    void ApplyByte(int index, int byte, bool settingsScale);

    // Transfer timer steps; each returns true when it used the tick.
    void RunDumpWatchdog();
    void RunDeadline();
    void RunCompletions();
    bool RunFirmwareStep();
    bool RunStreamStep();
    bool RunRestoreStep();
    bool RunBackupStep();
    bool RunSlotSyncStep();
    bool RunIRUploadStep();
    void RunPoll();
    void RunPortWatch();

    // Connection and transfer ends.
    void Await(Awaited reply);
    // A deadline passed for good: every transfer ends and the poll looks again.
    void LoseDevice();
    void AbortBackup();
    void FinishFirmware(bool accepted);
    void AskRebuildLibrary();
    void RefillLibrary();
    // A refusal of an ordinary message: says what was refused and puts back
    // the knob bank the pedal kept.
    void OnRefusedChange();
    // The status rows while the poll looks for the pedal.
    void ShowSearching();
    const char* SearchingText() const;
    void RequestNextBackupIR();

    // Preset exchange and idle helpers.
    void ApplyImportedValues(const std::array<int, 74>& values);
    bool UploadImportedImage(std::span<const uint8_t> image, int slot);
    void StepPresetNumber(int delta);
    void ShowPresetNumber();
    void RunBlink(bool& pending, int period, int hideAt);
    bool AskOkCancel(const char* text);

    // Stretches of the layout, in the order LayoutPages runs them.
    void BuildPanel(vx::ui::ICanvas& canvas);
    void LayoutBackground(omnar::pages::PageBuilder& builder);
    void LayoutFrontPanel(omnar::pages::PageBuilder& builder);
    void LayoutEffectPages(omnar::pages::PageBuilder& builder);
    void LayoutAmbiencePage(omnar::pages::PageBuilder& builder);
    void LayoutDrivePages(omnar::pages::PageBuilder& builder);
    void LayoutPageTitles(omnar::pages::PageBuilder& builder);
    void LayoutMainControls(omnar::pages::PageBuilder& builder);
    void LayoutIRPage(omnar::pages::PageBuilder& builder);
    void LayoutIRSlotList(omnar::pages::PageBuilder& builder);
    // The main panel's controls built among the IR page's: over the display,
    // the preset name, the standalone notice.
    void LayoutDisplayArea(omnar::pages::PageBuilder& builder);
    void LayoutPresetName(omnar::pages::PageBuilder& builder);
    void LayoutNotice(omnar::pages::PageBuilder& builder);
    void LayoutDeviceStatusPages(omnar::pages::PageBuilder& builder);
    void LayoutCustomIRList(omnar::pages::PageBuilder& builder);
    void LayoutGlobalSettingsPage(omnar::pages::PageBuilder& builder);
    void LayoutMidiPages(omnar::pages::PageBuilder& builder);
    void LayoutAboutAndProgressPages(omnar::pages::PageBuilder& builder);
    void ApplyStartUpState(vx::ui::ICanvas& canvas);
    // ShowPreMidControls on a given context.
    void ArrangeKnobs(vx::ui::ICanvas& canvas);
    void LoadLibraryIntoPanel();
    // The panel's pointers to its controls; cleared when the panel goes.
    void ForgetPanelControls();
    // A page method's common steps: every effect page hidden, the page
    // recorded, curve and hint set, the page's groups shown.
    void ShowPage(int page, bool curve, std::initializer_list<const char*> groups);

    // The panel's part of a parameter change (pages/).
    void ReactToParamChange(int index, int value);
    void ShowPresetReadout(int index, int value);
    // Page `page` by its method, unless shown already or values are applied.
    void SwitchPage(int page, void (OmnarControl::*show)());
    // SetParamFromNormalised, then the bound controls follow.
    void SetParamAndQueue(int index, double normalised);
    void OnPresetListGesture(int value);
    void OnCustomIRListGesture(int index, int value);
    void CheckIRRow(int irNumber);
    void OnIRModeChange(int index, int value);
    void OnGlobalSettingChange(int index, int value);
    void OnJackSettingChange(int index, int value);
    void RebuildMappingTexts(int index, int value);
    // Values held back by the chorus rule's block go at the next tick.
    void SendHeldParams();
    void StepFromFootswitch(int tag, int delta);
    void ReleaseStepFootswitch();

    // Panel work; nothing without a panel.
    // "%d %%" of the percentage; rounded ("%.0f %%") for an incoming IR.
    void SetProgress(int knobTag, int textTag, double fraction, bool rounded = false);
    void ShowGroup(const char* group, bool show);
    void EnableGroup(const char* group, bool enable);
    void EnableDeviceGroups(bool enable);
    void ShowMessage(const char* text);

    friend void ReadPresetName(OmnarControl* editor, const VxString& path, int row);
    void SetPresetRow(int row, const char* name);
    void SetControlText(int tag, const char* text);
    bool LoadIRFile(const std::string& path);
    void LoadIRPosition(int position);
    int ParamInt(int index) const;
    void Send(const omnar::DeviceMessage& message);
    std::array<vx::IParam*, omnar::kParamCount> ParamPointers() const;
    // The text of a text control found by tag; empty without a panel.
    std::string ControlText(int tag) const;

protected:
    // The shared state; tests reach it through a subclass.
    // ---- The object as a whole ----
    vx::ui::IFillPattern mBackgroundPattern{vx::ui::IColor(255, 127, 127, 127)};
    vx::ui::DirectoryScanner mLibraryDir; // the library clean-up's scanner; closes itself
    bool mUserEditing = false;
    bool mBulkBeginPending = false;
    bool mMessagePending = false;
    std::string mPendingMessage;
    std::string mStatusText;
    bool mPollEnabled = true;
    bool mPresetEdited = false;
    bool mLayoutBuilt = false;
    bool mPresetNumberRestorePending = false;
    int32_t mPresetNumberRestoreTicks = 0;
    int32_t mCurrentPage = 0;
    double mIRSampleRate = 44100.0;
    bool mApplyingValues = true;
    bool mConnected = false;
    std::array<int32_t, omnar::kDeviceParamIdCount> mDeviceParamIds{};
    std::array<int32_t, omnar::kParamCount> mDeviceValues{};
    int32_t mPresetNumber = 0;
    bool mPresetUpHeld = false;
    bool mPresetDownHeld = false;
    bool mStoreArmed = false;
    bool mRecallArmed = false;
    int32_t mRepeatTicks = 0;
    bool mStorePending = false;
    bool mRecallPending = false;
    int32_t mBlinkPhase = 0;
    int32_t mBlinkStopTicks = 0;
    bool mBlinkStopArmed = false;
    std::array<std::string, 9> mFactoryIRNames;
    VxString mBankExportPath;
    std::array<std::array<int32_t, 11>, 10> mAmpModeDefaults{};
    std::array<std::array<int32_t, 10>, 7> mReverbModeDefaults{};

    // ---- Reply handling ----
    int32_t mHighlightedRow = 0;
    std::array<int32_t, omnar::kPresetValueCount> mStoredPresetValues{};
    std::array<std::array<uint8_t, 2>, 128> mPresetChecksums{};
    std::array<bool, 128> mSlotChanged{};
    bool mSlotSyncActive = false;
    int32_t mSlotSyncSlot = 0;
    int32_t mSlotSyncTotal = 0;
    int32_t mSlotSyncDone = 0;
    bool mDeviceWriteDone = false;
    // The next global settings report fetches the pedal's current preset:
    // set while connecting and by a factory reset, which replace the panel's
    // values; other reports leave the panel's unsaved edits alone.
    bool mPresetFetchWanted = false;
    omnar::IRReceive mIRReceive;
    int32_t mIRChecksumRunning = 0;
    std::array<int32_t, 128> mProgramMap{};
    int32_t mUserIRNumberA = 0;
    int32_t mUserIRNumberB = 0;
    Name mUserIRNameA{};
    Name mUserIRNameB{};
    int32_t mIRAssignStep = 0;
    bool mUserIRFocusA = false;
    bool mUserIRFocusB = false;
    bool mKnobBankB = false;
    // Controls of the panel, owned by it; null while no panel is laid out.
    std::array<vx::ui::ITextControl*, 128> mPresetRows{};
    std::array<vx::ui::ITextControl*, 32> mIRListRows{};
    vx::ui::IInvisibleSelectControl3* mPresetListSelector = nullptr;
    vx::ui::IDynamicsResponseGraph* mDynamicsGraph = nullptr;
    vx::ui::IInvisibleSelectControl3* mIRListSelect = nullptr;
    vx::ui::IInvisibleSelectControl3* mCustomIRSelectLeft = nullptr;
    vx::ui::IInvisibleSelectControl3* mCustomIRSelectRight = nullptr;

    // ---- Pages ----
    // 1 while the amp mode uses the pre-mid knob arrangement.
    uint8_t mPreMidMode = 0;
    int32_t mPresetListOffset = 0;
    // The preset file dialog's proposal; the import chain keeps its own path.
    std::string mLastPresetPath;
    int32_t mLastChangeIndex = -1;
    int32_t mLastChangeValue = 0;
    // The three texts of each jack row's MIDI mapping (no control shows them).
    std::array<std::array<std::string, 3>, 6> mMappingTexts{};

    // ---- Transfer scheduler ----
    bool mSuppressParamSend = false;
    // Changes that the block held back; each goes once when it lifts.
    std::array<bool, omnar::kPresetValueCount> mHeldParamSends{};
    bool mDumpWaitArmed = false;
    int32_t mDumpWaitTicks = 0;
    bool mIRPreviewPending = false;
    int32_t mPollTicks = 0;
    // A device answered the identity request since the last poll.
    bool mIdentityAnswered = false;
    int32_t mPortWatchTicks = 0;
    std::vector<uint8_t> mTransferBuffer = std::vector<uint8_t>(kTransferBufferCapacity);
    int32_t mTransferPos = 0;
    int32_t mTransferRemaining = 0;
    int32_t mTransferSize = 0;
    int32_t mTransferCheckHi = 0;
    int32_t mTransferCheckLo = 0;
    bool mFirmwareSending = false;
    // A firmware image waits in mTransferBuffer; an IR upload must not touch it.
    bool mFirmwarePrepared = false;
    bool mIRUploadSending = false;
    int32_t mIRUploadSlot = 0;
    // The image of the upload under way and its IR number: it joins the
    // library only once the pedal accepts it ('a'); empty when none waits.
    std::vector<uint8_t> mStagedIRImage;
    int32_t mStagedIRNumber = -1;
    bool mStreamSending = false;
    int32_t mStreamIndex = 0;
    int32_t mStreamCount = 0;
    std::vector<uint8_t> mStreamBuffer = std::vector<uint8_t>(kStreamBufferSize);
    bool mRestoreActive = false;
    bool mRestoreReady = false;
    bool mRestoreDone = false;
    int32_t mRestoreIndex = 0;
    int32_t mRestoreCount = 0;
    bool mBackupActive = false;
    bool mBackupReady = false;
    int32_t mBackupPresetIndex = 0;
    int32_t mBackupIRIndex = 0;
    std::array<bool, 256> mBackupIRWanted{};
    std::vector<uint8_t> mBankBuffer = std::vector<uint8_t>(kBankBufferSize);
    int32_t mBankLength = 0;
    // A factory-preset stream is armed: acknowledgements belong to it.
    bool mStreamActive = false;
    // Deadlines: the watchdog re-sends the awaited dump request a few times;
    // other replies have a fixed number of ticks.
    int32_t mDumpRequestSlot = 0;
    int32_t mDumpRetries = 0;
    Awaited mAwaited = Awaited::None;
    int32_t mAwaitTicks = 0;
    int32_t mSlotSyncRetries = 0;
    // Backup: where the item in flight starts in mBankBuffer, and its retries.
    int32_t mBackupItemStart = 0;
    int32_t mBackupIRNumber = -1;
    int32_t mBackupRetries = 0;
    // An IR transfer from the device opened by a first part of the right size.
    bool mIRReceiveOpen = false;
    // The version gate's message was left once; no other until a reconnect.
    bool mGateMessageShown = false;
    // The last ParamChange sent: device parameter id and value, id -1 for none.
    struct SentParam {
        int id = -1;
        int value = 0;
    };
    SentParam mLastParamSent;
    // The IR whose spoilt dump was asked for again, or -1.
    int32_t mIRDumpRetriedSlot = -1;
    // The IR names block asked for before a device could answer, or -1.
    int32_t mIRNamesDueBlock = -1;

    // ---- Impulse responses ----
    std::vector<double> mIRSamples = std::vector<double>(kIRSampleCount);
    double mIRGain = 0.0;
    std::array<Name, kIRNameCount> mIRNames{};
    std::string mLastWavPath;
    bool mIRImportBusy = false;
    int32_t mIRListPage = 0;
    // The panel's response display, owned by it; null until a layout sets it.
    vx::ui::IFreqResponseGraph* mIRDisplay = nullptr;

    // ---- Bank and preset exchange files ----
    std::string mBankPath;
    std::string mImportPath;
    bool mImportIRAPending = false;
    bool mImportIRBPending = false;
    // Opens a document with its default application; tests replace it.
    std::function<bool(const std::string&)> mOpenDocument;

    // ---- The older firmware path ----
    std::vector<uint8_t> mFirmwareBlockBuffer = std::vector<uint8_t>(kTransferBufferSize);
    bool mFirmwareBlocksReady = false;
    int32_t mFirmwareBlockIndex = 0;
    int32_t mFirmwareBlockCount = 0;
    int32_t mFirmwareLineCount = 0;
};

// One slot file's preset name into row `row` of the preset list.
void ReadPresetName(OmnarControl* editor, const VxString& path, int row);
// Orders names with their digit runs compared by value: "2.dat" before "10.dat".
int CompareNumeric(const char* a, const char* b);

// The host's one way to make the editor; construction is serialised.
std::unique_ptr<OmnarControl> CreatePlugInstance(const vx::InstanceInfo& info);
