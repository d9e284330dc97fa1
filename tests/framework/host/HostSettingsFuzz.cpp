#include "framework/host/HostSettings.h"
#include "tests/support/MemoryTempFolder.h"
#include "tests/support/TempImageFolder.h"
#include "winlayer/IniImage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// settings.ini of any content, read as the host reads it at start-up: every
// number taken passes its check and every name can be written back, whatever
// the file holds. (Writing is left to
// the ini writer's own tests: each key it writes reaches the disk before it
// answers, too slow for a fuzzer.)
namespace {

void Check(const host::HostSettings& s) {
    const bool sane = s.sampleRate > 0 && s.bufferFrames > 0 && s.input1 > 0 && s.input2 > 0 &&
                      s.output1 > 0 && s.output2 > 0 && s.midiInputChannel >= 0 &&
                      s.midiInputChannel <= 16 && s.midiOutputChannel >= 0 &&
                      s.midiOutputChannel <= 16;
    const bool storable =
        winlayer::IsStorableValue(s.audioInput) && winlayer::IsStorableValue(s.audioOutput) &&
        winlayer::IsStorableValue(s.midiInput) && winlayer::IsStorableValue(s.midiOutput);
    if (!storable) {
        std::fprintf(stderr, "a name the settings writer cannot store was taken\n");
        std::abort();
    }
    if (!sane) {
        std::fprintf(stderr, "a value that fails its check was taken\n");
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vx::test::PreferMemoryTempFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vx::test::TempImageFolder folder;
    const std::string path = folder.Folder() + "/settings.ini";
    vx::test::WriteWholeFile(path, data, size);
    Check(host::ReadHostSettings(path));
    return 0;
}
