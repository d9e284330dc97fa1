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
// its parents (mode 0700) when missing; existing folders are left alone. When a
// folder cannot be made the path is still returned, never cut or emptied, and
// `error`, when given, says which folder failed and why.
std::string DataFolder(FolderError* error = nullptr);       // $XDG_DATA_HOME/OmnarControl/
std::string PresetsFolder(FolderError* error = nullptr);    // <data>/Presets/
std::string UserIRFolder(FolderError* error = nullptr);     // <data>/User IRs/
std::string FactoryIRFolder(FolderError* error = nullptr);  // <data>/Factory IRs/
std::string ConfigFolder(FolderError* error = nullptr);     // $XDG_CONFIG_HOME/OmnarControl/
std::string SettingsFilePath(FolderError* error = nullptr); // <config>/settings.ini

// The folder of the program's resources: <executable folder>/resources/ in a
// build tree, else <executable folder>/../share/omnarcontrol/ when installed.
// Empty when neither exists.
std::string ResourceFolder();

} // namespace sys
