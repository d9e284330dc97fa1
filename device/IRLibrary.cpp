#include "controls/IFreqResponseGraph.h"
#include "controls/ITextControl.h"
#include "device/FileReader.h"
#include "device/FileWriter.h"
#include "device/IRSlotImage.h"
#include "device/OmnarControl.h"
#include "device/Packing.h"
#include "device/WavReader.h"
#include "platform/sys/Folders.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFirstFactoryIR = 384;
constexpr int kLastUserIR = 383;
constexpr int kFactoryIRCount = 8;
constexpr int kIRPage = 4;
constexpr int kUserIRLabelA = 74;
constexpr int kUserIRLabelB = 75;
constexpr int kFactoryLabelFirst = 68;
constexpr int kUserIRParamA = 40;
constexpr int kUserIRParamB = 41;
constexpr int kIRNumberHighB = 55;
constexpr int kIRNumberLowB = 56;

constexpr std::array<const char*, kFactoryIRCount> kFactoryWavNames = {
    "01-Quorbel",     "02-Hinglow",   "03-KL 8x10",  "04-Dunmo 2x15",
    "05-Ovaten 2x15", "06-Brel 4x10", "07-Tirn 12L", "08-Isle V30"};

std::string SlotFile(const std::string& folder, int fileIndex) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", fileIndex + 1);
    return folder + name;
}

std::string UserIRPath(int n) {
    return SlotFile(sys::UserIRFolder(), n);
}

std::string FactoryIRPath(int n) {
    return SlotFile(sys::FactoryIRFolder(), n);
}

// The slot file of an IR number: user IRs by number, factory IRs by their low 7 bits.
std::string IRNumberPath(int n) {
    if (n < 0)
        return {};
    return n <= kLastUserIR ? UserIRPath(n) : FactoryIRPath(n & 0x7F);
}

// A whole slot image; empty unless the file is exactly one image long.
std::optional<omnar::IRImageBytes> ReadIRImage(const std::string& path) {
    FileReader reader;
    reader.Open(path.c_str());
    if (reader.Descriptor() < 0 || reader.GetSize() != int64_t(omnar::kIRImageBytes))
        return std::nullopt;
    omnar::IRImageBytes image;
    if (reader.Read(image.data(), int32_t(image.size())) != int32_t(image.size()))
        return std::nullopt;
    return image;
}

std::string EmptySlotName(int n) {
    char text[32];
    std::snprintf(text, sizeof text, "Empty Slot %d", n % 32 + 1);
    return text;
}

// The displayed name of user IR n, or its empty-slot text.
std::string UserIRName(int n) {
    const auto image = ReadIRImage(UserIRPath(n));
    if (!image)
        return EmptySlotName(n);
    return omnar::TrimmedName(std::span(
        reinterpret_cast<const char*>(image->data()) + omnar::kIRNameOffset, omnar::kIRNameBytes));
}

// Copies a file under a temporary name and links it into place, so that a
// copy cut short never poses as the file and an existing one is never replaced.
void CopyIfMissing(const std::string& source, const std::string& target) {
    FileReader reader;
    reader.Open(source.c_str());
    if (reader.Descriptor() < 0)
        return;
    sys::StagedFile staged;
    if (!staged.Create(target, 0644))
        return;
    std::vector<uint8_t> block(65536);
    for (;;) {
        const int32_t got = reader.Read(block.data(), int32_t(block.size()));
        if (got <= 0)
            break;
        if (write(staged.Descriptor(), block.data(), std::size_t(got)) != got)
            return;
    }
    staged.Commit(sys::StagedFile::kKeepExisting);
}

} // namespace

void OmnarControl::SetControlText(int tag, const char* text) {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    if (auto* control = dynamic_cast<vx::ui::ITextControl*>(canvas->FindControlByTag(tag)))
        control->SetString(text);
}

void OmnarControl::InstallFactoryIRs() {
    InstallFactoryIRs(sys::ResourceFolder());
}

void OmnarControl::InstallFactoryIRs(const std::string& resourceFolder) {
    const std::string folder = sys::FactoryIRFolder();
    for (const char* name : kFactoryWavNames) {
        const std::string target = folder + name + ".wav";
        if (access(target.c_str(), F_OK) != 0)
            CopyIfMissing(resourceFolder + "irs/" + name + ".wav", target);
    }
}

bool OmnarControl::UserIRFileExists(int n) {
    return ReadIRImage(UserIRPath(n)).has_value();
}

bool OmnarControl::FactoryIRFileExists(int n) {
    return ReadIRImage(FactoryIRPath(n)).has_value();
}

bool OmnarControl::LoadIRFile(const std::string& path) {
    const auto image = ReadIRImage(path);
    if (!image)
        return false;
    const omnar::IRImageContents contents = omnar::ParseIRImage(*image);
    mIRGain = contents.gain;
    std::copy(contents.samples.begin(), contents.samples.end(), mIRSamples.begin());
    return true;
}

