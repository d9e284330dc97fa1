#include "framework/Base64.h"
#include "framework/IModuleBase.h"
#include "platform/sys/File.h"

#include <cstdio>
#include <utility>

namespace vx {

namespace {

// The value as the matching preset maker takes it.
void ValueText(const IParam& param, char (&text)[64]) {
    const double value = param.CurrentValue();
    switch (param.Type()) {
    case IParam::kTypeBool:
        std::snprintf(text, sizeof text, "%s", value >= 0.5 ? "true" : "false");
        break;
    case IParam::kTypeInt:
    case IParam::kTypeEnum:
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
        break;
    default:
        std::snprintf(text, sizeof text, "%.6f", value);
    }
}

} // namespace

bool IModuleBase::DumpPresetSource(const char* path) const {
    sys::UniqueFile file = sys::OpenFile(path, "a");
    if (!file)
        return false;
    std::fprintf(file.get(), "MakePreset(\"%s\"", PresetName(CurrentPresetIdx()));
    for (int i = 0; i < NParams(); ++i) {
        char text[64];
        ValueText(*GetParam(i), text);
        std::fprintf(file.get(), ", %s", text);
    }
    std::fprintf(file.get(), ");\n");
    return sys::CloseWritten(std::move(file));
}

bool IModuleBase::DumpNamedPresetSource(const char* path,
                                        std::span<const char* const> paramNames) const {
    sys::UniqueFile file = sys::OpenFile(path, "a");
    if (!file)
        return false;
    std::fprintf(file.get(), "MakePresetFromNamedParams(\"%s\", %d", PresetName(CurrentPresetIdx()),
                 NParams());
    for (int i = 0; i < NParams(); ++i) {
        char text[64];
        ValueText(*GetParam(i), text);
        const char* name = size_t(i) < paramNames.size() && paramNames[size_t(i)]
                               ? paramNames[size_t(i)]
                               : GetParam(i)->Name();
        std::fprintf(file.get(), ",\n    %s, %s", name, text);
    }
    std::fprintf(file.get(), ");\n");
    return sys::CloseWritten(std::move(file));
}

bool IModuleBase::DumpPresetBlob(const char* path) const {
    sys::UniqueFile file = sys::OpenFile(path, "a");
    if (!file)
        return false;
    IByteChunk state;
    SaveState(state);
    const std::string blob = Base64Encode(state.Bytes());
    std::fprintf(file.get(), "MakePresetFromBlob(\"%s\", \"%s\", %i);\n",
                 PresetName(CurrentPresetIdx()), blob.c_str(), state.Size());
    return sys::CloseWritten(std::move(file));
}

} // namespace vx
