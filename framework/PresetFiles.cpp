// Program (.fxp) and bank (.fxb) files in the published VST 2 layouts.
#include "framework/IModuleBase.h"
#include "platform/sys/File.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace vx {

namespace {

constexpr int kProgramHeaderSize = 56; // magic .. 28-byte name; a bank has 128 reserved bytes
constexpr int kNameSize = 28;
constexpr int32_t kChunkVersion = 65536;

constexpr int32_t Code(const char (&text)[5]) {
    return static_cast<int32_t>((uint32_t(uint8_t(text[0])) << 24) |
                                (uint32_t(uint8_t(text[1])) << 16) |
                                (uint32_t(uint8_t(text[2])) << 8) | uint32_t(uint8_t(text[3])));
}

// Big-endian writer and bounds-checked reader over plain bytes.
class BigEndianOut {
public:
    void Int(int32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<uint8_t>(uint32_t(value) >> shift));
    }
    void Float(float value) {
        int32_t bits;
        std::memcpy(&bits, &value, 4);
        Int(bits);
    }
    void Raw(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
    }
    void Name(const char* name) {
        // Cut to the field, which always keeps a terminating zero.
        char field[kNameSize] = {};
        if (name)
            std::memcpy(field, name, strnlen(name, kNameSize - 1));
        Raw(field, sizeof field);
    }
    std::vector<uint8_t> bytes;
};

class BigEndianIn {
public:
    explicit BigEndianIn(const std::vector<uint8_t>& data) : m_data(data) {}
    bool Int(int32_t& value) {
        if (Left() < 4)
            return Fail();
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | m_data[m_pos++];
        value = static_cast<int32_t>(v);
        return true;
    }
    bool Float(float& value) {
        int32_t bits = 0;
        if (!Int(bits))
            return false;
        std::memcpy(&value, &bits, 4);
        return true;
    }
    bool Raw(void* out, size_t size) {
        if (Left() < size)
            return Fail();
        std::memcpy(out, m_data.data() + m_pos, size);
        m_pos += size;
        return true;
    }
    bool Skip(size_t size) {
        if (Left() < size)
            return Fail();
        m_pos += size;
        return true;
    }
    size_t Left() const { return m_data.size() - m_pos; }

private:
    static bool Fail() { return false; }
    const std::vector<uint8_t>& m_data;
    size_t m_pos = 0;
};

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
    sys::UniqueFile file = sys::OpenFile(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return sys::CloseWritten(std::move(file)) && written;
}

bool ReadFile(const char* path, std::vector<uint8_t>& bytes) {
    const sys::UniqueFile file = sys::OpenFile(path, "rb");
    if (!file)
        return false;
    uint8_t buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    return !std::ferror(file.get());
}

struct FileHeader {
    int32_t kind = 0;
    int32_t count = 0;
};

// Reads magic, size, kind, version, id, plug-in version and count; checks what must match.
bool ReadHeader(BigEndianIn& in, int32_t uniqueId, FileHeader& header) {
    int32_t magic = 0, byteSize = 0, version = 0, id = 0, pluginVersion = 0;
    return in.Int(magic) && magic == Code("CcnK") && in.Int(byteSize) && in.Int(header.kind) &&
           in.Int(version) && version == 1 && in.Int(id) && id == uniqueId &&
           in.Int(pluginVersion) && in.Int(header.count) && header.count >= 0;
}

// The counterpart of ReadHeader.
void PutHeader(BigEndianOut& out, int32_t byteSize, int32_t kind, int32_t uniqueId,
               int32_t pluginVersion, int32_t count) {
    out.Int(Code("CcnK"));
    out.Int(byteSize);
    out.Int(kind);
    out.Int(1);
    out.Int(uniqueId);
    out.Int(pluginVersion);
    out.Int(count);
}

// The opaque chunk: the framework's version header, then the payload.
bool ReadOpaqueChunk(BigEndianIn& in, IByteChunk& payload) {
    int32_t size = 0;
    if (!in.Int(size) || size < 8 || size_t(size) > in.Left())
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.Raw(bytes.data(), bytes.size());
    int32_t version = 0;
    std::memcpy(&version, bytes.data() + 4, 4);
    if (std::memcmp(bytes.data(), "tffp", 4) != 0 || version != kChunkVersion)
        return false;
    payload.PutBytes(bytes.data() + 8, size - 8);
    return true;
}

void PutOpaqueChunk(BigEndianOut& out, const IByteChunk& payload) {
    out.Int(payload.Size() + 8);
    out.Raw("tffp", 4);
    out.Raw(&kChunkVersion, 4);
    out.Raw(payload.Data(), size_t(payload.Size()));
}

// Values of a preset's state when it holds one double per parameter, else the current ones.
std::vector<float> NormalisedValues(const IModuleBase& module, const IByteChunk* state) {
    std::vector<float> values;
    const bool plain = state && state->Size() == 8 * module.NParams();
    for (int i = 0; i < module.NParams(); ++i) {
        const IParam* param = module.GetParam(i);
        double value = param->CurrentValue();
        if (plain)
            state->Get(value, 8 * i);
        values.push_back(static_cast<float>(param->ToNormalised(value)));
    }
    return values;
}

} // namespace

