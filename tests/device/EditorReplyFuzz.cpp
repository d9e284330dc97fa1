#include "framework/Timer.h"
#include "platform/sys/Log.h"
#include "tests/device/DeviceRig.h"
#include "tests/device/ResettableEditor.h"
#include "tests/support/MemoryTempFolder.h"

#include <cstdint>
#include <span>
#include <string>

// Message sequences from the device into a connected editor with its test
// panel: any order, any content, with transfer ticks between them. Nothing
// may crash, read or write out of bounds, or hang. The first byte chooses
// which transfer is armed and how often the timer ticks.
// The editor, connected, is made once and put back after every input.
namespace {

class StubTimer : public vx::Timer {
public:
    void Stop() override {}
};

void Arm(omnar::test::RigEditor& editor, std::uint8_t choice) {
    switch (choice % 5) {
    case 1: // a backup with no file to go to
        editor.mBackupActive = editor.mBackupReady = true;
        break;
    case 2: // a restore of whatever the bank buffer holds
        editor.mBankLength = 600;
        editor.mRestoreCount = 3;
        editor.mRestoreActive = editor.mRestoreReady = editor.mBulkBeginPending = true;
        break;
    case 3: // a slot sync half way
        editor.mSlotChanged.fill(true);
        editor.mSlotSyncActive = true;
        editor.mSlotSyncSlot = 5;
        break;
    case 4: // a firmware image waiting for the loader
        editor.mTransferSize = editor.mTransferRemaining = 700;
        editor.mTransferPos = 0;
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vx::test::PreferMemoryTempFolder();
    sys::SetLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static omnar::test::TempDataHome home;
    static vx::test::FakeHost host;
    static omnar::test::ResettableEditor<omnar::test::RigEditor> editor(vx::InstanceInfo{&host});
    static const bool ready = [] {
        editor.OpenPanel();
        editor.mConnected = true;
        editor.mApplyingValues = false;
        editor.Remember();
        return true;
    }();
    (void)ready;
    static omnar::test::LibraryWatch library(home.Folder());
    if (size == 0)
        return 0;

    Arm(editor, data[0]);
    const int tickEvery = 1 + (data[0] >> 4);
    StubTimer timer;
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    std::size_t start = 0;
    int messages = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != 0xF7 && i + 1 != rest.size())
            continue;
        const auto message = rest.subspan(start, i + 1 - start);
        editor.ProcessSysEx({0, int(message.size()), message.data()});
        start = i + 1;
        if (++messages % tickEvery == 0)
            editor.OnZMK3Timer(timer);
        host.output->messages.clear();
    }
    for (int tick = 0; tick < 3; ++tick)
        editor.OnZMK3Timer(timer);

    // Put back before the input ends, so that what it made is freed within it
    // (else the fuzzer takes the difference for a leak and searches for one).
    library.EmptyIfChanged();
    editor.PutBack();
    host.output->messages.clear();
    host.output->wire.clear();
    return 0;
}
