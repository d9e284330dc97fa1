#pragma once

// A user of its own for the program started from here: HOME, the XDG folders
// and a runtime folder inside a given folder, and an ALSA configuration with
// no sequencer, so the host lands on JACK. The variables are set in this
// process (children inherit them) and restored when the object goes.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

class TempHome {
public:
    explicit TempHome(const std::filesystem::path& folder);
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& Home() const { return mHome; }
    std::filesystem::path SettingsPath() const;
    std::filesystem::path PresetsFolder() const;

private:
    void Set(const char* name, const std::string& value);
    std::filesystem::path mHome;
    std::vector<std::pair<std::string, std::optional<std::string>>> mSaved;
};

} // namespace e2e
