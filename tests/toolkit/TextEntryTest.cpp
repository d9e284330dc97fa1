#include "tests/support/ToolkitTest.h"

#include "toolkit/IKeyPress.h"

#include <cstring>
#include <functional>
#include <string>

namespace {

using namespace vx::ui;
using vx::IKeyPress;
using vx::test::FakeDelegate;
using vx::test::RunFrame;
using vx::test::TestClock;
using vx::test::TestControl;
using vx::test::ToolkitTest;

constexpr IRECT kBox{100, 100, 200, 120};

IKeyPress Key(int vk, const char* text = "", bool shift = false, bool ctrl = false) {
    IKeyPress key;
    key.VK = vk;
    std::strncpy(key.utf8, text, sizeof(key.utf8) - 1);
    key.S = shift;
    key.C = ctrl;
    return key;
}

// Virtual-key codes the tests press.
enum : int {
    kBack = 8,
    kTab = 9,
    kReturn = 13,
    kEscape = 27,
    kPageUp = 33,
    kPageDown = 34,
    kEnd = 35,
    kHome = 36,
    kLeft = 37,
    kUp = 38,
    kRight = 39,
    kDown = 40,
    kInsert = 45,
    kDelete = 46,
};

class TextEntry : public ToolkitTest {
protected:
    void SetUp() override {
        canvas.AddTextEntryControl();
        entry = canvas.GetTextEntryControl();
        ASSERT_NE(entry, nullptr);
    }
    // Opens an edit of the control's first value slot (or of none with param -1).
    TestControl* Edit(const char* initial, int paramIdx = -1) {
        TestControl* c = Add("field", {100, 100, 200, 120}, -1, "", paramIdx);
        canvas.BeginTextEntry(c, IText(), kBox, initial, paramIdx >= 0 ? 0 : -1);
        return c;
    }
    bool Press(const IKeyPress& key) { return canvas.OnKeyDown(150, 110, key); }
    bool Press(int vk, const char* text = "", bool shift = false, bool ctrl = false) {
        return Press(Key(vk, text, shift, ctrl));
    }
    void Type(const char* chars) {
        for (const char* p = chars; *p; ++p) {
            const char text[2] = {*p, 0};
            Press(std::toupper(static_cast<unsigned char>(*p)), text);
        }
    }
    std::string Text() const { return entry->GetTextUtf8(); }
    int Cursor() const { return entry->GetEngine().Cursor(); }
    // An empty selection reads as the cursor position.
    std::pair<int, int> Selection() const {
        const TextEditEngine& e = entry->GetEngine();
        return e.HasSelection() ? std::make_pair(e.SelectionStart(), e.SelectionEnd())
                                : std::make_pair(e.Cursor(), e.Cursor());
    }

