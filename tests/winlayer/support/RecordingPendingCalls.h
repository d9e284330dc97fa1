#pragma once

#include <string>
#include <vector>

namespace winlayer::test {

// Calls the window core made into later parts of the layer, as
// "WISP_ApplyCtlColors <force>".
std::vector<std::string>& PendingCalls();

} // namespace winlayer::test
