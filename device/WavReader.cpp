#include "device/WavReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace omnar {
namespace {

constexpr int kTagInteger = 1;
constexpr int kTagFloat = 3;
constexpr int kTagExtensible = 0xFFFE;
constexpr uint32_t kExtensibleFmtSize = 40;
constexpr int kSubFormatAt = 24;

struct Chunk {
    char id[4];
    uint32_t size;
};

uint32_t Le(const uint8_t* b, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | b[i];
    return value;
}

bool ReadChunkHeader(ByteSource& source, Chunk& chunk) {
    uint8_t header[8];
    if (source.Read(header, 8) != 8)
        return false;
    std::memcpy(chunk.id, header, 4);
    chunk.size = Le(header + 4, 4);
    return true;
}

// Chunks are padded to even sizes.
void SkipBody(ByteSource& source, uint64_t size) {
    source.SetPosition(source.GetPosition() + int64_t(size + (size & 1)));
}

// Walks to the named chunk; false at the end of the file.
bool FindChunk(ByteSource& source, const char* id, Chunk& chunk) {
    while (ReadChunkHeader(source, chunk)) {
        if (std::memcmp(chunk.id, id, 4) == 0)
            return true;
        SkipBody(source, chunk.size);
    }
    return false;
}

std::optional<WavFormat> ReadFormat(ByteSource& source) {
    uint8_t riff[12];
    if (source.Read(riff, 12) != 12 || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0)
        return std::nullopt;
    Chunk chunk{};
    uint8_t f[kExtensibleFmtSize];
    if (!FindChunk(source, "fmt ", chunk) || chunk.size < 16 || source.Read(f, 16) != 16)
        return std::nullopt;
    WavFormat format;
    format.formatTag = int(Le(f, 2));
    // Extensible files carry the real tag as the first two bytes of their
    // sub-format; only integer and float samples are decoded.
    if (format.formatTag == kTagExtensible) {
        if (chunk.size < kExtensibleFmtSize ||
            source.Read(f + 16, kExtensibleFmtSize - 16) != kExtensibleFmtSize - 16)
            return std::nullopt;
        format.formatTag = int(Le(f + kSubFormatAt, 2));
        if (format.formatTag != kTagInteger && format.formatTag != kTagFloat)
            return std::nullopt;
        SkipBody(source, chunk.size - kExtensibleFmtSize);
    } else {
        SkipBody(source, chunk.size - 16);
    }
    format.channels = int(int16_t(Le(f + 2, 2)));
    format.sampleRate = Le(f + 4, 4);
    format.blockAlign = int(Le(f + 12, 2));
    format.bitsPerSample = int(Le(f + 14, 2));
    const int bytes = format.bitsPerSample / 8;
    const bool known = format.bitsPerSample == 8 || format.bitsPerSample == 16 ||
                       format.bitsPerSample == 24 || format.bitsPerSample == 32;
    if (!known || format.channels < 1 || format.sampleRate == 0 ||
        format.blockAlign < format.channels * bytes)
        return std::nullopt;
    if (!FindChunk(source, "data", chunk))
        return std::nullopt;
    const int64_t present = source.GetSize() - source.GetPosition();
    format.frames = std::min<int64_t>(chunk.size, present) / format.blockAlign;
    if (format.frames <= 0)
        return std::nullopt;
    return format;
}

double DecodeSample(const uint8_t* b, const WavFormat& format) {
    switch (format.bitsPerSample) {
    case 8:
        // Unsigned with silence at 128: (b - 128) / 128 keeps silence at
        // exactly 0 and the scale of the wider formats (b / 127 - 1 would not).
        return (double(b[0]) - 128.0) / 128.0;
    case 16:
        return double(int16_t(Le(b, 2))) * (1.0 / 32768.0);
    case 24: {
        const double g = double(Le(b, 3)) / 8388607.49999;
        return g > 1.0 ? g - 2.0 : g;
    }
    default:
        if (format.formatTag == kTagInteger) {
            const double g = double(Le(b, 4)) / 2147483647.49999;
            return g > 1.0 ? g - 2.0 : g;
        }
        float value;
        const uint32_t bits = Le(b, 4);
        std::memcpy(&value, &bits, 4);
        // A NaN or infinity would poison the gain and the 16-bit conversion.
        return std::isfinite(value) ? double(value) : 0.0;
    }
}

// The first channel of up to count frames, stopping early at the end of the file.
std::vector<double> DecodeFirstChannel(ByteSource& source, const WavFormat& format, int64_t count) {
    std::vector<double> samples;
    samples.reserve(std::size_t(count));
    std::vector<uint8_t> frame(std::size_t(format.blockAlign));
    for (int64_t i = 0; i < count; ++i) {
        if (source.Read(frame.data(), format.blockAlign) != format.blockAlign)
            break;
        samples.push_back(DecodeSample(frame.data(), format));
    }
    return samples;
}

} // namespace

int64_t ResampledLength(int64_t frames, double rate, double targetRate) {
    const double ratio = rate / targetRate;
    return ratio == 1.0 ? frames : int64_t(std::floor(double(frames) / ratio));
}

std::optional<WavDecode> ReadWav(ByteSource& source, double targetRate, std::span<double> out) {
    const auto format = ReadFormat(source);
    if (!format)
        return std::nullopt;
    const double ratio = double(format->sampleRate) / targetRate;
    const int64_t length = ResampledLength(format->frames, format->sampleRate, targetRate);
    const int64_t wanted = std::min<int64_t>(length, int64_t(out.size()));
    // Frames the wanted outputs touch, the interpolation's neighbour included.
    const int64_t needed =
        std::min<int64_t>(format->frames, int64_t(std::ceil(double(wanted) * ratio)) + 2);
    const std::vector<double> s = DecodeFirstChannel(source, *format, needed);
    if (s.empty())
        return std::nullopt;

    std::fill(out.begin(), out.end(), 0.0);
    const std::size_t last = s.size() - 1;
    double m = 0.0;
    for (int64_t j = 0; j < wanted; ++j, m += ratio) {
        if (ratio == 1.0) {
            out[std::size_t(j)] = s[std::min(std::size_t(j), last)];
            continue;
        }
        const std::size_t i = std::min(std::size_t(m), last);
        // Past the decoded samples the last one stands in for its neighbour.
        const double next = s[std::min(i + 1, last)];
        out[std::size_t(j)] = s[i] + (next - s[i]) * (m - std::floor(m));
    }
    return WavDecode{*format, length};
}

} // namespace omnar
