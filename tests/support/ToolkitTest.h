#pragma once

#include "tests/support/FakeDelegate.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/support/RunFrame.h"
#include "tests/support/TestClock.h"
#include "tests/support/TestControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vx::test {

// A delegate, a recording context and one log that test controls write to.
// The input functions go through the context's dispatcher, as the platform does.
class ToolkitTest : public ::testing::Test {
protected:
    enum class Mod { None, Shift, Control, Right, ShiftControl };

    static ui::IMouseMod Mouse(Mod mod) {
        ui::IMouseMod ms;
        ms.L = mod != Mod::Right;
        ms.R = mod == Mod::Right;
        ms.S = mod == Mod::Shift || mod == Mod::ShiftControl;
        ms.C = mod == Mod::Control || mod == Mod::ShiftControl;
        return ms;
    }
    void MouseDown(float x, float y, Mod mod = Mod::None) {
        canvas.OnMouseDown({ui::IMouseInfo{x, y, 0.f, 0.f, Mouse(mod)}});
    }
    void MouseDrag(float x, float y, float dX, float dY, Mod mod = Mod::None) {
        canvas.OnMouseDrag({ui::IMouseInfo{x, y, dX, dY, Mouse(mod)}});
    }
    void MouseUp(float x, float y, Mod mod = Mod::None) {
        canvas.OnMouseUp({ui::IMouseInfo{x, y, 0.f, 0.f, Mouse(mod)}});
    }
    void MouseWheel(float x, float y, float delta, Mod mod = Mod::None) {
        canvas.OnMouseWheel(x, y, Mouse(mod), delta);
    }
    void MouseDoubleClick(float x, float y, Mod mod = Mod::None) {
        canvas.OnMouseDoubleClick(x, y, Mouse(mod));
    }
    // Press, drag by (dX, dY) in one step and release there.
    void DragBy(float x, float y, float dX, float dY, Mod mod = Mod::None) {
        MouseDown(x, y, mod);
        MouseDrag(x + dX, y + dY, dX, dY, mod);
        MouseUp(x + dX, y + dY, mod);
    }

    TestControl* Add(const std::string& name, const ui::IRECT& r, int tag = -1,
                     const char* group = "", int paramIdx = -1) {
        return static_cast<TestControl*>(
            canvas.AddControl(new TestControl(log, name, r, paramIdx), tag, group));
    }
    // Log entries with the given event word, e.g. "draw".
    std::vector<std::string> Events(const std::string& event) const {
        std::vector<std::string> out;
        for (const std::string& entry : log)
            if (entry.find(" " + event) != std::string::npos)
                out.push_back(entry);
        return out;
    }
    static ui::IMouseInfoList At(float x, float y, bool right = false, int64_t touch = 0) {
        ui::IMouseInfo info{x, y, 0.f, 0.f, {}};
        info.ms.L = !right;
        info.ms.R = right;
        info.ms.touchID = touch;
        return {info};
    }
    static ui::IMouseInfoList Drag(float x, float y, float dX, float dY, int64_t touch = 0) {
        ui::IMouseInfo info{x, y, dX, dY, {}};
        info.ms.L = true;
        info.ms.touchID = touch;
        return {info};
    }

    FakeDelegate delegate;
    std::vector<std::string> log;
    RecordingCanvas canvas{delegate};
};

} // namespace vx::test
