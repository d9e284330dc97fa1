#pragma once

#include <string>
#include <vector>

namespace winlayer::test {

// Calls the window core made into later parts of the layer, as
// "<name> <argument> <argument>".
std::vector<std::string>& PendingCalls();

} // namespace winlayer::test
