#include "platform/sys/Folders.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// GLib's home and XDG queries cache their first answer for the whole process,
// so a changed environment would go unseen; the lookups here are plain POSIX.

namespace sys {
namespace {

constexpr std::string_view kAppFolder = "OmnarControl/";

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }

private:
    int fd_;
};

FileDescriptor OpenFolderAt(int dir, const char* name) {
    return FileDescriptor(::openat(dir, name, O_PATH | O_DIRECTORY | O_CLOEXEC));
}

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

// "/a/b//" -> "/a/b"; the root stays "/".
std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string Join(std::string_view base, std::string_view rest) {
    while (!base.empty() && base.back() == '/')
        base.remove_suffix(1);
    std::string joined(base);
    joined += '/';
    joined += rest;
    return joined;
}

// Walks `path` one name at a time with the *at() calls, so that no length
// limit applies to the whole path. With `make`, missing folders are made and
// then set to 0700, since mkdir's mode is cut by the umask. Returns the first
// folder that is missing or could not be made.
std::optional<FolderError> WalkFolders(const std::string& path, bool make) {
    const bool absolute = path.starts_with('/');
    std::string walked = absolute ? "/" : "";
    FileDescriptor dir(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid())
        return FolderError{absolute ? walked : "./", {errno, std::generic_category()}};

    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string name = path.substr(start, end - start);
        start = end + 1;
        if (name.empty())
            continue;
        walked += name;
        walked += '/';

        FileDescriptor next = OpenFolderAt(dir.Get(), name.c_str());
        int failure = next.Valid() ? 0 : errno;
        if (failure == ENOENT && make) {
            if (::mkdirat(dir.Get(), name.c_str(), 0700) == 0) {
                if (::fchmodat(dir.Get(), name.c_str(), 0700, 0) != 0)
                    return FolderError{walked, {errno, std::generic_category()}};
            } else if (errno != EEXIST) {
                return FolderError{walked, {errno, std::generic_category()}};
            }
            next = OpenFolderAt(dir.Get(), name.c_str());
            failure = next.Valid() ? 0 : errno;
        }
        if (failure != 0)
            return FolderError{walked, {failure, std::generic_category()}};
        dir = std::move(next);
    }
    return std::nullopt;
}

// Makes `folder` (ending in '/') and reports through `error`; returns it whole
// either way. A relative folder means no home was found: nothing is made.
std::string MadeFolder(std::string folder, FolderError* error) {
    std::optional<FolderError> failure;
    if (folder.starts_with('/'))
        failure = WalkFolders(folder, true);
    else
        failure = FolderError{folder, std::make_error_code(std::errc::no_such_file_or_directory)};
    if (error != nullptr)
        *error = failure.value_or(FolderError{});
    return folder;
}

std::string PasswdHome() {
    const long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 1024);
    passwd entry{};
    passwd* found = nullptr;
    int result = 0;
    while ((result = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found)) ==
               ERANGE &&
           buffer.size() < (std::size_t{1} << 24))
        buffer.resize(buffer.size() * 2);
    if (result != 0 || found == nullptr || !IsAbsolute(found->pw_dir))
        return {};
    return WithoutTrailingSlashes(found->pw_dir);
}

// The XDG variable's folder when it is absolute, else `belowHome` in home.
std::string UserBase(const char* variable, std::string_view belowHome) {
    const char* value = std::getenv(variable);
    if (IsAbsolute(value))
        return value;
    const std::string home = HomeFolder();
    return Join(home.empty() ? "~" : home, belowHome);
}

std::string DataPath() {
    return Join(UserBase("XDG_DATA_HOME", ".local/share"), kAppFolder);
}
std::string ConfigPath() {
    return Join(UserBase("XDG_CONFIG_HOME", ".config"), kAppFolder);
}

std::string ExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

bool IsFolder(const std::string& path) {
    return !WalkFolders(path, false).has_value();
}

} // namespace

std::string DataFolder(FolderError* error) {
    return MadeFolder(DataPath(), error);
}
std::string PresetsFolder(FolderError* error) {
    return MadeFolder(DataPath() + "Presets/", error);
}
std::string UserIRFolder(FolderError* error) {
    return MadeFolder(DataPath() + "User IRs/", error);
}
std::string FactoryIRFolder(FolderError* error) {
    return MadeFolder(DataPath() + "Factory IRs/", error);
}
std::string ConfigFolder(FolderError* error) {
    return MadeFolder(ConfigPath(), error);
}
std::string SettingsFilePath(FolderError* error) {
    return ConfigFolder(error) + "settings.ini";
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return IsAbsolute(home) ? WithoutTrailingSlashes(home) : PasswdHome();
}

std::string ResourceFolder() {
    const std::string executable = ExecutablePath();
    const std::size_t slash = executable.rfind('/');
    if (slash == std::string::npos)
        return {};
    return ResourceFolderFor(executable.substr(0, slash + 1));
}

std::string ResourceFolderFor(const std::string& exeFolder) {
    if (exeFolder.empty())
        return {};
    std::string built = Join(exeFolder, "resources/");
    if (IsFolder(built))
        return built;

    const std::string folder = WithoutTrailingSlashes(exeFolder);
    const std::size_t slash = folder.rfind('/');
    const std::string parent = folder == "/"                ? std::string("/")
                               : slash == std::string::npos ? std::string(".")
                                                            : folder.substr(0, slash);
    std::string installed = Join(parent, "share/omnarcontrol/");
    return IsFolder(installed) ? installed : std::string{};
}

} // namespace sys
