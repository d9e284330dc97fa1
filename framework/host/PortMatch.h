#pragma once

#include <string>
#include <vector>

namespace host {

enum class MidiDirection { Input = 0, Output = 1 };

struct PortMatch {
    int index = -1;       // 0 "off", 1 the virtual port, k + 2 live port k; -1 none
    std::string liveName; // the live port's name, when it differs from the one looked up
};

// Exact first, letter case counting. Else the one live port whose name equals
// the stored one once a trailing " client:port" pair is dropped from both (the
// ALSA sequencer renumbers clients between runs); two such ports: none.
PortMatch FindMidiPort(MidiDirection direction, const std::string& name,
                       const std::vector<std::string>& livePorts);

// True for the names that stand for no port: "off", an empty name and the
// reader's "no input" and "no output" of a settings file without them.
bool NamesNoPort(const std::string& name);

// The name without a trailing " <digits>:<digits>".
std::string WithoutClientPort(const std::string& name);

} // namespace host
