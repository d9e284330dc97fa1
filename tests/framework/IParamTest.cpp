#include "framework/IParam.h"
#include "framework/IParamShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

using vx::IParam;
using Prepare = std::function<void(IParam&)>;

std::string Shown(const IParam& param, double value, bool normalised = false,
                  bool withDisplayTexts = true) {
    VxString text;
    param.FormatDisplay(value, normalised, text, withDisplayTexts);
    return text.Get();
}

TEST(IParam, NewParameterHasTheDocumentedDefaults) {
    IParam param;
    EXPECT_EQ(param.Type(), IParam::kTypeNone);
    EXPECT_EQ(param.Unit(), IParam::kUnitCustom);
    EXPECT_EQ(param.CurrentValue(), 0.0);
    EXPECT_EQ(param.Max(), 1.0);
    EXPECT_EQ(param.Step(), 1.0);
    EXPECT_EQ(param.ShapeKind(), 0);
    EXPECT_STREQ(param.Name(), "");
    EXPECT_EQ(param.DisplayTextCount(), 0);
}

TEST(IParam, SetUpRaisesMaxToMinPlusStepAndKeepsTheDefaultUnclamped) {
    struct Case {
        const char* what;
        Prepare prepare;
        double min, max, defaultValue, value;
    };
    const Case cases[] = {
        {"int 0..0", [](IParam& p) { p.SetUpInt("I", 0, 0, 0); }, 0, 1, 0, 0},
        {"enum of one", [](IParam& p) { p.SetUpEnum("E", 0, 1); }, 0, 1, 0, 0},
        {"float max below min + step", [](IParam& p) { p.SetUpDouble("F", 0.5, 2, 2.05, 0.1); }, 2,
         2.1, 0.5, 2},
        {"int default above max", [](IParam& p) { p.SetUpInt("I", 200, 0, 127); }, 0, 127, 200,
         127},
        {"stepped default below min",
         [](IParam& p) { p.SetUpDouble("F", -7.3, -5, 5, 0.5, "", IParam::kFlagStepped); }, -5, 5,
         -7.3, -5},
        {"stepped default inside", [](IParam& p) { p.SetUpDouble("F", 2.6, 0, 5, 0.5, "", 2); }, 0,
         5, 2.6, 2.5},
    };
    for (const Case& c : cases) {
        IParam param;
        c.prepare(param);
        EXPECT_DOUBLE_EQ(param.Min(), c.min) << c.what;
        EXPECT_DOUBLE_EQ(param.Max(), c.max) << c.what;
        EXPECT_EQ(param.Default(), c.defaultValue) << c.what;
        EXPECT_DOUBLE_EQ(param.CurrentValue(), c.value) << c.what;
    }
}

TEST(IParam, SetStepsHalvesAwayFromZeroThenClamps) {
    struct Case {
        double in, out;
    };
    IParam stepped;
    stepped.SetUpInt("I", 0, -10, 10);
    for (const Case c : {Case{2.5, 3}, {-2.5, -3}, {2.49, 2}, {-0.4, 0}, {10.6, 10}, {-99, -10}}) {
        stepped.Set(c.in);
        EXPECT_EQ(stepped.CurrentValue(), c.out) << c.in;
    }

    IParam smooth;
    smooth.SetUpDouble("F", 0, -10, 10, 1.0);
    smooth.Set(2.5);
    EXPECT_EQ(smooth.CurrentValue(), 2.5) << "rounded although not stepped";
}

TEST(IParam, SteppedWithStepZeroKeepsTheValue) {
    IParam param;
    param.SetUpDouble("F", 0.3, 0, 1, 0.0, "", IParam::kFlagStepped);
    EXPECT_EQ(param.CurrentValue(), 0.3);
    param.Set(0.7);
    EXPECT_EQ(param.CurrentValue(), 0.7);
}

