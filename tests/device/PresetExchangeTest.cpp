#include "device/PresetExchangeFile.h"
#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>

namespace {

using namespace omnar::test;

constexpr int kIROnA = 40, kIROnB = 41;
const char* const kUnsupported =
    "Unsupported file version. \nPlease update the Omnar Editor \nto the latest version.";

struct ExchangeSpec {
    std::string name = "Imported";
    std::map<int, int> values; // the rest 0
    std::vector<devsim::IRImage> images;
    // Header names copied from these images (index into images), -1: blank.
    int nameAFrom = -1, nameBFrom = -1;
};

Bytes ExchangeBytes(const ExchangeSpec& spec) {
    omnar::ExchangeHeaderFields fields;
    for (const auto& [index, value] : spec.values)
        fields.values[std::size_t(index)] = value;
    fields.name = spec.name;
    const auto header = omnar::BuildExchangeHeader(fields);
    Bytes file(header.begin(), header.end());
    const auto copyName = [&](int from, std::size_t at) {
        if (from >= 0)
            std::copy_n(spec.images[std::size_t(from)].begin() + 4, 32, file.begin() + long(at));
    };
    copyName(spec.nameAFrom, omnar::kExchangeIRNameAAt);
    copyName(spec.nameBFrom, omnar::kExchangeIRNameBAt);
    for (const devsim::IRImage& image : spec.images)
        file.insert(file.end(), image.begin(), image.end());
    return file;
}

std::string Write(DeviceRig& rig, const Bytes& bytes, const char* name = "sound.z3p") {
    const std::string path = rig.home.Folder() + "/" + name;
    WriteFile(path, bytes);
    return path;
}

std::string UserSlotFile(DeviceRig& rig, int n) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", n + 1);
    return rig.home.UserIRFolder() + name;
}

TEST(PresetExchange, ExportWritesTheHeaderAndCutsTheExtension) {
    DeviceRig rig;
    rig.editor->mPresetEdited = true;
    const std::string path = rig.home.Folder() + "/Deep Growl.z3p";
    VxString target(path.c_str());
    rig.editor->ExportPreset(target);
    const Bytes file = ReadFile(path);
    ASSERT_EQ(file.size(), 262u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "OMNP");
    EXPECT_EQ(file[4], 1);
    EXPECT_EQ(file[5], 0);
    EXPECT_EQ(std::string(file.begin() + 6, file.begin() + 38),
              "Deep Growl" + std::string(22, ' '));
    EXPECT_EQ(std::string(file.begin() + 198, file.end()), std::string(64, ' '));
    EXPECT_TRUE(std::all_of(file.begin() + 112, file.begin() + 198, [](auto b) { return b == 0; }));
    EXPECT_EQ(std::string(target.Get()), rig.home.Folder() + "/Deep Growl");
    EXPECT_EQ(rig.editor->TagText(148), "Deep Growl");
    EXPECT_FALSE(rig.editor->mPresetEdited);
}

TEST(PresetExchange, ExportCarriesTheImagesOfTheUserIRsInUse) {
    struct Case {
        const char* name;
        bool fileA, fileB;
        std::size_t size;
    };
    const Case cases[] = {
        {"both images", true, true, 5134},
        {"A's slot file missing", false, true, 2698},
        {"no slot files", false, false, 262},
    };
    const devsim::IRImage a = devsim::SyntheticFactoryIR(1), b = devsim::SyntheticFactoryIR(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        RigEditor& editor = *rig.editor;
        for (const auto& [index, value] :
             std::map<int, int>{{kIROnA, 1}, {kIROnB, 1}, {53, 0}, {54, 5}, {55, 1}, {56, 5}})
            editor.mDeviceValues[std::size_t(index)] = value;
        std::filesystem::create_directories(rig.home.UserIRFolder());
        if (c.fileA)
            WriteFile(UserSlotFile(rig, 5), Bytes(a.begin(), a.end()));
        if (c.fileB)
            WriteFile(UserSlotFile(rig, 133), Bytes(b.begin(), b.end()));
        dynamic_cast<vx::ui::ITextControl*>(editor.Panel().FindControlByTag(74))
            ->SetString("Cab A");
        dynamic_cast<vx::ui::ITextControl*>(editor.Panel().FindControlByTag(75))
            ->SetString("Cab B");
        const std::string path = rig.home.Folder() + "/with irs.z3p";
        VxString target(path.c_str());
        editor.ExportPreset(target);
        const Bytes file = ReadFile(path);
        ASSERT_EQ(file.size(), c.size);
        EXPECT_EQ(std::string(file.begin() + 198, file.begin() + 203), "Cab A");
        EXPECT_EQ(std::string(file.begin() + 230, file.begin() + 235), "Cab B");
        if (c.size > 262) {
            EXPECT_EQ(Bytes(file.end() - 2436, file.end()), Bytes(b.begin(), b.end()));
        }
        if (c.size == 5134) {
            EXPECT_EQ(Bytes(file.begin() + 262, file.begin() + 2698), Bytes(a.begin(), a.end()));
        }
    }
}

