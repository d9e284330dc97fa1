#include "device/OmnarControl.h"

// The panel is built here once the platform context exists; until then the
// editor runs without one and this is never reached.
void OmnarControl::LayoutPages(vx::ui::ICanvas*) {}
