// The panel is built once per graphics context, in one pass: shared
// controls, background, fonts and styles, then the pages in drawing order.

#include "device/OmnarControl.h"
#include "pages/PageBuilder.h"
#include "pages/PageNames.h"
#include "pages/PanelScale.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/ICanvas.h"

using namespace omnar::pages;

namespace {

struct PanelFont {
    const char* id;
    const char* file;
};
constexpr PanelFont kPanelFonts[] = {
    {"Roboto-Regular", "Roboto-Regular.ttf"}, {"ForkAwesome", "forkawesome-webfont.ttf"},
    {"Fontaudio", "fontaudio.ttf"},           {"FontLCD", "ni7seg.ttf"},
    {"Font7Seg", "MyBlueRoom.ttf"},           {"Fontknow", "Knowledge-Bold.ttf"},
};

constexpr vx::ui::IColor kResizerColor{10, 0, 0, 0};
constexpr vx::ui::IColor kResizerActiveColor{255, 0, 0, 0};
constexpr float kResizerSize = 20.f;

// Centred across the panel whatever the image's width.
float BackgroundX(const vx::ui::ICanvas& canvas, const vx::ui::IBitmapHandle& bitmap) {
    return float(canvas.Width() - bitmap.W) * 0.5f;
}

} // namespace

void OmnarControl::LayoutBackground(PageBuilder& builder) {
    const vx::ui::IBitmapHandle background = builder.Bitmap("background.png");
    const float x = BackgroundX(builder.canvas, background);
    builder.Attach(new vx::ui::IBitmapControl(x, 0, background, -1, 0), tag::kNone,
                   group::kBackground);
    // Shown while knob bank B is active.
    vx::ui::IControl* red =
        builder.HiddenImage(x, 0, "backgroundred.png", tag::kRedBackground, group::kBackground);
    if (red)
        red->Hide(true);
}

void OmnarControl::BuildPanel(vx::ui::ICanvas& canvas) {
    mCurrentPage = 0; // a fresh panel shows no effect page yet
    canvas.SetMouseOverEnabled(false);
    canvas.SetTooltipsEnabled(true);
    canvas.AddCornerResizer(kResizerSize, 0, true, kResizerColor, kResizerActiveColor,
                            kResizerActiveColor);
    canvas.AddBackgroundPanel(mBackgroundPattern);
    // The panel's own size limits, 640 x 400 to 5760 x 3600, not the toolkit's.
    canvas.SetScaleLimits(kMinPanelScale, kMaxPanelScale);

    const PageStyles styles = PageStyles::Make();
    PageBuilder builder(canvas, styles);
    LayoutBackground(builder);
    canvas.AddTextEntryControl();
    canvas.AddPopupMenuControl(vx::ui::kDefaultLabelText, vx::ui::IRECT());
    canvas.AddBubbleControl(vx::ui::kDefaultText);

    for (const PanelFont& font : kPanelFonts)
        canvas.LoadFontFromFile(font.id, font.file); // a missing font leaves the default face
    // The IR page's slider and knobs take these from the caches.
    builder.Svg("vector-knob.svg");
    builder.Svg("micbg.svg");
    builder.Bitmap("mic.png");
    builder.Bitmap("micbg.png");
    builder.Svg("vector-knob.svg");

    LayoutFrontPanel(builder);
    LayoutEffectPages(builder);
    LayoutPageTitles(builder);
    LayoutMainControls(builder);
    LayoutIRPage(builder);
    LayoutDeviceStatusPages(builder);
    LayoutCustomIRList(builder);
    LayoutGlobalSettingsPage(builder);
    LayoutMidiPages(builder);
    LayoutAboutAndProgressPages(builder);
}

// The controls go with their context; replies that arrive while the panel is
// closed must find null, not freed controls.
void OmnarControl::ForgetPanelControls() {
    mPresetRows.fill(nullptr);
    mIRListRows.fill(nullptr);
    mIRDisplay = nullptr;
    mPresetListSelector = nullptr;
    mDynamicsGraph = nullptr;
    mIRListSelect = nullptr;
    mCustomIRSelectLeft = nullptr;
    mCustomIRSelectRight = nullptr;
    mLayoutBuilt = false;
}
