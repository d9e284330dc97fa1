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
// Nothing may crash, no message may carry a data byte of 80h or more, and the
// preset list never points past its 128 rows.
//
// The editor and its panel are made once and put back after every input,
// the list areas' last gesture too (the editor reads it on a change of the
// list's parameter, gesture or not).
namespace {

using Area = vx::ui::IInvisibleSelectControl3;

constexpr int kParams = 151;
constexpr int kFootswitches = 5;
constexpr int kRadios = 17;

void Gesture(Area* area, int kind, std::uint8_t where, std::uint8_t modifiers) {
    if (!area)
        return;
    const vx::ui::IRECT& r = area->GetRECT();
    // A little past the bottom edge too.
    const float y = r.T + float(where) / 255.f * r.H() * 1.05f;
    vx::ui::IMouseMod mod;
    mod.S = modifiers & 1;
    mod.C = modifiers & 2;
    switch (kind) {
    case 0:
        area->OnMouseDown(r.MW(), y, mod);
        break;
    case 1:
        area->OnMouseUp(r.MW(), y, mod);
        break;
    case 2:
        area->OnMouseDrag(r.MW(), y, 0.f, modifiers & 4 ? 1.f : -1.f, mod);
        break;
    case 3:
        area->OnMouseDoubleClick(r.MW(), y, mod);
        break;
    default:
        area->OnMouseWheel(r.MW(), y, mod, modifiers & 4 ? 1.f : -1.f);
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
            Gesture(areas[gesture % 4], (gesture >> 2) % 5, value, modifiers);
        } else if (target < kParams + kFootswitches) {
            editor.OnFootswitch(59 + target - kParams);
        } else {
            const int radio = target - kParams - kFootswitches;
            radio < 7 ? editor.OnReverbRadio(radio) : editor.OnAmpRadio(radio - 7);
        }
        Check(editor, host);
        host.output->messages.clear();
    }

    ForgetGestures(areas);
    editor.PutBack();
    library.EmptyIfChanged();
    settings.EmptyIfChanged();
    host.output->messages.clear();
    host.output->wire.clear();
    events.clear();
    return 0;
}
