#include "controls/DirectoryScanner.h"

#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>
#include <strings.h>
#include <sys/stat.h>

namespace vx::ui {

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The base path equals the target or lies inside it. The root is compared as
// an empty prefix, so that every folder lies inside it.
bool LeadsBack(const std::string& base, std::string target) {
    if (target == "/")
        target.clear();
    return base.size() >= target.size() &&
           strncasecmp(base.c_str(), target.c_str(), target.size()) == 0 &&
           (base.size() == target.size() || base[target.size()] == '/');
}

// The absolute path without links, or nothing when it cannot be resolved.
std::optional<std::string> Resolved(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (!resolved)
        return std::nullopt;
    return std::string(resolved.get());
}

} // namespace

int DirectoryScanner::First(const char* path) {
    if (!path || !*path)
        return -1;
    Close();
    mBasePath = path;
    if (mBasePath.back() == '/' || mBasePath.back() == '\\')
        mBasePath.pop_back();
    if (mBasePath.empty())
        mBasePath = "/";
    mDir = opendir(mBasePath.c_str());
    if (!mDir)
        return 1;
    mResolvedBase = Resolved(mBasePath).value_or(mBasePath);
    return Next() ? 0 : 1;
}

bool DirectoryScanner::Next() {
    mEntry = mDir ? readdir(mDir) : nullptr;
    return mEntry != nullptr;
}

int DirectoryScanner::CurrentIsDirectory() const {
    if (!mEntry)
        return 0;
    const std::string full = mBasePath + "/" + mEntry->d_name;
    switch (mEntry->d_type) {
    case DT_DIR:
        return 1;
    case DT_UNKNOWN:
        return IsFolder(full) ? 1 : 0;
    case DT_LNK: {
        const std::optional<std::string> target = Resolved(full);
        if (!target || !IsFolder(*target))
            return 0;
        return LeadsBack(mResolvedBase, *target) ? 4 : 2;
    }
    default:
        return 0;
    }
}

void DirectoryScanner::CurrentFullPath(VxString& out) const {
    out.SetBounded(mBasePath.c_str());
    out.AppendBounded("/");
    out.AppendBounded(CurrentName());
}

void DirectoryScanner::Close() {
    if (mDir)
        closedir(mDir);
    mDir = nullptr;
    mEntry = nullptr;
    mBasePath.clear();
    mResolvedBase.clear();
}

} // namespace vx::ui
