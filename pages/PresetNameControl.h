#pragma once

// The editable preset name: typing and pasting keep to what the pedal
// stores (plain ASCII, 32 characters), so the panel, the bytes sent and the
// library file read the same.

#include "controls/ITextControl.h"

#include <string>

namespace omnar::pages {

class PresetNameControl : public vx::ui::IEditableTextControl {
public:
    PresetNameControl(const vx::ui::IRECT& bounds, const char* str, const vx::ui::IText& text,
                      const vx::ui::IColor& bgColor);

    void OnMouseDown(float x, float y, const vx::ui::IMouseMod& mod) override;
    // An entry that bypassed the in-panel rule (a native field) is made plain here.
    void OnTextEntryFinished(const char* entered, int valIdx) override;
};

// The UTF-8 name as the pedal keeps it: made plain, at most 32 characters.
std::string PedalName(const char* utf8);

} // namespace omnar::pages
