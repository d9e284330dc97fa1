// The Linux entry into the main loop, and the window functions of the API
// name table.
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "platform/ak/Window.h"
#include "winlayer/window/AppController.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

int WISP_ApplicationMain(int, char**, AppMessageHandlerFunc handler) {
    ak::Ref<ak::Application> app = ak::Application::Create();
    if (!app)
        return 1;
    winlayer::AddWindowApiNames();
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
