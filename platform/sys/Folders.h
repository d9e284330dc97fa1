#pragma once

#include <string>
#include <system_error>

namespace sys {

// A folder that could not be made, named by its full path.
struct FolderError {
    std::string path;
    std::error_code code;
};

// Each function returns its folder's full path, ending in '/', making it and
// its parents (mode 0700, whatever the umask) when missing; existing folders
// are left alone, their modes kept. When a folder cannot be made the path is
// still returned, never cut or emptied, and `error`, when given, names the
// first folder that failed (full path, ending in '/') and why; on success it is
// cleared. An XDG variable that is empty or relative is ignored.
std::string DataFolder(FolderError* error = nullptr);       // $XDG_DATA_HOME/OmnarControl/
std::string PresetsFolder(FolderError* error = nullptr);    // <data>/Presets/
std::string UserIRFolder(FolderError* error = nullptr);     // <data>/User IRs/
std::string FactoryIRFolder(FolderError* error = nullptr);  // <data>/Factory IRs/
std::string ConfigFolder(FolderError* error = nullptr);     // $XDG_CONFIG_HOME/OmnarControl/
std::string SettingsFilePath(FolderError* error = nullptr); // <config>/settings.ini

// The user's home folder without a trailing '/': $HOME when it is an absolute
// path, else the passwd entry's. Empty when neither is known; the folders
// below home then start with "~/", report ENOENT and make nothing.
std::string HomeFolder();

// The user's desktop folder without a trailing '/': the XDG desktop folder,
// else <home>/Desktop. Made nowhere; it may not exist.
std::string DesktopFolder();

// The folder of the program's resources: <executable folder>/resources/ in a
// build tree, else <executable folder>/../share/omnarcontrol/ when installed.
// Empty when neither exists.
std::string ResourceFolder();

// The same search from a given executable folder, as the kernel reports it
// (absolute, no symbolic links), so that its parent is found by cutting.
std::string ResourceFolderFor(const std::string& exeFolder);

} // namespace sys
