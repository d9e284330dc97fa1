#include "winlayer/window/WindowView.h"

#include "platform/ak/Window.h"
#include "winlayer/window/MetalView.h"
#include "winlayer/window/WindowCalls.h"

#include <vector>

namespace winlayer {

HWND HandleOf(ak::Responder* object) {
    return reinterpret_cast<HWND>(object);
}

} // namespace winlayer

namespace {

constexpr int kResourceFlipped = 1 << 2;
constexpr int kResourceOpaque = 1 << 4;
constexpr int kResourceDrops = 1 << 5;
constexpr ak::Size kPlainSize{300, 200};

// The first view in subview order that takes the focus; a scroll view's
// document view is asked for it (none exist in this layer yet).
ak::View* InitialFocusCandidate(ak::View& view) {
    for (const auto& subview : view.Subviews())
        if (subview->AcceptsFirstResponder())
            return subview.Get();
    return nullptr;
}

} // namespace

Wisp_vOmnarControl_hwnd::Wisp_vOmnarControl_hwnd(ak::Rect frame)
    : ak::View(frame), wndProc_(&WISP_DialogWindowProc) {
    winlayer::RegisterView(this);
}

Wisp_vOmnarControl_hwnd::~Wisp_vOmnarControl_hwnd() {
    // The destroy sequence ran before the last reference went (DestroyWindow,
    // the parent's sequence or the window's closing); only the timers and
    // queued messages that name this address are left to drop.
    KillTimer(Handle(), winlayer::kAllTimers);
    WISP_MessageQueue_Clear(Handle());
    winlayer::UnregisterView(this);
}

Wisp_vOmnarControl_hwnd* Wisp_vOmnarControl_hwnd::initChild(const DialogResourceRecord* resource,
                                                            ak::Responder* parent, DLGPROC proc,
                                                            LPARAM param) {
    if (!dynamic_cast<ak::Window*>(parent) && !dynamic_cast<ak::View*>(parent))
        return nullptr;
    const ak::Size size =
        resource ? ak::Size{double(resource->width), double(resource->height)} : kPlainSize;
    auto view =
        ak::Ref<Wisp_vOmnarControl_hwnd>::Adopt(new Wisp_vOmnarControl_hwnd({{0, 0}, size}));
    if (resource) {
        view->opaque_ = (resource->flags & kResourceOpaque) != 0;
        view->flip_ = (resource->flags & kResourceFlipped) != 0;
        view->supportsDrop_ = (resource->flags & kResourceDrops) != 0;
    }
    view->SetHidden(true);
    view->attachTo(parent);
    if (resource) {
        if (resource->creator)
            resource->creator(view->Handle(), resource->flags);
        view->dlgProc_ = proc;
        if (view->supportsDrop_)
            view->RegisterForDraggedFiles();
    } else {
        if (proc)
            view->wndProc_ = reinterpret_cast<WNDPROC>(proc);
        view->callWindowProc(WM_CREATE, 0, param);
    }
    if (view->dlgProc_ && view->life_ == Life::alive)
        view->runInitDialog(parent, param);
    // The parent holds it now; a procedure that destroyed it during creation
    // leaves nothing to return.
    return view->life_ == Life::alive ? view.Get() : nullptr;
}

void Wisp_vOmnarControl_hwnd::attachTo(ak::Responder* parent) {
    if (auto* window = dynamic_cast<ak::Window*>(parent)) {
        window->SetContentView(this);
        return;
    }
    static_cast<ak::View*>(parent)->AddSubview(this);
}

void Wisp_vOmnarControl_hwnd::runInitDialog(ak::Responder* parent, LPARAM param) {
    ak::View* candidate = InitialFocusCandidate(*this);
    ak::Ref<ak::View> holdCandidate(candidate);
    const LRESULT answer = dlgProc_(Handle(), WM_INITDIALOG,
                                    reinterpret_cast<WPARAM>(winlayer::HandleOf(candidate)), param);
    ak::Window* window = GetWindow();
    if (answer != 0) {
        if (answer == kFocusDialogItself)
            candidate = this;
        if (candidate && window && window->FirstResponder() != candidate)
            window->MakeFirstResponder(candidate);
        if (window && parent == window && !window->IsVisible())
            winlayer::WantKeyOnFirstShow(*window);
    } else if (window && parent == window && candidate) {
        ak::Responder* first = window->FirstResponder();
        if (first == nullptr || first == window || first == this)
            window->MakeFirstResponder(candidate);
    }
    winlayer::ApplyCtlColors(Handle(), dlgProc_);
}

