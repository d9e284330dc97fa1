#include "tests/e2e/PanelMap.h"

#include "controls/ITextControl.h"
#include "tests/device/LibraryFixtures.h"
#include "tests/framework/PluginFixtures.h"
#include "tests/pages/LayoutDump.h"
#include "tests/pages/PagesFixture.h"
#include "toolkit/ICanvas.h"
#include "toolkit/IVectorBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace e2e {

namespace {

std::vector<PanelControl> LayOut() {
    // Folders of its own: the layout lists and installs files, and the
    // program's own library must not see them. Restored when it is done.
    omnar::test::TempDataHome data;
    omnar::test::TempDataHome config{"XDG_CONFIG_HOME"};
    vx::test::FakeHost host;
    std::vector<std::string> events;
    auto editor = std::make_unique<omnar::test::PagesEditor>(vx::InstanceInfo{&host});
    editor->SetMakeGraphicsFunc([&] {
        return std::make_unique<vx::test::AttachingCanvas>(*editor, events, 1920, 1200, 1.f);
    });
    editor->OpenEditor(nullptr);
    std::vector<PanelControl> controls;
    const vx::ui::ICanvas& canvas = *editor->GetGraphics();
    for (int i = 0; i < canvas.NControls(); ++i) {
        const vx::ui::IControl& c = *canvas.GetControl(i);
        const vx::ui::IRECT& r = c.GetRECT();
        PanelControl control{{r.L, r.T, r.R, r.B},
                             omnar::test::TagOf(canvas, &c),
                             c.GetParamIdx(),
                             c.GetGroup(),
                             {}};
        if (const auto* text = dynamic_cast<const vx::ui::ITextControl*>(&c))
            control.text = text->GetString();
        else if (const auto* vector = dynamic_cast<const vx::ui::IVectorBase*>(&c))
            control.text = vector->GetLabelStr();
        controls.push_back(std::move(control));
    }
    editor->CloseEditor();
    return controls;
}

const PanelControl& Find(const std::vector<PanelControl>& controls,
                         const std::function<bool(const PanelControl&)>& match,
                         const std::string& what) {
    const auto found = std::find_if(controls.begin(), controls.end(), match);
    if (found == controls.end()) {
        ADD_FAILURE() << "the layout has no control with " << what;
        static const PanelControl none;
        return none;
    }
    return *found;
}

} // namespace

const PanelMap& PanelMap::Get() {
    static const PanelMap map = [] {
        PanelMap built;
        built.mControls = LayOut();
        return built;
    }();
    return map;
}

const PanelControl& PanelMap::ByTag(int tag) const {
    return Find(
        mControls, [&](const PanelControl& c) { return c.tag == tag; },
        "tag " + std::to_string(tag));
}

const PanelControl& PanelMap::ByParam(int param, const std::string& group) const {
    return Find(
        mControls, [&](const PanelControl& c) { return c.param == param && c.group == group; },
        "parameter " + std::to_string(param) + " in group \"" + group + "\"");
}

const PanelControl& PanelMap::ByText(const std::string& text, const std::string& group) const {
    return Find(
        mControls, [&](const PanelControl& c) { return c.text == text && c.group == group; },
        "text \"" + text + "\" in group \"" + group + "\"");
}

std::vector<PanelControl> PanelMap::Group(const std::string& group) const {
    std::vector<PanelControl> found;
    std::copy_if(mControls.begin(), mControls.end(), std::back_inserter(found),
                 [&](const PanelControl& c) { return c.group == group; });
    return found;
}

} // namespace e2e
