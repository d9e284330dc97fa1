#include "platform/ak/Window.h"

#include "platform/ak/Application.h"
#include "platform/ak/Backing.h"
#include "platform/ak/NativeView.h"
#include "platform/ak/Screen.h"
#include "platform/ak/View.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {

// Open windows, front first. Each holds the reference the window system
// keeps until the window closes.
std::vector<Window*>& OpenWindows() {
    static std::vector<Window*> windows;
    return windows;
}

void MoveToFront(Window* window) {
    auto& windows = OpenWindows();
    auto it = std::find(windows.begin(), windows.end(), window);
    if (it != windows.end())
        std::rotate(windows.begin(), it, it + 1);
}

Window* g_keyWindow = nullptr;

// A configure event older than our last request describes a frame we no
// longer want; after this long without an answer we believe the window system.
constexpr int64_t kFrameRequestPatienceUs = 1000000;

} // namespace

struct WindowEvents {
    static gboolean Delete(GtkWidget*, GdkEvent*, gpointer data) {
        Ref<Window> window(static_cast<Window*>(data));
        window->PerformClose();
        return TRUE;
    }

    static gboolean Configure(GtkWidget*, GdkEventConfigure* configure, gpointer data) {
        Ref<Window> window(static_cast<Window*>(data));
        auto& backing = *window->m_backing;
        const Rect reported{{double(configure->x), double(configure->y)},
                            {double(configure->width), double(configure->height)}};
        if (backing.frameRequestPending) {
            const Rect wanted = window->m_frame;
            const bool answered = PixelEdge(wanted.MinX()) == configure->x &&
                                  PixelEdge(wanted.MinY()) == configure->y &&
                                  PixelEdge(wanted.size.width) == configure->width &&
                                  PixelEdge(wanted.size.height) == configure->height;
            const bool patient =
                g_get_monotonic_time() - backing.frameRequestTimeUs < kFrameRequestPatienceUs;
            if (answered)
                backing.frameRequestPending = false;
            if (answered || patient)
                return FALSE;
            backing.frameRequestPending = false;
        }
        window->AdoptConfiguredFrame(reported);
        return FALSE;
    }

    static gboolean FocusIn(GtkWidget*, GdkEvent*, gpointer data) {
        Ref<Window> window(static_cast<Window*>(data));
        if (window->m_visible && !window->m_closed)
            window->MakeKeyWindow();
        return FALSE;
    }

    static void SetFocus(GtkWindow*, GtkWidget* widget, gpointer data) {
        Ref<Window> window(static_cast<Window*>(data));
        // A native control taking GTK's focus makes its view first responder.
        // Our own views' widgets get GTK's focus when they become first
        // responder, not the other way round.
        if (window->m_changingFirstResponder || !widget || ViewOfWidget(widget))
            return;
        for (GtkWidget* w = widget; w; w = gtk_widget_get_parent(w)) {
            if (View* view = ViewOfWidget(w)) {
                if (view != window->FirstResponder())
                    window->MakeFirstResponder(view);
                return;
            }
        }
    }
};

Window::Window(Rect frame, uint32_t styleMask)
    : m_styleMask(styleMask), m_backing(std::make_unique<Backing>()) {
    auto& backing = *m_backing;
    backing.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    g_object_ref_sink(backing.window);
    g_object_set_data(G_OBJECT(backing.window), "ak-window", this);
    GtkWindow* gtkWindow = GTK_WINDOW(backing.window);
    gtk_window_set_gravity(gtkWindow, GDK_GRAVITY_STATIC);
    gtk_window_set_decorated(gtkWindow, styleMask != StyleMask::Borderless);
    gtk_widget_add_events(backing.window, GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK);
    backing.box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    backing.menuSlot = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(backing.box), backing.menuSlot, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(backing.window), backing.box);
    gtk_widget_show(backing.box);
    g_signal_connect(backing.window, "delete-event", G_CALLBACK(WindowEvents::Delete), this);
    g_signal_connect(backing.window, "configure-event", G_CALLBACK(WindowEvents::Configure), this);
    g_signal_connect(backing.window, "focus-in-event", G_CALLBACK(WindowEvents::FocusIn), this);
    g_signal_connect(backing.window, "set-focus", G_CALLBACK(WindowEvents::SetFocus), this);
    OpenWindows().push_back(this);
    Retain();
    SetContentView(MakeRef<View>().Get());
    SetFrame(frame);
}

Window::~Window() {
    // The menu's items outlive this window's widgets.
    if (m_menuBar)
        SetMenuBar(nullptr);
    if (g_keyWindow == this)
        g_keyWindow = nullptr;
    if (m_contentView)
        m_contentView->SetWindow(nullptr);
    auto& windows = OpenWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    GtkWidget* window = std::exchange(m_backing->window, nullptr);
    g_object_set_data(G_OBJECT(window), "ak-window", nullptr);
    g_signal_handlers_disconnect_by_data(window, this);
    gtk_widget_destroy(window);
    g_object_unref(window);
}

