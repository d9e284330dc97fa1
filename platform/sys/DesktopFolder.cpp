#include "platform/sys/Folders.h"

#include <glib.h>

namespace sys {

std::string DesktopFolder() {
    if (const char* desktop = g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP); desktop && *desktop)
        return desktop;
    return HomeFolder() + "/Desktop";
}

} // namespace sys
