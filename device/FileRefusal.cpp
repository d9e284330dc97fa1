#include "device/FileRefusal.h"

#include <cstdio>

namespace omnar {

std::string RefusalText(FileProblem problem, const char* kind, std::size_t limit) {
    switch (problem) {
    case FileProblem::None:
    case FileProblem::CannotOpen:
        return {};
    case FileProblem::TooLarge: {
        char text[160];
        std::snprintf(text, sizeof text, "The file is too large: a %s holds at most %zu bytes.",
                      kind, limit);
        return text;
    }
    case FileProblem::NotAFile:
    case FileProblem::ReadFailed:
        break;
    }
    return kUnknownFileFormat;
}

} // namespace omnar
