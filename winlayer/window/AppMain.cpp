// The Linux entry into the main loop, and the window functions of the API
// name table.
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "platform/ak/Window.h"
#include "winlayer/ApiNames.h"
#include "winlayer/window/AppController.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <mutex>

int WISP_ApplicationMain(int, char**, AppMessageHandlerFunc handler) {
    ak::Ref<ak::Application> app = ak::Application::Create();
    if (!app)
        return 1;
    winlayer::AddWindowApiEntries();
    // The queue's tick keeps the controller for the rest of the process.
    static auto* controller = new WISPAppController(handler);
    controller->setHandler(handler);
    WISPApplication application(*app, *controller);
    controller->awakeFromNib(*app);
    app->Run();
    app->SetDelegate(nullptr);
    return 0;
}

BOOL WISP_IsTextView(HWND view) {
    ak::View* found = winlayer::FindView(view);
    return dynamic_cast<ak::TextField*>(found) || dynamic_cast<ak::TextView*>(found) ? TRUE : FALSE;
}

void WISP_DeliverKeyDown(HWND view, const void* platformEvent) {
    ak::View* found = winlayer::FindView(view);
    const auto* event = static_cast<const ak::Event*>(platformEvent);
    if (!found || !event || event->type != ak::EventType::KeyDown)
        return;
    ak::Ref<ak::View> hold(found);
    found->KeyDown(*event);
}

namespace winlayer {

void AddWindowApiEntries() {
#define WINDOW_API_ENTRY(function)                                                                 \
    { #function, reinterpret_cast < void*>(&function) }
    static std::once_flag added;
    std::call_once(added, [] {
        static const ApiEntry entries[] = {
            WINDOW_API_ENTRY(GetDlgItem),
            WINDOW_API_ENTRY(ShowWindow),
            WINDOW_API_ENTRY(DestroyWindow),
            WINDOW_API_ENTRY(SendMessage),
            WINDOW_API_ENTRY(EndDialog),
            WINDOW_API_ENTRY(DefWindowProc),
            WINDOW_API_ENTRY(BeginPaint),
            WINDOW_API_ENTRY(EndPaint),
            WINDOW_API_ENTRY(WISP_DialogBox),
            WINDOW_API_ENTRY(WISP_CreateDialog),
            WINDOW_API_ENTRY(WISP_BroadcastMessage),
            WINDOW_API_ENTRY(WISP_GetDefaultButtonID),
            WINDOW_API_ENTRY(WISP_PostQuitMessage),
            WINDOW_API_ENTRY(WISP_Internal_PostMessage_Init),
        };
        AddApiEntries(entries, int(std::size(entries)));
    });
#undef WINDOW_API_ENTRY
}

} // namespace winlayer