void OmnarControl::LoadUserIR(int n) {
    LoadIRFile(UserIRPath(n));
}

void OmnarControl::LoadFactoryIR(int n) {
    LoadIRFile(FactoryIRPath(n));
}

void OmnarControl::LoadFactoryIRName(int n) {
    if (n < 0 || n >= kFactoryIRCount)
        return;
    if (const auto image = ReadIRImage(FactoryIRPath(n)))
        mFactoryIRNames[std::size_t(n) + 1] = omnar::TrimmedName(
            std::span(reinterpret_cast<const char*>(image->data()) + omnar::kIRNameOffset,
                      omnar::kIRNameBytes));
}

void OmnarControl::BuildIRNameList(int n) {
    if (n < 0 || n >= kIRNameCount)
        return;
    const std::string name = UserIRName(n);
    Name& entry = mIRNames[std::size_t(n)];
    entry.fill(0);
    std::copy_n(name.begin(), std::min(name.size(), entry.size() - 1), entry.begin());
}

void OmnarControl::ShowReceivedIRName(int n) {
    if (n < 0 || n >= kIRNameCount)
        return;
    BuildIRNameList(n);
    if (ParamInt(kUserIRParamA) > 0 && mUserIRNumberA == n)
        SetControlText(kUserIRLabelA, mIRNames[std::size_t(n)].data());
    if (ParamInt(kUserIRParamB) > 0 && mUserIRNumberB == n)
        SetControlText(kUserIRLabelB, mIRNames[std::size_t(n)].data());
}

void OmnarControl::ShowUserIRName(int n) {
    SetControlText(n % 2 == 0 ? kUserIRLabelA : kUserIRLabelB, UserIRName(n).c_str());
}

void OmnarControl::LoadIRPosition(int position) {
    if (position < 1 || position > 8)
        return;
    if (position >= 7) {
        const bool userA = position == 7;
        if (ParamInt(userA ? kUserIRParamA : kUserIRParamB) > 0) {
            const int number = userA ? mUserIRNumberA : mUserIRNumberB;
            if (UserIRFileExists(number))
                LoadUserIR(number);
            return;
        }
    }
    const int factory = position - 1;
    if (FactoryIRFileExists(factory))
        LoadFactoryIR(factory);
    else
        ReadWavFile(VxString(
            (sys::FactoryIRFolder() + kFactoryWavNames[std::size_t(factory)] + ".wav").c_str()));
}

void OmnarControl::SelectIRSlot(int value) {
    const auto setImpulse = [this] {
        std::fill(mIRSamples.begin(), mIRSamples.end(), 0.0);
        mIRSamples[0] = 1.0;
    };
    const float p = std::floor(float(value) / 127.f * 80.f) / 10.f;
    setImpulse();
    if (p > 0.f) {
        const int c = int(std::floor(p));
        const int d = int(std::ceil(p));
        LoadIRPosition(c);
        if (d != c) {
            const std::vector<double> lower = mIRSamples;
            setImpulse();
            LoadIRPosition(d);
            for (std::size_t i = 0; i < mIRSamples.size(); ++i)
                mIRSamples[i] = lower[i] * (double(d) - p) + mIRSamples[i] * (p - double(c));
        }
    }
    if (!GetGraphics())
        return;
    if (mCurrentPage != kIRPage && !mApplyingValues)
        ShowIR();
    if (mIRDisplay)
        mIRDisplay->ProcessBlock(mIRSamples.data());
}

bool OmnarControl::ReadWavFile(const VxString& path) {
    if (path.GetLength() == 0)
        return false;
    FileReader reader;
    reader.Open(path.Get());
    if (reader.Descriptor() < 0)
        return false;
    return omnar::ReadWav(reader, mIRSampleRate, mIRSamples).has_value();
}

void OmnarControl::LoadWavIR() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (canvas) {
        VxString fileName(mLastWavPath.c_str());
        VxString folder;
        canvas->RunFileDialog(fileName, folder, vx::ui::EFileAction::Open, "wav");
        if (fileName.GetLength() > 0) {
            mLastWavPath = fileName.Get();
            if (ReadWavFile(fileName)) {
                StoreWavIR(mIRUploadSlot);
            } else {
                canvas->RunMessageBox("Unknown file format.", "ERROR!", vx::ui::EMsgBoxButtons::OK);
            }
        }
    }
    mIRImportBusy = false;
}

void OmnarControl::StoreWavIR(int irNumber) {
    Name name{};
    const omnar::IRNameField field = omnar::PaddedName(omnar::IRNameFromPath(mLastWavPath));
    std::copy(field.begin(), field.end(), name.begin());
    NormalizeAndPackIR(name, irNumber, true);
}

