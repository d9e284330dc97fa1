#include "framework/Timer.h"
#include "platform/sys/Log.h"
#include "tests/device/DeviceRig.h"
#include "tests/device/ResettableEditor.h"
#include "tests/support/MemoryTempFolder.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

// Preset files of any content through the program's own way in: the import
// of a connected editor with its panel, its message, and the uploads and
// preset dump it arms, ticked out. Every parameter keeps a number in its
// range, no message carries a data byte of 80h or more, and an armed upload
// goes to an IR number the pedal has.
// The editor, connected, is made once and put back after every input.
namespace {

class StubTimer : public vx::Timer {
public:
    void Stop() override {}
};

void Check(const omnar::test::RigEditor& editor, const vx::test::FakeHost& host) {
    for (int i = 0; i < editor.NParams(); ++i) {
        const vx::IParam* param = editor.GetParam(i);
        const double value = param->CurrentValue();
        if (!std::isfinite(value) || value < param->Min() || value > param->Max())
            std::abort();
    }
    for (const auto& message : host.output->messages)
        for (std::size_t i = 1; i + 1 < message.size(); ++i)
            if (message[i] >= 0x80)
                std::abort();
    if (editor.mIRUploadSending && (editor.mIRUploadSlot < 0 || editor.mIRUploadSlot > 383))
        std::abort();
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
    // The input lives apart from the library, which is emptied after each one.
    static omnar::test::TempDataHome inputs{"OMNAR_PRESET_FUZZ_INPUT"};
    static const std::string path = inputs.Folder() + "/input.z3p";
    static const bool ready = [] {
        editor.OpenPanel();
        editor.mConnected = true;
        editor.mApplyingValues = false;
        editor.Remember();
        return true;
    }();
    (void)ready;
    static omnar::test::LibraryWatch library(home.Folder());

    vx::test::WriteWholeFile(path, data, size);
    editor.ImportPreset(VxString(path.c_str()));
    editor.OnIdle();
    Check(editor, host);
    StubTimer timer;
    for (int tick = 0; tick < 3; ++tick)
        editor.OnZMK3Timer(timer);
    Check(editor, host);

    library.EmptyIfChanged();
    editor.PutBack();
    editor.Panel().ClearCalls();
    host.output->messages.clear();
    host.output->wire.clear();
    return 0;
}
