#include "tests/devsim/SimConsole.h"

#include "tests/devsim/SimSlotFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace devsim;

namespace {

TEST(SimConsole, LinesParseIntoCommandsOrErrors) {
    const struct {
        const char* line;
        ConsoleCommand command;
        bool ok;
    } cases[] = {
        {"turn 5 64", TurnCommand{5, 64}, true},
        {"  turn\t0   127 \r", TurnCommand{0, 127}, true},
        {"turn 77 1", TurnCommand{77, 1}, true},
        {"save", SaveCommand{}, true},
        {"", NoCommand{}, true},
        {"   ", NoCommand{}, true},
        {"turn 5", NoCommand{}, false},
        {"turn 5 64 1", NoCommand{}, false},
        {"turn 128 0", NoCommand{}, false},
        {"turn 5 -1", NoCommand{}, false},
        {"turn 5 0x10", NoCommand{}, false},
        {"turn five 10", NoCommand{}, false},
        {"save now", NoCommand{}, false},
        {"Turn 5 64", NoCommand{}, false},
        {"reboot", NoCommand{}, false},
    };
    for (const auto& c : cases) {
        const ConsoleParse parsed = ParseConsoleLine(c.line);
        EXPECT_EQ(parsed.error.empty(), c.ok) << '"' << c.line << "\": " << parsed.error;
        EXPECT_EQ(parsed.command, c.command) << '"' << c.line << '"';
    }
}

TEST(SimConsole, TurnSendsTheKnobsParamValueAndKeepsIt) {
    DeviceSim sim;
    EXPECT_EQ(RunConsoleLine("turn 5 99", sim, {}, 100).error, "");
    const std::vector<Bytes> sent = sim.Poll(100);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x51, 0x0C, 5, 99, 0xF7}));
    EXPECT_EQ(sim.State().editBuffer[kPresetValuesOffset + 5], 99);

    EXPECT_NE(RunConsoleLine("turn 5 300", sim, {}, 200).error, "");
    EXPECT_NE(RunConsoleLine("save", sim, {}, 200).error, "") << "no state folder to save into";
    EXPECT_TRUE(sim.Poll(200).empty()) << "a refused line sends nothing";
}

TEST(SimConsole, SaveWritesTheStateFolderAndTheLastFirmware) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "devsim-console-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path dir = pattern;

    DeviceSim sim;
    sim.MutableState().presets[4][kPresetNameOffset] = 'Q';
    EXPECT_EQ(RunConsoleLine("save", sim, dir, 0).error, "");
    EXPECT_EQ(std::filesystem::file_size(dir / "Presets" / "128.dat"), 256u);
    EXPECT_FALSE(std::filesystem::exists(dir / "firmware.bin")) << "no firmware received yet";
    SimState loaded = FactoryState();
    EXPECT_TRUE(LoadSlotFiles(dir, loaded).empty());
    EXPECT_EQ(loaded.presets[4], sim.State().presets[4]);

    const Bytes image = {0x00, 0xFF, 0x80, 0x7F, 0xF7};
    sim.MutableState().firmware = image;
    const ConsoleOutcome saved = RunConsoleLine("save", sim, dir, 0);
    EXPECT_EQ(saved.error, "");
    EXPECT_EQ(saved.reply, "devsim saved");
    std::ifstream in(dir / "firmware.bin", std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), image);

    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

TEST(SimConsole, InputSplitsLinesAsTheyArriveAndKeepsAnUnendedLastOne) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ConsoleInput input(fds[0]);
    EXPECT_TRUE(input.TakeLines().empty()) << "nothing written: no wait, no line";

    ASSERT_EQ(write(fds[1], "turn 5 1\nsa", 11), 11);
    EXPECT_EQ(input.TakeLines(), (std::vector<std::string>{"turn 5 1"}));
    ASSERT_EQ(write(fds[1], "ve\n\nturn", 8), 8);
    EXPECT_EQ(input.TakeLines(), (std::vector<std::string>{"save", ""}));
    EXPECT_FALSE(input.Closed());

    close(fds[1]);
    EXPECT_EQ(input.TakeLines(), (std::vector<std::string>{"turn"}));
    EXPECT_TRUE(input.Closed());
    EXPECT_TRUE(input.TakeLines().empty());
    close(fds[0]);
}

} // namespace
