#pragma once

#include <cstdint>

namespace vx {

// Packs a four-character code with its first character in the most significant byte.
constexpr int32_t FourCharCode(const char (&code)[5]) {
    return static_cast<int32_t>((uint32_t(uint8_t(code[0])) << 24) |
                                (uint32_t(uint8_t(code[1])) << 16) |
                                (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3])));
}

// What a product tells the framework about itself; filled by the product's
// constructor and passed by value to the base classes.
struct PluginConfig {
    int32_t paramCount = 0;
    int32_t presetCount = 1;
    const char* channelIOText = "";
    const char* pluginName = "";
    const char* productName = "";
    const char* makerName = "";
    int32_t version = 0; // (major << 16) + (minor << 8) + patch
    int32_t uniqueId = 0;
    int32_t makerId = 0;
    int32_t latency = 0;
    bool midiIn = false;
    bool midiOut = false;
    bool mpe = false;
    bool stateChunks = false;
    int32_t pluginType = 0; // 0 effect, 1 instrument, 2 MIDI effect, 3 generator
    bool hasUI = false;
    int32_t width = 0;
    int32_t height = 0;
    int32_t minWidth = 0;
    int32_t maxWidth = 0;
    int32_t minHeight = 0;
    int32_t maxHeight = 0;
    bool hostResize = false;
    const char* bundleId = "";
    const char* appGroupId = "";
};

} // namespace vx
