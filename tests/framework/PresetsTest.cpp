#include "framework/Base64.h"
#include "framework/IByteChunk.h"
#include "tests/framework/PluginFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace vx::test {
namespace {

using Bytes = std::vector<uint8_t>;

PluginConfig WithPresets(int count, bool stateChunks = false) {
    PluginConfig config = ProductConfig();
    config.presetCount = count;
    config.stateChunks = stateChunks;
    return config;
}

// A file in the test's own temporary folder, removed afterwards.
class TempFile {
public:
    explicit TempFile(const char* name) {
        char dir[] = "/tmp/presetsXXXXXX";
        m_dir = mkdtemp(dir);
        m_path = m_dir + "/" + name;
    }
    ~TempFile() {
        std::remove(m_path.c_str());
        rmdir(m_dir.c_str());
    }
    const char* Path() const { return m_path.c_str(); }
    Bytes Read() const {
        std::ifstream in(m_path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void Write(const Bytes& bytes) const {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

private:
    std::string m_dir;
    std::string m_path;
};

// One value for every parameter that each of them keeps as it is (the switch takes 0 or 1).
std::vector<double> Fill(double value) {
    std::vector<double> values(151, value);
    values[TestProduct::kBool] = 1.0;
    return values;
}

std::vector<double> Values(const IModuleBase& module) {
    std::vector<double> values;
    for (int i = 0; i < module.NParams(); ++i)
        values.push_back(module.GetParam(i)->CurrentValue());
    return values;
}

class PresetsTest : public ::testing::Test {
protected:
    FakeHost host;
    TestProduct product{&host, WithPresets(3)};
};

TEST_F(PresetsTest, AnUninitialisedPresetIsNamedAfterTheUserPresetsBeforeIt) {
    IByteChunk state;
    product.SaveState(state);
    ASSERT_TRUE(product.MakePresetFromChunk("user preset 1", state));
    ASSERT_TRUE(product.MakePresetFromChunk("user preset 2", state));
    EXPECT_TRUE(product.RestorePreset(2));
    EXPECT_STREQ(product.PresetName(2), "user preset 3");
    EXPECT_EQ(product.CurrentPresetIdx(), 2);
    EXPECT_FALSE(product.RestorePreset(3));
    EXPECT_FALSE(product.RestorePresetByName(""));
    EXPECT_FALSE(product.MakePresetFromChunk("no room", state));
}

TEST_F(PresetsTest, RestoringAPresetBringsItsValuesBack) {
    product.GetParam(40)->Set(7.0);
    const std::vector<double> values(151, 1.0);
    ASSERT_TRUE(product.MakePreset("ones", values));
    const std::pair<int, double> named[] = {{40, 99.0}, {500, 1.0}};
    ASSERT_TRUE(product.MakePresetFromNamedParams("named", named));
    EXPECT_TRUE(product.RestorePresetByName("ones"));
    EXPECT_EQ(product.GetParam(40)->CurrentValue(), 1.0);
    EXPECT_TRUE(product.RestorePresetByName("named"));
    EXPECT_EQ(product.GetParam(40)->CurrentValue(), 99.0);
    EXPECT_EQ(product.GetParam(41)->CurrentValue(), 50.0); // kept from when it was made
}

TEST_F(PresetsTest, FillingRenamingAndPruning) {
    product.GetParam(40)->Set(7.0);
    product.FillEmptyPresets("filled", 1);
    EXPECT_STREQ(product.PresetName(0), "filled");
    EXPECT_FALSE(product.GetPreset(1)->initialised);
    product.PruneEmptyPresets();
    EXPECT_EQ(product.NPresets(), 1);

    product.GetParam(40)->Set(8.0);
    product.SaveIntoCurrentPreset("renamed");
    product.GetParam(40)->Set(9.0);
    EXPECT_TRUE(product.RestorePresetByName("renamed"));
    EXPECT_EQ(product.GetParam(40)->CurrentValue(), 8.0);

    TestProduct empties(&host, WithPresets(2));
    empties.FillAllEmptyPresets();
    EXPECT_STREQ(empties.PresetName(1), "Empty");
    EXPECT_TRUE(empties.GetPreset(1)->initialised);
}

TEST_F(PresetsTest, PresetListRoundTripsAndStopsAtABadRecord) {
    product.MakePreset("twos", Fill(2.0));
    IByteChunk chunk;
    ASSERT_TRUE(product.WritePresets(chunk));

    FakeHost otherHost;
    TestProduct other(&otherHost, WithPresets(3));
    EXPECT_EQ(other.ReadPresets(chunk, 0), chunk.Size());
    EXPECT_STREQ(other.PresetName(0), "twos");
    ASSERT_TRUE(other.GetPreset(0)->initialised);
    EXPECT_EQ(other.GetPreset(0)->state, product.GetPreset(0)->state);
    EXPECT_FALSE(other.GetPreset(1)->initialised);

    struct Case {
        const char* what;
        int32_t nameLength;
        int extra; // bytes after the length field
    };
    const Case cases[] = {{"name too long", 256, 300}, {"negative", -1, 10}, {"cut", 20, 5}};
    for (const Case& c : cases) {
        IByteChunk bad;
        bad.Put(c.nameLength);
        for (int i = 0; i < c.extra; ++i)
            bad.Put(uint8_t{'a'});
        EXPECT_EQ(other.ReadPresets(bad, 0), -1) << c.what;
        EXPECT_STREQ(other.PresetName(0), "twos") << c.what;
    }
}

TEST_F(PresetsTest, Base64StopsAtTheSizeAndAtForeignCharacters) {
    const Bytes bytes = {'h', 'e', 'l', 'l', 'o', 0, 0xFF};
    const std::string text = Base64Encode(bytes);
    EXPECT_EQ(text, "aGVsbG8A/w==");
    uint8_t out[8] = {};
    EXPECT_EQ(Base64Decode(text.c_str(), std::span(out, 7)), 7);
    EXPECT_EQ(Bytes(out, out + 7), bytes);

    uint8_t guarded[6] = {0, 0, 0, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(Base64Decode(text.c_str(), std::span(guarded, 3)), 3);
    EXPECT_EQ(guarded[3], 0xAA);
    EXPECT_EQ(Base64Decode("aGV!sbG8", std::span(out, 8)), 2);
    EXPECT_EQ(Base64Decode(nullptr, std::span(out, 8)), 0);

    IByteChunk state;
    product.SaveState(state);
    const std::string blob = Base64Encode(state.Bytes());
    ASSERT_TRUE(product.MakePresetFromBlob("blob", blob.c_str(), state.Size()));
    EXPECT_EQ(product.GetPreset(0)->state, state);
}

TEST_F(PresetsTest, SourceDumpsDescribeTheCurrentPreset) {
    TempFile file("dump.txt");
    FakeHost smallHost;
    PluginConfig config = ProductConfig();
    config.paramCount = 4;
    TestProduct small(&smallHost, config);
    small.GetParam(TestProduct::kBool)->Set(1);
    small.GetParam(3)->Set(12.5);
    ASSERT_TRUE(small.DumpPresetSource(file.Path()));
    const char* const names[] = {"kBypass", "kSlot", "kRoom", "kKnob"};
    ASSERT_TRUE(small.DumpNamedPresetSource(file.Path(), names));
    const Bytes text = file.Read();
    EXPECT_EQ(std::string(text.begin(), text.end()),
              "MakePreset(\"empty\", true, 3, 1, 12.500000);\n"
              "MakePresetFromNamedParams(\"empty\", 4,\n    kBypass, true,\n    kSlot, 3,\n"
              "    kRoom, 1,\n    kKnob, 12.500000);\n");
    EXPECT_FALSE(small.DumpPresetBlob("/nonexistent/dir/x.txt"));
    // A full disk shows only when the buffered text is flushed at close.
    EXPECT_FALSE(small.DumpPresetSource("/dev/full"));
    EXPECT_FALSE(small.DumpNamedPresetSource("/dev/full", names));
    EXPECT_FALSE(small.DumpPresetBlob("/dev/full"));

    TempFile blobFile("blob.txt");
    ASSERT_TRUE(small.DumpPresetBlob(blobFile.Path()));
    const Bytes blob = blobFile.Read();
    const std::string line(blob.begin(), blob.end());
    IByteChunk state;
    small.SaveState(state);
    EXPECT_EQ(line,
              "MakePresetFromBlob(\"empty\", \"" + Base64Encode(state.Bytes()) + "\", 32);\n");
}

void ExpectProgramRoundTrip(bool stateChunks) {
    FakeHost host;
    TestProduct source(&host, WithPresets(1, stateChunks));
    source.GetParam(7)->Set(25.0);
    source.GetParam(TestProduct::kEnum)->Set(3);
    TempFile file("program.fxp");
    ASSERT_TRUE(source.SaveProgramFile(file.Path()));
    const Bytes bytes = file.Read();
    ASSERT_GE(bytes.size(), 56u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CcnK");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), stateChunks ? "FPCh" : "FxCk");
    EXPECT_EQ(bytes.size(), stateChunks ? 60u + 8 + 1208 : 56u + 4 * 151);

    TestProduct loaded(&host, WithPresets(1, stateChunks));
    ASSERT_TRUE(loaded.LoadProgramFile(file.Path()));
    EXPECT_EQ(Values(loaded), Values(source));
    EXPECT_FALSE(loaded.Entries("restored").empty());
}

TEST(PresetFiles, ProgramRoundTripsAsValuesAndAsOpaqueChunk) {
    ExpectProgramRoundTrip(false);
    ExpectProgramRoundTrip(true);
}

TEST(PresetFiles, BankRoundTripsEveryPreset) {
    for (bool stateChunks : {false, true}) {
        FakeHost host;
        TestProduct source(&host, WithPresets(2, stateChunks));
        source.MakePreset("ones", Fill(1.0));
        source.MakePreset("twos", Fill(2.0));
        TempFile file("bank.fxb");
        ASSERT_TRUE(source.SaveBankFile(file.Path()));

        TestProduct loaded(&host, WithPresets(2, stateChunks));
        ASSERT_TRUE(loaded.LoadBankFile(file.Path())) << stateChunks;
        EXPECT_STREQ(loaded.PresetName(1), "twos");
        EXPECT_NEAR(loaded.GetParam(9)->CurrentValue(), 1.0, 1e-5); // the current preset
        ASSERT_TRUE(loaded.RestorePreset(1));
        EXPECT_NEAR(loaded.GetParam(9)->CurrentValue(), 2.0, 1e-5);
        if (stateChunks) {
            EXPECT_EQ(loaded.GetPreset(1)->state, source.GetPreset(1)->state);
        }
    }
}

// Big-endian int32 at offset.
void PutInt(Bytes& bytes, size_t offset, int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + size_t(i)] = uint8_t(uint32_t(value) >> (24 - 8 * i));
}

TEST(PresetFiles, BadFilesAreRejectedWithNothingChanged) {
    FakeHost host;
    TestProduct source(&host, WithPresets(1));
    source.GetParam(7)->Set(25.0);
    TempFile good("good.fxp");
    ASSERT_TRUE(source.SaveProgramFile(good.Path()));
    TestProduct chunked(&host, WithPresets(1, true));
    TempFile opaque("opaque.fxp");
    ASSERT_TRUE(chunked.SaveProgramFile(opaque.Path()));
    const Bytes program = good.Read();
    const Bytes opaqueProgram = opaque.Read();

    struct Case {
        const char* what;
        const Bytes* base;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"magic", &program, [](Bytes& b) { b[0] = 'X'; }},
        {"kind", &program, [](Bytes& b) { b[9] = 'Z'; }},
        {"version", &program, [](Bytes& b) { PutInt(b, 12, 2); }},
        {"id", &program, [](Bytes& b) { PutInt(b, 16, 1234); }},
        {"count", &program, [](Bytes& b) { PutInt(b, 24, 152); }},
        {"negative count", &program, [](Bytes& b) { PutInt(b, 24, -1); }},
        {"truncated values", &program, [](Bytes& b) { b.resize(b.size() - 1); }},
        {"value not a number", &program, [](Bytes& b) { PutInt(b, 56 + 4 * 150, 0x7FC00000); }},
        {"truncated header", &program, [](Bytes& b) { b.resize(20); }},
        {"empty", &program, [](Bytes& b) { b.clear(); }},
        {"chunk size", &opaqueProgram, [](Bytes& b) { PutInt(b, 56, 1 << 30); }},
        {"negative chunk", &opaqueProgram, [](Bytes& b) { PutInt(b, 56, -5); }},
        {"chunk header", &opaqueProgram, [](Bytes& b) { b[60] = 'x'; }},
        {"short chunk", &opaqueProgram,
         [](Bytes& b) {
             PutInt(b, 56, 8 + 1200);
             b.resize(b.size() - 8);
         }},
    };
    for (const Case& c : cases) {
        Bytes bytes = *c.base;
        c.spoil(bytes);
        TempFile file("bad.fxp");
        file.Write(bytes);
        TestProduct target(&host, WithPresets(1));
        target.SaveIntoCurrentPreset("kept");
        const std::vector<double> before = Values(target);
        EXPECT_FALSE(target.LoadProgramFile(file.Path())) << c.what;
        EXPECT_FALSE(target.LoadBankFile(file.Path())) << c.what;
        EXPECT_EQ(Values(target), before) << c.what;
        EXPECT_STREQ(target.PresetName(0), "kept") << c.what;
    }
    TestProduct target(&host, WithPresets(1));
    EXPECT_FALSE(target.LoadProgramFile("/nonexistent/file.fxp"));
}

TEST(PresetFiles, BankWithTheWrongProgramCountOrACutProgramIsRejected) {
    FakeHost host;
    TestProduct source(&host, WithPresets(2));
    source.MakePreset("ones", std::vector<double>(151, 1.0));
    TempFile file("bank.fxb");
    ASSERT_TRUE(source.SaveBankFile(file.Path()));
    const Bytes bank = file.Read();

    TestProduct fewer(&host, WithPresets(1));
    EXPECT_FALSE(fewer.LoadBankFile(file.Path()));

    Bytes cut = bank;
    cut.resize(cut.size() - 4); // the second program loses its last value
    file.Write(cut);
    TestProduct target(&host, WithPresets(2));
    EXPECT_FALSE(target.LoadBankFile(file.Path()));
    EXPECT_FALSE(target.GetPreset(0)->initialised);
    EXPECT_STREQ(target.PresetName(0), "empty");
}

} // namespace
} // namespace vx::test
