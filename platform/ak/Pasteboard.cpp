#include "platform/ak/Pasteboard.h"

#include "platform/ak/RunLoop.h"
#include "platform/ak/UriList.h"
#include "platform/sys/Utf8.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <memory>

namespace ak::Pasteboard {

namespace {

constexpr size_t kMaxBytes = 64u << 20;
constexpr unsigned kTimeoutMs = 1000;

using Representations = std::vector<std::pair<std::string, std::string>>;

GtkClipboard* Board() {
    return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
}

bool IsTextTarget(const std::string& type) {
    return type == "UTF8_STRING" || type == "STRING" || type == "TEXT" || type == "text/plain" ||
           type == "text/plain;charset=utf-8" || type == "COMPOUND_TEXT";
}

// Hands our contents to whoever asks, in the form asked for.
void Serve(GtkClipboard*, GtkSelectionData* selection, guint, gpointer data) {
    const auto& reps = *static_cast<Representations*>(data);
    gchar* asked = gdk_atom_name(gtk_selection_data_get_target(selection));
    const std::string type = asked;
    g_free(asked);
    for (const auto& [name, bytes] : reps) {
        const bool textForm = name == kTextType && IsTextTarget(type);
        if (name != type && !textForm)
            continue;
        if (textForm && type != kTextType)
            gtk_selection_data_set_text(selection, bytes.c_str(), int(bytes.size()));
        else
            gtk_selection_data_set(selection, gtk_selection_data_get_target(selection), 8,
                                   reinterpret_cast<const guchar*>(bytes.data()),
                                   int(bytes.size()));
        return;
    }
}

void Forget(GtkClipboard*, gpointer data) {
    delete static_cast<Representations*>(data);
}

// One asynchronous request answered within the timeout, or given up. The
// state is shared: an answer arriving after we gave up finds it still alive.
struct Request {
    RunLoop loop;
    bool done = false;
    bool timedOut = false;
    std::optional<std::string> bytes;
    std::vector<std::string> types;
};

void Finish(const std::shared_ptr<Request>& request) {
    request->done = true;
    request->loop.Quit();
}

template <class Start>
std::shared_ptr<Request> Wait(Start start) {
    auto request = std::make_shared<Request>();
    auto* pending = new std::shared_ptr<Request>(request);
    start(pending);
    if (!request->done) {
        auto* timer = new std::shared_ptr<Request>(request);
        const guint source = g_timeout_add_full(
            G_PRIORITY_DEFAULT, kTimeoutMs,
            [](gpointer p) {
                auto& request = *static_cast<std::shared_ptr<Request>*>(p);
                request->timedOut = true;
                request->loop.Quit();
                return G_SOURCE_REMOVE;
            },
            timer, [](gpointer p) { delete static_cast<std::shared_ptr<Request>*>(p); });
        request->loop.Run();
        if (!request->timedOut)
            g_source_remove(source);
    }
    return request;
}

std::shared_ptr<Request> RequestContents(const std::string& type) {
    return Wait([&](std::shared_ptr<Request>* pending) {
        gtk_clipboard_request_contents(
            Board(), gdk_atom_intern(type.c_str(), FALSE),
            [](GtkClipboard*, GtkSelectionData* selection, gpointer p) {
                std::unique_ptr<std::shared_ptr<Request>> request(
                    static_cast<std::shared_ptr<Request>*>(p));
                const int length = selection ? gtk_selection_data_get_length(selection) : -1;
                if (length >= 0 && size_t(length) <= kMaxBytes) {
                    const guchar* data = gtk_selection_data_get_data(selection);
                    (*request)->bytes =
                        std::string(reinterpret_cast<const char*>(data), size_t(length));
                }
                Finish(*request);
            },
            pending);
    });
}

} // namespace

bool SetContents(std::vector<std::pair<std::string, std::string>> representations) {
    GtkTargetList* list = gtk_target_list_new(nullptr, 0);
    for (const auto& [type, bytes] : representations) {
        if (type == kTextType)
            gtk_target_list_add_text_targets(list, 0);
        else
            gtk_target_list_add(list, gdk_atom_intern(type.c_str(), FALSE), 0, 0);
    }
    int count = 0;
    GtkTargetEntry* targets = gtk_target_table_new_from_list(list, &count);
    auto* held = new Representations(std::move(representations));
    const bool taken =
        gtk_clipboard_set_with_data(Board(), targets, guint(count), Serve, Forget, held);
    if (taken)
        gtk_clipboard_set_can_store(Board(), nullptr, 0);
    else
        delete held;
    gtk_target_table_free(targets, count);
    gtk_target_list_unref(list);
    return taken;
}

bool SetText(const std::string& utf8) {
    return SetContents(
        {{kTextType, sys::IsValidUtf8(utf8) ? utf8 : sys::Utf32ToUtf8(sys::Utf8ToUtf32(utf8))}});
}

bool SetFilePaths(const std::vector<std::string>& paths) {
    std::string list;
    for (const auto& path : paths)
        list += FileUriFromPath(path) + "\r\n";
    return SetContents({{kFilesType, list}});
}

void Clear() {
    gtk_clipboard_clear(Board());
}

std::vector<std::string> Types() {
    auto request = Wait([](std::shared_ptr<Request>* pending) {
        gtk_clipboard_request_targets(
            Board(),
            [](GtkClipboard*, GdkAtom* atoms, gint count, gpointer p) {
                std::unique_ptr<std::shared_ptr<Request>> request(
                    static_cast<std::shared_ptr<Request>*>(p));
                auto& types = (*request)->types;
                for (int i = 0; i < count; ++i) {
                    gchar* name = gdk_atom_name(atoms[i]);
                    const std::string type = name;
                    g_free(name);
                    if (type != "TARGETS" && type != "TIMESTAMP" && type != "MULTIPLE" &&
                        type != "SAVE_TARGETS" &&
                        std::find(types.begin(), types.end(), type) == types.end())
                        types.push_back(type);
                }
                Finish(*request);
            },
            pending);
    });
    return request->types;
}

std::optional<std::string> Text() {
    auto bytes = RequestContents(kTextType)->bytes;
    if (bytes && !sys::IsValidUtf8(*bytes))
        bytes = sys::Utf32ToUtf8(sys::Utf8ToUtf32(*bytes));
    return bytes;
}

std::vector<std::string> FilePaths() {
    const auto bytes = RequestContents(kFilesType)->bytes;
    return bytes ? FilePathsFromUriList(*bytes, g_get_host_name()) : std::vector<std::string>{};
}

std::optional<std::string> Data(const std::string& type) {
    if (type.empty())
        return std::nullopt;
    return RequestContents(type)->bytes;
}

} // namespace ak::Pasteboard
