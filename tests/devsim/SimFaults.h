#pragma once

// Fault rules: spoil the pedal's handling of one incoming command, on its
// nth occurrence or on every one.
//   KIND:CMD[:N][:always]   KIND = drop | corrupt | nak | delay=MS | disconnect
//   CMD = two hex digits ("55"), or L and two hex digits for the loader ("L13").
// Without N a once-rule hits the next occurrence; with N, the Nth (counted
// from the simulator's start). "always" repeats it from then on. A
// disconnect sends at most the command's first reply, then the pedal takes
// and sends nothing until DeviceSim::Reconnect.

#include "tests/devsim/SimCommands.h"

#include <vector>

namespace devsim {

enum class FaultKind { Drop, Corrupt, Nak, Delay, Disconnect };

struct FaultRule {
    FaultKind kind = FaultKind::Drop;
    CommandKey command;
    int occurrence = 0; // 0: the next one
    bool always = false;
    int delayMs = 0;
};

struct FaultParse {
    std::optional<FaultRule> rule;
    std::string error;
};

FaultParse ParseFaultRule(std::string_view text);

class FaultBook {
public:
    void Add(const FaultRule& rule) { mRules.push_back({rule, false}); }
    // The first rule hitting the given occurrence (1-based) of a command.
    std::optional<FaultRule> Match(CommandKey command, int occurrence);

private:
    struct Entry {
        FaultRule rule;
        bool spent;
    };
    std::vector<Entry> mRules;
};

} // namespace devsim