TEST(IParam, NormalisingThroughEachShape) {
    struct Case {
        const char* what;
        Prepare prepare;
        double normalised, value;
    };
    const IParam::ShapePowCurve square(2.0);
    const Case cases[] = {
        {"linear", [](IParam& p) { p.SetUpDouble("L", 2.5, 0, 10, 0.5); }, 0.25, 2.5},
        {"power 2", [&](IParam& p) { p.SetUpDouble("P", 25, 0, 100, 0.5, "", 0, "", square); }, 0.5,
         25},
        {"exp 20..20000",
         [](IParam& p) { p.SetUpFrequency("X", std::sqrt(20.0 * 20000.0), 20, 20000, 0.001); }, 0.5,
         std::sqrt(20.0 * 20000.0)},
    };
    for (const Case& c : cases) {
        IParam param;
        c.prepare(param);
        EXPECT_NEAR(param.FromNormalised(c.normalised), c.value, 1e-9) << c.what;
        EXPECT_NEAR(param.ToNormalised(c.value), c.normalised, 1e-9) << c.what;
        EXPECT_NEAR(param.GetDefaultNormalised(), c.normalised, 1e-9) << c.what;
        // Past the ends: clamped after mapping, and back into 0..1.
        EXPECT_DOUBLE_EQ(param.FromNormalised(1.5), param.Max()) << c.what;
        EXPECT_NEAR(param.FromNormalised(0.0), param.Min(), 1e-9) << c.what;
        EXPECT_DOUBLE_EQ(param.ToNormalised(param.Max() * 3), 1.0) << c.what;
        EXPECT_DOUBLE_EQ(param.ToNormalised(param.Min() - 1), 0.0) << c.what;
    }
}

TEST(IParam, ExpShapeWithMinZeroMapsZeroToTinyValue) {
    IParam param;
    param.SetUpDouble("X", 0.5, 0, 1, 0.001, "", 0, "", IParam::ShapeExp());
    EXPECT_NEAR(param.GetShape().NormalisedToValue(0.0, param), 1e-8, 1e-20);
    EXPECT_NEAR(param.FromNormalised(0.0), 1e-8, 1e-20);
    EXPECT_NEAR(param.FromNormalised(1.0), 1.0, 1e-12);
    EXPECT_EQ(param.ToNormalised(0.0), 0.0) << "log(0) must not leak out";
}

TEST(IParam, ShapeKindPowerAndDisplayKind) {
    struct Case {
        double power;
        int displayKind;
    };
    for (const Case c : {Case{3, 6}, {2, 4}, {0.3, 5}, {0.5, 3}, {1, 0}, {0.7, 0}}) {
        IParam param;
        param.SetUpDouble("P", 0, 0, 1, 0.01, "", 0, "", IParam::ShapePowCurve(c.power));
        EXPECT_EQ(param.ShapeKind(), 1);
        EXPECT_EQ(param.ShapePower(), c.power);
        EXPECT_EQ(param.GetShape().DisplayKind(), c.displayKind) << c.power;
    }
    IParam frequency;
    frequency.SetUpFrequency("F", 100, 20, 20000, 1);
    EXPECT_EQ(frequency.ShapeKind(), 2);
    EXPECT_EQ(frequency.ShapePower(), 0.0);
    EXPECT_EQ(frequency.Unit(), IParam::kUnitFrequency);
    EXPECT_STREQ(frequency.Label(), "Hz");
}

TEST(IParam, DisplayPrecisionFollowsTheStep) {
    struct Case {
        double step;
        int precision;
    };
    for (const Case c :
         {Case{1, 0}, {2, 0}, {0.1, 1}, {0.25, 2}, {0.005, 3}, {1e-5, 5}, {1e-7, 6}}) {
        IParam param;
        param.SetUpDouble("F", 0, 0, 1, c.step);
        EXPECT_EQ(param.DisplayPrecision(), c.precision) << c.step;
    }
}

