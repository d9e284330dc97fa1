#include "framework/shell/AppShell.h"
#include "framework/shell/ShellResources.h"

int main(int argc, char** argv) {
    IsSandboxed();
    shell::RegisterResources();
    return WISP_ApplicationMain(argc, argv, &AppMessageHandler);
}
