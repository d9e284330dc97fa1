// Panel sizes, placement beside the anchor, cells, and the submenu chain.
#include "toolkit/IPopupMenuControl.h"

#include "toolkit/ICanvas.h"

#include <algorithm>

namespace vx::ui {

namespace {

bool IsSeparator(const IPopupMenu::Item& item) {
    return (item.flags & IPopupMenu::kSeparator) != 0;
}

bool Inside(const IRECT& r, const IRECT& area) {
    return r.L >= area.L && r.R <= area.R && r.T >= area.T && r.B <= area.B;
}

// Moved, not resized, into the area; a rect larger than the area keeps its left/top edge there.
IRECT ClampInto(IRECT r, const IRECT& area, bool vertically = true) {
    const float w = r.W(), h = r.H();
    r.L = std::max(area.L, std::min(r.L, area.R - w));
    r.R = r.L + w;
    if (vertically) {
        r.T = std::max(area.T, std::min(r.T, area.B - h));
        r.B = r.T + h;
    }
    return r;
}

IRECT Sized(float left, float top, float w, float h) {
    return {left, top, left + w, top + h};
}

} // namespace

IPopupMenuControl::ContentSize IPopupMenuControl::MeasureContent(const IPopupMenu& m) const {
    IRECT textBounds;
    int separators = 0;
    for (int i = 0; i < m.NItems(); ++i) {
        const IPopupMenu::Item& item = *m.GetItem(i);
        if (IsSeparator(item))
            ++separators;
        IRECT r;
        if (graphics)
            graphics->MeasureText(text, item.text.Get(), r);
        textBounds = textBounds.Union(r);
    }
    const int n = m.NItems();
    ContentSize size;
    size.width = textBounds.W() + 2.f * textPadding + tickAreaWidth + arrowAreaWidth;
    size.rowHeight = textBounds.H();
    size.height = float(n - separators) * size.rowHeight + float(separators) * separatorHeight +
                  float(std::max(n - 1, 0)) * cellGap;
    return size;
}

// Returns the root panel's rect for a panel of w by h; sets the callout.
IRECT IPopupMenuControl::PlaceRootPanel(float w, float h) {
    const IRECT area = menuArea.GetPadded(-dropShadowSize);
    const IRECT& a = anchorRect;
    const float v = showCallout ? calloutSize : 0.f;
    const float fontSize = text.size;
    const bool upper = a.MH() < area.MH();

    auto below = [&] {
        calloutDirection = 2;
        calloutRect = {a.MW() - v / 2.f, a.B, a.MW() + v / 2.f, a.B + v};
        return Sized(a.MW() - w / 2.f, a.B + v, w, h);
    };
    auto above = [&] {
        calloutDirection = 0;
        calloutRect = {a.MW() - v / 2.f, a.T - v, a.MW() + v / 2.f, a.T};
        return Sized(a.MW() - w / 2.f, a.T - v - h, w, h);
    };
    auto beside = [&] {
        const float top = upper ? a.MH() - (fontSize + v) : a.MH() + fontSize + v - h;
        if (a.MW() <= area.MW()) {
            calloutDirection = 1;
            calloutRect = {a.R, a.MH() - v / 2.f, a.R + v, a.MH() + v / 2.f};
            return Sized(a.R + v, top, w, h);
        }
        calloutDirection = 3;
        calloutRect = {a.L - v, a.MH() - v / 2.f, a.L, a.MH() + v / 2.f};
        return Sized(a.L - v - w, top, w, h);
    };

    IRECT r;
    if (menuHasSubmenus) {
        // Centred under or over the anchor, so submenus have room on one side.
        submenusOpenRight = area.MW() >= a.MW();
        const float left = a.MW() - w / 2.f + (submenusOpenRight ? -submenuOffset : submenuOffset);
        const bool roomBelow = area.B - a.B >= a.T - area.T;
        r = roomBelow ? below() : above();
        r = ClampInto(Sized(left, r.T, w, h), area);
    } else if (preferBelow && a.B + v + h <= area.B) {
        r = ClampInto(below(), area, false);
    } else {
        r = beside();
        if (!Inside(r, area)) {
            const IRECT vertical = upper ? below() : above();
            if (vertical.T >= area.T && vertical.B <= area.B)
                r = vertical;
            else
                r = beside();
            r = ClampInto(r, area);
        }
    }
    return r;
}

IRECT IPopupMenuControl::PlaceSubmenuPanel(const IRECT& cell, const ContentSize& size) const {
    const float s = dropShadowSize;
    const float t = showCallout ? calloutSize : 0.f;
    const float w = size.width, h = size.height;
    float left = submenusOpenRight ? cell.R + cellOverhang + t : cell.L - cellOverhang - t - w - s;
    left = std::max(menuArea.L + s, std::min(left, menuArea.R - w - 2.f * s));
    float top = calloutDirection == 0 ? cell.T - h + 2.f * cellGap - cellOverhang / 2.f + s
                                      : cell.T - cellOverhang;
    top = std::max(menuArea.T + s, std::min(top, menuArea.B - h - 2.f * s));
    return Sized(left, top, w + 2.f * cellOverhang, h + 2.f * cellOverhang);
}

std::unique_ptr<IPopupMenuControl::MenuPanel>
IPopupMenuControl::BuildPanel(IPopupMenu& m, float left, float top, const ContentSize& size) const {
    auto panel = std::make_unique<MenuPanel>();
    panel->menu = &m;
    const float firstY = top + cellOverhang;
    const float limit = menuArea.B - cellOverhang;
    float x = left + cellOverhang, y = firstY;
    IRECT cells;
    for (int i = 0; i < m.NItems(); ++i) {
        const float h = IsSeparator(*m.GetItem(i)) ? separatorHeight : size.rowHeight;
        if (y + h > limit && !panel->cells.empty()) {
            if (scrollWhenTooTall) {
                panel->scrolls = true;
                break;
            }
            x += size.width + cellGap; // a new column
            y = firstY;
        }
        const IRECT cell = Sized(x, y, size.width, h);
        panel->cells.push_back(cell);
        cells = cells.Union(cell);
        y += h + cellGap;
    }
    panel->rect = cells.GetPadded(cellOverhang);
    panel->shadowRect = panel->rect.GetPadded(dropShadowSize);
    return panel;
}

void IPopupMenuControl::Expand(const IRECT& anchor) {
    Hide(false);
    state = kExpanding;
    if (graphics)
        graphics->UpdateTooltips();
    panels.clear();
    activePanel = appearingPanel = nullptr;
    highlightedCell = -1;
    submenuCalloutVisible = false;
    anchorRect = anchor;
    const ContentSize size = MeasureContent(*menu);
    const IRECT r =
        PlaceRootPanel(size.width + 2.f * cellOverhang, size.height + 2.f * cellOverhang);
    panels.push_back(BuildPanel(*menu, r.L, r.T, size));
    activePanel = appearingPanel = panels.back().get();
    drawRect = activePanel->shadowRect;
    targetRect = activePanel->rect;
    OnResize();
    SetDirty(true, -1);
}

int IPopupMenuControl::CellAt(const MenuPanel& panel, float x, float y) const {
    for (int i = 0; i < panel.NCells(); ++i)
        if (panel.cells[static_cast<size_t>(i)].ContainsPoint(x, y))
            return i;
    return -1;
}

int IPopupMenuControl::EnabledCellAt(const MenuPanel& panel, float x, float y) const {
    const int cell = CellAt(panel, x, y);
    const IPopupMenu::Item* item = panel.ItemInCell(cell);
    return item && !(item->flags & IPopupMenu::kDisabled) ? cell : -1;
}

void IPopupMenuControl::OpenSubmenu(int parentIndex, int cell) {
    MenuPanel& parent = *panels[static_cast<size_t>(parentIndex)];
    IPopupMenu::Item& item = *parent.ItemInCell(cell);
    IPopupMenu& submenu = *item.submenu;
    int index = -1;
    for (int i = 0; i < NPanels(); ++i)
        if (panels[static_cast<size_t>(i)]->menu == &submenu)
            index = i;
    if (index < 0) {
        const ContentSize size = MeasureContent(submenu);
        const IRECT& parentCell = parent.cells[static_cast<size_t>(cell)];
        const IRECT r = PlaceSubmenuPanel(parentCell, size);
        auto panel = BuildPanel(submenu, r.L, r.T, size);
        panel->parentPanel = parentIndex;
        panel->parentItem = cell + parent.scrollOffset;
        panels.push_back(std::move(panel));
        index = NPanels() - 1;
    }
    // Exactly the chain from the root to this submenu is drawn.
    for (const auto& panel : panels)
        panel->shouldDraw = false;
    for (int i = index; i >= 0; i = panels[static_cast<size_t>(i)]->parentPanel)
        panels[static_cast<size_t>(i)]->shouldDraw = true;
    if (!(item.flags & IPopupMenu::kDisabled))
        parent.rememberedCell = cell;
    MenuPanel* shown = panels[static_cast<size_t>(index)].get();
    if (showCallout) {
        // A calloutSize square between the parent cell and the submenu, centred on the cell.
        const IRECT& c = parent.cells[static_cast<size_t>(cell)];
        const float x = submenusOpenRight ? c.R + cellOverhang : c.L - cellOverhang - calloutSize;
        submenuCalloutRect = Sized(x, c.MH() - calloutSize / 2.f, calloutSize, calloutSize);
        submenuCalloutVisible = true;
    }
    CoverPanels();
    if (shown != appearingPanel) {
        appearingPanel = shown;
        shown->blend.weight = 0.f;
        state = kSubmenuAppearing;
        SetDirty(true, -1); // the submenu fades in
    }
}

void IPopupMenuControl::CloseSubmenusOf(int parentIndex) {
    if (parentIndex < 0)
        return;
    std::vector<bool> descendant(panels.size(), false);
    for (size_t i = 0; i < panels.size(); ++i) {
        const int p = panels[i]->parentPanel;
        if (p >= 0 && (p == parentIndex || descendant[static_cast<size_t>(p)])) {
            descendant[i] = true;
            panels[i]->shouldDraw = false;
        }
    }
    panels[static_cast<size_t>(parentIndex)]->rememberedCell = -1;
    submenuCalloutVisible = false;
}

// The control's rects cover every drawn panel. The draw rect only grows while
// the menu is open, so the place of a panel that closed is painted over too.
void IPopupMenuControl::CoverPanels() {
    IRECT draw = drawRect, target;
    for (const auto& panel : panels) {
        if (!panel->shouldDraw)
            continue;
        draw = draw.Union(panel->shadowRect);
        target = target.Union(panel->rect);
    }
    if (submenuCalloutVisible)
        draw = draw.Union(submenuCalloutRect);
    drawRect = draw;
    targetRect = target;
    OnResize();
}

} // namespace vx::ui
