#include "platform/ak/Alert.h"

#include "platform/ak/Backing.h"
#include "platform/ak/Control.h"
#include "platform/ak/RunLoop.h"
#include "platform/ak/Window.h"

#include <gtk/gtk.h>

#include <cstdio>

namespace ak {

namespace {

GtkWidget* g_running = nullptr;
// The response Dismiss() gives: no button of GTK's own has it.
constexpr int kDismissed = -1000;

struct AlertRun {
    std::vector<std::string> buttons;
    int answer = -1;
    RunLoop loop;

    // Escape and the close box: "Cancel", else the only button, else nothing.
    int DismissAnswer() const {
        for (size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i] == "Cancel")
                return static_cast<int>(i);
        return buttons.size() == 1 ? 0 : -1;
    }

    // Dismissed from outside (a quit): an answer there must be.
    int ForcedAnswer() const {
        const int answer = DismissAnswer();
        return answer >= 0 ? answer : static_cast<int>(buttons.size()) - 1;
    }

    static void OnResponse(GtkDialog*, int response, AlertRun* run) {
        const int answer = response >= 0            ? response
                           : response == kDismissed ? run->ForcedAnswer()
                                                    : run->DismissAnswer();
        if (answer < 0)
            return;
        run->answer = answer;
        run->loop.Quit();
    }

    static gboolean OnDelete(GtkWidget*, GdkEvent*, AlertRun*) {
        return TRUE; // answered through "response"; the dialog stays ours
    }
};

} // namespace

void* Alert::Running() {
    return g_running;
}

bool Alert::Dismiss() {
    if (!g_running)
        return false;
    gtk_dialog_response(GTK_DIALOG(g_running), kDismissed);
    return true;
}

int Alert::RunModal(Window* parent) {
    Ref<Alert> hold(this);
    std::fprintf(stderr, "alert: %s: %s\n", m_message.c_str(), m_informative.c_str());
    AlertRun run;
    run.buttons = m_buttons.empty() ? std::vector<std::string>{"OK"} : m_buttons;
    GtkWindow* transient = parent ? GTK_WINDOW(parent->GetBacking().window) : nullptr;
    GtkWidget* dialog =
        gtk_message_dialog_new(transient, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_NONE,
                               "%s", ValidUtf8(m_message).c_str());
    g_object_ref_sink(dialog);
    if (!m_title.empty())
        gtk_window_set_title(GTK_WINDOW(dialog), ValidUtf8(m_title).c_str());
    if (!m_informative.empty())
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s",
                                                 ValidUtf8(m_informative).c_str());
    for (size_t i = 0; i < run.buttons.size(); ++i)
        gtk_dialog_add_button(GTK_DIALOG(dialog), ValidUtf8(run.buttons[i]).c_str(), int(i));
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), 0);
    g_signal_connect(dialog, "response", G_CALLBACK(AlertRun::OnResponse), &run);
    g_signal_connect(dialog, "delete-event", G_CALLBACK(AlertRun::OnDelete), &run);
    ForwardUnhandledChords(dialog, transient ? GTK_WIDGET(transient) : nullptr);
    GtkWidget* outer = std::exchange(g_running, dialog);
    gtk_widget_show_all(dialog);
    run.loop.Run();
    g_running = outer;
    g_signal_handlers_disconnect_by_data(dialog, &run);
    gtk_widget_destroy(dialog);
    g_object_unref(dialog);
    return AlertResponse::FirstButton + run.answer;
}

} // namespace ak
