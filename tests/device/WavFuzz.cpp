#include "device/ByteSource.h"
#include "device/WavReader.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

// Any bytes as a WAV file: the reader must end, stay in bounds and produce
// only finite samples.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryByteSource source(std::span(data, size));
    std::vector<double> out(4096, 0.0);
    if (omnar::ReadWav(source, 44100.0, out))
        for (const double x : out)
            if (!std::isfinite(x))
                std::abort();
    return 0;
}
