#include "controls/ITextControl.h"
#include "device/FileReader.h"
#include "device/FileRefusal.h"
#include "device/FileWriter.h"
#include "device/IRSlotImage.h"
#include "device/OmnarControl.h"
#include "device/PresetExchangeFile.h"
#include "platform/sys/Folders.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kPresetNumberTag = 1;
constexpr int kIRNameATag = 74;
constexpr int kIRNameBTag = 75;
constexpr int kPresetNameTag = 148;
constexpr int kIROnA = 40;
constexpr int kIROnB = 41;
constexpr int kSlotHighA = 53, kSlotLowA = 54, kSlotHighB = 55, kSlotLowB = 56;
// User and factory IR numbers an image may be uploaded to.
constexpr int kLastUploadSlot = 383;

std::string UserSlotPath(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", n + 1);
    return sys::UserIRFolder() + name;
}

int SlotOf(const std::array<int, omnar::kExchangeValueCount>& v, int high, int low) {
    return v[std::size_t(high)] * 128 + v[std::size_t(low)];
}

bool NameMatches(std::span<const uint8_t> image, const std::array<char, 32>& headerName) {
    return std::memcmp(image.data() + omnar::kImageNameAt, headerName.data(), headerName.size()) ==
           0;
}

} // namespace

void OmnarControl::ExportPreset(VxString& path) {
    if (path.GetLength() == 0)
        return;
    FileWriter writer;
    writer.Open(path.Get());
    if (writer.Descriptor() < 0)
        return;
    omnar::ExchangeHeaderFields fields;
    for (int i = 0; i < int(omnar::kExchangeValueCount); ++i)
        fields.values[std::size_t(i)] = ParamInt(i);
    const std::string name = omnar::ExchangeNameFromPath(path.Get());
    const std::string irNameA = mDeviceValues[kIROnA] >= 1 ? ControlText(kIRNameATag) : "";
    const std::string irNameB = mDeviceValues[kIROnB] >= 1 ? ControlText(kIRNameBTag) : "";
    fields.name = name;
    fields.irNameA = irNameA;
    fields.irNameB = irNameB;
    const auto header = omnar::BuildExchangeHeader(fields);
    std::vector<uint8_t> file(header.begin(), header.end());
    const auto appendImage = [&](int on, int high, int low) {
        if (mDeviceValues[std::size_t(on)] < 1 || mDeviceValues[std::size_t(high)] > 1)
            return;
        const int n = mDeviceValues[std::size_t(high)] * 128 + mDeviceValues[std::size_t(low)];
        const auto image = ReadWholeFile(UserSlotPath(n).c_str(), omnar::kExchangeImageSize);
        if (image && image->size() == omnar::kExchangeImageSize)
            file.insert(file.end(), image->begin(), image->end());
    };
    appendImage(kIROnA, kSlotHighA, kSlotLowA);
    appendImage(kIROnB, kSlotHighB, kSlotLowB);
    const bool accepted = writer.Write(file.data(), int32_t(file.size())) == int32_t(file.size());
    // A file not written whole keeps the old one and the preset counts as unsaved.
    if (!writer.Close() || !accepted) {
        ShowMessage("ERROR!");
        return;
    }
    path.SetBounded(omnar::WithoutExtension(path.Get()).c_str());
    SetControlText(kPresetNameTag, name.c_str());
    mPresetEdited = false;
}