Rect Window::ContentRect() const {
    // The menu bar's natural height: known before GTK allocates it.
    int menuHeight = 0;
    if (gtk_widget_get_visible(m_backing->menuSlot))
        gtk_widget_get_preferred_height(m_backing->menuSlot, nullptr, &menuHeight);
    return {{0, double(menuHeight)},
            {m_frame.size.width, std::max(0.0, m_frame.size.height - menuHeight)}};
}

View* Window::ContentView() const {
    return m_contentView.Get();
}

void Window::SetContentView(View* view) {
    if (!view || view == m_contentView.Get())
        return;
    Ref<View> hold(view);
    view->RemoveFromSuperview();
    if (m_contentView) {
        m_contentView->ViewWillMoveToWindow(nullptr);
        gtk_container_remove(GTK_CONTAINER(m_backing->box), m_contentView->GetBacking().widget);
        m_contentView->SetWindow(nullptr);
    }
    m_contentView = hold;
    view->ViewWillMoveToWindow(this);
    gtk_box_pack_start(GTK_BOX(m_backing->box), view->GetBacking().widget, TRUE, TRUE, 0);
    view->SetFrame(ContentRect());
    view->SetWindow(this);
}

void Window::SetFrame(Rect frame) {
    if (!frame.IsFinite() || m_closed)
        return;
    frame = frame.Normalized();
    const Size minSize = MinSize();
    const Size maxSize = MaxSize();
    frame.size.width =
        std::clamp(frame.size.width, minSize.width, std::max(minSize.width, maxSize.width));
    frame.size.height =
        std::clamp(frame.size.height, minSize.height, std::max(minSize.height, maxSize.height));
    const bool moved = frame.origin != m_frame.origin;
    const bool resized = frame.size != m_frame.size;
    m_frame = frame;
    ApplyFrameToWidget();
    if (m_contentView)
        m_contentView->SetFrame(ContentRect());
    if (moved)
        DidMove();
    if (resized)
        DidResize();
}

void Window::ApplyFrameToWidget() {
    GtkWindow* window = GTK_WINDOW(m_backing->window);
    const int width = std::max(1, PixelEdge(m_frame.size.width));
    const int height = std::max(1, PixelEdge(m_frame.size.height));
    gtk_window_set_default_size(window, width, height);
    gtk_window_resize(window, width, height);
    gtk_window_move(window, PixelEdge(m_frame.MinX()), PixelEdge(m_frame.MinY()));
    m_backing->frameRequestPending = true;
    m_backing->frameRequestTimeUs = g_get_monotonic_time();
}

void Window::AdoptConfiguredFrame(Rect frame) {
    const Rect old = m_frame;
    m_frame = frame;
    if (m_contentView)
        m_contentView->SetFrame(ContentRect());
    if (frame.origin != old.origin)
        DidMove();
    if (frame.size != old.size)
        DidResize();
}

void Window::SetTitle(const std::string& title) {
    m_title = title;
    gtk_window_set_title(GTK_WINDOW(m_backing->window), title.c_str());
}

void Window::SetStyleMask(uint32_t mask) {
    m_styleMask = mask;
    gtk_window_set_decorated(GTK_WINDOW(m_backing->window), mask != StyleMask::Borderless);
    gtk_window_set_deletable(GTK_WINDOW(m_backing->window), (mask & StyleMask::Closable) != 0);
}

void Window::OrderFront() {
    if (m_closed)
        return;
    m_visible = true;
    m_miniaturized = false;
    MoveToFront(this);
    gtk_widget_show(m_backing->window);
    ApplyFrameToWidget();
    gtk_window_present(GTK_WINDOW(m_backing->window));
}

void Window::OrderOut() {
    if (!m_visible)
        return;
    m_visible = false;
    if (IsKeyWindow())
        ResignKey();
    gtk_widget_hide(m_backing->window);
}

void Window::MakeKeyAndOrderFront() {
    OrderFront();
    MakeKeyWindow();
}

void Window::MakeKeyWindow() {
    if (m_closed || IsKeyWindow() || !CanBecomeKeyWindow())
        return;
    Ref<Window> hold(this);
    if (Ref<Window> previous = g_keyWindow)
        previous->ResignKey();
    g_keyWindow = this;
    if (Application* app = Application::Shared())
        app->KeyWindowChanged(this);
    DidBecomeKey();
}

void Window::ResignKey() {
    if (g_keyWindow != this)
        return;
    g_keyWindow = nullptr;
    DidResignKey();
    if (Application* app = Application::Shared())
        app->KeyWindowChanged(nullptr);
}

bool Window::IsKeyWindow() const {
    return g_keyWindow == this;
}

std::vector<Ref<Window>> Window::OrderedWindows() {
    std::vector<Ref<Window>> ordered;
    for (Window* window : OpenWindows())
        if (window->m_visible && !window->m_closed)
            ordered.emplace_back(window);
    return ordered;
}

