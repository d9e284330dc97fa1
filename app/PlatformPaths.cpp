#include "app/AppShell.h"

#include "platform/sys/Folders.h"

void GetAppSupportPath(VxString& out, const char* /*name*/) {
    // The data folder already ends in the editor's own name.
    out.SetBounded(sys::DataFolder().c_str());
}

bool IsSandboxed() {
    return sys::HomeFolder().find("Library/Containers/") != std::string::npos;
}
