// Drawing of the panels, their cells and the callout arrows.
#include "toolkit/IPopupMenuControl.h"

#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

namespace {

constexpr float kTickRadius = 2.f;
constexpr float kShadowOffset = 2.f;
constexpr float kShadowBlur = 10.f;
// A separator is drawn only once its panel is this opaque.
constexpr float kSeparatorMinWeight = 0.9f;

} // namespace

void IPopupMenuControl::Draw(ICanvas& g) {
    if (panels.empty())
        return;
    for (const auto& panel : panels)
        if (panel->shouldDraw)
            DrawPanel(g, *panel);
    if (showCallout)
        DrawCalloutArrow(g, calloutRect, &panels[0]->blend);
    if (menuHasSubmenus && submenuCalloutVisible) // fades with the submenu it points to
        DrawSubmenuCalloutArrow(g, submenuCalloutRect,
                                appearingPanel ? &appearingPanel->blend : &panels[0]->blend);
}

void IPopupMenuControl::DrawPanel(ICanvas& g, const MenuPanel& panel) {
    const IBlendSetting* blend = &panel.blend;
    DrawPanelShadow(g, panel);
    DrawPanelBackground(g, panel);
    const int last = panel.NCells() - 1;
    for (int i = 0; i <= last; ++i) {
        const IPopupMenu::Item* item = panel.ItemInCell(i);
        if (!item)
            continue;
        const IRECT& cell = panel.cells[static_cast<size_t>(i)];
        const bool highlighted =
            (&panel == activePanel && i == highlightedCell) || i == panel.rememberedCell;
        if (panel.scrolls && i == 0 && panel.scrollOffset > 0) {
            DrawCellBackground(g, cell, *item, highlighted, blend);
            DrawUpArrow(g, cell, highlighted, blend);
        } else if (panel.scrolls && i == last &&
                   i + panel.scrollOffset < panel.menu->NItems() - 1) {
            DrawCellBackground(g, cell, *item, highlighted, blend);
            DrawDownArrow(g, cell, highlighted, blend);
        } else if (item->flags & IPopupMenu::kSeparator) {
            DrawSeparator(g, cell, blend);
        } else {
            DrawCellBackground(g, cell, *item, highlighted, blend);
            DrawCellText(g, cell, *item, highlighted, blend);
            if (item->flags & IPopupMenu::kChecked)
                DrawTick(g, cell, *item, highlighted, blend);
            if (item->submenu)
                DrawSubMenuArrow(g, cell, *item, highlighted, blend);
        }
    }
}

void IPopupMenuControl::DrawCalloutArrow(ICanvas& g, const IRECT& r, const IBlendSetting* blend) {
    // The base faces the panel, the tip the anchor.
    switch (calloutDirection) {
    case 0:
        g.FillTriangle(panelColour, r.L, r.T, r.R, r.T, r.MW(), r.B, blend);
        break;
    case 1:
        g.FillTriangle(panelColour, r.R, r.T, r.R, r.B, r.L, r.MH(), blend);
        break;
    case 2:
        g.FillTriangle(panelColour, r.L, r.B, r.R, r.B, r.MW(), r.T, blend);
        break;
    default:
        g.FillTriangle(panelColour, r.L, r.T, r.L, r.B, r.R, r.MH(), blend);
        break;
    }
}

void IPopupMenuControl::DrawSubmenuCalloutArrow(ICanvas& g, const IRECT& r,
                                                const IBlendSetting* blend) {
    if (submenusOpenRight)
        g.FillTriangle(panelColour, r.L, r.T, r.L, r.B, r.R, r.MH(), blend);
    else
        g.FillTriangle(panelColour, r.R, r.T, r.R, r.B, r.L, r.MH(), blend);
}

void IPopupMenuControl::DrawPanelBackground(ICanvas& g, const MenuPanel& panel) {
    g.FillRoundRect(panelColour, panel.rect, roundness, &panel.blend);
}

void IPopupMenuControl::DrawPanelShadow(ICanvas& g, const MenuPanel& panel) {
    g.DrawRectShadowFast(panel.shadowRect.GetPadded(-dropShadowSize), panel.shadowRect,
                         &panel.blend, kShadowOffset, roundness, kShadowBlur);
}

void IPopupMenuControl::DrawCellBackground(ICanvas& g, const IRECT& cell, const IPopupMenu::Item&,
                                           bool highlighted, const IBlendSetting* blend) {
    if (highlighted)
        g.FillRect(cellHighlightColour,
                   IRECT(cell.L - cellOverhang, cell.T, cell.R + cellOverhang, cell.B), blend);
}

void IPopupMenuControl::DrawCellText(ICanvas& g, const IRECT& cell, const IPopupMenu::Item& item,
                                     bool highlighted, const IBlendSetting* blend) {
    IText style = text;
    style.align = 0;
    style.FGColor = highlighted                            ? highlightedTextColour
                    : (item.flags & IPopupMenu::kDisabled) ? disabledTextColour
                                                           : textColour;
    const float left =
        cell.L + tickAreaWidth / 2.f + std::max(1.f, tickAreaWidth) / 2.f + textPadding;
    g.DrawText(style, item.text.Get(), IRECT(left, cell.T, cell.R - textPadding, cell.B), blend);
}

void IPopupMenuControl::DrawTick(ICanvas& g, const IRECT& cell, const IPopupMenu::Item&,
                                 bool highlighted, const IBlendSetting* blend) {
    const float half = std::max(1.f, tickAreaWidth / 2.f) / 2.f;
    const float cx = cell.L + tickAreaWidth / 2.f, cy = cell.MH();
    g.FillRoundRect(highlighted ? highlightedTextColour : textColour,
                    IRECT(cx - half, cy - half, cx + half, cy + half), kTickRadius, blend);
}

void IPopupMenuControl::DrawSubMenuArrow(ICanvas& g, const IRECT& cell, const IPopupMenu::Item&,
                                         bool highlighted, const IBlendSetting* blend) {
    const IColor& colour = highlighted ? highlightedTextColour : textColour;
    const float half = cellOverhang / 2.f, cy = cell.MH();
    if (submenusOpenRight)
        g.FillTriangle(colour, cell.R - cellOverhang, cy - half, cell.R - cellOverhang, cy + half,
                       cell.R, cy, blend);
    else
        g.FillTriangle(colour, cell.L + cellOverhang, cy - half, cell.L + cellOverhang, cy + half,
                       cell.L, cy, blend);
}

void IPopupMenuControl::DrawUpArrow(ICanvas& g, const IRECT& cell, bool highlighted,
                                    const IBlendSetting* blend) {
    const float half = 0.3f * cell.H();
    g.FillTriangle(highlighted ? highlightedTextColour : textColour, cell.MW() - half,
                   cell.MH() + half / 2.f, cell.MW() + half, cell.MH() + half / 2.f, cell.MW(),
                   cell.MH() - half / 2.f, blend);
}

void IPopupMenuControl::DrawDownArrow(ICanvas& g, const IRECT& cell, bool highlighted,
                                      const IBlendSetting* blend) {
    const float half = 0.3f * cell.H();
    g.FillTriangle(highlighted ? highlightedTextColour : textColour, cell.MW() - half,
                   cell.MH() - half / 2.f, cell.MW() + half, cell.MH() - half / 2.f, cell.MW(),
                   cell.MH() + half / 2.f, blend);
}

void IPopupMenuControl::DrawSeparator(ICanvas& g, const IRECT& cell, const IBlendSetting* blend) {
    if (blend && blend->weight > kSeparatorMinWeight)
        g.FillRect(separatorColour, cell, blend);
}

} // namespace vx::ui
