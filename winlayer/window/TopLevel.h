#pragma once

#include "platform/ak/Window.h"
#include "winlayer/MessageQueue.h"
#include "winlayer/WindowApi.h"

#include <type_traits>

#include <vector>

namespace winlayer {

// What both top-level window classes share: owner and owned windows, the
// enabled state, the first-show key wish, and the Win32 messages their
// window events become at the content view.
class TopLevel {
public:
    virtual ~TopLevel() = default;
    virtual ak::Window& window() = 0;

    HWND owner() const { return owner_; }
    void setOwner(HWND owner) { owner_ = owner; }
    // Ignored when already listed.
    void addOwnedWindow(HWND owned);
    void removeOwnedWindow(HWND owned);
    void destroyAllOwnedWindows();
    // Forgets this window as the previously active one, destroys the owned
    // windows and leaves the owner, handing it key status when this was key.
    void doDestroyStuff();

    bool enabled = true;
    bool wantKeyOnFirstShow = false;
    bool disableMonitorAutosize = false;

protected:
    // The window event handlers of both classes.
    void sendMove();
    void sendSizeIfChanged();
    void sendBecameKey(bool isDialogBox);
    void sendResignedKey();
    bool sendClose();
    ak::Size askMinSize(ak::Size toolkitMinimum);
    ak::Size askMaxSize(ak::Size toolkitMaximum);
    LRESULT sendToContent(UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND owner_ = nullptr;
    std::vector<HWND> owned_; // newest first
    ak::Size lastFrameSize_{};
    bool lastZoom_ = false;
};

TopLevel* AsTopLevel(ak::Responder* object);

} // namespace winlayer

namespace winlayer {

// The window events of either window class become messages to the content view.
template <class Base>
class TopLevelWindow : public Base, public TopLevel {
public:
    TopLevelWindow(ak::Rect frame, uint32_t styleMask) : Base(frame, styleMask) {}
    ak::Window& window() override { return *this; }

    bool AcceptsFirstResponder() const override { return enabled; }
    bool CanBecomeKeyWindow() const override { return enabled && !IsQuitting(); }
    ak::Size MinSize() const override {
        return const_cast<TopLevelWindow*>(this)->askMinSize(Base::MinSize());
    }
    ak::Size MaxSize() const override {
        return const_cast<TopLevelWindow*>(this)->askMaxSize(Base::MaxSize());
    }
    bool ShouldClose() override { return sendClose(); }
    void DidMove() override { sendMove(); }
    void DidResize() override { sendSizeIfChanged(); }
    void DidBecomeKey() override { sendBecameKey(std::is_base_of_v<ak::Panel, Base>); }
    void DidResignKey() override { sendResignedKey(); }
};

} // namespace winlayer

class Wisp_vOmnarControl_modelesswindow : public winlayer::TopLevelWindow<ak::Window> {
public:
    using TopLevelWindow::TopLevelWindow;
    // The levels this window asks to stand above its ordinary one.
    int wispWantRaise() const { return wantRaise_; }
    void wispSetWantRaise(int amount) { wantRaise_ = amount; }

private:
    int wantRaise_ = 0;
};

class Wisp_vOmnarControl_dialogbox : public winlayer::TopLevelWindow<ak::Panel> {
public:
    using TopLevelWindow::TopLevelWindow;

    void wispSetModalRetVal(int value) {
        modalResult_ = value;
        hasModalResult_ = true;
    }
    int wispGetModalRetVal() const { return modalResult_; }
    bool wispHasModalRetVal() const { return hasModalResult_; }
    // While WISP_DialogBox runs its loop.
    bool wispIsRunningModal() const { return runningModal_; }
    void wispSetRunningModal(bool running) { runningModal_ = running; }

private:
    bool runningModal_ = false;
    int modalResult_ = 0;
    bool hasModalResult_ = false;
};

namespace winlayer {

// A new modeless window, hidden, whose content view (returned) has run its
// creator and WM_INITDIALOG. It sits 50 right of and 100 below the top-left
// corner of the parent's frame, or of the screen's work area; titled,
// closable and miniaturizable, resizable with resource flag bit 1, plus the
// forced styles. Null when parent is given but not a window or view.
// With this bit the forced styles are the window's whole style.
inline constexpr uint32_t kExactStyle = 1u << 31;
HWND CreateModelessWindow(const DialogResourceRecord* resource, HWND parent, DLGPROC proc,
                          LPARAM param, uint32_t forceStyles);
// A modal dialog's panel, at the origin, its content view shown; titled and
// closable, resizable with resource flag bit 1.
HWND CreateDialogBox(const DialogResourceRecord* resource, HWND parent, DLGPROC proc, LPARAM param);
// Wraps an existing view, taken from its superview, in a new modeless window
// of its size with the given style, placed as CreateModelessWindow places
// one, owned by owner when that is a window or a view in one; not shown.
HWND WrapInModelessWindow(ak::View& view, HWND owner, uint32_t style);

} // namespace winlayer
