#pragma once

#include "toolkit/ISharedTypes.h"
#include "toolkit/IVStyle.h"

namespace omnar::pages {

// The shared looks of the panel, made once per layout and used by every page.
struct PageStyles {
    vx::ui::IText displayShadow; // the unlit "188" behind the preset display
    vx::ui::IText display;       // the preset display
    vx::ui::IText pageTitle;
    vx::ui::IText controlLabel; // captions over large knobs, units of the small cells
    vx::ui::IText caption;      // captions under small knobs and switches
    vx::ui::IText largeValue;
    vx::ui::IText value; // readouts inside small knobs
    vx::ui::IText list;
    vx::ui::IText brightList;
    // Made on the spot for every large knob.
    vx::ui::IText readout; // the value text at size 40
    vx::ui::IText unit;    // the control label text at size 34

    vx::ui::IVStyle base; // buttons, switches, sliders and number boxes start here
    vx::ui::IVStyle knob; // every effect-page knob: arcs only
    // The raised grey buttons of the main panel and the pages (label size 18).
    vx::ui::IVStyle pageButton;
    // The dark box of the standalone notice.
    vx::ui::IVStyle notice;
    // The invisible full-window buttons that close the overlay pages.
    vx::ui::IVStyle closing;

    static PageStyles Make();
};

// A "Roboto-Regular" text, as every page after the effect pages uses.
vx::ui::IText RobotoText(float size, const vx::ui::IColor& color, int align, int vAlign);
// The style with its label text at another size.
vx::ui::IVStyle WithLabelSize(vx::ui::IVStyle style, float size);

} // namespace omnar::pages
