#include "controls/IInvisibleSelectControl.h"
#include "tests/controls/ControlsTest.h"
#include "toolkit/IKeyPress.h"

#include <algorithm>

namespace vx::test {
namespace {

using Area = ui::IInvisibleSelectControl3;

class GestureAreaTest : public ControlsTest {
protected:
    void SetUp() override {
        midi = AddMidi();
        area = Attach(new Area(midi, 0, {0, 100, 100, 300}));
    }
    int Kind() const {
        int kind = -1;
        area->GetGestureKind(kind);
        return kind;
    }
    int Modifier() const {
        int code = -1;
        area->GetGestureModifier(code);
        return code;
    }
    size_t Sets() const {
        return size_t(std::count_if(delegate.log.begin(), delegate.log.end(),
                                    [](const std::string& e) { return e.rfind("set ", 0) == 0; }));
    }

    int midi = -1;
    Area* area = nullptr;
};

TEST_F(GestureAreaTest, ValueSaysWhereAndKindSaysWhat) {
    struct Step {
        const char* what;
        std::function<void()> act;
        double value;
        int kind;
    };
    const Step steps[] = {
        {"press mid-height", [&] { MouseDown(50, 200); }, 0.5, Area::kMouseDown},
        {"drag down", [&] { MouseDrag(50, 150, 0, 4); }, 0.25, Area::kDrag},
        {"release below, captured", [&] { MouseUp(50, 400); }, 1.0, Area::kMouseUp},
        {"press", [&] { MouseDown(50, 120); }, 0.1, Area::kMouseDown},
        {"release above", [&] { MouseUp(50, 20); }, 0.0, Area::kMouseUp},
        {"double click", [&] { MouseDoubleClick(50, 150); }, 0.25, Area::kDoubleClick},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_NEAR(area->GetValue(), s.value, 1e-12) << s.what;
        EXPECT_EQ(Kind(), s.kind) << s.what;
        EXPECT_NEAR(Param(midi).CurrentValue(), std::round(s.value * 127.0), 1e-9) << s.what;
    }
    EXPECT_FALSE(canvas.ControlIsCaptured());
}

TEST_F(GestureAreaTest, WheelRecordsModifierAndDirection) {
    struct Case {
        float delta;
        Mod mod;
        int modifier;
        bool positive;
    };
    const Case cases[] = {{1.f, Mod::Shift, Area::kShift, true},
                          {-1.f, Mod::Control, Area::kControl, false},
                          {2.f, Mod::ShiftControl, Area::kShift, true},
                          {-0.5f, Mod::None, Area::kNoModifier, false}};
    for (const Case& c : cases) {
        delegate.log.clear();
        MouseWheel(50, 150, c.delta, c.mod);
        EXPECT_EQ(Kind(), Area::kWheel);
        EXPECT_EQ(Modifier(), c.modifier) << c.delta;
        EXPECT_EQ(area->GetGestureDirection(), c.positive) << c.delta;
        EXPECT_EQ(Sets(), 1u);
    }
}

TEST_F(GestureAreaTest, SidewaysScrollReachesNoParameter) {
    MouseWheel(50, 150, 1.f);
    delegate.log.clear();
    MouseWheel(50, 250, 0.f, Mod::Shift);
    EXPECT_EQ(Kind(), Area::kWheel);
    EXPECT_EQ(Modifier(), Area::kShift);
    EXPECT_FALSE(area->GetGestureDirection());
    EXPECT_EQ(Sets(), 0u);
    EXPECT_NEAR(area->GetValue(), 0.25, 1e-12);
}

TEST_F(GestureAreaTest, RightClickOpensNothing) {
    MouseDown(50, 150, Mod::Right);
    MouseUp(50, 150, Mod::Right);
    EXPECT_TRUE(canvas.CallsStartingWith("ShowNative").empty());
    EXPECT_EQ(canvas.GetControlInTextEntry(), nullptr);
}

TEST_F(GestureAreaTest, KeysSetTheirCodesAndPassOn) {
    struct Case {
        int vk, modifier;
    };
    MouseDown(50, 150, Mod::Control);
    for (const Case& c :
         {Case{0, Area::kKeyCode0}, Case{65, Area::kKeyCode0}, Case{1, Area::kKeyCode1}}) {
        IKeyPress key;
        key.VK = c.vk;
        EXPECT_FALSE(area->OnKeyDown(50, 150, key));
        EXPECT_EQ(Modifier(), c.modifier) << c.vk;
    }
    EXPECT_EQ(Kind(), Area::kMouseDown);
}

TEST_F(GestureAreaTest, AreasWithoutExtentKeepTheValue) {
    auto* flat = Attach(new Area(midi, 0, {200, 100, 300, 100}));
    auto* thin = Attach(new ui::IInvisibleSelectControl2(midi, 1, {200, 200, 200, 300}));
    flat->SetValue(0.4);
    thin->SetValue(0.6);
    delegate.log.clear();
    for (ui::IControl* c : {static_cast<ui::IControl*>(flat), static_cast<ui::IControl*>(thin)}) {
        c->OnMouseDown(200, 100, {});
        c->OnMouseUp(200, 100, {});
    }
    flat->OnMouseWheel(200, 100, {}, 1.f);
    EXPECT_EQ(flat->GetValue(), 0.4);
    EXPECT_EQ(thin->GetValue(), 0.6);
    EXPECT_EQ(Sets(), 0u);
}

TEST_F(GestureAreaTest, SimplerAreaSetsTheValueOnRelease) {
    auto* row = Attach(new ui::IInvisibleSelectControl2(midi, 1, {200, 0, 400, 50}));
    int kind = -1;
    MouseDown(250, 10);
    row->GetGestureKind(kind);
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(row->GetValue(), 0.0);
    MouseDrag(300, 10, 50, 0);
    row->GetGestureKind(kind);
    EXPECT_EQ(kind, 2);
    MouseUp(350, 10);
    row->GetGestureKind(kind);
    EXPECT_EQ(kind, 1);
    EXPECT_NEAR(row->GetValue(), 0.75, 1e-12) << "x follows the horizontal axis";
}

} // namespace
} // namespace vx::test
