#include "pages/PageColumns.h"

#include "controls/IVKnobControl.h"
#include "pages/PageBuilder.h"

namespace omnar::pages {

void AddEffectKnob(PageBuilder& builder, const vx::ui::IRECT& bounds, int param, const char* label,
                   const char* group, int tag) {
    builder.Attach(new vx::ui::IVKnobControl(bounds, param, label, builder.styles.knob, false,
                                             -135.f, 135.f, -135.f, 4.0, 18.f, false,
                                             vx::ui::EDirection::Vertical),
                   tag, group);
}

void AddKnobColumn(PageBuilder& builder, float x, float top, const KnobColumn& column,
                   const char* group) {
    const PageStyles& s = builder.styles;
    builder.Text(ColumnCaptionRect(x, top), column.caption, s.controlLabel, column.captionTag,
                 group);
    AddEffectKnob(builder, ColumnKnobRect(x, top), column.param,
                  column.knobLabel ? column.knobLabel : column.caption, group);
    builder.Text(ColumnReadoutRect(x, top), column.readout, s.readout, column.readoutTag, group);
    builder.Text(ColumnUnitRect(x, top), column.unit, s.unit, -1, group);
}

void AddThreeColumns(PageBuilder& builder, float top, const KnobColumn (&columns)[3],
                     const char* group) {
    for (int i = 0; i < 3; ++i)
        AddKnobColumn(builder, kThreeColumnX[i], top, columns[i], group);
}

} // namespace omnar::pages
