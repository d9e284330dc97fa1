#include "winlayer/Placement.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

namespace winlayer {
namespace {

constexpr int kResourceResizable = 1 << 1;
constexpr uint32_t kModelessStyle =
    ak::StyleMask::Titled | ak::StyleMask::Closable | ak::StyleMask::Miniaturizable;
constexpr uint32_t kDialogStyle = ak::StyleMask::Titled | ak::StyleMask::Closable;
constexpr ak::Size kWithoutResourceSize{10, 10};
ak::Point NewWindowOriginFor(HWND parent) {
    RECT reference{};
    if (!parent || !GetWindowRect(parent, &reference))
        WISP_GetViewPort(&reference, nullptr, TRUE);
    return NewWindowOrigin(reference);
}

uint32_t ResizableBit(const DialogResourceRecord* resource) {
    return resource && (resource->flags & kResourceResizable) ? ak::StyleMask::Resizable : 0;
}

void RegisterWithOwner(HWND parent, ak::Window& window) {
    ak::Window* ownerWindow = FindWindow(parent);
    if (!ownerWindow)
        if (auto* view = dynamic_cast<ak::View*>(FindObject(parent)))
            ownerWindow = view->GetWindow();
    if (TopLevel* owner = AsTopLevel(ownerWindow))
        owner->addOwnedWindow(HandleOf(&window));
}

// Creates the content view; a failed one takes the window with it.
HWND AttachContent(ak::Window& window, const DialogResourceRecord* resource, DLGPROC proc,
                   LPARAM param) {
    auto* view = Wisp_vOmnarControl_hwnd::initChild(resource, &window, proc, param);
    if (!view) {
        if (TopLevel* top = AsTopLevel(&window))
            top->doDestroyStuff();
        window.Close();
        return nullptr;
    }
    view->setWispCreateWindowFlags(window.GetStyleMask());
    window.DisplayIfNeeded();
    return view->Handle();
}

} // namespace

HWND CreateModelessWindow(const DialogResourceRecord* resource, HWND parent, DLGPROC proc,
                          LPARAM param, uint32_t forceStyles) {
    if (parent && !FindObject(parent))
        return nullptr;
    const ak::Size size = resource ? ak::Size{double(resource->width), double(resource->height)}
                                   : kWithoutResourceSize;
    const bool exact = (forceStyles & kExactStyle) != 0;
    forceStyles &= ~kExactStyle;
    const uint32_t style =
        resource && !exact ? kModelessStyle | ResizableBit(resource) | forceStyles : forceStyles;
    // The window system holds the window until it closes.
    auto* window = new Wisp_vOmnarControl_modelesswindow({NewWindowOriginFor(parent), size}, style);
    ak::Ref<ak::Window> hold = ak::Ref<ak::Window>::Adopt(window);
    if (resource && resource->title)
        window->SetTitle(resource->title);
    RegisterWithOwner(parent, *window);
    return AttachContent(*window, resource, proc, param);
}

HWND WrapInModelessWindow(ak::View& view, HWND owner, uint32_t style) {
    ak::Ref<ak::View> hold(&view);
    if (owner && !FindObject(owner))
        owner = nullptr;
    auto* window = new Wisp_vOmnarControl_modelesswindow(
        {NewWindowOriginFor(owner), view.Bounds().size}, style);
    ak::Ref<ak::Window> holdWindow = ak::Ref<ak::Window>::Adopt(window);
    view.RemoveFromSuperview();
    window->SetContentView(&view);
    RegisterWithOwner(owner, *window);
    window->DisplayIfNeeded();
    return HandleOf(&view);
}

HWND CreateDialogBox(const DialogResourceRecord* resource, HWND parent, DLGPROC proc,
                     LPARAM param) {
    if (parent && !FindObject(parent))
        return nullptr;
    const ak::Size size = resource ? ak::Size{double(resource->width), double(resource->height)}
                                   : kWithoutResourceSize;
    auto* box =
        new Wisp_vOmnarControl_dialogbox({{0, 0}, size}, kDialogStyle | ResizableBit(resource));
    ak::Ref<ak::Window> hold = ak::Ref<ak::Window>::Adopt(box);
    if (resource && resource->title)
        box->SetTitle(resource->title);
    RegisterWithOwner(parent, *box);
    const HWND content = AttachContent(*box, resource, proc, param);
    if (ak::View* view = FindView(content))
        view->SetHidden(false);
    return content;
}

} // namespace winlayer
