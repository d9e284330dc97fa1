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

std::string SetPath(std::string& path, const char* option, const std::string& value) {
    if (value.empty()) {
        return std::string(option) + " takes a path";
    }
    path = value;
    return {};
}

// Each option takes one value; its setter checks it and answers an error text or "".
struct Option {
    const char* name;
    std::string (*set)(DevsimOptions& o, const std::string& value);
};

const Option kOptions[] = {
    {"--name",
     [](DevsimOptions& o, const std::string& value) -> std::string {
         if (!IsClientName(value)) {
             return "--name takes 1 to 48 letters, digits, '-', '_' or '.'";
         }
         o.name = value;
         return {};
     }},
    {"--version-byte",
     [](DevsimOptions& o, const std::string& value) -> std::string {
         const auto v = Integer(value, 0, 127);
         if (!v) {
             return "--version-byte takes a number from 0 to 127";
         }
         o.versionByte = static_cast<std::uint8_t>(*v);
         return {};
     }},
    {"--serial",
     [](DevsimOptions& o, const std::string& value) -> std::string {
         if (value.size() > kTextFieldSize || !IsPrintableAscii(value)) {
             return "--serial takes at most 32 printable ASCII characters";
         }
         o.serial = value;
         return {};
     }},
    {"--gap-ms",
     [](DevsimOptions& o, const std::string& value) -> std::string {
         const auto v = Integer(value, 0, 1000);
         if (!v) {
             return "--gap-ms takes a number from 0 to 1000";
         }
         o.gapMs = static_cast<int>(*v);
         return {};
     }},
    {"--fault",
     [](DevsimOptions& o, const std::string& value) -> std::string {
         const FaultParse parsed = ParseFaultRule(value);
         if (!parsed.rule) {
             return "--fault " + value + ": " + parsed.error;
         }
         o.faults.push_back(*parsed.rule);
         return {};
     }},
    {"--state", [](DevsimOptions& o,
                   const std::string& value) { return SetPath(o.stateDir, "--state", value); }},
    {"--log",
     [](DevsimOptions& o, const std::string& value) { return SetPath(o.logFile, "--log", value); }},
    {"--exit-after",
     [](DevsimOptions& o, const std::string& value) -> std::string {
         char* end = nullptr;
         const double s = std::strtod(value.c_str(), &end);
         if (value.empty() || *end != '\0' || !(s > 0 && s <= 86400)) {
             return "--exit-after takes a number of seconds above 0";
         }
         o.exitAfterSeconds = s;
         return {};
     }},
};

const Option* FindOption(std::string_view name) {
    const auto found = std::find_if(std::begin(kOptions), std::end(kOptions),
                                    [&](const Option& option) { return name == option.name; });
    return found == std::end(kOptions) ? nullptr : found;
}

} // namespace

OptionsParse ParseDevsimOptions(std::span<const char* const> args) {
    OptionsParse result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            return result;
        }
        if (arg == "--commands") {
            result.options.commands = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            result.error = "unexpected argument " + arg;
            return result;
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const Option* option = FindOption(name);
        if (name == "--commands") {
            result.error = "--commands takes no value";
            return result;
        }
        if (!option) {
            result.error = "unknown option " + name;
            return result;
        }
        std::string value;
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            result.error = name + " needs a value";
            return result;
        }
        result.error = option->set(result.options, value);
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
           "  --fault RULE        KIND:CMD[:N][:always], KIND "
           "drop|corrupt|nak|delay=MS|disconnect,\n"
           "                      CMD two hex digits or L and two for the loader; repeatable\n"
           "  --state DIR         load presets and user IRs from DIR, save them there at exit\n"
           "  --log FILE          write every message both ways to FILE\n"
           "  --exit-after S      end after S seconds\n"
           "  --commands          read lines on stdin: 'turn ID VALUE' sends the ParamValue of\n"
           "                      a knob turned on the pedal, 'save' writes the state folder\n"
           "                      (and the last firmware as firmware.bin) now\n"
           "Exit codes: 0 done, 1 state not saved, 2 bad options, 3 JACK ports not opened.\n";
}

} // namespace devsim
