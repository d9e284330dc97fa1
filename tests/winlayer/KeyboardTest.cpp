#include "winlayer/Keyboard.h"
#include "winlayer/CursorTracker.h"
#include "winlayer/Cursors.h"
#include "winlayer/WindowApi.h"

#include "platform/ak/Event.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace winlayer;
namespace Mod = ak::ModifierFlag;

TEST(KeyboardTest, EveryTableRowGivesItsVirtualKey) {
    struct Row {
        uint16_t code;
        int vk;
        bool extended;
    };
    const Row rows[] = {
        {51, 8, false},    {65, 110, false},  {67, 106, false},  {69, 107, false},
        {71, 144, false},  {75, 111, false},  {76, 13, true},    {78, 109, false},
        {81, 108, false},  {82, 96, false},   {83, 97, false},   {84, 98, false},
        {85, 99, false},   {86, 100, false},  {87, 101, false},  {88, 102, false},
        {89, 103, false},  {91, 104, false},  {92, 105, false},  {96, 116, false},
        {97, 117, false},  {98, 118, false},  {99, 114, false},  {100, 119, false},
        {101, 120, false}, {103, 122, false}, {105, 124, false}, {106, 127, false},
        {107, 125, false}, {109, 121, false}, {111, 123, false}, {113, 126, false},
        {114, 45, true},   {115, 36, true},   {116, 33, true},   {117, 46, true},
        {118, 115, false}, {119, 35, true},   {120, 113, false}, {121, 34, true},
        {122, 112, false}, {123, 37, true},   {124, 39, true},   {125, 40, true},
        {126, 38, true},
    };
    for (const Row& row : rows) {
        // Whatever the characters say, the key code decides.
        const KeyInput input{row.code, "x", "x", Mod::Shift};
        const TranslatedKey got = TranslateKey(input, true, 0, 0);
        EXPECT_EQ(got.key, row.vk) << row.code;
        EXPECT_EQ(got.flags, FVIRTKEY | FSHIFT | (row.extended ? FEXTENDED : 0)) << row.code;
    }
}

