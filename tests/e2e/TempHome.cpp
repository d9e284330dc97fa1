#include "tests/e2e/TempHome.h"

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace e2e {

namespace fs = std::filesystem;

TempHome::TempHome(const fs::path& folder) : mHome(folder / "home") {
    for (const char* sub : {".config", ".local/share", ".cache"})
        fs::create_directories(mHome / sub);
    fs::create_directories(folder / "run");
    chmod((folder / "run").c_str(), 0700);
    std::ofstream(folder / "alsa.conf").flush();
    Set("HOME", mHome.string());
    Set("XDG_CONFIG_HOME", (mHome / ".config").string());
    Set("XDG_DATA_HOME", (mHome / ".local/share").string());
    Set("XDG_CACHE_HOME", (mHome / ".cache").string());
    Set("XDG_RUNTIME_DIR", (folder / "run").string());
    Set("ALSA_CONFIG_PATH", (folder / "alsa.conf").string());
}

TempHome::~TempHome() {
    for (auto it = mSaved.rbegin(); it != mSaved.rend(); ++it) {
        if (it->second)
            setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            unsetenv(it->first.c_str());
    }
}

void TempHome::Set(const char* name, const std::string& value) {
    const char* old = std::getenv(name);
    mSaved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    setenv(name, value.c_str(), 1);
}

fs::path TempHome::SettingsPath() const {
    return mHome / ".config/OmnarControl/settings.ini";
}

fs::path TempHome::PresetsFolder() const {
    return mHome / ".local/share/OmnarControl/Presets";
}

} // namespace e2e
