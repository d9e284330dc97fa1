#include "device/OmnarConfig.h"

#include "device/ParamValues.h"

namespace omnar {

vx::PluginConfig OmnarPluginConfig() {
    vx::PluginConfig config;
    config.paramCount = kParamCount;
    config.presetCount = 1;
    config.channelIOText = "0-2";
    config.pluginName = "OmnarControl";
    config.productName = "OmnarControl";
    config.makerName = "Vorlix";
    config.version = 0x00010200;
    // Stored so that its bytes in memory read q, O, M, d.
    config.uniqueId = vx::FourCharCode("dMOq");
    config.makerId = vx::FourCharCode("Vrlx");
    config.latency = 0;
    config.midiIn = true;
    config.midiOut = true;
    config.mpe = false;
    config.stateChunks = false;
    config.pluginType = 2;
    config.hasUI = true;
    config.width = 1920;
    config.height = 1200;
    config.minWidth = 640;
    config.maxWidth = 5760;
    config.minHeight = 400;
    config.maxHeight = 3600;
    config.hostResize = false;
    config.bundleId = "com.Vorlixinc.app.OmnarControl";
    config.appGroupId = "group.com.Vorlixinc.OmnarControl";
    return config;
}

} // namespace omnar
