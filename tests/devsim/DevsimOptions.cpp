#include "tests/devsim/DevsimOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>

namespace devsim {

namespace {

constexpr std::size_t kMaxNameLength = 48;

std::optional<long> Integer(const std::string& text, long minimum, long maximum) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || errno != 0 || value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

bool IsClientName(const std::string& name) {
    return !name.empty() && name.size() <= kMaxNameLength &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || c == '.';
           });
}

bool IsPrintableAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

bool IsKnownOption(const std::string& option) {
    for (const char* known : {"--name", "--version-byte", "--serial", "--gap-ms", "--fault",
                              "--state", "--log", "--exit-after"}) {
        if (option == known) {
            return true;
        }
    }
    return false;
}

// Applies one option with its value; returns an error text or "".
std::string Apply(DevsimOptions& o, const std::string& option, const std::string& value) {
    if (option == "--name") {
        if (!IsClientName(value)) {
            return "--name takes 1 to 48 letters, digits, '-', '_' or '.'";
        }
        o.name = value;
    } else if (option == "--version-byte") {
        const auto v = Integer(value, 0, 127);
        if (!v) {
            return "--version-byte takes a number from 0 to 127";
        }
        o.versionByte = static_cast<std::uint8_t>(*v);
    } else if (option == "--serial") {
        if (value.size() > kTextFieldSize || !IsPrintableAscii(value)) {
            return "--serial takes at most 32 printable ASCII characters";
        }
        o.serial = value;
    } else if (option == "--gap-ms") {
        const auto v = Integer(value, 0, 1000);
        if (!v) {
            return "--gap-ms takes a number from 0 to 1000";
        }
        o.gapMs = static_cast<int>(*v);
    } else if (option == "--fault") {
        const FaultParse parsed = ParseFaultRule(value);
        if (!parsed.rule) {
            return "--fault " + value + ": " + parsed.error;
        }
        o.faults.push_back(*parsed.rule);
    } else if (option == "--state") {
        o.stateDir = value;
    } else if (option == "--log") {
        o.logFile = value;
    } else if (option == "--exit-after") {
        char* end = nullptr;
        const double s = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(s > 0 && s <= 86400)) {
            return "--exit-after takes a number of seconds above 0";
        }
        o.exitAfterSeconds = s;
    } else {
        return "unknown option " + option;
    }
    if ((option == "--state" || option == "--log") && value.empty()) {
        return option + " takes a path";
    }
    return {};
}

} // namespace

OptionsParse ParseDevsimOptions(std::span<const char* const> args) {
    OptionsParse result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        if (option == "--help" || option == "-h") {
            result.help = true;
            return result;
        }
        const std::string bare = option.substr(0, option.find('='));
        if (bare.starts_with("--") && !IsKnownOption(bare)) {
            result.error = "unknown option " + bare;
            return result;
        }
        std::string value;
        if (const auto eq = option.find('='); option.starts_with("--") && eq != std::string::npos) {
            value = option.substr(eq + 1);
            option.resize(eq);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            result.error = option.starts_with("--") ? option + " needs a value"
                                                    : "unexpected argument " + option;
            return result;
        }
        result.error = Apply(result.options, option, value);
        if (!result.error.empty()) {
            return result;
        }
    }
    result.ok = true;
    return result;
}

std::string DevsimUsage() {
    return "usage: devsim [options]\n"
           "Plays the Omnar pedal's side of the SysEx protocol on JACK MIDI ports\n"
           "<name>-in:midi_in and <name>-out:midi_out.\n"
           "  --name NAME         client name stem (default OmnarSim)\n"
           "  --version-byte N    firmware version times ten, 0..127 (default 12)\n"
           "  --serial TEXT       serial number, at most 32 characters (default OMN-SIM-000001)\n"
           "  --gap-ms N          pause between two sent messages (default 5)\n"
           "  --fault RULE        KIND:CMD[:N][:always], KIND drop|corrupt|nak|delay=MS,\n"
           "                      CMD two hex digits or L and two for the loader; repeatable\n"
           "  --state DIR         load presets and user IRs from DIR, save them there at exit\n"
           "  --log FILE          write every message both ways to FILE\n"
           "  --exit-after S      end after S seconds\n"
           "Exit codes: 0 done, 1 state not saved, 2 bad options, 3 JACK ports not opened.\n";
}

} // namespace devsim
