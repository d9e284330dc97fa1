#include "tests/devsim/SimWire.h"

#include <algorithm>

namespace devsim {

namespace {

constexpr std::uint8_t kMaker[] = {0x00, 0x51, 0x21};
constexpr std::size_t kIRPartSize = 256;

void AppendHeader(Bytes& out, std::uint8_t group, std::uint8_t command) {
    out.push_back(kSysExStart);
    out.insert(out.end(), std::begin(kMaker), std::end(kMaker));
    out.push_back(group);
    out.push_back(command);
}

void AppendChecked(Bytes& out, ByteView data, unsigned sum) {
    out.insert(out.end(), data.begin(), data.end());
    const auto check = CheckDigits(sum);
    out.insert(out.end(), check.begin(), check.end());
}

} // namespace

std::array<std::uint8_t, 2> CheckDigits(unsigned sum) {
    return {static_cast<std::uint8_t>((sum >> 7) & 0x7F), static_cast<std::uint8_t>(sum & 0x7F)};
}

unsigned SumOf(ByteView bytes) {
    unsigned sum = 0;
    for (const std::uint8_t b : bytes) {
        sum += b;
    }
    return sum;
}

std::size_t PackedSize(std::size_t sourceBytes) {
    return sourceBytes * 8 / 7 + 1;
}

Bytes Pack8To7(ByteView source) {
    Bytes packed(PackedSize(source.size()), 0);
    const std::size_t totalBits = source.size() * 8;
    for (std::size_t bit = 0; bit < totalBits; ++bit) {
        if (source[bit / 8] & (0x80 >> (bit % 8))) {
            packed[bit / 7] |= static_cast<std::uint8_t>(0x40 >> (bit % 7));
        }
    }
    return packed;
}

Bytes Unpack7To8(ByteView packed) {
    Bytes out(packed.size() * 7 / 8, 0);
    const std::size_t totalBits = out.size() * 8;
    for (std::size_t bit = 0; bit < totalBits; ++bit) {
        if (packed[bit / 7] & (0x40 >> (bit % 7))) {
            out[bit / 8] |= static_cast<std::uint8_t>(0x80 >> (bit % 8));
        }
    }
    return out;
}

std::array<std::uint8_t, kTextFieldSize> TextField(std::string_view text) {
    std::array<std::uint8_t, kTextFieldSize> field;
    field.fill(' ');
    const std::size_t n = std::min(text.size(), field.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        field[i] = c >= 0x80 ? '?' : c;
    }
    return field;
}

std::string_view TrimmedField(ByteView field) {
    std::size_t end = field.size();
    while (end > 0 && field[end - 1] == ' ') {
        --end;
    }
    return {reinterpret_cast<const char*>(field.data()), end};
}

Bytes BuildDump(std::uint8_t command, std::uint8_t version, std::uint8_t slotOrType,
                ByteView data) {
    Bytes out;
    out.reserve(kDumpSize);
    AppendHeader(out, kEditorGroup, command);
    out.push_back(version);
    out.push_back(slotOrType);
    AppendChecked(out, data.first(kDumpDataSize), SumOf(data.first(kDumpDataSize)));
    out.push_back(kSysExEnd);
    return out;
}

Bytes Concat(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes BuildShortReply(std::uint8_t command) {
    Bytes out;
    AppendHeader(out, kEditorGroup, command);
    out.push_back(kSysExEnd);
    return out;
}

Bytes BuildLoaderReply(std::uint8_t command) {
    Bytes out;
    AppendHeader(out, kLoaderGroup, command);
    out.push_back(kSysExEnd);
    return out;
}

Bytes BuildParamValue(std::uint8_t index, std::uint8_t value) {
    Bytes out;
    AppendHeader(out, kEditorGroup, 0x51);
    out.insert(out.end(), {kProtocolVersion, index, value, kSysExEnd});
    return out;
}

std::vector<Bytes> BuildIRDump(int slot, ByteView image) {
    const Bytes packed = Pack8To7(image);
    const ByteView all(packed);
    std::vector<Bytes> parts;

    Bytes first;
    AppendHeader(first, kEditorGroup, 0x60);
    const auto size = static_cast<unsigned>(packed.size());
    first.insert(first.end(), {kProtocolVersion, static_cast<std::uint8_t>((slot >> 7) & 0x7F),
                               static_cast<std::uint8_t>(slot & 0x7F),
                               static_cast<std::uint8_t>((size >> 14) & 0x7F),
                               static_cast<std::uint8_t>((size >> 7) & 0x7F),
                               static_cast<std::uint8_t>(size & 0x7F)});
    const std::size_t firstCount = std::min(kIRPartSize, all.size());
    first.insert(first.end(), all.begin(), all.begin() + firstCount);
    first.push_back(kSysExEnd);
    parts.push_back(std::move(first));

    std::size_t pos = firstCount;
    while (all.size() - pos > kIRPartSize) {
        Bytes middle;
        AppendHeader(middle, kEditorGroup, 0x65);
        middle.push_back(kProtocolVersion);
        middle.insert(middle.end(), all.begin() + pos, all.begin() + pos + kIRPartSize);
        middle.push_back(kSysExEnd);
        parts.push_back(std::move(middle));
        pos += kIRPartSize;
    }

    Bytes last;
    AppendHeader(last, kEditorGroup, 0x66);
    last.push_back(kProtocolVersion);
    AppendChecked(last, all.subspan(pos), SumOf(all) & 0x3FFF);
    last.push_back(kSysExEnd);
    parts.push_back(std::move(last));
    return parts;
}

bool IsDeviceFrame(ByteView message) {
    if (message.size() < 7 || message.front() != kSysExStart || message.back() != kSysExEnd) {
        return false;
    }
    if (!std::equal(std::begin(kMaker), std::end(kMaker), message.begin() + 1)) {
        return false;
    }
    const ByteView body = message.subspan(1, message.size() - 2);
    return std::all_of(body.begin(), body.end(), [](std::uint8_t b) { return b < 0x80; });
}

} // namespace devsim
