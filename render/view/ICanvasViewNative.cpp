// The view's native text field, popup menu and colour panel.
#include "framework/ICanvasEditorDelegate.h"
#include "framework/IParam.h"
#include "platform/ak/Appearance.h"
#include "platform/ak/ColorPanel.h"
#include "platform/ak/Font.h"
#include "platform/ak/Window.h"
#include "render/canvas/FontDescriptorCache.h"
#include "render/view/ICanvasMac.h"
#include "render/view/ICanvasMenu.h"
#include "render/view/ICanvasView.h"
#include "render/view/NativeEntryRules.h"

namespace vx::ui {

namespace {

ak::Color AkColorOf(const IColor& c) {
    return {c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0};
}

// The font registered under the text's font id; the system font when the id
// was never loaded.
ak::Font EntryFontOf(const IText& text, float drawScale) {
    const FontDescriptorEntry* entry = SharedFontDescriptorCache().FindFont(text.font);
    if (!entry || !entry->descriptor)
        return ak::Font::System(text.size * drawScale);
    const text::FontDescriptor& d = *entry->descriptor;
    const bool bold = d.style.find("Bold") != std::string::npos;
    const bool italic = d.style.find("Italic") != std::string::npos;
    return ak::Font::Named(d.family, text.size * drawScale * entry->emRatio, bold, italic);
}

} // namespace

void ICanvasView::CreateTextEntry(int paramIdx, const IText& text, const char* initial, int length,
                                  ak::Rect area) {
    if (textField || !canvas)
        return;
    textField = ak::MakeRef<ak::TextField>(area, ak::TextFieldKind::Editable);
    textField->SetFont(EntryFontOf(text, canvas->GetDrawScale()));
    if (text.align >= 0 && text.align <= 2)
        textField->SetAlignment(static_cast<ak::TextAlignment>(text.align));
    if (const IParam* param = paramIdx >= 0 ? canvas->GetDelegate().GetParam(paramIdx) : nullptr) {
        textField->SetAcceptedCharacters(AcceptedEntryCharacters(param->Type()));
        textField->SetMaxLength(length);
    }
    textField->SetTextColor(AkColorOf(text.TextEntryFGColor));
    textField->SetBackgroundColor(AkColorOf(text.TextEntryBGColor));
    textField->SetText(initial ? initial : "");
    textField->onEditingEnded = [this](ak::TextField&) { ControlTextDidEndEditing(); };
    textField->onReturn = [this](ak::TextField&) { ControlTextDidEndEditing(); };
    AddSubview(textField.Get());
    if (ak::Window* window = GetWindow()) {
        window->MakeKeyAndOrderFront();
        window->MakeFirstResponder(textField.Get());
    }
}

void ICanvasView::ControlTextDidEndEditing() {
    if (!textField)
        return;
    const std::string value = textField->Text();
    // Committing can end the editing again (focus leaving the closing field).
    textField->onEditingEnded = nullptr;
    textField->onReturn = nullptr;
    if (canvas) {
        canvas->ApplyTextEntryValue(value.c_str());
        canvas->MarkAllControlsDirty();
    }
    EndUserInput();
}

void ICanvasView::EndUserInput() {
    if (!textField)
        return;
    ak::Ref<ak::TextField> field = textField;
    textField = nullptr;
    field->onEditingEnded = nullptr;
    field->onReturn = nullptr;
    field->RemoveFromSuperview();
    if (ak::Window* window = GetWindow())
        window->MakeFirstResponder(this);
    if (canvas)
        canvas->ForgetTextEntry();
}

IPopupMenu* ICanvasView::CreatePopupMenu(IPopupMenu& menu, ak::Rect area) {
    ICanvasMenu native(menu);
    const int current = menu.GetChosenItemIdx();
    // The current choice opens over the control; with none the menu opens below it.
    ak::MenuItem* positioned = current >= 0 ? native.Menu()->ItemAt(current) : nullptr;
    const ak::Point at =
        positioned ? area.origin : ak::Point{area.origin.x, area.origin.y + area.size.height + 4};
    const ak::Ref<ak::MenuItem> chosen = native.Menu()->PopUp(this, at, positioned);
    return native.ChoiceOf(chosen.Get());
}

bool ICanvasView::PromptForColor(const IColor& color, std::function<void(const IColor&)> onPicked) {
    colorPickerFunc = std::move(onPicked);
    std::weak_ptr<ICanvasView*> alive = self;
    ak::ColorPanel::Show(AkColorOf(color), true, [alive](ak::Color c) {
        if (const auto view = alive.lock(); view && *view)
            (*view)->OnColorPicked(IColor(ColorComponentByte(c.alpha), ColorComponentByte(c.red),
                                          ColorComponentByte(c.green), ColorComponentByte(c.blue)));
    });
    return true;
}

void ICanvasView::OnColorPicked(const IColor& color) {
    if (colorPickerFunc)
        colorPickerFunc(color);
}

std::string ICanvasView::ToolTipText() const {
    if (!canvas)
        return {};
    const IControl* control = canvas->GetControl(canvas->GetMouseOverIdx());
    const char* tip = control ? control->GetTooltip() : nullptr;
    return tip ? tip : "";
}

void ICanvasView::ViewDidChangeEffectiveAppearance() {
    if (canvas)
        canvas->OnAppearanceChanged(ak::Appearance::IsDark());
}

} // namespace vx::ui
