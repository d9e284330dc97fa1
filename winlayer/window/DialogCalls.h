#pragma once

#include "platform/ak/FilePanel.h"
#include "winlayer/WindowApi.h"

namespace winlayer {

// A file panel about to run: WISP_CreateDialog with its address as parent
// makes the dialog the panel's accessory view. Removed when it has run.
void AddFilePanel(ak::SavePanel* panel);
void RemoveFilePanel(ak::SavePanel* panel);

} // namespace winlayer
