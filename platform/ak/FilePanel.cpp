#include "platform/ak/FilePanel.h"

#include "platform/ak/Application.h"
#include "platform/ak/Backing.h"
#include "platform/ak/Control.h"
#include "platform/ak/RunLoop.h"
#include "platform/ak/Window.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cctype>

namespace ak {

namespace {

GtkWidget* g_running = nullptr;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// "*.[wW][aA][vV]": GTK's patterns match case-sensitively.
std::string CaselessPattern(const std::string& extension) {
    std::string pattern = "*.";
    for (unsigned char c : extension) {
        if (std::isalpha(c))
            pattern += std::string("[") + char(std::tolower(c)) + char(std::toupper(c)) + "]";
        else if (c == '[' || c == ']' || c == '*' || c == '?')
            pattern += std::string("[") + char(c) + "]";
        else
            pattern += char(c);
    }
    return pattern;
}

struct PanelRun {
    int response = GTK_RESPONSE_NONE;
    RunLoop loop;
    static void OnResponse(GtkDialog*, int response, PanelRun* run) {
        run->response = response;
        run->loop.Quit();
    }
};

// The accessory spans the panel's width, as the panel grows and shrinks; its
// height stays.
void FollowHolderWidth(GtkWidget*, GdkRectangle* allocation, View* accessory) {
    const Rect frame = accessory->Frame();
    if (allocation->width > 0 && allocation->width != int(frame.size.width))
        accessory->SetFrame({frame.origin, {double(allocation->width), frame.size.height}});
}

} // namespace

std::vector<std::string> NormalizedExtensions(const std::vector<std::string>& extensions) {
    std::vector<std::string> result;
    for (const std::string& given : extensions) {
        std::string extension = given;
        extension.erase(0, extension.find_first_not_of(" \t."));
        while (!extension.empty() && std::isspace(static_cast<unsigned char>(extension.back())))
            extension.pop_back();
        if (extension == "*")
            return {};
        if (extension.empty())
            continue;
        const bool seen = std::any_of(result.begin(), result.end(), [&](const std::string& e) {
            return Lower(e) == Lower(extension);
        });
        if (!seen)
            result.push_back(extension);
    }
    return result;
}

SavePanel::SavePanel() = default;

void* SavePanel::Running() {
    return g_running;
}

bool SavePanel::Dismiss() {
    if (!g_running)
        return false;
    gtk_dialog_response(GTK_DIALOG(g_running), GTK_RESPONSE_CANCEL);
    return true;
}

void SavePanel::SetAllowedExtensions(const std::vector<std::string>& extensions) {
    m_extensions = NormalizedExtensions(extensions);
    ApplyFilter();
}

void SavePanel::ApplyFilter() const {
    if (!m_dialog)
        return;
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(m_dialog);
    GSList* old = gtk_file_chooser_list_filters(chooser);
    for (GSList* item = old; item; item = item->next)
        gtk_file_chooser_remove_filter(chooser, GTK_FILE_FILTER(item->data));
    g_slist_free(old);
    if (m_extensions.empty() || (m_chooseFolders && !m_chooseFiles))
        return;
    GtkFileFilter* filter = gtk_file_filter_new();
    std::string name;
    for (const auto& extension : m_extensions) {
        gtk_file_filter_add_pattern(filter, CaselessPattern(extension).c_str());
        name += (name.empty() ? "*." : ", *.") + extension;
    }
    gtk_file_filter_set_name(filter, ValidUtf8(name).c_str());
    gtk_file_chooser_add_filter(chooser, filter);
    if (m_allowsOther) {
        GtkFileFilter* all = gtk_file_filter_new();
        gtk_file_filter_add_pattern(all, "*");
        gtk_file_filter_set_name(all, "All Files");
        gtk_file_chooser_add_filter(chooser, all);
    }
    gtk_file_chooser_set_filter(chooser, filter);
}

// A saved name gets the first allowed extension unless it has one already
// or other types are allowed.
std::string SavePanel::WithExtension(const std::string& path) const {
    if (IsOpenPanel() || m_allowsOther || m_extensions.empty())
        return path;
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        const std::string extension = Lower(path.substr(dot + 1));
        for (const auto& allowed : m_extensions)
            if (Lower(allowed) == extension)
                return path;
    }
    return path + "." + m_extensions.front();
}

