#include "device/ParamSend.h"
#include "device/DeviceParamIdTable.h"
#include "device/ParamValues.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kStoredValue = 10;
constexpr int kNewValue = 99;

Bytes ParamChange(int deviceId, int value) {
    return {0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0C, std::uint8_t(deviceId), std::uint8_t(value),
            0xF7};
}

struct Case {
    const char* what;
    bool connected;
    bool applying;
    bool suppressed;
    bool changed;
    int index;
    Bytes sent; // empty: nothing sent
    bool stored;
    bool armed;
};

class ParamSendTest : public ::testing::Test {
protected:
    ParamSendTest() { deviceValues.fill(kStoredValue); }

    omnar::ParamSendStep Run(const Case& c) {
        omnar::ParamSendState state;
        state.connected = c.connected;
        state.applyingValues = c.applying;
        state.suppressParamSend = c.suppressed;
        state.deviceValues = deviceValues;
        state.deviceParamIds = omnar::DeviceParamIdTable;
        return omnar::DeviceSideOfParamChange(state, c.index, c.changed ? kNewValue : kStoredValue);
    }

    std::array<std::int32_t, omnar::kParamCount> deviceValues{};
};

Bytes SentBytes(const omnar::ParamSendStep& step) {
    if (!step.message)
        return {};
    return Bytes(step.message->Bytes().begin(), step.message->Bytes().end());
}

TEST_F(ParamSendTest, SendsOnlyConnectedChangedUserValues) {
    const Bytes level = ParamChange(0, kNewValue);
    // clang-format off
    const Case cases[] = {
        // what                          conn   apply  supp   chg    idx  sent                                 stored armed
        {"offline edit",                 false, false, false, true,  0,   {},                                  false, true},
        {"user edit",                    true,  false, false, true,  0,   level,                               true,  true},
        {"program applies a value",      true,  true,  false, true,  0,   {},                                  true,  true},
        {"unchanged value",              true,  false, false, false, 0,   {},                                  false, true},
        {"send block of this tick",      true,  false, true,  true,  0,   {},                                  true,  true},
        {"id moved up by four",          true,  false, false, true,  16,  ParamChange(20, kNewValue),          true,  true},
        {"last preset value",            true,  false, false, true,  73,  ParamChange(77, kNewValue),          true,  true},
        {"IR digit 53 again",            true,  false, false, false, 53,  ParamChange(57, kStoredValue),       false, true},
        {"IR digit 54 again",            true,  false, false, false, 54,  ParamChange(58, kStoredValue),       false, true},
        {"IR digit 55 again",            true,  false, false, false, 55,  ParamChange(59, kStoredValue),       false, true},
        {"IR digit 56 again",            true,  false, false, false, 56,  ParamChange(60, kStoredValue),       false, true},
        {"IR digit again past a block",  true,  false, true,  false, 53,  ParamChange(57, kStoredValue),       false, true},
        {"IR digit again while applying",true,  true,  false, false, 56,  {},                                  false, true},
        {"IR digit offline",             false, false, false, false, 55,  {},                                  false, true},
        {"neighbour 52 not again",       true,  false, false, false, 52,  {},                                  false, true},
        {"neighbour 57 not again",       true,  false, false, false, 57,  {},                                  false, true},
        {"editor-held parameter",        true,  false, false, true,  74,  {},                                  false, false},
        {"global setting",               true,  false, false, true,  96,  {},                                  false, false},
        {"no such parameter",            true,  false, false, true,  -1,  {},                                  false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        const omnar::ParamSendStep step = Run(c);
        EXPECT_EQ(SentBytes(step), c.sent) << c.what;
        EXPECT_EQ(step.storeValue, c.stored) << c.what;
        EXPECT_EQ(step.armPresetNumberRestore, c.armed) << c.what;
        EXPECT_FALSE(step.raiseChorusLevel) << c.what;
    }
}

TEST_F(ParamSendTest, ChorusDepthRaisesASilentChorusLevel) {
    constexpr int kLevel = omnar::kChorusLevelParam;
    constexpr int kDepth = omnar::kChorusDepthParam;
    deviceValues[kLevel] = 0;

    const omnar::ParamSendStep depth = Run({"depth", true, false, false, true, kDepth, {}, 0, 0});
    EXPECT_TRUE(depth.storeValue);
    EXPECT_TRUE(depth.raiseChorusLevel);
    EXPECT_FALSE(depth.message) << "the depth waits behind the block the rule sets";

    // The member then sets the level to 64, whose own change goes out before the block is set.
    omnar::ParamSendState level;
    level.connected = true;
    level.deviceValues = deviceValues;
    level.deviceParamIds = omnar::DeviceParamIdTable;
    EXPECT_EQ(SentBytes(omnar::DeviceSideOfParamChange(level, kLevel, 64)), ParamChange(70, 64));
    level.suppressParamSend = true;
    EXPECT_FALSE(omnar::DeviceSideOfParamChange(level, kLevel, 64).message);

    const struct {
        const char* what;
        bool connected;
        bool applying;
        int levelValue;
        bool raised;
        Bytes sent;
    } others[] = {
        {"program applies the depth", true, true, 0, false, {}},
        {"offline", false, false, 0, false, {}},
        {"chorus already audible", true, false, 40, false, ParamChange(72, kNewValue)},
    };
    for (const auto& o : others) {
        deviceValues[kLevel] = o.levelValue;
        const omnar::ParamSendStep step =
            Run({o.what, o.connected, o.applying, false, true, kDepth, {}, 0, 0});
        EXPECT_EQ(step.raiseChorusLevel, o.raised) << o.what;
        EXPECT_EQ(SentBytes(step), o.sent) << o.what;
    }
}

} // namespace
