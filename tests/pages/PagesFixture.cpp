#include "tests/pages/PagesFixture.h"

#include "controls/ITextControl.h"
#include "device/IRSlotImage.h"
#include "device/ParamValues.h"
#include "platform/sys/Folders.h"
#include "tests/pages/LayoutDump.h"
#include "toolkit/ICanvas.h"

#include <cstdio>
#include <fstream>

namespace omnar::test {

const PageMethod kPageMethods[17] = {
    {"gate", &OmnarControl::ShowGate, 1},
    {"dynamics", &OmnarControl::ShowDynamics, 2},
    {"ambience", &OmnarControl::ShowAmbience, 3},
    {"ir", &OmnarControl::ShowIR, 4},
    {"analog-sim", &OmnarControl::ShowAnalogSim, 5},
    {"filter", &OmnarControl::ShowFilter, 6},
    {"filter-buzz", &OmnarControl::ShowFilterBuzz, 7},
    {"filter-punch", &OmnarControl::ShowFilterPunch, 8},
    {"filter-crunch", &OmnarControl::ShowFilterCrunch, 9},
    {"filter-low", &OmnarControl::ShowFilterLow, 10},
    {"filter-mid", &OmnarControl::ShowFilterMid, 11},
    {"filter-high", &OmnarControl::ShowFilterHigh, 12},
    {"drive", &OmnarControl::ShowDrive, 13},
    {"preamp", &OmnarControl::ShowPreamp, 14},
    {"level", &OmnarControl::ShowLevel, 15},
    {"auto-filter", &OmnarControl::ShowAutoFilter, 16},
    {"chorus", &OmnarControl::ShowChorus, 17},
};

std::string IRSlotFile(const std::string& folder, int index) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", index + 1);
    return folder + name;
}

Bytes IRSlotImage(const std::string& name, const std::vector<double>& samples) {
    const omnar::IRImageBytes image = omnar::BuildIRImage(samples, omnar::PaddedName(name), 0.5);
    return Bytes(image.begin(), image.end());
}

PagesFixture::PagesFixture() : editor(std::make_unique<PagesEditor>(vx::InstanceInfo{&host})) {
    editor->SetMakeGraphicsFunc([this] {
        return std::make_unique<vx::test::AttachingCanvas>(*editor, events, 1920, 1200, 1.f);
    });
}

PagesFixture::~PagesFixture() {
    editor->CloseEditor();
}

vx::test::RecordingCanvas& PagesFixture::Open() {
    editor->OpenEditor(nullptr);
    return Panel();
}

void PagesFixture::Close() {
    editor->CloseEditor();
}

vx::test::RecordingCanvas& PagesFixture::Panel() {
    return static_cast<vx::test::RecordingCanvas&>(*editor->GetGraphics());
}

bool PagesFixture::IsOpen() const {
    return editor->GetGraphics() != nullptr;
}

std::vector<vx::ui::IControl*> PagesFixture::Group(const char* name) {
    std::vector<vx::ui::IControl*> found;
    Panel().ForEachControlInGroup(name, [&](vx::ui::IControl* c) { found.push_back(c); });
    return found;
}

std::vector<int> PagesFixture::TagsOf(const char* name) {
    std::vector<int> tags;
    for (const vx::ui::IControl* c : Group(name))
        if (const int tag = TagOf(Panel(), c); tag >= 0)
            tags.push_back(tag);
    return tags;
}

int PagesFixture::HiddenIn(const char* name) {
    int n = 0;
    for (const vx::ui::IControl* c : Group(name))
        n += c->IsHidden();
    return n;
}

int PagesFixture::DisabledIn(const char* name) {
    int n = 0;
    for (const vx::ui::IControl* c : Group(name))
        n += c->IsDisabled();
    return n;
}

std::string PagesFixture::TagText(int tag) {
    const auto* text = dynamic_cast<const vx::ui::ITextControl*>(Panel().FindControlByTag(tag));
    return text ? text->GetString() : "";
}

void PagesFixture::LoadParamDefaults() {
    editor->mApplyingValues = true;
    for (int i = 0; i < kPresetValueCount; ++i) {
        const double normalised = editor->GetParam(i)->GetDefaultNormalised();
        editor->SetParamFromNormalised(i, normalised);
        editor->SendParameterValueToUI(i, normalised, true);
    }
    editor->mApplyingValues = false;
}

void PagesFixture::WriteSettings(const std::string& text) {
    std::ofstream(sys::SettingsFilePath(), std::ios::trunc) << text;
}

} // namespace omnar::test
