#include "winlayer/IniImage.h"
#include "winlayer/PrivateProfile.h"

#include "tests/winlayer/IniTestSupport.h"

#include <string>
#include <thread>
#include <vector>

namespace {

class IniThreadsTest : public IniFolderTest {};

TEST_F(IniThreadsTest, ThreadsWritingDifferentKeysKeepThemAll) {
    const std::string file = PathOf("settings.ini");
    constexpr int kThreads = 4;
    constexpr int kKeys = 25;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&file, t] {
            for (int k = 0; k < kKeys; ++k) {
                const std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
                WritePrivateProfileString(t % 2 ? "odd" : "even", key.c_str(), key.c_str(),
                                          file.c_str());
            }
        });
    }
    for (auto& writer : writers)
        writer.join();
    const winlayer::IniImage onDisk = winlayer::ParseIni(ReadFile(file));
    std::size_t keys = 0;
    for (const auto& section : onDisk.sections) {
        for (const auto& [key, value] : section.value) {
            EXPECT_EQ(key, value);
            ++keys;
        }
    }
    EXPECT_EQ(keys, static_cast<std::size_t>(kThreads * kKeys));
}

} // namespace
