#include "framework/IByteChunk.h"
#include "tests/framework/PluginFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vx::test {
namespace {

using Log = std::vector<std::string>;

class ModuleBaseTest : public ::testing::Test {
protected:
    std::vector<double> CurrentValues() const {
        std::vector<double> values;
        for (int i = 0; i < product.NParams(); ++i)
            values.push_back(product.GetParam(i)->CurrentValue());
        return values;
    }

    FakeHost host;
    TestProduct product{&host};
};

TEST_F(ModuleBaseTest, IdentityComesFromTheConfiguration) {
    EXPECT_EQ(product.PluginVersion(true), 10200);
    EXPECT_EQ(product.PluginVersion(false), 0x00010200);
    VxString text;
    product.PluginVersionText(text);
    EXPECT_STREQ(text.Get(), "v1.2.0");
    EXPECT_STREQ(product.APIName(), "APP");
    product.BuildInfo(text, "Dec 10 2026", "13:24:59");
    EXPECT_STREQ(text.Get(), "v1.2.0 APP (x86-64), built on Dec 10 2026 at 13:24 ");
    EXPECT_STREQ(product.PluginName(), "OmnarControl");
    EXPECT_EQ(product.EditorWidth(), 1920);
    EXPECT_EQ(product.NPresets(), 1);
    EXPECT_STREQ(product.PresetName(0), "empty");
    EXPECT_STREQ(product.PresetName(1), "");

    struct ApiProduct : TestProduct {
        ApiProduct(FakeHost* host, int32_t code) : TestProduct(host) { mAPICode = code; }
    };
    EXPECT_STREQ(ApiProduct(&host, 8).APIName(), "CLAP");
    EXPECT_STREQ(ApiProduct(&host, 9).APIName(), "");
}

TEST_F(ModuleBaseTest, DetectHostFindsTheFirstListedName) {
    const std::pair<const char*, int> cases[] = {
        {"standalone", 24},
        {"Ableton LIVE 11", 9},
        {"WaveLab Elements 11", 32},
        {"WaveLab Pro", 31},
        {"", 0},
        {"Unknown Host", 0},
        {"REAPER64", 1},
        {"Blue Cat's VST Host", 44},
        {"www browser", 35},
    };
    for (const auto& [name, code] : cases) {
        product.DetectHost(name, 0x00010200);
        EXPECT_EQ(product.HostCode(), code) << name;
        EXPECT_STREQ(product.HostName(), name);
    }
    EXPECT_EQ(product.HostVersion(true), 10200);
}

TEST_F(ModuleBaseTest, StateRoundTripsThroughAChunk) {
    product.GetParam(TestProduct::kInt)->Set(17);
    product.GetParam(150)->Set(12.5);
    IByteChunk chunk;
    EXPECT_TRUE(product.SaveState(chunk));
    EXPECT_EQ(chunk.Size(), 1208);
    const std::vector<double> saved = CurrentValues();
    product.DefaultParamValues();
    EXPECT_EQ(product.GetParam(150)->CurrentValue(), 50.0);
    EXPECT_EQ(product.RestoreState(chunk, 0), 1208);
    EXPECT_EQ(CurrentValues(), saved);
}

TEST_F(ModuleBaseTest, ShortStateSetsWhatItHoldsAndStillNotifiesEveryParameter) {
    IByteChunk chunk;
    for (int i = 0; i < 150; ++i)
        chunk.Put(i < 3 ? 1.0 : 20.0);
    product.log.clear();
    EXPECT_EQ(product.RestoreState(chunk, 0), -1);
    EXPECT_EQ(product.GetParam(149)->CurrentValue(), 20.0);
    EXPECT_EQ(product.GetParam(150)->CurrentValue(), 50.0);
    const Log changes = product.Entries("change");
    ASSERT_EQ(changes.size(), 151u);
    EXPECT_EQ(changes.back(), "change 150 2");

    product.log.clear();
    EXPECT_EQ(product.RestoreState(chunk, -8), -8); // nothing read
    EXPECT_TRUE(product.log.empty());
}

TEST_F(ModuleBaseTest, CompareParamValuesUsesSinglePrecision) {
    product.GetParam(5)->Set(0.1);
    std::vector<double> values(3, 0.0);
    for (double value : CurrentValues())
        values.push_back(value);
    EXPECT_TRUE(product.CompareParamValues(values.data(), 3));
    values[3 + 5] = 0.100001;
    EXPECT_TRUE(product.CompareParamValues(values.data(), 3));
    values[3 + 5] = 0.10002;
    EXPECT_FALSE(product.CompareParamValues(values.data(), 3));
}

TEST_F(ModuleBaseTest, ListImportantParamsAppendsOnlyForAProperPart) {
    const std::pair<int, std::vector<int>> cases[] = {
        {3, {0, 1, 2}}, {151, {}}, {0, {}}, {-1, {}}, {200, {}}};
    for (const auto& [count, want] : cases) {
        std::vector<int> list;
        product.ListImportantParams(count, list);
        EXPECT_EQ(list, want) << count;
    }
}

TEST_F(ModuleBaseTest, EditorChangesSetTheValueAndReachTheProduct) {
    product.log.clear();
    product.SetParamValueFromUI(7, 0.25);
    EXPECT_EQ(product.GetParam(7)->CurrentValue(), 25.0);
    EXPECT_EQ(product.log, Log{"change 7 3"});
    product.SetParamValueFromUI(999, 0.25); // no such parameter: nothing breaks
}

TEST_F(ModuleBaseTest, GroupAndRangeOperations) {
    for (int i = 3; i < 20; ++i)
        product.GetParam(i)->Set(i);
    // "knobs" holds 3..9 (7 parameters), "switches" 0..1: only two pairs are copied.
    product.CopyGroupValues("knobs", "switches");
    EXPECT_EQ(product.GetParam(TestProduct::kBool)->CurrentValue(), 1.0);
    EXPECT_EQ(product.GetParam(TestProduct::kInt)->CurrentValue(), 4.0);
    EXPECT_EQ(product.GetParam(TestProduct::kEnum)->CurrentValue(), 1.0);

    product.CopyParamValues(10, 148, 5); // cut at the end of the list
    EXPECT_EQ(product.GetParam(150)->CurrentValue(), 12.0);

    product.DefaultParamValues("knobs");
    EXPECT_EQ(product.GetParam(3)->CurrentValue(), 50.0);
    EXPECT_EQ(product.GetParam(10)->CurrentValue(), 10.0);

    product.SetUpParamRange(20, 22, 1, "Band %d", 0.0, -12.0, 12.0, 0.1, "dB");
    EXPECT_STREQ(product.GetParam(22)->Name(), "Band 3");
    product.CloneParamRange(20, 21, 30, "Band", "Copy", "copies");
    EXPECT_STREQ(product.GetParam(31)->Name(), "Copy 2");
    EXPECT_EQ(product.GetParam(31)->Min(), -12.0);

    std::srand(7);
    product.RandomiseParamValues("knobs");
    int moved = 0;
    for (int i = 3; i < 10; ++i) {
        const double value = product.GetParam(i)->CurrentValue();
        EXPECT_TRUE(value >= 0.0 && value <= 100.0) << value;
        moved += value != 50.0;
    }
    EXPECT_GT(moved, 0);

    int visited = 0;
    product.ForParamInRange(-5, 2, [&](int, IParam&) { ++visited; });
    EXPECT_EQ(visited, 3);
    EXPECT_THROW(product.ForParamInGroup("knobs", nullptr), std::bad_function_call);
}

} // namespace
} // namespace vx::test
