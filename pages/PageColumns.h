#pragma once

#include "toolkit/IRECT.h"

namespace omnar::pages {

class PageBuilder;

// A knob column of the effect pages, top to bottom: caption, knob, the
// readout inside the knob's circle, unit. The knob draws only its arcs.
struct KnobColumn {
    const char* caption;
    int param;
    const char* readout; // the readout's first text
    const char* unit;
    int readoutTag;
    const char* knobLabel = nullptr; // not drawn; the caption when none is given
    int captionTag = -1;
};

// Tops of the columns: the ambience, amplifier and pre-amp pages; the other
// effect pages; the chorus page's level knob.
inline constexpr float kLargeColumnTop = 850.f;
inline constexpr float kUpperColumnTop = 780.f;
inline constexpr float kChorusLevelTop = 920.f;
inline constexpr float kColumnWidth = 200.f;

// A column is 200 wide; its parts lie at fixed offsets below its top.
inline vx::ui::IRECT ColumnCaptionRect(float x, float top) {
    return {x, top, x + 200, top + 30};
}
inline vx::ui::IRECT ColumnKnobRect(float x, float top) {
    return {x, top + 40, x + 200, top + 240};
}
inline vx::ui::IRECT ColumnReadoutRect(float x, float top) {
    return {x, top + 115, x + 200, top + 155};
}
inline vx::ui::IRECT ColumnUnitRect(float x, float top) {
    return {x, top + 190, x + 200, top + 224};
}

void AddKnobColumn(PageBuilder& builder, float x, float top, const KnobColumn& column,
                   const char* group);

// Most pages set three columns side by side at these places.
inline constexpr float kThreeColumnX[] = {380.f, 630.f, 880.f};
void AddThreeColumns(PageBuilder& builder, float top, const KnobColumn (&columns)[3],
                     const char* group);

// The small knob cells of the dynamics and chorus pages, 120 wide.
inline constexpr float kSmallCellX[] = {395.f, 575.f, 755.f, 935.f};
inline vx::ui::IRECT CellKnobRect(float x) {
    return {x, 750, x + 120, 870};
}
inline vx::ui::IRECT CellReadoutRect(float x) {
    return {x, 795, x + 120, 825};
}
inline vx::ui::IRECT CellUnitRect(float x) {
    return {x, 840, x + 120, 870};
}
inline vx::ui::IRECT CellCaptionRect(float x) {
    return {x, 870, x + 120, 900};
}

// The knob every effect page uses, in the knob style.
void AddEffectKnob(PageBuilder& builder, const vx::ui::IRECT& bounds, int param, const char* label,
                   const char* group, int tag = -1);

// The page titles' place; two titles need the long one.
inline constexpr vx::ui::IRECT kTitleRect{400, 664, 700, 734};
inline constexpr vx::ui::IRECT kLongTitleRect{400, 664, 800, 734};

} // namespace omnar::pages
