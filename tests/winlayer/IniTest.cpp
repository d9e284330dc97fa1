#include "winlayer/PrivateProfile.h"

#include "tests/winlayer/IniTestSupport.h"
#include "winlayer/Runtime.h"

#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Value(const char* section, const char* key, const std::string& file,
                  const char* defaultValue = "(default)") {
    char buffer[256];
    GetPrivateProfileString(section, key, defaultValue, buffer, sizeof buffer, file.c_str());
    return buffer;
}

class IniTest : public IniFolderTest {};

TEST_F(IniTest, GoldenSettingsReadAndRewriteSorted) {
    const std::string file = PathOf("settings.ini");
    WriteFile(file, ReadFile(GOLDEN_SETTINGS_PATH));
    EXPECT_EQ(Value("audio", "driver", file), "2");
    EXPECT_EQ(GetPrivateProfileInt("audio", "driver", -1, file.c_str()), 2);
    EXPECT_EQ(GetPrivateProfileInt("AUDIO", "Sample Rate", -1, file.c_str()), 48000);
    EXPECT_EQ(Value("midi", "input port", file), "Omnar MIDI 1");
    EXPECT_EQ(Value("gui", "scale", file), "1.25");

    EXPECT_TRUE(WritePrivateProfileString("GUI", "scale", "1.5", file.c_str()));
    EXPECT_EQ(ReadFile(file), "[audio]\n"
                              "buffer size=512\n"
                              "driver= 2\n"
                              "in channels=1 2\n"
                              "input device=Built-in Microphone\n"
                              "out channels=1 2\n"
                              "output device=Built-in Output\n"
                              "sample rate=48000\n"
                              "\n"
                              "[GUI]\n"
                              "scale=1.5\n"
                              "\n"
                              "[midi]\n"
                              "in channel=0\n"
                              "input port=\"Omnar MIDI 1\"\n"
                              "out channel=0\n"
                              "output port=Omnar MIDI 1\n"
                              "\n");
}

TEST_F(IniTest, ReadingEdgeCases) {
    const std::string file = PathOf("edge.ini");
    WriteFile(file, "orphan=before any header\n"
                    "[values]\n"
                    "  zero=0\n"
                    "abc=abc\n"
                    "negzero=-0\n"
                    "empty=\n"
                    "quoted=\"a b\"\n"
                    "single='unterminated\n"
                    "twice=\"\"x\"\"\n"
                    "padded=\t 'p' \t\n"
                    "equation=a=b\n"
                    "; note=semicolon\n"
                    "dup=first\n"
                    "DUP=last\n"
                    "big=99999999999\n"
                    "[broken\n"
                    "still=values\n"
                    "[]\n"
                    "ignored=yes\n"
                    "[Case] trailing text\n"
                    "Key=1\n"
                    "[case]\n"
                    "KEY=2\n");
    struct Case {
        const char* section;
        const char* key;
        const char* text;
        int number;
    };
    const Case cases[] = {
        {"values", "zero", "0", 0},
        {"values", "abc", "abc", -1},
        {"values", "negzero", "-0", -1},
        {"values", "empty", "", -1},
        {"values", "quoted", "a b", -1},
        {"values", "single", "'unterminated", -1},
        {"values", "twice", "\"x\"", -1},
        {"values", "padded", "p", -1},
        {"values", "equation", "a=b", -1},
        {"values", "; note", "semicolon", -1},
        {"values", "dup", "last", -1},
        {"values", "big", "99999999999", 2147483647},
        {"values", "still", "values", -1},
        {"values", "orphan", "(default)", -1},
        {"values", "ignored", "(default)", -1},
        {"CASE", "key", "2", 2},
        {"case", "Key", "2", 2},
        {"missing", "key", "(default)", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Value(c.section, c.key, file), c.text) << c.section << "/" << c.key;
        EXPECT_EQ(GetPrivateProfileInt(c.section, c.key, -1, file.c_str()), c.number)
            << c.section << "/" << c.key;
    }
    char small[4];
    EXPECT_EQ(GetPrivateProfileString("values", "abc", "", small, 1, file.c_str()), 0u);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(GetPrivateProfileString("values", "equation", "", small, 3, file.c_str()), 2u);
    EXPECT_STREQ(small, "a=");
    EXPECT_EQ(GetPrivateProfileString("values", "nothing", nullptr, small, 4, file.c_str()), 0u);
}

