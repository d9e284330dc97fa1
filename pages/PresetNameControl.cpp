#include "pages/PresetNameControl.h"

#include "device/DeviceMessage.h"
#include "device/NameText.h"
#include "platform/sys/Utf8.h"
#include "toolkit/ICanvas.h"
#include "toolkit/ITextEntryControl.h"

namespace omnar::pages {

std::string PedalName(const char* utf8) {
    std::u32string plain = omnar::PlainNameText(sys::Utf8ToUtf32(utf8 ? utf8 : ""));
    if (plain.size() > std::size_t(omnar::kTextFieldSize))
        plain.resize(std::size_t(omnar::kTextFieldSize));
    return sys::Utf32ToUtf8(plain);
}

PresetNameControl::PresetNameControl(const vx::ui::IRECT& bounds, const char* str,
                                     const vx::ui::IText& text, const vx::ui::IColor& bgColor)
    : IEditableTextControl(bounds, str, text, bgColor) {
    SetTextEntryLength(omnar::kTextFieldSize);
}

void PresetNameControl::OnMouseDown(float x, float y, const vx::ui::IMouseMod& mod) {
    IEditableTextControl::OnMouseDown(x, y, mod);
    vx::ui::ICanvas* ui = GetUI();
    vx::ui::ITextEntryControl* entry = ui ? ui->GetTextEntryControl() : nullptr;
    if (entry && entry->IsEditing() && ui->GetControlInTextEntry() == this)
        entry->SetRule({omnar::PlainNameText, omnar::kTextFieldSize});
}

void PresetNameControl::OnTextEntryFinished(const char* entered, int valIdx) {
    IEditableTextControl::OnTextEntryFinished(PedalName(entered).c_str(), valIdx);
}

} // namespace omnar::pages
