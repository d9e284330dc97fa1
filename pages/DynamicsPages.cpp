// The analog simulation page, the gate and master level page and the three
// dynamics pages (compressor, expander, gate), which share one layout.

#include "controls/IVSwitchControls.h"
#include "pages/EffectPages.h"
#include "pages/PageBuilder.h"
#include "pages/PageColumns.h"
#include "pages/PageNames.h"

namespace omnar::pages {

namespace {

// One piece of a small knob cell, in the order the dynamics pages create them.
enum class Piece { Knob, Readout, Unit, Caption };
struct CellPiece {
    Piece piece;
    int cell; // 0..3, left to right
    const char* text;
    int param;
    int tag;
    const char* group;
};

// The three RATIO knobs lie on one spot, each in its own group, over one
// shared caption; the gate's ratio has no readout.
constexpr CellPiece kDynamicsCells[] = {
    {Piece::Knob, 0, "RATIO", 25, tag::kNone, group::kCompressor},
    {Piece::Knob, 0, "RATIO", 29, tag::kNone, group::kExpander},
    {Piece::Knob, 0, "RATIO", 37, tag::kNone, group::kGate},
    {Piece::Readout, 0, "1:1", -1, tag::kCompressorRatio, group::kCompressor},
    {Piece::Readout, 0, "1:1", -1, tag::kExpanderRatio, group::kExpander},
    {Piece::Caption, 0, "RATIO", -1, tag::kNone, group::kDynamics},
    {Piece::Knob, 1, "OUTPUT GAIN", 26, tag::kNone, group::kCompressor},
    {Piece::Readout, 1, "0.00", -1, tag::kCompressorOutputGain, group::kCompressor},
    {Piece::Unit, 1, "dB", -1, tag::kNone, group::kDynamics},
    {Piece::Caption, 1, "OUTPUT GAIN", -1, tag::kNone, group::kDynamics},
    {Piece::Knob, 2, "ATTACK", 27, tag::kNone, group::kCompressor},
    {Piece::Readout, 2, "5", -1, tag::kCompressorAttack, group::kCompressor},
    {Piece::Unit, 2, "ms", -1, tag::kNone, group::kDynamics},
    {Piece::Caption, 2, "ATTACK", -1, tag::kNone, group::kDynamics},
    {Piece::Knob, 3, "RELEASE", 28, tag::kNone, group::kCompressor},
    {Piece::Readout, 3, "50", -1, tag::kCompressorRelease, group::kCompressor},
    {Piece::Unit, 3, "ms", -1, tag::kNone, group::kDynamics},
    {Piece::Caption, 3, "RELEASE", -1, tag::kNone, group::kDynamics},
};

void AddCellPiece(PageBuilder& builder, const CellPiece& p) {
    const PageStyles& s = builder.styles;
    const float x = kSmallCellX[p.cell];
    switch (p.piece) {
    case Piece::Knob:
        AddEffectKnob(builder, CellKnobRect(x), p.param, p.text, p.group);
        break;
    case Piece::Readout:
        builder.Text(CellReadoutRect(x), p.text, s.value, p.tag, p.group);
        break;
    case Piece::Unit:
        builder.Text(CellUnitRect(x), p.text, s.controlLabel, p.tag, p.group);
        break;
    case Piece::Caption:
        builder.Text(CellCaptionRect(x), p.text, s.caption, p.tag, p.group);
        break;
    }
}

// The knob style with full rounding, so the switch draws neither label nor value.
void AddSlideSwitch(PageBuilder& builder, const vx::ui::IRECT& bounds, int param, const char* label,
                    const vx::ui::IRECT& captionRect) {
    vx::ui::IVStyle style = builder.styles.knob;
    style.roundness = 1.f;
    builder.Attach(new vx::ui::IVSlideSwitchControl(bounds, param, label, style, true,
                                                    vx::ui::EDirection::Horizontal),
                   tag::kNone, group::kDynamics);
    builder.Text(captionRect, label, builder.styles.caption, tag::kNone, group::kDynamics);
}

} // namespace

void AddAnalogSimPage(PageBuilder& builder) {
    // The caption's text follows the knob, so it carries a tag too.
    AddKnobColumn(
        builder, kThreeColumnX[1], kUpperColumnTop,
        {"SMOOTHING", 15, "Bypass", "%", tag::kAnalogSimReadout, "FILTER", tag::kAnalogSimCaption},
        group::kAnalogSim);
}

void AddLevelPage(PageBuilder& builder) {
    // The unit under RATIO is one blank.
    AddThreeColumns(builder, kUpperColumnTop,
                    {{"THRESHOLD", 9, "0.00", "dB", tag::kGateThreshold},
                     {"RATIO", 37, "1:1", " ", tag::kGateRatio},
                     {"RELEASE", 39, "50", "ms", tag::kGateRelease}},
                    group::kLevel);
    // The master level's knob is the front panel's large one.
    builder.Text({605, 1040, 855, 1100}, "0%", builder.styles.largeValue, tag::kMasterLevel,
                 group::kLevel);
    builder.Text({605, 1100, 855, 1130}, "MAIN LEVEL", builder.styles.caption, tag::kNone,
                 group::kLevel);
}

void AddDynamicsPages(PageBuilder& builder) {
    for (const CellPiece& piece : kDynamicsCells)
        AddCellPiece(builder, piece);
    AddSlideSwitch(builder, {495, 940, 575, 980}, 50, "AUTO GAIN", {475, 990, 595, 1020});
    AddSlideSwitch(builder, {855, 940, 935, 980}, 51, "LOOKAHEAD", {835, 990, 955, 1020});
    // The threshold is set on the front panel; this shows it.
    builder.Text({595, 930, 845, 990}, "Bypass", builder.styles.largeValue, tag::kDynamicsThreshold,
                 group::kDynamics);
    builder.Text({595, 990, 845, 1020}, "THRESHOLD", builder.styles.caption, tag::kNone,
                 group::kDynamics);
}

} // namespace omnar::pages
