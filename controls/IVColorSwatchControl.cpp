#include "controls/IVPadPlotControls.h"

#include "toolkit/ICanvas.h"

namespace vx::ui {

namespace {

constexpr float kCellPadding = 2.f;
constexpr IColor kCellOutline{255, 70, 70, 70};
constexpr IColor kCellOutlineOver{255, 127, 127, 127};

} // namespace

IVColorSwatchControl::IVColorSwatchControl(const IRECT& bounds, const char* label,
                                           ColorChangedFunc func, const IVStyle& s, int lay,
                                           std::initializer_list<int> indexes,
                                           std::initializer_list<const char*> labels)
    : IControl(bounds), IVectorBase(s), colorChangedFunc(std::move(func)), layout(lay),
      colorIndexes(indexes) {
    AttachIControl(this);
    SetLabelStr(label);
    style.valueText.align = 2;
    text.align = 2;
    for (const char* cellLabel : labels)
        cellLabels.push_back(std::make_unique<VxString>(cellLabel ? cellLabel : ""));
}

bool IVColorSwatchControl::CellEditable(int i) const {
    if (i < 0 || i >= NCells())
        return false;
    const int index = colorIndexes[static_cast<size_t>(i)];
    return index >= 0 && index < kNumVColors;
}

void IVColorSwatchControl::OnResize() {
    targetRect = LayoutRects(drawRect, true);
    const int n = NCells();
    int columns = 3, rows = 3;
    if (layout == kRow) {
        columns = n;
        rows = 1;
    } else if (layout == kColumn) {
        columns = 1;
        rows = n;
    }
    cellBounds.clear();
    const IRECT& w = widgetBounds;
    for (int i = 0; i < n; ++i) {
        const int col = columns > 0 ? i % columns : 0, row = columns > 0 ? i / columns : 0;
        if (row >= rows || columns <= 0) {
            cellBounds.push_back(w.GetPadded(-kCellPadding));
            continue;
        }
        const float cw = w.W() / static_cast<float>(columns);
        const float ch = w.H() / static_cast<float>(rows);
        const float l = w.L + static_cast<float>(col) * cw, t = w.T + static_cast<float>(row) * ch;
        cellBounds.push_back(IRECT{l, t, l + cw, t + ch}.GetPadded(-kCellPadding));
    }
    SetDirty(false, -1);
}

void IVColorSwatchControl::Draw(ICanvas& g) {
    for (int i = 0; i < static_cast<int>(cellBounds.size()); ++i) {
        if (!CellEditable(i))
            continue;
        const IRECT& cell = GetCellBounds(i);
        IRECT swatch = cell;
        const bool labelled = i < static_cast<int>(cellLabels.size()) &&
                              cellLabels[static_cast<size_t>(i)]->GetLength() > 0;
        if (labelled) {
            swatch = {cell.R - cell.W() / 4.f, cell.T, cell.R, cell.B};
            g.DrawText(style.valueText, cellLabels[static_cast<size_t>(i)]->Get(),
                       {cell.L, cell.T, cell.L + cell.W() * 0.7f, cell.B}, &blend);
        }
        g.FillRect(GetColor(colorIndexes[static_cast<size_t>(i)]), swatch, &blend);
        g.DrawRect(i == mouseOverCell ? kCellOutlineOver : kCellOutline, swatch.GetPadded(0.5f),
                   &blend, 1.f);
    }
    DrawLabel(g);
}

int IVColorSwatchControl::CellAt(float x, float y) const {
    for (size_t i = 0; i < cellBounds.size(); ++i)
        if (cellBounds[i].ContainsPoint(x, y))
            return static_cast<int>(i);
    return -1;
}

void IVColorSwatchControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
    mouseOverCell = CellAt(x, y);
    IControl::OnMouseOver(x, y, mod);
    SetDirty(true, -1);
}

void IVColorSwatchControl::OnMouseOut() {
    mouseOverCell = -1;
    IControl::OnMouseOut();
    SetDirty(true, -1);
}

void IVColorSwatchControl::OnMouseDown(float x, float y, const IMouseMod&) {
    const int cell = CellAt(x, y);
    if (!CellEditable(cell) || !graphics)
        return;
    IColor color = GetColor(colorIndexes[static_cast<size_t>(cell)]);
    // The platform may answer after the call returns; a cancel never answers.
    graphics->RunColorPicker(color, "Choose a color",
                             [alive = std::weak_ptr(self), cell](const IColor& picked) {
                                 if (const auto swatch = alive.lock())
                                     (*swatch)->Pick(cell, picked);
                             });
}

void IVColorSwatchControl::Pick(int cell, const IColor& color) {
    if (!CellEditable(cell))
        return;
    style.colors[colorIndexes[static_cast<size_t>(cell)]] = color;
    SetDirty(false, -1);
    if (colorChangedFunc)
        colorChangedFunc(cell, color);
}

} // namespace vx::ui
