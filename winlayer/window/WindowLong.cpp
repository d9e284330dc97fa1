#include "platform/ak/Button.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Window.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

using winlayer::FindObject;
using winlayer::HandleOf;

namespace {

constexpr std::int64_t kCaptionAndSizing = WS_CAPTION | WS_THICKFRAME;

bool IsContent(const ak::View* view) {
    return view && view->GetWindow() && view->GetWindow()->ContentView() == view;
}

std::int64_t ButtonStyle(const ak::Button& button) {
    if (dynamic_cast<const ak::PopUpButton*>(&button))
        return 3;
    switch (button.Kind()) {
    case ak::ButtonKind::Check:
        return button.AllowsMixedState() ? 6 : 3;
    case ak::ButtonKind::Radio:
        return 9;
    default:
        return 0;
    }
}

std::int64_t ReadStyle(ak::Responder* object) {
    auto* view = dynamic_cast<ak::View*>(object);
    if (!view)
        return 0;
    std::int64_t style = view->IsHidden() ? 0 : WS_VISIBLE;
    if (auto* button = dynamic_cast<ak::Button*>(view))
        style |= ButtonStyle(*button);
    if (!IsContent(view))
        return style | WS_CHILD;
    const uint32_t mask = view->GetWindow()->GetStyleMask();
    if (mask & ak::StyleMask::Titled)
        style |= WS_CAPTION;
    if (mask & ak::StyleMask::Resizable)
        style |= WS_THICKFRAME;
    return style;
}

// Caption and sizing apply to the window in place.
LONG_PTR WriteStyle(ak::Responder* object, LONG_PTR value) {
    const std::int64_t old = ReadStyle(object);
    auto* view = dynamic_cast<ak::View*>(object);
    if (auto* button = dynamic_cast<ak::Button*>(object)) {
        const int type = int(value & 0xF);
        if (type == 3 || type == 6)
            button->SetAllowsMixedState(type == 6);
        return old;
    }
    if (!IsContent(view) || (old & kCaptionAndSizing) == (value & kCaptionAndSizing))
        return IsContent(view) ? 0 : old;
    ak::Window* window = view->GetWindow();
    uint32_t mask = 0;
    if (value & WS_CAPTION)
        mask = ak::StyleMask::Titled | ak::StyleMask::Closable | ak::StyleMask::Miniaturizable;
    if ((value & kCaptionAndSizing) == kCaptionAndSizing)
        mask |= ak::StyleMask::Resizable;
    window->SetStyleMask(mask);
    return 0;
}

LONG_PTR OwnerOf(ak::Responder* object) {
    auto* view = dynamic_cast<ak::View*>(object);
    winlayer::TopLevel* top = winlayer::AsTopLevel(view ? view->GetWindow() : object);
    if (!top || !top->owner())
        return 0;
    if (auto* owner = dynamic_cast<ak::Window*>(FindObject(top->owner())))
        return reinterpret_cast<LONG_PTR>(HandleOf(owner->ContentView()));
    return reinterpret_cast<LONG_PTR>(top->owner());
}

LONG_PTR SetOwner(ak::Responder* object, LONG_PTR value) {
    const LONG_PTR old = OwnerOf(object);
    auto* view = dynamic_cast<ak::View*>(object);
    ak::Window* window = view ? view->GetWindow() : dynamic_cast<ak::Window*>(object);
    winlayer::TopLevel* top = winlayer::AsTopLevel(window);
    if (!top)
        return old;
    auto* ownerView = dynamic_cast<ak::View*>(FindObject(reinterpret_cast<HWND>(value)));
    ak::Window* newOwner = ownerView ? ownerView->GetWindow() : nullptr;
    winlayer::TopLevel* newTop = winlayer::AsTopLevel(newOwner);
    const HWND newHandle = newTop ? HandleOf(newOwner) : nullptr;
    if (newHandle == top->owner())
        return old;
    if (winlayer::TopLevel* oldTop = winlayer::AsTopLevel(FindObject(top->owner())))
        oldTop->removeOwnedWindow(HandleOf(window));
    top->setOwner(nullptr);
    if (newTop)
        newTop->addOwnedWindow(HandleOf(window));
    return old;
}

} // namespace

LONG_PTR GetWindowLong(HWND window, int index) {
    ak::Responder* object = FindObject(window);
    if (!object)
        return 0;
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(object);
    switch (index) {
    case GWL_OWNER:
        return OwnerOf(object);
    case GWL_STYLE:
        return ReadStyle(object);
    case GWL_USERDATA:
        if (view)
            return view->getWispUserData();
        break;
    case GWL_EXSTYLE:
        if (view)
            return view->wispGetExtendedStyle();
        break;
    case GWL_ID:
        if (view)
            return view->tag();
        if (auto* control = dynamic_cast<ak::Control*>(object))
            return control->Tag();
        break;
    case GWL_DLGPROC:
        if (view)
            return reinterpret_cast<LONG_PTR>(view->getWispDialogProc());
        break;
    case GWL_WNDPROC:
        if (view)
            return reinterpret_cast<LONG_PTR>(view->getWispWindowProc());
        break;
    default:
        break;
    }
    return view ? view->getWispExtraData(index) : 0;
}

LONG_PTR SetWindowLong(HWND window, int index, LONG_PTR value) {
    ak::Responder* object = FindObject(window);
    if (!object)
        return 0;
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(object);
    const LONG_PTR old = GetWindowLong(window, index);
    switch (index) {
    case GWL_OWNER:
        return SetOwner(object, value);
    case GWL_STYLE:
        return WriteStyle(object, value);
    case GWL_USERDATA:
        if (view)
            view->setWispUserData(value);
        else
            break;
        return old;
    case GWL_EXSTYLE:
        if (view)
            view->wispSetExtendedStyle(value);
        else
            break;
        return old;
    case GWL_ID:
        if (view)
            view->setTag(int(value));
        else if (auto* control = dynamic_cast<ak::Control*>(object))
            control->SetTag(int(value));
        else
            break;
        return old;
    case GWL_DLGPROC:
        if (view)
            view->setWispDialogProc(reinterpret_cast<DLGPROC>(value));
        else
            break;
        return old;
    case GWL_WNDPROC:
        if (view)
            view->setWispWindowProc(reinterpret_cast<WNDPROC>(value));
        else
            break;
        return old;
    default:
        break;
    }
    if (view)
        view->setWispExtraData(index, value);
    return old;
}
