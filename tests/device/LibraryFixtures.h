#pragma once

#include "controls/IFreqResponseGraph.h"
#include "controls/ITextControl.h"
#include "device/OmnarControl.h"
#include "tests/framework/PluginFixtures.h"
#include "tests/support/TempImageFolder.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace omnar::test {

using Bytes = std::vector<std::uint8_t>;

// XDG_DATA_HOME (or another such variable) pointed at a fresh temporary
// folder for the object's life.
class TempDataHome {
public:
    explicit TempDataHome(const char* variable = "XDG_DATA_HOME");
    ~TempDataHome();
    TempDataHome(const TempDataHome&) = delete;
    TempDataHome& operator=(const TempDataHome&) = delete;

    const std::string& Folder() const { return temp.Folder(); }
    std::string PresetsFolder() const;
    std::string UserIRFolder() const;
    std::string FactoryIRFolder() const;

private:
    vx::test::TempImageFolder temp;
    std::string variable;
    std::string saved;
    bool hadValue = false;
};

void WriteFile(const std::string& path, const Bytes& bytes);
// Runs body in a child process and returns its exit status (-1 when signalled).
int InChild(const std::function<int()>& body);
Bytes ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// A WAV file's bytes. Samples are interleaved values in -1..1, written in
// the format given (32-bit with tag 3 as float). Tag 0xFFFE writes the
// extensible 40-byte format whose sub-format begins with subFormat.
struct WavSpec {
    int formatTag = 1;
    int channels = 1;
    std::uint32_t sampleRate = 44100;
    int bitsPerSample = 16;
    std::vector<double> samples;
    int subFormat = 1;
};
// The 40-byte extensible fmt body: the plain 16 bytes with tag 0xFFFE, then
// the extension size, valid bits, channel mask and the sub-format GUID.
Bytes ExtensibleFmtBody(int channels, std::uint32_t rate, int blockAlign, int bits, int subFormat);
Bytes WavBytes(const WavSpec& wav);
// Raw RIFF/WAVE bytes around the given chunks (each id, size and body as given).
struct RawChunk {
    std::string id;
    std::uint32_t size;
    Bytes body;
};
Bytes RiffBytes(const std::vector<RawChunk>& chunks);
Bytes FmtBody(int tag, int channels, std::uint32_t rate, int blockAlign, int bits);

// The editor with its shared state in reach, as the other parts of the editor reach it.
class LibraryEditor : public OmnarControl {
public:
    using OmnarControl::mApplyingValues;
    using OmnarControl::mConnected;
    using OmnarControl::mCurrentPage;
    using OmnarControl::mFactoryIRNames;
    using OmnarControl::mFirmwarePrepared;
    using OmnarControl::mFirmwareSending;
    using OmnarControl::mIRDisplay;
    using OmnarControl::mIRGain;
    using OmnarControl::mIRImportBusy;
    using OmnarControl::mIRListRows;
    using OmnarControl::mIRNames;
    using OmnarControl::mIRReceive;
    using OmnarControl::mIRSamples;
    using OmnarControl::mIRUploadSending;
    using OmnarControl::mIRUploadSlot;
    using OmnarControl::mLastWavPath;
    using OmnarControl::mLayoutBuilt;
    using OmnarControl::mPresetChecksums;
    using OmnarControl::mPresetRows;
    using OmnarControl::mSlotSyncActive;
    using OmnarControl::mStagedIRImage;
    using OmnarControl::mStreamCount;
    using OmnarControl::mTransferBuffer;
    using OmnarControl::mTransferCheckHi;
    using OmnarControl::mTransferCheckLo;
    using OmnarControl::mTransferPos;
    using OmnarControl::mTransferRemaining;
    using OmnarControl::mTransferSize;
    using OmnarControl::mUserIRFocusA;
    using OmnarControl::mUserIRFocusB;
    using OmnarControl::mUserIRNumberA;
    using OmnarControl::mUserIRNumberB;
    using OmnarControl::OmnarControl;

    // Sets a parameter's value as the device path does, without sending.
    void SetValue(int index, double value) { GetParam(index)->Set(value); }

    // Opens a recording panel laid out by TestPanel.
    vx::test::RecordingCanvas& OpenPanel();
    vx::test::RecordingCanvas& Panel();
    // Text of the control with the tag; "" when there is none.
    std::string TagText(int tag);

    std::vector<std::string> panelEvents;
};

// The part of the panel the device core writes to: the 128 preset rows, the
// 32 IR list rows, the tagged labels 68..75, the response graph, the preset
// number and name fields, the progress pairs, the knob-bank controls, the
// status texts, and one control in each group the device core shows, hides,
// enables or disables (the seven device groups start disabled).
void LayOutTestPanel(vx::ui::ICanvas& canvas, LibraryEditor& editor);

} // namespace omnar::test
