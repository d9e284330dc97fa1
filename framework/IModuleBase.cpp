#include "framework/IModuleBase.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vx {

void IPreset::SetName(const char* text) {
    std::snprintf(name, sizeof name, "%s", text ? text : "");
}

IModuleBase::IModuleBase(int nParams, int nPresets) : ICanvasEditorDelegate(nParams) {
    for (int i = 0; i < nPresets; ++i)
        mPresets.push_back(std::make_unique<IPreset>());
}

// Presets go last first, before the delegate and its parameters.
IModuleBase::~IModuleBase() {
    while (!mPresets.empty())
        mPresets.pop_back();
}

const char* IModuleBase::APIName() const {
    static const char* const kNames[] = {"VST2", "VST3", "AU",  "AUv3", "AAX",
                                         "APP",  "WAM",  "WEB", "CLAP"};
    return mAPICode >= 0 && mAPICode < int{std::size(kNames)} ? kNames[mAPICode] : "";
}

void IModuleBase::BuildInfo(VxString& out, const char* date, const char* time) const {
    VxString version;
    PluginVersionText(version);
    out.SetFormatted(256, "%s %s (%s), built on %s at %.5s ", version.Get(), APIName(), ArchName(),
                     date ? date : "", time ? time : "");
}

int32_t IModuleBase::VersionNumber(int32_t packed, bool decimal) {
    if (!decimal)
        return packed;
    const int32_t major = (packed >> 16) & 0xFFFF, minor = (packed >> 8) & 0xFF,
                  patch = packed & 0xFF;
    return major * 10000 + minor * 100 + patch;
}

void IModuleBase::VersionText(int32_t packed, VxString& out) {
    out.SetFormatted(32, "v%d.%d.%d", (packed >> 16) & 0xFFFF, (packed >> 8) & 0xFF, packed & 0xFF);
}

bool IModuleBase::WriteParamValues(IByteChunk& chunk) const {
    for (int i = 0; i < NParams(); ++i)
        chunk.Put(GetParam(i)->CurrentValue());
    return chunk.Size() > 0;
}

int32_t IModuleBase::ReadParamValues(const IByteChunk& chunk, int32_t start) {
    if (NParams() == 0 || start < 0)
        return start;
    int32_t position = start;
    for (int i = 0; i < NParams() && position >= 0; ++i) {
        double value = 0.0;
        position = chunk.Get(value, position);
        if (position >= 0)
            GetParam(i)->Set(value);
    }
    NotifyAllParamsChanged(kSourceRecall);
    return position;
}

void IModuleBase::ForParamInRange(int first, int last, const ParamFunc& func) {
    if (!func)
        throw std::bad_function_call();
    for (int i = std::max(first, 0); i <= std::min(last, NParams() - 1); ++i)
        func(i, *GetParam(i));
}

void IModuleBase::ForParamInGroup(const char* group, const ParamFunc& func) {
    if (!func)
        throw std::bad_function_call();
    for (int i = 0; i < NParams(); ++i) {
        if (IParam* param = GetParam(i);
            param && std::strcmp(param->Group(), group ? group : "") == 0)
            func(i, *param);
    }
}

namespace {

void SetToDefault(int, IParam& param) {
    param.Set(param.Default());
}

// rand() scaled by 2^-31, in single precision first as the original ranges were made.
void SetToRandom(int, IParam& param) {
    param.SetNormalised(static_cast<float>(std::rand()) * 4.656612873077393e-10);
}

} // namespace

void IModuleBase::DefaultParamValues(int first, int last) {
    ForParamInRange(first, last, SetToDefault);
}

void IModuleBase::DefaultParamValues(const char* group) {
    ForParamInGroup(group, SetToDefault);
}

void IModuleBase::RandomiseParamValues(int first, int last) {
    ForParamInRange(first, last, SetToRandom);
}

void IModuleBase::RandomiseParamValues(const char* group) {
    ForParamInGroup(group, SetToRandom);
}

void IModuleBase::PrintParamValues() {
    ForParamInRange(0, NParams() - 1, [](int, IParam&) {});
}

void IModuleBase::SetUpParamRange(int first, int last, int firstNumber, const char* nameFormat,
                                  double defaultValue, double min, double max, double step,
                                  const char* label, int flags, const char* group,
                                  const IParam::Shape& shape, int unit,
                                  IParam::DisplayFunc displayFunc) {
    ForParamInRange(first, last, [&](int index, IParam& param) {
        char name[33];
        std::snprintf(name, sizeof name, nameFormat ? nameFormat : "", firstNumber + index - first);
        param.SetUpDouble(name, defaultValue, min, max, step, label, flags, group, shape, unit,
                          displayFunc);
    });
}

void IModuleBase::CloneParamRange(int sourceFirst, int sourceLast, int destFirst,
                                  const char* searchText, const char* replacementText,
                                  const char* newGroup) {
    for (int k = 0; k <= sourceLast - sourceFirst; ++k) {
        const IParam* source = GetParam(sourceFirst + k);
        IParam* dest = GetParam(destFirst + k);
        if (!source || !dest || source == dest)
            continue;
        dest->SetUpFromCopy(*source, searchText, replacementText, newGroup);
        dest->Set(source->CurrentValue());
    }
}

void IModuleBase::CopyParamValues(int sourceFirst, int destFirst, int count) {
    for (int k = 0; k < count; ++k) {
        const IParam* source = GetParam(sourceFirst + k);
        if (IParam* dest = GetParam(destFirst + k); source && dest)
            dest->Set(source->CurrentValue());
    }
}

void IModuleBase::CopyGroupValues(const char* sourceGroup, const char* destGroup) {
    std::vector<IParam*> sources, dests;
    ForParamInGroup(sourceGroup, [&](int, IParam& param) { sources.push_back(&param); });
    ForParamInGroup(destGroup, [&](int, IParam& param) { dests.push_back(&param); });
    for (size_t k = 0; k < std::min(sources.size(), dests.size()); ++k)
        dests[k]->Set(sources[k]->CurrentValue());
}

} // namespace vx
