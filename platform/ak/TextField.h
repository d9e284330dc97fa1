#pragma once

#include "platform/ak/Button.h"
#include "platform/ak/Color.h"
#include "platform/ak/Control.h"

#include <functional>
#include <string>
#include <string_view>

namespace ak {

enum class TextFieldKind { Editable, Secure, Label };

// A one-line text entry (plain or secure) or a static label, wrapping or
// not. A plain entry made wrapping keeps one paragraph (Return is its
// action, typed or pasted line breaks become spaces) and breaks it into lines
// at its width, scrolling to its cursor. The callbacks hear the user's
// editing only.
class TextField : public Control {
public:
    TextField(Rect frame, TextFieldKind kind, bool wrapsLines = false);

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
    // A plain entry made to wrap its lines.
    bool WrapsLines() const { return m_text != nullptr; }
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
    // Editable and secure fields open no context menu unless turned on.
    void SetContextMenuEnabled(bool enabled) { m_menuEnabled = enabled; }
    bool ContextMenuEnabled() const { return m_menuEnabled; }

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
    // The wrapping entry's text buffer.
    static void OnInsertBufferText(void* buffer, void* location, const char* text, int length,
                                   TextField* self);
    static int OnKeyPress(void*, void* event, TextField* self);
    void ConnectEditing(void* editor);
    // What may go in of typed or pasted text; the same text when all of it.
    std::string Admitted(std::string_view input) const;
    void UpdateCss();

    TextFieldKind m_kind;
    std::u32string m_accepted;
    std::string m_css[2];
    void* m_cssProvider = nullptr;
    bool m_menuEnabled = false;
    GtkWidget* m_text = nullptr; // the wrapping entry's text view
    int m_maxLength = 0;
};

} // namespace ak
