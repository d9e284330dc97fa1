#pragma once

#include <optional>
#include <string>

namespace ak {
class Responder;
}

namespace winlayer {

// The text of a native control or window as GetDlgItemText reads it: a
// button's, box's or window's title, a field's or text view's string.
std::optional<std::string> NativeText(ak::Responder* object);
// Sets it; false for an object without a text.
bool SetNativeText(ak::Responder* object, const std::string& text);

} // namespace winlayer
