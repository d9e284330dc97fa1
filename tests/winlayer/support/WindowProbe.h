#pragma once

#include "platform/ak/Application.h"

#include "winlayer/MessageQueue.h"
#include "winlayer/window/WindowCalls.h"
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace winlayer::test {

// Records what window procedures receive, as "<name> <message> <wParam>"
// lines; a window is named by Name() before its first message. Answers come
// from a per-message table, or from a hook.
struct WindowProbe {
    std::vector<std::string> log;
    std::map<HWND, std::string> names;
    std::map<UINT, LRESULT> answers;
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> hook;
    // Messages not logged (WM_SIZE and focus noise by default).
    std::vector<UINT> quiet;

    static WindowProbe& Current();
    static LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::string NameOf(HWND window) const;
    std::vector<std::string> Take() { return std::exchange(log, {}); }
};

// Whether want appears in log in this order, other lines between.
bool InOrder(const std::vector<std::string>& log, const std::vector<std::string>& want);

// A fresh probe per test, the application with a queue-answering delegate,
// and the queue set up once.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    WindowProbe& probe = WindowProbe::Current();
};

} // namespace winlayer::test
