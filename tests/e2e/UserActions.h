#pragma once

// What a user does beyond keys and clicks on the panel: menu commands by their
// mnemonics, the file chooser a command opens, the message box that answers
// it, clicks at panel points, and the panel's pixels. A box is known by the
// "alert: <text>: <informative text>" line the program writes to stderr.

#include "tests/e2e/PanelPixels.h"
#include "tests/e2e/ProgramSession.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

class UserTest : public ProgramTest {
protected:
    // A menu of the bar, then one of its items, each by its mnemonic key
    // ("d" for Device, "b" for Back Up Bank...).
    void MenuCommand(const std::string& menu, const std::string& item);
    // A window shown now that was not among the earlier ones, awaited.
    std::optional<unsigned long> WaitForNewWindow(const std::vector<unsigned long>& earlier,
                                                  std::chrono::milliseconds timeout);
    // The file chooser opened since `earlier`: the path typed into it (only
    // the name when it lies in the home folder, where choosers open) and
    // Return; the chooser gone within 10 s.
    void ChooseFile(const std::vector<unsigned long>& earlier, const std::filesystem::path& path,
                    bool save);
    // The box with this text shown (its stderr line), counting from the
    // `from`-th such line: the number of such lines shown so far when it
    // came, or nothing on timeout.
    std::optional<int> WaitForBox(const std::string& text, int from,
                                  std::chrono::milliseconds timeout);
    int BoxesShown(const std::string& text) const;
    // Return to the last window shown other than the main one; the box gone within 10 s.
    void AnswerBox();
    // A left click at a point of the panel, in panel units.
    void ClickPanel(int x, int y);
    std::optional<PanelPixels> Grab(PanelRect rect) { return PanelPixels::Grab(mWindow, rect); }
    // The whole panel once two grabs in a row agree, or nothing within 10 s.
    std::optional<PanelPixels> SettledPanel();
    // Help > About shows the about page over the panel; a click takes it away.
    void ExpectAboutOpens();
};

} // namespace e2e