void OmnarControl::ImportPreset(VxString path) {
    mImportPath = path.Get();
    FileProblem problem = FileProblem::None;
    const auto bytes = ReadWholeFile(path.Get(), omnar::kExchangeFileMax, &problem);
    if (!bytes) {
        const std::string text =
            omnar::RefusalText(problem, "preset file", omnar::kExchangeFileMax);
        if (!text.empty()) {
            mPendingMessage = text;
            mMessagePending = true;
        }
        return;
    }
    mUserEditing = false;
    omnar::ParsedExchange parsed = omnar::ParsePresetExchange(*bytes);
    auto& v = parsed.contents.values;
    if (parsed.verdict == omnar::ExchangeVerdict::Ok) {
        // The user slots follow the current preset: A in slot n, B in 128 + n.
        if (v[kSlotHighA] <= 1) {
            v[kSlotHighA] = 0;
            v[kSlotLowA] = mPresetNumber;
        }
        if (v[kSlotHighB] <= 1) {
            v[kSlotHighB] = 1;
            v[kSlotLowB] = mPresetNumber;
        }
        // Then clamped to their range, as every value is when applied.
        for (const int i : {kSlotHighA, kSlotLowA, kSlotHighB, kSlotLowB})
            v[std::size_t(i)] = std::clamp(v[std::size_t(i)], 0, 127);
        if (SlotOf(v, kSlotHighA, kSlotLowA) > kLastUploadSlot ||
            SlotOf(v, kSlotHighB, kSlotLowB) > kLastUploadSlot)
            parsed.verdict = omnar::ExchangeVerdict::UnknownFormat;
    }
    if (parsed.verdict == omnar::ExchangeVerdict::UnknownFormat) {
        mPendingMessage = omnar::kUnknownFileFormat;
        mMessagePending = true;
        mUserEditing = true;
        return;
    }
    if (parsed.verdict == omnar::ExchangeVerdict::UnsupportedVersion) {
        ShowMessage("Unsupported file version. \nPlease update the Omnar Editor \nto the latest "
                    "version.");
        mUserEditing = true;
        return;
    }
    const bool useA = v[kIROnA] >= 1;
    const bool useB = v[kIROnB] >= 1;
    const bool overwrites = mDeviceValues[kIROnA] >= 1 ? useA : mDeviceValues[kIROnB] >= 1 && useB;
    if ((mPresetEdited && !AskOkCancel("Current Preset not saved. \nContinue without saving?")) ||
        (overwrites && !AskOkCancel("This operation will overwrite the currently selected User "
                                    "IR. \nContinue without saving?"))) {
        mUserEditing = true;
        return;
    }
    ApplyImportedValues(v);
    mPresetEdited = true;
    if (vx::ui::ICanvas* canvas = GetGraphics())
        if (auto* number =
                dynamic_cast<vx::ui::ITextControl*>(canvas->FindControlByTag(kPresetNumberTag)))
            number->SetTextColor(vx::ui::IColor(100, 255, 255, 255));
    const omnar::ExchangeContents& c = parsed.contents;
    SetControlText(kPresetNameTag, c.name.c_str());
    const auto takeName = [this](Name& target, const std::string& name, int tag) {
        target.fill(0);
        std::copy_n(name.begin(), std::min(name.size(), target.size() - 1), target.begin());
        SetControlText(tag, target.data());
    };
    if (useA)
        takeName(mUserIRNameA, c.irNameA, kIRNameATag);
    if (useB)
        takeName(mUserIRNameB, c.irNameB, kIRNameBTag);

    // Each image goes up once: two are A's then B's; a single one goes to the
    // position it names, else to A when A is in use.
    const int slotA = SlotOf(v, kSlotHighA, kSlotLowA);
    const int slotB = SlotOf(v, kSlotHighB, kSlotLowB);
    if (c.images.empty()) {
        if (mConnected)
            SendCurrentPreset();
    } else if (c.images.size() == 2) {
        if (useA) {
            mImportIRAPending = UploadImportedImage(c.images[0], slotA);
            mImportIRBPending = mImportIRAPending && useB;
        } else if (useB) {
            mImportIRBPending = UploadImportedImage(c.images[1], slotB);
        }
    } else {
        const auto image = c.images[0];
        const bool toB =
            useB &&
            (!useA || (NameMatches(image, c.rawIRNameB) && !NameMatches(image, c.rawIRNameA)));
        if (toB)
            mImportIRBPending = UploadImportedImage(image, slotB);
        else if (useA)
            mImportIRAPending = UploadImportedImage(image, slotA);
    }
    mUserEditing = true;
}

void OmnarControl::ApplyImportedValues(const std::array<int, 74>& values) {
    for (int i = 0; i < int(values.size()); ++i) {
        const vx::IParam* param = GetParam(i);
        if (!param)
            continue;
        const int value = std::clamp(values[std::size_t(i)], int(param->Min()), int(param->Max()));
        mApplyingValues = true;
        mUserEditing = false;
        mDeviceValues[std::size_t(i)] = value;
        ApplyByte(i, value, false);
        mUserEditing = true;
        mApplyingValues = false;
    }
}

// True when the upload was armed; the slot file is written either way.
bool OmnarControl::UploadImportedImage(std::span<const uint8_t> image, int slot) {
    if (image.size() != omnar::kIRImageBytes)
        return false;
    const omnar::IRImageContents contents = omnar::ParseIRImage(
        std::span<const uint8_t, omnar::kIRImageBytes>(image.data(), omnar::kIRImageBytes));
    mIRGain = contents.gain;
    std::copy(contents.samples.begin(), contents.samples.end(), mIRSamples.begin());
    mIRUploadSlot = slot;
    Name name{};
    std::copy(contents.name.begin(), contents.name.end(), name.begin());
    NormalizeAndPackIR(name, slot, true);
    return mIRUploadSending;
}

bool OmnarControl::AskOkCancel(const char* text) {
    vx::ui::ICanvas* canvas = GetGraphics();
    return !canvas || canvas->RunMessageBox(text, "", vx::ui::EMsgBoxButtons::OKCancel) !=
                          vx::ui::EMsgBoxResult::Cancel;
}
