#include "platform/ak/Application.h"

#include "platform/ak/Backing.h"
#include "platform/ak/RunLoop.h"
#include "platform/ak/Window.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace ak {

struct Application::ModalSession {
    Ref<Window> window;
    RunLoop loop;
    int result = ModalResponse::Continue;
    bool ended = false;
};

struct Application::MainLevel {
    RunLoop loop;
};

namespace {

Application* g_application = nullptr;
GdkEvent* g_currentGdkEvent = nullptr;

bool IsInput(GdkEventType type) {
    switch (type) {
    case GDK_BUTTON_PRESS:
    case GDK_BUTTON_RELEASE:
    case GDK_MOTION_NOTIFY:
    case GDK_SCROLL:
    case GDK_KEY_PRESS:
    case GDK_KEY_RELEASE:
    case GDK_TOUCHPAD_PINCH:
    case GDK_TOUCHPAD_SWIPE:
        return true;
    default:
        return false;
    }
}

bool IsPointer(const Event& event) {
    return event.type != EventType::KeyDown && event.type != EventType::KeyUp &&
           event.type != EventType::FlagsChanged && event.type != EventType::MouseEntered &&
           event.type != EventType::MouseExited;
}

// GTK's own double- and triple-press events repeat a press we already counted.
bool IsRepeatedPress(GdkEventType type) {
    return type == GDK_2BUTTON_PRESS || type == GDK_3BUTTON_PRESS;
}

bool FocusIsOurs(Window& window) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window.GetBacking().window));
    return !focus || ViewOfWidget(focus);
}

bool PointerLeftWindow(GdkEvent* gdkEvent, const Window& window) {
    double x = 0;
    double y = 0;
    gdk_event_get_root_coords(gdkEvent, &x, &y);
    return !Rect{{}, window.Frame().size}.Contains(window.ConvertPointFromScreen({x, y}));
}

// Our part of an event for one of our windows; true when it is done with.
bool RouteToWindow(GdkEvent* gdkEvent, Event& event) {
    Ref<Window> window = event.window;
    if (!window)
        return false;
    if (event.type == EventType::KeyDown || event.type == EventType::KeyUp)
        return FocusIsOurs(*window) && window->DispatchKey(event);
    if (event.type == EventType::MouseExited) {
        if (PointerLeftWindow(gdkEvent, *window))
            window->MouseLeftWindow(event);
        return false;
    }
    if (event.type == EventType::MouseEntered)
        return false;
    // Pointer events over our views are ours; over a native widget they are
    // GTK's, unless a press of ours is under way.
    GtkWidget* target = gtk_get_event_widget(gdkEvent);
    const bool followsPress = event.IsMouseUp() || event.type == EventType::LeftMouseDragged ||
                              event.type == EventType::RightMouseDragged ||
                              event.type == EventType::OtherMouseDragged;
    if (!ViewOfWidget(target) && !(followsPress && window->IsPressUnderWay()))
        return false;
    window->DispatchMouse(event);
    return true;
}

void HandleGdkEvent(GdkEvent* gdkEvent, gpointer) noexcept {
    Ref<Application> app = g_application;
    if (!app || IsRepeatedPress(gdkEvent->type)) {
        if (!app)
            gtk_main_do_event(gdkEvent);
        return;
    }
    Event event;
    const bool ours = TranslateEvent(gdkEvent, event);
    if (!ours && IsInput(gdkEvent->type)) {
        // An emulated wheel step, an unfinished gesture: already counted.
        return;
    }
    if (gdkEvent->type == GDK_MOTION_NOTIFY &&
        app->IsOwnWarp({gdkEvent->motion.x_root, gdkEvent->motion.y_root}))
        return;
    const Event* outer = app->CurrentEvent();
    GdkEvent* outerGdk = std::exchange(g_currentGdkEvent, gdkEvent);
    app->SetCurrentEvent(ours ? &event : nullptr);
    if (ours)
        app->NoteInput(event);
    bool done = ours && app->HookConsumes(event);
    if (!done && ours && IsPointer(event) && event.window && !app->InputAllowedFor(event.window))
        done = true;
    if (!done && ours && (event.type == EventType::KeyDown || event.type == EventType::KeyUp) &&
        !app->InputAllowedFor(event.window))
        done = true;
    if (!done && ours)
        done = RouteToWindow(gdkEvent, event);
    if (!done)
        gtk_main_do_event(gdkEvent);
    app->SetCurrentEvent(outer);
    g_currentGdkEvent = outerGdk;
}

// Tasks wait here, in the order they were queued; each has one idle source
// that runs whichever task is first. The queue's own lock hands a task from
// its thread to the main thread.
struct TaskQueue {
    std::mutex mutex;
    std::deque<std::function<void()>> tasks;
};

