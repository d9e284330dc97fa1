#pragma once

#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/window/TopLevel.h"

#include <functional>
#include <string>
#include <vector>

namespace winlayer::test {

// A shown top-level window whose procedure turns what its controls tell it
// into lines of notes, through describe (empty: not noted).
class ControlHostTest : public WindowTest {
protected:
    using Describe = std::function<std::string(UINT message, LPARAM lParam)>;
    void ShowHost(Describe describe) {
        probe.answers[WM_INITDIALOG] = 0;
        top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
        ASSERT_NE(top, nullptr);
        ShowWindow(top, SW_SHOW);
        ASSERT_TRUE(ak::test::WaitUntilShown(*FindWindow(top)));
        probe.hook = [this, describe](HWND, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
            const std::string line = describe(message, lParam);
            if (!line.empty() && !(line == "move" && !notes.empty() && notes.back() == "move"))
                notes.push_back(line);
            return 0;
        };
        probe.Take();
    }
    // The host has laid out and drawn what changed, and served every event
    // and idle work queued so far: what a change or an input causes at once
    // has happened.
    void Settle() { EXPECT_TRUE(ak::test::WaitUntilSettled(*FindWindow(top))); }
    void TearDown() override {
        probe.hook = nullptr;
        if (top)
            DestroyWindow(top);
        WindowTest::TearDown();
    }

    DialogResourceRecord resource{1, "Controls", 28, nullptr, 300, 300, nullptr};
    HWND top = nullptr;
    std::vector<std::string> notes;
};

} // namespace winlayer::test
