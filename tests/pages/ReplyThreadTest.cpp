// A device reply handed over by the MIDI callback thread changes the panel
// only when the next UI tick drains it, on the main thread.

#include "pages/PageNames.h"
#include "tests/pages/EditFixture.h"

#include <thread>

namespace omnar::test {
namespace {

using namespace omnar::pages;

struct StillTimer : vx::Timer {
    void Stop() override {}
};

using ReplyThreadTest = EditFixture;

TEST_F(ReplyThreadTest, AReplyFromTheCallbackThreadWaitsForTheUITick) {
    Set(0, 0);
    const std::string before = TagText(tag::kMasterLevel);
    // The pedal reports parameter 0 at 127.
    const std::vector<uint8_t> reply = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x51, 0x0C, 0x00, 0x7F, 0xF7};
    std::thread callback([&] {
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(editor->PushCallbackSysEx(reply));
    });
    callback.join();
    EXPECT_EQ(TagText(tag::kMasterLevel), before);
    EXPECT_EQ(Value(0), 0);
    StillTimer timer;
    editor->OnUITimer(timer);
    EXPECT_EQ(Value(0), 127);
    EXPECT_EQ(TagText(tag::kMasterLevel), "100%");
}

} // namespace
} // namespace omnar::test
