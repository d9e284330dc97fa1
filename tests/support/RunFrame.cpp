#include "tests/support/RunFrame.h"

namespace vx::test {

bool RunFrame(ui::ICanvas& canvas, ui::IRECTList& rects) {
    rects.Clear();
    if (!canvas.IsDirty(rects))
        return false;
    canvas.MarkAllControlsClean();
    canvas.BeginContextUse();
    try {
        canvas.DrawAllDirty(rects);
    } catch (...) {
        canvas.EndContextUse();
        throw;
    }
    canvas.EndContextUse();
    return true;
}

bool RunFrame(ui::ICanvas& canvas) {
    ui::IRECTList rects;
    return RunFrame(canvas, rects);
}

} // namespace vx::test