void OmnarControl::NormalizeAndPackIR(Name& name, int irNumber, bool upload) {
    mIRGain = omnar::NormalizingGain(mIRSamples);
    omnar::IRNameField field;
    std::copy_n(name.begin(), field.size(), field.begin());
    const omnar::IRImageBytes image = omnar::BuildIRImage(mIRSamples, field, mIRGain);
    // An image meant for the pedal waits for its acceptance: a library file of
    // an IR the pedal refused or never got would keep it from being fetched.
    mStagedIRImage.clear();
    mStagedIRNumber = -1;
    if (!upload) {
        const std::string path = IRNumberPath(irNumber);
        if (const int error = WriteLibraryFile(path, image))
            ReportWriteFailure(path, error);
    }

    // A prepared or running firmware transfer owns the transfer buffer.
    if (upload && !mFirmwarePrepared && !mFirmwareSending) {
        const std::vector<uint8_t> packed = omnar::Pack8To7(image);
        std::fill(mTransferBuffer.begin(), mTransferBuffer.end(), 0);
        std::copy(packed.begin(), packed.end(), mTransferBuffer.begin());
        mTransferSize = mTransferRemaining = int32_t(packed.size());
        mTransferPos = 0;
        const auto check = omnar::TransferCheck(packed);
        mTransferCheckHi = check[0];
        mTransferCheckLo = check[1];
        if (mConnected) {
            mIRUploadSending = true;
            mStagedIRImage.assign(image.begin(), image.end());
            mStagedIRNumber = irNumber;
        }
    }

    name[name.size() - 1] = 0;
    const std::string trimmed = omnar::TrimmedName(std::span(name.data(), omnar::kIRNameBytes));
    std::fill(name.begin() + std::ptrdiff_t(trimmed.size()), name.end(), 0);

    if ((mUserIRFocusA || mUserIRFocusB) && mIRUploadSlot >= 0 && mIRUploadSlot < kIRNameCount) {
        mIRNames[std::size_t(mIRUploadSlot)] = name;
        SetControlText(mUserIRFocusA ? kUserIRLabelA : kUserIRLabelB, name.data());
        if (vx::ui::ITextControl* row = mIRListRows[std::size_t(mIRUploadSlot % 32)])
            row->SetString(name.data());
    }
    if (irNumber >= kFirstFactoryIR && (irNumber & 0x7F) < kFactoryIRCount)
        SetControlText(kFactoryLabelFirst + (irNumber & 0x7F), name.data());
}

bool OmnarControl::ReceivedIRIsWhole() const {
    const unsigned check = unsigned(mIRReceive.CheckHigh()) << 7 | mIRReceive.CheckLow();
    return mIRReceive.Image().size() == omnar::kIRImageBytes &&
           mIRReceive.Expected() == omnar::kIRImageBytes && !mIRReceive.Overflowed() &&
           mIRReceive.RunningSum() == check;
}

bool OmnarControl::SaveReceivedIR(int irNumber) {
    if (!ReceivedIRIsWhole())
        return false;
    const auto received = mIRReceive.Image();
    const std::string path = IRNumberPath(irNumber);
    if (const int error = WriteLibraryFile(path, received)) {
        ReportWriteFailure(path, error);
        return false;
    }
    if (irNumber >= kFirstFactoryIR)
        LoadFactoryIRName(irNumber & 0x7F);
    return true;
}

void OmnarControl::CommitStagedIR() {
    if (mStagedIRImage.empty())
        return;
    const int number = mStagedIRNumber;
    const std::string path = IRNumberPath(number);
    const int error = WriteLibraryFile(path, mStagedIRImage);
    mStagedIRImage.clear();
    mStagedIRNumber = -1;
    if (error != 0)
        ReportWriteFailure(path, error);
    else if (number >= kFirstFactoryIR)
        LoadFactoryIRName(number & 0x7F);
}

void OmnarControl::ReadPresetFileIR(const VxString& path) {
    FileReader reader;
    reader.Open(path.Get());
    if (reader.Descriptor() < 0)
        return;
    const int64_t size = reader.GetSize();
    const int64_t offset = size == 2698 ? 262 : (size == 5134 ? 2698 : -1);
    omnar::IRImageBytes image;
    if (offset < 0 || reader.SetPosition(offset) != 0 ||
        reader.Read(image.data(), int32_t(image.size())) != int32_t(image.size()))
        return;
    const omnar::IRImageContents contents = omnar::ParseIRImage(image);
    mIRGain = contents.gain;
    std::copy(contents.samples.begin(), contents.samples.end(), mIRSamples.begin());
    mIRUploadSlot = ParamInt(kIRNumberHighB) * 128 + ParamInt(kIRNumberLowB);
    Name name{};
    std::copy(contents.name.begin(), contents.name.end(), name.begin());
    NormalizeAndPackIR(name, mIRUploadSlot, true);
}
