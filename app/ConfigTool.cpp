#include "app/ConfigTool.h"

#include "platform/sys/ChildProcess.h"

#include <cstdlib>
#include <memory>
#include <string_view>
#include <unistd.h>

namespace shell {

namespace {

std::unique_ptr<sys::ChildProcess>& Running() {
    static std::unique_ptr<sys::ChildProcess> tool;
    return tool;
}

std::string FindOnPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        if (folder.empty() || folder.front() != '/')
            continue;
        std::string candidate = std::string(folder) + "/" + std::string(program);
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

} // namespace

std::string FindConfigTool() {
    for (const char* program : {"pavucontrol", "qjackctl"})
        if (std::string found = FindOnPath(program); !found.empty())
            return found;
    return {};
}

bool StartConfigTool() {
    std::unique_ptr<sys::ChildProcess>& tool = Running();
    if (tool && tool->IsRunning())
        return false;
    tool.reset();
    const std::string path = FindConfigTool();
    if (path.empty())
        return false;
    tool = sys::ChildProcess::Spawn(path, {}, false);
    return tool != nullptr;
}

} // namespace shell
