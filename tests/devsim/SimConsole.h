#pragma once

// devsim's command lines on stdin (--commands): what a person at the pedal
// does, for a test driving the editor from outside.
//   turn ID VALUE   the knob of editor parameter ID turned to VALUE (0..127):
//                   the pedal sends its ParamValue message
//   save            the state folder written now, as at exit; "devsim saved"
//                   on stdout once it is

#include "tests/devsim/DeviceSim.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace devsim {

struct TurnCommand {
    std::uint8_t index = 0;
    std::uint8_t value = 0;
    friend bool operator==(const TurnCommand&, const TurnCommand&) = default;
};
struct SaveCommand {
    friend bool operator==(const SaveCommand&, const SaveCommand&) = default;
};
// Nothing to do: a blank line.
struct NoCommand {
    friend bool operator==(const NoCommand&, const NoCommand&) = default;
};
using ConsoleCommand = std::variant<NoCommand, TurnCommand, SaveCommand>;

struct ConsoleParse {
    ConsoleCommand command;
    std::string error; // empty when the line was understood
};

ConsoleParse ParseConsoleLine(std::string_view line);

struct ConsoleOutcome {
    std::string error; // why the line was refused or failed, or empty
    std::string reply; // a line for stdout, or empty
};

// Parses and carries out one line at nowMs.
ConsoleOutcome RunConsoleLine(std::string_view line, DeviceSim& sim,
                              const std::filesystem::path& stateDir, std::int64_t nowMs);

// The lines a file descriptor holds so far, read without blocking. A last
// line without its newline counts once the other end is closed.
class ConsoleInput {
public:
    explicit ConsoleInput(int fd) : mFd(fd) {}
    std::vector<std::string> TakeLines();
    bool Closed() const { return mClosed; }

private:
    int mFd;
    bool mClosed = false;
    std::string mPending;
};

} // namespace devsim
