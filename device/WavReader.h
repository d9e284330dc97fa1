#pragma once

#include "device/ByteSource.h"

#include <cstdint>
#include <optional>
#include <span>

namespace omnar {

struct WavFormat {
    int formatTag = 0;
    int channels = 0;
    uint32_t sampleRate = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
    int64_t frames = 0; // whole frames present in the file
};

struct WavDecode {
    WavFormat format;
    int64_t outputLength = 0; // samples the whole file resamples to
};

// Output length of a resampling by rate / targetRate.
int64_t ResampledLength(int64_t frames, double rate, double targetRate);

// Reads a RIFF/WAVE file's first channel resampled to targetRate into out
// (zeros past the end). Only the frames the output needs are decoded, so a
// huge size claim costs nothing. Empty, with out untouched, when the file is
// not a PCM or float WAV of 8, 16, 24 or 32 bits with at least one channel and
// one frame.
std::optional<WavDecode> ReadWav(ByteSource& source, double targetRate, std::span<double> out);

} // namespace omnar
