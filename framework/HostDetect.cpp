#include "framework/IAPIBase.h"

#include <cctype>
#include <cstring>
#include <string>

namespace vx {

namespace {

struct HostName {
    const char* text;
    int32_t code;
};

// Searched in this order: "wavelab elements" must come before "wavelab".
constexpr HostName kHosts[] = {
    {"reaper", 1},         {"protools", 2},
    {"cubase", 3},         {"nuendo", 4},
    {"cakewalk", 5},       {"vegas", 6},
    {"fruity", 7},         {"samplitude", 8},
    {"live", 9},           {"tracktion", 10},
    {"ntracks", 11},       {"melodyne", 12},
    {"vstmanlib", 13},     {"aulab", 14},
    {"forte", 15},         {"chainer", 16},
    {"audition", 17},      {"orion", 18},
    {"bias", 19},          {"sawstudio", 20},
    {"logic", 21},         {"garageband", 22},
    {"digital", 23},       {"audiomulch", 25},
    {"presonus", 26},      {"vst3plugintesthost", 27},
    {"ardour", 28},        {"renoise", 29},
    {"openmpt", 30},       {"wavelab elements", 32},
    {"wavelab", 31},       {"twistedwave", 33},
    {"bitwig studio", 34}, {"reason", 36},
    {"gwvst", 37},         {"waveform", 38},
    {"audacity", 39},      {"acoustica", 40},
    {"plugindoctor", 41},  {"izotope rx", 42},
    {"savihost", 43},      {"blue cat's vst host", 44},
    {"mixbus", 45},        {"standalone", 24},
    {"www", 35},
};

int32_t HostCodeOf(const char* name) {
    std::string lower(name ? name : "");
    lower.resize(std::min<size_t>(lower.size(), 255));
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const HostName& host : kHosts)
        if (lower.find(host.text) != std::string::npos)
            return host.code;
    return 0;
}

} // namespace

void IAPIBase::DetectHost(const char* hostName, int32_t hostVersion) {
    mHostName.SetBounded(hostName);
    mHostCode = HostCodeOf(hostName);
    mHostVersion = hostVersion;
    ReservedHook65();
    ReservedHook51();
}

} // namespace vx
