#pragma once

#include "device/FileReader.h"

#include <cstddef>
#include <string>

// What a chooser says about a file it cannot use: "Unknown file format." for
// anything that is no file of its kind, the size limit for one too large, and
// nothing for a file that does not open (the chooser just showed it gone).
namespace omnar {

inline constexpr const char* kUnknownFileFormat = "Unknown file format.";

// `kind` names the file ("bank file"); `limit` is the largest size it may have.
std::string RefusalText(FileProblem problem, const char* kind, std::size_t limit);

} // namespace omnar
