#pragma once

#include <cstdint>
#include <string>

namespace host {

// One set of audio and MIDI choices, as kept in settings.ini.
struct HostSettings {
    std::string audioInput = "Built-in Input";
    std::string audioOutput = "Built-in Output";
    std::string midiInput = "off";
    std::string midiOutput = "off";
    int32_t driver = 0;
    int32_t sampleRate = 44100;
    int32_t bufferFrames = 512;
    int32_t midiInputChannel = 0; // 0: all
    int32_t midiOutputChannel = 0;
    int32_t input1 = 1; // device channels, counted from 1
    int32_t input2 = 2;
    int32_t output1 = 1;
    int32_t output2 = 2;

    bool operator==(const HostSettings&) const = default;
};

bool AudioEqual(const HostSettings& a, const HostSettings& b);
bool MidiEqual(const HostSettings& a, const HostSettings& b);

// The thirteen keys read from an existing file; a missing or bad value, or one
// the writer could not store back, takes the reader's default.
HostSettings ReadHostSettings(const std::string& path);
// The thirteen keys written in their fixed order; false when one did not reach the disk.
bool WriteHostSettings(const std::string& path, const HostSettings& settings);

} // namespace host