TEST(KeyboardTest, CharactersModifiersAndModes) {
    struct Case {
        const char* name;
        KeyInput input;
        bool emulation;
        int mode;
        char16_t layout;
        TranslatedKey expected;
    };
    const std::string backTab = "\x19";
    const Case cases[] = {
        {"return", {36, "\r", "\r", 0}, true, 0, 0, {13, FVIRTKEY}},
        {"shift+tab as back-tab", {48, backTab, backTab, Mod::Shift}, true, 0, 0, {9, 5}},
        {"back-tab without shift", {48, backTab, backTab, 0}, true, 0, 0, {25, FVIRTKEY}},
        {"command+a", {0, "a", "a", Mod::Command}, true, 0, 0, {'A', 9}},
        {"option+minus keeps the character",
         {27, "\xe2\x80\x93", "-", Mod::Option},
         true,
         0,
         0,
         {'-', FALT}},
        {"option+minus typed text in mode 1",
         {27, "\xe2\x80\x93", "-", Mod::Option},
         true,
         1,
         0,
         {0x2013, FALT}},
        {"digit", {18, "1", "1", 0}, true, 0, 0, {'1', FVIRTKEY}},
        {"escape", {53, "\x1b", "\x1b", 0}, true, 0, 0, {27, FVIRTKEY}},
        {"space", {49, " ", " ", 0}, true, 0, 0, {32, FVIRTKEY}},
        {"F13 by its character", {300, "", "\xef\x9c\x90", 0}, true, 0, 0, {124, FVIRTKEY}},
        {"F24 by its character", {301, "", "\xef\x9c\x9b", 0}, true, 0, 0, {135, FVIRTKEY}},
        {"F25 is a plain character", {302, "", "\xef\x9c\x9c", 0}, true, 0, 0, {0xF71C, 0}},
        {"control ignored with emulation", {0, "a", "a", Mod::Control}, true, 0, 0, {'A', 1}},
        {"control reported without emulation",
         {0, "a", "a", Mod::Control},
         false,
         0,
         0,
         {'A', FVIRTKEY | FWINCONTROL}},
        {"no text: code + 1024", {300, "", "", Mod::Option}, true, 0, 0, {1324, FVIRTKEY | FALT}},
        {"no text, mode 1, layout character",
         {10, "", "", Mod::Shift},
         true,
         1,
         u'<',
         {'<', FSHIFT}},
        {"no text, mode 1, no layout character", {10, "", "", 0}, true, 1, 0, {1034, FVIRTKEY}},
        {"mode 1 empty typed text uses the plain one",
         {0, "", "a", 0},
         true,
         1,
         0,
         {'A', FVIRTKEY}},
        {"latin-1 letter", {300, "\xc3\xa9", "\xc3\xa9", 0}, true, 0, 0, {0xE9, 0}},
        {"astral character: high surrogate",
         {300, "\xf0\x9f\x8e\xb8", "\xf0\x9f\x8e\xb8", 0},
         true,
         0,
         0,
         {0xD83C, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TranslateKey(c.input, c.emulation, c.mode, c.layout), c.expected) << c.name;
}

TEST(KeyboardTest, PublicCallTakesAnEvent) {
    ak::Event event;
    event.type = ak::EventType::KeyDown;
    event.keyCode = 126;
    int flags = -1;
    EXPECT_EQ(WISP_MacKeyToWindowsKey(&event, &flags), 38);
    EXPECT_EQ(flags, FVIRTKEY | FEXTENDED);
    flags = -1;
    EXPECT_EQ(WISP_MacKeyToWindowsKey(nullptr, &flags), 0);
    EXPECT_EQ(flags, -1);
    EXPECT_EQ(WISP_MacKeyToWindowsKeyEx(&event, nullptr, 0), 38);
}

TEST(KeyboardTest, ShiftedDigitsOfAUsKeyboard) {
    const int expected[] = {41, 33, 64, 35, 36, 37, 94, 38, 42, 40};
    for (int digit = 0; digit < 10; ++digit) {
        int newFlags = -1;
        EXPECT_EQ(WISP_KeyToASCII('0' + digit, 5, &newFlags), expected[digit]);
        EXPECT_EQ(newFlags, 0);
    }
    int untouched = -1;
    EXPECT_EQ(WISP_KeyToASCII('2', 1, &untouched), 0);
    EXPECT_EQ(WISP_KeyToASCII('A', 5, &untouched), 0);
    EXPECT_EQ(WISP_KeyToASCII('2', 5 | FCONTROL, &untouched), 0);
    EXPECT_EQ(untouched, -1);
}

class RecordingDesk : public CursorDesk {
public:
    ak::Point mouse{300.4, 200.6};
    std::vector<std::string> calls;
    ak::Point MouseLocation() override { return mouse; }
    void Hide() override { calls.push_back("hide"); }
    void Unhide() override { calls.push_back("unhide"); }
    bool Warp(ak::Point p) override {
        calls.push_back("warp " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)));
        mouse = p;
        return true;
    }
};

TEST(CursorTrackerTest, HidingNestsAndTheVirtualPositionMoves) {
    RecordingDesk desk;
    CursorTracker tracker(desk);
    EXPECT_EQ(tracker.Show(false), -1);
    EXPECT_EQ(tracker.Show(false), -2);
    EXPECT_EQ(tracker.Show(true), -1);
    EXPECT_FALSE(tracker.IsVisible());
    EXPECT_EQ(desk.calls, std::vector<std::string>{"hide"});
    EXPECT_EQ(tracker.Position().x, 300);
    EXPECT_EQ(tracker.Position().y, 201);
    // The pointer moved 15 right and 5 up from where it hid; it goes back.
    const ak::Point moved = tracker.Moved({315, 196});
    EXPECT_EQ(moved.x, 315);
    EXPECT_EQ(moved.y, 196);
    EXPECT_EQ(desk.calls.back(), "warp 300,201");
    EXPECT_TRUE(tracker.SetPosition({-40, 7}));
    EXPECT_EQ(desk.calls.size(), 2u);
    EXPECT_EQ(tracker.Show(true), 0);
    EXPECT_TRUE(tracker.IsVisible());
    EXPECT_EQ(desk.calls,
              (std::vector<std::string>{"hide", "warp 300,201", "unhide", "warp -40,7"}));
    EXPECT_EQ(tracker.Show(true), 1);
    EXPECT_EQ(desk.calls.size(), 4u);
}

TEST(CursorTrackerTest, MessagePosPacksXLowAndYHigh) {
    EXPECT_EQ(PackMessagePos(300, 200), 0x00C8012Cu);
    EXPECT_EQ(PackMessagePos(-2, 5), 0x0005FFFEu);
    EXPECT_EQ(PackMessagePos(0, -1), 0xFFFF0000u);
}

} // namespace