bool IModuleBase::SaveProgramFile(const char* path) const {
    BigEndianOut out;
    IByteChunk state;
    if (mStateChunks && !SaveState(state))
        return false;
    PutHeader(out, mStateChunks ? state.Size() + 8 + 60 : 0,
              mStateChunks ? Code("FPCh") : Code("FxCk"), mUniqueId, PluginVersion(true),
              NParams());
    out.Name(PresetName(mCurrentPreset));
    if (mStateChunks) {
        PutOpaqueChunk(out, state);
    } else {
        for (float value : NormalisedValues(*this, nullptr))
            out.Float(value);
    }
    return WriteFile(path, out.bytes);
}

bool IModuleBase::SaveBankFile(const char* path) const {
    BigEndianOut out;
    IByteChunk presets;
    if (mStateChunks)
        WritePresets(presets);
    PutHeader(out, mStateChunks ? presets.Size() + 8 + 152 : 0,
              mStateChunks ? Code("FBCh") : Code("FxBk"), mUniqueId, PluginVersion(true),
              NPresets());
    out.Raw(std::array<uint8_t, 128>{}.data(), 128);
    if (mStateChunks) {
        PutOpaqueChunk(out, presets);
        return WriteFile(path, out.bytes);
    }
    for (const auto& preset : mPresets) {
        PutHeader(out, 0, Code("FxCk"), mUniqueId, PluginVersion(true), NParams());
        out.Name(preset->name);
        for (float value : NormalisedValues(*this, preset->initialised ? &preset->state : nullptr))
            out.Float(value);
    }
    return WriteFile(path, out.bytes);
}

namespace {

// One program of values: checked whole before anything is taken from it.
bool ReadValueProgram(BigEndianIn& in, int nParams, int32_t uniqueId, char (&name)[kNameSize + 1],
                      std::vector<float>& values) {
    FileHeader header;
    if (!ReadHeader(in, uniqueId, header) || header.kind != Code("FxCk") ||
        header.count != nParams || !in.Raw(name, kNameSize) || in.Left() < size_t(nParams) * 4)
        return false;
    values.resize(size_t(nParams));
    for (float& value : values) {
        in.Float(value);
        if (!std::isfinite(value))
            return false;
        value = std::clamp(value, 0.f, 1.f);
    }
    return true;
}

} // namespace

bool IModuleBase::LoadProgramFile(const char* path) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes))
        return false;
    BigEndianIn probe(bytes);
    FileHeader header;
    if (!ReadHeader(probe, mUniqueId, header))
        return false;
    BigEndianIn in(bytes);
    char name[kNameSize + 1] = {};
    if (header.kind == Code("FxCk")) {
        std::vector<float> values;
        if (!ReadValueProgram(in, NParams(), mUniqueId, name, values))
            return false;
        for (int i = 0; i < NParams(); ++i)
            GetParam(i)->SetNormalised(values[size_t(i)]);
        NotifyAllParamsChanged(kSourceRecall);
    } else if (header.kind == Code("FPCh")) {
        IByteChunk payload;
        if (!in.Skip(kProgramHeaderSize - kNameSize) || !in.Raw(name, kNameSize) ||
            !ReadOpaqueChunk(in, payload))
            return false;
        IByteChunk before;
        SaveState(before);
        if (RestoreState(payload, 0) < 0) {
            RestoreState(before, 0);
            return false;
        }
    } else {
        return false;
    }
    SaveIntoCurrentPreset(name);
    OnPresetRestored();
    return true;
}

bool IModuleBase::LoadBankFile(const char* path) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes))
        return false;
    BigEndianIn in(bytes);
    FileHeader header;
    if (!ReadHeader(in, mUniqueId, header) || header.count != NPresets() || !in.Skip(128))
        return false;
    if (header.kind == Code("FBCh")) {
        IByteChunk payload, before;
        if (!ReadOpaqueChunk(in, payload))
            return false;
        WritePresets(before);
        if (ReadPresets(payload, 0) < 0) {
            ReadPresets(before, 0);
            return false;
        }
        return true;
    }
    if (header.kind != Code("FxBk"))
        return false;
    std::vector<std::pair<std::string, std::vector<float>>> programs;
    for (int p = 0; p < NPresets(); ++p) {
        char name[kNameSize + 1] = {};
        std::vector<float> values;
        if (!ReadValueProgram(in, NParams(), mUniqueId, name, values))
            return false;
        programs.emplace_back(name, std::move(values));
    }
    for (int p = 0; p < NPresets(); ++p) {
        IPreset& preset = *mPresets[size_t(p)];
        preset.SetName(programs[size_t(p)].first.c_str());
        preset.state.Clear();
        for (int i = 0; i < NParams(); ++i)
            preset.state.Put(GetParam(i)->FromNormalised(programs[size_t(p)].second[size_t(i)]));
        preset.initialised = true;
    }
    RestorePreset(mCurrentPreset);
    return true;
}

} // namespace vx
