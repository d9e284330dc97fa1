#include "platform/ak/Button.h"

#include "platform/ak/Backing.h"

#include <gtk/gtk.h>

namespace ak {

namespace {

GtkWidget* NewWidget(ButtonKind kind, GtkWidget* radioNone) {
    switch (kind) {
    case ButtonKind::Check:
        return gtk_check_button_new();
    case ButtonKind::Radio:
        return gtk_radio_button_new_from_widget(GTK_RADIO_BUTTON(radioNone));
    default:
        return gtk_button_new();
    }
}

// A lone GTK radio button cannot be off: each of ours shares its GTK group
// with one hidden button that is on whenever ours is off.
GtkWidget* NewRadioNone(ButtonKind kind) {
    return kind == ButtonKind::Radio ? GTK_WIDGET(g_object_ref_sink(gtk_radio_button_new(nullptr)))
                                     : nullptr;
}

int NextCheckState(int state, bool allowsMixed) {
    if (state == 1)
        return 0;
    if (state == 0 && allowsMixed)
        return -1;
    return 1;
}

} // namespace

Button::Button(Rect frame, ButtonKind kind) : Button(frame, kind, NewRadioNone(kind)) {}

Button::Button(Rect frame, ButtonKind kind, GtkWidget* radioNone)
    : Control(frame, NewWidget(kind, radioNone)), m_kind(kind), m_radioNone(radioNone) {
    Connect(Widget(), "clicked", reinterpret_cast<Callback>(&Button::OnClicked));
    if (kind == ButtonKind::OwnerDraw)
        Connect(Widget(), "draw", reinterpret_cast<Callback>(&Button::OnDraw));
}

Button::~Button() {
    if (m_radioNone) {
        gtk_widget_destroy(m_radioNone);
        g_object_unref(m_radioNone);
    }
}

void Button::OnClicked(void*, Button* self) {
    Ref<Button> hold(self);
    switch (self->m_kind) {
    case ButtonKind::Check:
        self->m_state = NextCheckState(self->m_state, self->m_allowsMixed);
        self->ApplyState();
        break;
    case ButtonKind::Radio:
        self->m_state = 1;
        self->ApplyState();
        self->UncheckGroupSiblings();
        break;
    default:
        break;
    }
    self->FireAction();
}

int Button::OnDraw(void* widget, cairo_t* cr, Button* self) {
    if (!self->m_painter)
        return FALSE;
    const bool pressed = gtk_widget_get_state_flags(GTK_WIDGET(widget)) & GTK_STATE_FLAG_ACTIVE;
    self->m_painter(cr, self->Bounds(), pressed);
    return TRUE;
}

void Button::PerformClick() {
    if (IsEnabled())
        gtk_button_clicked(GTK_BUTTON(Widget()));
}

void Button::SetTitle(const std::string& title) {
    Silence silence(*this);
    m_title = ValidUtf8(title);
    gtk_button_set_label(GTK_BUTTON(Widget()), m_title.c_str());
}

void Button::SetImage(Image* image) {
    Silence silence(*this);
    m_image = image;
    GtkWidget* widget = image ? gtk_image_new_from_surface(image->Surface()) : nullptr;
    gtk_button_set_image(GTK_BUTTON(Widget()), widget);
    gtk_button_set_always_show_image(GTK_BUTTON(Widget()), widget != nullptr);
}

void Button::SetImagePosition(ImagePosition position) {
    Silence silence(*this);
    if (m_kind == ButtonKind::Check || m_kind == ButtonKind::Radio) {
        // The mark sits after the title in a right-to-left layout.
        gtk_widget_set_direction(Widget(), position == ImagePosition::Right ? GTK_TEXT_DIR_RTL
                                                                            : GTK_TEXT_DIR_LTR);
        return;
    }
    static constexpr GtkPositionType kSides[] = {GTK_POS_LEFT, GTK_POS_RIGHT, GTK_POS_TOP,
                                                 GTK_POS_BOTTOM, GTK_POS_LEFT};
    gtk_button_set_image_position(GTK_BUTTON(Widget()), kSides[static_cast<int>(position)]);
    if (position == ImagePosition::Only)
        gtk_button_set_label(GTK_BUTTON(Widget()), nullptr);
}

void Button::SetAlignment(TextAlignment alignment) {
    static constexpr GtkAlign kAligns[] = {GTK_ALIGN_START, GTK_ALIGN_CENTER, GTK_ALIGN_END};
    if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(Widget())))
        gtk_widget_set_halign(child, kAligns[static_cast<int>(alignment)]);
}

void Button::SetState(int state) {
    if (m_kind != ButtonKind::Check && m_kind != ButtonKind::Radio)
        return;
    m_state = state < 0 && m_kind == ButtonKind::Check ? -1 : (state != 0 ? 1 : 0);
    ApplyState();
}

void Button::ApplyState() {
    Silence silence(*this);
    if (m_kind == ButtonKind::Radio) {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(m_state ? Widget() : m_radioNone), TRUE);
        return;
    }
    gtk_toggle_button_set_inconsistent(GTK_TOGGLE_BUTTON(Widget()), m_state == -1);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(Widget()), m_state == 1);
}

void Button::UncheckGroupSiblings() {
    if (!Superview())
        return;
    for (const Ref<View>& sibling : Superview()->Subviews()) {
        auto* button = dynamic_cast<Button*>(sibling.Get());
        if (button && button != this && button->m_kind == ButtonKind::Radio &&
            button->m_radioGroup == m_radioGroup && button->m_state)
            button->SetState(0);
    }
}

void Button::SetPainter(Painter painter) {
    m_painter = std::move(painter);
    gtk_widget_queue_draw(Widget());
}

// Return and Enter, unmodified, press the default button when nothing took them.
bool Window::PressDefaultButton(const Event& event) {
    auto* button = dynamic_cast<Button*>(m_defaultButton.Get());
    const std::string& key = event.charactersIgnoringModifiers;
    const uint32_t modifiers =
        event.modifierFlags & (ModifierFlag::Command | ModifierFlag::Control |
                               ModifierFlag::Option | ModifierFlag::Shift);
    if (!button || modifiers || (key != "\r" && key != "\x03") || button->GetWindow() != this ||
        button->IsHiddenOrHasHiddenAncestor() || !button->IsEnabled())
        return false;
    button->PerformClick();
    return true;
}

void Window::SetDefaultButton(Button* button) {
    GtkWindow* window = GTK_WINDOW(GetBacking().window);
    if (button) {
        gtk_widget_set_can_default(button->Widget(), TRUE);
        m_defaultButton = Ref<View>(button);
    } else {
        m_defaultButton.Reset();
    }
    gtk_window_set_default(window, button ? button->Widget() : nullptr);
}

} // namespace ak
