#include "device/OmnarControl.h"

#include "device/MessageBuilders.h"
#include "device/ParamTable.h"

namespace {

// Tags of the text controls whose texts a preset dump carries.
constexpr int kPresetNameTag = 148;
constexpr int kIRNameATag = 74;
constexpr int kIRNameBTag = 75;

} // namespace

void OmnarControl::SendSettingsRequest(int type) {
    Send(omnar::BuildSettingsRequest(type));
}

void OmnarControl::SendIdentityRequest() {
    Send(omnar::BuildIdentityRequest());
}

void OmnarControl::SendPresetSelect(int preset) {
    Send(omnar::BuildPresetSelect(preset));
}

void OmnarControl::SendPresetDumpRequest(int slot) {
    Send(omnar::BuildPresetDumpRequest(slot));
    mDumpWaitArmed = true;
    mDumpWaitTicks = 0;
    mDumpRequestSlot = slot;
    mDumpRetries = 0;
}

void OmnarControl::SendIRDumpRequest(int slot) {
    Send(omnar::BuildIRDumpRequest(slot));
    // A dump that never comes tells the device is gone.
    if (mConnected && mAwaited == Awaited::None)
        Await(Awaited::IRDump);
}

// Before identification the reply would be dropped: the request waits for
// the end of the connection's exchange instead.
void OmnarControl::SendIRNamesRequest(int block) {
    if (!mConnected) {
        mIRNamesDueBlock = block;
        return;
    }
    Send(omnar::BuildIRNamesRequest(block));
}

void OmnarControl::SendBulkMode(int begin) {
    Send(omnar::BuildBulkMode(begin));
}

void OmnarControl::SendEditorClosed() {
    Send(omnar::BuildEditorClosed());
}

void OmnarControl::SendParamMessage(int deviceParamId, int value) {
    Send(omnar::BuildParamMessage(deviceParamId, value));
}

void OmnarControl::SendCurrentPreset() {
    const std::string name = ControlText(kPresetNameTag);
    const std::string irNameA = ControlText(kIRNameATag);
    const std::string irNameB = ControlText(kIRNameBTag);
    Send(omnar::BuildCurrentPreset({mPresetNumber, name, irNameA, irNameB},
                                   omnar::CurrentIntValues(ParamPointers())));
}

void OmnarControl::SendSettingsDump(int type) {
    const auto message = omnar::BuildSettingsDump(
        type, mPresetNumber, omnar::CurrentIntValues(ParamPointers()), mProgramMap);
    if (message)
        Send(*message);
}

void OmnarControl::SendAltHeaderParams() {
    Send(omnar::BuildAltHeaderParams(omnar::CurrentIntValues(ParamPointers())));
}

void OmnarControl::SendAltHeaderRequest() {
    Send(omnar::BuildAltHeaderRequest());
}
