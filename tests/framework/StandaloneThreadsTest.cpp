#include "tests/framework/PluginFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

namespace vx::test {
namespace {

// Records sequence numbers instead of log lines, and checks each SysEx body.
class SequenceProduct : public TestProduct {
public:
    using TestProduct::TestProduct;
    // The sequence number travels in the offset; the bytes repeat its low bits,
    // which a torn entry would not.
    void ProcessMidiMessage(const IMidiMsg& msg) override {
        whole = whole && msg.data1 == (msg.offset & 0x7F) && msg.data2 == msg.data1;
        midiSeqs.push_back(msg.offset);
    }
    void ProcessSysEx(const ISysEx& sysex) override {
        const int seq = sysex.offset;
        for (int i = 1; i < sysex.size - 1; ++i)
            whole = whole && sysex.data[i] == (seq & 0x7F);
        whole = whole && sysex.size == 8 + seq % 200 && sysex.data[sysex.size - 1] == 0xF7;
        sysexSeqs.push_back(seq);
    }
    void HandleMidiMsgOnUI(const IMidiMsg&) override { ++editorMidi; }
    void HandleSysExOnUI(const ISysEx&) override { ++editorSysEx; }
    void SendParameterValueToUI(int32_t, double, bool) override { ++editorParams; }
    void OnIdle() override {}

    std::vector<int> midiSeqs, sysexSeqs;
    bool whole = true;
    int editorMidi = 0, editorSysEx = 0, editorParams = 0;
};

bool IsIncreasing(const std::vector<int>& seqs) {
    return std::adjacent_find(seqs.begin(), seqs.end(), std::greater_equal<>()) == seqs.end();
}

TEST(StandaloneThreads, CallbackTrafficDrainedByTicksArrivesWholeAndInOrder) {
    constexpr int kMessages = 100000;
    FakeHost host;
    SequenceProduct product(&host);
    std::atomic<bool> done{false};
    int dropped = 0;
    std::thread callback([&] {
        for (int seq = 0; seq < kMessages; ++seq) {
            bool pushed;
            if (seq % 3 == 2) {
                std::vector<uint8_t> bytes(size_t(8 + seq % 200), uint8_t(seq & 0x7F));
                bytes.front() = 0xF0;
                bytes.back() = 0xF7;
                pushed = product.PushCallbackSysEx(bytes, seq);
            } else {
                const auto low = uint8_t(seq & 0x7F);
                pushed = product.PushCallbackMidiMsg({seq, 0x90, low, low, 0});
            }
            dropped += !pushed;
            // The audio thread queues values for the editor too.
            product.QueueParamValueForUI(5, 1.0, false);
        }
        done = true;
    });
    while (!done.load()) {
        product.QueueParamValueForUI(6, 2.0, false);
        product.Tick();
    }
    callback.join();
    product.Tick();

    EXPECT_TRUE(product.whole);
    EXPECT_EQ(int(product.midiSeqs.size() + product.sysexSeqs.size()) + dropped, kMessages);
    EXPECT_EQ(product.editorMidi, int(product.midiSeqs.size()));
    EXPECT_EQ(product.editorSysEx, int(product.sysexSeqs.size()));
    EXPECT_GT(product.editorParams, 0);
    EXPECT_TRUE(IsIncreasing(product.midiSeqs));
    EXPECT_TRUE(IsIncreasing(product.sysexSeqs));
}

TEST(StandaloneThreads, SendsFromTwoThreadsLeaveAsWholeMessages) {
    constexpr int kEach = 2000;
    FakeHost host;
    TestProduct product(&host);
    auto sender = [&](uint8_t tag, int size) {
        std::vector<uint8_t> bytes(size_t(size), tag);
        bytes.front() = 0xF0;
        bytes.back() = 0xF7;
        for (int i = 0; i < kEach; ++i)
            EXPECT_TRUE(product.SendSysEx({0, size, bytes.data()}));
    };
    std::thread main([&] { sender(0x0A, 20); });
    std::thread audio([&] { sender(0x0B, 37); });
    main.join();
    audio.join();

    // Cut the wire at every F7: each slice must be one of the two messages.
    const std::vector<uint8_t>& wire = host.output->wire;
    int counts[2] = {};
    size_t start = 0;
    for (size_t i = 0; i < wire.size(); ++i) {
        if (wire[i] != 0xF7)
            continue;
        const size_t size = i + 1 - start;
        const uint8_t tag = wire[start + 1];
        ASSERT_EQ(wire[start], 0xF0);
        ASSERT_TRUE((tag == 0x0A && size == 20) || (tag == 0x0B && size == 37)) << start;
        for (size_t k = start + 1; k < i; ++k)
            ASSERT_EQ(wire[k], tag);
        ++counts[tag - 0x0A];
        start = i + 1;
    }
    EXPECT_EQ(start, wire.size());
    EXPECT_EQ(counts[0], kEach);
    EXPECT_EQ(counts[1], kEach);
}

} // namespace
} // namespace vx::test
