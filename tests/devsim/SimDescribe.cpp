#include "tests/devsim/SimDescribe.h"

#include <cstdio>
#include <string_view>

namespace devsim {

namespace {

std::string Format(const char* format, int a = 0, int b = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string DescribeLoader(ByteView m) {
    switch (m[5]) {
    case 0x10:
        return "FirmwareEnter";
    case 0x12:
        return "LoaderReply ready";
    case 0x13:
        return Format("FirmwareStart packed size %d",
                      m.size() > 9 ? (m[6] << 14) | (m[7] << 7) | m[8] : -1);
    case 0x14:
        return "LoaderReply done";
    case 0x15:
        return "LoaderReply error";
    case 0x20:
        return Format("FirmwareChunk %d bytes", static_cast<int>(m.size()) - 7);
    default:
        return Format("loader command %02X", m[5]);
    }
}

std::string DescribeDump(ByteView m) {
    const int slot = m[7];
    const std::string_view name(reinterpret_cast<const char*>(m.data()) + 10, 32);
    switch (m[5]) {
    case 0x20:
        return "PresetDump (edit buffer) \"" + std::string(name) + "\"";
    case 0x41:
        return Format("PresetDump reply slot %d", slot) + " \"" + std::string(name) + "\"";
    case 0x7F:
        return Format("PresetWrite slot %d", slot);
    case 0x52:
        return Format("SettingsDump type %02X version %d", slot, m[6]);
    case 0x6B:
        return Format("IRNamesReply block %d", slot);
    default:
        return Format("dump command %02X", m[5]);
    }
}

std::string DescribeEditor(ByteView m) {
    const std::size_t n = m.size();
    const int b7 = n > 8 ? m[7] : -1;
    const int b8 = n > 9 ? m[8] : -1;
    if (n == kDumpSize) {
        return DescribeDump(m);
    }
    if (n <= 7) {
        return Format("reply '%c'", m[5]);
    }
    switch (m[5]) {
    case 0x23:
        return Format("PresetSelect %d", b7);
    case 0x40:
        return Format("PresetDumpRequest %d", b7);
    case 0x50:
        return Format("ParamChange id %02X value %d", b7, b8);
    case 0x51:
        return Format("ParamValue index %d value %d", b7, b8);
    case 0x55:
        return Format("SettingsRequest type %02X", b7);
    case 0x56:
        return Format("FactoryReset %d", b7);
    case 0x5A:
        return "BulkBegin";
    case 0x5B:
        return "BulkEnd";
    case 0x5F:
        return "EditorClosed";
    case 0x60:
    case 0x77:
        return Format(m[5] == 0x60 ? "IRDump first IR %d, %d packed bytes"
                                   : "IRWrite first IR %d, %d packed bytes",
                      n > 12 ? m[7] * 128 + m[8] : -1,
                      n > 12 ? (m[9] << 14) | (m[10] << 7) | m[11] : -1);
    case 0x65:
    case 0x78:
        return m[5] == 0x65 ? "IRDump middle" : "IRWrite middle";
    case 0x66:
    case 0x79:
        return Format(m[5] == 0x66 ? "IRDump last, %d packed bytes"
                                   : "IRWrite last, %d packed bytes",
                      static_cast<int>(n) - 10);
    case 0x69:
        return Format("IRDumpRequest %d", b7 * 128 + b8);
    case 0x6A:
        return Format("IRNamesRequest block %d", b7);
    default:
        return Format("command %02X, %d bytes", m[5], static_cast<int>(n));
    }
}

} // namespace

std::string DescribeMessage(ByteView message) {
    if (!IsDeviceFrame(message)) {
        return Format("not a device message, %d bytes", static_cast<int>(message.size()));
    }
    if (message[4] == kLoaderGroup) {
        return DescribeLoader(message);
    }
    if (message[4] != kEditorGroup) {
        return Format("group %02X, %d bytes", message[4], static_cast<int>(message.size()));
    }
    return DescribeEditor(message);
}

} // namespace devsim
