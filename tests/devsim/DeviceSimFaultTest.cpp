#include "tests/devsim/DeviceSim.h"
#include "tests/devsim/GoldenVectors.h"
#include "tests/devsim/SimDescribe.h"
#include "tests/devsim/SimTestSupport.h"

#include <gtest/gtest.h>

using namespace devsim;
using namespace devsim::test;

namespace {

FaultRule Rule(const char* text) {
    const FaultParse parsed = ParseFaultRule(text);
    EXPECT_TRUE(parsed.rule.has_value()) << text << ": " << parsed.error;
    return parsed.rule.value_or(FaultRule{});
}

const Bytes kIdentity = Of(golden::kIdentityRequest);
const Bytes kIdentityReply = Of(golden::kIdentityReply);

// How many of n identity requests in a row are answered, one flag per request.
std::vector<bool> AnsweredIdentities(const char* rule, int n) {
    DeviceSim sim;
    sim.AddFault(Rule(rule));
    std::vector<bool> answered;
    for (int i = 0; i < n; ++i) {
        answered.push_back(!sim.Receive(kIdentity, 0).empty());
    }
    return answered;
}

} // namespace

TEST(DeviceSimFaults, RulesParseOrExplainWhyNot) {
    const FaultRule delay = Rule("delay=250:L20:3:always");
    EXPECT_EQ(delay.kind, FaultKind::Delay);
    EXPECT_EQ(delay.delayMs, 250);
    EXPECT_EQ(delay.command, (CommandKey{kLoaderGroup, 0x20}));
    EXPECT_EQ(delay.occurrence, 3);
    EXPECT_TRUE(delay.always);

    const char* bad[] = {"drop",       "drop:99",          "explode:55",  "delay=0:55",
                         "delay=x:55", "drop:55:0",        "drop:55:2:3", "nak:55",
                         "corrupt:60", "drop:55:always:2", "drop:5",      "drop:L55"};
    for (const char* text : bad) {
        const FaultParse parsed = ParseFaultRule(text);
        EXPECT_FALSE(parsed.rule.has_value()) << text;
        EXPECT_FALSE(parsed.error.empty()) << text;
    }
}

TEST(DeviceSimFaults, OccurrenceAndRepetitionPickTheMessagesHit) {
    using V = std::vector<bool>;
    EXPECT_EQ(AnsweredIdentities("drop:55", 3), (V{false, true, true}));
    EXPECT_EQ(AnsweredIdentities("drop:55:2", 4), (V{true, false, true, true}));
    EXPECT_EQ(AnsweredIdentities("drop:55:2:always", 4), (V{true, false, false, false}));
    EXPECT_EQ(AnsweredIdentities("drop:55:always", 3), (V{false, false, false}));
    EXPECT_EQ(AnsweredIdentities("drop:40:always", 2), (V{true, true}));
}

TEST(DeviceSimFaults, DropLosesTheMessageWithItsEffect) {
    DeviceSim sim;
    sim.AddFault(Rule("drop:23"));
    EXPECT_TRUE(sim.Receive(Of(golden::kPresetSelect5), 0).empty());
    EXPECT_EQ(sim.State().currentSlot, 0);
    EXPECT_NE(sim.Trace().front().text.find("dropped"), std::string::npos);
}

TEST(DeviceSimFaults, CorruptSpoilsOnlyTheCheckBytes) {
    DeviceSim sim;
    sim.AddFault(Rule("corrupt:55"));
    const auto replies = sim.Receive(kIdentity, 0);
    ASSERT_EQ(replies.size(), 1u);
    const Bytes& reply = replies[0];
    ASSERT_EQ(reply.size(), kIdentityReply.size());
    EXPECT_TRUE(std::equal(reply.begin(), reply.begin() + 264, kIdentityReply.begin()));
    EXPECT_NE(reply[265], kIdentityReply[265]);
    EXPECT_LT(reply[265], 0x80);

    sim.AddFault(Rule("corrupt:69"));
    const auto parts = sim.Receive(Of(golden::kIRDumpRequestSlot200), 0);
    ASSERT_EQ(parts.size(), 11u);
    EXPECT_NE(Bytes(parts.back().end() - 3, parts.back().end() - 1),
              Of(golden::kBlankIRTransferCheck));
}

