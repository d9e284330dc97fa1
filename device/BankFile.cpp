#include "device/BankFormat.h"
#include "device/FileReader.h"
#include "device/FileRefusal.h"
#include "device/FileWriter.h"
#include "device/OmnarControl.h"
#include "toolkit/ICanvas.h"

#include <algorithm>

namespace {

constexpr const char* kBankExtension = "z3b";
constexpr const char* kBankDefaultName = "Omnar_Presets_and_IRs";
constexpr int kProgressKnob = 57;
constexpr int kProgressText = 58;

} // namespace

bool OmnarControl::WriteBankFile() {
    FileWriter writer;
    writer.Open(mBankExportPath.Get());
    if (writer.Descriptor() < 0)
        return false;
    const int32_t length = std::clamp(mBankLength, 0, kBankBufferSize);
    const bool accepted = writer.Write(mBankBuffer.data(), length) == length;
    return writer.Close() && accepted;
}

bool OmnarControl::ChooseBankExportPath() {
    mBankExportPath.SetBounded(mBankPath.empty() ? kBankDefaultName : mBankPath.c_str());
    if (vx::ui::ICanvas* canvas = GetGraphics()) {
        VxString folder;
        canvas->RunFileDialog(mBankExportPath, folder, vx::ui::EFileAction::Save, kBankExtension);
    }
    if (mBankExportPath.GetLength() == 0)
        return false;
    mBankPath = mBankExportPath.Get();
    return true;
}

void OmnarControl::LoadImportedBank() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas ||
        !AskOkCancel(
            "This operation will overwrite the current Presets!\nAre you sure to continue?"))
        return;
    VxString path(mBankPath.c_str());
    VxString folder;
    canvas->RunFileDialog(path, folder, vx::ui::EFileAction::Open, kBankExtension);
    if (path.GetLength() == 0)
        return;
    mBankPath = path.Get();
    // Read aside first: a refused file leaves the last stream in place.
    FileProblem problem = FileProblem::None;
    const auto bank = ReadWholeFile(path.Get(), kBankBufferSize, &problem);
    if (!bank) {
        if (const std::string text = omnar::RefusalText(problem, "bank file", kBankBufferSize);
            !text.empty())
            ShowMessage(text.c_str());
        return;
    }
    omnar::BankProblem bankProblem = omnar::BankProblem::None;
    const auto count = omnar::CountBankMessages(*bank, &bankProblem);
    if (!count) {
        ShowMessage(bankProblem == omnar::BankProblem::DamagedIR
                        ? "Damaged impulse response in the bank file."
                        : omnar::kUnknownFileFormat);
        return;
    }
    // A restore armed without a device would wait for it forever.
    if (!mConnected) {
        ShowMessage("Communication error!");
        return;
    }
    std::copy(bank->begin(), bank->end(), mBankBuffer.begin());
    mBankLength = int32_t(bank->size());
    mRestoreIndex = 0;
    mRestoreCount = *count;
    mRestoreActive = mRestoreReady = mBulkBeginPending = true;
    SetProgress(kProgressKnob, kProgressText, 0.0);
    ShowGroup("progresscontrols", true);
}
