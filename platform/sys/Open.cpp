#include "platform/sys/Open.h"

#include <gio/gio.h>

#include <memory>

namespace sys {

namespace {

struct GFree {
    void operator()(void* p) const { g_free(p); }
};
using GString = std::unique_ptr<char, GFree>;

struct Unref {
    void operator()(void* p) const { g_object_unref(p); }
};

bool Exists(const std::string& path) {
    return !path.empty() && g_file_test(path.c_str(), G_FILE_TEST_EXISTS);
}

GString UriOfPath(const std::string& path) {
    std::unique_ptr<GFile, Unref> file(g_file_new_for_path(path.c_str()));
    return GString(g_file_get_uri(file.get()));
}

// The desktop's file manager over D-Bus, asked to select the item.
bool ShowItemInFileManager(const char* uri) {
    std::unique_ptr<GDBusConnection, Unref> bus(
        g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
    if (!bus)
        return false;
    const char* uris[] = {uri, nullptr};
    GVariant* reply = g_dbus_connection_call_sync(
        bus.get(), "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
        "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", uris, ""), nullptr,
        G_DBUS_CALL_FLAGS_NO_AUTO_START, 2000, nullptr, nullptr);
    if (!reply)
        return false;
    g_variant_unref(reply);
    return true;
}

} // namespace

bool OpenUri(const std::string& uri) {
    if (uri.empty() || !g_uri_is_valid(uri.c_str(), G_URI_FLAGS_NONE, nullptr))
        return false;
    GError* error = nullptr;
    const bool launched = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error);
    if (error)
        g_error_free(error);
    return launched;
}

std::string FileUri(const std::string& path) {
    const GString uri = UriOfPath(path);
    return uri ? uri.get() : "";
}

bool OpenPath(const std::string& path) {
    if (!Exists(path))
        return false;
    return OpenUri(UriOfPath(path).get());
}

bool OpenPath(const std::string& path, const std::string& contentType) {
    if (!Exists(path))
        return false;
    std::unique_ptr<GAppInfo, Unref> app(
        g_app_info_get_default_for_type(contentType.c_str(), FALSE));
    if (!app)
        return false;
    std::unique_ptr<GFile, Unref> file(g_file_new_for_path(path.c_str()));
    GList files{file.get(), nullptr, nullptr};
    GError* error = nullptr;
    const bool launched = g_app_info_launch(app.get(), &files, nullptr, &error);
    if (error)
        g_error_free(error);
    return launched;
}

bool RevealPath(const std::string& path) {
    if (!Exists(path))
        return false;
    if (ShowItemInFileManager(UriOfPath(path).get()))
        return true;
    GString folder(g_path_get_dirname(path.c_str()));
    return OpenPath(g_file_test(path.c_str(), G_FILE_TEST_IS_DIR) ? path : folder.get());
}

} // namespace sys
