// Showing, following the mouse, answering and the fade state machine.
#include "toolkit/IPopupMenuControl.h"

#include "toolkit/ICanvas.h"

namespace vx::ui {

namespace {

constexpr int kFadeMs = 100;
constexpr int kSubmenuFadeMs = 200;
// A fading-in submenu stays invisible until this fraction of its fade.
constexpr double kSubmenuShowFraction = 0.9;

bool IsChoosable(const IPopupMenu::Item& item) {
    constexpr int unchoosable = IPopupMenu::kDisabled | IPopupMenu::kTitle | IPopupMenu::kSeparator;
    return !(item.flags & unchoosable) && !item.submenu;
}

// The chosen index is set: the menu's completion runs, then the opener hears of it.
void Deliver(IPopupMenu& menu, ICanvas* graphics) {
    if (const IPopupMenu::CompletionFunc completion = menu.GetCompletion())
        completion(&menu);
    if (graphics)
        graphics->ApplyPopupMenuChoice(&menu);
}

} // namespace

IPopupMenu::Item* IPopupMenuControl::MenuPanel::ItemInCell(int cell) const {
    return menu && cell >= 0 && cell < NCells() ? menu->GetItem(cell + scrollOffset) : nullptr;
}

IPopupMenuControl::IPopupMenuControl(int paramIdx, const IText& style, const IRECT& collapsedBounds,
                                     const IRECT& expandedBounds)
    : IControl(collapsedBounds, paramIdx, FadeAction), collapsedBounds(collapsedBounds),
      expandedBounds(expandedBounds) {
    text = style;
    hidden = true;
}

IPopupMenuControl::~IPopupMenuControl() = default;

const IPopupMenuControl::MenuPanel* IPopupMenuControl::GetPanel(int index) const {
    return index >= 0 && index < NPanels() ? panels[static_cast<size_t>(index)].get() : nullptr;
}

int IPopupMenuControl::IndexOf(const MenuPanel* panel) const {
    for (int i = 0; i < NPanels(); ++i)
        if (panels[static_cast<size_t>(i)].get() == panel)
            return i;
    return -1;
}

void IPopupMenuControl::Show(IPopupMenu& request, const IRECT& anchor) {
    // A menu still open or closing cannot take another: the opener gets no
    // choice now rather than waiting for an answer that never comes.
    // A menu without items has nothing to lay out.
    if (state != kCollapsed || request.NItems() == 0) {
        Answer(request);
        return;
    }
    menu = &request;
    menuHasSubmenus = false;
    for (int i = 0; i < request.NItems(); ++i)
        if (request.GetItem(i)->submenu)
            menuHasSubmenus = true;
    if (menuArea.W() == 0.f && graphics)
        menuArea = graphics->GetBounds();
    Expand(anchor);
}

// No choice, delivered at once.
void IPopupMenuControl::Answer(IPopupMenu& request) {
    request.SetChosenItemIdx(-1);
    Deliver(request, graphics);
}

void IPopupMenuControl::Forget(const IPopupMenu& gone) {
    if (menu != &gone)
        return;
    panels.clear();
    menu = nullptr;
    activePanel = appearingPanel = nullptr;
    highlightedCell = -1;
    submenuCalloutVisible = false;
    state = kCollapsed;
    SetAnimation(nullptr);
    drawRect = targetRect = collapsedBounds;
    Hide(true);
}

void IPopupMenuControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
    if (!IsExpanded()) {
        IControl::OnMouseDown(x, y, mod);
        return;
    }
    highlightedCell = activePanel ? EnabledCellAt(*activePanel, x, y) : -1;
    OnMenuResult();
}

void IPopupMenuControl::OnMouseDrag(float x, float y, float, float, const IMouseMod&) {
    if (!activePanel)
        return;
    highlightedCell = EnabledCellAt(*activePanel, x, y);
    SetDirty(false, -1);
}

void IPopupMenuControl::OnMouseOut() {
    highlightedCell = -1;
    SetDirty(false, -1);
}