TEST_F(IniTest, NameListsAreSortedAndCutWithTwoNuls) {
    const std::string file = PathOf("lists.ini");
    WriteFile(file, "[b]\nx=1\n[A]\n[]\nz=2\n");
    struct Case {
        DWORD size;
        std::string_view expected;
        DWORD result;
    };
    using namespace std::string_view_literals;
    const Case cases[] = {
        {16, "A\0b\0\0"sv, 3}, {5, "A\0b\0\0"sv, 3}, {4, "A\0\0\0"sv, 2},
        {3, "A\0\0"sv, 1},     {2, "\0\0"sv, 0},     {1, "\0"sv, 0},
    };
    for (const auto& c : cases) {
        std::string buffer(c.size, 'x');
        EXPECT_EQ(
            GetPrivateProfileString(nullptr, "ignored", "", buffer.data(), c.size, file.c_str()),
            c.result)
            << c.size;
        EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected) << c.size;
    }
    char keys[16];
    EXPECT_EQ(GetPrivateProfileString("B", nullptr, "", keys, sizeof keys, file.c_str()), 1u);
    EXPECT_EQ(std::string_view(keys, 3), "x\0\0"sv);
    EXPECT_EQ(GetPrivateProfileString("none", nullptr, "", keys, sizeof keys, file.c_str()), 0u);
    EXPECT_EQ(std::string_view(keys, 2), "\0\0"sv);
}

TEST_F(IniTest, SectionListingTrimsValuesAndCutsAtTheEnd) {
    using namespace std::string_view_literals;
    const std::string file = PathOf("section.ini");
    WriteFile(file, "[s]\nb= \"two\" \na=1\n[empty]\n");
    struct Case {
        const char* section;
        DWORD size;
        std::string_view expected;
        DWORD result;
    };
    const Case cases[] = {
        {"s", 32, "a=1\0b=two\0\0"sv, 10}, {"s", 8, "a=1\0b=\0\0"sv, 6}, {"s", 5, "a=1\0\0"sv, 3},
        {"empty", 8, "\0\0"sv, 0},         {"missing", 8, "\0\0"sv, 0},  {"s", 1, "\0"sv, 0},
    };
    for (const auto& c : cases) {
        std::string buffer(c.size, 'x');
        EXPECT_EQ(GetPrivateProfileSection(c.section, buffer.data(), c.size, file.c_str()),
                  c.result)
            << c.section << " " << c.size;
        EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected) << c.section << " " << c.size;
    }
}

TEST_F(IniTest, StructsCarryAChecksum) {
    const std::string file = PathOf("struct.ini");
    const unsigned char bytes[] = {0x0A, 0x0B};
    EXPECT_TRUE(WritePrivateProfileStruct("s", "k", bytes, 2, file.c_str()));
    EXPECT_EQ(Value("s", "k", file), "0A0B15");
    struct Case {
        const char* stored;
        int size;
        BOOL accepted;
    };
    const Case cases[] = {
        {"0A0B15", 2, TRUE},   {"0a0b15", 2, TRUE},  {"0A0B16", 2, FALSE},
        {"0A0B1", 2, FALSE},   {"0A0G15", 2, FALSE}, {"0A0B15", 1, FALSE},
        {"0A0B15", -1, FALSE}, {"00", 0, TRUE},      {"0A0B15", 0x7FFFFFF8, FALSE},
    };
    for (const auto& c : cases) {
        WritePrivateProfileString("s", "v", c.stored, file.c_str());
        unsigned char out[2] = {};
        EXPECT_EQ(GetPrivateProfileStruct("s", "v", out, c.size, file.c_str()), c.accepted)
            << c.stored << " " << c.size;
        if (c.accepted && c.size == 2) {
            EXPECT_EQ(out[0], 0x0A);
            EXPECT_EQ(out[1], 0x0B);
        }
    }
    EXPECT_FALSE(GetPrivateProfileStruct(nullptr, "v", nullptr, 0, file.c_str()));
    EXPECT_TRUE(WritePrivateProfileStruct("s", "k", nullptr, 2, file.c_str()));
    EXPECT_EQ(Value("s", "k", file), "(default)") << "null data deletes";
}

