#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/InputRecords.h"
#include "winlayer/Runtime.h"
#include "winlayer/draw/GdiRecords.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace winlayer::test {
namespace {

using Log = std::vector<std::string>;
namespace Mod = ak::test::Mod;

class ViewInputTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        probe.answers[WM_INITDIALOG] = 0;
        top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
        ASSERT_NE(top, nullptr);
        probe.names[top] = "top";
        ShowWindow(top, SW_SHOW);
        window = FindWindow(top);
        ASSERT_TRUE(ak::test::WaitUntilShown(*window));
        probe.quiet.push_back(WM_SETCURSOR);
        probe.quiet.push_back(WM_NCHITTEST);
        probe.quiet.push_back(WM_MOUSEMOVE);
        probe.Take();
    }
    Wisp_vOmnarControl_hwnd& View() {
        return *dynamic_cast<Wisp_vOmnarControl_hwnd*>(FindView(top));
    }
    // Lines of the log naming one of the messages.
    Log Only(const Log& log, std::vector<UINT> messages) {
        Log kept;
        for (const std::string& line : log)
            for (UINT m : messages)
                if (line.rfind("top " + std::to_string(m) + " ", 0) == 0)
                    kept.push_back(line);
        return kept;
    }
    DialogResourceRecord resource{1, "Input", 28, nullptr, 300, 300, nullptr};
    HWND top = nullptr;
    ak::Window* window = nullptr;
};

// A memory context of the view's size, its pixel at (x, y) as 0xAARRGGBB.
struct MemoryContext {
    HDC hdc = WISP_CreateMemContext(nullptr, 300, 300);
    ~MemoryContext() { WISP_DeleteGfxContext(hdc); }
    uint32_t Pixel(int x, int y) {
        cairo_surface_t* surface = cairo_get_target(WISP_GetCtxGC(hdc));
        cairo_surface_flush(surface);
        const unsigned char* row =
            cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const uint32_t*>(row)[x];
    }
};

TEST_F(ViewInputTest, ARealDrawRunsTheNonClientStepThenThePaint) {
    probe.quiet.clear();
    HDC painted = nullptr;
    RECT paintRect{};
    probe.hook = [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps{};
            painted = BeginPaint(window, &ps);
            EXPECT_EQ(reinterpret_cast<WPARAM>(painted), wParam);
            paintRect = ps.rcPaint;
        }
        return 0;
    };
    InvalidateRect(top, nullptr, FALSE);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return painted != nullptr; }));
    const Log log = Only(probe.Take(), {WM_NCCALCSIZE, WM_NCPAINT, WM_PAINT, WM_CTLCOLORDLG});
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "top 131 0");
    EXPECT_EQ(log[1], "top 133 1");
    EXPECT_TRUE(InOrder(log, {"top 310 " + std::to_string(reinterpret_cast<WPARAM>(painted)),
                              "top 15 " + std::to_string(reinterpret_cast<WPARAM>(painted))}));
    EXPECT_GT(paintRect.right, paintRect.left);
    EXPECT_LE(paintRect.right, 300);
    // Outside a paint there is no paint context.
    PAINTSTRUCT outside{};
    EXPECT_EQ(BeginPaint(top, &outside), nullptr);
}

TEST_F(ViewInputTest, AfterModeEmptyRectanglesAndAShrunkClientArea) {
    MemoryContext memory;
    probe.quiet.clear();
    probe.answers[WM_ERASEBKGND] = 1; // no background here
    View().deliverPaint(memory.hdc, true, {{0, 0}, {50, 50}});
    EXPECT_EQ(Only(probe.Take(), {WM_NCCALCSIZE, WM_NCPAINT, WM_PAINT}),
              (Log{"top 131 0", "top 15 " + std::to_string(reinterpret_cast<WPARAM>(memory.hdc)),
                   "top 133 1"}));
    View().deliverPaint(memory.hdc, false, {{20, 20}, {0.4, 30}});
    EXPECT_EQ(Only(probe.Take(), {WM_NCCALCSIZE, WM_NCPAINT, WM_PAINT}),
              (Log{"top 131 0", "top 133 1"}));

    // A 10-pixel frame: the paint is clipped to the client rectangle and its
    // rectangle moves into client coordinates.
    std::array<double, 4> clip{};
    RECT rcPaint{};
    probe.hook = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_NCCALCSIZE) {
            RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
            r = {r.left + 10, r.top + 10, r.right - 10, r.bottom - 10};
        }
        if (message == WM_PAINT) {
            cairo_clip_extents(WISP_GetCtxGC(reinterpret_cast<HDC>(wParam)), &clip[0], &clip[1],
                               &clip[2], &clip[3]);
            PAINTSTRUCT ps{};
            BeginPaint(window, &ps);
            rcPaint = ps.rcPaint;
        }
        return 0;
    };
    View().deliverPaint(memory.hdc, false, {{0, 0}, {300, 300}});
    EXPECT_EQ(clip, (std::array<double, 4>{0, 0, 280, 280}));
    EXPECT_EQ((std::array{rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom}),
              (std::array{10, 10, 280, 280}));
}

