#pragma once

#include "platform/ak/Font.h"
#include "platform/ak/TextField.h"

#include <functional>
#include <optional>

namespace ak {

// The shared colour chooser. Show keeps it open and reports every change;
// RunModal answers the accepted colour or none.
namespace ColorPanel {

void Show(Color color, bool showsAlpha, std::function<void(Color)> onChange);
void Close();
bool IsShown();
std::optional<Color> RunModal(Color color, bool showsAlpha);
// The chooser dialog while open, for the tests' answering helpers.
void* Dialog();

} // namespace ColorPanel

// The font chooser: the accepted font, or none when cancelled.
namespace FontPanel {

std::optional<Font> RunModal(const Font& font);
void* Dialog();

} // namespace FontPanel

} // namespace ak
