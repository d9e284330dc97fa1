#include "controls/DirectoryScanner.h"

#include <climits>
#include <cstdlib>
#include <memory>
#include <strings.h>
#include <sys/stat.h>

namespace vx::ui {

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The base path equals the target or lies inside it.
bool LeadsBack(const std::string& base, const std::string& target) {
    return base.size() >= target.size() &&
           strncasecmp(base.c_str(), target.c_str(), target.size()) == 0 &&
           (base.size() == target.size() || base[target.size()] == '/');
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
    return mDir && Next() ? 0 : 1;
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
        const std::unique_ptr<char, decltype(&std::free)> target(realpath(full.c_str(), nullptr),
                                                                 &std::free);
        if (!target || !IsFolder(target.get()))
            return 0;
        return LeadsBack(mBasePath, target.get()) ? 4 : 2;
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
}

} // namespace vx::ui
