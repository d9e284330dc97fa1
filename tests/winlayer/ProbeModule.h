#pragma once

// What the probe module is told to answer and what it records, kept in the
// test program so it outlives the module.
extern "C" {
struct ModuleProbe {
    int wispDllMainAnswer;
    int dllMainAnswer;
    // One letter per event: W/w WISP_dllMain attach/detach, D/d DllMain
    // attach/detach, U the module's code being unloaded.
    char events[64];
    int eventCount;
};
extern ModuleProbe winlayer_module_probe;
}
