#pragma once

// Command line of the devsim program.

#include "tests/devsim/SimFaults.h"

#include <span>
#include <string>
#include <vector>

namespace devsim {

struct DevsimOptions {
    std::string name = "OmnarSim";
    std::uint8_t versionByte = kProtocolVersion;
    std::string serial = "OMN-SIM-000001";
    int gapMs = 5;
    std::vector<FaultRule> faults;
    std::string stateDir;
    std::string logFile;
    double exitAfterSeconds = 0; // 0: run until a signal ends it
    bool commands = false;       // read command lines on stdin
};

struct OptionsParse {
    DevsimOptions options;
    bool ok = false;
    bool help = false;
    std::string error;
};

// args: the arguments after the program name.
OptionsParse ParseDevsimOptions(std::span<const char* const> args);
std::string DevsimUsage();

} // namespace devsim
