// Native controls in a window view report to its procedure as WM_COMMAND
// and WM_HSCROLL, and take the text colours the procedure chooses.
#include "platform/ak/Application.h"
#include "platform/ak/Box.h"
#include "platform/ak/Button.h"
#include "platform/ak/ComboBox.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Slider.h"
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "winlayer/InputRecords.h"
#include "winlayer/draw/GdiRecords.h"
#include "winlayer/draw/GdiText.h"
#include "winlayer/window/ControlReports.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <algorithm>

using winlayer::HandleOf;

namespace {

constexpr int kSystemTextColorIndex = 8;

// The window view a control reports to: the one holding it now, if it takes messages.
Wisp_vOmnarControl_hwnd* ReportTarget(ak::View& control) {
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(control.Superview());
    if (!view || view->wispHasBeenDestroyed() || !view->getWispWindowProc())
        return nullptr;
    return view;
}

void SendCommand(ak::Control& control, int code) {
    Wisp_vOmnarControl_hwnd* view = ReportTarget(control);
    if (!view)
        return;
    ak::Ref<ak::View> hold(view);
    view->onWispMessage(WM_COMMAND, winlayer::CommandParam(code, control.Tag()),
                        reinterpret_cast<LPARAM>(HandleOf(&control)));
}

int RadioFlags(const ak::View* view) {
    auto* flags = dynamic_cast<const winlayer::WispButtonFlags*>(view);
    return flags ? flags->wispRadioFlags() : -1;
}

void SwitchOff(ak::View& view) {
    auto* button = dynamic_cast<ak::Button*>(&view);
    if (button && (RadioFlags(&view) & winlayer::kRadioButton) && button->State() != 0)
        button->SetState(0);
}

// Switches off the other radio buttons of the clicked one's group: back to
// the group's first button, forward to the next group's first.
void WalkRadioGroup(ak::Button& clicked) {
    ak::View* parent = clicked.Superview();
    if (!parent)
        return;
    const auto siblings = parent->Subviews();
    const auto at = std::find_if(siblings.begin(), siblings.end(),
                                 [&](const auto& view) { return view.Get() == &clicked; });
    if (at == siblings.end())
        return;
    if (!(RadioFlags(&clicked) & winlayer::kFirstOfGroup)) {
        for (auto it = at; it != siblings.begin();) {
            --it;
            const int flags = RadioFlags(it->Get());
            if (flags < 0)
                break;
            SwitchOff(**it);
            if (flags & winlayer::kFirstOfGroup)
                break;
        }
    }
    for (auto it = at + 1; it != siblings.end(); ++it) {
        const int flags = RadioFlags(it->Get());
        if (flags < 0 || (flags & winlayer::kFirstOfGroup))
            break;
        SwitchOff(**it);
    }
}

bool IsDoubleClickNow() {
    const ak::Application* app = ak::Application::Shared();
    const ak::Event* event = app ? app->CurrentEvent() : nullptr;
    return event &&
           (event->type == ak::EventType::LeftMouseDown ||
            event->type == ak::EventType::LeftMouseUp) &&
           event->clickCount >= 2;
}

// The platform's action of a control.
void OnAction(ak::Control& control) {
    if (auto* slider = dynamic_cast<ak::Slider*>(&control)) {
        if (Wisp_vOmnarControl_hwnd* view = ReportTarget(*slider)) {
            ak::Ref<ak::View> hold(view);
            view->onWispMessage(WM_HSCROLL, 0, reinterpret_cast<LPARAM>(HandleOf(slider)));
        }
        return;
    }
    if (dynamic_cast<ak::ComboBox*>(&control))
        return; // reports through its callbacks
    if (dynamic_cast<ak::PopUpButton*>(&control))
        return SendCommand(control, CBN_SELCHANGE);
    const int flags = RadioFlags(&control);
    if (auto* button = dynamic_cast<ak::Button*>(&control);
        button && flags >= 0 && (flags & ~winlayer::kPushButton) != 0) {
        WalkRadioGroup(*button);
        return SendCommand(control, BN_CLICKED);
    }
    SendCommand(control, IsDoubleClickNow() ? 1 : 0);
}

void ReportComboSelection(ak::ComboBox& combo) {
    if (auto* memory = dynamic_cast<winlayer::WispReportedSelection*>(&combo)) {
        const int selected = combo.SelectedIndex();
        if (selected == memory->wispLastReportedIndex())
            return;
        memory->wispSetLastReportedIndex(selected);
    }
    SendCommand(combo, CBN_SELCHANGE);
}

void ConnectCombo(ak::ComboBox& combo) {
    combo.onPopUp = [](ak::ComboBox& c) { SendCommand(c, CBN_DROPDOWN); };
    combo.onClose = [](ak::ComboBox& c) { SendCommand(c, CBN_CLOSEUP); };
    combo.onSelectionChanged = &ReportComboSelection;
    combo.onTextChanged = [](ak::ComboBox& c) { SendCommand(c, CBN_EDITCHANGE); };
    combo.onEditingEnded = [](ak::ComboBox& c) { SendCommand(c, EN_KILLFOCUS); };
    combo.onFocusTaken = [](ak::ComboBox& c) { SendCommand(c, EN_SETFOCUS); };
}

void ConnectTextView(ak::TextView& text) {
    text.onTextChanged = [](ak::TextView& t) { SendCommand(t, EN_CHANGE); };
    text.onEditingEnded = [](ak::TextView& t) { SendCommand(t, EN_KILLFOCUS); };
    text.onFocusTaken = [](ak::TextView& t) { SendCommand(t, EN_SETFOCUS); };
}

void ConnectField(ak::TextField& field) {
    field.onTextChanged = [](ak::TextField& f) { SendCommand(f, EN_CHANGE); };
    field.onEditingEnded = [](ak::TextField& f) { SendCommand(f, EN_KILLFOCUS); };
    field.onFocusTaken = [](ak::TextField& f) { SendCommand(f, EN_SETFOCUS); };
    // Return in a field is its action: code 0, as a label's single click.
    field.onReturn = [](ak::TextField& f) { SendCommand(f, 0); };
    // Only labels that report clicks fire their action: STN_CLICKED or STN_DBLCLK.
    if (field.Kind() == ak::TextFieldKind::Label)
        field.SetAction(&OnAction);
}

// One question per kind of control: the colour the procedure set on a
// scratch context, the system's text colour when forced, else none.
class ColourQuestion {
public:
    ColourQuestion(HWND view, DLGPROC proc, UINT message, bool force)
        : view_(view), proc_(proc), message_(message), force_(force) {}
    std::optional<ak::Color> answerFor(ak::View& control) {
        if (!asked_) {
            asked_ = true;
            colour_ = ask(control);
        }
        return colour_;
    }

private:
    std::optional<ak::Color> ask(ak::View& control) {
        HDC scratch = winlayer::NewScratchContext();
        std::optional<int> value;
        if (proc_)
            proc_(view_, message_, reinterpret_cast<WPARAM>(scratch),
                  reinterpret_cast<LPARAM>(HandleOf(&control)));
        if (winlayer::IsValidContext(scratch) && scratch->hasTextColor)
            value = GetTextColor(scratch);
        else if (force_)
            value = GetSysColor(kSystemTextColorIndex);
        WISP_DeleteGfxContext(scratch);
        if (!value)
            return std::nullopt;
        return ak::Color{((*value >> 16) & 0xFF) / 255.0, ((*value >> 8) & 0xFF) / 255.0,
                         (*value & 0xFF) / 255.0, 1};
    }

