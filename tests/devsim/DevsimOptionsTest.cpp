#include "tests/devsim/DevsimOptions.h"

#include <gtest/gtest.h>

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
    EXPECT_FALSE(none.options.commands);

    const OptionsParse all =
        Parse({"--name", "Sim2", "--version-byte=0x09", "--serial", "X-1", "--gap-ms", "0",
               "--fault", "drop:55", "--fault=nak:L13:2", "--state", "/tmp/s", "--log", "l.txt",
               "--exit-after", "1.5", "--commands"});
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
    EXPECT_TRUE(all.options.commands);
    EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(DevsimOptions, BadOptionsAreExplained) {
    const std::vector<std::vector<const char*>> bad = {
        {"--name", "a:b"},         {"--name", ""},
        {"--version-byte", "128"}, {"--version-byte", "x"},
        {"--serial", "\xC3\x9C"},  {"--gap-ms", "-1"},
        {"--fault", "drop:99"},    {"--exit-after", "0"},
        {"--exit-after", "soon"},  {"--log"},
        {"--commands=yes"},        {"--state="},
        {"--colour", "red"},       {"stray"},
    };
    for (const auto& args : bad) {
        const OptionsParse parsed = ParseDevsimOptions(args);
        EXPECT_FALSE(parsed.ok) << args[0];
        EXPECT_FALSE(parsed.error.empty()) << args[0];
    }
}
