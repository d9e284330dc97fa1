#include "winlayer/controls/BuildState.h"

#include "platform/ak/Font.h"
#include "winlayer/Mnemonics.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <cstdint>

namespace {

constexpr int kHiddenBit = int(0x80000000u);
constexpr double kSmallFontBelow = 1;
constexpr double kOwnFontFrom = 1.81;
constexpr std::uintptr_t kResourceIdLimit = 0x10000;

struct BuildState {
    winlayer::ControlBuildParms parms;
    HWND parent = nullptr;
};

BuildState& State() {
    static BuildState state;
    return state;
}

} // namespace

namespace winlayer {

ControlBuildParms& BuildParms() {
    return State().parms;
}

ak::View* BuildParent() {
    return FindView(State().parent);
}

void ApplyScaleFont(ak::Control& control) {
    const double scale = BuildParms().scaleX;
    if (scale < kOwnFontFrom)
        control.SetFont(ak::Font::System(scale < kSmallFontBelow ? 8 : 10));
}

HWND AddToParent(ak::View& parent, ak::View& control, int style) {
    if (style & kHiddenBit)
        control.SetHidden(true);
    parent.AddSubview(&control);
    return HandleOf(&control);
}

void MeasureShift(const ak::View& control) {
    MeasureForAutoShift(BuildParms(), control.Frame().MaxX());
}

std::string CaptionText(const char* caption) {
    if (reinterpret_cast<std::uintptr_t>(caption) < kResourceIdLimit)
        return "ICONTEMP";
    return StripMnemonics(caption);
}

} // namespace winlayer

void WISP_MakeSetCurParms(HWND parent, int autoShift, int sizeToFit, float xScale, float yScale,
                          float xOffset, float yOffset) {
    if (parent)
        winlayer::ForgetMnemonicCaptions();
    BuildState& state = State();
    state.parms = winlayer::FreshBuildParms(xScale, yScale, xOffset, yOffset, autoShift == 1,
                                            static_cast<unsigned char>(sizeToFit));
    ak::View* view = winlayer::FindView(parent);
    state.parent = view ? winlayer::HandleOf(view) : nullptr;
    if (view) {
        state.parms.parentHeight = float(view->Bounds().size.height);
        if (state.parms.scaleY > 0 && view->IsFlipped())
            state.parms.scaleY = -state.parms.scaleY;
    }
}
