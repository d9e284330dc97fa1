#pragma once

#include "platform/ak/Event.h"
#include "platform/ak/Geometry.h"
#include "platform/ak/Responder.h"

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

namespace ak {

class View;
class Button;
class Menu;

namespace StyleMask {
constexpr uint32_t Borderless = 0;
constexpr uint32_t Titled = 1;
constexpr uint32_t Closable = 2;
constexpr uint32_t Miniaturizable = 4;
constexpr uint32_t Resizable = 8;
} // namespace StyleMask

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// A top-level window: a menu bar slot above one content view. Its frame is
// the client area with the menu bar, in y-down screen points, without the
// window manager's decorations. Frame, visibility and key state are ak's own
// model: they answer at once after a change, whatever the window system
// does later.
class Window : public Responder {
public:
    Window(Rect frame, uint32_t styleMask);
    ~Window() override;

    Rect Frame() const { return m_frame; }
    // NaN or infinite frames are refused; sizes are clamped to MinSize/MaxSize.
    void SetFrame(Rect frame);
    void SetFrameOrigin(Point origin) { SetFrame({origin, m_frame.size}); }
    Rect ContentRect() const; // in window coordinates
    View* ContentView() const;
    void SetContentView(View* view);

    void SetMinSize(Size size) { m_minSize = size; }
    void SetMaxSize(Size size) { m_maxSize = size; }
    virtual Size MinSize() const { return m_minSize; }
    virtual Size MaxSize() const { return m_maxSize; }

    std::string Title() const { return m_title; }
    void SetTitle(const std::string& title);
    uint32_t GetStyleMask() const { return m_styleMask; }
    void SetStyleMask(uint32_t mask);

    bool IsVisible() const { return m_visible; }
    void OrderFront();
    void OrderOut();
    void MakeKeyAndOrderFront();
    void MakeKeyWindow();
    bool IsKeyWindow() const;
    virtual bool CanBecomeKeyWindow() const { return true; }
    // Front to back, visible windows only.
    static std::vector<Ref<Window>> OrderedWindows();
    // Every window not yet closed, hidden ones too, front first.
    static std::vector<Ref<Window>> AllWindows();
    // The key window, or null.
    static Window* KeyWindow();

    // Asks ShouldClose (the close box), then closes.
    void PerformClose();
    // Hides the window for good, ends a modal run on it and drops the
    // reference the window system held.
    void Close();
    bool IsClosed() const { return m_closed; }

    bool IsZoomed() const { return m_zoomed; }
    void Zoom();
    bool IsMiniaturized() const { return m_miniaturized; }
    void Miniaturize();
    void Deminiaturize();
    bool IsFullScreen() const { return m_fullScreen; }
    void ToggleFullScreen();
    int Level() const { return m_level; }
    void SetLevel(int level);
    double AlphaValue() const { return m_alpha; }
    void SetAlphaValue(double alpha);
    bool IgnoresMouseEvents() const { return m_ignoresMouse; }
    void SetIgnoresMouseEvents(bool ignores) { m_ignoresMouse = ignores; }
    void SetTransientParent(Window* parent);

    Point ConvertPointToScreen(Point inWindow) const;
    Point ConvertPointFromScreen(Point onScreen) const;

    // The button Return presses; null for none.
    void SetDefaultButton(Button* button);
    View* DefaultButton() const { return m_defaultButton.Get(); }
    // Shows the menu in this window only, with its key equivalents; null
    // removes it. The frame keeps its size; the content view shrinks.
    void SetMenuBar(Menu* menu);
    Menu* MenuBar() const;

    Responder* FirstResponder() const { return m_firstResponder.Get(); }
    bool MakeFirstResponder(Responder* responder);

    // Draws what views marked as needing display at the next frame, even
    // when the window system sent no expose.
    void DisplayIfNeeded();
    // The window's pixels as drawn by its views, at the screen's scale.
    Surface Snapshot();

    virtual bool ShouldClose() { return true; }
    virtual void DidMove() {}
    virtual void DidResize() {}
    virtual void DidBecomeKey() {}
    virtual void DidResignKey() {}

    // Input routed by the layer.
    void DispatchMouse(Event& event);
    bool DispatchKey(const Event& event);
    void CancelPress();
    // A press on one of our views whose drags and release are still to come.
    bool IsPressUnderWay() const { return static_cast<bool>(m_pressTarget); }
    void MouseLeftWindow(const Event& event);

    struct Backing;
    Backing& GetBacking() const { return *m_backing; }

protected:
    void NoResponderFor(const Event& event) override;

private:
    friend struct WindowEvents;
    void ApplyFrameToWidget();
    bool PressDefaultButton(const Event& event);
    void AdoptConfiguredFrame(Rect frame);
    void ResignKey();
    void MoveNativeFocusTo(Responder* responder);
    void UpdateHover(const Event& event, View* hit);

    Rect m_frame;
    Rect m_savedFrame;
    Size m_minSize{0, 0};
    Size m_maxSize{1e6, 1e6};
    uint32_t m_styleMask;
    std::string m_title;
    bool m_visible = false;
    bool m_closed = false;
    bool m_zoomed = false;
    bool m_miniaturized = false;
    bool m_fullScreen = false;
    bool m_ignoresMouse = false;
    bool m_keyUnhandled = false;
    bool m_changingFirstResponder = false;
    int m_level = 0;
    double m_alpha = 1;
    Ref<View> m_contentView;
    Ref<Responder> m_firstResponder;
    Ref<View> m_pressTarget;
    Ref<View> m_defaultButton;
    Ref<Object> m_menuBar;
    std::vector<Ref<View>> m_hovered;
    std::unique_ptr<Backing> m_backing;
};

// A window that floats above the document windows (a panel).
class Panel : public Window {
public:
    Panel(Rect frame, uint32_t styleMask);
};

} // namespace ak
