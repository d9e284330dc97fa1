#pragma once

// Pure rules of the native text entry, menu and colour panel: which characters
// a parameter's field takes, how menu items are numbered, and colour bytes.

#include <string>

namespace vx::ui {

// The characters a field for a parameter of the type code (1 bool, 2 int,
// 3 enum, 4 float) accepts; empty: any.
std::u32string AcceptedEntryCharacters(int paramType);
// The item's title with the menu's number prefix for its index (from 0):
// kind 1 "1: ", 2 "01: ", 3 "001: "; other kinds add nothing.
std::string NativeMenuItemTitle(const char* text, int prefixKind, int index);
// A colour component of 0 to 1 as a byte, truncated; a component that came
// from a byte (b / 255) gives that byte back.
int ColorComponentByte(double component);

} // namespace vx::ui
