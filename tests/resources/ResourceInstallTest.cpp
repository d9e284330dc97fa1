// The device core on the real resource files: factory responses installed
// into the data folder, the manual handed to the launcher.
#include "platform/sys/Folders.h"
#include "tests/device/DeviceRig.h"
#include "tests/device/LibraryFixtures.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace omnar::test {
namespace {

const char* const kFactoryFiles[] = {"01-Quorbel",    "02-Hinglow",     "03-KL 8x10",
                                     "04-Dunmo 2x15", "05-Ovaten 2x15", "06-Brel 4x10",
                                     "07-Tirn 12L",   "08-Isle V30"};

std::string Shipped(const char* name) {
    return sys::ResourceFolder() + "irs/" + name + ".wav";
}

TEST(ResourceInstall, FactoryResponsesArriveAndAnExistingOneIsKept) {
    for (const bool firstThere : {false, true}) {
        SCOPED_TRACE(firstThere);
        TempDataHome home;
        vx::test::FakeHost host;
        LibraryEditor editor{vx::InstanceInfo{&host}};
        const Bytes kept{'m', 'i', 'n', 'e'};
        std::filesystem::create_directories(home.FactoryIRFolder());
        if (firstThere)
            WriteFile(home.FactoryIRFolder() + "01-Quorbel.wav", kept);
        editor.InstallFactoryIRs();
        for (const char* name : kFactoryFiles) {
            const Bytes installed = ReadFile(home.FactoryIRFolder() + name + ".wav");
            if (firstThere && name == kFactoryFiles[0])
                EXPECT_EQ(installed, kept);
            else
                EXPECT_EQ(installed, ReadFile(Shipped(name))) << name;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.FactoryIRFolder()),
                                std::filesystem::directory_iterator()),
                  8);
    }
}

TEST(ResourceInstall, TheManualCommandOpensTheBuiltManual) {
    DeviceRig rig;
    std::vector<std::string> launched;
    rig.editor->mOpenDocument = [&](const std::string& path) {
        launched.push_back(path);
        return true;
    };
    EXPECT_TRUE(rig.editor->OnHostRequestingManual());
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_TRUE(
        std::filesystem::equivalent(launched[0], sys::ResourceFolder() + "Vorlix_ZQTR_OM_XN1.pdf"));
}

} // namespace
} // namespace omnar::test
