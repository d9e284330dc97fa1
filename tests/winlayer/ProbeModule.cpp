#include "tests/winlayer/ProbeModule.h"

namespace {

void Record(char event) {
    ModuleProbe& probe = winlayer_module_probe;
    if (probe.eventCount < static_cast<int>(sizeof probe.events) - 1)
        probe.events[probe.eventCount++] = event;
}

struct UnloadWitness {
    ~UnloadWitness() { Record('U'); }
} g_unloadWitness;

} // namespace

extern "C" {

__attribute__((visibility("default"))) int WISP_dllMain(void*, unsigned reason, void*) {
    Record(reason == 1 ? 'W' : 'w');
    return reason == 1 ? winlayer_module_probe.wispDllMainAnswer : 1;
}

__attribute__((visibility("default"))) int DllMain(void*, unsigned reason, void*) {
    Record(reason == 1 ? 'D' : 'd');
    return reason == 1 ? winlayer_module_probe.dllMainAnswer : 1;
}

__attribute__((visibility("default"))) int ProbeModuleAnswer() {
    return 7;
}
}