TEST(IParam, FormatDisplay) {
    struct Case {
        const char* what;
        Prepare prepare;
        double value;
        bool normalised;
        const char* expected;
    };
    const Prepare whole = [](IParam& p) { p.SetUpDouble("F", 0, -10, 10, 1); };
    const Prepare signedTenths = [](IParam& p) {
        p.SetUpDouble("F", 0, -10, 10, 0.1, "", IParam::kFlagSignDisplay);
    };
    const Case cases[] = {
        {"never a minus zero", whole, -0.4, false, "0"},
        {"halves away from zero", whole, -2.5, false, "-3"},
        {"negated", [](IParam& p) { p.SetUpDouble("F", 0, -10, 10, 1, "", 4); }, 3, false, "-3"},
        {"negated zero", [](IParam& p) { p.SetUpDouble("F", 0, -1, 1, 0.1, "", 4); }, 0, false,
         "0.0"},
        {"sign shown", signedTenths, 2, false, "+2.0"},
        {"no sign at zero", signedTenths, 0, false, "0.0"},
        {"sign of a negative", signedTenths, -2, false, "-2.0"},
        {"precision 2", [](IParam& p) { p.SetUpDouble("F", 0, 0, 10, 0.25); }, 3.14159, false,
         "3.14"},
        {"normalised", [](IParam& p) { p.SetUpInt("I", 0, 0, 10); }, 0.5, true, "5"},
        {"display text", [](IParam& p) { p.SetUpBool("B", false, "", 0, "", "Off", "On"); }, 1,
         false, "On"},
        {"empty display text is skipped",
         [](IParam& p) {
             p.SetUpInt("I", 0, 0, 10);
             p.SetDisplayLabel(4, "");
         },
         4, false, "4"},
        {"beyond the int range", [](IParam& p) { p.SetUpDouble("F", 0, 0, 1e13, 1); }, 1e12, false,
         "1000000000000"},
        {"display function wins",
         [](IParam& p) {
             p.SetUpDouble("F", 0, 0, 10, 1, "", 0, "", IParam::LinearShape(), IParam::kUnitCustom,
                           [](double v, VxString& t) { t.SetFormatted(32, "<%g>", v); });
             p.SetDisplayLabel(2, "two");
         },
         2, false, "<2>"},
    };
    for (const Case& c : cases) {
        IParam param;
        c.prepare(param);
        EXPECT_EQ(Shown(param, c.value, c.normalised), c.expected) << c.what;
    }

    IParam onOff;
    onOff.SetUpBool("B", false, "", 0, "", "Off", "On");
    EXPECT_EQ(Shown(onOff, 1, false, false), "1") << "display texts asked to be left out";
}

TEST(IParam, ValueFromText) {
    struct Case {
        const char* what;
        Prepare prepare;
        const char* text;
        double value;
    };
    const Prepare tenths = [](IParam& p) { p.SetUpDouble("F", 0, 0, 100, 0.1); };
    const Prepare modes = [](IParam& p) {
        p.SetUpEnum("E", 0, 3, "", 0, "", "Room", "Hall", "Arena");
    };
    const Case cases[] = {
        {"leading number", tenths, "12abc", 12},
        {"clamped", tenths, "250", 100},
        {"null", tenths, nullptr, 0},
        {"empty", tenths, "", 0},
        {"null then clamped", [](IParam& p) { p.SetUpDouble("F", 7, 5, 10, 1); }, nullptr, 5},
        {"negated", [](IParam& p) { p.SetUpDouble("F", 0, -50, 50, 1, "", 4); }, "12", -12},
        {"stepped", [](IParam& p) { p.SetUpInt("I", 0, 0, 10); }, "2.5", 3},
        {"enum text", modes, "Hall", 1},
        {"enum, no match", modes, "Hal", 0},
        {"enum, null", modes, nullptr, 0},
        {"bool, number", [](IParam& p) { p.SetUpBool("B", true, "", 0, "", "Off", "On"); }, "1", 0},
        {"display text value kept unconstrained",
         [](IParam& p) {
             p.SetUpInt("I", 0, 0, 10);
             p.SetDisplayLabel(99, "far");
         },
         "far", 99},
    };
    for (const Case& c : cases) {
        IParam param;
        c.prepare(param);
        EXPECT_EQ(param.ValueFromText(c.text), c.value) << c.what;
    }
}

TEST(IParam, UnitLabelHidesBehindANonEmptyDisplayText) {
    IParam param;
    param.SetUpDouble("F", 0, -5, 5, 0.1, "dB");
    param.SetDisplayLabel(1, "unity");
    param.SetDisplayLabel(2, "");
    struct Case {
        double value;
        const char* label;
    };
    for (const Case c : {Case{1.7, ""}, {1, ""}, {2, "dB"}, {2.9, "dB"}, {-1.5, "dB"}}) {
        param.Set(c.value);
        EXPECT_STREQ(param.UnitLabel(), c.label) << c.value;
    }
}

TEST(IParam, NoteNames) {
    struct Case {
        int lowest, highest;
        bool middleCIsC4;
        int index;
        const char* text;
    };
    const Case cases[] = {
        {48, 72, true, 12, "C 4"}, {48, 72, false, 12, "C 3"}, {48, 72, true, 13, "C#4"},
        {48, 72, true, 24, "C 5"}, {0, 127, true, 0, "C -1"},  {0, 127, false, 127, "G 8"},
        {-1, 0, true, 0, "B -2"},
    };
    for (const Case& c : cases) {
        IParam param;
        param.SetUpNoteName("Note", 0, c.lowest, c.highest, 0, "", c.middleCIsC4);
        EXPECT_EQ(param.Type(), IParam::kTypeEnum);
        EXPECT_EQ(param.Max(), c.highest - c.lowest);
        EXPECT_EQ(param.DisplayTextCount(), c.highest - c.lowest + 1);
        EXPECT_STREQ(param.DisplayTextFor(c.index), c.text) << c.lowest << "+" << c.index;
    }
}