TEST(DeviceSimFaults, NakRefusesWithTheCommandsNegativeReply) {
    struct Case {
        const char* rule;
        Bytes message;
        Bytes refusal;
    };
    Bytes preset = AsWrite(Of(golden::kSimPresetDumpReplySlot0), 0x7F);
    const Case cases[] = {
        {"nak:7F", preset, Of(golden::kReplyRestoreRefused)},
        {"nak:60", BuildIRDump(1, BlankIRImage()).front(), Of(golden::kReplyError)},
        {"nak:L10", Of(golden::kFirmwareEnter), Of(golden::kLoaderError)},
    };
    for (const Case& c : cases) {
        DeviceSim sim;
        sim.AddFault(Rule(c.rule));
        EXPECT_EQ(sim.Receive(c.message, 0), std::vector<Bytes>{c.refusal}) << c.rule;
        EXPECT_EQ(sim.State().presets[0], DefaultPreset(0)) << c.rule;
        EXPECT_FALSE(sim.State().loaderActive) << c.rule;
    }
}

TEST(DeviceSimFaults, DelayHoldsRepliesUntilTheClockReachesThem) {
    DeviceSim sim;
    sim.AddFault(Rule("delay=300:55"));
    EXPECT_TRUE(sim.Receive(kIdentity, 1000).empty());
    EXPECT_EQ(sim.NextDueMs(), 1300);
    // An undelayed reply meanwhile is not held back behind the delayed one.
    EXPECT_EQ(sim.Receive(Of(golden::kPresetSelect5), 1100).size(), 1u);
    EXPECT_TRUE(sim.Poll(1299).empty());
    EXPECT_EQ(sim.Poll(1300), std::vector<Bytes>{kIdentityReply});
    EXPECT_EQ(sim.NextDueMs(), -1);
}

TEST(DeviceSimFaults, MalformedMessagesAreLoggedAndIgnored) {
    Bytes highBody = kIdentity;
    highBody[7] = 0x8F;
    Bytes wrongMaker = kIdentity;
    wrongMaker[3] = 0x22;
    Bytes tooLong = kIdentity;
    tooLong.insert(tooLong.end() - 1, 0x00);
    Bytes badGlobals = Of(golden::kSettingsDumpGlobalsAtDefaults);
    badGlobals[20] = 0;
    const Bytes cases[] = {highBody,
                           wrongMaker,
                           tooLong,
                           EditorMessage({0x44, 0x0C, 0x00}),
                           {0xF0, 0xF7},
                           {},
                           badGlobals,
                           EditorMessage({0x55, 0x0C, 0x04}),
                           EditorMessage({0x50, 0x0C, 0x4E, 0x01})};
    for (const Bytes& message : cases) {
        DeviceSim sim;
        EXPECT_TRUE(sim.Receive(message, 0).empty()) << DescribeMessage(message);
        EXPECT_EQ(sim.State().globals, DefaultGlobals());
        ASSERT_EQ(sim.Trace().size(), 1u);
        EXPECT_NE(sim.Trace()[0].text.find("ignored"), std::string::npos) << sim.Trace()[0].text;
    }
}

TEST(DeviceSimFaults, DisconnectSendsAtMostTheFirstReplyThenNothingUntilReconnect) {
    DeviceSim sim;
    sim.MutableState().userIRs[200] = BlankIRImage();
    const Bytes request = Of(golden::kIRDumpRequestSlot200);
    ASSERT_GT(sim.Receive(request, 0).size(), 1u);

    sim.AddFault(Rule(("disconnect:" + CommandName(CommandKey{request[4], request[5]})).c_str()));
    const std::vector<Bytes> cut = sim.Receive(request, 10);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0], BuildIRDump(200, BlankIRImage()).front());
    EXPECT_TRUE(sim.Disconnected());
    EXPECT_TRUE(sim.Receive(kIdentity, 20).empty());
    sim.InjectParamValue(3, 9, 20);
    EXPECT_TRUE(sim.Poll(1000).empty());

    sim.Reconnect();
    EXPECT_EQ(sim.Receive(kIdentity, 30), std::vector<Bytes>{kIdentityReply});
}
