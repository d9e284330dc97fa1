#include "tests/devsim/SimFaults.h"

#include <charconv>

namespace devsim {

namespace {

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t colon = text.find(':', start);
        fields.push_back(text.substr(start, colon - start));
        if (colon == std::string_view::npos) {
            return fields;
        }
        start = colon + 1;
    }
}

std::optional<int> PositiveNumber(std::string_view text, int minimum) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < minimum) {
        return std::nullopt;
    }
    return value;
}

FaultParse Fail(std::string message) {
    return {std::nullopt, std::move(message)};
}

} // namespace

FaultParse ParseFaultRule(std::string_view text) {
    const auto fields = SplitFields(text);
    if (fields.size() < 2 || fields.size() > 4) {
        return Fail("expected KIND:CMD[:N][:always]");
    }
    FaultRule rule;
    const std::string_view kind = fields[0];
    if (kind == "drop") {
        rule.kind = FaultKind::Drop;
    } else if (kind == "corrupt") {
        rule.kind = FaultKind::Corrupt;
    } else if (kind == "nak") {
        rule.kind = FaultKind::Nak;
    } else if (kind == "disconnect") {
        rule.kind = FaultKind::Disconnect;
    } else if (kind.starts_with("delay=")) {
        const auto ms = PositiveNumber(kind.substr(6), 1);
        if (!ms) {
            return Fail("delay needs a number of milliseconds above 0");
        }
        rule.kind = FaultKind::Delay;
        rule.delayMs = *ms;
    } else {
        return Fail("unknown fault kind '" + std::string(kind) + "'");
    }
    const auto command = ParseCommandName(fields[1]);
    if (!command) {
        return Fail("unknown command '" + std::string(fields[1]) + "'");
    }
    rule.command = *command;
    for (std::size_t i = 2; i < fields.size(); ++i) {
        if (fields[i] == "always" && i == fields.size() - 1) {
            rule.always = true;
        } else if (const auto n = PositiveNumber(fields[i], 1); n && i == 2) {
            rule.occurrence = *n;
        } else {
            return Fail("bad occurrence '" + std::string(fields[i]) + "'");
        }
    }
    if (rule.kind == FaultKind::Nak && !NegativeReply(rule.command)) {
        return Fail("command " + CommandName(rule.command) + " has no negative reply");
    }
    if (rule.kind == FaultKind::Corrupt && !HasCheckedReply(rule.command)) {
        return Fail("command " + CommandName(rule.command) + " has no reply with check bytes");
    }
    return {rule, {}};
}

std::optional<FaultRule> FaultBook::Match(CommandKey command, int occurrence) {
    for (Entry& entry : mRules) {
        const FaultRule& rule = entry.rule;
        if (entry.spent || !(rule.command == command)) {
            continue;
        }
        const bool hit = rule.occurrence == 0 || occurrence == rule.occurrence ||
                         (rule.always && occurrence > rule.occurrence);
        if (!hit) {
            continue;
        }
        entry.spent = !rule.always;
        return rule;
    }
    return std::nullopt;
}

} // namespace devsim
