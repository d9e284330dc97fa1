// The build-time generator: same bytes every run, nothing half-written on failure.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        char name[] = "/tmp/resgen-test-XXXXXX";
        path = mkdtemp(name);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string path;
};

int RunGenerator(const std::string& out, const std::string& boldFont = RESGEN_BOLD_FONT) {
    const std::string command = std::string("'") + RESGEN_PATH + "' '" + out + "' '" +
                                RESGEN_MANUAL + "' '" + RESGEN_REGULAR_FONT + "' '" + boldFont +
                                "' '" + RESGEN_MONO_FONT + "' 2> /dev/null";
    return std::system(command.c_str());
}

std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ResourceGenerator, TwoRunsWriteIdenticalBytes) {
    TempFolder first, second;
    ASSERT_EQ(RunGenerator(first.path), 0);
    ASSERT_EQ(RunGenerator(second.path), 0);
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first.path)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const fs::path twin = second.path / fs::relative(entry.path(), first.path);
        EXPECT_EQ(Contents(entry.path()), Contents(twin)) << entry.path();
        EXPECT_NE(entry.path().extension(), ".tmp");
    }
    EXPECT_EQ(files, 40); // 31 images, 8 responses, the manual
}

TEST(ResourceGenerator, AFailedRunReportsItAndLeavesNoPartialFile) {
    TempFolder out;
    EXPECT_NE(RunGenerator(out.path, out.path + "/no-such-font.ttf"), 0);
    for (const auto& entry : fs::recursive_directory_iterator(out.path))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    // The folder cannot be written: the failure is reported, not hidden.
    const std::string blocked = out.path + "/blocked";
    std::ofstream(blocked) << "a file where the folder should be";
    EXPECT_NE(RunGenerator(blocked), 0);
}

} // namespace
