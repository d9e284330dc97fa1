#pragma once

#include "platform/ak/View.h"
#include "winlayer/MessageQueue.h"
#include "winlayer/WindowApi.h"
#include "winlayer/WindowData.h"
#include "winlayer/WindowProps.h"
#include "winlayer/draw/Gdi.h"

struct PAINTSTRUCT;

namespace winlayer {
class MetalView;
} // namespace winlayer

namespace winlayer {

// The single entry for synchronous messages; window views answer it, and
// SendMessage emulates it for the native controls that do not.
class WispMessageTarget {
public:
    virtual ~WispMessageTarget() = default;
    virtual LRESULT onWispMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// An object's handle and the object a live handle names.
HWND HandleOf(ak::Responder* object);
inline ak::Responder* ObjectOf(HWND window) {
    return reinterpret_cast<ak::Responder*>(window);
}

} // namespace winlayer

// A window handle of the layer: every child window and the content view of
// every top-level window is one. Calls into the procedures hold a reference
// to the view, so a procedure may destroy and release it; the destroy
// sequence runs from WM_DESTROY, never from the destructor.
class Wisp_vOmnarControl_hwnd : public ak::View,
                                public winlayer::WispMessageTarget,
                                public winlayer::QueuedTarget {
public:
    enum class Life { alive, destroying, destroyed };

    // Creates the view hidden and attaches it to parent (a window takes it as
    // content view, a view as subview), then runs WM_CREATE or, with a
    // resource, its controls' creator and WM_INITDIALOG. The parent holds
    // the view; null for a null parent or one that is not a window or view.
    static Wisp_vOmnarControl_hwnd* initChild(const DialogResourceRecord* resource,
                                              ak::Responder* parent, DLGPROC proc, LPARAM param);
    HWND Handle() { return winlayer::HandleOf(this); }

    LRESULT onWispMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool wispCanPostMessage() const override { return life_ == Life::alive; }
    bool wispHasBeenDestroyed() const { return life_ != Life::alive; }
    void wispTimer(UINT_PTR id) override;

    std::int64_t tag() const { return tag_; }
    void setTag(std::int64_t tag) { tag_ = tag; }
    std::int64_t getWispUserData() const { return userData_; }
    void setWispUserData(std::int64_t value) { userData_ = value; }
    WNDPROC getWispWindowProc() const { return wndProc_; }
    void setWispWindowProc(WNDPROC proc) { wndProc_ = proc; }
    DLGPROC getWispDialogProc() const { return dlgProc_; }
    void setWispDialogProc(DLGPROC proc) { dlgProc_ = proc; }
    std::int64_t getWispExtraData(int index) const { return extra_.get(index); }
    void setWispExtraData(int index, std::int64_t value) { extra_.set(index, value); }
    HMENU wispGetMenu() const { return menu_; }
    void wispSetMenu(HMENU menu) { menu_ = menu; }
    const char* onWispGetText() const { return text_.get().c_str(); }
    void onWispSetText(const char* text) { text_.set(text ? text : ""); }
    const char* getWispClass() const { return className_; }
    void setWispClass(const char* name) { className_ = name; }
    unsigned wispCreateWindowFlags() const { return createFlags_; }
    void setWispCreateWindowFlags(unsigned flags) { createFlags_ = flags; }
    // The owner of the window this view was the content of, kept by SetParent.
    HWND wispLastTopLevelOwner() const { return lastTopLevelOwner_; }
    void setWispLastTopLevelOwner(HWND owner) { lastTopLevelOwner_ = owner; }
    winlayer::WindowProps& props() { return props_; }
    std::int64_t wispGetExtendedStyle() const { return supportsDrop_ ? 0x10 : 0; }
    void wispSetExtendedStyle(std::int64_t style);

    bool isEnabled() const { return enabled_ != 0; }
    void setEnabled(bool enabled) { enabled_ = enabled ? 1 : 0; }
    void setEnabledWispNoFocus() { enabled_ = -1; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    bool isContentView() const;

    bool IsFlipped() const override { return flip_; }
    bool IsOpaque() const override { return opaque_; }
    bool AcceptsFirstResponder() const override;
    bool BecomeFirstResponder() override;
    bool ResignFirstResponder() override;
    bool AcceptsFirstMouse(const ak::Event* event) override;
    void FrameDidChange() override;

    // Painting and input (ViewPaint.cpp, ViewInput.cpp): the procedure paints
    // and hears mouse, wheel, key and gesture messages.
    void DrawRect(cairo_t* cr, ak::Rect dirty) override;
    void deliverPaint(HDC hdc, bool after, ak::Rect rect);
    // BeginPaint's record; false outside a paint.
    bool getWispPaintInfo(PAINTSTRUCT* paint);
    void MouseDown(const ak::Event& event) override;
    void MouseUp(const ak::Event& event) override;
    void MouseDragged(const ak::Event& event) override;
    void RightMouseDown(const ak::Event& event) override;
    void RightMouseUp(const ak::Event& event) override;
    void RightMouseDragged(const ak::Event& event) override;
    void OtherMouseDown(const ak::Event& event) override;
    void OtherMouseUp(const ak::Event& event) override;
    void MouseMoved(const ak::Event& event) override;
    void ScrollWheel(const ak::Event& event) override;
    void KeyDown(const ak::Event& event) override;
    void KeyUp(const ak::Event& event) override;
    void Magnify(const ak::Event& event) override;
    void Rotate(const ak::Event& event) override;
    void Swipe(const ak::Event& event) override;
    bool isFakeRightMouse() const { return fakeRightMouse_; }

    // Metal mode (MetalView.cpp): 0 off, 1 direct, 2 full, negative a plain layer.
    int metalMode() const;
    void setMetalMode(int mode) { layerOnlyMode_ = mode; }
    winlayer::MetalView* metal() const { return metal_.get(); }
    void setMetal(std::unique_ptr<winlayer::MetalView> metal);

    // Native controls added to the view report to its procedure (Notifications.cpp).
    void DidAddSubview(ak::View* subview) override;
    // Files dropped on a view with drops on reach its procedure as
    // WM_DROPFILES; the drag hooks hear the way there (ViewDrops.cpp).
    bool DraggingEntered(const ak::FileDrag& drag) override;
    bool DraggingUpdated(const ak::FileDrag& drag) override;
    void DraggingExited() override;
    bool PerformDrop(const ak::FileDrag& drag) override;
    std::string PromisedFilesFolder(const ak::FileDrag& drag) override;

    Wisp_vOmnarControl_hwnd(const Wisp_vOmnarControl_hwnd&) = delete;
    Wisp_vOmnarControl_hwnd& operator=(const Wisp_vOmnarControl_hwnd&) = delete;

protected:
    explicit Wisp_vOmnarControl_hwnd(ak::Rect frame);
    ~Wisp_vOmnarControl_hwnd() override;

private:
    LRESULT callWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT runDestroySequence(WPARAM wParam, LPARAM lParam);
    void attachTo(ak::Responder* parent);
    void runInitDialog(ak::Responder* parent, LPARAM param);
    bool canTakeMessages() const { return life_ == Life::alive && wndProc_ != nullptr; }
    void sendKey(UINT message, const ak::Event& event);
    void sendGesture(std::uint32_t id, const ak::Event& event, std::uint64_t beginArgument,
                     std::uint64_t endArgument, POINT endLocation);

    int enabled_ = 1;
    DLGPROC dlgProc_ = nullptr;
    WNDPROC wndProc_;
    std::int64_t userData_ = 0;
    winlayer::ExtraData extra_;
    std::int64_t tag_ = 0;
    Life life_ = Life::alive;
    HMENU menu_ = nullptr;
    bool flip_ = true;
    bool opaque_ = true;
    bool supportsDrop_ = false;
    winlayer::WindowProps props_;
    winlayer::WindowText text_;
    unsigned createFlags_ = 0;
    HWND lastTopLevelOwner_ = nullptr;
    const char* className_ = nullptr;
    struct PaintContext {
        HDC hdc = nullptr;
        ak::Rect rect;
        bool used = false;
    } paint_;
    unsigned dirtyBits_ = 3;
    bool fakeRightMouse_ = false;
    int layerOnlyMode_ = 0;
    std::unique_ptr<winlayer::MetalView> metal_;
};

// One mouse message of a view's event, as the procedure gets it: redone for
// the window view holding the capture, hit-tested, with the cursor message
// after moves and releases. -1 for a view being destroyed or without a procedure.
LRESULT WISP_DispatchMouseMessage(Wisp_vOmnarControl_hwnd* view, UINT message,
                                  const ak::Event& event);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);

namespace winlayer {
// WM_PAINT's background under a dialog procedure: its brush, else the
// dialog background on opaque views.
void PaintDialogBackground(HWND window, DLGPROC dialogProc);
} // namespace winlayer

// The procedure every new window view starts with: hands each message to the
// dialog procedure, and what that leaves to DefWindowProc.
LRESULT WISP_DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
