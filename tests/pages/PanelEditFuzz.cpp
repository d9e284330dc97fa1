#include "controls/IInvisibleSelectControl.h"
#include "platform/sys/Log.h"
#include "tests/device/ResettableEditor.h"
#include "tests/pages/PagesFixture.h"
#include "tests/support/MemoryTempFolder.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

// Edits into a connected editor on the real layout, four bytes a step:
// parameter (or footswitch or radio), value, gesture and area, modifiers.
// Gestures go through the canvas's input dispatch as the view delivers them
// (press, release, drag, double click, wheel, key down and up), at a point in
// one of the list areas or in any control of the panel. Nothing may crash,
// no message may carry a data byte of 80h or more, and the preset list never
// points past its 128 rows.
//
// The editor and its panel are made once and put back after every input,
// the list areas' last gesture too (the editor reads it on a change of the
// list's parameter, gesture or not).
namespace {

using Area = vx::ui::IInvisibleSelectControl3;

constexpr int kParams = 151;
constexpr int kFootswitches = 5;
constexpr int kRadios = 17;

// One input at a point of the control's area, through the canvas as the view
// hands it over: the point's height from `where` (a little past the bottom
// edge too), its width from the modifiers' high bits.
void Deliver(vx::ui::ICanvas& canvas, const vx::ui::IControl& control, int kind, std::uint8_t where,
             std::uint8_t modifiers) {
    const vx::ui::IRECT& r = control.GetRECT();
    const float x = r.L + float(modifiers >> 4) / 15.f * r.W();
    const float y = r.T + float(where) / 255.f * r.H() * 1.05f;
    vx::ui::IMouseMod mod;
    mod.L = true;
    mod.S = modifiers & 1;
    mod.C = modifiers & 2;
    mod.A = modifiers & 8;
    const float direction = modifiers & 4 ? 1.f : -1.f;
    vx::IKeyPress key;
    key.VK = where;
    key.S = mod.S;
    key.C = mod.C;
    switch (kind) {
    case 0:
        canvas.OnMouseDown({{x, y, 0.f, 0.f, mod}});
        break;
    case 1:
        canvas.OnMouseUp({{x, y, 0.f, 0.f, mod}});
        break;
    case 2:
        canvas.OnMouseDrag({{x, y, 0.f, direction, mod}});
        break;
    case 3:
        canvas.OnMouseDoubleClick(x, y, mod);
        break;
    case 4:
        canvas.OnMouseWheel(x, y, mod, direction);
        break;
    case 5:
        canvas.OnKeyDown(x, y, key);
        break;
    default:
        canvas.OnKeyUp(x, y, key);
        break;
    }
}

using Editor = omnar::test::ResettableEditor<omnar::test::PagesEditor>;

// Each area's gesture record as a new area has it: a press without
// modifiers, the last turn not upward. A wheel of no turn records kind and
// direction, the press then the kind; the area is cut from its parameter and
// action meanwhile, so that nothing reacts, and its value is put back after.
void ForgetGestures(Area* const (&areas)[4]) {
    for (Area* area : areas) {
        if (!area)
            continue;
        const int param = area->GetParamIdx();
        vx::ui::IActionFunction action = area->GetActionFunction();
        area->BindParam(-1);
        area->SetActionFunction(nullptr);
        const vx::ui::IRECT& r = area->GetRECT();
        area->OnMouseWheel(r.MW(), r.T, vx::ui::IMouseMod(), 0.f);
        area->OnMouseDown(r.MW(), r.T, vx::ui::IMouseMod());
        area->BindParam(param);
        area->SetActionFunction(std::move(action));
    }
}

void Check(const omnar::test::PagesEditor& editor, const vx::test::FakeHost& host) {
    for (const auto& message : host.output->messages)
        for (std::size_t i = 1; i + 1 < message.size(); ++i)
            if (message[i] >= 0x80)
                std::abort();
    if (editor.mHighlightedRow < 0 || editor.mHighlightedRow > 127 ||
        editor.mPresetListOffset < 0 || editor.mPresetListOffset > 109)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vx::test::PreferMemoryTempFolder();
    sys::SetLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static omnar::test::TempDataHome home;
    static omnar::test::TempDataHome config{"XDG_CONFIG_HOME"};
    static vx::test::FakeHost host;
    static std::vector<std::string> events;
    static Editor editor(vx::InstanceInfo{&host});
    static const bool ready = [] {
        editor.SetMakeGraphicsFunc([] {
            return std::make_unique<vx::test::AttachingCanvas>(editor, events, 1920, 1200, 1.f);
        });
        editor.OpenEditor(nullptr);
        editor.mConnected = true;
        editor.mApplyingValues = false;
        editor.mUserEditing = true;
        editor.Remember();
        return true;
    }();
    (void)ready;
    static Area* const areas[] = {editor.mPresetListSelector, editor.mIRListSelect,
                                  editor.mCustomIRSelectLeft, editor.mCustomIRSelectRight};
    static omnar::test::LibraryWatch library(home.Folder());
    static omnar::test::LibraryWatch settings(config.Folder());

    for (std::size_t at = 0; at + 4 <= size; at += 4) {
        const int target = data[at] % (kParams + kFootswitches + kRadios);
        const std::uint8_t value = data[at + 1];
        const std::uint8_t gesture = data[at + 2];
        const std::uint8_t modifiers = data[at + 3];
        if (target < kParams && gesture < 128) {
            editor.SetParamFromNormalised(target, value / 255.0);
        } else if (target < kParams) {
            // Half aim at the list areas, the rest at any control of the panel.
            vx::ui::ICanvas& canvas = *editor.GetGraphics();
            const vx::ui::IControl* control =
                gesture & 1 ? areas[(gesture >> 1) % 4]
                            : canvas.GetControl((target * 256 + value) % canvas.NControls());
            if (control)
                Deliver(canvas, *control, (gesture >> 3) % 7, value, modifiers);
        } else if (target < kParams + kFootswitches) {
            editor.OnFootswitch(59 + target - kParams);
        } else {
            const int radio = target - kParams - kFootswitches;
            radio < 7 ? editor.OnReverbRadio(radio) : editor.OnAmpRadio(radio - 7);
        }
        Check(editor, host);
        host.output->messages.clear();
    }

    // A press left without its release must not hold the next input's pointer.
    editor.GetGraphics()->ClearMouseCapture();
    ForgetGestures(areas);
    editor.PutBack();
    library.EmptyIfChanged();
    settings.EmptyIfChanged();
    host.output->messages.clear();
    host.output->wire.clear();
    events.clear();
    return 0;
}
