#include "ImpulseResponses.h"

#include "Output.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace resgen {
namespace {

constexpr double kRate = 44100;
constexpr int kFrames = 4096, kFade = 1024;
constexpr double kPeak = 0.89;

// Names follow the device's factory slots 1 to 8.
constexpr std::array<CabinetVoice, 8> kVoices{{
    {"Quorbel", {0.6, 1.4, 0}, 0.30, 50, 90, 3, 500, -4, 2200, 3, 4500},
    {"Hinglow", {0.4, 0}, 0.25, 45, 70, 5, 400, -6, 1500, 1, 3000},
    {"KL 8x10", {0.3, 0.9, 1.8}, 0.35, 60, 110, 4, 700, -3, 2800, 5, 5500},
    {"Dunmo 2x15", {1.2, 0}, 0.30, 40, 60, 6, 350, -5, 1200, -2, 2500},
    {"Ovaten 2x15", {0.8, 2.0, 0}, 0.28, 42, 75, 4, 600, -8, 1800, 0, 2800},
    {"Brel 4x10", {0.5, 1.1, 0}, 0.32, 70, 120, 2, 800, -2, 3200, 6, 6000},
    {"Tirn 12L", {0.7, 0}, 0.22, 55, 100, 3, 900, -5, 2500, 4, 4000},
    {"Isle V30", {0.35, 1.6, 0}, 0.26, 80, 95, 2, 450, -3, 3500, 7, 5000},
}};

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0, z2 = 0;
    double Run(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

Biquad Normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

Biquad Pass(double hz, double q, bool high) {
    const double w = 2 * M_PI * hz / kRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    const double k = high ? (1 + c) / 2 : (1 - c) / 2;
    return Normalised(k, high ? -2 * k : 2 * k, k, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Peak(double hz, double q, double db) {
    const double w = 2 * M_PI * hz / kRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    const double a = std::pow(10, db / 40);
    return Normalised(1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a);
}

void Put16(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

} // namespace

std::vector<double> CabinetResponse(const CabinetVoice& v) {
    std::vector<double> x(kFrames, 0.0);
    x[0] = 1;
    for (double ms : v.reflectionsMs)
        if (ms > 0)
            x[static_cast<size_t>(std::lround(ms * kRate / 1000))] += v.reflectionGain;
    std::vector<Biquad> chain{
        Pass(v.highPassHz, 0.707, true), Peak(v.resonanceHz, 1.2, v.resonanceDb),
        Peak(v.dipHz, 0.9, v.dipDb),     Peak(v.presenceHz, 1.0, v.presenceDb),
        Pass(v.lowPassHz, 0.541, false), Pass(v.lowPassHz, 1.307, false)};
    for (double& s : x)
        for (Biquad& b : chain)
            s = b.Run(s);
    for (int i = 0; i < kFade; ++i)
        x[kFrames - kFade + i] *= 0.5 * (1 + std::cos(M_PI * i / kFade));
    double peak = 0;
    for (double s : x)
        peak = std::max(peak, std::abs(s));
    for (double& s : x)
        s *= kPeak / peak;
    return x;
}

std::vector<uint8_t> WavBytes(const std::vector<double>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
    Put16(out, 36 + dataBytes, 4);
    for (char ch : std::string("WAVEfmt "))
        out.push_back(static_cast<uint8_t>(ch));
    Put16(out, 16, 4);
    Put16(out, 1, 2); // PCM
    Put16(out, 1, 2); // mono
    Put16(out, static_cast<uint32_t>(kRate), 4);
    Put16(out, static_cast<uint32_t>(kRate) * 2, 4);
    Put16(out, 2, 2);
    Put16(out, 16, 2);
    for (char ch : std::string("data"))
        out.push_back(static_cast<uint8_t>(ch));
    Put16(out, dataBytes, 4);
    for (double s : samples)
        Put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * 32767))), 2);
    return out;
}

void WriteFactoryResponses(const std::string& dir) {
    MakeFolders(dir + "irs");
    for (size_t i = 0; i < kVoices.size(); ++i) {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "%02zu-", i + 1);
        WriteFileAtomically(dir + "irs/" + prefix + kVoices[i].name + ".wav",
                            WavBytes(CabinetResponse(kVoices[i])));
    }
}

} // namespace resgen
