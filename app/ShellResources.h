#pragma once

#include "winlayer/WindowApi.h"

// The shell's dialog and menu resources: the main window (40001, no
// controls; the editor view fills it), the preferences dialog (40002) and
// the main menu (40004).
namespace shell {

// Prepends the three records to the shell's resource lists, once.
void RegisterResources();
// The heads of the lists: 40001, then 40002; null before registration.
DialogResourceRecord* DialogResources();
MenuResourceRecord* MenuResources();

} // namespace shell
