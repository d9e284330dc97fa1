// ShellExecute: addresses, files and folders go to the desktop's
// applications; nothing is run as a program.
#include "platform/sys/Open.h"
#include "winlayer/shell/ShellCalls.h"

#include <cstring>
#include <strings.h>

namespace winlayer {

namespace {

constexpr const char* kSelectPrefix = "/select,\"";
constexpr const char* kTextEditor = "notepad";

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    return strncasecmp(text.c_str(), prefix, std::strlen(prefix)) == 0;
}

bool EndsWithNoCase(const std::string& text, const char* suffix) {
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

bool Is(const std::string& text, const char* name) {
    return strcasecmp(text.c_str(), name) == 0;
}

class Desktop : public ShellLauncher {
public:
    bool OpenUri(const std::string& uri) override { return sys::OpenUri(uri); }
    bool RevealPath(const std::string& path) override { return sys::RevealPath(path); }
    bool OpenPath(const std::string& path, const char* contentType) override {
        return contentType ? sys::OpenPath(path, contentType) : sys::OpenPath(path);
    }
};

} // namespace

ShellPlan PlanShellExecute(const char* fileArgument, const char* parametersArgument) {
    const std::string file = fileArgument ? fileArgument : "";
    std::string parameters = parametersArgument ? parametersArgument : "";
    if (StartsWithNoCase(file, "http://") || StartsWithNoCase(file, "https://"))
        return {ShellAction::OpenUri, file};
    if (Is(parameters, "explorer.exe"))
        parameters.clear();
    const bool textEditor = Is(file, "notepad.exe") || Is(file, "notepad");
    const std::string application = Is(file, "explorer.exe") ? "" : textEditor ? kTextEditor : file;
    if (!application.empty() && !parameters.empty()) {
        // A named application has no counterpart here, except the text editor.
        return textEditor ? ShellPlan{ShellAction::OpenWithTextEditor, parameters} : ShellPlan{};
    }
    if (textEditor)
        return {};
    const std::string target = !application.empty() ? application : parameters;
    if (target.empty())
        return {};
    if (StartsWithNoCase(target, kSelectPrefix)) {
        std::string path = target.substr(std::strlen(kSelectPrefix));
        if (!path.empty() && path.back() == '"')
            path.pop_back();
        return {ShellAction::Reveal, path};
    }
    if (EndsWithNoCase(target, ".app"))
        return {};
    return {ShellAction::OpenPath, target};
}

ShellLauncher& DesktopLauncher() {
    static Desktop desktop;
    return desktop;
}

INT_PTR CarryOut(const ShellPlan& plan, ShellLauncher& launcher) {
    bool done = false;
    switch (plan.action) {
    case ShellAction::None:
        break;
    case ShellAction::OpenUri:
        done = launcher.OpenUri(plan.target);
        break;
    case ShellAction::Reveal:
        done = launcher.RevealPath(plan.target);
        break;
    case ShellAction::OpenWithTextEditor:
        done = launcher.OpenPath(plan.target, "text/plain");
        break;
    case ShellAction::OpenPath:
        done = launcher.OpenPath(plan.target, nullptr);
        break;
    }
    return done ? 1 : 0;
}

} // namespace winlayer

INT_PTR ShellExecute(HWND, const char*, const char* file, const char* parameters, const char*,
                     int) {
    return winlayer::CarryOut(winlayer::PlanShellExecute(file, parameters),
                              winlayer::DesktopLauncher());
}
