#include "device/MessageBuilders.h"

#include <algorithm>

namespace omnar {
namespace {

enum Command : int {
    kPresetDump = 0x20,
    kPresetSelect = 0x23,
    kPresetDumpRequest = 0x40,
    kParamChange = 0x50,
    kSettingsDump = 0x52,
    kSettingsRequest = 0x55,
    kFactoryReset = 0x56,
    kBulkEnd = 0x5B,
    kEditorClosed = 0x5F,
    kIRDumpRequest = 0x69,
    kIRNamesRequest = 0x6A,
};

// Preset data offsets.
constexpr int kPresetNameAt = 2;
constexpr int kPresetValuesAt = 34;
constexpr int kIRNameAAt = 192;
constexpr int kIRNameBAt = 224;
constexpr int kIRAOn = 40;
constexpr int kIRBOn = 41;

// Settings type 0: offset 6 carries a fixed 2 where the device keeps parameter 94.
constexpr int kGlobalsFixedAt = 6;

DeviceMessage Single(int command, int value) {
    DeviceMessage message = DeviceMessage::Editor(command);
    message.Byte(value).End();
    return message;
}

void PutText(DumpData& data, int at, std::string_view text) {
    const TextField field = MakeTextField(text);
    std::copy(field.begin(), field.end(), data.begin() + at);
}

void PutParams(DumpData& data, int at, const ParamInts& values, int first, int last) {
    for (int index = first; index <= last; ++index)
        data[std::size_t(at + index - first)] = static_cast<std::uint8_t>(values[index]);
}

} // namespace

DeviceMessage BuildSettingsRequest(int type) {
    return Single(kSettingsRequest, type);
}

DeviceMessage BuildIdentityRequest() {
    return BuildSettingsRequest(kSettingsIdentity);
}

DeviceMessage BuildPresetSelect(int preset) {
    return Single(kPresetSelect, preset);
}

DeviceMessage BuildPresetDumpRequest(int slot) {
    return Single(kPresetDumpRequest, slot);
}

DeviceMessage BuildIRDumpRequest(int slot) {
    DeviceMessage message = DeviceMessage::Editor(kIRDumpRequest);
    message.Digits14(slot).End();
    return message;
}

DeviceMessage BuildIRNamesRequest(int block) {
    return Single(kIRNamesRequest, block);
}

DeviceMessage BuildBulkMode(int begin) {
    DeviceMessage message = DeviceMessage::Editor(kBulkEnd ^ (begin != 0 ? 1 : 0));
    message.End();
    return message;
}

DeviceMessage BuildEditorClosed() {
    DeviceMessage message = DeviceMessage::Editor(kEditorClosed);
    message.End();
    return message;
}

DeviceMessage BuildParamMessage(int deviceParamId, int value) {
    DeviceMessage message = DeviceMessage::Editor(kParamChange);
    message.Byte(deviceParamId).Byte(value).End();
    return message;
}

DeviceMessage BuildFactoryReset(int what) {
    return Single(kFactoryReset, what);
}

DumpData PresetData(const CurrentPresetSource& source, const ParamInts& values) {
    DumpData data{};
    data[0] = 0x01;
    data[1] = 0x00;
    PutText(data, kPresetNameAt, source.name);
    PutParams(data, kPresetValuesAt, values, 0, kPresetValueCount - 1);
    PutText(data, kIRNameAAt, values[kIRAOn] > 0 ? source.irNameA : std::string_view{});
    PutText(data, kIRNameBAt, values[kIRBOn] > 0 ? source.irNameB : std::string_view{});
    return data;
}

DeviceMessage BuildCurrentPreset(const CurrentPresetSource& source, const ParamInts& values) {
    return MakeDump(kPresetDump, source.presetNumber, PresetData(source, values));
}

std::optional<DeviceMessage> BuildSettingsDump(int type, int presetNumber, const ParamInts& values,
                                               std::span<const int, 128> programMap) {
    DumpData data{};
    switch (type) {
    case 0:
        data[0] = static_cast<std::uint8_t>(presetNumber);
        PutParams(data, 1, values, 89, 93);
        data[kGlobalsFixedAt] = 2;
        PutParams(data, 7, values, 95, 98);
        PutParams(data, 11, values, 33, 35);
        PutParams(data, 16, values, 99, 100);
        break;
    case 1:
        PutParams(data, 0, values, 101, 108);
        break;
    case 2:
        for (std::size_t i = 0; i < programMap.size(); ++i)
            data[i] = static_cast<std::uint8_t>(programMap[i]);
        break;
    default:
        return std::nullopt;
    }
    return MakeDump(kSettingsDump, type, data);
}

DeviceMessage BuildAltHeaderParams(const ParamInts& values) {
    static constexpr std::uint8_t kHeader[] = {0x00, 0x21, 0x11, 0x04, 0x03, 0x0C};
    DeviceMessage message = DeviceMessage::WithHeader(kHeader);
    for (int index = 0; index <= 37; ++index)
        message.Byte(values[index]);
    message.End();
    return message;
}

DeviceMessage BuildAltHeaderRequest() {
    static constexpr std::uint8_t kHeader[] = {0x00, 0x21, 0x11, 0x04, 0x02, 0x71, 0x00};
    DeviceMessage message = DeviceMessage::WithHeader(kHeader);
    message.End();
    return message;
}

} // namespace omnar