TEST(PresetExchange, AnExportThatCannotBeWrittenKeepsTheOldFile) {
    DeviceRig rig;
    rig.editor->mPresetEdited = true;
    const std::string path = Write(rig, Bytes(400, 0x33), "old.z3p");
    // The disk is full as far as this process can tell.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    VxString target(path.c_str());
    rig.editor->ExportPreset(target);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"ERROR!"});
    EXPECT_TRUE(rig.editor->mPresetEdited);
    EXPECT_EQ(ReadFile(path), Bytes(400, 0x33));
}

TEST(PresetExchange, WhatTheImporterAccepts) {
    const Bytes good = ExchangeBytes({});
    const auto variant = [&](std::size_t size, const char* magic, int major, int minor) {
        Bytes file = good;
        file.resize(size, 0);
        std::memcpy(file.data(), magic, 4);
        file[4] = std::uint8_t(major);
        file[5] = std::uint8_t(minor);
        return file;
    };
    struct Case {
        const char* name;
        Bytes file;
        bool applied;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"version 1.0", variant(262, "OMNP", 1, 0), true, {}},
        {"the older magic", variant(262, "ZMKP", 1, 0), true, {}},
        {"version 1.1", variant(262, "OMNP", 1, 1), false, {kUnsupported}},
        {"version 2.0", variant(262, "OMNP", 2, 0), false, {kUnsupported}},
        {"bad magic", variant(262, "OMNX", 1, 0), false, {"Unknown file format."}},
        {"261 bytes", variant(261, "OMNP", 1, 0), false, {"Unknown file format."}},
        {"300 bytes", variant(300, "OMNP", 1, 0), false, {"Unknown file format."}},
        {"8191 bytes", variant(8191, "OMNP", 1, 0), false, {"Unknown file format."}},
        {"8192 bytes",
         variant(8192, "OMNP", 1, 0),
         false,
         {"The file is too large: a preset file holds at most 8191 bytes."}},
        {"2698 bytes", variant(2698, "OMNP", 1, 0), true, {}},
        {"5134 bytes", variant(5134, "OMNP", 1, 0), true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        rig.editor->ImportPreset(VxString(Write(rig, c.file).c_str()));
        rig.editor->OnIdle();
        EXPECT_EQ(rig.editor->mPresetEdited, c.applied);
        EXPECT_EQ(rig.MessageBoxes(), c.boxes);
        EXPECT_EQ(rig.editor->TagText(148), c.applied ? "Imported" : "");
    }
}

TEST(PresetExchange, NamesValuesAndSlotsAsImported) {
    struct Case {
        const char* name;
        ExchangeSpec spec;
        int index;
        int expected; // -1: the file is refused
        std::string shownName;
    };
    const std::string full32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    const Case cases[] = {
        {"a full name", {full32, {}, {}}, 0, 0, full32},
        {"slot A follows the preset", {"Slot", {{53, 0}, {54, 17}}, {}}, 54, 5, "Slot"},
        {"slot B follows the preset", {"Slot", {{55, 1}, {56, 17}}, {}}, 56, 5, "Slot"},
        {"a slot value past 127", {"Bad", {{55, 100}, {56, 200}}, {}}, 56, -1, ""},
        // Re-pointed before the range check: signed digits that point nowhere yet.
        {"negative slot A digits re-pointed", {"NegA", {{53, 255}, {54, 250}}, {}}, 54, 5, "NegA"},
        {"negative slot B digits re-pointed", {"NegB", {{55, 200}, {56, 200}}, {}}, 56, 5, "NegB"},
        {"a high value clamped", {"High", {{19, 200}}, {}}, 19, -2, "High"},
        {"a low value clamped", {"Low", {{19, 0}}, {}}, 19, -3, "Low"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        rig.editor->mPresetNumber = 5;
        rig.editor->ImportPreset(VxString(Write(rig, ExchangeBytes(c.spec)).c_str()));
        rig.editor->OnIdle();
        const vx::IParam* param = rig.editor->GetParam(c.index);
        const int value = rig.editor->mDeviceValues[std::size_t(c.index)];
        if (c.expected == -1) {
            EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"Unknown file format."});
            EXPECT_FALSE(rig.editor->mPresetEdited);
            continue;
        }
        EXPECT_EQ(rig.editor->TagText(148), c.shownName);
        if (c.expected >= 0)
            EXPECT_EQ(value, c.expected);
        else if (c.expected == -2)
            EXPECT_EQ(value, int(param->Min())) << "200 is -56 as a signed byte";
        else
            EXPECT_EQ(value, std::max(0, int(param->Min())));
        EXPECT_GE(value, int(param->Min()));
        EXPECT_LE(value, int(param->Max()));
        EXPECT_EQ(int(param->CurrentValue()), value);
    }
}

