#pragma once

#include "toolkit/IControl.h"

#include <string>
#include <vector>

namespace vx::test {

// A control that writes what happens to it into a shared log as "<name> <event>".
class TestControl : public ui::IControl {
public:
    TestControl(std::vector<std::string>& log, std::string name, const ui::IRECT& bounds,
                int paramIdx = -1, ui::IActionFunction action = nullptr)
        : IControl(bounds, paramIdx, std::move(action)), log(log), name(std::move(name)) {}
    TestControl(std::vector<std::string>& log, std::string name, const ui::IRECT& bounds,
                std::initializer_list<int> params)
        : IControl(bounds, params, nullptr), log(log), name(std::move(name)) {}
    ~TestControl() override { Note("deleted"); }

    void Draw(ui::ICanvas&) override { Note("draw"); }
    void OnMouseDown(float x, float y, const ui::IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const ui::IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const ui::IMouseMod& mod) override;
    void OnMouseDoubleClick(float x, float y, const ui::IMouseMod& mod) override;
    void OnMouseWheel(float x, float y, const ui::IMouseMod& mod, float delta) override;
    bool OnKeyDown(float x, float y, const IKeyPress& key) override;
    bool OnKeyUp(float x, float y, const IKeyPress& key) override;
    void OnMouseOver(float x, float y, const ui::IMouseMod& mod) override;
    void OnMouseOut() override;
    void OnTouchCancelled(float x, float y, const ui::IMouseMod& mod) override;
    void OnDrop(const char* path) override;
    void BuildContextMenu(ui::IPopupMenu& menu) override;
    void OnContextMenuChoice(int item) override;
    void OnInit() override { Note("init"); }
    void OnResize() override { Note("resize"); }
    void OnRescale() override { Note("rescale"); }
    void OnAddedToGraphics() override { Note("added"); }

    void Note(const std::string& event) { log.push_back(name + " " + event); }

    std::vector<std::string>& log;
    std::string name;
    std::vector<std::string> contextItems; // added by BuildContextMenu
    bool handlesKeys = false;
    std::function<void(TestControl*)> onMouseDown; // runs after the note
    std::function<void(TestControl*)> onMouseUp;
};

} // namespace vx::test
