#include "platform/sys/Log.h"
#include "tests/device/LibraryFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

using namespace omnar::test;

constexpr int kPatchOffset = 91;

// A slot file as the device sends it: bytes 0 and 1, the name, then values.
Bytes SlotFile(const std::string& name, std::uint8_t fill = 0, std::size_t size = 256) {
    Bytes bytes(size, fill);
    for (std::size_t i = 0; i < 32 && i + 2 < size; ++i)
        bytes[i + 2] = std::uint8_t(i < name.size() ? name[i] : ' ');
    return bytes;
}

std::string SlotPath(const TempDataHome& home, int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", number);
    return home.PresetsFolder() + name;
}

class PresetLibraryTest : public ::testing::Test {
protected:
    PresetLibraryTest() {
        mkdir((home.Folder() + "/OmnarControl").c_str(), 0700);
        mkdir(home.PresetsFolder().c_str(), 0700);
        editor.OpenPanel();
    }
    std::string Row(int i) { return editor.mPresetRows[std::size_t(i)]->GetString(); }

    TempDataHome home;
    vx::test::FakeHost host;
    LibraryEditor editor{vx::InstanceInfo{&host}};
};

TEST_F(PresetLibraryTest, RefreshShowsNumbersNamesAndChecksums) {
    const std::string fullName(32, 'N');
    WriteFile(SlotPath(home, 1), SlotFile("Slap Bass"));
    WriteFile(SlotPath(home, 2), SlotFile(fullName));
    WriteFile(SlotPath(home, 3), Bytes(256, 127));
    // A short file reads as zero-filled, a long one as its first 256 bytes.
    WriteFile(SlotPath(home, 4), SlotFile("Short", 0, 20));
    WriteFile(SlotPath(home, 5), SlotFile("Long", 1, 400));
    editor.mStreamCount = 9;

    struct Case {
        int offset;
        int row;
        std::string text;
        std::array<std::uint8_t, 2> pair;
    };
    const auto sumPair = [](const Bytes& b) {
        int sum = 0;
        for (std::size_t i = 0; i < 256 && i < b.size(); ++i)
            sum += b[i];
        return std::array<std::uint8_t, 2>{std::uint8_t(sum >> 7 & 0x7F), std::uint8_t(sum & 0x7F)};
    };
    const Case cases[] = {
        {0, 0, " 00 Slap Bass" + std::string(23, ' '), sumPair(SlotFile("Slap Bass"))},
        {1, 0, " 01 Slap Bass" + std::string(23, ' '), sumPair(SlotFile("Slap Bass"))},
        {0, 1, " 01 " + fullName, sumPair(SlotFile(fullName))},
        {0, 2, " 02 " + std::string(32, '\x7f'), {126, 0}},
        {0, 3, " 03 " + std::string("Short") + std::string(13, ' '),
         sumPair(SlotFile("Short", 0, 20))},
        {0, 4, " 04 Long" + std::string(28, ' '), sumPair(SlotFile("Long", 1, 400))},
        {0, 5, " 05 ", {0, 0}},
        {1, 127, " 128 ", {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        editor.SetValue(kPatchOffset, c.offset);
        editor.RefreshPresetList();
        EXPECT_EQ(Row(c.row), c.text);
        EXPECT_EQ(editor.mPresetChecksums[std::size_t(c.row)], c.pair);
    }
    EXPECT_EQ(editor.mStreamCount, 0);
}

TEST_F(PresetLibraryTest, ListingPutsEachFileInItsOwnSlotsRow) {
    for (const int number : {1, 2, 6, 10, 128})
        WriteFile(SlotPath(home, number), SlotFile("Preset " + std::to_string(number)));
    // Not slot files: left out of the rows.
    WriteFile(home.PresetsFolder() + "notes.dat.bak", SlotFile("Notes"));
    WriteFile(home.PresetsFolder() + "129.dat", SlotFile("Too far"));
    WriteFile(home.PresetsFolder() + "7.dat", SlotFile("Unpadded"));
    std::vector<std::string> log;
    sys::SetLogSink([&](const std::string& line) { log.push_back(line); });
    editor.ListPresetFolder();
    sys::SetLogSink(nullptr);

    EXPECT_EQ(Row(0), " 00 Preset 1" + std::string(24, ' '));
    EXPECT_EQ(Row(1), " 01 Preset 2" + std::string(24, ' '));
    EXPECT_EQ(Row(5), " 05 Preset 6" + std::string(24, ' '));
    EXPECT_EQ(Row(9), " 09 Preset 10" + std::string(23, ' '));
    EXPECT_EQ(Row(127), " 127 Preset 128" + std::string(22, ' '));
    for (const int untouched : {2, 4, 6, 128 - 2})
        EXPECT_EQ(Row(untouched), "") << untouched;
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "Presets folder: 001.dat 002.dat 006.dat 7.dat 010.dat 128.dat 129.dat "
                      "notes.dat.bak");
}

TEST_F(PresetLibraryTest, ListingMakesAMissingFolderAndEndsTheSyncWhenAllSlotsAreThere) {
    rmdir(home.PresetsFolder().c_str());
    editor.ListPresetFolder();
    struct stat status {};
    EXPECT_EQ(stat(home.PresetsFolder().c_str(), &status), 0);

    editor.mSlotSyncActive = true;
    for (int number = 1; number <= 127; ++number)
        WriteFile(SlotPath(home, number), SlotFile("P"));
    editor.ListPresetFolder();
    EXPECT_TRUE(editor.mSlotSyncActive);
    WriteFile(SlotPath(home, 128), SlotFile("P"));
    editor.ListPresetFolder();
    EXPECT_FALSE(editor.mSlotSyncActive);
}

TEST_F(PresetLibraryTest, ClearingRemovesOnlyDatFilesOfTheThreeFolders) {
    mkdir(home.UserIRFolder().c_str(), 0700);
    mkdir(home.FactoryIRFolder().c_str(), 0700);
    mkdir((home.PresetsFolder() + "sub.dat").c_str(), 0700);
    const std::vector<std::string> removed = {SlotPath(home, 1), home.UserIRFolder() + "001.dat",
                                              home.FactoryIRFolder() + "008.dat"};
    const std::vector<std::string> kept = {
        home.PresetsFolder() + "notes.dat.bak", home.PresetsFolder() + "README",
        home.PresetsFolder() + "upper.DAT", home.FactoryIRFolder() + "01-Quorbel.wav",
        home.Folder() + "/OmnarControl/stray.dat"};
    for (const auto& path : removed)
        WriteFile(path, {1});
    for (const auto& path : kept)
        WriteFile(path, {1});
    editor.ClearLocalLibrary();
    for (const auto& path : removed)
        EXPECT_FALSE(FileExists(path)) << path;
    for (const auto& path : kept)
        EXPECT_TRUE(FileExists(path)) << path;
    EXPECT_TRUE(FileExists(home.PresetsFolder() + "sub.dat"));

    editor.RefreshPresetList();
    EXPECT_EQ(Row(0), " 00 ");
    EXPECT_EQ(editor.mPresetChecksums[0], (std::array<std::uint8_t, 2>{0, 0}));
}

TEST(CompareNumeric, DigitRunsCompareByValue) {
    struct Case {
        const char* a;
        const char* b;
        int order;
    };
    const Case cases[] = {
        {"2.dat", "10.dat", -1},
        {"010.dat", "9.dat", 1},
        {"001.dat", "1.dat", 0},
        {"a10b2", "a10b10", -1},
        {"abc", "abd", -1},
        {"abc", "ab", 1},
        {"", "", 0},
        {"x", "10", 1},
        {"99999999999999999999", "1", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareNumeric(c.a, c.b), c.order) << c.a << " vs " << c.b;
        EXPECT_EQ(CompareNumeric(c.b, c.a), -c.order) << c.b << " vs " << c.a;
    }
}

} // namespace
