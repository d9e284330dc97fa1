#include "device/MessageBuilders.h"
#include "device/OmnarControl.h"
#include "platform/sys/Folders.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IPanelControl.h"
#include "toolkit/ResourcePath.h"
#include "winlayer/PrivateProfile.h"

#include <charconv>
#include <filesystem>

namespace {

constexpr int kSettingsGlobals = 0;
constexpr const char* kRebuildQuestion =
    "Rebuild Local Library deletes every preset and impulse response file of the local "
    "library; the pedal's are then fetched again. Continue?";

} // namespace

void OmnarControl::OnHostRequestingMessage(int32_t command) {
    switch (command) {
    case 1:
        // The loader stays reachable with no device found.
        mConnected = true;
        mPollEnabled = false;
        ShowGroup("fwbgcontrols", true);
        ShowGroup("fwupdatecontrols", true);
        EnableGroup("fwupdatecontrols", true);
        EnableGroup("maincontrols", false);
        break;
    case 2:
        mPollEnabled = false;
        ShowGroup("globalsettingscontrols", true);
        SendSettingsRequest(kSettingsGlobals);
        break;
    case 3:
        AskRebuildLibrary();
        break;
    case 5:
        LoadImportedBank();
        break;
    case 6:
        if (!ChooseBankExportPath())
            break;
        mBackupActive = mBackupReady = true;
        mBankLength = 0;
        mBackupPresetIndex = mBackupIRIndex = 0;
        mBackupIRWanted.fill(false);
        break;
    default:
        break;
    }
}

// Deleting the library cannot be undone: the user agrees first. With the
// pedal connected its checksums are asked for again, so the sync refills it.
void OmnarControl::AskRebuildLibrary() {
    vx::ui::ICanvas* canvas = GetGraphics();
    if (!canvas)
        return;
    canvas->RunMessageBox(kRebuildQuestion, "Rebuild Local Library",
                          vx::ui::EMsgBoxButtons::OKCancel, [this](vx::ui::EMsgBoxResult answer) {
                              if (answer != vx::ui::EMsgBoxResult::OK)
                                  return;
                              ClearLocalLibrary();
                              ListPresetFolder();
                              RefreshPresetList();
                              ShowMessage("Finished successfully!");
                              RefillLibrary();
                          });
}

// A transfer under way keeps the pedal busy; RECONNECT refills the library then.
void OmnarControl::RefillLibrary() {
    const bool busy = mSlotSyncActive || mBackupActive || mRestoreActive || mStreamActive ||
                      mIRUploadSending || mFirmwarePrepared || mFirmwareSending ||
                      mAwaited != Awaited::None;
    if (!mConnected || busy)
        return;
    SendSettingsRequest(omnar::kSettingsChecksums);
    Await(Awaited::Connect);
}

bool OmnarControl::OnHostRequestingAboutBox() {
    if (!GetGraphics())
        return false;
    ShowGroup("aboutcontrols", true);
    return true;
}

std::string OmnarControl::ManualPath() {
    VxString path;
    if (!vx::FindResourcePath("Vorlix_ZQTR_OM_XN1.pdf", "pdf", path))
        return "";
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path.Get(), error);
    return error ? std::string(path.Get()) : absolute.lexically_normal().string();
}

// A missing manual is no error the user needs to hear about; a manual that
// nothing on this machine can show is: the box says where to find it.
bool OmnarControl::OnHostRequestingManual() {
    const std::string path = ManualPath();
    if (path.empty() || !mOpenDocument)
        return true;
    if (!mOpenDocument(path))
        ReportManualNotOpened();
    return true;
}

void OmnarControl::ReportManualNotOpened() {
    if (vx::ui::ICanvas* canvas = GetGraphics())
        canvas->RunMessageBox(
            ("No program to show PDF files was found. The manual is here:\n" + ManualPath())
                .c_str(),
            "Manual", vx::ui::EMsgBoxButtons::OK);
}

void OmnarControl::OnEditorClose() {
    ForgetPanelControls();
    vx::ui::ICanvas* canvas = GetGraphics();
    if (canvas && canvas->NControls() > 0)
        if (const auto* panel = dynamic_cast<const vx::ui::IPanelControl*>(canvas->GetControl(0)))
            mBackgroundPattern = panel->Fill();
    if (mConnected)
        SendEditorClosed();
    const float scale = canvas ? canvas->GetDrawScale() : StoredScale();
    char text[32];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text - 1, double(scale), std::chars_format::fixed, 6);
    *end = 0;
    const std::string settings = sys::SettingsFilePath();
    WritePrivateProfileString("GUI", "scale", error == std::errc() ? text : "1.000000",
                              settings.c_str());
}
