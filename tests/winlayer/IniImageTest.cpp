#include "winlayer/IniImage.h"
#include "winlayer/FileReplace.h"

#include "tests/winlayer/IniTestSupport.h"

namespace {

using winlayer::IniImage;
using winlayer::ParseIni;
using winlayer::SerializeIni;

TEST(IniImageTest, RepeatedSectionsKeepOnlyTheLastOnesKeys) {
    const IniImage image = ParseIni("[a]\nx=1\ny=2\n[b]\nz=3\n[A]\ny=4\n");
    EXPECT_EQ(SerializeIni(image), "[a]\ny=4\n\n[b]\nz=3\n\n");
}

TEST(IniImageTest, SortedMapKeepsTheFirstSpellingAndTheLastValue) {
    winlayer::IniSection keys = winlayer::NewIniSection();
    keys.Append("Key", "1");
    keys.Append("b", "2");
    keys.Append("KEY", "3");
    keys.SortUnique();
    ASSERT_EQ(keys.Size(), 2u);
    EXPECT_EQ(*keys.Find("key"), "3");
    keys.Insert("kEy", "4");
    EXPECT_EQ(keys.begin()[1].key, "KEY");
    EXPECT_EQ(*keys.Find("key"), "4");
    EXPECT_TRUE(keys.Remove("KEY"));
    EXPECT_FALSE(keys.Remove("KEY"));
    EXPECT_EQ(keys.Size(), 1u);
}

TEST(IniImageTest, ValueTrimmingRemovesOnePairOfMatchingQuotes) {
    struct Case {
        const char* raw;
        const char* seen;
    };
    const Case cases[] = {
        {" \t v \t", "v"}, {"\"a b\"", "a b"}, {"'q'", "q"}, {"'mixed\"", "'mixed\""},
        {"\"", "\""},      {"''''", "''"},     {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(winlayer::TrimIniValue(c.raw), c.seen) << c.raw;
}

class FileReplaceTest : public IniFolderTest {};

TEST_F(FileReplaceTest, AFailedRenameLeavesNoTemporaryFile) {
    // A folder that is not empty cannot be replaced by a file.
    const std::string target = PathOf("occupied");
    std::filesystem::create_directory(target);
    WriteFile(PathOf("occupied/inside"), "x");
    EXPECT_FALSE(winlayer::ReplaceFileContents(target, "text"));
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(Folder()))
        names.push_back(item.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"occupied"});
}

TEST_F(FileReplaceTest, ReplacesContentsWhole) {
    const std::string target = PathOf("file");
    WriteFile(target, "a much longer old text");
    EXPECT_TRUE(winlayer::ReplaceFileContents(target, "new"));
    EXPECT_EQ(ReadFile(target), "new");
}

} // namespace
