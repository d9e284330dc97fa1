#pragma once

#include <functional>
#include <string>

namespace sys {

// Writes one line to standard error, or to the sink while one is set.
void LogError(const std::string& line);

// Replaces the destination of LogError (tests); an empty function restores stderr.
void SetLogSink(std::function<void(const std::string&)> sink);

} // namespace sys
