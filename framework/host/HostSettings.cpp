#include "framework/host/HostSettings.h"

#include "winlayer/IniImage.h"
#include "winlayer/PrivateProfile.h"

#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <string_view>
#include <sys/stat.h>
#include <utility>

namespace host {

namespace {

// Long device names must survive a round trip through the file.
constexpr DWORD kNameBytes = 1024;

// A text the profile writer cannot store (a carriage return inside the line)
// counts as absent: kept, it would fail every save of the settings.
std::string ReadText(const char* section, const char* key, const char* fallback,
                     const std::string& path) {
    char buffer[kNameBytes] = {};
    GetPrivateProfileString(section, key, fallback, buffer, kNameBytes, path.c_str());
    return winlayer::IsStorableValue(buffer) ? buffer : fallback;
}

// A whole decimal number that passes the check, else the fallback.
template <class Check>
int32_t ReadNumber(const char* section, const char* key, int32_t fallback, const std::string& path,
                   Check valid) {
    const std::string text = ReadText(section, key, "", path);
    if (text.empty())
        return fallback;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX ||
        !valid(static_cast<int32_t>(value)))
        return fallback;
    return static_cast<int32_t>(value);
}

// Larger than any settings file this program writes: something else is
// there, read as no settings at all and never written over.
constexpr off_t kSettingsFileMax = 1 << 20;

bool TooLargeForSettings(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && status.st_size > kSettingsFileMax;
}

std::string Unsigned(int32_t value) {
    return std::to_string(static_cast<uint32_t>(value));
}

} // namespace

bool AudioEqual(const HostSettings& a, const HostSettings& b) {
    return a.driver == b.driver && a.audioInput == b.audioInput && a.audioOutput == b.audioOutput &&
           a.sampleRate == b.sampleRate && a.bufferFrames == b.bufferFrames &&
           a.input1 == b.input1 && a.input2 == b.input2 && a.output1 == b.output1 &&
           a.output2 == b.output2;
}

bool MidiEqual(const HostSettings& a, const HostSettings& b) {
    return a.midiInput == b.midiInput && a.midiOutput == b.midiOutput &&
           a.midiInputChannel == b.midiInputChannel && a.midiOutputChannel == b.midiOutputChannel;
}

HostSettings ReadHostSettings(const std::string& path) {
    if (TooLargeForSettings(path))
        return {};
    const auto any = [](int32_t) { return true; };
    const auto positive = [](int32_t v) { return v > 0; };
    const auto midiChannel = [](int32_t v) { return v >= 0 && v <= 16; };
    HostSettings s;
    s.driver = ReadNumber("audio", "driver", 0, path, any);
    s.audioInput = ReadText("audio", "indev", "Built-in Input", path);
    s.audioOutput = ReadText("audio", "outdev", "Built-in Output", path);
    s.input1 = ReadNumber("audio", "in1", 1, path, positive);
    s.input2 = ReadNumber("audio", "in2", 2, path, positive);
    s.output1 = ReadNumber("audio", "out1", 1, path, positive);
    s.output2 = ReadNumber("audio", "out2", 2, path, positive);
    s.bufferFrames = ReadNumber("audio", "buffer", 512, path, positive);
    s.sampleRate = ReadNumber("audio", "sr", 44100, path, positive);
    s.midiInput = ReadText("midi", "indev", "no input", path);
    s.midiOutput = ReadText("midi", "outdev", "no output", path);
    // A channel outside the range means nothing to the editor: all channels.
    s.midiInputChannel = ReadNumber("midi", "inchan", 0, path, midiChannel);
    s.midiOutputChannel = ReadNumber("midi", "outchan", 0, path, midiChannel);
    return s;
}

bool WriteHostSettings(const std::string& path, const HostSettings& s) {
    if (TooLargeForSettings(path)) {
        errno = EFBIG;
        return false;
    }
    const std::string values[] = {Unsigned(s.driver),
                                  s.audioInput,
                                  s.audioOutput,
                                  Unsigned(s.input1),
                                  Unsigned(s.input2),
                                  Unsigned(s.output1),
                                  Unsigned(s.output2),
                                  std::to_string(s.bufferFrames),
                                  std::to_string(s.sampleRate),
                                  s.midiInput,
                                  s.midiOutput,
                                  Unsigned(s.midiInputChannel),
                                  Unsigned(s.midiOutputChannel)};
    const std::pair<const char*, const char*> keys[] = {
        {"audio", "driver"}, {"audio", "indev"}, {"audio", "outdev"}, {"audio", "in1"},
        {"audio", "in2"},    {"audio", "out1"},  {"audio", "out2"},   {"audio", "buffer"},
        {"audio", "sr"},     {"midi", "indev"},  {"midi", "outdev"},  {"midi", "inchan"},
        {"midi", "outchan"}};
    static_assert(std::size(keys) == std::size(values));
    // A value the file cannot hold is left out (and reported); the rest is
    // written in one rewrite: a start writes the file once, not once a key.
    PrivateProfileEntry entries[std::size(keys)];
    int count = 0;
    for (std::size_t i = 0; i < std::size(keys); ++i)
        if (winlayer::IsStorableValue(values[i]))
            entries[count++] = {keys[i].first, keys[i].second, values[i].c_str()};
    const bool written = WritePrivateProfileStrings(entries, count, path.c_str()) != 0;
    return written && count == int(std::size(keys));
}

} // namespace host
