#pragma once

#include "platform/ak/Control.h"

#include <functional>
#include <string>
#include <utility>

namespace ak {

// Plain text, editable, wrapping or not, in its own scrollers (shown only
// when needed, no background of their own).
class TextView : public Control {
public:
    explicit TextView(Rect frame);

    std::string Text() const;
    void SetText(const std::string& text);
    void SetWraps(bool wraps);
    void SetEditable(bool editable);
    bool IsEditable() const;
    // In characters: start and length.
    std::pair<int, int> Selection() const;
    void SetSelection(int start, int length);
    void ReplaceSelection(const std::string& text);
    void ScrollToStart();
    void ScrollToEnd();
    // Off: neither a right click nor the menu key opens the text's menu.
    void SetContextMenuEnabled(bool enabled) { m_menuEnabled = enabled; }
    bool ContextMenuEnabled() const { return m_menuEnabled; }

    // The user's editing only.
    std::function<void(TextView&)> onTextChanged;
    std::function<void(TextView&)> onEditingEnded;
    // The view takes the keyboard focus (a click, Tab or the program).
    std::function<void(TextView&)> onFocusTaken;

private:
    static void OnChanged(void*, TextView* self);
    static int OnFocusOut(void*, void*, TextView* self);
    static void OnGrabFocus(void*, TextView* self);
    static int OnButtonPress(void*, void* event, TextView* self);
    static int OnPopupMenu(void*, TextView* self);
    GtkWidget* m_text;
    bool m_menuEnabled = true;
};

} // namespace ak