    HWND view_;
    DLGPROC proc_;
    UINT message_;
    bool force_;
    bool asked_ = false;
    std::optional<ak::Color> colour_;
};

} // namespace

void Wisp_vOmnarControl_hwnd::DidAddSubview(ak::View* subview) {
    ak::View::DidAddSubview(subview);
    if (auto* combo = dynamic_cast<ak::ComboBox*>(subview)) {
        ConnectCombo(*combo);
    } else if (auto* field = dynamic_cast<ak::TextField*>(subview)) {
        ConnectField(*field);
    } else if (auto* text = dynamic_cast<ak::TextView*>(subview)) {
        ConnectTextView(*text);
    } else if (auto* control = dynamic_cast<ak::Control*>(subview)) {
        control->SetAction(&OnAction);
    }
}

void WISP_ApplyCtlColors(HWND window, DLGPROC proc, BOOL force) {
    ak::View* view = winlayer::FindView(window);
    if (!view)
        return;
    ak::Ref<ak::View> hold(view);
    ColourQuestion buttons(window, proc, WM_CTLCOLORBTN, force != 0);
    ColourQuestion statics(window, proc, WM_CTLCOLORSTATIC, force != 0);
    const std::vector<ak::Ref<ak::View>> subviews = view->Subviews();
    for (const auto& subview : subviews) {
        if (auto* button = dynamic_cast<ak::Button*>(subview.Get()); button && button->GetImage()) {
            if (const auto colour = buttons.answerFor(*button))
                button->SetForegroundColor(*colour);
        } else if (auto* box = dynamic_cast<ak::Box*>(subview.Get())) {
            if (const auto colour = statics.answerFor(*box)) {
                box->SetForegroundColor(*colour);
                box->SetNeedsDisplay();
            }
        } else if (auto* field = dynamic_cast<ak::TextField*>(subview.Get());
                   field && !field->IsEditable()) {
            if (const auto colour = statics.answerFor(*field)) {
                field->SetTextColor(*colour);
                if (auto* told = dynamic_cast<winlayer::WispColorFromPass*>(field))
                    told->wispSetColorFromPass();
            }
        }
    }
}