TEST(PresetExchange, ImagesGoUpOnceEachThenThePreset) {
    const devsim::IRImage first = devsim::SyntheticFactoryIR(1);
    const devsim::IRImage second = devsim::SyntheticFactoryIR(2);
    struct Case {
        const char* name;
        ExchangeSpec spec;
        std::vector<int> slots; // where images arrive, in order
    };
    const std::map<int, int> both{{kIROnA, 1}, {kIROnB, 1}};
    const Case cases[] = {
        {"two images", {"Two", both, {first, second}, 0, 1}, {5, 133}},
        {"one image named as B", {"OneB", both, {second}, 0, 0}, {5}},
        {"one image naming B only", {"OnlyB", both, {second}, -1, 0}, {133}},
        {"one image, B alone", {"B", {{kIROnB, 1}}, {first}, -1, -1}, {133}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.editor->mPresetNumber = 5;
        const std::size_t from = rig.sent.size();
        rig.editor->ImportPreset(VxString(Write(rig, ExchangeBytes(c.spec)).c_str()));
        ASSERT_TRUE(rig.RunUntil([&] { return !rig.SentWithCommand(0x0520, from).empty(); }, 200));
        rig.Steps(3);
        std::vector<int> slots;
        for (const Bytes& m : rig.SentWithCommand(0x0560, from))
            slots.push_back(m[7] * 128 + m[8]);
        EXPECT_EQ(slots, c.slots);
        EXPECT_EQ(rig.SentWithCommand(0x0520, from).size(), 1u);
        for (const int slot : c.slots) {
            ASSERT_TRUE(rig.pedal.State().userIRs[std::size_t(slot)].has_value());
            const auto& kept = *rig.pedal.State().userIRs[std::size_t(slot)];
            EXPECT_EQ(Bytes(kept.begin(), kept.end()), ReadFile(UserSlotFile(rig, slot)));
        }
        EXPECT_EQ(rig.pedal.State().editBuffer[2], c.spec.name[0]);
        EXPECT_FALSE(rig.editor->mImportIRAPending || rig.editor->mImportIRBPending);
        EXPECT_TRUE(rig.MessageBoxes().empty() ||
                    rig.MessageBoxes() == std::vector<std::string>{"Finished successfully!"});
    }
}

TEST(PresetExchange, AChainThatBreaksOrHasNoDeviceLeavesNoFlag) {
    const std::map<int, int> both{{kIROnA, 1}, {kIROnB, 1}};
    const ExchangeSpec spec{
        "Two", both, {devsim::SyntheticFactoryIR(1), devsim::SyntheticFactoryIR(2)}, 0, 1};
    {
        DeviceRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.pedal.AddFault(*devsim::ParseFaultRule("drop:66").rule);
        const std::size_t from = rig.sent.size();
        rig.editor->ImportPreset(VxString(Write(rig, ExchangeBytes(spec)).c_str()));
        ASSERT_TRUE(rig.RunUntil([&] { return !rig.MessageBoxes().empty(); }, 100));
        EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"Communication error!"});
        EXPECT_FALSE(rig.editor->mImportIRAPending || rig.editor->mImportIRBPending);
        rig.FeedNow(devsim::BuildShortReply('a'));
        rig.Steps(5);
        EXPECT_TRUE(rig.SentWithCommand(0x0520, from).empty()) << "a late 'a' goes nowhere";
        // The pedal never took the image: the library does not keep it either.
        EXPECT_FALSE(FileExists(UserSlotFile(rig, 0)));
    }
    {
        DeviceRig rig;
        rig.editor->ImportPreset(VxString(Write(rig, ExchangeBytes(spec)).c_str()));
        EXPECT_FALSE(rig.editor->mImportIRAPending || rig.editor->mImportIRBPending);
        EXPECT_FALSE(FileExists(UserSlotFile(rig, 0))) << "no pedal took it";
    }
}

} // namespace

namespace {

TEST(PresetExchange, TheTwoQuestionsCanStopAnImport) {
    struct Case {
        const char* name;
        bool edited;
        bool currentUsesA;
        std::vector<std::string> boxes;
    };
    const char* const unsaved = "Current Preset not saved. \nContinue without saving?";
    const char* const overwrite =
        "This operation will overwrite the currently selected User IR. \nContinue without saving?";
    const Case cases[] = {
        {"unsaved preset", true, false, {unsaved}},
        {"user IR in use", false, true, {overwrite}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRig rig;
        rig.editor->mPresetEdited = c.edited;
        rig.editor->mDeviceValues[kIROnA] = c.currentUsesA ? 1 : 0;
        rig.editor->Panel().messageBoxAnswers.push_back(vx::ui::EMsgBoxResult::Cancel);
        const ExchangeSpec spec{"Asked", {{kIROnA, 1}, {54, 9}}, {}};
        rig.editor->ImportPreset(VxString(Write(rig, ExchangeBytes(spec)).c_str()));
        EXPECT_EQ(rig.MessageBoxes(), c.boxes);
        EXPECT_EQ(rig.editor->TagText(148), "") << "nothing applied";
        EXPECT_EQ(rig.editor->mPresetEdited, c.edited);
    }
}

} // namespace
