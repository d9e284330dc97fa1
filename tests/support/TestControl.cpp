#include "tests/support/TestControl.h"

#include "toolkit/IKeyPress.h"
#include "toolkit/IPopupMenu.h"

#include <cstdio>

namespace vx::test {

namespace {

std::string At(float x, float y) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%g,%g", x, y);
    return buf;
}

} // namespace

void TestControl::OnMouseDown(float x, float y, const ui::IMouseMod& mod) {
    Note("down " + At(x, y) + (mod.R ? " R" : ""));
    if (onMouseDown)
        onMouseDown(this);
}

void TestControl::OnMouseUp(float x, float y, const ui::IMouseMod&) {
    Note("up " + At(x, y));
    if (onMouseUp)
        onMouseUp(this);
}

void TestControl::OnMouseDrag(float x, float y, float dX, float dY, const ui::IMouseMod&) {
    Note("drag " + At(x, y) + " " + At(dX, dY));
}

void TestControl::OnMouseDoubleClick(float x, float y, const ui::IMouseMod&) {
    Note("dblclick " + At(x, y));
}

void TestControl::OnMouseWheel(float x, float y, const ui::IMouseMod&, float delta) {
    Note("wheel " + At(x, y) + " " + std::to_string(static_cast<int>(delta)));
}

bool TestControl::OnKeyDown(float, float, const IKeyPress& key) {
    Note(std::string("keydown ") + key.utf8);
    return handlesKeys;
}

bool TestControl::OnKeyUp(float, float, const IKeyPress& key) {
    Note(std::string("keyup ") + key.utf8);
    return handlesKeys;
}

void TestControl::OnMouseOver(float x, float y, const ui::IMouseMod& mod) {
    Note("over " + At(x, y));
    IControl::OnMouseOver(x, y, mod);
}

void TestControl::OnMouseOut() {
    if (GetMouseIsOver())
        Note("out");
    IControl::OnMouseOut();
}

void TestControl::OnTouchCancelled(float x, float y, const ui::IMouseMod&) {
    Note("cancelled " + At(x, y));
}

void TestControl::OnDrop(const char* path) {
    Note(std::string("drop ") + path);
}

void TestControl::BuildContextMenu(ui::IPopupMenu& menu) {
    for (const std::string& item : contextItems)
        menu.AddItem(item.c_str());
}

void TestControl::OnContextMenuChoice(int item) {
    Note("context " + std::to_string(item));
}

} // namespace vx::test
