#pragma once

#include "toolkit/ICanvasConstants.h"
#include "toolkit/IControl.h"
#include "toolkit/IPopupMenu.h"

#include <memory>
#include <vector>

namespace vx::ui {

// Popup menus drawn in the toolkit's own view: a panel beside the anchor, one
// more panel per open submenu, fades in and out, scrolling when too tall. The
// choice goes to the menu's completion and to ICanvas::ApplyPopupMenuChoice.
// ICanvas keeps it apart from the control list; while shown it takes every
// click. Main thread only.
class IPopupMenuControl : public IControl {
public:
    enum EState : int {
        kCollapsed = 0,
        kExpanding = 1, // the root panel fades in
        kExpanded = 2,
        kClosing = 3,
        kChosen = 4,
        kSubmenuAppearing = 5,
        kCleaningUp = 6,
    };

    // One open (sub)menu.
    struct MenuPanel {
        IPopupMenu* menu = nullptr;
        std::vector<IRECT> cells; // visible cells, top to bottom
        IRECT shadowRect;
        IRECT rect;
        IBlendSetting blend{0, 0.f};
        bool shouldDraw = true;
        int rememberedCell = -1; // parent cell of an open submenu
        int parentPanel = -1;
        int parentItem = -1;
        bool scrolls = false;
        int scrollOffset = 0;

        int NCells() const { return static_cast<int>(cells.size()); }
        // The item a cell shows, or null past the menu's end.
        IPopupMenu::Item* ItemInCell(int cell) const;
    };

    IPopupMenuControl(int paramIdx, const IText& text, const IRECT& collapsedBounds,
                      const IRECT& expandedBounds);
    ~IPopupMenuControl() override;

    // Shown and modal: a click anywhere ends the menu (also while panels fade in).
    bool IsExpanded() const {
        return state == kExpanding || state == kExpanded || state == kSubmenuAppearing;
    }
    int GetState() const { return state; }
    // Opens the menu at the anchor. Only from the collapsed state: any other
    // request, and a menu without items, is answered at once with no choice.
    void Show(IPopupMenu& menu, const IRECT& anchor);
    // Drops a menu about to be deleted: the menu closes without an answer.
    void Forget(const IPopupMenu& menu);

    void SetMenuArea(const IRECT& area) { menuArea = area; }
    void SetPreferBelow(bool on) { preferBelow = on; }
    void SetShowCallout(bool on) { showCallout = on; }
    void SetScrollWhenTooTall(bool on) { scrollWhenTooTall = on; }

    int NPanels() const { return static_cast<int>(panels.size()); }
    const MenuPanel* GetPanel(int index) const;
    const MenuPanel* GetActivePanel() const { return activePanel; }
    int GetHighlightedCell() const { return highlightedCell; }
    int GetCalloutDirection() const { return calloutDirection; }
    const IRECT& GetCalloutRect() const { return calloutRect; }
    bool GetSubmenusOpenRight() const { return submenusOpenRight; }

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnMouseWheel(float, float, const IMouseMod&, float) override {}
    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    void Draw(ICanvas& g) override;
    void OnAnimationFinished() override;

protected:
    virtual void DrawCalloutArrow(ICanvas& g, const IRECT& r, const IBlendSetting* blend);
    virtual void DrawSubmenuCalloutArrow(ICanvas& g, const IRECT& r, const IBlendSetting* blend);
    virtual void DrawPanelBackground(ICanvas& g, const MenuPanel& panel);
    virtual void DrawPanelShadow(ICanvas& g, const MenuPanel& panel);
    virtual void DrawCellBackground(ICanvas& g, const IRECT& cell, const IPopupMenu::Item& item,
                                    bool highlighted, const IBlendSetting* blend);
    virtual void DrawCellText(ICanvas& g, const IRECT& cell, const IPopupMenu::Item& item,
                              bool highlighted, const IBlendSetting* blend);
    virtual void DrawTick(ICanvas& g, const IRECT& cell, const IPopupMenu::Item& item,
                          bool highlighted, const IBlendSetting* blend);
    virtual void DrawSubMenuArrow(ICanvas& g, const IRECT& cell, const IPopupMenu::Item& item,
                                  bool highlighted, const IBlendSetting* blend);
    virtual void DrawUpArrow(ICanvas& g, const IRECT& cell, bool highlighted,
                             const IBlendSetting* blend);
    virtual void DrawDownArrow(ICanvas& g, const IRECT& cell, bool highlighted,
                               const IBlendSetting* blend);
    virtual void DrawSeparator(ICanvas& g, const IRECT& cell, const IBlendSetting* blend);
    virtual void OnMenuResult();

private:
    struct ContentSize {
        float width = 0.f;     // of a cell
        float rowHeight = 0.f; // of a cell that is not a separator
        float height = 0.f;    // of all cells stacked
    };

    static void FadeAction(IControl* caller);
    static void FadeAnimation(IControl* caller);
    void Expand(const IRECT& anchor);
    void Answer(IPopupMenu& menu);
    ContentSize MeasureContent(const IPopupMenu& menu) const;
    IRECT PlaceRootPanel(float w, float h);
    IRECT PlaceSubmenuPanel(const IRECT& parentCell, const ContentSize& size) const;
    std::unique_ptr<MenuPanel> BuildPanel(IPopupMenu& menu, float left, float top,
                                          const ContentSize& size) const;
    int EnabledCellAt(const MenuPanel& panel, float x, float y) const;
    int CellAt(const MenuPanel& panel, float x, float y) const;
    int IndexOf(const MenuPanel* panel) const;
    void OpenSubmenu(int parentIndex, int cell);
    void CloseSubmenusOf(int parentIndex);
    void ScrollAt(MenuPanel& panel, float x, float y);
    void CoverPanels();
    void DrawPanel(ICanvas& g, const MenuPanel& panel);
    void SetAllWeights(float weight);

    std::vector<std::unique_ptr<MenuPanel>> panels;
    MenuPanel* activePanel = nullptr;
    MenuPanel* appearingPanel = nullptr;
    int state = kCollapsed;
    int highlightedCell = -1; // in the active panel
    IPopupMenu* menu = nullptr;
    bool scrollWhenTooTall = true;
    bool showCallout = false;
    bool menuHasSubmenus = false;
    bool preferBelow = true;
    bool submenusOpenRight = true;
    bool submenuCalloutVisible = false;

    float cellGap = 2.f;
    float separatorHeight = 2.f;
    float roundness = 5.f;
    float dropShadowSize = 10.f;
    float opacity = 0.95f;
    float submenuOffset = 0.f;
    float textPadding = 5.f;
    float tickAreaWidth = 10.f;
    float arrowAreaWidth = 8.f;
    float cellOverhang = 5.f;
    float calloutSize = 8.f;

    IRECT anchorRect;
    int calloutDirection =
        1; // side of the anchor the root panel is on: 0 above, 1 right, 2 below, 3 left
    IRECT calloutRect;
    IRECT submenuCalloutRect;
    IRECT menuArea;
    IColor panelColour = kColorWhite;
    IColor cellHighlightColour = kColorBlue;
    IColor highlightedTextColour = kColorWhite;
    IColor textColour = kColorBlack;
    IColor disabledTextColour = kColorGray;
    IColor separatorColour = kColorMidGray;
    IRECT collapsedBounds;
    IRECT expandedBounds; // stored; placement uses menuArea
};

} // namespace vx::ui
