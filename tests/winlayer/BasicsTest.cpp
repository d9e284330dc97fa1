#include "winlayer/HandleRecord.h"
#include "winlayer/Runtime.h"
#include "winlayer/WinBasics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(RectTest, IntersectionAndUnion) {
    struct Case {
        RECT a, b;
        BOOL intersects;
        RECT intersection, unionRect;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}, {0, 0, 15, 15}},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0}, {0, 0, 20, 10}},
        {{0, 0, 0, 10}, {0, 0, 5, 5}, FALSE, {0, 0, 0, 0}, {0, 0, 5, 10}},
        {{3, 3, 3, 3}, {1, 2, 4, 5}, FALSE, {0, 0, 0, 0}, {1, 2, 4, 5}},
        {{1, 2, 4, 5}, {7, 7, 7, 7}, FALSE, {0, 0, 0, 0}, {1, 2, 4, 5}},
    };
    for (const auto& c : cases) {
        RECT out = {9, 9, 9, 9};
        EXPECT_EQ(WinIntersectRect(&out, &c.a, &c.b), c.intersects);
        EXPECT_TRUE(out == c.intersection);
        EXPECT_TRUE(WinUnionRect(&out, &c.a, &c.b));
        EXPECT_TRUE(out == c.unionRect);
    }
}

TEST(RectTest, PointInRectAcceptsFlippedVerticalEdges) {
    const RECT r = {0, 10, 10, 0};
    struct Case {
        POINT p;
        BOOL inside;
    };
    const Case cases[] = {
        {{0, 0}, TRUE}, {{9, 9}, TRUE}, {{10, 5}, FALSE}, {{5, 10}, FALSE}, {{-1, 5}, FALSE}};
    for (const auto& c : cases)
        EXPECT_EQ(WISP_PtInRect(&r, c.p), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_FALSE(WISP_PtInRect(nullptr, {0, 0}));
    RECT moved = {0, 0, 1, 1};
    EXPECT_TRUE(WinOffsetRect(&moved, 2, -3));
    EXPECT_TRUE(moved == (RECT{2, -3, 3, -2}));
    EXPECT_FALSE(WinOffsetRect(nullptr, 1, 1));
    EXPECT_FALSE(WinSetRect(nullptr, 1, 2, 3, 4));
}

TEST(ArithmeticTest, MulDivTruncatesTowardsZero) {
    struct Case {
        int a, b, c, result;
    };
    const Case cases[] = {{-7, 1, 2, -3}, {7, 1, 2, 3}, {1 << 30, 4, 8, 1 << 29}, {5, 5, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
}

TEST(StringTest, LstrcpynCopiesAtMostSizeMinusOne) {
    struct Case {
        int size;
        const char* expected;
    };
    const Case cases[] = {{1, ""}, {3, "ab"}, {6, "abcde"}, {64, "abcdef"}};
    for (const auto& c : cases) {
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(lstrcpyn(buffer, "abcdef", c.size), buffer);
        EXPECT_STREQ(buffer, c.expected) << c.size;
    }
    char untouched[4] = "zz";
    lstrcpyn(untouched, "abc", 0);
    EXPECT_STREQ(untouched, "zz");
}

TEST(StringTest, CFStringCopiesNeverCutASequence) {
    // "né€" is 1 + 2 + 3 bytes.
    const CFString text = WISP_CStringToCFString("n\xC3\xA9\xE2\x82\xAC");
    struct Case {
        int size;
        BOOL result;
        const char* expected;
    };
    const Case cases[] = {
        {1, TRUE, ""},
        {2, FALSE, "n"},
        {3, FALSE, "n"},
        {4, FALSE, "n\xC3\xA9"},
        {6, FALSE, "n\xC3\xA9"},
        {7, TRUE, "n\xC3\xA9\xE2\x82\xAC"},
        {32, TRUE, "n\xC3\xA9\xE2\x82\xAC"},
    };
    for (const auto& c : cases) {
        char buffer[32];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(WISP_CFStringToCString(&text, buffer, c.size), c.result) << c.size;
        EXPECT_STREQ(buffer, c.expected) << c.size;
    }
    char buffer[4] = "zz";
    EXPECT_FALSE(WISP_CFStringToCString(&text, buffer, 0));
    EXPECT_STREQ(buffer, "zz");
    EXPECT_FALSE(WISP_CFStringToCString(nullptr, buffer, 4));
    EXPECT_STREQ(buffer, "");
}

TEST(StringTest, NonUtf8TextBecomesAscii) {
    EXPECT_EQ(WISP_CStringToCFString("Gr\xFC\xDF"), "Gr??");
    EXPECT_EQ(WISP_CStringToCFString(nullptr), "");
}

class TempPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("TMPDIR"))
            m_saved = old;
    }
    void TearDown() override {
        if (m_saved)
            setenv("TMPDIR", m_saved->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> m_saved;
};

TEST_F(TempPathTest, AddsTheSlashWithinTheBuffer) {
    struct Case {
        const char* tmpdir;
        DWORD size;
        const char* expected;
    };
    const Case cases[] = {
        {"/scratch", 4, "/s/"},
        {"/scratch", 64, "/scratch/"},
        {"/scratch/", 64, "/scratch/"},
        {nullptr, 64, "/tmp/"},
        {"", 64, "/tmp/"},
        {"/scratch", 1, ""},
    };
    for (const auto& c : cases) {
        if (c.tmpdir)
            setenv("TMPDIR", c.tmpdir, 1);
        else
            unsetenv("TMPDIR");
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetTempPath(c.size, buffer), std::strlen(c.expected));
        EXPECT_STREQ(buffer, c.expected) << (c.tmpdir ? c.tmpdir : "(unset)") << " " << c.size;
    }
}

TEST(MemoryTest, GlobalBlocksKeepTheirSizeAndLockCount) {
    void* block = GlobalAlloc(0, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 10u);
    EXPECT_EQ(GlobalLock(block), block);
    std::memset(block, 1, 10);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GlobalFree(block), nullptr);
    void* empty = GlobalAlloc(0, -5);
    EXPECT_EQ(GlobalSize(empty), 0u);
    GlobalFree(empty);
    EXPECT_EQ(GlobalSize(nullptr), 0u);
}