void IPopupMenuControl::OnMouseOver(float x, float y, const IMouseMod&) {
    if (!IsExpanded() || !activePanel)
        return;
    highlightedCell = EnabledCellAt(*activePanel, x, y);
    if (highlightedCell < 0) {
        for (int i = NPanels() - 1; i >= 0; --i) {
            MenuPanel& panel = *panels[static_cast<size_t>(i)];
            if (panel.shouldDraw && panel.shadowRect.ContainsPoint(x, y)) {
                activePanel = &panel;
                highlightedCell = EnabledCellAt(panel, x, y);
                break;
            }
        }
    }
    if (const IPopupMenu::Item* item = activePanel->ItemInCell(highlightedCell)) {
        if (item->submenu && item->submenu->NItems() > 0)
            OpenSubmenu(IndexOf(activePanel), highlightedCell);
        else
            CloseSubmenusOf(IndexOf(activePanel));
    }
    ScrollAt(*activePanel, x, y);
    SetDirty(false, -1);
}

void IPopupMenuControl::ScrollAt(MenuPanel& panel, float x, float y) {
    if (!panel.scrolls || !panel.menu)
        return;
    const int cell = CellAt(panel, x, y);
    const int maxOffset = panel.menu->NItems() - panel.NCells();
    if (cell == 0 && panel.scrollOffset > 0)
        --panel.scrollOffset;
    else if (cell == panel.NCells() - 1 && panel.scrollOffset < maxOffset)
        ++panel.scrollOffset;
}

void IPopupMenuControl::OnMenuResult() {
    MenuPanel* panel = activePanel ? activePanel : (panels.empty() ? nullptr : panels[0].get());
    IPopupMenu* result = panel ? panel->menu : menu;
    if (result) {
        result->SetChosenItemIdx(-1);
        if (const IPopupMenu::Item* item = panel ? panel->ItemInCell(highlightedCell) : nullptr)
            if (IsChoosable(*item))
                result->SetChosenItemIdx(highlightedCell + panel->scrollOffset);
        Deliver(*result, graphics);
    }
    submenuCalloutVisible = false;
    activePanel = nullptr;
    state = kChosen;
    Hide(true);
    SetDirty(true, -1);
}

void IPopupMenuControl::SetAllWeights(float weight) {
    for (const auto& panel : panels)
        panel->blend.weight = weight;
}

void IPopupMenuControl::FadeAction(IControl* caller) {
    auto* self = static_cast<IPopupMenuControl*>(caller);
    self->SetAnimation(FadeAnimation, self->state == kSubmenuAppearing ? kSubmenuFadeMs : kFadeMs);
}

void IPopupMenuControl::FadeAnimation(IControl* caller) {
    auto* self = static_cast<IPopupMenuControl*>(caller);
    const double f = self->AnimationFraction();
    if (f > 1.0) {
        self->OnAnimationFinished();
        return;
    }
    if (!self->appearingPanel)
        return;
    if (self->state == kExpanding)
        self->appearingPanel->blend.weight = static_cast<float>(f) * self->opacity;
    else if (self->state == kSubmenuAppearing)
        self->appearingPanel->blend.weight = f > kSubmenuShowFraction ? self->opacity : 0.f;
}

void IPopupMenuControl::OnAnimationFinished() {
    switch (state) {
    case kExpanding:
    case kSubmenuAppearing:
        SetAllWeights(opacity);
        state = kExpanded;
        IControl::OnAnimationFinished();
        break;
    case kChosen:
        state = kClosing;
        SetDirty(true, -1);
        break;
    case kClosing:
        targetRect = collapsedBounds;
        state = kCleaningUp;
        highlightedCell = -1;
        anchorRect = IRECT();
        SetDirty(true, -1);
        break;
    case kCleaningUp:
        if (graphics)
            graphics->UpdateTooltips();
        panels.clear();
        appearingPanel = nullptr;
        menu = nullptr;
        drawRect = collapsedBounds;
        state = kCollapsed;
        IControl::OnAnimationFinished();
        break;
    default:
        IControl::OnAnimationFinished();
        break;
    }
}

} // namespace vx::ui