TEST_F(ViewInputTest, DialogBackgroundIsTheProceduresBrushOrTheDialogColourWhenOpaque) {
    HBRUSH red = CreateSolidBrush(0xFF0000);
    struct Case {
        const char* name;
        LRESULT brush;
        bool opaque;
        bool filled;
        bool red;
    };
    const Case cases[] = {
        {"brush, opaque", reinterpret_cast<LRESULT>(red), true, true, true},
        {"no brush, opaque", 0, true, true, false},
        {"answer 1, opaque", 1, true, true, false},
        {"no brush, not opaque", 0, false, false, false},
        {"brush, not opaque", reinterpret_cast<LRESULT>(red), false, false, false},
    };
    // A child view, so only its own opacity counts.
    auto* child =
        Wisp_vOmnarControl_hwnd::initChild(&resource, FindView(top), &WindowProbe::DialogProc, 0);
    ASSERT_NE(child, nullptr);
    for (const Case& c : cases) {
        MemoryContext memory;
        child->setOpaque(c.opaque);
        probe.answers[WM_CTLCOLORDLG] = c.brush;
        child->deliverPaint(memory.hdc, false, {{0, 0}, {40, 40}});
        const uint32_t pixel = memory.Pixel(5, 5);
        EXPECT_EQ(pixel != 0, c.filled) << c.name;
        if (c.red) {
            EXPECT_EQ(pixel, 0xFFFF0000u) << c.name;
        }
        EXPECT_EQ(memory.Pixel(100, 100), 0u) << c.name << ": outside the paint rectangle";
    }
    DeleteObject(red);
}

TEST_F(ViewInputTest, PressDoubleClickDragAndReleaseWithCapture) {
    LPARAM pressAt = 0;
    probe.hook = [&](HWND window, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
        if (message == WM_LBUTTONDOWN) {
            pressAt = lParam;
            SetCapture(window);
        }
        if (message == WM_LBUTTONUP)
            ReleaseCapture();
        return 0;
    };
    probe.quiet.erase(std::remove(probe.quiet.begin(), probe.quiet.end(), WM_MOUSEMOVE),
                      probe.quiet.end());
    ak::test::Press(*window, {10.4, 20.6});
    ak::test::Move(*window, {40, 50}, 1);
    ak::test::Release(*window, {40, 50});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return InOrder(probe.log, {"top 514 0"}); }))
        << ::testing::PrintToString(probe.log);
    EXPECT_TRUE(InOrder(probe.Take(), {"top 513 0", "top 512 0", "top 514 0"}));
    EXPECT_EQ(pressAt, 0x0015000A);

    // Input times far after the earlier ones, close to each other.
    ak::test::Click(*window, {60, 60}, {1, 0, 20000000});
    ak::test::Click(*window, {60, 60}, {1, 0, 20000100});
    ASSERT_TRUE(ak::test::PumpUntil([&] {
        return InOrder(probe.log, {"top 515 0", "top 514 0"});
    }));
    EXPECT_TRUE(InOrder(probe.Take(), {"top 513 0", "top 514 0", "top 515 0", "top 514 0"}));
}

TEST_F(ViewInputTest, NonClientHitsSendTheNonClientTwin) {
    probe.answers[WM_NCHITTEST] = 2;
    ak::test::Press(*window, {30, 30});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !probe.log.empty(); }));
    EXPECT_EQ(probe.Take().front(), "top 161 2");
    ak::test::Release(*window, {30, 30});
    EXPECT_TRUE(ak::test::WaitUntilServed());
}

TEST_F(ViewInputTest, ADestroyedViewAnswersMinusOneAndHearsNothing) {
    auto* child = Wisp_vOmnarControl_hwnd::initChild(
        nullptr, FindView(top), reinterpret_cast<DLGPROC>(&WindowProbe::Proc), 0);
    ak::Ref<ak::View> keep(child);
    probe.names[child->Handle()] = "child";
    DestroyWindow(child->Handle());
    probe.Take();
    ak::Event press;
    press.type = ak::EventType::LeftMouseDown;
    press.window = window;
    press.clickCount = 1;
    EXPECT_EQ(WISP_DispatchMouseMessage(child, WM_LBUTTONDOWN, press), -1);
    EXPECT_EQ(WISP_DispatchMouseMessage(nullptr, WM_LBUTTONDOWN, press), -1);
    EXPECT_TRUE(probe.Take().empty());
}

