#include "framework/host/PortMatch.h"

#include <cctype>

namespace host {

namespace {

bool AllDigits(const std::string& text, size_t from, size_t to) {
    if (from >= to)
        return false;
    for (size_t i = from; i < to; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

} // namespace

bool NamesNoPort(const std::string& name) {
    return name.empty() || name == "off" || name == "no input" || name == "no output";
}

std::string WithoutClientPort(const std::string& name) {
    const size_t blank = name.rfind(' ');
    if (blank == std::string::npos)
        return name;
    const size_t colon = name.find(':', blank);
    if (colon == std::string::npos || !AllDigits(name, blank + 1, colon) ||
        !AllDigits(name, colon + 1, name.size()))
        return name;
    return name.substr(0, blank);
}

PortMatch FindMidiPort(MidiDirection direction, const std::string& name,
                       const std::vector<std::string>& livePorts) {
    if (name == "off")
        return {0, {}};
    if (name == (direction == MidiDirection::Input ? "virtual input" : "virtual output"))
        return {1, {}};
    for (size_t k = 0; k < livePorts.size(); ++k)
        if (livePorts[k] == name)
            return {static_cast<int>(k) + 2, {}};
    const std::string stem = WithoutClientPort(name);
    PortMatch found;
    for (size_t k = 0; k < livePorts.size(); ++k) {
        if (WithoutClientPort(livePorts[k]) != stem)
            continue;
        if (found.index >= 0)
            return {};
        found = {static_cast<int>(k) + 2, livePorts[k]};
    }
    return found;
}

} // namespace host
