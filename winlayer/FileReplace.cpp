#include "winlayer/FileReplace.h"

#include "platform/sys/StagedFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winlayer {

namespace {

// The process's umask, read without changing it (umask() would race with
// threads creating files).
mode_t CurrentUmask() {
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            unsigned int value;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value);
                break;
            }
        }
        std::fclose(status);
    }
    return mask;
}

// The file a write to path really replaces: a symbolic link's target.
bool ResolveTarget(const std::string& path, std::string& target) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        target = path;
        return true;
    }
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved))
        return false;
    target = resolved;
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

unsigned int ModeForReplacing(const std::string& target) {
    return sys::ReplacementMode(target, 0666 & ~CurrentUmask());
}

bool ReplaceFileContents(const std::string& path, std::string_view contents) {
    std::string target;
    if (!ResolveTarget(path, target))
        return false;
    sys::StagedFile staged;
    if (!staged.Create(target, ModeForReplacing(target)))
        return false;
    if (!WriteAll(staged.Descriptor(), contents)) {
        staged.Discard();
        return false;
    }
    return staged.Commit();
}

void RemoveStaleTemporaryFiles(const std::string& target) {
    const std::string folderPath = sys::FolderOfPath(target);
    const std::string prefix = sys::StagedFile::TemporaryPrefix(target.substr(folderPath.size()));
    DIR* folder = opendir(folderPath.empty() ? "." : folderPath.c_str());
    if (!folder)
        return;
    // The suffix mkostemp fills in is six characters long.
    while (const dirent* item = readdir(folder)) {
        const std::string_view name = item->d_name;
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix))
            unlinkat(dirfd(folder), item->d_name, 0);
    }
    closedir(folder);
}

} // namespace winlayer
