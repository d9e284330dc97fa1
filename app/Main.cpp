#include "app/AppShell.h"
#include "app/ShellResources.h"
#include "winlayer/listviews/ListView.h"

int main(int argc, char** argv) {
    IsSandboxed();
    shell::RegisterResources();
    // Lists and trees live in a library above the window core, so the program plugs them in.
    winlayer::EnableListControls();
    return WISP_ApplicationMain(argc, argv, &AppMessageHandler);
}
