// The effect pages' titles, all on one spot, each in its page's group.

#include "device/OmnarControl.h"
#include "pages/PageBuilder.h"
#include "pages/PageColumns.h"
#include "pages/PageNames.h"

using namespace omnar::pages;

namespace {

struct PageTitle {
    const char* text;
    const char* group;
    int tag;
    bool isLong;
};

// The punch filter is the mid band of the pre-mid arrangement: both say "MID FILTER".
constexpr PageTitle kPageTitles[] = {
    {"ANALOG SIM.", group::kAnalogSim, tag::kNone, false},
    {"GATE", group::kGate, tag::kNone, false},
    {"COMPRESSOR", group::kDynamics, tag::kCompressorTitle, false},
    {"IMPULSE RESPONSE", group::kIR, tag::kNone, true},
    {"AMBIENCE", group::kAmbience, tag::kNone, false},
    {"AMPLIFIER", group::kDrive, tag::kNone, false},
    {"BUZZ FILTER", group::kBuzzFilter, tag::kNone, false},
    {"MID FILTER", group::kPunchFilter, tag::kNone, false},
    {"CRUNCH FILTER", group::kCrunchFilter, tag::kNone, false},
    {"LOW FILTER", group::kLowFilter, tag::kNone, false},
    {"MID FILTER", group::kMidFilter, tag::kNone, false},
    {"HIGH FILTER", group::kHighFilter, tag::kNone, false},
    {"PRE-AMP", group::kPreamp, tag::kNone, false},
    {"GATE & MASTER LEVEL", group::kLevel, tag::kNone, true},
    {"AUTO FILTER", group::kAutoFilter, tag::kNone, false},
    {"CHORUS", group::kChorus, tag::kNone, false},
};

} // namespace

void OmnarControl::LayoutPageTitles(PageBuilder& builder) {
    for (const PageTitle& title : kPageTitles)
        builder.Text(title.isLong ? kLongTitleRect : kTitleRect, title.text,
                     builder.styles.pageTitle, title.tag, title.group);
}
