#pragma once

#include "platform/ak/Button.h"
#include "platform/ak/Color.h"
#include "platform/ak/Control.h"

#include <functional>
#include <string>

namespace ak {

enum class TextFieldKind { Editable, Secure, Label };

// A one-line text entry (plain or secure) or a static label, wrapping or
// not. The callbacks hear the user's editing only.
class TextField : public Control {
public:
    TextField(Rect frame, TextFieldKind kind);

    TextFieldKind Kind() const { return m_kind; }
    std::string Text() const;
    void SetText(const std::string& text);
    void SetAlignment(TextAlignment alignment);
    void SetTextColor(Color color);
    void SetBackgroundColor(Color color);
    void SetEditable(bool editable);
    bool IsEditable() const;
    void SetSelectable(bool selectable);
    void SetWraps(bool wraps); // labels
    // Only these characters may be typed or pasted; empty: any.
    void SetAcceptedCharacters(const std::u32string& characters) { m_accepted = characters; }
    // In characters; 0: no limit.
    void SetMaxLength(int characters);

    // The selection while editing, in characters: start and length.
    std::pair<int, int> Selection() const;
    void SetSelection(int start, int length);
    void Copy();
    void Cut();
    void Paste();

    std::function<void(TextField&)> onTextChanged;
    std::function<void(TextField&)> onEditingEnded;
    std::function<void(TextField&)> onReturn;
    // The field takes the keyboard focus (a click, Tab or the program).
    std::function<void(TextField&)> onFocusTaken;

private:
    static void OnChanged(void*, TextField* self);
    static void OnInsertText(void* editable, const char* text, int length, int* position,
                             TextField* self);
    static int OnFocusOut(void*, void*, TextField* self);
    static void OnGrabFocus(void*, TextField* self);
    static void OnActivate(void*, TextField* self);
    static int SwallowRightPress(void*, void* event, TextField* self);
    static int SwallowMenuKey(void*, TextField* self);
    void UpdateCss();

    TextFieldKind m_kind;
    std::u32string m_accepted;
    std::string m_css[2];
    void* m_cssProvider = nullptr;
};

} // namespace ak
