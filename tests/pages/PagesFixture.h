#pragma once

#include "device/OmnarControl.h"
#include "tests/device/LibraryFixtures.h"
#include "tests/framework/PluginFixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace omnar::test {

// The editor with the members the pages fill and read in reach.
class PagesEditor : public OmnarControl {
public:
    using OmnarControl::OmnarControl;

    using OmnarControl::mApplyingValues;
    using OmnarControl::mBlinkStopArmed;
    using OmnarControl::mConnected;
    using OmnarControl::mCurrentPage;
    using OmnarControl::mCustomIRSelectLeft;
    using OmnarControl::mCustomIRSelectRight;
    using OmnarControl::mDeviceValues;
    using OmnarControl::mDynamicsGraph;
    using OmnarControl::mFactoryIRNames;
    using OmnarControl::mFirmwarePrepared;
    using OmnarControl::mFirmwareSending;
    using OmnarControl::mHeldParamSends;
    using OmnarControl::mHighlightedRow;
    using OmnarControl::mIRDisplay;
    using OmnarControl::mIRImportBusy;
    using OmnarControl::mIRListPage;
    using OmnarControl::mIRListRows;
    using OmnarControl::mIRListSelect;
    using OmnarControl::mIRNames;
    using OmnarControl::mIRPreviewPending;
    using OmnarControl::mKnobBankB;
    using OmnarControl::mLastChangeIndex;
    using OmnarControl::mLastChangeValue;
    using OmnarControl::mLastPresetPath;
    using OmnarControl::mLastWavPath;
    using OmnarControl::mLayoutBuilt;
    using OmnarControl::mMappingTexts;
    using OmnarControl::mPollEnabled;
    using OmnarControl::mPreMidMode;
    using OmnarControl::mPresetEdited;
    using OmnarControl::mPresetListOffset;
    using OmnarControl::mPresetListSelector;
    using OmnarControl::mPresetNumber;
    using OmnarControl::mPresetRows;
    using OmnarControl::mProgramMap;
    using OmnarControl::mRecallPending;
    using OmnarControl::mStoredPresetValues;
    using OmnarControl::mStorePending;
    using OmnarControl::mSuppressParamSend;
    using OmnarControl::mUserEditing;
    using OmnarControl::mUserIRFocusA;
    using OmnarControl::mUserIRFocusB;
    using OmnarControl::mUserIRNumberA;
    using OmnarControl::mUserIRNumberB;
};

// The seventeen page methods with the page each records, in page order; the
// name is for file names and traces.
struct PageMethod {
    const char* name;
    void (OmnarControl::*method)();
    int page;
};
extern const PageMethod kPageMethods[17];

// An IR slot file of the library ("%03d.dat" of index + 1 in the folder),
// named and holding the samples.
std::string IRSlotFile(const std::string& folder, int index);
Bytes IRSlotImage(const std::string& name, const std::vector<double>& samples);

// An editor on temporary data and config folders and the fake host's MIDI
// output, opened as the host opens it: OpenEditor attaches a 1920 x 1200
// recording context, which runs the layout.
class PagesFixture : public ::testing::Test {
protected:
    PagesFixture();
    ~PagesFixture() override;

    vx::test::RecordingCanvas& Open();
    void Close();
    vx::test::RecordingCanvas& Panel();
    bool IsOpen() const;

    // The controls of a group, in attach order.
    std::vector<vx::ui::IControl*> Group(const char* name);
    // The tags a group's controls carry, in attach order.
    std::vector<int> TagsOf(const char* name);
    // Controls of the group that are hidden / disabled.
    int HiddenIn(const char* name);
    int DisabledIn(const char* name);
    // The text of the control with the tag ("" when none).
    std::string TagText(int tag);
    // Writes settings.ini as given.
    void WriteSettings(const std::string& text);
    // Sets every preset parameter to its default as a device reply applies a
    // value, so knobs and readouts agree, as they do once a preset arrives.
    void LoadParamDefaults();

    TempDataHome dataHome;
    TempDataHome configHome{"XDG_CONFIG_HOME"};
    vx::test::FakeHost host;
    std::unique_ptr<PagesEditor> editor;
    std::vector<std::string> events;
};

} // namespace omnar::test
