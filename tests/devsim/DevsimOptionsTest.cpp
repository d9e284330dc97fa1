#include "tests/devsim/DevsimOptions.h"
#include "tests/devsim/SimSlotFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace devsim;

namespace {

OptionsParse Parse(std::initializer_list<const char*> args) {
    return ParseDevsimOptions(std::span<const char* const>(args.begin(), args.size()));
}

} // namespace

TEST(DevsimOptions, DefaultsAndEveryOption) {
    const OptionsParse none = Parse({});
    ASSERT_TRUE(none.ok);
    EXPECT_EQ(none.options.name, "OmnarSim");
    EXPECT_EQ(none.options.gapMs, 5);
    EXPECT_EQ(none.options.versionByte, 0x0C);

    const OptionsParse all = Parse({"--name", "Sim2", "--version-byte=0x09", "--serial", "X-1",
                                    "--gap-ms", "0", "--fault", "drop:55", "--fault=nak:L13:2",
                                    "--state", "/tmp/s", "--log", "l.txt", "--exit-after", "1.5"});
    ASSERT_TRUE(all.ok) << all.error;
    EXPECT_EQ(all.options.name, "Sim2");
    EXPECT_EQ(all.options.versionByte, 9);
    EXPECT_EQ(all.options.serial, "X-1");
    EXPECT_EQ(all.options.gapMs, 0);
    ASSERT_EQ(all.options.faults.size(), 2u);
    EXPECT_EQ(all.options.faults[1].occurrence, 2);
    EXPECT_EQ(all.options.stateDir, "/tmp/s");
    EXPECT_EQ(all.options.logFile, "l.txt");
    EXPECT_DOUBLE_EQ(all.options.exitAfterSeconds, 1.5);
    EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(DevsimOptions, BadOptionsAreExplained) {
    const std::vector<std::vector<const char*>> bad = {
        {"--name", "a:b"},
        {"--name", ""},
        {"--version-byte", "128"},
        {"--version-byte", "x"},
        {"--serial", "\xC3\x9C"},
        {"--gap-ms", "-1"},
        {"--fault", "drop:99"},
        {"--exit-after", "0"},
        {"--exit-after", "soon"},
        {"--log"},
        {"--state="},
        {"--colour", "red"},
        {"stray"},
    };
    for (const auto& args : bad) {
        const OptionsParse parsed = ParseDevsimOptions(args);
        EXPECT_FALSE(parsed.ok) << args[0];
        EXPECT_FALSE(parsed.error.empty()) << args[0];
    }
}

TEST(SimSlotFiles, StateSurvivesASaveAndLoad) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("devsim-slots-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);

    SimState saved = FactoryState();
    saved.presets[127][2] = 'Z';
    IRImage ir = SyntheticFactoryIR(1);
    saved.userIRs[300] = ir;
    ASSERT_EQ(SaveSlotFiles(dir, saved), "");
    EXPECT_EQ(std::filesystem::file_size(dir / "Presets" / "128.dat"), 256u);
    EXPECT_EQ(std::filesystem::file_size(dir / "User IRs" / "301.dat"), 2436u);
    EXPECT_FALSE(std::filesystem::exists(dir / "User IRs" / "001.dat"));

    std::ofstream(dir / "Presets" / "002.dat", std::ios::binary | std::ios::trunc) << "short";
    SimState loaded = FactoryState();
    const auto problems = LoadSlotFiles(dir, loaded);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("002.dat"), std::string::npos);
    EXPECT_EQ(loaded.presets[127], saved.presets[127]);
    EXPECT_EQ(loaded.presets[1], DefaultPreset(1));
    ASSERT_TRUE(loaded.userIRs[300].has_value());
    EXPECT_EQ(*loaded.userIRs[300], ir);
    EXPECT_FALSE(loaded.userIRs[0].has_value());

    SimState untouched = FactoryState();
    EXPECT_TRUE(LoadSlotFiles(dir / "missing", untouched).empty());
    std::filesystem::remove_all(dir);
}
