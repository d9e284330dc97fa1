#pragma once

// The commands the pedal accepts, their lengths and their negative replies.

#include "tests/devsim/SimWire.h"

#include <optional>
#include <string>

namespace devsim {

struct CommandKey {
    std::uint8_t group = kEditorGroup;
    std::uint8_t command = 0;
    friend bool operator==(const CommandKey&, const CommandKey&) = default;
};

// "55" for editor commands, "L13" for loader commands.
std::string CommandName(CommandKey key);
std::optional<CommandKey> ParseCommandName(std::string_view text);

bool IsKnownCommand(CommandKey key);
bool HasValidLength(CommandKey key, std::size_t size);
// The refusal a command can get ('b', 'r', '~' or 04 15), if it has one.
std::optional<Bytes> NegativeReply(CommandKey key);
// Commands whose replies carry check digits that a fault can spoil.
bool HasCheckedReply(CommandKey key);

} // namespace devsim