TEST(IParam, TooLongTextsAreCutAtACharacterBoundary) {
    const std::string a30(30, 'a');
    const std::string a29(29, 'a');
    struct Case {
        const char* what;
        std::string replacement, name;
    };
    const Case cases[] = {
        {"fits exactly", a30 + "b", a30 + "b"},
        {"ASCII cut", a30 + "bcd", a30 + "b"},
        {"two-byte character across the limit", a30 + "\xC3\xA9", a30},
        {"two-byte character just inside", a29 + "\xC3\xA9x", a29 + "\xC3\xA9"},
        {"three-byte character across the limit", a29 + "\xE2\x82\xAC", a29},
        {"four-byte character across the limit", a29 + "\xF0\x9F\x8E\xB8", a29},
        {"stray continuation byte past the limit", a30 + "b\x80", a30 + "b"},
    };
    IParam source;
    source.SetUpInt("Gain", 0, 0, 127);
    for (const Case& c : cases) {
        IParam copy;
        copy.SetUpFromCopy(source, "Gain", c.replacement.c_str(), "");
        EXPECT_EQ(copy.Name(), c.name) << c.what;
    }

    IParam direct;
    const std::string longLabel = a30 + "\xC3\xA9";
    direct.SetUpDouble(longLabel.c_str(), 0, 0, 1, 1, longLabel.c_str(), 0, longLabel.c_str());
    direct.SetDisplayLabel(0, longLabel.c_str());
    EXPECT_EQ(direct.Name(), a30);
    EXPECT_EQ(direct.Label(), a30);
    EXPECT_EQ(direct.Group(), a30);
    EXPECT_EQ(direct.DisplayTextAt(0), a30);
}

TEST(IParam, SetUpFromCopyTakesEverythingButNameAndGroup) {
    IParam source;
    source.SetUpFrequency("Low Freq", 100, 20, 2000, 0.5, 16, "Low");
    source.SetDisplayLabel(20, "min");
    source.SetDisplayLabel(2000, "max");
    source.Set(440);

    struct Case {
        const char* search;
        const char* replacement;
        const char* group;
        const char* name;
        const char* expectedGroup;
    };
    const Case cases[] = {
        {"Low", "High", "High", "High Freq", "High"},
        {"", "X", "", "Low Freq", "Low"},
        {"Mid", "X", nullptr, "Low Freq", "Low"},
        {"Freq", nullptr, "", "Low ", "Low"},
    };
    for (const Case& c : cases) {
        IParam copy;
        copy.SetUpFromCopy(source, c.search, c.replacement, c.group);
        EXPECT_STREQ(copy.Name(), c.name);
        EXPECT_STREQ(copy.Group(), c.expectedGroup);
        EXPECT_EQ(copy.Type(), IParam::kTypeDouble);
        EXPECT_EQ(copy.Unit(), IParam::kUnitFrequency);
        EXPECT_STREQ(copy.Label(), "Hz");
        EXPECT_EQ(copy.Flags(), 16);
        EXPECT_EQ(copy.Default(), 100);
        EXPECT_EQ(copy.Step(), 0.5);
        EXPECT_EQ(copy.ShapeKind(), 2);
        EXPECT_DOUBLE_EQ(copy.FromNormalised(0.5), source.FromNormalised(0.5));
        EXPECT_EQ(copy.CurrentValue(), 100) << "the value is the default, not the source's";
        ASSERT_EQ(copy.DisplayTextCount(), 2);
        double value = 0;
        EXPECT_STREQ(copy.DisplayTextAt(1, &value), "max");
        EXPECT_EQ(value, 2000);
    }
}

TEST(IParam, SetUpFromCopyOfItselfReadsTheOldState) {
    IParam param;
    param.SetUpEnum("Mode A", 1, 2, "", 0, "A", "one", "two");
    param.SetUpFromCopy(param, "A", "B", "");
    EXPECT_STREQ(param.Name(), "Mode B");
    EXPECT_STREQ(param.Group(), "A");
    ASSERT_EQ(param.DisplayTextCount(), 4) << "display texts are appended";
    EXPECT_STREQ(param.DisplayTextAt(3), "two");
}

