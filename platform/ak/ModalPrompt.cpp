#include "platform/ak/ModalPrompt.h"

#include "platform/ak/Alert.h"
#include "platform/ak/Backing.h"
#include "platform/ak/FilePanel.h"

#include <gtk/gtk.h>

namespace ak {

namespace {

gboolean OnUnhandledKey(GtkWidget*, GdkEventKey* event, gpointer parent) {
    const auto modifiers = GdkModifierType(event->state & gtk_accelerator_get_default_mod_mask());
    // Plain keys belong to the prompt; only chords go to the menu.
    if (!(modifiers & (GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK | GDK_META_MASK)))
        return FALSE;
    return gtk_accel_groups_activate(G_OBJECT(parent), gdk_keyval_to_lower(event->keyval),
                                     modifiers);
}

} // namespace

void ForwardUnhandledChords(GtkWidget* prompt, GtkWidget* parentWindow) {
    // After the prompt's own handling: what it takes stays with it.
    if (parentWindow)
        g_signal_connect_after(prompt, "key-press-event", G_CALLBACK(OnUnhandledKey), parentWindow);
}

bool ModalPromptRunning() {
    return Alert::Running() || SavePanel::Running();
}

bool DismissModalPrompt() {
    return Alert::Dismiss() || SavePanel::Dismiss();
}

} // namespace ak
