#include "device/ReplyRules.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace omnar {
namespace {

constexpr std::uint8_t kPresetDumpReply = 0x41;
constexpr std::uint8_t kSettingsReply = 0x52;
constexpr std::uint8_t kIRNamesReply = 0x6B;
constexpr std::uint8_t kPresetNameReply = 0x7B;
constexpr std::uint8_t kParamValue = 0x51;
constexpr std::uint8_t kIRFirst = 0x60;
constexpr std::uint8_t kIRMiddle = 0x65;
constexpr std::uint8_t kIRLast = 0x66;
constexpr std::size_t kIRFirstSize = 269;
constexpr std::size_t kIRMiddleSize = 264;
constexpr std::size_t kShortReplyMax = 10;
constexpr std::string_view kShortReplies = "W_abcq}r~s";
constexpr int kLowestVersion = 10;
constexpr int kHighestVersion = 129;
constexpr int kEditorProtocolVersion = 12;

// Preset value index and its column in a default row.
constexpr std::array<std::pair<int, int>, 6> kAmpModeKeys = {
    {{2, 1}, {3, 2}, {44, 4}, {45, 5}, {46, 6}, {11, 7}}};
constexpr std::array<std::pair<int, int>, 9> kReverbModeKeys = {
    {{18, 1}, {19, 2}, {20, 3}, {21, 4}, {22, 5}, {23, 6}, {24, 7}, {58, 8}, {59, 9}}};
constexpr int kBuzz = 2;

template <std::size_t Keys, std::size_t Columns>
int FirstMatchingRow(std::span<const int> values,
                     std::span<const std::array<std::int32_t, Columns>> rows,
                     const std::array<std::pair<int, int>, Keys>& keys) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool match = std::ranges::all_of(keys, [&](const auto& key) {
            return values[std::size_t(key.first)] == rows[r][std::size_t(key.second)];
        });
        if (match)
            return int(r);
    }
    return -1;
}

unsigned SumRange(std::span<const std::uint8_t> m, std::size_t first, std::size_t last) {
    unsigned sum = 0;
    for (std::size_t i = first; i <= last && i < m.size(); ++i)
        sum += m[i];
    return sum;
}

} // namespace

bool IsWellFormedReply(std::span<const std::uint8_t> m) {
    const std::size_t n = m.size();
    if (n < 7 || m[0] != kSysExStart || m[1] != kMakerId[0] || m[2] != kMakerId[1] ||
        m[3] != kMakerId[2] || m[n - 1] != kSysExEnd)
        return false;
    if (std::any_of(m.begin() + 1, m.end() - 1, [](std::uint8_t b) { return b >= 0x80; }))
        return false;
    if (m[4] == kLoaderGroup)
        return n <= kShortReplyMax;
    if (m[4] != kEditorGroup)
        return false;
    switch (m[5]) {
    case kPresetDumpReply:
    case kSettingsReply:
    case kIRNamesReply:
        return n == std::size_t(kDumpSize);
    case kPresetNameReply:
        return n == std::size_t(kPresetNameReplySize);
    case kParamValue:
        return n == std::size_t(kParamValueSize);
    case kIRFirst:
        return n == kIRFirstSize;
    case kIRMiddle:
        return n == kIRMiddleSize;
    case kIRLast:
        return n >= 11 && n <= 266;
    default:
        return kShortReplies.find(char(m[5])) != std::string_view::npos && n <= kShortReplyMax;
    }
}

bool IsDeviceValueIndex(int index) {
    return (index >= 0 && index <= 73) || index == 0x4D || (index >= 89 && index <= 127);
}

std::optional<std::string> VersionGateMessage(int versionByte) {
    if (versionByte < kLowestVersion) {
        char text[64];
        std::snprintf(text, sizeof text, "Please upgrade Omnar to actual version %d.",
                      kEditorProtocolVersion);
        return std::string(text);
    }
    if (versionByte > kHighestVersion)
        return std::string("Editor version out of date. Please download the most recent version.");
    return std::nullopt;
}

std::string TrimReceivedName(std::span<const std::uint8_t> field) {
    std::string name(field.begin(), field.begin() + std::min<std::size_t>(field.size(), 32));
    for (std::size_t p = name.size(); p-- > 1;) {
        if (name[p] != ' ') {
            name.resize(p + 1);
            break;
        }
    }
    return name.substr(0, name.find('\0'));
}

