// The auto filter page and the chorus page, the last of the effect pages.

#include "pages/EffectPages.h"
#include "pages/PageBuilder.h"
#include "pages/PageColumns.h"
#include "pages/PageNames.h"

namespace omnar::pages {

namespace {

struct ChorusCell {
    const char* knobLabel;
    int param;
    const char* readout;
    int readoutTag;
    const char* unit;
    const char* caption;
};

// The five chorus parameters share one name; the captions tell them apart.
constexpr ChorusCell kChorusCells[] = {
    {"FREQUENCY", 67, "0.00", tag::kChorusFrequency, "Hz", "MOD. FREQ"},
    {"MOD. DEPTH", 68, "0.00", tag::kChorusDepth, "%", "MOD. DEPTH"},
    {"DELAY SIZE", 69, "0.00", tag::kChorusDelay, "%", "DELAY SIZE"},
    {"FEEDBACK", 70, "0", tag::kChorusFeedback, "%", "FEEDBACK"},
};

void AddSmallCell(PageBuilder& builder, float x, const ChorusCell& cell, const char* group) {
    const PageStyles& s = builder.styles;
    AddEffectKnob(builder, CellKnobRect(x), cell.param, cell.knobLabel, group);
    builder.Text(CellReadoutRect(x), cell.readout, s.value, cell.readoutTag, group);
    builder.Text(CellUnitRect(x), cell.unit, s.controlLabel, tag::kNone, group);
    builder.Text(CellCaptionRect(x), cell.caption, s.caption, tag::kNone, group);
}

} // namespace

void AddAutoFilterPage(PageBuilder& builder) {
    AddThreeColumns(builder, kUpperColumnTop,
                    {{"LEVEL", 61, "0.00", "%", tag::kAutoFilterLevel},
                     {"ATTACK", 62, "0.00", "%", tag::kAutoFilterAttack},
                     {"RELEASE", 63, "0.00", "%", tag::kAutoFilterRelease}},
                    group::kAutoFilter);
}

void AddChorusPage(PageBuilder& builder) {
    for (int i = 0; i < 4; ++i)
        AddSmallCell(builder, kSmallCellX[i], kChorusCells[i], group::kChorus);
    AddKnobColumn(builder, kThreeColumnX[1], kChorusLevelTop,
                  {"LEVEL", 66, "Bypass", "%", tag::kChorusLevel}, group::kChorus);
}

} // namespace omnar::pages
