#pragma once

#include "platform/ak/Control.h"
#include "platform/ak/Image.h"
#include "platform/ak/TextAlignment.h"

#include <cairo.h>

#include <functional>
#include <string>

namespace ak {

enum class ButtonKind { Push, Check, Radio, OwnerDraw };

enum class ImagePosition { Left, Right, Above, Below, Only };

// Push, check, radio and owner-drawn buttons. A check box's state is -1
// (mixed), 0 or 1; with mixed allowed a click goes on -> off -> mixed -> on.
// Radio buttons of one superview sharing a group key are kept exclusive by
// the layer; all of them may be off.
class Button : public Control {
public:
    Button(Rect frame, ButtonKind kind);

    ButtonKind Kind() const { return m_kind; }
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title);
    void SetImage(Image* image);
    Image* GetImage() const { return m_image.Get(); }
    void SetImagePosition(ImagePosition position);
    void SetAlignment(TextAlignment alignment);

    int State() const { return m_state; }
    void SetState(int state);
    void SetAllowsMixedState(bool allows) { m_allowsMixed = allows; }
    bool AllowsMixedState() const { return m_allowsMixed; }
    void SetRadioGroup(int64_t key) { m_radioGroup = key; }
    int64_t RadioGroup() const { return m_radioGroup; }

    // Owner-drawn buttons: the painter draws the whole button.
    using Painter = std::function<void(cairo_t*, Rect bounds, bool pressed)>;
    void SetPainter(Painter painter);

    // As the user's click would: state change, group, action.
    void PerformClick();

protected:
    ~Button() override;

private:
    Button(Rect frame, ButtonKind kind, GtkWidget* radioNone);
    static void OnClicked(void* widget, Button* self);
    static int OnDraw(void* widget, cairo_t* cr, Button* self);
    void ApplyState();
    void UncheckGroupSiblings();

    ButtonKind m_kind;
    std::string m_title;
    Ref<Image> m_image;
    int m_state = 0;
    bool m_allowsMixed = false;
    int64_t m_radioGroup = 0;
    Painter m_painter;
    GtkWidget* m_radioNone = nullptr; // the hidden member that lets a radio be off
};

} // namespace ak