TEST(IParam, SetUpFromCopyKeepsTheDisplayFunction) {
    IParam source;
    source.SetUpDouble("F", 0, 0, 10, 1, "", 0, "", IParam::LinearShape(), IParam::kUnitCustom,
                       [](double, VxString& t) { t.SetBounded("custom"); });
    IParam copy;
    copy.SetUpFromCopy(source, "", "", "");
    EXPECT_EQ(Shown(copy, 3), "custom");
}

TEST(IParam, SetUpEnumChecksTheNumberOfTexts) {
    struct Case {
        const char* what;
        std::function<bool(IParam&)> prepare;
        bool accepted;
        int texts;
    };
    const Case cases[] = {
        {"matching", [](IParam& p) { return p.SetUpEnum("E", 0, 3, "", 0, "", "a", "b", "c"); },
         true, 3},
        {"one too few", [](IParam& p) { return p.SetUpEnum("E", 0, 3, "", 0, "", "a", "b"); },
         false, 0},
        {"one too many",
         [](IParam& p) { return p.SetUpEnum("E", 0, 3, "", 0, "", "a", "b", "c", "d"); }, false, 0},
        {"no texts", [](IParam& p) { return p.SetUpEnum("E", 0, 3); }, true, 0},
        {"null first text", [](IParam& p) { return p.SetUpEnum("E", 0, 3, "", 0, "", nullptr); },
         true, 0},
        {"null first, further given",
         [](IParam& p) { return p.SetUpEnum("E", 0, 2, "", 0, "", nullptr, "b"); }, false, 0},
        {"count 0", [](IParam& p) { return p.SetUpEnum("E", 0, 0, "", 0, "", "a"); }, false, 0},
    };
    for (const Case& c : cases) {
        IParam param;
        EXPECT_EQ(c.prepare(param), c.accepted) << c.what;
        EXPECT_EQ(param.DisplayTextCount(), c.texts) << c.what;
        EXPECT_EQ(param.Type(), IParam::kTypeEnum) << c.what;
        EXPECT_TRUE(param.Stepped()) << c.what;
    }

    IParam modes;
    modes.SetUpEnum("E", 0, 3, "", 0, "", "a", "b", "c");
    EXPECT_EQ(modes.Max(), 2);
    EXPECT_STREQ(modes.DisplayTextFor(2), "c");
}

TEST(IParam, SetUpBoolAndFromListAddTheirTexts) {
    IParam bypass;
    bypass.SetUpBool("Bypass", true, "", 0, "", "Off", "On");
    EXPECT_EQ(bypass.Type(), IParam::kTypeBool);
    EXPECT_EQ(bypass.CurrentValue(), 1);
    EXPECT_TRUE(bypass.Stepped());
    EXPECT_STREQ(bypass.DisplayTextFor(0), "Off");
    EXPECT_STREQ(bypass.DisplayTextFor(1), "On");
    EXPECT_EQ(bypass.ValueFromText("Off"), 0);
    EXPECT_EQ(bypass.DisplayTextAt(2), nullptr);
    EXPECT_EQ(bypass.DisplayTextAt(-1), nullptr);

    IParam list;
    list.SetUpEnumFromList("L", 5, {"x", "y"});
    EXPECT_EQ(list.Type(), IParam::kTypeEnum);
    EXPECT_EQ(list.Max(), 1);
    EXPECT_EQ(list.CurrentValue(), 1);
    EXPECT_STREQ(list.DisplayTextFor(1), "y");
}

TEST(IParam, TypeIsSetOnlyByTheFirstSetUp) {
    IParam param;
    param.SetUpInt("I", 0, 0, 3);
    param.SetUpDouble("F", 0, 0, 1, 0.1);
    EXPECT_EQ(param.Type(), IParam::kTypeInt);
}

TEST(IParam, WriteJSON) {
    IParam named;
    named.SetUpInt("Say \"hi\"\\\tnow", 64, 0, 127);
    IParam blank;
    struct Case {
        const IParam& param;
        int id;
        const char* json;
    };
    const Case cases[] = {
        {named, 7,
         R"({"id":7, "name":"Say \"hi\"\\\u0009now", "type":"int", "min":0.000000, )"
         R"("max":127.000000, "default":64.000000, "display_type":0, "rate":"control"})"},
        {blank, 0,
         R"({"id":0, "name":"", "min":0.000000, "max":1.000000, "default":0.000000, )"
         R"("display_type":0, "rate":"control"})"},
    };
    for (const Case& c : cases) {
        VxString json("[");
        c.param.WriteJSON(json, c.id);
        EXPECT_EQ(std::string(json.Get()), std::string("[") + c.json);
    }
}

} // namespace
