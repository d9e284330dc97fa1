#pragma once

// The receiving side of direct-save drags: the source offers a file that it
// writes only once the receiver has named the place, which the receiver does
// through a property of the source's drag window.

#include <string>
#include <string_view>

typedef struct _GdkDragContext GdkDragContext;

namespace ak {

// The target such a source offers, and the property it reads the place from.
inline constexpr const char* kDirectSaveTarget = "XdndDirectSave0";

// The file name the drag's source suggests. Empty when it offers none, or a
// name that is not a plain file name (a path, "." or "..", over 255 bytes).
std::string DirectSaveFileName(GdkDragContext* context);
// Names the place to the source: a "file://" URI of path on this host.
// False when the path cannot be written as one.
bool DirectSaveTellSource(GdkDragContext* context, const std::string& path);
// Whether the source's answer to the save request says the file is written.
bool DirectSaveSucceeded(std::string_view answer);
// A promised file's type: what follows the last '.' of its name, or empty.
std::string DirectSaveFileType(const std::string& name);

} // namespace ak
