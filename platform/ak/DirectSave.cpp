#include "platform/ak/DirectSave.h"

#include <gtk/gtk.h>

#include <cstring>
#include <memory>

namespace ak {

namespace {

constexpr std::size_t kLongestName = 255;

GdkAtom PropertyAtom() {
    return gdk_atom_intern_static_string(kDirectSaveTarget);
}

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.size() <= kLongestName && name != "." && name != ".." &&
           name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

} // namespace

std::string DirectSaveFileName(GdkDragContext* context) {
    GdkWindow* source = gdk_drag_context_get_source_window(context);
    if (!source)
        return {};
    GdkAtom type = GDK_NONE;
    int format = 0;
    int length = 0;
    guchar* raw = nullptr;
    if (!gdk_property_get(source, PropertyAtom(), GDK_NONE, 0, 4096, FALSE, &type, &format, &length,
                          &raw))
        return {};
    const std::unique_ptr<guchar, decltype(&g_free)> data(raw, &g_free);
    if (format != 8 || length <= 0 || !data)
        return {};
    std::string name(reinterpret_cast<const char*>(data.get()), std::size_t(length));
    // Some sources count the terminating NUL.
    while (!name.empty() && name.back() == '\0')
        name.pop_back();
    return IsPlainFileName(name) ? name : std::string();
}

bool DirectSaveTellSource(GdkDragContext* context, const std::string& path) {
    GdkWindow* source = gdk_drag_context_get_source_window(context);
    gchar* uri = source ? g_filename_to_uri(path.c_str(), g_get_host_name(), nullptr) : nullptr;
    if (!uri)
        return false;
    gdk_property_change(source, PropertyAtom(), gdk_atom_intern_static_string("text/plain"), 8,
                        GDK_PROP_MODE_REPLACE, reinterpret_cast<const guchar*>(uri),
                        int(strlen(uri)));
    g_free(uri);
    return true;
}

bool DirectSaveSucceeded(std::string_view answer) {
    return answer == "S";
}

std::string DirectSaveFileType(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

} // namespace ak