int DetectAmpMode(std::span<const int> presetValues,
                  std::span<const std::array<std::int32_t, 11>> ampRows) {
    const int row = FirstMatchingRow(presetValues, ampRows, kAmpModeKeys);
    if (row >= 0)
        return row;
    const int buzz = presetValues[kBuzz];
    return buzz == 62 ? 12 : (buzz == 63 ? 11 : 10);
}

int DetectReverbMode(std::span<const int> presetValues,
                     std::span<const std::array<std::int32_t, 10>> reverbRows) {
    const int row = FirstMatchingRow(presetValues, reverbRows, kReverbModeKeys);
    return row >= 0 ? row : 7;
}

std::vector<int> UserIRsOfPresetDump(std::span<const std::uint8_t> dump) {
    std::vector<int> numbers;
    if (dump.size() != std::size_t(kDumpSize))
        return numbers;
    // Values 40/41 switch IR A/B on; 53..56 hold their numbers as two digits.
    for (const auto& [on, high] : {std::pair{82, 95}, std::pair{83, 97}}) {
        const int number = dump[std::size_t(high)] * 128 + dump[std::size_t(high) + 1];
        if (dump[std::size_t(on)] != 0 && number < 256)
            numbers.push_back(number);
    }
    return numbers;
}

std::optional<std::span<const std::uint8_t>> NthStoredMessage(std::span<const std::uint8_t> stream,
                                                              int index) {
    if (index < 0)
        return std::nullopt;
    std::size_t at = 0;
    for (int k = 0; k <= index; ++k) {
        const auto end = std::find(stream.begin() + std::ptrdiff_t(at), stream.end(), kSysExEnd);
        if (end == stream.end())
            return std::nullopt;
        const std::size_t next = std::size_t(end - stream.begin()) + 1;
        if (k == index) {
            if (next - at > std::size_t(DeviceMessage::kCapacity))
                return std::nullopt;
            return stream.subspan(at, next - at);
        }
        at = next;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> RestoreWrite(std::span<const std::uint8_t> stored, int& running) {
    std::vector<std::uint8_t> out(stored.begin(), stored.end());
    if (out.size() <= 6)
        return out;
    out[6] = kEditorVersionByte;
    const std::size_t last = out.size() - 1; // the F7
    switch (out[5]) {
    case kPresetDumpReply:
        out[5] = 0x7F;
        break;
    case kIRFirst:
        out[5] = 0x77;
        running = int(SumRange(out, 12, std::min<std::size_t>(267, last - 1)));
        break;
    case kIRMiddle:
        out[5] = 0x78;
        running += int(SumRange(out, 7, std::min<std::size_t>(262, last - 1)));
        break;
    case kIRLast:
        out[5] = 0x79;
        if (last >= 10)
            running += int(SumRange(out, 7, last - 3));
        running &= 0x3FFF;
        if (last >= 9) {
            out[last - 2] = std::uint8_t(running >> 7);
            out[last - 1] = std::uint8_t(running & 0x7F);
        }
        break;
    default:
        break;
    }
    return out;
}

bool IsWholeIRDump(std::span<const std::uint8_t> parts) {
    unsigned sum = 0;
    int packed = 0;
    int declared = -1;
    for (int k = 0;; ++k) {
        const auto part = NthStoredMessage(parts, k);
        if (!part || !IsWellFormedReply(*part))
            return false;
        const auto& m = *part;
        const std::uint8_t command = m[5];
        if ((k == 0) != (command == kIRFirst))
            return false;
        if (command == kIRFirst) {
            declared = m[9] * 16384 + m[10] * 128 + m[11];
            sum += SumRange(m, 12, m.size() - 2);
            packed += int(m.size()) - 13;
        } else if (command == kIRMiddle) {
            sum += SumRange(m, 7, m.size() - 2);
            packed += int(m.size()) - 8;
        } else if (command == kIRLast) {
            sum += SumRange(m, 7, m.size() - 4);
            packed += int(m.size()) - 10;
            const auto check = CheckDigits(sum & 0x3FFF);
            const std::size_t consumed = std::size_t(m.data() + m.size() - parts.data());
            return consumed == parts.size() && declared == kIRImagePackedSize &&
                   packed == declared && m[m.size() - 3] == check[0] && m[m.size() - 2] == check[1];
        } else {
            return false;
        }
    }
}

} // namespace omnar
