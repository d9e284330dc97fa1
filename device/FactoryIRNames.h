#pragma once

#include <array>

namespace omnar {

// Names of the nine built-in cabinet responses, in slot order.
inline constexpr std::array<const char*, 9> FactoryIRNameTable = {
    "Flat Response", "Quorbel",   "Hinglow",  "KL 8x10", "Dunmo 2x15",
    "Ovaten 2x15",   "Brel 4x10", "Tirn 12L", "Isle V30"};

} // namespace omnar