TEST_F(IniTest, WritesDeleteAndSkipUnchangedValues) {
    const std::string file = PathOf("writes.ini");
    EXPECT_TRUE(WritePrivateProfileString("midi", "in", "1", file.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("audio", "rate", "48000", file.c_str()));
    const ino_t inode = StatOf(file).st_ino;
    EXPECT_TRUE(WritePrivateProfileString("MIDI", "IN", "1", file.c_str()));
    EXPECT_EQ(StatOf(file).st_ino, inode) << "an unchanged value does not rewrite the file";

    EXPECT_TRUE(WritePrivateProfileString("midi", "in", nullptr, file.c_str()));
    EXPECT_EQ(ReadFile(file), "[audio]\nrate=48000\n\n[midi]\n\n");
    EXPECT_TRUE(WritePrivateProfileString("midi", nullptr, nullptr, file.c_str()));
    EXPECT_EQ(ReadFile(file), "[audio]\nrate=48000\n\n");
    EXPECT_TRUE(WritePrivateProfileString("gone", "k", nullptr, file.c_str()));

    const char list[] = "b=2\0a=1\0no equals\0a=3\0";
    EXPECT_TRUE(WritePrivateProfileSection("audio", list, file.c_str()));
    EXPECT_EQ(ReadFile(file), "[audio]\na=3\nb=2\n\n");
    EXPECT_TRUE(WritePrivateProfileSection("audio", "", file.c_str()));
    EXPECT_EQ(ReadFile(file), "[audio]\n\n");
    EXPECT_FALSE(WritePrivateProfileString(nullptr, "k", "v", file.c_str()));
    EXPECT_FALSE(WritePrivateProfileString("s", "", "v", file.c_str()));
    EXPECT_FALSE(WritePrivateProfileSection(nullptr, list, file.c_str()));
}

TEST_F(IniTest, TextThatCannotBeReadBackIsRefused) {
    const std::string file = PathOf("refuse.ini");
    ASSERT_TRUE(WritePrivateProfileString("s", "k", "v", file.c_str()));
    const std::string before = ReadFile(file);
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"s\n", "k", "v"}, {"s", "k\r", "v"}, {"s", "k", "v\nw"}, {"s", "a=b", "v"},
        {"s]", "k", "v"},  {"", "k", "v"},    {"s", "[x]", "v"},  {"s", "  ", "v"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(WritePrivateProfileString(c.section, c.key, c.value, file.c_str()))
            << c.section << "/" << c.key << "/" << c.value;
    }
    EXPECT_FALSE(WritePrivateProfileSection("s", "a=1\0b\n=2\0", file.c_str()));
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(Value("s", "k", file), "v");
}

TEST_F(IniTest, WritesThatFailAnswerZeroAndLeaveNothingBehind) {
    const std::string file = PathOf("missing/settings.ini");
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", file.c_str()));
    EXPECT_EQ(Value("s", "k", file), "(default)") << "nothing changed, not even in memory";
    EXPECT_FALSE(std::filesystem::exists(PathOf("missing")));
    EXPECT_TRUE(std::filesystem::is_empty(Folder()));
}

TEST_F(IniTest, APlantedLinkAtTheTemporaryNameIsNotFollowed) {
    const std::string file = PathOf("settings.ini");
    const std::string victim = PathOf("victim");
    WriteFile(victim, "precious");
    const std::string planted = PathOf(".settings.ini.tmp-AAAAAA");
    ASSERT_EQ(symlink(victim.c_str(), planted.c_str()), 0);
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "v", file.c_str()));
    EXPECT_EQ(ReadFile(victim), "precious");
    EXPECT_FALSE(std::filesystem::is_symlink(planted)) << "taken for a stale temporary";
    EXPECT_EQ(ReadFile(file), "[s]\nk=v\n\n");
}

TEST_F(IniTest, ALinkedSettingsFileKeepsItsLinkAndMode) {
    const std::string target = PathOf("real.ini");
    const std::string link = PathOf("settings.ini");
    WriteFile(target, "[s]\nk=1\n");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "2", link.c_str()));
    struct stat status {};
    ASSERT_EQ(lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(ReadFile(target), "[s]\nk=2\n\n");
    EXPECT_EQ(StatOf(target).st_mode & 07777, 0640u);

    const mode_t previous = umask(027);
    const std::string fresh = PathOf("fresh.ini");
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "1", fresh.c_str()));
    umask(previous);
    EXPECT_EQ(StatOf(fresh).st_mode & 07777, 0640u);
}

TEST_F(IniTest, AFileThatIsNotAnIniFileIsNeverOverwritten) {
    const std::string file = PathOf("big.txt");
    std::string text;
    while (text.size() <= 0x40000)
        text += "just some text, no header here\n";
    text += "[s]\nk=v\n";
    WriteFile(file, text);
    EXPECT_EQ(Value("s", "k", file), "(default)");
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "w", file.c_str()));
    EXPECT_EQ(ReadFile(file), text);
}

TEST_F(IniTest, ArbitraryBytesReadWithoutHarm) {
    const std::string binary = PathOf("binary.ini");
    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes.push_back(static_cast<char>((i * 7919) % 256));
    WriteFile(binary, std::string("[s]\n") + bytes + "\n[s2]\nk=\0v\n" + bytes);
    EXPECT_EQ(Value("s2", "k", binary), "");

    const std::string longLine = PathOf("long.ini");
    WriteFile(longLine, "[s]\n" + std::string(0x2000000 + 10, 'a') + "=x\nk=v\n");
    EXPECT_EQ(Value("s", "k", longLine), "v");
}

