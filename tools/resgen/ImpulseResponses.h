#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

// One factory cabinet, one row of the table in README.md.
struct CabinetVoice {
    const char* name;
    double reflectionsMs[3]; // 0 ends the list
    double reflectionGain;
    double highPassHz;
    double resonanceHz, resonanceDb;
    double dipHz, dipDb;
    double presenceHz, presenceDb;
    double lowPassHz;
};

// 4096 samples at 44.1 kHz, peak 0.89, faded over the last 1024.
std::vector<double> CabinetResponse(const CabinetVoice& voice);

// 16-bit mono PCM WAV bytes of `samples` at 44.1 kHz.
std::vector<uint8_t> WavBytes(const std::vector<double>& samples);

// Writes "irs/NN-Name.wav" for the eight factory cabinets into `dir`.
void WriteFactoryResponses(const std::string& dir);

} // namespace resgen