TEST(SystemTest, FileTimesCountFrom1601) {
    char path[] = "/tmp/winlayer-filetime-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    struct stat status {};
    ASSERT_EQ(fstat(fd, &status), 0);
    FILETIME write{};
    EXPECT_TRUE(GetFileTime(fd, nullptr, nullptr, &write));
    const std::uint64_t value = (std::uint64_t{write.dwHighDateTime} << 32) | write.dwLowDateTime;
    EXPECT_EQ(value, static_cast<std::uint64_t>(status.st_mtime) * 10'000'000 +
                         116'444'736'000'000'000ULL);
    close(fd);
    unlink(path);
    EXPECT_FALSE(GetFileTime(-1, nullptr, nullptr, &write));
    EXPECT_FALSE(GetFileTime(fd, nullptr, nullptr, &write));
}

TEST(SystemTest, GuidsAreRandomVersionFour) {
    GUID a{}, b{};
    ASSERT_TRUE(WISP_GenerateGUID(&a));
    ASSERT_TRUE(WISP_GenerateGUID(&b));
    EXPECT_NE(std::memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&a)[6] >> 4, 4);
    EXPECT_FALSE(WISP_GenerateGUID(nullptr));
    EXPECT_EQ(WISP_GetOSXVersion(), 0x1400);
}

TEST(ExtendedApiTest, IniFileIsCopiedAndCleared) {
    std::string path = "/tmp/x/settings.ini";
    EXPECT_EQ(WISP_ExtendedAPI("INIFILE", path.data()), nullptr);
    path[1] = 'X';
    EXPECT_EQ(winlayer::DefaultIniFileOverride(), "/tmp/x/settings.ini");
    WISP_ExtendedAPI("INIFILE", nullptr);
    EXPECT_FALSE(winlayer::DefaultIniFileOverride().has_value());

    int hook = 0;
    EXPECT_EQ(WISP_ExtendedAPI("WISP_DDrop_onDragEnter", &hook), &hook);
    EXPECT_EQ(winlayer::CurrentDragDropHooks().onDragEnter, &hook);
    EXPECT_EQ(WISP_ExtendedAPI("APPNAME", &hook), nullptr);
    EXPECT_EQ(WISP_ExtendedAPI("unknown", &hook), nullptr);
    EXPECT_EQ(WISP_ExtendedAPI(nullptr, &hook), nullptr);
    WISP_ExtendedAPI("WISP_DDrop_onDragEnter", nullptr);
}

TEST(RuntimeTest, SwitchesAndTokens) {
    EXPECT_TRUE(winlayer::RightClickEmulation());
    WISP_EnableRightClickEmulate(FALSE);
    EXPECT_FALSE(winlayer::RightClickEmulation());
    WISP_EnableRightClickEmulate(TRUE);
    void* pool = WISP_InitAutoRelease();
    EXPECT_NE(pool, nullptr);
    WISP_QuitAutoRelease(pool);
    WISP_QuitAutoRelease(nullptr);
    WISP_DisableAppNap(1);
    WISP_DisableAppNap(-1);
    EXPECT_EQ(winlayer::AppNapRequests(), 0);
}

TEST(CloseHandleTest, AcceptsTheSixKindsOnly) {
    using winlayer::HandleKind;
    using winlayer::HandleRecord;
    // A kind one past the last and one before the first.
    HandleRecord past(static_cast<HandleKind>(0x1000008), 1);
    HandleRecord before(static_cast<HandleKind>(0x1000001), 1);
    EXPECT_FALSE(CloseHandle(&past));
    EXPECT_FALSE(CloseHandle(&before));
    EXPECT_EQ(past.referenceCount.load(), 1);
    EXPECT_FALSE(CloseHandle(nullptr));

    winlayer::DescriptorRecord descriptor(0);
    EXPECT_FALSE(CloseHandle(&descriptor));
    EXPECT_EQ(descriptor.referenceCount.load(), 1);

    EXPECT_TRUE(CloseHandle(new winlayer::FileRecord(std::tmpfile())));
    EXPECT_TRUE(CloseHandle(CreateEvent(nullptr, FALSE, FALSE)));
    HANDLE socketEvent = CreateEventAsSocket(nullptr, TRUE, TRUE);
    ASSERT_NE(socketEvent, nullptr);
    EXPECT_TRUE(CloseHandle(socketEvent));
}

} // namespace
