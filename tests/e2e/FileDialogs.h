#pragma once

// What a user does around the program's files: menu commands, buttons of the
// panel, the file chooser (Ctrl+L, the path, Return) and the boxes that answer.
// A box is read from the program's own "alert: <message>: <text>" line on
// stderr and answered with Return.

#include "tests/e2e/ProgramSession.h"

#include <optional>
#include <string>

namespace e2e {

class DialogTest : public ProgramTest {
protected:
    // A point of the 1920 x 1200 panel, at whatever scale the window shows it.
    void ClickPanel(int x, int y);
    // A menu entry by its mnemonics, e.g. ("d", "b") for Device > Back Up Bank....
    void MenuCommand(const std::string& menu, const std::string& entry);
    // The dialog or box the program shows besides its main window, within 10 s.
    std::optional<unsigned long> WaitForDialog();
    // In the file chooser now shown: Ctrl+L, the path, Return; false when no
    // chooser came or it did not close.
    bool ChooseFile(const std::string& path);
    // Where the program's stderr ends now: alerts after this mark are new.
    std::size_t StderrMark() const { return ProgramStderr().size(); }
    // The first alert line after the mark, without "alert: ", waited for up to
    // the timeout; nothing when none came.
    std::optional<std::string> WaitForAlert(std::size_t mark, std::chrono::milliseconds timeout);
    // Every alert line between the marks, one a line.
    std::string AlertsSince(std::size_t mark, std::size_t end = std::string::npos) const;
    // Return to the box shown; false when none was shown or it stayed.
    bool AnswerBox();
};

} // namespace e2e
