#include "tests/devsim/SimSlotFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace devsim;

namespace {

// A fresh folder of its own, removed however the test ends.
class SimSlotFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "devsim-slots-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    std::filesystem::path dir;
};

} // namespace

TEST_F(SimSlotFiles, StateSurvivesASaveAndLoad) {

    SimState saved = FactoryState();
    saved.presets[127][2] = 'Z';
    IRImage ir = SyntheticFactoryIR(1);
    saved.userIRs[300] = ir;
    ASSERT_EQ(SaveSlotFiles(dir, saved), "");
    EXPECT_EQ(std::filesystem::file_size(dir / "Presets" / "128.dat"), 256u);
    EXPECT_EQ(std::filesystem::file_size(dir / "User IRs" / "301.dat"), 2436u);
    EXPECT_FALSE(std::filesystem::exists(dir / "User IRs" / "001.dat"));

    std::ofstream(dir / "Presets" / "002.dat", std::ios::binary | std::ios::trunc) << "short";
    // A status byte in a preset would cut the SysEx reply that carries it.
    PresetImage highByte = DefaultPreset(2);
    highByte[40] = 0xF7;
    std::ofstream(dir / "Presets" / "003.dat", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(highByte.data()), highByte.size());
    SimState loaded = FactoryState();
    const auto problems = LoadSlotFiles(dir, loaded);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("002.dat"), std::string::npos);
    EXPECT_NE(problems[1].find("003.dat"), std::string::npos);
    EXPECT_EQ(loaded.presets[127], saved.presets[127]);
    EXPECT_EQ(loaded.presets[1], DefaultPreset(1));
    EXPECT_EQ(loaded.presets[2], DefaultPreset(2));
    ASSERT_TRUE(loaded.userIRs[300].has_value());
    EXPECT_EQ(*loaded.userIRs[300], ir);
    EXPECT_FALSE(loaded.userIRs[0].has_value());

    SimState untouched = FactoryState();
    EXPECT_TRUE(LoadSlotFiles(dir / "missing", untouched).empty());
}
