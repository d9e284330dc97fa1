#pragma once

#include "device/DeviceMessage.h"
#include "device/ParamValues.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

// The messages the editor sends, one function per builder of OmnarControl
// (Build<X> makes the bytes that Send<X> hands to SendSysEx).
namespace omnar {

inline constexpr int kSettingsGlobals = 0x00;
inline constexpr int kSettingsChecksums = 0x03;
inline constexpr int kSettingsIdentity = 0x0F;

DeviceMessage BuildSettingsRequest(int type);
// The identity poll: a settings request of type 0F.
DeviceMessage BuildIdentityRequest();
DeviceMessage BuildPresetSelect(int preset);
DeviceMessage BuildPresetDumpRequest(int slot);
DeviceMessage BuildIRDumpRequest(int slot);
DeviceMessage BuildIRNamesRequest(int block);
// BulkBegin (5A) for 1, BulkEnd (5B) for 0.
DeviceMessage BuildBulkMode(int begin);
DeviceMessage BuildEditorClosed();
DeviceMessage BuildParamMessage(int deviceParamId, int value);
// what: 0 all, 1 presets, 2 settings.
DeviceMessage BuildFactoryReset(int what);

// What SendCurrentPreset reads from the editor: the selected slot, the
// preset-name field and the two IR name labels (taken only while preset
// values 40 / 41 switch the IR on).
struct CurrentPresetSource {
    int presetNumber = 0;
    std::string_view name;
    std::string_view irNameA;
    std::string_view irNameB;
};
// The 256 data bytes of a preset, also the image of a preset slot file.
DumpData PresetData(const CurrentPresetSource& source, const ParamInts& values);
DeviceMessage BuildCurrentPreset(const CurrentPresetSource& source, const ParamInts& values);

// Types 0 (globals), 1 (setup pages) and 2 (program map); other types are
// never sent, and give none.
std::optional<DeviceMessage> BuildSettingsDump(int type, int presetNumber, const ParamInts& values,
                                               std::span<const int, 128> programMap);

// The two messages under the second maker header; nothing sends them.
DeviceMessage BuildAltHeaderParams(const ParamInts& values);
DeviceMessage BuildAltHeaderRequest();

} // namespace omnar
