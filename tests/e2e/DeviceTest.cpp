#include "tests/e2e/ProgramSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// The program against devsim on the private JACK server, on the ports
// settings.ini names.
namespace e2e {
namespace {

namespace fs = std::filesystem;

// A sync of 128 presets takes some 15 s; the sanitised program on a loaded
// machine has been seen at four times that.
constexpr auto kSyncWait = 120s;

int SlotFiles(const fs::path& folder) {
    std::error_code ignored;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        count += entry.path().extension() == ".dat";
    return count;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(ProgramTest, FirstRunFindsTheDeviceAndSyncsEveryPreset) {
    ASSERT_NO_FATAL_FAILURE(StartDevice());
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitUntil(
        [&] { return Contains(Trace(), "reply 'I'") || Contains(Trace(), "SettingsDump"); }, 15s))
        << "no identity exchange within 15 s";
    Shot("connected");
    ASSERT_TRUE(WaitUntil([&] { return SlotFiles(PresetsFolder()) == 128; }, kSyncWait))
        << SlotFiles(PresetsFolder()) << " presets after " << kSyncWait.count() << " s";
    Shot("synced");
    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0);
    EXPECT_TRUE(Contains(Trace(), "EditorClosed"));
}

// A second start with the library in place asks for the checksums and the
// current preset only: no other slot is fetched again.
TEST_F(ProgramTest, RestartWithAWholeLibrarySyncsNoSlot) {
    ASSERT_NO_FATAL_FAILURE(StartDevice());
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitUntil([&] { return SlotFiles(PresetsFolder()) == 128; }, kSyncWait));
    Keys("ctrl+q");
    ASSERT_EQ(WaitForExit(kExitWait), 0);
    const std::size_t before = Trace().size();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const auto requests = [&] { return Count(Trace().substr(before), "PresetDumpRequest"); };
    ASSERT_TRUE(WaitUntil([&] { return requests() >= 1; }, 15s))
        << "the current preset was not asked for within 15 s";
    // The current preset is asked for after the checksums decided on a sync,
    // so a slot fetch would have come before it; the device's answer and the
    // editor's goodbye give later requests their room.
    ASSERT_TRUE(
        WaitUntil([&] { return Contains(Trace().substr(before), "PresetDump reply"); }, 15s))
        << Trace().substr(before);
    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0);
    ASSERT_TRUE(Contains(Trace().substr(before), "EditorClosed"));
    EXPECT_EQ(requests(), 1) << Trace().substr(before);
}

} // namespace
} // namespace e2e
