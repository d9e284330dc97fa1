// The colour and font choosers over ak's panels, with their own OK and Cancel.
#include "platform/ak/ColorPanel.h"
#include "winlayer/dialogs/ChooserValues.h"
#include "winlayer/dialogs/CommonDialogs.h"

using namespace winlayer;

namespace {

constexpr double kDefaultFontSize = 13;

} // namespace

int WISP_ChooseColor(HWND, int* colour) {
    if (!colour)
        return 0;
    const std::optional<ak::Color> chosen = ak::ColorPanel::RunModal(ColorOfValue(*colour), false);
    if (!chosen)
        return 0;
    *colour = ValueOfColor(*chosen);
    return 1;
}

int WISP_ChooseFont(HWND, LOGFONT* font) {
    if (!font)
        return 0;
    FontRequest asked = FontRequestOf(*font);
    const double size = asked.size > 0 ? asked.size : kDefaultFontSize;
    const std::optional<ak::Font> chosen =
        ak::FontPanel::RunModal(ak::Font::Named(asked.family, size, asked.bold, asked.italic));
    if (!chosen)
        return 0;
    asked.size = size;
    return ApplyChosenFont(*font, asked, chosen->Family(), chosen->PointSize(), chosen->IsBold(),
                           chosen->IsItalic())
               ? 1
               : 0;
}
