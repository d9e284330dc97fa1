// Modal sessions a caller drives turn by turn.
#include "platform/ak/Application.h"
#include "winlayer/WinBasics.h"
#include "winlayer/shell/ShellCalls.h"

namespace {

constexpr int kPollMs = 10;
constexpr int kEndWaitMs = 2000;

ak::Application::ModalSession* SessionOf(void* session) {
    ak::Application* app = ak::Application::Shared();
    auto* typed = static_cast<ak::Application::ModalSession*>(session);
    return app && app->IsModalSession(typed) ? typed : nullptr;
}

} // namespace

int WISP_ModalWindowRun(void* session, int* code) {
    ak::Application::ModalSession* running = SessionOf(session);
    if (!running)
        return 0;
    const int result = ak::Application::Shared()->RunModalSession(running);
    if (result == ak::ModalResponse::Continue || !code)
        return 1;
    *code = result;
    return 0;
}

void WISP_ModalWindowEnd(void* session) {
    ak::Application::ModalSession* running = SessionOf(session);
    if (!running)
        return;
    ak::Application* app = ak::Application::Shared();
    if (app->RunModalSession(running) == ak::ModalResponse::Continue) {
        app->StopModalSession(running);
        // A session that will not stop is ended anyway, after a bounded wait.
        for (int waited = 0;
             waited < kEndWaitMs && app->RunModalSession(running) == ak::ModalResponse::Continue;
             waited += kPollMs)
            Sleep(kPollMs);
    }
    app->EndModalSession(running);
}
