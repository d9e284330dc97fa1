#include "tests/devsim/SimConsole.h"

#include "tests/devsim/SimSlotFiles.h"

#include <cerrno>
#include <charconv>
#include <optional>
#include <poll.h>
#include <unistd.h>

namespace devsim {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t\r", at);
        if (at == std::string_view::npos) {
            return words;
        }
        const std::size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
}

std::optional<std::uint8_t> SevenBit(std::string_view word) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value > 127) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

} // namespace

ConsoleParse ParseConsoleLine(std::string_view line) {
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) {
        return {NoCommand{}, {}};
    }
    if (words[0] == "turn") {
        const auto index = words.size() == 3 ? SevenBit(words[1]) : std::nullopt;
        const auto value = words.size() == 3 ? SevenBit(words[2]) : std::nullopt;
        if (!index || !value) {
            return {NoCommand{}, "turn takes a parameter ID and a value, each 0 to 127"};
        }
        return {TurnCommand{*index, *value}, {}};
    }
    if (words[0] == "save") {
        if (words.size() != 1) {
            return {NoCommand{}, "save takes nothing more"};
        }
        return {SaveCommand{}, {}};
    }
    return {NoCommand{}, "unknown command " + std::string(words[0]) + " (turn ID VALUE, save)"};
}

ConsoleOutcome RunConsoleLine(std::string_view line, DeviceSim& sim,
                              const std::filesystem::path& stateDir, std::int64_t nowMs) {
    const ConsoleParse parsed = ParseConsoleLine(line);
    if (!parsed.error.empty()) {
        return {parsed.error, {}};
    }
    if (const auto* turn = std::get_if<TurnCommand>(&parsed.command)) {
        sim.InjectParamValue(turn->index, turn->value, nowMs);
    } else if (std::holds_alternative<SaveCommand>(parsed.command)) {
        if (stateDir.empty()) {
            return {"save needs a state folder (--state DIR)", {}};
        }
        if (std::string failure = SaveSlotFiles(stateDir, sim.State()); !failure.empty()) {
            return {"state not saved: " + failure, {}};
        }
        return {{}, "devsim saved"};
    }
    return {};
}

std::vector<std::string> ConsoleInput::TakeLines() {
    std::vector<std::string> lines;
    while (!mClosed) {
        pollfd ready{mFd, POLLIN, 0};
        if (poll(&ready, 1, 0) <= 0) {
            break;
        }
        char buffer[512];
        const ssize_t n = read(mFd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            mClosed = true;
            break;
        }
        mPending.append(buffer, static_cast<std::size_t>(n));
    }
    std::size_t newline;
    while ((newline = mPending.find('\n')) != std::string::npos) {
        lines.push_back(mPending.substr(0, newline));
        mPending.erase(0, newline + 1);
    }
    if (mClosed && !mPending.empty()) {
        lines.push_back(std::move(mPending));
        mPending.clear();
    }
    return lines;
}

} // namespace devsim
