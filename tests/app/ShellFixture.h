#pragma once

// The shell in this process: the process-wide host on the fake MIDI and audio
// systems with a recording product, the main window from the launch message,
// and the preferences dialog driven from inside its modal loop.

#include "app/AppShell.h"
#include "platform/ak/Application.h"
#include "tests/framework/host/HostFixtures.h"

#include <functional>
#include <string>
#include <vector>

namespace shell::test {

// What the product, the host's message function and the quit request saw, in order.
std::vector<std::string>& Log();

// Records the editor's commands and closing; its editor is 800 x 500 and
// has no panel. The close tells the device with one SysEx message.
class ShellProduct : public host::test::HostProduct {
public:
    explicit ShellProduct(const vx::InstanceInfo& info);
    ~ShellProduct() override;
    bool OnHostRequestingAboutBox() override;
    bool OnHostRequestingManual() override;
    void OnHostRequestingMessage(int32_t command) override;
    void OnEditorClose() override;

    static inline bool handlesAbout = false;
    static inline bool handlesManual = false;
};

// Records the quit request and refuses it, so the next test has an application.
class QuitRecorder : public ak::ApplicationDelegate {
public:
    bool ShouldTerminate() override;
};

class ShellTest : public host::test::HostTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // As the load message does, on the fakes: make, start, apply audio.
    host::StandaloneHost& StartHost();
    // The launch message; the main window once shown.
    HWND Launch();
    // File > Preferences... with the script run inside the dialog's modal
    // loop; the dialog is ended with -5 when the script leaves it open.
    void RunPreferences(const std::function<void(HWND dialog)>& script);

    ak::Application* app = nullptr;
    QuitRecorder quit;
};

// The dialog's controls as the user meets them.
std::vector<std::string> Entries(HWND dialog, int id);
int Selected(HWND dialog, int id);
// The user's choice of entry index in a list: the selection moves, then the
// dialog hears the selection change.
void Choose(HWND dialog, int id, int index);
void Press(HWND dialog, int id);
// Audio calls made since the mark, in the fake driver's words.
std::vector<std::string> CallsSince(host::test::FakeAudioState& audio, size_t mark);

} // namespace shell::test
