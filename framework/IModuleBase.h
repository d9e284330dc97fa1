#pragma once

#include "framework/IByteChunk.h"
#include "framework/ICanvasEditorDelegate.h"
#include "framework/VxString.h"

#include <functional>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace vx {

// One stored preset: a name and, once initialised, a state chunk.
struct IPreset {
    static constexpr int kMaxNameLength = 255;
    IPreset() { SetName("empty"); }
    void SetName(const char* text);

    bool initialised = false;
    char name[kMaxNameLength + 1] = {};
    IByteChunk state;
};

// The plug-in's identity, its parameter state as chunks, bulk operations over
// ranges and groups of parameters, and the preset list with its files.
// Main thread only.
class IModuleBase : public ui::ICanvasEditorDelegate {
public:
    using ParamFunc = std::function<void(int index, IParam& param)>;
    // Index into "VST2", "VST3", "AU", "AUv3", "AAX", "APP", "WAM", "WEB", "CLAP".
    static constexpr int32_t kAPIApp = 5;

    IModuleBase(int nParams, int nPresets);
    ~IModuleBase() override;

    virtual void OnPresetsChangedHook() {}
    virtual bool SaveState(IByteChunk& chunk) const { return WriteParamValues(chunk); }
    virtual int32_t RestoreState(const IByteChunk& chunk, int32_t position) {
        return ReadParamValues(chunk, position);
    }
    virtual bool CanSerializeState() const { return true; }
    virtual int32_t RestoreExtraState(const IByteChunk&, int32_t position) { return position; }
    virtual void OnStateUnserialized() {}
    virtual void OnPresetUnserialized() {}

    // ---- Identity ----
    // Decimal: major * 10000 + minor * 100 + patch; else the packed value.
    int32_t PluginVersion(bool decimal) const { return VersionNumber(mVersion, decimal); }
    int32_t HostVersion(bool decimal) const { return VersionNumber(mHostVersion, decimal); }
    void PluginVersionText(VxString& out) const { VersionText(mVersion, out); }
    void HostVersionText(VxString& out) const { VersionText(mHostVersion, out); }
    const char* APIName() const;
    static const char* ArchName() { return "x86-64"; }
    void BuildInfo(VxString& out, const char* date, const char* time) const;
    const char* PluginName() const { return mPluginName.Get(); }
    const char* ProductName() const { return mProductName.Get(); }
    const char* MakerName() const { return mMakerName.Get(); }
    int32_t UniqueId() const { return mUniqueId; }
    int32_t MakerId() const { return mMakerId; }
    int32_t HostCode() const { return mHostCode; }
    const char* HostName() const { return mHostName.Get(); }
    int32_t APICode() const { return mAPICode; }
    bool HasUI() const { return mHasUI; }
    bool HostResize() const { return mHostResize; }
    bool StateChunks() const { return mStateChunks; }
    const char* BundleId() const { return mBundleId.Get(); }
    const char* AppGroupId() const { return mAppGroupId.Get(); }

    // ---- Parameter state: one double per parameter, index order, no header ----
    bool WriteParamValues(IByteChunk& chunk) const;
    // start + 8 x count, or -1 when the chunk ends early (the rest keep their
    // values). Every parameter is notified as recalled either way.
    int32_t ReadParamValues(const IByteChunk& chunk, int32_t start);

    // ---- Ranges and groups (indices inclusive, cut to the list) ----
    void ForParamInRange(int first, int last, const ParamFunc& func);
    void ForParamInGroup(const char* group, const ParamFunc& func);
    virtual void DefaultParamValues() { DefaultParamValues(0, NParams() - 1); }
    void DefaultParamValues(int first, int last);
    void DefaultParamValues(const char* group);
    virtual void RandomiseParamValues() { RandomiseParamValues(0, NParams() - 1); }
    void RandomiseParamValues(int first, int last);
    void RandomiseParamValues(const char* group);
    virtual void PrintParamValues();
    void SetUpParamRange(int first, int last, int firstNumber, const char* nameFormat,
                         double defaultValue, double min, double max, double step,
                         const char* label = "", int flags = 0, const char* group = "",
                         const IParam::Shape& shape = IParam::LinearShape(),
                         int unit = IParam::kUnitCustom, IParam::DisplayFunc displayFunc = nullptr);
    void CloneParamRange(int sourceFirst, int sourceLast, int destFirst, const char* searchText,
                         const char* replacementText, const char* newGroup);
    void CopyParamValues(int sourceFirst, int destFirst, int count);
    // Pairs the groups' parameters in index order, as many as the smaller group has.
    void CopyGroupValues(const char* sourceGroup, const char* destGroup);

    // ---- Presets ----
    int NPresets() const { return static_cast<int>(mPresets.size()); }
    int CurrentPresetIdx() const { return mCurrentPreset; }
    const IPreset* GetPreset(int index) const;
    const char* PresetName(int index) const;
    bool RestorePreset(int index);
    bool RestorePresetByName(const char* name);
    void SaveIntoCurrentPreset(const char* name = nullptr);
    void FillEmptyPresets(const char* name, int count);
    void FillAllEmptyPresets();
    void PruneEmptyPresets();
    bool WritePresets(IByteChunk& chunk) const;
    // The position after the list, or -1 at the first bad record.
    int32_t ReadPresets(const IByteChunk& chunk, int32_t position);
    // Makers fill the first uninitialised preset; false when none is free.
    bool MakePreset(const char* name, std::span<const double> values);
    bool MakePresetFromNamedParams(const char* name,
                                   std::span<const std::pair<int, double>> values);
    bool MakePresetFromChunk(const char* name, const IByteChunk& chunk);
    bool MakePresetFromBlob(const char* name, const char* base64, int size);
    // Source dumps append a maker call describing the current preset.
    bool DumpPresetSource(const char* path) const;
    bool DumpNamedPresetSource(const char* path, std::span<const char* const> paramNames) const;
    bool DumpPresetBlob(const char* path) const;

    // ---- Preset files (.fxp, .fxb); a failed load changes nothing ----
    bool SaveProgramFile(const char* path) const;
    bool SaveBankFile(const char* path) const;
    bool LoadProgramFile(const char* path);
    bool LoadBankFile(const char* path);

protected:
    IPreset* FirstFreePreset();
    IPreset* MutablePreset(int index);

    // Identity, filled by the configuration and host identification.
    bool mStateChunks = false;
    VxString mPluginName;
    VxString mProductName;
    VxString mMakerName;
    int32_t mUniqueId = 0;
    int32_t mMakerId = 0;
    int32_t mVersion = 0;
    int32_t mHostVersion = 0;
    int32_t mHostCode = -1;
    VxString mHostName;
    int32_t mAPICode = 0;
    VxString mBundleId;
    VxString mAppGroupId;
    bool mHasUI = false;
    bool mHostResize = false;

private:
    static int32_t VersionNumber(int32_t packed, bool decimal);
    static void VersionText(int32_t packed, VxString& out);

    int32_t mCurrentPreset = 0;
    std::vector<std::unique_ptr<IPreset>> mPresets;
};

} // namespace vx
