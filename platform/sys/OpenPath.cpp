#include "platform/sys/OpenPath.h"

#include <gio/gio.h>

#include <memory>

namespace sys {
namespace {

struct GFree {
    void operator()(gchar* text) const { g_free(text); }
};
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

} // namespace

bool OpenPath(const std::string& path) {
    if (path.empty())
        return false;
    GError* raw = nullptr;
    const std::unique_ptr<gchar, GFree> uri(g_filename_to_uri(path.c_str(), nullptr, &raw));
    std::unique_ptr<GError, GErrorFree> error(raw);
    if (!uri)
        return false;
    raw = nullptr;
    const bool launched = g_app_info_launch_default_for_uri(uri.get(), nullptr, &raw);
    error.reset(raw);
    return launched;
}

} // namespace sys
