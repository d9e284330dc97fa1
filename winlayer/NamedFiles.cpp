#include "winlayer/NamedFiles.h"

#include "platform/sys/Folders.h"

namespace winlayer {

std::vector<std::string> NamedFileCandidates(const std::string& name, const char* extension) {
    std::vector<std::string> candidates;
    if (name.find('/') != std::string::npos)
        candidates.push_back(name);
    const std::string bare = name.substr(name.rfind('/') + 1);
    std::string folder = sys::ResourceFolder();
    if (bare.empty() || folder.empty())
        return candidates;
    if (folder.back() != '/')
        folder += '/';
    candidates.push_back(folder + bare);
    candidates.push_back(folder + bare + extension);
    return candidates;
}

} // namespace winlayer
