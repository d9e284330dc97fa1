#pragma once

#include "platform/ak/Object.h"

#include <string>
#include <vector>

namespace ak {

class Window;

namespace AlertResponse {
constexpr int FirstButton = 1000;
} // namespace AlertResponse

// A modal message with buttons in order, the first being the default.
// Escape and the close box choose the "Cancel" button, else a lone button,
// else nothing. Runs before Application::Run() too, and without a parent.
class Alert : public Object {
public:
    Alert() = default;

    // The window's caption; none by default.
    void SetTitle(const std::string& title) { m_title = title; }
    void SetMessageText(const std::string& text) { m_message = text; }
    void SetInformativeText(const std::string& text) { m_informative = text; }
    // No button added: one "OK".
    void AddButton(const std::string& title) { m_buttons.push_back(title); }
    const std::vector<std::string>& Buttons() const { return m_buttons; }

    // Also writes "alert: <message>: <informative text>" to stderr. Answers
    // FirstButton + the index of the button pressed.
    int RunModal(Window* parent = nullptr);

    // The dialog while it runs, for the tests' answering helpers.
    static void* Running();
    // Answers the running alert as dismissed: "Cancel", else the last button.
    // False when none runs.
    static bool Dismiss();

private:
    std::string m_title;
    std::string m_message;
    std::string m_informative;
    std::vector<std::string> m_buttons;
};

} // namespace ak
