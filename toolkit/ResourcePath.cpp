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
        const std::string file = n.substr(0, dot) + "." + type;
        // The sub-folder first, then the folder itself: the program keeps
        // one resource folder, whatever sub-folder a context names.
        for (const bool inSubFolder : {true, false}) {
            if (folder.empty() || (inSubFolder && !(subPath && *subPath)))
                continue;
            const std::string candidate =
                folder + (inSubFolder ? std::string(subPath) + "/" : std::string()) + file;
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
