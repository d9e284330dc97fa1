#pragma once

#include "platform/ak/Application.h"
#include "platform/ak/View.h"
#include "platform/ak/Window.h"
#include "winlayer/InputRecords.h"
#include "winlayer/MessageQueue.h"
#include "winlayer/WindowApi.h"

// The application shell's side of the layer: the delegate that turns the
// application's life into calls of the shell's handler, and the key routing
// in front of every event.

class WISPAppController : public ak::ApplicationDelegate, public winlayer::QueueHost {
public:
    explicit WISPAppController(AppMessageHandlerFunc handler) : handler_(handler) {}
    void setHandler(AppMessageHandlerFunc handler) { handler_ = handler; }

    // In order: the multithreaded runtime, this as the application's
    // delegate, the posted-message queue, AppMsg_Load.
    void awakeFromNib(ak::Application& app);

    void DidFinishLaunching() override;
    void DidBecomeActive() override { activate(1); }
    void DidResignActive() override { activate(0); }
    bool ShouldTerminate() override;
    void WillTerminate() override;

    void onSysMenuCommand(std::int64_t tag, void* sender);
    // The platform's open-file and untitled-file questions.
    bool applicationOpenFile(const char* name);
    bool applicationOpenUntitledFile();
    bool applicationShouldOpenUntitledFile();
    void* wispGetAPPAPIFunc() const;
    bool wispPostMessage(HWND window, int message, WPARAM wParam, LPARAM lParam);
    void wispPostMessageClearQ(HWND window);

    INT_PTR callHandler(int message, INT_PTR param1, INT_PTR param2);

private:
    void activate(int active);

    AppMessageHandlerFunc handler_;
    bool askingToTerminate_ = false;
};

// Hooks the application's events: key repeats coalesced, every key offered to
// the shell's handler outside modal runs, and a dialog's keys.
class WISPApplication {
public:
    WISPApplication(ak::Application& app, WISPAppController& controller);
    ~WISPApplication();
    // True when the event was consumed.
    bool sendEvent(const ak::Event& event);

    WISPApplication(const WISPApplication&) = delete;
    WISPApplication& operator=(const WISPApplication&) = delete;

private:
    bool isCoalescedRepeat(const ak::Event& event);
    bool offerToHandler(const ak::Event& event, ak::View* focus, int key, int flags);
    bool dialogKey(const ak::Event& event, ak::View* focus, ak::Window& target);

    ak::Application& app_;
    WISPAppController& controller_;
};
