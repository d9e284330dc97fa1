// Dropped-file blocks and the naming rules of promised files, headless.
#include "winlayer/drops/DropBlock.h"

#include "winlayer/WinBasics.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace winlayer;

TEST(DropBlockTest, TwoFilesMakeThe35ByteBlock) {
    const std::vector<char> bytes = DropBlockBytes({"/a/x.wav", "/b/y.txt"}, POINT{3, -2});
    ASSERT_EQ(bytes.size(), 35u);
    EXPECT_EQ(bytes[0], 16);
    EXPECT_EQ(bytes[4], 3);
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 0xFE);
    EXPECT_EQ(static_cast<unsigned char>(bytes[11]), 0xFF);
    EXPECT_EQ(std::string(bytes.data() + 16), "/a/x.wav");
    EXPECT_EQ(std::string(bytes.data() + 25), "/b/y.txt");
    EXPECT_EQ(bytes[34], 0);
    EXPECT_EQ(DropBlockBytes({}, POINT{}).size(), 17u);
}

TEST(DropBlockTest, LongNamesAreNotCut) {
    const std::string deep = "/" + std::string(5000, 'd') + "/f.wav";
    HDROP drop = MakeDropBlock({deep}, POINT{});
    ASSERT_NE(drop, nullptr);
    std::string buffer(6000, '\0');
    EXPECT_EQ(DragQueryFile(drop, 0, buffer.data(), 6000), deep.size());
    EXPECT_EQ(buffer.c_str(), deep);
    GlobalFree(drop);
}

TEST(DropBlockTest, QueryFileAndPoint) {
    HDROP drop = MakeDropBlock({"/one", "/ten-chars"}, POINT{40, 50});
    ASSERT_NE(drop, nullptr);
    char buffer[5] = "xxxx";
    EXPECT_EQ(DragQueryFile(drop, kDropFileCount, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFile(drop, 1, buffer, 5), 4u);
    EXPECT_STREQ(buffer, "/ten");
    EXPECT_EQ(DragQueryFile(drop, 1, nullptr, 0), 10u);
    EXPECT_EQ(DragQueryFile(drop, 1, buffer, 1), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(DragQueryFile(drop, 2, buffer, 5), 0u);
    EXPECT_EQ(DragQueryFile(nullptr, kDropFileCount, nullptr, 0), 0u);
    POINT point{};
    EXPECT_TRUE(DragQueryPoint(drop, &point));
    EXPECT_EQ(point.x, 40);
    EXPECT_EQ(point.y, 50);
    EXPECT_FALSE(DragQueryPoint(nullptr, &point));
    DragFinish(drop);
    GlobalFree(drop);
}

TEST(DropBlockTest, OnlyLocalFilesOfAUriList) {
    const std::string list = "# comment\r\nfile:///a/x%20y.wav\r\nhttp://host/z\r\n"
                             "file://localhost/b/c.txt\nfile://elsewhere/d\nfile:///e%00f\n";
    EXPECT_EQ(LocalPathsOfUriList(list), (std::vector<std::string>{"/a/x y.wav", "/b/c.txt"}));
    EXPECT_TRUE(LocalPathsOfUriList("http://x/\n").empty());
    EXPECT_EQ(LocalPathsOfUriList(FileUriOf("/tmp/a b%c.wav")),
              std::vector<std::string>{"/tmp/a b%c.wav"});
}

TEST(DropBlockTest, PromiseNaming) {
    EXPECT_EQ(HoverNamesOfPromises({"wav"}), std::vector<std::string>{"tmp.wav"});
    EXPECT_EQ(PromiseDirectory(nullptr), "/tmp/");
    EXPECT_EQ(PromiseDirectory(""), "/tmp/");
    EXPECT_EQ(PromiseDirectory("/x"), "/x");
    EXPECT_EQ(PromiseCandidate("/dest", "/src/take.wav"), "/dest/take.wav");
    EXPECT_EQ(PromiseCandidate(std::string(4100, 'd'), "/src/take.wav"), std::nullopt);

    const auto none = [](const std::string&) { return false; };
    struct Case {
        const char* candidate;
        const char* first;
    };
    const Case cases[] = {{"/d/take 07.wav", "/d/take 008.wav"},
                          {"/d/loop.wav", "/d/loop 001.wav"},
                          {"/d/mix_9", "/d/mix_010"},
                          {"/d.x/readme", "/d.x/readme 001"},
                          {"/d/v1234.wav", "/d/v1234 001.wav"},
                          {"/d/.wav", "/d/ 001.wav"}};
    for (const Case& c : cases)
        EXPECT_EQ(KeepBothName(c.candidate, none), c.first) << c.candidate;

    std::set<std::string> taken = {"/d/loop 001.wav", "/d/loop 002.wav"};
    const auto exists = [&](const std::string& path) { return taken.count(path) != 0; };
    EXPECT_EQ(KeepBothName("/d/loop.wav", exists), "/d/loop 003.wav");
    const auto all = [](const std::string&) { return true; };
    EXPECT_EQ(KeepBothName("/d/loop.wav", all), std::nullopt);
    EXPECT_EQ(KeepBothName("/d/end 999.wav", none), std::nullopt);
    EXPECT_EQ(KeepBothName("/" + std::string(4095, 'n'), none), std::nullopt);
}

} // namespace
