// The rubber-band rectangle: a borderless, click-through panel over the
// window, grey at half opacity.
#include "platform/ak/Window.h"
#include "winlayer/shell/ShellCalls.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <algorithm>
#include <cstdlib>

using namespace winlayer;

namespace {

constexpr double kGrey = 0.5;
constexpr double kOverlayAlpha = 0.5;
constexpr int kFloatingLevel = 101;

class FocusRectView : public ak::View {
public:
    bool IsOpaque() const override { return true; }
    void DrawRect(cairo_t* cr, ak::Rect) override {
        const ak::Rect bounds = Bounds();
        cairo_set_source_rgba(cr, kGrey, kGrey, kGrey, 1);
        cairo_rectangle(cr, bounds.origin.x, bounds.origin.y, bounds.size.width,
                        bounds.size.height);
        cairo_fill(cr);
    }
};

// The overlay and the window it floats over; the caller keeps its address.
struct FocusOverlay {
    ak::Ref<ak::Panel> panel;
    ak::Window* parent;
};

void Remove(void** overlay) {
    auto* held = static_cast<FocusOverlay*>(*overlay);
    *overlay = nullptr;
    if (!held)
        return;
    held->panel->SetTransientParent(nullptr);
    held->panel->Close();
    delete held;
}

} // namespace

void WISP_DrawFocusRect(HWND window, const RECT* rect, void** overlay) {
    if (!overlay)
        return;
    if (!rect)
        return Remove(overlay);
    ak::View* view = FindView(window);
    ak::Window* parent = view ? view->GetWindow() : nullptr;
    if (!parent)
        return;
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    for (POINT& corner : corners)
        ClientToScreen(HandleOf(view), &corner);
    const ak::Rect frame{
        {double(corners[0].x), double(std::min(corners[0].y, corners[1].y))},
        {double(corners[1].x - corners[0].x), double(std::abs(corners[1].y - corners[0].y))}};
    auto* held = static_cast<FocusOverlay*>(*overlay);
    if (held && held->parent != parent)
        Remove(overlay), held = nullptr;
    if (!held) {
        held = new FocusOverlay{ak::MakeRef<ak::Panel>(frame, ak::StyleMask::Borderless), parent};
        held->panel->SetContentView(ak::MakeRef<FocusRectView>().Get());
        held->panel->SetAlphaValue(kOverlayAlpha);
        held->panel->SetIgnoresMouseEvents(true);
        held->panel->SetTransientParent(parent);
        held->panel->SetLevel(kFloatingLevel);
        held->panel->OrderFront();
        *overlay = held;
    }
    held->panel->SetFrame(frame);
    held->panel->DisplayIfNeeded();
}

void WISP_HideApp() {
    for (const auto& window : ak::Window::AllWindows())
        if (window->IsVisible() && !window->IsMiniaturized())
            window->Miniaturize();
}
