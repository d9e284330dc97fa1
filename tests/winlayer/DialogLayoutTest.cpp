// Placement of dialog controls, caption mnemonics and message-box buttons:
// the pure parts of the dialog controls.
#include "tests/winlayer/support/PreferencesDialogList.h"
#include "winlayer/ControlPlacement.h"
#include "winlayer/MessageBoxButtons.h"
#include "winlayer/Mnemonics.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace winlayer {
namespace {

// What the creators ask of the placement, per list type.
ControlFrame Place(ControlBuildParms& parms, const DialogControlListEntry& e) {
    const std::string_view type = e.type;
    if (type == "__WISP_COMBO")
        return ScaleControlRect(parms, e.x, e.y, e.w, 18, ShiftRequest::Shift, HeightUnit::Points);
    if (type == "__WISP_GROUP")
        return ScaleControlRect(parms, e.x, e.y - 1, e.w, e.h + 3, ShiftRequest::None);
    return ScaleControlRect(parms, e.x, e.y, e.w, e.h, ShiftRequest::Shift);
}

ControlBuildParms FlippedPreferences() {
    ControlBuildParms parms = FreshBuildParms(1.5, 1.5, 0, 0, false, 0);
    parms.scaleY = -parms.scaleY; // the dialog's view is top-down
    return parms;
}

TEST(DialogLayoutTest, PreferencesDialogControlsTakeTheirFrames) {
    ControlBuildParms parms = FlippedPreferences();
    for (const auto& placed : test::kPreferencesDialog) {
        SCOPED_TRACE(placed.entry.text ? placed.entry.text : "combo");
        const auto& f = placed.frame;
        EXPECT_EQ(Place(parms, placed.entry), (ControlFrame{f[0], f[1], f[2], f[3]}));
    }
}

TEST(DialogLayoutTest, OffsetsNegativeSizesAndParentsWithYUp) {
    ControlBuildParms parms = FreshBuildParms(2, 2, 5, 10, false, 0);
    parms.parentHeight = 300;
    // Offsets are dialog units; y up counts the same area from the top edge.
    EXPECT_EQ(ScaleControlRect(parms, 0, 0, 10, 5, ShiftRequest::None),
              (ControlFrame{10, 300 - 20 - 10, 20, 10}));
    parms.scaleY = -2;
    EXPECT_EQ(ScaleControlRect(parms, 0, 0, 10, 5, ShiftRequest::None),
              (ControlFrame{10, 20, 20, 10}));
    // Both sizes negative: points as they stand.
    EXPECT_EQ(ScaleControlRect(parms, -4, -6, -30, -40, ShiftRequest::Shift),
              (ControlFrame{4, 6, 30, 40}));
    // One negative size alone is scaled.
    EXPECT_EQ(ScaleControlRect(parms, 1, 1, -3, 4, ShiftRequest::None).width, -5);
}

TEST(DialogLayoutTest, AControlGrownPastItsPlanPushesTheNextOnItsRowOnly) {
    ControlBuildParms parms = FreshBuildParms(1, 1, 0, 0, true, 1);
    parms.scaleY = -1;
    const ControlFrame label = ScaleControlRect(parms, 10, 10, 60, 12, ShiftRequest::Shift);
    MeasureForAutoShift(parms, label.x + label.width + 20); // sized to fit: 20 wider
    const ControlFrame button = ScaleControlRect(parms, 80, 8, 50, 16, ShiftRequest::Shift);
    EXPECT_EQ(button.x, 100);
    MeasureForAutoShift(parms, button.x + button.width);
    // Next row: the row centre of the button is not inside it.
    const ControlFrame below = ScaleControlRect(parms, 80, 40, 50, 16, ShiftRequest::Shift);
    EXPECT_EQ(below.x, 80);
    // Without the flag nothing moves.
    ControlBuildParms still = FreshBuildParms(1, 1, 0, 0, false, 1);
    still.scaleY = -1;
    ScaleControlRect(still, 10, 10, 60, 12, ShiftRequest::Shift);
    MeasureForAutoShift(still, 90);
    EXPECT_EQ(ScaleControlRect(still, 80, 8, 50, 16, ShiftRequest::Shift).x, 80);
    // Far from the last right edge: no shift either.
    ControlBuildParms far = FreshBuildParms(1, 1, 0, 0, true, 1);
    far.scaleY = -1;
    ScaleControlRect(far, 10, 10, 60, 12, ShiftRequest::Shift);
    MeasureForAutoShift(far, 90);
    EXPECT_EQ(ScaleControlRect(far, 110, 8, 50, 16, ShiftRequest::Shift).x, 110);
}

TEST(DialogLayoutTest, CaptionsShowWithoutTheirMarkers) {
    ForgetMnemonicCaptions();
    struct Case {
        const char* caption;
        const char* shown;
        bool remembered;
    };
    const Case cases[] = {
        {"&File", "File", true},   {"Save && Quit", "Save & Quit", true},
        {"End&", "End", true},     {"&&&x", "&x", true},
        {"Plain", "Plain", false}, {"", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(StripMnemonics(c.caption), c.shown);
        const char* original = FindMnemonicOriginal(c.shown);
        if (c.remembered)
            EXPECT_STREQ(original, c.caption);
        else
            EXPECT_EQ(original, nullptr);
    }
    // Long captions are taken whole.
    const std::string longCaption(1024, '&');
    EXPECT_EQ(StripMnemonics(longCaption.c_str()), longCaption);
    EXPECT_EQ(StripMnemonics(nullptr), "");
}

TEST(DialogLayoutTest, TheOldestRememberedCaptionGoesAfter257) {
    ForgetMnemonicCaptions();
    for (int i = 0; i < 258; ++i)
        StripMnemonics(("&" + std::to_string(i)).c_str());
    EXPECT_EQ(FindMnemonicOriginal("0"), nullptr);
    EXPECT_STREQ(FindMnemonicOriginal("1"), "&1");
    EXPECT_STREQ(FindMnemonicOriginal("257"), "&257");
    ForgetMnemonicCaptions();
    EXPECT_EQ(FindMnemonicOriginal("257"), nullptr);
}

TEST(DialogLayoutTest, MessageBoxButtonSetsAndDefaults) {
    using V = std::vector<int>;
    struct Case {
        UINT flags;
        V plain;
    };
    // Ids in the order default, alternate, other.
    const Case cases[] = {
        {0, V{IDOK}},
        {0x100, V{IDOK}},
        {7, V{IDOK}},
        {1, V{IDOK, IDCANCEL}},
        {0x101, V{IDCANCEL, IDOK}},
        {0x201, V{IDOK, IDCANCEL}},
        {2, V{IDABORT, IDIGNORE, IDRETRY}},
        {0x102, V{IDRETRY, IDABORT, IDIGNORE}},
        {0x202, V{IDIGNORE, IDRETRY, IDABORT}},
        {0x302, V{IDIGNORE, IDRETRY, IDABORT}},
        {3, V{IDYES, IDCANCEL, IDNO}},
        {0x103, V{IDNO, IDYES, IDCANCEL}},
        {0x203, V{IDCANCEL, IDNO, IDYES}},
        {0x303, V{IDCANCEL, IDNO, IDYES}},
        {4, V{IDYES, IDNO}},
        {0x104, V{IDNO, IDYES}},
        {0x304, V{IDNO, IDYES}},
        {5, V{IDRETRY, IDCANCEL}},
        {0x105, V{IDCANCEL, IDRETRY}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(MessageBoxButtons(c.flags), c.plain);
    }
    EXPECT_STREQ(ButtonTitle(IDNO), "No");
    EXPECT_STREQ(ButtonTitle(IDOK), "OK");
}

} // namespace
} // namespace winlayer
