#include "winlayer/ApiNames.h"
#include "winlayer/draw/Gdi.h"
#include "winlayer/draw/Menus.h"
#include "winlayer/window/MenuSlots.h"
#include "winlayer/window/WindowCalls.h"

#include <iterator>
#include <mutex>

#define API_NAME(function)                                                                         \
    { #function, reinterpret_cast < void*>(&function) }

namespace winlayer {

void RegisterWindowApiNames() {
    static const ApiName names[] = {
        API_NAME(GetDC),
        API_NAME(GetWindowDC),
        API_NAME(ReleaseDC),
        API_NAME(SetMenu),
        API_NAME(GetMenu),
        API_NAME(TrackPopupMenu),
        API_NAME(WISP_SetMenuDestination),
        API_NAME(WISP_SetCurrentMenu),
        API_NAME(WISP_GetCurrentMenu),
    };
    static std::once_flag registered;
    std::call_once(registered, [] {
        RegisterDrawingApiNames();
        RegisterApiNames(names, static_cast<int>(std::size(names)));
    });
}

} // namespace winlayer
