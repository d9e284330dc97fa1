// Until the application shell stands, the program shows the panel in a plain
// window: no menus, no preferences, and no MIDI or audio, so no device link.

#include "device/OmnarControl.h"
#include "platform/ak/Application.h"
#include "platform/ak/Window.h"
#include "toolkit/ICanvas.h"

#include <cstdio>
#include <functional>
#include <mutex>

namespace {

class NoDeviceHost : public vx::IStandaloneHostLink {
public:
    vx::IMidiOutputPort* MidiOutput() override { return nullptr; }
    std::mutex& MidiOutputMutex() override { return mutex; }
    HWND MainWindow() const override { return nullptr; }

private:
    std::mutex mutex;
};

// Closing the window closes the panel while its view still stands, then ends the program.
class PanelWindow : public ak::Window {
public:
    using ak::Window::Window;
    bool ShouldClose() override {
        if (onClose)
            onClose();
        ak::Application::Shared()->Terminate();
        return true;
    }
    std::function<void()> onClose;
};

} // namespace

int main() {
    std::printf("OmnarControl %s: the panel alone; the application shell, MIDI and audio are "
                "not built yet\n",
                OMNAR_VERSION);
    ak::Ref<ak::Application> app = ak::Application::Create();
    if (!app)
        return 1;
    NoDeviceHost host;
    std::unique_ptr<OmnarControl> editor = CreatePlugInstance(vx::InstanceInfo{&host});
    auto window = ak::Ref<PanelWindow>::Adopt(
        new PanelWindow({{100, 100}, {960, 600}}, ak::StyleMask::Titled | ak::StyleMask::Closable |
                                                      ak::StyleMask::Miniaturizable));
    window->SetTitle("OmnarControl");
    window->onClose = [&editor] { editor->CloseEditor(); };
    editor->OpenEditor(window->ContentView());
    // The layout sized the panel to its saved scale; the window follows.
    if (const vx::ui::ICanvas* panel = editor->GetGraphics()) {
        const double scale = panel->GetDrawScale();
        window->SetFrame({{100, 100}, {panel->Width() * scale, panel->Height() * scale}});
    }
    window->MakeKeyAndOrderFront();
    app->Run();
    editor->CloseEditor();
    return 0;
}
