#include "winlayer/Modules.h"

#include "tests/winlayer/ProbeModule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

ModuleProbe winlayer_module_probe = {};

namespace {

std::string Events() {
    return std::string(winlayer_module_probe.events,
                       static_cast<std::size_t>(winlayer_module_probe.eventCount));
}

void ResetProbe(int wispAnswer, int dllAnswer) {
    winlayer_module_probe = {};
    winlayer_module_probe.wispDllMainAnswer = wispAnswer;
    winlayer_module_probe.dllMainAnswer = dllAnswer;
}

TEST(ModuleTest, EntryPointsDecideAndDetachRunsBeforeUnload) {
    struct Case {
        const char* name;
        int wispAnswer, dllAnswer;
        bool loads;
        const char* events;
    };
    const Case cases[] = {
        {"both accept", 1, 1, true, "WDwdU"},
        {"WISP_dllMain refuses", 0, 1, false, "WU"},
        {"DllMain refuses", 1, 0, false, "WDwU"},
    };
    for (const auto& c : cases) {
        ResetProbe(c.wispAnswer, c.dllAnswer);
        HINSTANCE module = LoadLibrary(PROBE_MODULE_PATH);
        EXPECT_EQ(module != nullptr, c.loads) << c.name;
        if (module) {
            EXPECT_TRUE(FreeLibrary(module));
        }
        EXPECT_EQ(Events(), c.events) << c.name;
    }
}

TEST(ModuleTest, LoadingTwiceSharesOneModuleUntilTheSecondFree) {
    ResetProbe(1, 1);
    HINSTANCE first = LoadLibrary(PROBE_MODULE_PATH);
    HINSTANCE second = LoadLibraryGlobals(PROBE_MODULE_PATH, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(Events(), "WD");
    auto answer = reinterpret_cast<int (*)()>(GetProcAddress(first, "ProbeModuleAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 7);
    EXPECT_EQ(GetProcAddress(first, "Missing"), nullptr);

    char path[4096];
    EXPECT_EQ(GetModuleFileName(first, path, sizeof path), std::strlen(PROBE_MODULE_PATH));
    EXPECT_STREQ(path, PROBE_MODULE_PATH);

    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(Events(), "WD");
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_EQ(Events(), "WDwdU");
    EXPECT_FALSE(FreeLibrary(second)) << "no longer loaded";
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(ModuleTest, ModuleFileNameOfTheProgramAndSmallBuffers) {
    char path[4096];
    const DWORD length = GetModuleFileName(nullptr, path, sizeof path);
    ASSERT_GT(length, 0u);
    char executable[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", executable, sizeof executable - 1), 0);
    EXPECT_STREQ(path, executable);

    char small[4] = "zzz";
    EXPECT_EQ(GetModuleFileName(nullptr, small, 0), 0u);
    EXPECT_STREQ(small, "zzz") << "a zero-sized buffer is not written";
    EXPECT_EQ(GetModuleFileName(nullptr, small, 4), 3u);
    EXPECT_EQ(std::strncmp(small, executable, 3), 0);
    EXPECT_EQ(WISP_GetBundle(nullptr), nullptr);
}

TEST(ModuleTest, NonLibrariesAreReportedOnStandardError) {
    char path[] = "/tmp/winlayer-not-a-library-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "text", 4), 4);
    close(fd);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadLibrary(path), nullptr);
    EXPECT_EQ(LoadLibrary("/nonexistent/library.so"), nullptr);
    const std::string output = testing::internal::GetCapturedStderr();
    unlink(path);
    EXPECT_EQ(output.rfind("wisp: dlopen() failed: ", 0), 0u) << output;
    EXPECT_EQ(output.find("nonexistent"), std::string::npos) << "missing files stay quiet";
    EXPECT_EQ(LoadLibrary(nullptr), nullptr);
    EXPECT_EQ(LoadLibrary(""), nullptr);
}

} // namespace