    ITextEntryControl* entry = nullptr;
};

TEST_F(TextEntry, KeysAreFilteredByTheEditedParameter) {
    struct Case {
        const char* what;
        int paramIdx;
        IKeyPress key;
        const char* text;
        bool handled;
    };
    const Case cases[] = {
        {"int refuses a letter", FakeDelegate::kCount, Key('A', "a"), "", false},
        {"int takes minus", FakeDelegate::kCount, Key(189, "-"), "-", true},
        {"int takes a digit", FakeDelegate::kCount, Key('7', "7"), "7", true},
        {"int refuses shift+1 giving !", FakeDelegate::kCount, Key('1', "!", true), "", false},
        {"int takes shift+1 giving +", FakeDelegate::kCount, Key('1', "+", true), "+", true},
        {"int takes a keypad digit", FakeDelegate::kCount, Key(101, "5"), "5", true},
        {"int refuses a point", FakeDelegate::kCount, Key(190, "."), "", false},
        {"int takes a space", FakeDelegate::kCount, Key(32, " "), " ", true},
        {"enum takes a digit", FakeDelegate::kRoom, Key('2', "2"), "2", true},
        {"double takes a point", FakeDelegate::kGain, Key(190, "."), ".", true},
        {"double refuses a letter", FakeDelegate::kGain, Key('E', "e"), "", false},
        {"no parameter takes a letter", -1, Key('A', "a"), "a", true},
        {"no parameter takes a non-ASCII letter", -1, Key(0, "\xC3\xA9"), "\xC3\xA9", true},
        {"control suppresses text", -1, Key('Q', "q", false, true), "", false},
        {"a key without text inserts nothing", -1, Key(112), "", false},
        {"tab is not handled", -1, Key(kTab, "\t"), "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit("", c.paramIdx);
        EXPECT_EQ(Press(c.key), c.handled);
        EXPECT_EQ(Text(), c.text);
        EXPECT_TRUE(entry->IsEditing());
    }
}

TEST_F(TextEntry, EditingKeysMoveSelectAndDelete) {
    struct Case {
        const char* what;
        const char* start;
        std::vector<IKeyPress> keys;
        const char* text;
        int cursor;
        std::pair<int, int> selection;
    };
    const Case cases[] = {
        {"end leaves the selection", "abc", {Key(kEnd)}, "abc", 3, {3, 3}},
        {"backspace", "abc", {Key(kHome), Key(kRight), Key(kRight), Key(kBack)}, "ac", 1, {1, 1}},
        {"delete", "abc", {Key(kHome), Key(kDelete)}, "bc", 0, {0, 0}},
        {"typing replaces the selection", "abc", {Key('X', "x")}, "x", 1, {1, 1}},
        {"up acts as left", "abc", {Key(kEnd), Key(kUp)}, "abc", 2, {2, 2}},
        {"down acts as right", "abc", {Key(kHome), Key(kDown)}, "abc", 1, {1, 1}},
        {"page keys change nothing", "abc", {Key(kPageUp), Key(kPageDown)}, "abc", 0, {0, 3}},
        {"shift extends",
         "abc",
         {Key(kEnd), Key(kLeft, "", true), Key(kLeft, "", true)},
         "abc",
         1,
         {1, 3}},
        {"control moves by word",
         "abc def",
         {Key(kEnd), Key(kLeft, "", false, true)},
         "abc def",
         4,
         {4, 4}},
        {"control+A selects all", "abc", {Key(kEnd), Key('A', "a", false, true)}, "abc", 3, {0, 3}},
        {"undo", "abc", {Key(kEnd), Key('X', "x"), Key('Z', "z", false, true)}, "abc", 3, {3, 3}},
        {"redo",
         "abc",
         {Key(kEnd), Key('X', "x"), Key('Z', "z", false, true), Key('Z', "Z", true, true)},
         "abcx",
         4,
         {4, 4}},
        {"undo leaves no selection past the end",
         "abc",
         {Key(kEnd), Key('X', "x"), Key('Y', "y"), Key('Z', "z"), Key(kLeft, "", true),
          Key('Z', "z", false, true), Key('Z', "z", false, true), Key(kLeft), Key('Q', "q")},
         "abcqx",
         4,
         {4, 4}},
        // Last: the overwrite mode stays with the control.
        {"insert toggles overwrite",
         "abc",
         {Key(kHome), Key(kInsert), Key('X', "x")},
         "xbc",
         1,
         {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit(c.start);
        for (const IKeyPress& key : c.keys)
            Press(key);
        EXPECT_EQ(Text(), c.text);
        EXPECT_EQ(Cursor(), c.cursor);
        EXPECT_EQ(Selection(), c.selection);
    }
}

TEST_F(TextEntry, PageKeysAndTabAreNotHandled) {
    Edit("abc");
    EXPECT_FALSE(Press(kPageUp));
    EXPECT_FALSE(Press(kPageDown));
    EXPECT_FALSE(Press(kTab, "\t"));
    EXPECT_EQ(Selection(), std::make_pair(0, 3));
}

TEST_F(TextEntry, StartEditSelectsAllWithTheCursorAtZero) {
    TestControl* knob = Add("knob", {0, 0, 50, 50}, -1, "", FakeDelegate::kGain);
    knob->SetTextEntryDisabled(false);
    knob->OpenValueEntry(0);
    ASSERT_TRUE(entry->IsEditing());
    EXPECT_EQ(Text(), "25.0");
    EXPECT_EQ(Selection(), std::make_pair(0, 4));
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(canvas.GetControlInTextEntry(), knob);
}

TEST_F(TextEntry, ReturnAppliesTheTypedValueAndEscapeLeavesIt) {
    TestControl* knob = Add("knob", {0, 0, 50, 50}, -1, "", FakeDelegate::kGain);
    knob->SetTextEntryDisabled(false);

    knob->OpenValueEntry(0);
    Type("50");
    EXPECT_TRUE(Press(kReturn));
    EXPECT_FALSE(entry->IsEditing());
    EXPECT_EQ(canvas.GetControlInTextEntry(), nullptr);
    EXPECT_DOUBLE_EQ(delegate.GetParam(FakeDelegate::kGain)->CurrentValue(), 50.0);
    EXPECT_EQ(entry->GetRECT(), IRECT());

    delegate.log.clear();
    knob->OpenValueEntry(0);
    Type("75");
    EXPECT_TRUE(Press(kEscape));
    EXPECT_FALSE(entry->IsEditing());
    EXPECT_EQ(canvas.GetControlInTextEntry(), nullptr);
    EXPECT_DOUBLE_EQ(delegate.GetParam(FakeDelegate::kGain)->CurrentValue(), 50.0);
    EXPECT_TRUE(delegate.log.empty());
}

TEST_F(TextEntry, AClickOutsideCommitsWithEitherButton) {
    for (const bool right : {false, true}) {
        SCOPED_TRACE(right ? "right" : "left");
        TestControl* knob = Add("knob", {0, 0, 50, 50}, -1, "", FakeDelegate::kCount);
        knob->SetTextEntryDisabled(false);
        knob->OpenValueEntry(0);
        Type(right ? "7" : "4");
        canvas.OnMouseDown(At(300, 250, right));
        canvas.OnMouseUp(At(300, 250, right));
        EXPECT_FALSE(entry->IsEditing());
        EXPECT_DOUBLE_EQ(delegate.GetParam(FakeDelegate::kCount)->CurrentValue(), right ? 7 : 4);
        EXPECT_TRUE(Events("down").empty()) << "the click must not reach the control beneath";
        canvas.RemoveControl(knob);
    }
}

TEST_F(TextEntry, MouseSelectsAndDoubleClickSelectsAllKeepingTheCursor) {
    Edit("abcd"); // centred: 4 x 7 wide in 100..200, so x0 = 136
    canvas.OnMouseDown(At(144, 110));
    EXPECT_EQ(Cursor(), 1);
    EXPECT_EQ(Selection(), std::make_pair(1, 1));
    canvas.OnMouseDrag(Drag(158, 110, 14, 0));
    canvas.OnMouseUp(At(158, 110));
    EXPECT_EQ(Selection(), std::make_pair(1, 3));
    EXPECT_EQ(Cursor(), 3);
    canvas.OnMouseDoubleClick(150, 110, {});
    EXPECT_EQ(Selection(), std::make_pair(0, 4));
    EXPECT_EQ(Cursor(), 3);
}

TEST_F(TextEntry, ClipboardCutCopyAndPasteWithUndo) {
    Edit("hello");
    canvas.clipboard.SetBounded("xy");
    Press('V', "v", false, true); // over the whole selection
    EXPECT_EQ(Text(), "xy");
    EXPECT_EQ(Cursor(), 2);
    Press('Z', "z", false, true);
    Press('Z', "z", false, true);
    EXPECT_EQ(Text(), "hello");
    Press('Z', "Z", true, true);
    Press('Z', "Z", true, true);
    EXPECT_EQ(Text(), "xy");

    Edit("hello");
    Press(kEnd);
    Press(kLeft, "", true);
    Press(kLeft, "", true);
    Press('C', "c", false, true);
    EXPECT_STREQ(canvas.clipboard.Get(), "lo");
    EXPECT_EQ(Text(), "hello");
    canvas.clipboard.SetBounded("");
    Press('X', "x", false, true);
    EXPECT_STREQ(canvas.clipboard.Get(), "lo");
    EXPECT_EQ(Text(), "hel");
}

TEST_F(TextEntry, PastedTextIsOneLineAndAFailedReadChangesNothing) {
    struct Case {
        const char* clipboard;
        const char* text;
    };
    const Case cases[] = {
        {"a\r\nb\tc", "a  b c"},
        {"\xFFok", "\xEF\xBF\xBDok"}, // invalid UTF-8 becomes U+FFFD
        {"", "keep"},                 // the recording clipboard reports an empty read as failed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard);
        Edit("keep");
        canvas.clipboard.SetBounded(c.clipboard);
        Press('V', "v", false, true);
        EXPECT_EQ(Text(), c.text);
    }
}

// An edit's rule changes or refuses what goes in and stops it at its length,
// for keys and pastes alike; the next edit starts without it.
TEST_F(TextEntry, TheEditsRuleConformsAndLimitsWhatGoesIn) {
    // Upper case only, digits refused, at most five characters.
    const ITextEntryControl::Rule rule{[](std::u32string_view typed) {
                                           std::u32string in;
                                           for (char32_t c : typed)
                                               if (c < U'0' || c > U'9')
                                                   in += c >= U'a' && c <= U'z' ? char32_t(c - 32)
                                                                                : c;
                                           return in;
                                       },
                                       5};
    struct Case {
        const char* what;
        const char* start;
        std::function<void()> input;
        const char* text;
    };
    const Case cases[] = {
        {"keys changed and refused", "", [&] { Type("a1b2c"); }, "ABC"},
        {"keys stop at the length", "", [&] { Type("abcdefg"); }, "ABCDE"},
        {"a key over the selection at the length", "abcde", [&] { Type("x"); }, "X"},
        {"a paste cut to the room left", "ab",
         [&] {
             Press(kEnd);
             canvas.clipboard.SetBounded("x9yz");
             Press('V', "v", false, true);
         },
         "abXYZ"},
        {"a paste of nothing allowed keeps the selection", "ab",
         [&] {
             canvas.clipboard.SetBounded("123");
             Press('V', "v", false, true);
         },
         "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit(c.start); // all of it selected
        entry->SetRule(rule);
        c.input();
        EXPECT_EQ(Text(), c.text);
    }
    Edit("");
    Type("a1b2c3d4");
    EXPECT_EQ(Text(), "a1b2c3d4") << "the rule outlived its edit";
}

TEST_F(TextEntry, UndoAfterStartingWithAShorterTextHasNothingToUndo) {
    Edit("a much longer first text");
    Press(kEnd);
    Type("xyz");
    Press(kReturn);
    Edit("ab");
    Press('Z', "z", false, true); // nothing to undo: the old text's history is gone
    EXPECT_EQ(Text(), "ab");
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(Selection(), std::make_pair(0, 2));
    Press(kEnd);
    Press(kBack);
    Press('Z', "z", false, true);
    EXPECT_EQ(Text(), "ab");
}

TEST_F(TextEntry, InvalidUtf8StartTextBecomesReplacementCharacters) {
    Edit("\xC3(\xFF");
    EXPECT_EQ(Text(), "\xEF\xBF\xBD(\xEF\xBF\xBD");
    EXPECT_EQ(entry->GetEngine().Length(), 3);
}

TEST_F(TextEntry, ACharacterOutsideTheBmpIsOneCharacter) {
    Edit("");
    canvas.clipboard.SetBounded("a\xF0\x9F\x98\x80"
                                "b");
    Press('V', "v", false, true);
    EXPECT_EQ(entry->GetEngine().Length(), 3);
    // Measured as its four UTF-8 bytes by the recording back end: 4 x 7.
    EXPECT_FLOAT_EQ(entry->GetEngine().WidthBefore(2) - entry->GetEngine().WidthBefore(1), 28.f);
    Press(kHome);
    Press(kRight);
    Press(kRight);
    EXPECT_EQ(Cursor(), 2);
    Press(kBack);
    EXPECT_EQ(Text(), "ab");
    Press('Z', "z", false, true);
    EXPECT_EQ(Text(), "a\xF0\x9F\x98\x80"
                      "b");
}

TEST_F(TextEntry, WidthsCountKerningWithThePreviousCharacter) {
    canvas.kerningPair = "AV";
    canvas.kerningAdjust = 2.f;
    Edit("AVA");
    const TextEditEngine& engine = entry->GetEngine();
    EXPECT_FLOAT_EQ(engine.CharWidth(0), 7.f);
    EXPECT_FLOAT_EQ(engine.CharWidth(1), 5.f);
    EXPECT_FLOAT_EQ(engine.CharWidth(2), 7.f);
}

TEST_F(TextEntry, DrawsSelectionThenCaretBlinkingOnTheClock) {
    TestClock clock;
    Edit("ab"); // centred: x0 = 150 - 7 = 143
    canvas.ClearCalls();
    RunFrame(canvas);
    // Selection over both characters at weight 0.2, no caret while selected.
    const auto fills = canvas.CallsStartingWith("FillRect");
    EXPECT_NE(
        std::find(fills.begin(), fills.end(), "FillRect 255,0,0,0 143,104.4,157,115.6 b(0,0.2)"),
        fills.end());

    Press(kEnd); // cursor at 2, x = 157
    const std::string caret = "FillRect 255,0,0,0 156,104.4,157,115.6 -";
    auto caretDrawn = [&] {
        canvas.ClearCalls();
        RunFrame(canvas);
        const auto calls = canvas.CallsStartingWith("FillRect");
        return std::find(calls.begin(), calls.end(), caret) != calls.end();
    };
    struct Step {
        double advanceMs;
        bool visible;
    };
    // The blink started with the edit: 500 ms on, 500 ms off, then on again.
    clock.Advance(1);
    EXPECT_TRUE(caretDrawn());
    for (const Step& s : {Step{400, true}, Step{200, false}, Step{300, false}, Step{200, true},
                          Step{400, true}, Step{200, false}}) {
        clock.Advance(s.advanceMs);
        RunFrame(canvas);
        EXPECT_EQ(entry->IsCaretVisible(), s.visible) << "after " << clock.Now();
    }
}

TEST_F(TextEntry, TheEditMenuCutsCopiesAndPastesThroughThePopup) {
    canvas.AddPopupMenuControl(IText(), IRECT());
    IPopupMenuControl* popup = canvas.GetPopupMenuControl();
    Edit("hello");
    canvas.OnMouseDown(At(150, 110, true));
    canvas.OnMouseUp(At(150, 110, true));
    ASSERT_TRUE(popup->IsExpanded());
    const IPopupMenuControl::MenuPanel* panel = popup->GetPanel(0);
    ASSERT_EQ(panel->NCells(), 3);
    const IRECT copy = panel->cells[1];
    canvas.OnMouseDown(At(copy.MW(), copy.MH()));
    EXPECT_STREQ(canvas.clipboard.Get(), "hello");
    EXPECT_TRUE(entry->IsEditing());
}

TEST_F(TextEntry, TheEditMenuOfARemovedEntryIsNeverCalled) {
    canvas.AddPopupMenuControl(IText(), IRECT());
    IPopupMenuControl* popup = canvas.GetPopupMenuControl();
    Edit("hello");
    canvas.OnMouseDown(At(150, 110, true));
    ASSERT_TRUE(popup->IsExpanded());
    const IRECT cut = popup->GetPanel(0)->cells[0];

    canvas.RemoveTextEntryControl(); // while its menu is open
    EXPECT_FALSE(popup->IsExpanded());
    canvas.OnMouseDown(At(cut.MW(), cut.MH()));
    canvas.OnMouseUp(At(cut.MW(), cut.MH()));

    canvas.AddTextEntryControl();
    entry = canvas.GetTextEntryControl();
    Edit("again");
    canvas.OnMouseDown(At(150, 110, true));
    ASSERT_TRUE(popup->IsExpanded());
    canvas.OnMouseDown(At(cut.MW(), cut.MH()));
    EXPECT_STREQ(canvas.clipboard.Get(), "again");
    EXPECT_EQ(Text(), "");
}

} // namespace
