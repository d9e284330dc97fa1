#pragma once

#include <string>

// Captions of dialog controls show without their '&' mnemonic markers; the
// original of each stripped caption is kept (the last 257) so menus and
// accelerators can find the marked letter again.

namespace winlayer {

// The caption as shown. Stripping records it beside the original.
std::string StripMnemonics(const char* caption);

// Frees every remembered caption.
void ForgetMnemonicCaptions();

} // namespace winlayer

// The caption with its markers for a shown caption, first exact match, or null.
const char* FindMnemonicOriginal(const char* shown);
