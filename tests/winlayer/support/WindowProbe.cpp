
#include "tests/winlayer/support/WindowProbe.h"

#include "platform/ak/test/AkTest.h"
#include "winlayer/SizeLimits.h"

#include <algorithm>

namespace winlayer::test {
namespace {

class Delegate : public ak::ApplicationDelegate, public QueueHost {};

} // namespace

WindowProbe& WindowProbe::Current() {
    static WindowProbe probe;
    return probe;
}

std::string WindowProbe::NameOf(HWND window) const {
    auto it = names.find(window);
    return it == names.end() ? "?" : it->second;
}

LRESULT WindowProbe::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowProbe& probe = Current();
    if (std::find(probe.quiet.begin(), probe.quiet.end(), message) == probe.quiet.end())
        probe.log.push_back(probe.NameOf(window) + " " + std::to_string(message) + " " +
                            std::to_string(wParam));
    if (probe.hook)
        if (const LRESULT answer = probe.hook(window, message, wParam, lParam))
            return answer;
    auto it = probe.answers.find(message);
    return it == probe.answers.end() ? 0 : it->second;
}

INT_PTR WindowProbe::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Proc(window, message, wParam, lParam);
}

bool InOrder(const std::vector<std::string>& log, const std::vector<std::string>& want) {
    auto it = log.begin();
    for (const std::string& line : want) {
        it = std::find(it, log.end(), line);
        if (it == log.end())
            return false;
        ++it;
    }
    return true;
}

void WindowTest::SetUp() {
    static Delegate delegate;
    ak::Application* app = ak::test::App();
    ASSERT_NE(app, nullptr);
    app->SetDelegate(&delegate);
    WISP_Internal_PostMessage_Init();
    probe = WindowProbe{};
    probe.quiet = {WM_SIZE,          WM_SETFOCUS, WM_KILLFOCUS,  WM_MOUSEACTIVATE, WM_ACTIVATE,
                   WM_GETMINMAXINFO, WM_MOVE,     WM_NCCALCSIZE, WM_SHOWWINDOW};
}

void WindowTest::TearDown() {
    for (const auto& window : ak::Window::AllWindows())
        window->Close();
    ak::test::WaitUntilServed(); // the closes go through
}

} // namespace winlayer::test