int SavePanel::RunModal(Window* parent) {
    Ref<SavePanel> hold(this);
    const bool open = IsOpenPanel();
    const GtkFileChooserAction action =
        !open ? GTK_FILE_CHOOSER_ACTION_SAVE
              : (m_chooseFolders && !m_chooseFiles ? GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER
                                                   : GTK_FILE_CHOOSER_ACTION_OPEN);
    GtkWindow* transient = parent ? GTK_WINDOW(parent->GetBacking().window) : nullptr;
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        ValidUtf8(m_title).c_str(), transient, action, "_Cancel", GTK_RESPONSE_CANCEL,
        open ? "_Open" : "_Save", GTK_RESPONSE_ACCEPT, nullptr);
    g_object_ref_sink(dialog);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    gtk_file_chooser_set_select_multiple(chooser, open && m_multiple);
    gtk_file_chooser_set_create_folders(chooser, m_canCreateFolders);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, !open);
    const bool folderExists =
        !m_folder.empty() && g_file_test(m_folder.c_str(), G_FILE_TEST_IS_DIR);
    gtk_file_chooser_set_current_folder(chooser,
                                        folderExists ? m_folder.c_str() : g_get_home_dir());
    if (!open && !m_name.empty())
        gtk_file_chooser_set_current_name(chooser, ValidUtf8(m_name).c_str());
    GtkWidget* accessory = nullptr;
    if (m_accessory) {
        // Our views ask GTK for no size; the holder gives the frame's.
        accessory = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        const Size size = m_accessory->Frame().size;
        gtk_widget_set_size_request(accessory, int(size.width), int(size.height));
        gtk_box_pack_start(GTK_BOX(accessory), m_accessory->GetBacking().widget, TRUE, TRUE, 0);
        gtk_widget_set_hexpand(accessory, TRUE);
        g_signal_connect(accessory, "size-allocate", G_CALLBACK(FollowHolderWidth),
                         m_accessory.Get());
        gtk_widget_show(accessory);
        gtk_file_chooser_set_extra_widget(chooser, accessory);
    }
    m_dialog = dialog;
    ApplyFilter();
    PanelRun run;
    g_signal_connect(dialog, "response", G_CALLBACK(PanelRun::OnResponse), &run);
    ForwardUnhandledChords(dialog, transient ? GTK_WIDGET(transient) : nullptr);
    GtkWidget* outer = std::exchange(g_running, dialog);
    gtk_widget_show(dialog);
    run.loop.Run();
    g_running = outer;
    g_signal_handlers_disconnect_by_data(dialog, &run);
    m_paths.clear();
    if (run.response == GTK_RESPONSE_ACCEPT) {
        GSList* names = gtk_file_chooser_get_filenames(chooser);
        for (GSList* item = names; item; item = item->next) {
            m_paths.push_back(WithExtension(static_cast<char*>(item->data)));
            g_free(item->data);
        }
        g_slist_free(names);
    }
    if (accessory) {
        g_signal_handlers_disconnect_by_func(
            accessory, reinterpret_cast<gpointer>(&FollowHolderWidth), m_accessory.Get());
        gtk_container_remove(GTK_CONTAINER(accessory), m_accessory->GetBacking().widget);
    }
    m_dialog = nullptr;
    gtk_widget_destroy(dialog);
    g_object_unref(dialog);
    return run.response == GTK_RESPONSE_ACCEPT && !m_paths.empty() ? PanelResponse::OK
                                                                   : PanelResponse::Cancel;
}

void SavePanel::BeginSheet(Window* parent, std::function<void(int)> completion) {
    Ref<SavePanel> panel(this);
    Ref<Window> window(parent);
    // Never inside the press that asked for it: after the current event.
    Application::RunOnMainLater([panel, window, completion = std::move(completion)] {
        const int response = panel->RunModal(window.Get());
        if (completion)
            completion(response);
    });
}

} // namespace ak