TEST_F(ViewInputTest, SuperClicksAreRightClicksUpToTheirReleaseAndDisabledViewsStillGetThem) {
    ak::test::Click(*window, {30, 30}, {1, Mod::Super, 30000000});
    ak::test::Click(*window, {30, 30}, {1, Mod::Super, 30000100});
    ASSERT_TRUE(ak::test::PumpUntil([&] {
        return Only(probe.log, {0x204, 0x205, 0x206, WM_LBUTTONUP}).size() >= 4;
    })) << ::testing::PrintToString(probe.log);
    EXPECT_EQ(Only(probe.Take(), {0x204, 0x205, 0x206, WM_LBUTTONUP}),
              (Log{"top 516 0", "top 517 0", "top 518 0", "top 517 0"}));

    EnableWindow(top, FALSE);
    probe.Take();
    ak::test::Press(*window, {30, 30}, {3});
    ak::test::Release(*window, {30, 30}, {3});
    ak::test::Press(*window, {30, 30}, {1, 0, 5000});
    ak::test::Release(*window, {30, 30});
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_EQ(Only(probe.Take(), {0x201, 0x202, 0x204, 0x205}), (Log{"top 516 0"}));
    EnableWindow(top, TRUE);
}

TEST_F(ViewInputTest, WheelStepsCarrySixtyPerLineAndNothingForNoDelta) {
    probe.quiet.push_back(WM_CONTEXTMENU);
    ak::test::Scroll(*window, {30, 30}, 0);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !Only(probe.log, {WM_MOUSEWHEEL}).empty(); }));
    const Log log = Only(probe.Take(), {WM_MOUSEWHEEL, WM_MOUSEHWHEEL});
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "top 522 " + std::to_string(WPARAM(60) << 16));
}

TEST_F(ViewInputTest, KeysReachTheProcedureAndSixtyNinePassesThemOn) {
    auto* child = Wisp_vOmnarControl_hwnd::initChild(
        nullptr, FindView(top), reinterpret_cast<DLGPROC>(&WindowProbe::Proc), 0);
    child->SetHidden(false);
    probe.names[child->Handle()] = "child";
    SetFocus(child->Handle());
    probe.Take();
    for (const LRESULT answer : {LRESULT(69), LRESULT(0)}) {
        probe.answers[WM_KEYDOWN] = answer;
        ak::test::Key(*window, 38, 0x61, true);
        ak::test::Key(*window, 38, 0x61, false);
        ASSERT_TRUE(ak::test::PumpUntil([&] { return InOrder(probe.log, {"child 257 65"}); }));
        ASSERT_TRUE(ak::test::WaitUntilServed());
        const Log log = probe.Take();
        EXPECT_TRUE(InOrder(log, {"child 256 65"})) << answer;
        // The parent hears the key only when the child passed it on.
        EXPECT_EQ(InOrder(log, {"top 256 65"}), answer == 69) << answer;
    }
}

TEST_F(ViewInputTest, PinchesAreZoomGesturesInTwoMessages) {
    std::vector<GESTUREINFO> gestures;
    std::vector<WPARAM> wParams;
    probe.hook = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_GESTURE) {
            gestures.push_back(*reinterpret_cast<const GESTUREINFO*>(lParam));
            wParams.push_back(wParam);
        }
        return 0;
    };
    ak::test::Pinch(*window, {30, 30}, 0, 1.0, 0);
    ak::test::Pinch(*window, {30, 30}, 1, 1.5, 0);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return gestures.size() >= 2; }));
    ASSERT_TRUE(ak::test::WaitUntilServed());
    ASSERT_EQ(gestures.size() % 2, 0u);
    const GESTUREINFO& begin = gestures[gestures.size() - 2];
    const GESTUREINFO& end = gestures.back();
    EXPECT_EQ(begin.cbSize, 56u);
    EXPECT_EQ(begin.dwID, GID_ZOOM);
    EXPECT_EQ(begin.dwFlags, GF_BEGIN);
    EXPECT_EQ(begin.ullArguments, 1024u);
    EXPECT_EQ(begin.hwndTarget, top);
    EXPECT_EQ(wParams[wParams.size() - 2], 0u);
    EXPECT_EQ(end.dwFlags, GF_END);
    EXPECT_EQ(end.ullArguments, 1536u);
    EXPECT_EQ(wParams.back(), 1536u);
}

} // namespace
} // namespace winlayer::test
