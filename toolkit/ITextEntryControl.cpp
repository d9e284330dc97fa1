#include "toolkit/ITextEntryControl.h"

#include "platform/sys/Utf8.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {

constexpr int kBlinkMs = 1000;
constexpr float kSelectionWeight = 0.2f;

enum EditMenuItem : int { kCut = 0, kCopy = 1, kPaste = 2 };

// A single line: line breaks and other control characters become blanks.
std::u32string SingleLine(std::u32string text) {
    for (char32_t& c : text)
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == U'\u2028' || c == U'\u2029')
            c = U' ';
    return text;
}

} // namespace

ITextEntryControl::ITextEntryControl() : IControl(IRECT(), -1, BlinkAction) {
    editMenu.AddItem("Cut");
    editMenu.AddItem("Copy");
    editMenu.AddItem("Paste");
    editMenu.SetCompletion([this](IPopupMenu* menu) {
        switch (menu ? menu->GetChosenItemIdx() : -1) {
        case kCut:
            CutSelection();
            break;
        case kCopy:
            CopySelection();
            break;
        case kPaste:
            Paste();
            break;
        default:
            break;
        }
    });
    engine.SetMeasure([this](std::u32string_view chars) {
        IRECT bounds;
        return graphics ? graphics->MeasureText(text, sys::Utf32ToUtf8(chars).c_str(), bounds)
                        : 0.f;
    });
}

ITextEntryControl::~ITextEntryControl() {
    // A popup still showing the edit menu must not call into a deleted control.
    if (graphics)
        if (IPopupMenuControl* popup = graphics->GetPopupMenuControl())
            popup->Forget(editMenu);
}

void ITextEntryControl::StartEdit(int, const IText& style, const IRECT& bounds, int,
                                  const char* str) {
    drawRect = targetRect = bounds;
    mouseIsOver = false;
    SetText(style);
    text.FGColor = text.TextEntryFGColor;
    OnResize();
    engine.Start(sys::Utf8ToUtf32(str ? str : ""));
    rule = {};
    SetDirty(true, -1);
    editing = true;
}

std::u32string ITextEntryControl::Admitted(std::u32string_view typed, bool typing) const {
    std::u32string in = rule.conform ? rule.conform(typed) : std::u32string(typed);
    if (rule.maxChars > 0) {
        int replaced = engine.SelectionEnd() - engine.SelectionStart();
        if (!engine.HasSelection())
            replaced = typing && !engine.InsertMode() && engine.Cursor() < engine.Length();
        const int room = std::max(0, rule.maxChars - (engine.Length() - replaced));
        if (int(in.size()) > room)
            in.resize(std::size_t(room));
    }
    return in;
}

void ITextEntryControl::OnResize() {
    engine.SetBox({drawRect.L, drawRect.R, drawRect.H(), text.size, text.align, text.vAlign});
}

void ITextEntryControl::Close() {
    editing = false;
    mouseIsOver = false;
    drawRect = targetRect = IRECT();
    OnResize();
}

void ITextEntryControl::CommitEdit() {
    const std::string value = GetTextUtf8();
    // Closed before the value goes out, so an entry the value's action opens stays open.
    Close();
    if (graphics) {
        graphics->ApplyTextEntryValue(value.c_str());
        graphics->MarkAllControlsDirty();
    }
}

void ITextEntryControl::CancelEdit() {
    Close();
    if (graphics) {
        graphics->ForgetTextEntry();
        graphics->MarkAllControlsDirty();
    }
}

void ITextEntryControl::CopySelection() {
    if (!engine.HasSelection() || !graphics)
        return;
    const std::u32string_view all(engine.Text());
    const auto start = static_cast<size_t>(engine.SelectionStart());
    const auto end = static_cast<size_t>(engine.SelectionEnd());
    graphics->WriteClipboardText(sys::Utf32ToUtf8(all.substr(start, end - start)).c_str());
}

void ITextEntryControl::CutSelection() {
    CopySelection();
    Changed(engine.DeleteSelection());
}

void ITextEntryControl::Paste() {
    VxString clip;
    if (!graphics || !graphics->ReadClipboardText(clip))
        return;
    const std::u32string pasted = SingleLine(sys::Utf8ToUtf32(clip.Get()));
    const std::u32string in = Admitted(pasted, false);
    if (in.empty() && !pasted.empty())
        return; // nothing of it may go in: the selection stays
    Changed(engine.Paste(in));
}

void ITextEntryControl::SelectAll() {
    Changed(engine.SelectAll());
}

std::string ITextEntryControl::GetTextUtf8() const {
    return sys::Utf32ToUtf8(engine.Text());
}

bool ITextEntryControl::Changed(bool changed) {
    if (changed)
        SetDirty(false, -1);
    return changed;
}

void ITextEntryControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
    if (!drawRect.ContainsPoint(x, y)) {
        CommitEdit();
        return;
    }
    if (mod.L)
        Changed(engine.Click(x, y - drawRect.T));
    if (mod.R)
        OpenEditMenu(x, y);
}

void ITextEntryControl::OnMouseUp(float x, float y, const IMouseMod& mod) {
    if (!mod.L || !editing) // the release after a committing click
        return;
    Changed(engine.Drag(x, y - drawRect.T));
    SetDirty(true, -1);
}

void ITextEntryControl::OnMouseDrag(float x, float y, float, float, const IMouseMod& mod) {
    if (mod.L)
        Changed(engine.Drag(x, y - drawRect.T));
}

void ITextEntryControl::OnMouseDoubleClick(float, float, const IMouseMod&) {
    SelectAll();
}

void ITextEntryControl::OpenEditMenu(float x, float y) {
    if (graphics)
        graphics->OpenPopupMenu(this, editMenu, IRECT(x, y, x, y), -1, false);
}

void ITextEntryControl::Draw(ICanvas& g) {
    g.FillRect(text.TextEntryBGColor, drawRect);
    const TextRow row = engine.Row();
    const float top = drawRect.T + row.ymin + 0.1f * text.size;
    const float bottom = drawRect.T + row.ymax - 0.1f * text.size;
    if (engine.HasSelection()) {
        const IBlendSetting blend{0, kSelectionWeight};
        g.FillRect(text.TextEntryFGColor,
                   IRECT(row.x0 + engine.WidthBefore(engine.SelectionStart()), top,
                         row.x0 + engine.WidthBefore(engine.SelectionEnd()), bottom),
                   &blend);
    }
    g.DrawText(text, GetTextUtf8().c_str(), drawRect);
    if (!engine.HasSelection() && caretVisible) {
        const float x = row.x0 + engine.WidthBefore(engine.Cursor());
        g.FillRect(text.TextEntryFGColor, IRECT(std::round(x - 1.f), top, std::round(x), bottom));
    }
}

// Every SetDirty(true) shows the caret again and restarts the blink.
void ITextEntryControl::BlinkAction(IControl* caller) {
    auto* self = static_cast<ITextEntryControl*>(caller);
    self->caretVisible = true;
    self->SetAnimation(BlinkAnimation, kBlinkMs);
}

void ITextEntryControl::BlinkAnimation(IControl* caller) {
    auto* self = static_cast<ITextEntryControl*>(caller);
    const double fraction = self->AnimationFraction();
    if (fraction > 0.5 && self->caretVisible) {
        self->caretVisible = false;
        self->SetDirty(false, -1);
    }
    if (fraction > 1.0)
        self->OnAnimationFinished();
}

void ITextEntryControl::OnAnimationFinished() {
    if (editing)
        SetDirty(true, -1);
    else
        SetAnimation(nullptr);
}

} // namespace vx::ui