TaskQueue& Tasks() {
    static TaskQueue queue;
    return queue;
}

gboolean RunFirstTask(gpointer) noexcept {
    std::function<void()> task;
    {
        std::lock_guard lock(Tasks().mutex);
        task = std::move(Tasks().tasks.front());
        Tasks().tasks.pop_front();
    }
    task();
    return G_SOURCE_REMOVE;
}

} // namespace

GdkEvent* CurrentGdkEvent() {
    return g_currentGdkEvent;
}

Window* WindowOfGdkWindow(GdkWindow* gdkWindow) {
    if (!gdkWindow)
        return nullptr;
    gpointer widget = nullptr;
    gdk_window_get_user_data(gdk_window_get_toplevel(gdkWindow), &widget);
    if (!widget)
        return nullptr;
    return static_cast<Window*>(g_object_get_data(G_OBJECT(widget), "ak-window"));
}

namespace {

// Nothing here draws with OpenGL, yet on X11 GDK loads the GL driver while it
// opens the display to choose its visuals, a tenth of a second or more of
// start-up with a software driver. GDK reads the switch only while it opens
// the display, so children we start later keep the user's environment.
bool InitGtkWithoutGl() {
    constexpr const char* kGlSwitch = "GDK_GL";
    const bool userChose = std::getenv(kGlSwitch) != nullptr;
    if (!userChose)
        setenv(kGlSwitch, "disable", 1);
    const bool opened = gtk_init_check(nullptr, nullptr);
    if (!userChose)
        unsetenv(kGlSwitch);
    return opened;
}

} // namespace

Ref<Application> Application::Create() {
    if (g_application)
        return g_application;
    if (!InitGtkWithoutGl()) {
        static std::once_flag reported;
        std::call_once(reported, [] {
            const char* name = std::getenv("DISPLAY");
            std::fprintf(stderr, "cannot open display: %s\n", name ? name : "");
        });
        return {};
    }
    auto app = Ref<Application>::Adopt(new Application());
    g_application = app.Get();
    gdk_event_handler_set(HandleGdkEvent, nullptr, nullptr);
    return app;
}

Application* Application::Shared() {
    return g_application;
}

Application::Application() : m_mainLevel(new MainLevel) {}

Application::~Application() {
    gdk_event_handler_set(
        +[](GdkEvent* event, gpointer) { gtk_main_do_event(event); }, nullptr, nullptr);
    delete m_mainLevel;
    if (g_application == this)
        g_application = nullptr;
}

void Application::Run() {
    if (m_terminating)
        return;
    Ref<Application> hold(this);
    if (!m_launched) {
        m_launched = true;
        // Before any task queued earlier: launching comes first.
        g_idle_add_full(
            G_PRIORITY_HIGH,
            +[](gpointer data) noexcept -> gboolean {
                auto* app = static_cast<Application*>(data);
                if (app->m_delegate)
                    app->m_delegate->DidFinishLaunching();
                return G_SOURCE_REMOVE;
            },
            this, nullptr);
    }
    m_mainLevel->loop.Run();
}

void Application::Terminate() {
    if (m_terminating)
        return;
    if (m_delegate && !m_delegate->ShouldTerminate())
        return;
    m_terminating = true;
    if (m_delegate)
        m_delegate->WillTerminate();
    for (ModalSession* session : m_sessions) {
        if (!session->ended) {
            session->ended = true;
            session->result = ModalResponse::Abort;
        }
        session->loop.Quit();
    }
    m_mainLevel->loop.Quit();
}

int Application::RunModal(Window* window) {
    ModalSession* session = BeginModalSession(window);
    if (!session)
        return ModalResponse::Abort;
    const int result = RunLevel(*session);
    EndModalSession(session);
    return result;
}

int Application::RunLevel(ModalSession& session) {
    if (!session.ended)
        session.loop.Run();
    return session.result;
}

Application::ModalSession* Application::BeginModalSession(Window* window) {
    if (!window || window->IsClosed())
        return nullptr;
    // A press under way ends here: its drag and click count belong to a
    // window that no longer takes input.
    for (const auto& other : Window::OrderedWindows())
        other->CancelPress();
    ResetClickCount();
    m_buttons = 0;
    if (GdkDisplay* display = gdk_display_get_default())
        gdk_seat_ungrab(gdk_display_get_default_seat(display));
    auto* session = new ModalSession{};
    session->window = window;
    if (m_terminating) {
        session->ended = true;
        session->result = ModalResponse::Abort;
    }
    m_sessions.push_back(session);
    if (!m_terminating)
        window->MakeKeyAndOrderFront();
    return session;
}

