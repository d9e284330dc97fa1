#pragma once

#include "platform/ak/Control.h"

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

private:
    GtkWidget* m_text;
};

} // namespace ak
