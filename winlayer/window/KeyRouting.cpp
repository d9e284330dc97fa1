// The application's key routing in front of the window system's dispatch.
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "platform/ak/Window.h"
#include "winlayer/DialogKeys.h"
#include "winlayer/window/AppController.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

using winlayer::DialogKey;
using winlayer::HandleOf;
using winlayer::KeyFocus;

namespace {

constexpr int kCoalescingPeekMs = 3;

bool IsKey(const ak::Event& event) {
    return event.type == ak::EventType::KeyDown || event.type == ak::EventType::KeyUp;
}

KeyFocus FocusKind(ak::View* focus) {
    if (auto* field = dynamic_cast<ak::TextField*>(focus))
        return field->IsEditable() ? KeyFocus::OneLineText : KeyFocus::Other;
    if (auto* text = dynamic_cast<ak::TextView*>(focus))
        return text->IsEditable() ? KeyFocus::MultiLineText : KeyFocus::OneLineText;
    return KeyFocus::Other;
}

} // namespace

WISPApplication::WISPApplication(ak::Application& app, WISPAppController& controller)
    : app_(app), controller_(controller) {
    app_.SetEventHook([this](const ak::Event& event) { return sendEvent(event); });
}

WISPApplication::~WISPApplication() {
    app_.SetEventHook(nullptr);
}

bool WISPApplication::sendEvent(const ak::Event& event) {
    if (!IsKey(event))
        return false;
    if (isCoalescedRepeat(event))
        return true;
    ak::Window* modal = app_.ModalWindow();
    ak::Window* target = event.window;
    if (modal && target && target != modal)
        return false; // the modal run drops it
    int flags = 0;
    const int key = WISP_MacKeyToWindowsKey(&event, &flags);
    ak::View* focus = target ? dynamic_cast<ak::View*>(target->FirstResponder()) : nullptr;
    ak::Ref<ak::View> holdFocus(focus);
    if (!modal && (focus || !target)) {
        if (offerToHandler(event, focus, key, flags))
            return true;
    } else if (!modal && target && !focus) {
        return false;
    }
    if (event.type != ak::EventType::KeyDown || !focus || !target)
        return false;
    ak::Ref<ak::Window> holdTarget(target);
    return dialogKey(event, focus, *target);
}

bool WISPApplication::isCoalescedRepeat(const ak::Event& event) {
    // A held key's repeats pile up behind slow handlers: the press already
    // pending for the same key stands for this one. A press whose own release
    // comes next is a keystroke, not a repeat: dropping it would lose a
    // doubled letter typed quickly.
    std::vector<ak::EventType> next{ak::EventType::KeyDown};
    if (event.type == ak::EventType::KeyDown)
        next.push_back(ak::EventType::KeyUp);
    ak::Event pending;
    return app_.PeekEvent(next, kCoalescingPeekMs, &pending) &&
           pending.type == ak::EventType::KeyDown && pending.keyCode == event.keyCode;
}

bool WISPApplication::offerToHandler(const ak::Event& event, ak::View* focus, int key, int flags) {
    MSG msg{};
    msg.hwnd = HandleOf(focus);
    msg.message = event.type == ak::EventType::KeyDown ? WM_KEYDOWN : WM_KEYUP;
    msg.wParam = WPARAM(key);
    msg.lParam = LPARAM(flags);
    return controller_.callHandler(AppMsg_KeyEvent, reinterpret_cast<INT_PTR>(&msg),
                                   reinterpret_cast<INT_PTR>(&event)) > 0;
}

bool WISPApplication::dialogKey(const ak::Event& event, ak::View* focus, ak::Window& target) {
    auto* content = dynamic_cast<Wisp_vOmnarControl_hwnd*>(target.ContentView());
    if (!content)
        return false;
    ak::Ref<ak::View> hold(content);
    const HWND cv = content->Handle();
    int flags = 0;
    const int key = WISP_MacKeyToWindowsKey(&event, &flags);
    auto* field = dynamic_cast<ak::TextField*>(focus);
    switch (winlayer::ChooseDialogKey(key, flags, FocusKind(focus))) {
    case DialogKey::Copy:
    case DialogKey::Cut:
    case DialogKey::Paste: {
        // A text view copies through the platform's own binding.
        if (!field)
            return false;
        const DialogKey which = winlayer::ChooseDialogKey(key, flags, KeyFocus::OneLineText);
        if (which == DialogKey::Copy)
            field->Copy();
        else if (which == DialogKey::Cut)
            field->Cut();
        else
            field->Paste();
        return true;
    }
    case DialogKey::DropFocus:
        SetFocus(cv);
        return true;
    case DialogKey::Cancel:
        SendMessage(cv, WM_COMMAND, IDCANCEL, 0);
        return true;
    case DialogKey::DefaultButton:
        if (const int id = WISP_GetDefaultButtonID(cv, TRUE))
            SendMessage(cv, WM_COMMAND, WPARAM(id), 0);
        else
            SetFocus(cv);
        return true;
    case DialogKey::PassOn:
        return false;
    }
    return false;
}
