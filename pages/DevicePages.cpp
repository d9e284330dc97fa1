// The device status row at the top of the panel, the firmware update page
// and the firmware transfer display. The standalone notice of the main panel
// is built between the status row and the firmware page.

#include "controls/ITextControl.h"
#include "device/OmnarControl.h"
#include "pages/FirmwareHelp.h"
#include "pages/GroupOps.h"
#include "pages/PageBuilder.h"
#include "pages/PageColumns.h"
#include "pages/PageNames.h"
#include "platform/sys/Open.h"

using namespace omnar::pages;

namespace {

constexpr vx::ui::IColor kTransparent{0, 0, 0, 0};
constexpr vx::ui::IColor kWhite{255, 255, 255, 255};
constexpr vx::ui::IColor kLinkActive{255, 116, 116, 116};

} // namespace

namespace omnar::pages {

std::string FirmwareHelpAddress() {
    const std::string path = OmnarControl::ManualPath();
    return path.empty() ? "" : sys::FileUri(path);
}

} // namespace omnar::pages

void OmnarControl::LayoutDeviceStatusPages(PageBuilder& builder) {
    const PageStyles& s = builder.styles;
    const vx::ui::IText status = RobotoText(22, {255, 0, 0, 0}, 0, 1);
    builder.Text({660, 5, 1060, 29}, "", status, tag::kStatusDevice, group::kDevice);
    if (auto* line =
            builder.Text({660, 27, 1060, 51}, "", status, tag::kStatusVersion, group::kDevice))
        line->SetString(SearchingText());
    builder.Text({660, 49, 1060, 73}, "", status, tag::kStatusSerial, group::kDevice);
    builder.Button({540, 18, 655, 63}, "RECONNECT", s.pageButton, tag::kNone, group::kDevice,
                   [this] { OnReconnectButton(); });

    LayoutNotice(builder);

    builder.HiddenImage(0, 0, "fwbg.png", tag::kFirmwareBackground, group::kFirmwareBackground);
    builder.Button({1000, 650, 1200, 715}, "UPDATE FIRMWARE", s.pageButton, tag::kNone,
                   group::kFirmwareUpdate, [this] { OnUpdateFirmwareButton(); });
    auto* help = new vx::ui::IURLControl(
        {748, 346, 948, 376}, kFirmwareHelpText, FirmwareHelpAddress().c_str(),
        RobotoText(25, kWhite, 1, 0), kTransparent, kLinkActive, kLinkActive);
    help->SetOpenFailedAction([this] { ReportManualNotOpened(); });
    builder.Attach(help, tag::kNone, group::kFirmwareUpdate);
    builder.Button({1508, 310, 1563, 350}, "X", WithLabelSize(s.pageButton, 30), tag::kNone,
                   group::kFirmwareUpdate, [this] { OnCloseFirmwarePage(); });
    HideGroup(builder.canvas, group::kFirmwareBackground, true);
    HideGroup(builder.canvas, group::kFirmwareUpdate, true);

    // Shows the fraction sent; bound to no parameter.
    AddEffectKnob(builder, {1010, 710, 1185, 885}, -1, "PERCENT", group::kFirmware,
                  tag::kFirmwareKnob);
    builder.Text({1010, 705, 1185, 880}, "0 %", RobotoText(50, kWhite, 1, 1), tag::kFirmwareText,
                 group::kFirmware);
    HideGroup(builder.canvas, group::kFirmware, true);
}