std::vector<Ref<Window>> Window::AllWindows() {
    std::vector<Ref<Window>> all;
    for (Window* window : OpenWindows())
        if (!window->m_closed)
            all.emplace_back(window);
    return all;
}

Window* Window::KeyWindow() {
    return g_keyWindow;
}

void Window::PerformClose() {
    Ref<Window> hold(this);
    if (!m_closed && ShouldClose())
        Close();
}

void Window::Close() {
    if (m_closed)
        return;
    Ref<Window> hold(this);
    OrderOut();
    m_closed = true;
    CancelPress();
    StopAllTimers();
    if (Application* app = Application::Shared())
        app->WindowClosed(this);
    auto& windows = OpenWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    ReleaseLater();
}

void Window::Zoom() {
    if (m_zoomed) {
        m_zoomed = false;
        SetFrame(m_savedFrame);
        return;
    }
    m_savedFrame = m_frame;
    m_zoomed = true;
    SetFrame(Screen::Main().VisibleFrame());
}

void Window::Miniaturize() {
    m_miniaturized = true;
    gtk_window_iconify(GTK_WINDOW(m_backing->window));
}

void Window::Deminiaturize() {
    m_miniaturized = false;
    gtk_window_deiconify(GTK_WINDOW(m_backing->window));
}

void Window::ToggleFullScreen() {
    m_fullScreen = !m_fullScreen;
    if (m_fullScreen)
        gtk_window_fullscreen(GTK_WINDOW(m_backing->window));
    else
        gtk_window_unfullscreen(GTK_WINDOW(m_backing->window));
}

void Window::SetLevel(int level) {
    m_level = level;
    gtk_window_set_keep_above(GTK_WINDOW(m_backing->window), level > 0);
}

void Window::SetAlphaValue(double alpha) {
    if (!std::isfinite(alpha))
        return;
    m_alpha = std::clamp(alpha, 0.0, 1.0);
    gtk_widget_set_opacity(m_backing->window, m_alpha);
}

void Window::SetTransientParent(Window* parent) {
    gtk_window_set_transient_for(GTK_WINDOW(m_backing->window),
                                 parent ? GTK_WINDOW(parent->m_backing->window) : nullptr);
}

Point Window::ConvertPointToScreen(Point inWindow) const {
    return {inWindow.x + m_frame.MinX(), inWindow.y + m_frame.MinY()};
}

Point Window::ConvertPointFromScreen(Point onScreen) const {
    return {onScreen.x - m_frame.MinX(), onScreen.y - m_frame.MinY()};
}

bool Window::MakeFirstResponder(Responder* responder) {
    if (responder == m_firstResponder.Get())
        return true;
    Ref<Responder> hold(responder);
    // A native control's focus moving with this change must not start another.
    const bool outer = !std::exchange(m_changingFirstResponder, true);
    bool made = false;
    if (!m_firstResponder || m_firstResponder->ResignFirstResponder()) {
        m_firstResponder.Reset();
        made =
            !responder || (responder->AcceptsFirstResponder() && responder->BecomeFirstResponder());
        if (made) {
            m_firstResponder = hold;
            MoveNativeFocusTo(responder);
        }
    }
    if (outer)
        m_changingFirstResponder = false;
    return made;
}

// Keys follow GTK's focus: a plain view taking first responder takes it from
// a native control, so the keys come to us.
void Window::MoveNativeFocusTo(Responder* responder) {
    auto* view = dynamic_cast<View*>(responder);
    if (dynamic_cast<NativeView*>(responder))
        return;
    if (view && view->GetWindow() == this)
        gtk_widget_grab_focus(view->GetBacking().widget);
    else
        gtk_window_set_focus(GTK_WINDOW(m_backing->window), nullptr);
}

void Window::DisplayIfNeeded() {
    GdkWindow* window = gtk_widget_get_window(m_backing->window);
    if (GdkFrameClock* clock = window ? gdk_window_get_frame_clock(window) : nullptr)
        gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_PAINT);
}

Surface Window::Snapshot() {
    const int scale = std::max(1, gtk_widget_get_scale_factor(m_backing->window));
    const int width = std::max(1, PixelEdge(m_frame.size.width));
    const int height = std::max(1, PixelEdge(m_frame.size.height));
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale));
    cairo_surface_set_device_scale(surface.get(), scale, scale);
    if (!gtk_widget_get_realized(m_backing->window))
        return surface;
    cairo_t* cr = cairo_create(surface.get());
    gtk_widget_draw(m_backing->window, cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    return surface;
}

void Window::NoResponderFor(const Event& event) {
    if (event.type == EventType::KeyDown && PressDefaultButton(event))
        return;
    if (event.type == EventType::KeyDown || event.type == EventType::KeyUp)
        m_keyUnhandled = true;
}

Panel::Panel(Rect frame, uint32_t styleMask) : Window(frame, styleMask) {
    gtk_window_set_type_hint(GTK_WINDOW(GetBacking().window), GDK_WINDOW_TYPE_HINT_UTILITY);
}

} // namespace ak
