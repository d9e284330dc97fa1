#pragma once

// What a user does beyond keys and clicks on the panel: menu commands by their
// mnemonics, the file chooser a command or a panel button opens (Ctrl+L, the
// path, Return), the boxes that answer, and the panel's pixels. A box is
// known by the "alert: <caption>: <text>" line the program writes to stderr
// just before it shows it; a test marks where stderr ends before the step
// that may bring one, then waits for an alert after the mark.

#include "tests/e2e/PanelPixels.h"
#include "tests/e2e/ProgramSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Buttons the tests press, as points of the panel: slot 7's MODE and IMPORT on
// the main page, UPDATE FIRMWARE on the firmware page.
inline constexpr std::pair<int, int> kSlot7Mode{770, 1086};
inline constexpr std::pair<int, int> kSlot7Import{1019, 1087};
inline constexpr PanelArea kSlot7ImportButton{984, 1068, 1054, 1106};
inline constexpr std::pair<int, int> kUpdateFirmware{1100, 682};

class UserTest : public ProgramTest {
protected:
    // A menu of the bar, then one of its items, each by its mnemonic key
    // ("d" for Device, "b" for Back Up Bank...).
    void MenuCommand(const std::string& menu, const std::string& item);
    // A left click at a point of the 1920 x 1200 panel, at whatever scale the
    // window shows it.
    void ClickPanel(int x, int y);
    void ClickPanel(std::pair<int, int> at) { ClickPanel(at.first, at.second); }
    // Slot 7's MODE to the user response, which enables its IMPORT; it has
    // reached the pedal within 10 s.
    ::testing::AssertionResult ChooseSlot7UserResponse();

    // devsim's trace from a mark (an earlier Trace().size()) on.
    std::string TraceSince(std::size_t mark) const;
    // The trace after the mark holds the text `count` times within the timeout.
    bool WaitForTrace(std::size_t mark, const std::string& text, std::chrono::milliseconds timeout,
                      int count = 1) const;

    // A window of the program besides its main one (a chooser or a box), within 10 s.
    std::optional<unsigned long> WaitForDialog();
    // In the file chooser a command opened: Ctrl+L, the path (only the name
    // when it lies in the home folder, where choosers open), Return; the
    // chooser gone within 10 s.
    ::testing::AssertionResult ChooseFile(const std::filesystem::path& path);

    // Where the program's stderr ends now: alerts after this mark are new.
    std::size_t StderrMark() const { return ProgramStderr().size(); }
    // Every whole alert line between the marks, without "alert: ", one a line.
    std::string AlertsSince(std::size_t mark, std::size_t end = std::string::npos) const;
    // The first alert after the mark (the first holding the text, when one is
    // given), waited for up to the timeout; nothing when none came.
    std::optional<std::string> WaitForAlert(std::size_t mark, std::chrono::milliseconds timeout,
                                            const std::string& text = "");
    // Return to the box shown; the box gone within 10 s.
    ::testing::AssertionResult AnswerBox();
    // A shot of the box shown, once it has drawn its text.
    void ShotOfBox(const std::string& name);
    // The first box after the mark says the text; it is answered (shot first
    // as ShotOfBox(shot) when a name is given).
    void ExpectBox(std::size_t mark, const std::string& text, std::chrono::milliseconds timeout,
                   const std::string& shot = "");

    std::optional<PanelPixels> Grab(PanelArea rect) { return PanelPixels::Grab(mWindow, rect); }
    // The whole panel once two grabs in a row agree, or nothing within 10 s.
    std::optional<PanelPixels> SettledPanel();
    // Help > About shows the about page over the panel; a click takes it away.
    void ExpectAboutOpens();

private:
    // A window shown now, pop-ups too, that was not among the earlier ones, awaited.
    std::optional<unsigned long> WaitForNewWindow(const std::vector<unsigned long>& earlier,
                                                  std::chrono::milliseconds timeout);
    bool IsGone(unsigned long window);
};

} // namespace e2e
