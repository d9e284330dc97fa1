#pragma once

#include <cstdio>
#include <string>

namespace omnar::pages {

// One number through a printf format, as the value labels show it.
inline std::string FormatValue(const char* format, double value) {
    char text[256] = {};
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace omnar::pages
