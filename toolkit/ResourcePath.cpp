#include "toolkit/ResourcePath.h"

#include "platform/sys/Folders.h"

#include <strings.h>
#include <sys/stat.h>

#include <string>

namespace vx {

namespace {

bool IsFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

bool FindResourcePath(const char* name, const char* type, VxString& out, const char*, const char*,
                      const char* subPath) {
    out.SetBounded("");
    if (!name || !*name)
        return false;
    const std::string n(name);
    const size_t dot = n.rfind('.');
    const std::string ext = dot == std::string::npos ? "" : n.substr(dot + 1);
    if (type && strcasecmp(ext.c_str(), type) == 0) {
        const std::string folder = sys::ResourceFolder();
        if (!folder.empty()) {
            std::string candidate = folder;
            if (subPath && *subPath)
                candidate += std::string(subPath) + "/";
            candidate += n.substr(0, dot) + "." + type;
            if (IsFile(candidate)) {
                out.SetBounded(candidate.c_str());
                return true;
            }
        }
    }
    if (IsFile(n)) {
        out.SetBounded(name);
        return true;
    }
    return false;
}

} // namespace vx
