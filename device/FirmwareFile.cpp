#include "device/BankFormat.h"
#include "device/DeviceMessage.h"
#include "device/FileReader.h"
#include "device/FileRefusal.h"
#include "device/OmnarControl.h"
#include "device/Packing.h"
#include "device/TransferMessages.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <optional>

namespace {

// The older path's block image: 64-byte source lines packed into 74 bytes.
constexpr int kBlockSourceLine = 64;
constexpr int kBlockPackedLine = 74;
constexpr int kBlockBytes = 1024;
constexpr int kLinesPerBlock = kBlockBytes / kBlockSourceLine;
// Files above this many bytes need more lines than the block buffer holds.
constexpr int64_t kBlockImageMax = 56320;
constexpr uint8_t kBlockEntryCode[] = {0x00, 0x00, 0x00, 0x00};

} // namespace

void OmnarControl::PrepareFirmwareTransfer(const VxString& path) {
    FileProblem problem = FileProblem::None;
    const auto file = ReadWholeFile(path.Get(), int64_t(omnar::kFirmwareFileMax), &problem);
    const auto packed = file ? omnar::PackFirmwareFile(*file) : std::nullopt;
    if (!packed || packed->size() > mTransferBuffer.size()) {
        // An empty or too short image is no firmware; a missing file says nothing.
        if (file)
            problem = FileProblem::NotAFile;
        if (const std::string text =
                omnar::RefusalText(problem, "firmware file", omnar::kFirmwareFileMax);
            !text.empty())
            ShowMessage(text.c_str());
        return;
    }
    std::fill(mTransferBuffer.begin(), mTransferBuffer.end(), 0);
    std::copy(packed->begin(), packed->end(), mTransferBuffer.begin());
    mTransferSize = mTransferRemaining = int32_t(packed->size());
    mTransferPos = 0;
    const auto check = omnar::TransferCheck(*packed);
    mTransferCheckHi = check[0];
    mTransferCheckLo = check[1];
    // An IR upload now leaves the buffer alone until the loader answers.
    mIRUploadSending = false;
    mFirmwarePrepared = true;
    Send(omnar::BuildFirmwareEnter());
    Await(Awaited::LoaderReady);
}

void OmnarControl::FirmwareUpdate(VxString path) {
    std::fill(mFirmwareBlockBuffer.begin(), mFirmwareBlockBuffer.end(), 0);
    const auto file = ReadWholeFile(path.Get(), kBlockImageMax);
    if (!file)
        return;
    const int n = int(file->size());
    const int blocks = (n + kBlockBytes - 1) / kBlockBytes;
    mFirmwareLineCount = kLinesPerBlock * blocks;
    mFirmwareBlockCount = 4 * blocks + 1;
    for (int line = 0; line < mFirmwareLineCount; ++line) {
        const auto start = mFirmwareBlockBuffer.begin() + line * kBlockPackedLine;
        std::fill(start, start + kBlockPackedLine - 1, 0x7F);
        start[kBlockPackedLine - 1] = 0x40;
    }
    for (int at = 0, line = 0; at < n; at += kBlockSourceLine, ++line) {
        const int count = std::min(kBlockSourceLine, n - at);
        std::vector<uint8_t> packed =
            omnar::Pack8To7(std::span(file->data() + at, std::size_t(count)));
        // The packer's closing byte belongs to no group of a whole line.
        packed.resize(std::size_t((count * 8 + 6) / 7));
        std::copy(packed.begin(), packed.end(),
                  mFirmwareBlockBuffer.begin() + line * kBlockPackedLine);
    }
    const uint8_t entry[] = {0xF0,
                             0x00,
                             0x21,
                             0x11,
                             0x01,
                             0x70,
                             kBlockEntryCode[0],
                             kBlockEntryCode[1],
                             kBlockEntryCode[2],
                             kBlockEntryCode[3],
                             uint8_t(blocks & 0x7F),
                             0xF7};
    SendSysEx({0, int(sizeof entry), entry});
    mFirmwareBlocksReady = true;
    mFirmwareBlockIndex = 0;
    ShowGroup("firmwarecontrols", true);
    EnableGroup("fwupdatecontrols", false);
}
