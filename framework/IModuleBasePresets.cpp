#include "framework/Base64.h"
#include "framework/IModuleBase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vx {

const IPreset* IModuleBase::GetPreset(int index) const {
    return index >= 0 && index < NPresets() ? mPresets[size_t(index)].get() : nullptr;
}

IPreset* IModuleBase::MutablePreset(int index) {
    return const_cast<IPreset*>(GetPreset(index));
}

IPreset* IModuleBase::FirstFreePreset() {
    for (auto& preset : mPresets)
        if (!preset->initialised)
            return preset.get();
    return nullptr;
}

const char* IModuleBase::PresetName(int index) const {
    const IPreset* preset = GetPreset(index);
    return preset ? preset->name : "";
}

bool IModuleBase::RestorePreset(int index) {
    IPreset* preset = MutablePreset(index);
    if (!preset)
        return false;
    if (!preset->initialised) {
        int userPresets = 0;
        for (const auto& other : mPresets)
            userPresets += std::strstr(other->name, "user preset") != nullptr;
        IByteChunk state;
        if (!SaveState(state))
            return false;
        preset->initialised = true;
        std::snprintf(preset->name, sizeof preset->name, "%s %d", "user preset", userPresets + 1);
        preset->state = std::move(state);
    } else if (RestoreState(preset->state, 0) < 1) {
        return false;
    }
    mCurrentPreset = index;
    OnPresetUnserialized();
    OnPresetRestored();
    return true;
}

bool IModuleBase::RestorePresetByName(const char* name) {
    if (!name || !*name)
        return false;
    for (int i = 0; i < NPresets(); ++i)
        if (std::strcmp(mPresets[size_t(i)]->name, name) == 0)
            return RestorePreset(i);
    return false;
}

void IModuleBase::SaveIntoCurrentPreset(const char* name) {
    IPreset* preset = MutablePreset(mCurrentPreset);
    if (!preset)
        return;
    preset->state.Clear();
    preset->initialised = SaveState(preset->state);
    if (name && *name)
        preset->SetName(name);
}

void IModuleBase::FillEmptyPresets(const char* name, int count) {
    for (int i = 0; i < count; ++i) {
        IPreset* preset = FirstFreePreset();
        if (!preset)
            return;
        preset->initialised = true;
        preset->SetName(name ? name : "Empty");
        SaveState(preset->state);
    }
}

void IModuleBase::FillAllEmptyPresets() {
    FillEmptyPresets(nullptr, NPresets());
}

void IModuleBase::PruneEmptyPresets() {
    std::erase_if(mPresets, [](const auto& preset) { return !preset->initialised; });
    mCurrentPreset = std::min(mCurrentPreset, std::max(NPresets() - 1, 0));
}

bool IModuleBase::WritePresets(IByteChunk& chunk) const {
    for (const auto& preset : mPresets) {
        const auto length = static_cast<int32_t>(std::strlen(preset->name));
        chunk.Put(length);
        chunk.PutBytes(preset->name, length);
        chunk.Put(static_cast<uint8_t>(preset->initialised));
        if (preset->initialised)
            chunk.PutChunk(preset->state);
    }
    return true;
}

int32_t IModuleBase::ReadPresets(const IByteChunk& chunk, int32_t position) {
    for (auto& preset : mPresets) {
        int32_t length = 0;
        position = chunk.Get(length, position);
        if (position < 0 || length < 0 || length > IPreset::kMaxNameLength)
            return -1;
        char name[IPreset::kMaxNameLength + 1] = {};
        position = chunk.GetBytes(name, length, position);
        uint8_t initialised = 0;
        if (position >= 0)
            position = chunk.Get(initialised, position);
        if (position < 0)
            return -1;
        preset->SetName(name);
        preset->initialised = initialised != 0;
        if (preset->initialised) {
            position = RestoreState(chunk, position);
            if (position < 0)
                return -1;
            preset->state.Clear();
            SaveState(preset->state);
        }
    }
    RestorePreset(mCurrentPreset);
    return position;
}

namespace {

void PutValues(IByteChunk& chunk, std::span<const double> values) {
    for (double value : values)
        chunk.Put(value);
}

} // namespace

bool IModuleBase::MakePreset(const char* name, std::span<const double> values) {
    IPreset* preset = FirstFreePreset();
    if (!preset || static_cast<int>(values.size()) != NParams())
        return false;
    preset->state.Clear();
    PutValues(preset->state, values);
    preset->SetName(name);
    preset->initialised = true;
    return true;
}

bool IModuleBase::MakePresetFromNamedParams(const char* name,
                                            std::span<const std::pair<int, double>> values) {
    IPreset* preset = FirstFreePreset();
    if (!preset)
        return false;
    std::vector<double> all;
    for (int i = 0; i < NParams(); ++i)
        all.push_back(GetParam(i)->CurrentValue());
    for (const auto& [index, value] : values)
        if (index >= 0 && index < NParams())
            all[size_t(index)] = value;
    preset->state.Clear();
    PutValues(preset->state, all);
    preset->SetName(name);
    preset->initialised = true;
    return true;
}

bool IModuleBase::MakePresetFromChunk(const char* name, const IByteChunk& chunk) {
    IPreset* preset = FirstFreePreset();
    if (!preset)
        return false;
    preset->state = chunk;
    preset->SetName(name);
    preset->initialised = true;
    return true;
}

bool IModuleBase::MakePresetFromBlob(const char* name, const char* base64, int size) {
    IPreset* preset = FirstFreePreset();
    if (!preset || size < 0)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const int decoded = Base64Decode(base64, bytes);
    preset->state.Clear();
    preset->state.PutBytes(bytes.data(), decoded);
    preset->SetName(name);
    preset->initialised = true;
    return true;
}

} // namespace vx
