#pragma once

#include "toolkit/IControl.h"
#include "toolkit/IPopupMenu.h"
#include "toolkit/TextEditEngine.h"

#include <functional>
#include <string>
#include <string_view>

namespace vx::ui {

// The single-line text editor the toolkit draws in its own view when a value
// is typed. ICanvas keeps it apart from the control list; while an edit runs it
// takes every click and drag. Return or a click outside commits the text to
// ICanvas, Escape cancels. Main thread only.
class ITextEntryControl : public IControl {
public:
    ITextEntryControl();
    ~ITextEntryControl() override;

    bool IsEditing() const { return editing; }

    // Opens an edit of the UTF-8 string over bounds, all of it selected.
    // paramIdx and length are not used: the in-panel entry sets no length limit.
    void StartEdit(int paramIdx, const IText& text, const IRECT& bounds, int length,
                   const char* str);
    // What typing and pasting may add, for the edit now open (StartEdit drops
    // it): `conform` gives the text as it goes in, characters changed or left
    // out, and the entry stops taking text at `maxChars` (0: no limit).
    struct Rule {
        std::function<std::u32string(std::u32string_view)> conform;
        int maxChars = 0;
    };
    void SetRule(Rule rule) { this->rule = std::move(rule); }
    void CommitEdit();
    void CancelEdit();
    void CopySelection();
    void CutSelection();
    void Paste();
    void SelectAll();

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnMouseDoubleClick(float x, float y, const IMouseMod& mod) override;
    bool OnKeyDown(float x, float y, const IKeyPress& key) override;
    void OnResize() override;
    void Draw(ICanvas& g) override;
    void OnAnimationFinished() override;

    std::string GetTextUtf8() const;
    const TextEditEngine& GetEngine() const { return engine; }
    bool IsCaretVisible() const { return caretVisible; }
    // "Cut", "Copy", "Paste": this control's own, so it never outlives its target.
    IPopupMenu& GetEditMenu() { return editMenu; }

private:
    static void BlinkAction(IControl* caller);
    static void BlinkAnimation(IControl* caller);
    void OpenEditMenu(float x, float y);
    void Close();
    // Marks the control dirty when an operation changed the edit state.
    bool Changed(bool changed);
    // The engine code for a key that is not a command, or 0 when ICanvas edits no control.
    uint32_t FilteredKeyCode(const IKeyPress& key, char32_t c) const;
    // The text the rule lets in over the selection, or over the character a
    // key typed in overwrite mode replaces.
    std::u32string Admitted(std::u32string_view typed, bool typing) const;

    bool caretVisible = false;
    bool editing = false;
    TextEditEngine engine;
    IPopupMenu editMenu;
    Rule rule;
};

} // namespace vx::ui
