#pragma once

#include "platform/ak/Event.h"
#include "platform/ak/Object.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace ak {

class Window;

class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void DidFinishLaunching() {}
    virtual void DidBecomeActive() {}
    virtual void DidResignActive() {}
    virtual bool ShouldTerminate() { return true; }
    virtual void WillTerminate() {}
};

namespace ModalResponse {
constexpr int Stop = -1000;
constexpr int Abort = -1001;
constexpr int Continue = -1002;
} // namespace ModalResponse

// The one application object: starts GTK, runs the main loop with its modal
// levels and hooks every event before dispatch.
class Application : public Object {
public:
    // Starts GTK. Without a display prints "cannot open display: <name>" once
    // and answers null.
    static Ref<Application> Create();
    // The application made by Create, or null.
    static Application* Shared();

    void SetDelegate(ApplicationDelegate* delegate) { m_delegate = delegate; }
    ApplicationDelegate* Delegate() const { return m_delegate; }

    // Returns once Terminate() has run. The delegate hears DidFinishLaunching
    // on the first iteration.
    void Run();
    // Asks the delegate, then ends every loop level; Run() returns. Once only.
    void Terminate();
    bool IsTerminating() const { return m_terminating; }

    // Runs a nested loop in which only window takes input, until StopModal
    // (Stop or the caller's code), AbortModal or the window's closing (Abort).
    int RunModal(Window* window);
    void StopModal(Window* window, int code = ModalResponse::Stop);
    void AbortModal(Window* window);
    Window* ModalWindow() const;

    // A session is one modal level the caller drives step by step.
    struct ModalSession;
    ModalSession* BeginModalSession(Window* window);
    // Continue while the session runs, else its result.
    int RunModalSession(ModalSession* session);
    void EndModalSession(ModalSession* session);
    // Whether the session is one begun here and not yet ended.
    bool IsModalSession(const ModalSession* session) const;
    // Stops a running session with the code, as StopModal does its window's.
    void StopModalSession(ModalSession* session, int code = ModalResponse::Stop);

    // Called before each event is dispatched; answering true consumes it.
    using EventHook = std::function<bool(const Event&)>;
    void SetEventHook(EventHook hook) { m_hook = std::move(hook); }
    // Whether an event of one of the types arrives within ms, without taking
    // or dispatching anything; found, when given, gets a copy of the first.
    bool PeekEvent(const std::vector<EventType>& types, int ms, Event* found = nullptr);
    // The event being dispatched, or null.
    const Event* CurrentEvent() const { return m_current; }
    uint32_t ModifierFlags() const { return m_modifierFlags; }
    // Bit n: mouse button n (0 left) held.
    uint32_t PressedMouseButtons() const { return m_buttons; }

    // Moves the pointer to a screen point. The motion the window system
    // reports for it is ours, not the user's, and is not delivered.
    void WarpPointer(Point onScreen);

    // Queues fn for the main thread, after the current event; first in, first
    // out, served by nested loops too. Any thread. Empty: std::bad_function_call.
    static void RunOnMainLater(std::function<void()> fn);

    // The layer's own bookkeeping.
    void NoteInput(const Event& event);
    void SetCurrentEvent(const Event* event) { m_current = event; }
    bool HookConsumes(const Event& event) { return m_hook && m_hook(event); }
    void KeyWindowChanged(Window* key);
    void WindowClosed(Window* window);
    bool InputAllowedFor(const Window* window) const;
    // True (once) for the motion our last warp caused.
    bool IsOwnWarp(Point onScreen);

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    Application();
    ~Application() override;
    int RunLevel(ModalSession& session);

    ApplicationDelegate* m_delegate = nullptr;
    EventHook m_hook;
    const Event* m_current = nullptr;
    uint32_t m_modifierFlags = 0;
    uint32_t m_buttons = 0;
    bool m_terminating = false;
    bool m_launched = false;
    bool m_active = false;
    struct PendingWarp {
        Point at;
        bool pending = false;
    } m_warp;
    std::vector<ModalSession*> m_sessions; // innermost last
    struct MainLevel;
    MainLevel* m_mainLevel = nullptr;
};

} // namespace ak
