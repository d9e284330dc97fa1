#include "platform/ak/Slider.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>

namespace ak {

namespace {

bool Finite(double a, double b = 0) {
    return std::isfinite(a) && std::isfinite(b);
}

} // namespace

Slider::Slider(Rect frame, bool vertical)
    : Control(frame,
              gtk_scale_new_with_range(
                  vertical ? GTK_ORIENTATION_VERTICAL : GTK_ORIENTATION_HORIZONTAL, 0, 1, 0.01)) {
    gtk_scale_set_draw_value(GTK_SCALE(Widget()), FALSE);
    Connect(Widget(), "value-changed", reinterpret_cast<Callback>(&Slider::OnValueChanged));
}

void Slider::OnValueChanged(void*, Slider* self) {
    self->FireAction();
}

double Slider::Value() const {
    return gtk_range_get_value(GTK_RANGE(Widget()));
}

void Slider::SetValue(double value) {
    if (!Finite(value))
        return;
    Silence silence(*this);
    gtk_range_set_value(GTK_RANGE(Widget()), value);
}

void Slider::SetRange(double min, double max) {
    if (!Finite(min, max))
        return;
    Silence silence(*this);
    m_min = min;
    m_max = std::max(min, max);
    // GTK refuses an empty range; a hair of one keeps the value at min.
    gtk_range_set_range(GTK_RANGE(Widget()), m_min, m_max > m_min ? m_max : m_min + 1e-9);
    if (m_max <= m_min)
        gtk_range_set_value(GTK_RANGE(Widget()), m_min);
}

void Slider::SetMini(bool mini) {
    GtkStyleContext* style = gtk_widget_get_style_context(Widget());
    if (mini)
        gtk_style_context_add_class(style, "mini");
    else
        gtk_style_context_remove_class(style, "mini");
}

ProgressIndicator::ProgressIndicator(Rect frame) : Control(frame, gtk_progress_bar_new()) {}

void ProgressIndicator::SetValue(double value) {
    m_value = value;
    Apply();
}

void ProgressIndicator::SetRange(double min, double max) {
    m_min = min;
    m_max = max;
    Apply();
}

double ProgressIndicator::Fraction() const {
    if (!(m_max > m_min) || !Finite(m_min, m_max) || std::isnan(m_value))
        return 0;
    return std::clamp((m_value - m_min) / (m_max - m_min), 0.0, 1.0);
}

void ProgressIndicator::Apply() {
    Silence silence(*this);
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(Widget()), Fraction());
}

} // namespace ak
