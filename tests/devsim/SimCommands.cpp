#include "tests/devsim/SimCommands.h"

#include <cstdio>
#include <cstdlib>

namespace devsim {

namespace {

struct CommandInfo {
    CommandKey key;
    std::size_t minSize;
    std::size_t maxSize;
    int negative; // short reply command, or -1 for none
    bool checkedReply;
};

constexpr std::uint8_t E = kEditorGroup;
constexpr std::uint8_t L = kLoaderGroup;

constexpr CommandInfo kCommands[] = {
    {{E, 0x20}, 267, 267, -1, false},   // PresetDump: edit buffer
    {{E, 0x23}, 9, 9, -1, true},        // PresetSelect
    {{E, 0x40}, 9, 9, -1, true},        // PresetDumpRequest
    {{E, 0x50}, 10, 10, -1, true},      // ParamChange (a store answers a dump)
    {{E, 0x52}, 267, 267, -1, false},   // SettingsDump
    {{E, 0x55}, 9, 9, -1, true},        // SettingsRequest
    {{E, 0x56}, 9, 9, -1, false},       // FactoryReset
    {{E, 0x5A}, 8, 8, -1, false},       // BulkBegin
    {{E, 0x5B}, 8, 8, -1, false},       // BulkEnd
    {{E, 0x5F}, 8, 8, -1, false},       // EditorClosed
    {{E, 0x60}, 269, 269, 'b', false},  // IRDump first
    {{E, 0x65}, 264, 264, -1, false},   // IRDump middle
    {{E, 0x66}, 11, 266, 'b', false},   // IRDump last
    {{E, 0x69}, 10, 10, -1, true},      // IRDumpRequest
    {{E, 0x6A}, 9, 9, -1, true},        // IRNamesRequest
    {{E, 0x77}, 269, 269, -1, false},   // IRWrite first
    {{E, 0x78}, 264, 264, -1, false},   // IRWrite middle
    {{E, 0x79}, 11, 266, '~', false},   // IRWrite last
    {{E, 0x7F}, 267, 267, 'r', false},  // PresetWrite
    {{L, 0x10}, 7, 7, 0x15, false},     // FirmwareEnter
    {{L, 0x13}, 250, 250, 0x15, false}, // FirmwareStart
    {{L, 0x20}, 10, 249, 0x15, false},  // FirmwareChunk
};

const CommandInfo* Find(CommandKey key) {
    for (const CommandInfo& info : kCommands) {
        if (info.key == key) {
            return &info;
        }
    }
    return nullptr;
}

} // namespace

std::string CommandName(CommandKey key) {
    char text[8];
    std::snprintf(text, sizeof text, key.group == kLoaderGroup ? "L%02X" : "%02X", key.command);
    return text;
}

std::optional<CommandKey> ParseCommandName(std::string_view text) {
    CommandKey key;
    if (!text.empty() && (text.front() == 'L' || text.front() == 'l')) {
        key.group = kLoaderGroup;
        text.remove_prefix(1);
    }
    if (text.size() != 2) {
        return std::nullopt;
    }
    const std::string digits(text);
    char* end = nullptr;
    const long value = std::strtol(digits.c_str(), &end, 16);
    if (*end != '\0' || value < 0 || value > 0x7F) {
        return std::nullopt;
    }
    key.command = static_cast<std::uint8_t>(value);
    if (!IsKnownCommand(key)) {
        return std::nullopt;
    }
    return key;
}

bool IsKnownCommand(CommandKey key) {
    return Find(key) != nullptr;
}

bool HasValidLength(CommandKey key, std::size_t size) {
    const CommandInfo* info = Find(key);
    return info && size >= info->minSize && size <= info->maxSize;
}

std::optional<Bytes> NegativeReply(CommandKey key) {
    const CommandInfo* info = Find(key);
    if (!info || info->negative < 0) {
        return std::nullopt;
    }
    const auto command = static_cast<std::uint8_t>(info->negative);
    return key.group == kLoaderGroup ? BuildLoaderReply(command) : BuildShortReply(command);
}

bool HasCheckedReply(CommandKey key) {
    const CommandInfo* info = Find(key);
    return info && info->checkedReply;
}

} // namespace devsim