TEST_F(IniTest, LongPathsAreNeverCut) {
    std::string folder = Folder().string();
    for (int i = 0; i < 8; ++i) {
        folder += "/" + std::string(200, static_cast<char>('a' + i));
        ASSERT_TRUE(std::filesystem::create_directory(folder));
    }
    const std::string file = folder + "/settings.ini";
    ASSERT_GT(file.size(), 1600u);
    EXPECT_TRUE(WritePrivateProfileString("GUI", "scale", "2", file.c_str()));
    EXPECT_EQ(ReadFile(file), "[GUI]\nscale=2\n\n");
}

TEST_F(IniTest, ChangesByOthersAreSeenWithinTheSameSecond) {
    const std::string file = PathOf("external.ini");
    ASSERT_TRUE(WritePrivateProfileString("s", "k", "1", file.c_str()));
    const struct stat before = StatOf(file);
    WriteFile(file, "[s]\nk=2\n\n");
    // Same second, same size: only the nanoseconds tell the files apart.
    timespec times[2] = {before.st_atim, before.st_mtim};
    times[1].tv_nsec = (before.st_mtim.tv_nsec + 1) % 1'000'000'000;
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    EXPECT_EQ(Value("s", "k", file), "2");
}

TEST_F(IniTest, The33rdFileEvictsTheLeastRecentlyUsed) {
    std::vector<std::string> files;
    for (int i = 0; i < 33; ++i) {
        files.push_back(PathOf("f" + std::to_string(i) + ".ini"));
        ASSERT_TRUE(WritePrivateProfileString("s", "k", "1", files.back().c_str()));
    }
    // Rewrites that keep time and size: only a file read again from disk shows them.
    for (const auto& file : {files[0], files[32]}) {
        const struct stat before = StatOf(file);
        WriteFile(file, "[s]\nk=2\n\n");
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    }
    EXPECT_EQ(Value("s", "k", files[32]), "1") << "still cached";
    EXPECT_EQ(Value("s", "k", files[0]), "2") << "evicted, so read again";
}

TEST_F(IniTest, BareNamesLiveNextToTheDefaultFile) {
    const std::string defaultFile = PathOf(".varOzori.ini");
    WISP_ExtendedAPI("INIFILE", const_cast<char*>(defaultFile.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "d", nullptr));
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "p", "plugin"));
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "a", "a.INI"));
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "t", "a.txt"));
    WISP_ExtendedAPI("INIFILE", nullptr);
    EXPECT_EQ(ReadFile(defaultFile), "[s]\nk=d\n\n");
    EXPECT_EQ(ReadFile(PathOf(".varOzori_plugin.ini")), "[s]\nk=p\n\n");
    EXPECT_EQ(ReadFile(PathOf(".varOzori_a.INI")), "[s]\nk=a\n\n");
    EXPECT_EQ(ReadFile(PathOf(".varOzori_a.txt.ini")), "[s]\nk=t\n\n");
}

// A reader in another process sees the old file or the new one, never a mix.
TEST_F(IniTest, AForkedReaderNeverSeesATornFile) {
    const std::string file = PathOf("shared.ini");
    const std::string shortValue = "x";
    const std::string longValue(100000, 'y');
    const std::string shortText = "[s]\nk=" + shortValue + "\n\n";
    const std::string longText = "[s]\nk=" + longValue + "\n\n";
    ASSERT_TRUE(WritePrivateProfileString("s", "k", shortValue.c_str(), file.c_str()));
    int stop[2];
    ASSERT_EQ(pipe(stop), 0);
    const pid_t reader = fork();
    ASSERT_GE(reader, 0);
    if (reader == 0) {
        close(stop[1]);
        fcntl(stop[0], F_SETFL, O_NONBLOCK);
        int torn = 0;
        char ignored;
        while (read(stop[0], &ignored, 1) < 0) {
            const std::string text = ReadFile(file);
            if (text != shortText && text != longText)
                ++torn;
        }
        _exit(torn == 0 ? 0 : 1);
    }
    close(stop[0]);
    for (int i = 0; i < 200; ++i) {
        const std::string& value = i % 2 ? shortValue : longValue;
        ASSERT_TRUE(WritePrivateProfileString("s", "k", value.c_str(), file.c_str()));
    }
    close(stop[1]);
    int status = 0;
    ASSERT_EQ(waitpid(reader, &status, 0), reader);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the reader saw a torn file";
}

} // namespace
