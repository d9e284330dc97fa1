#include "device/FileReader.h"
#include "device/FileWriter.h"
#include "tests/device/LibraryFixtures.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using omnar::test::Bytes;
using omnar::test::InChild;
using omnar::test::ReadFile;
using omnar::test::WriteFile;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = std::uint8_t(i * 7 + seed);
    return bytes;
}

bool WriteWith(FileWriter& writer, const std::string& path, const Bytes& bytes) {
    writer.Open(path.c_str());
    return writer.Descriptor() >= 0 &&
           writer.Write(bytes.data(), int32_t(bytes.size())) == int32_t(bytes.size());
}

class FileReaderWriterTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return home.Folder() + "/" + name; }
    std::size_t FolderEntries() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(home.Folder()))
            ++count;
        return count;
    }
    omnar::test::TempDataHome home;
};

TEST_F(FileReaderWriterTest, WriterReplacesWholeFilesAndFailsCleanly) {
    struct Case {
        const char* what;
        std::size_t oldSize; // 0: no old file
        std::size_t newSize;
        std::function<void(const std::string&)> meanwhile; // while the writer is open
        bool closes;
    };
    const std::string path = Path("slot.dat");
    const Case cases[] = {
        {"shorter content replaces a longer file", 5000, 256, nullptr, true},
        {"a new file appears", 0, 2436, nullptr, true},
        {"content spanning several write blocks", 10, 100000, nullptr, true},
        {"an empty write leaves an empty file", 300, 0, nullptr, true},
        {"readers see the old file until Close", 700, 300,
         [](const std::string& p) { EXPECT_EQ(ReadFile(p).size(), 700u); }, true},
        {"a second writer in the same process is refused", 900, 256,
         [](const std::string& p) {
             FileWriter other;
             other.Open(p.c_str());
             EXPECT_LT(other.Descriptor(), 0);
             EXPECT_EQ(ReadFile(p).size(), 900u);
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        unlink(path.c_str());
        if (c.oldSize)
            WriteFile(path, Pattern(c.oldSize, 1));
        const Bytes fresh = Pattern(c.newSize, 2);
        FileWriter writer;
        writer.Open(path.c_str());
        ASSERT_GE(writer.Descriptor(), 0);
        EXPECT_EQ(writer.Write(fresh.data(), int32_t(fresh.size())), int32_t(fresh.size()));
        if (c.meanwhile)
            c.meanwhile(path);
        EXPECT_EQ(writer.Close(), c.closes);
        EXPECT_EQ(ReadFile(path), fresh);
        // The staging file went with the Close.
        EXPECT_EQ(FolderEntries(), 1u);
    }
}

TEST_F(FileReaderWriterTest, FullDiskOrAWriterThatDiesKeepsTheOldFile) {
    const std::string path = Path("bank.z3b");
    const Bytes old = Pattern(4000, 3);
    struct Case {
        const char* what;
        std::function<int()> child;
    };
    const Case cases[] = {
        {"the disk fills: Close reports it",
         [&] {
             std::signal(SIGXFSZ, SIG_IGN);
             const rlimit limit{8192, 8192};
             setrlimit(RLIMIT_FSIZE, &limit);
             FileWriter writer;
             const Bytes big = Pattern(100000, 4);
             WriteWith(writer, path, big);
             return writer.Close() ? 1 : 0;
         }},
        {"the writer exits before Close",
         [&] {
             FileWriter writer;
             WriteWith(writer, path, Pattern(100000, 5));
             _exit(0);
             return 1;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(path, old);
        EXPECT_EQ(InChild(c.child), 0);
        EXPECT_EQ(ReadFile(path), old);
        // The lock went with the dead writer: the next write works.
        FileWriter next;
        EXPECT_TRUE(WriteWith(next, path, Pattern(10, 6)));
        EXPECT_TRUE(next.Close());
    }
}

TEST_F(FileReaderWriterTest, FailedFirstWriteLeavesNoFileBehind) {
    const std::string path = Path("new.dat");
    EXPECT_EQ(InChild([&] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{4096, 4096};
                  setrlimit(RLIMIT_FSIZE, &limit);
                  FileWriter writer;
                  WriteWith(writer, path, Pattern(50000, 1));
                  return writer.Close() ? 1 : 0;
              }),
              0);
    EXPECT_FALSE(omnar::test::FileExists(path));
}

// A writer killed at any step leaves the old file (or none), never a short
// or empty one; the next start removes what it staged, but never a
// temporary whose writer still lives.
TEST_F(FileReaderWriterTest, AWriterKilledAtAnyStepLeavesTheTargetAbsentOrWhole) {
    vx::test::FakeHost host;
    omnar::test::LibraryEditor editor(vx::InstanceInfo{&host});
    const std::string folder = home.PresetsFolder();
    std::filesystem::create_directories(folder);
    const std::string path = folder + "049.dat";
    const Bytes old = Pattern(256, 7);
    const Bytes fresh = Pattern(100000, 8); // more than the writer's buffer holds
    enum Step { kAfterOpen, kAfterData, kAfterClose };
    struct Case {
        const char* what;
        Step killedAt;
        bool oldFile;
    };
    const Case cases[] = {
        {"after the open", kAfterOpen, false},    {"after the open, old file", kAfterOpen, true},
        {"after the data", kAfterData, false},    {"after the data, old file", kAfterData, true},
        {"after the rename", kAfterClose, false}, {"after the rename, old file", kAfterClose, true},
    };
    const auto temporaries = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename().string().find(".tmp-") != std::string::npos)
                names.push_back(entry.path().filename().string());
        return names;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        unlink(path.c_str());
        if (c.oldFile)
            WriteFile(path, old);
        EXPECT_EQ(InChild([&] {
                      FileWriter writer;
                      writer.Open(path.c_str());
                      if (c.killedAt >= kAfterData)
                          writer.Write(fresh.data(), int32_t(fresh.size()));
                      if (c.killedAt >= kAfterClose && !writer.Close())
                          return 1;
                      raise(SIGKILL);
                      return 1;
                  }),
                  -1);
        if (c.killedAt == kAfterClose)
            EXPECT_EQ(ReadFile(path), fresh);
        else if (c.oldFile)
            EXPECT_EQ(ReadFile(path), old);
        else
            EXPECT_FALSE(omnar::test::FileExists(path));
        EXPECT_EQ(temporaries().size(), c.killedAt == kAfterClose ? 0u : 1u);

        // A write under way in this process keeps its temporary through the clean-up.
        FileWriter live;
        live.Open((folder + "050.dat").c_str());
        ASSERT_GE(live.Descriptor(), 0);
        editor.RemoveAbandonedLibraryFiles();
        EXPECT_EQ(temporaries().size(), 1u);
        EXPECT_TRUE(live.Close());
        EXPECT_TRUE(temporaries().empty());
    }
}

TEST_F(FileReaderWriterTest, ClosedObjectsDoNothing) {
    FileWriter writer;
    writer.Open(nullptr);
    EXPECT_LT(writer.Descriptor(), 0);
    EXPECT_EQ(writer.Write("x", 1), 0);
    EXPECT_FALSE(writer.Close());
    writer.Open(Path("missing/folder/file").c_str());
    EXPECT_LT(writer.Descriptor(), 0);

    FileReader reader;
    reader.Open(Path("absent").c_str());
    EXPECT_LT(reader.Descriptor(), 0);
    char byte;
    EXPECT_EQ(reader.Read(&byte, 1), 0);
    EXPECT_NE(reader.SetPosition(0), 0);
}

TEST_F(FileReaderWriterTest, ReaderEdgeCases) {
    const Bytes content = Pattern(100000, 9);
    WriteFile(Path("big"), content);
    WriteFile(Path("empty"), {});

    FileReader reader;
    reader.Open(Path("empty").c_str());
    ASSERT_GE(reader.Descriptor(), 0);
    char byte;
    EXPECT_EQ(reader.GetSize(), 0);
    EXPECT_EQ(reader.Read(&byte, 1), 0);

    reader.Open(Path("big").c_str());
    EXPECT_EQ(reader.GetSize(), 100000);
    struct Step {
        int64_t seek; // -999: no seek
        int32_t count;
        int64_t expectedStart;
        int32_t expectedCount;
    };
    const Step steps[] = {
        {-999, 1000, 0, 1000},       // from the start
        {-999, 40000, 1000, 40000},  // across a block boundary
        {500, 10, 500, 10},          // back inside the current block
        {99990, 50, 99990, 10},      // past the end: the rest...
        {-999, 50, 100000, 0},       // ...then nothing
        {200000, 5, 100000, 0},      // beyond the size clamps to it
        {-20, 4, 0, 4},              // negative clamps to 0
        {65536, 70000, 65536, 34464} // a fresh block far away
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "seek " << s.seek << " count " << s.count);
        if (s.seek != -999) {
            EXPECT_EQ(reader.SetPosition(s.seek), 0);
        }
        Bytes out(std::size_t(s.count));
        ASSERT_EQ(reader.Read(out.data(), s.count), s.expectedCount);
        EXPECT_EQ(reader.GetPosition(), s.expectedStart + s.expectedCount);
        EXPECT_TRUE(std::equal(out.begin(), out.begin() + s.expectedCount,
                               content.begin() + s.expectedStart));
    }
}

TEST_F(FileReaderWriterTest, ReaderOpensAFileAWriterHoldsAndLoadsWholeFilesWhenAsked) {
    const std::string path = Path("held");
    WriteFile(path, Pattern(3000, 1));
    FileWriter writer;
    writer.Open(path.c_str());
    ASSERT_GE(writer.Descriptor(), 0);

    FileReader reader;
    reader.Open(path.c_str());
    ASSERT_GE(reader.Descriptor(), 0);
    Bytes out(3000);
    EXPECT_EQ(reader.Read(out.data(), 3000), 3000);
    EXPECT_EQ(out, Pattern(3000, 1));

    // Mapping and whole-file loading, which the callers never ask for.
    for (const int64_t smallestToMap : {int64_t{1}, int64_t{1} << 40}) {
        FileReader whole;
        whole.Open(path.c_str(), 1, 8192, 4, smallestToMap, 1 << 20);
        Bytes got(3000);
        whole.SetPosition(1000);
        EXPECT_EQ(whole.Read(got.data(), 3000), 2000);
        EXPECT_TRUE(std::equal(got.begin(), got.begin() + 2000, Pattern(3000, 1).begin() + 1000));
    }
}

} // namespace
