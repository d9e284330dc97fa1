#include "tests/app/ShellFixture.h"

#include "app/ShellIds.h"
#include "app/ShellResources.h"
#include "platform/ak/test/AkTest.h"
#include "winlayer/InputRecords.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

namespace shell::test {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

ShellProduct::ShellProduct(const vx::InstanceInfo& info) : HostProduct(info) {
    SetEditorSize(800, 500);
}

ShellProduct::~ShellProduct() {
    Log().push_back("product deleted");
}

bool ShellProduct::OnHostRequestingAboutBox() {
    Log().push_back("about");
    return handlesAbout;
}

bool ShellProduct::OnHostRequestingManual() {
    Log().push_back("manual");
    return handlesManual;
}

void ShellProduct::OnHostRequestingMessage(int32_t command) {
    Log().push_back("message " + std::to_string(command));
}

void ShellProduct::OnEditorClose() {
    static const uint8_t kEditorClosed[] = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x7F, 0xF7};
    Log().push_back(SendSysEx(vx::ISysEx{0, int32_t(sizeof kEditorClosed), kEditorClosed})
                        ? "editor closed, told the device"
                        : "editor closed");
}

bool QuitRecorder::ShouldTerminate() {
    Log().push_back(host::StandaloneHost::Current() ? "quit with the host" : "quit");
    return false;
}

void ShellTest::SetUp() {
    app = ak::test::App();
    ASSERT_NE(app, nullptr);
    app->SetDelegate(&quit);
    Log().clear();
    ShellProduct::handlesAbout = ShellProduct::handlesManual = false;
    RegisterResources();
}

void ShellTest::TearDown() {
    AppMessageHandler(AppMsg_Destroy, 0, 0);
    host::StandaloneHost::Destroy();
    ak::test::WaitUntilServed();
    app->SetDelegate(nullptr);
}

host::StandaloneHost& ShellTest::StartHost() {
    host::HostOptions options;
    options.makeProduct = [](const vx::InstanceInfo& info) {
        return std::make_unique<ShellProduct>(info);
    };
    options.showMessage = [](const std::string& text, const std::string& title) {
        Log().push_back(title + ": " + text);
    };
    options.midiApiOrder = mApiOrder;
    options.midi = std::make_shared<host::test::FakeMidiSystem>(mMidi);
    options.audio = std::make_shared<host::test::FakeAudioSystem>(mAudio);
    host::StandaloneHost& host = host::StandaloneHost::Make(std::move(options));
    host.StartUp();
    host.ApplyAudioSettings();
    return host;
}

HWND ShellTest::Launch() {
    AppMessageHandler(AppMsg_Launched, 0, 0);
    HWND window = MainWindow();
    EXPECT_NE(window, nullptr);
    if (ak::Window* shown = window ? winlayer::FindWindow(window) : nullptr) {
        EXPECT_TRUE(ak::test::WaitUntilShown(*shown));
    }
    return window;
}

namespace {

HWND OpenDialog(const char* title) {
    for (const auto& window : ak::Window::AllWindows())
        if (!window->IsClosed() && window->Title() == title)
            return winlayer::HandleOf(window->ContentView());
    return nullptr;
}

} // namespace

void ShellTest::RunPreferences(const std::function<void(HWND dialog)>& script) {
    bool ran = false;
    ak::Application::RunOnMainLater([&] {
        HWND dialog = OpenDialog("Preferences");
        ran = dialog != nullptr;
        ASSERT_NE(dialog, nullptr) << "no preferences dialog";
        script(dialog);
        if (IsWindow(dialog) && OpenDialog("Preferences"))
            EndDialog(dialog, -5);
    });
    AppMessageHandler(AppMsg_MenuCommand, kCmdPreferences, 0);
    EXPECT_TRUE(ran);
}

std::vector<std::string> Entries(HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    std::vector<std::string> entries;
    const int count = int(SendMessage(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text(size_t(SendMessage(list, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1, '\0');
        SendMessage(list, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
        entries.emplace_back(text.c_str());
    }
    return entries;
}

int Selected(HWND dialog, int id) {
    return int(SendMessage(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

void Choose(HWND dialog, int id, int index) {
    HWND list = GetDlgItem(dialog, id);
    SendMessage(list, CB_SETCURSEL, WPARAM(index), 0);
    SendMessage(dialog, WM_COMMAND, (WPARAM(CBN_SELCHANGE) << 16) | WPARAM(id),
                reinterpret_cast<LPARAM>(list));
}

void Press(HWND dialog, int id) {
    SendMessage(dialog, WM_COMMAND, WPARAM(id), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::vector<std::string> CallsSince(host::test::FakeAudioState& audio, size_t mark) {
    const std::vector<std::string> calls = audio.Calls();
    return mark < calls.size() ? std::vector<std::string>(calls.begin() + long(mark), calls.end())
                               : std::vector<std::string>{};
}

} // namespace shell::test