int Application::RunModalSession(ModalSession* session) {
    for (int i = 0; i < 100 && !session->ended && g_main_context_pending(nullptr); ++i)
        RunLoop::Iterate(false);
    return session->ended ? session->result : ModalResponse::Continue;
}

void Application::EndModalSession(ModalSession* session) {
    auto it = std::find(m_sessions.begin(), m_sessions.end(), session);
    if (it == m_sessions.end())
        return;
    m_sessions.erase(it);
    delete session;
}

bool Application::IsModalSession(const ModalSession* session) const {
    return std::find(m_sessions.begin(), m_sessions.end(), session) != m_sessions.end();
}

void Application::StopModalSession(ModalSession* session, int code) {
    if (!IsModalSession(session) || session->ended)
        return;
    session->ended = true;
    session->result = code;
    session->loop.Quit();
}

void Application::StopModal(Window* window, int code) {
    for (auto it = m_sessions.rbegin(); it != m_sessions.rend(); ++it) {
        ModalSession* session = *it;
        if (session->window.Get() != window || session->ended)
            continue;
        // An outer level ends once control comes back to it.
        session->ended = true;
        session->result = code;
        session->loop.Quit();
        return;
    }
}

void Application::AbortModal(Window* window) {
    StopModal(window, ModalResponse::Abort);
}

Window* Application::ModalWindow() const {
    for (auto it = m_sessions.rbegin(); it != m_sessions.rend(); ++it)
        if (!(*it)->ended)
            return (*it)->window.Get();
    return nullptr;
}

bool Application::InputAllowedFor(const Window* window) const {
    const Window* modal = ModalWindow();
    return !modal || modal == window;
}

void Application::NoteInput(const Event& event) {
    m_modifierFlags = event.modifierFlags;
    const uint32_t bit = 1u << std::clamp(event.buttonNumber, 0, 31);
    if (event.IsMouseDown())
        m_buttons |= bit;
    else if (event.IsMouseUp())
        m_buttons &= ~bit;
}

void Application::KeyWindowChanged(Window* key) {
    const bool active = key != nullptr;
    if (active == m_active)
        return;
    m_active = active;
    if (!m_delegate)
        return;
    if (active)
        m_delegate->DidBecomeActive();
    else
        m_delegate->DidResignActive();
}

void Application::WindowClosed(Window* window) {
    AbortModal(window);
}

void Application::WarpPointer(Point onScreen) {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !std::isfinite(onScreen.x) || !std::isfinite(onScreen.y))
        return;
    const int x = PixelEdge(onScreen.x);
    const int y = PixelEdge(onScreen.y);
    // However late a busy loop serves it, the motion the warp causes is the
    // next one at its point: no patience that a loaded machine outlasts.
    m_warp = {{double(x), double(y)}, true};
    gdk_device_warp(gdk_seat_get_pointer(gdk_display_get_default_seat(display)),
                    gdk_display_get_default_screen(display), x, y);
}

bool Application::IsOwnWarp(Point onScreen) {
    if (!m_warp.pending)
        return false;
    if (std::abs(onScreen.x - m_warp.at.x) > 0.5 || std::abs(onScreen.y - m_warp.at.y) > 0.5)
        return false;
    m_warp.pending = false;
    return true;
}

bool Application::PeekEvent(const std::vector<EventType>& types, int ms, Event* found) {
    GdkDisplay* display = gdk_display_get_default();
    if (!display)
        return false;
    const gint64 deadline = g_get_monotonic_time() + gint64{std::max(ms, 0)} * 1000;
    for (;;) {
        // Take the queue apart and put it back in order: nothing is lost or
        // dispatched.
        std::vector<GdkEvent*> queued;
        while (GdkEvent* gdkEvent = gdk_display_get_event(display))
            queued.push_back(gdkEvent);
        bool matched = false;
        for (GdkEvent* gdkEvent : queued) {
            Event event;
            if (!matched && TranslateEvent(gdkEvent, event, true)) {
                matched = std::find(types.begin(), types.end(), event.type) != types.end();
                if (matched && found)
                    *found = event;
            }
            gdk_display_put_event(display, gdkEvent);
            gdk_event_free(gdkEvent);
        }
        if (matched || g_get_monotonic_time() >= deadline)
            return matched;
        g_usleep(1000);
    }
}

void Application::RunOnMainLater(std::function<void()> fn) {
    if (!fn)
        throw std::bad_function_call();
    {
        std::lock_guard lock(Tasks().mutex);
        Tasks().tasks.push_back(std::move(fn));
    }
    // Equal priorities dispatch in the order they were added, and a task that
    // runs a nested loop does not hold up the next.
    g_idle_add_full(G_PRIORITY_DEFAULT, RunFirstTask, nullptr, nullptr);
}

} // namespace ak