LRESULT Wisp_vOmnarControl_hwnd::callWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!wndProc_)
        return 0;
    ak::Ref<ak::View> hold(this);
    return wndProc_(Handle(), message, wParam, lParam);
}

LRESULT Wisp_vOmnarControl_hwnd::onWispMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (life_ != Life::alive) {
        if (life_ == Life::destroyed || message == WM_DESTROY || message == WM_CAPTURECHANGED)
            return 0;
        return callWindowProc(message, wParam, lParam);
    }
    if (message == WM_DESTROY)
        return runDestroySequence(wParam, lParam);
    return callWindowProc(message, wParam, lParam);
}

LRESULT Wisp_vOmnarControl_hwnd::runDestroySequence(WPARAM wParam, LPARAM lParam) {
    ak::Ref<ak::View> hold(this);
    const HWND self = Handle();
    life_ = Life::destroying;
    if (GetCapture() == self)
        ReleaseCapture();
    WISP_MessageQueue_Clear(self);
    const LRESULT result = callWindowProc(WM_DESTROY, wParam, lParam);
    if (isContentView())
        winlayer::DestroyOwnedWindows(*GetWindow());
    callWindowProc(WM_NCDESTROY, 0, 0);
    metal_.reset(); // off the refresh list
    if (GetCapture() == self)
        ReleaseCapture();
    WISP_MessageQueue_Clear(self);
    if (menu_) {
        winlayer::ForgetMenu(menu_);
        menu_ = nullptr;
    }
    // A snapshot: a subview's procedure may destroy a sibling on the way.
    const std::vector<ak::Ref<ak::View>> subviews = Subviews();
    for (const auto& subview : subviews)
        if (auto* target = dynamic_cast<winlayer::WispMessageTarget*>(subview.Get()))
            target->onWispMessage(WM_DESTROY, 0, 0);
    KillTimer(self, winlayer::kAllTimers);
    life_ = Life::destroyed;
    return result;
}

void Wisp_vOmnarControl_hwnd::wispTimer(UINT_PTR id) {
    if (life_ != Life::alive)
        return;
    callWindowProc(winlayer::WM_TIMER, id, 0);
}

void Wisp_vOmnarControl_hwnd::wispSetExtendedStyle(std::int64_t style) {
    const bool drops = (style & 0x10) != 0;
    if (drops == supportsDrop_)
        return;
    supportsDrop_ = drops;
    if (drops)
        RegisterForDraggedFiles();
}

bool Wisp_vOmnarControl_hwnd::isContentView() const {
    return GetWindow() && GetWindow()->ContentView() == this;
}

bool Wisp_vOmnarControl_hwnd::AcceptsFirstResponder() const {
    return enabled_ > 0 || (enabled_ < 0 && isContentView());
}

bool Wisp_vOmnarControl_hwnd::BecomeFirstResponder() {
    if (!AcceptsFirstResponder())
        return false;
    onWispMessage(WM_SETFOCUS, 0, 0);
    onWispMessage(WM_MOUSEACTIVATE, 0, 0);
    return true;
}

bool Wisp_vOmnarControl_hwnd::ResignFirstResponder() {
    onWispMessage(WM_KILLFOCUS, 0, 0);
    return true;
}

bool Wisp_vOmnarControl_hwnd::AcceptsFirstMouse(const ak::Event*) {
    if (enabled_ == 0)
        return false;
    ak::Ref<ak::View> hold(this);
    onWispMessage(WM_MOUSEACTIVATE, 0, 0);
    if (auto* parent = dynamic_cast<winlayer::WispMessageTarget*>(Superview()))
        parent->onWispMessage(WM_MOUSEACTIVATE, 0, 0);
    return true;
}

void Wisp_vOmnarControl_hwnd::FrameDidChange() {
    if (life_ == Life::alive && wndProc_)
        onWispMessage(WM_SIZE, 0, 0);
    if (Superview())
        Superview()->SetNeedsDisplay();
}

LRESULT WISP_DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto dialogProc = reinterpret_cast<DLGPROC>(GetWindowLong(window, GWL_DLGPROC));
    if (!dialogProc)
        return DefWindowProc(window, message, wParam, lParam);
    if (message == WM_PAINT)
        winlayer::PaintDialogBackground(window, dialogProc);
    if (const LRESULT answer = dialogProc(window, message, wParam, lParam))
        return answer;
    return DefWindowProc(window, message, wParam, lParam);
}
