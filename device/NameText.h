#pragma once

// The characters a name may hold on the pedal: printable ASCII. Names typed
// or pasted in go through here, so the panel shows what the pedal and the
// library will keep.

#include <string>
#include <string_view>

namespace omnar {

// The text with common accented letters and typographic marks made plain
// ("é" to "e", "ß" to "ss", "’" to "'") and every other character that is
// not printable ASCII left out.
std::u32string PlainNameText(std::u32string_view text);

} // namespace omnar
