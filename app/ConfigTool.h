#pragma once

#include <string>

// The sound settings tool behind the preferences' "Config..." button.
namespace shell {

// The first of pavucontrol and qjackctl that is an executable file in a
// folder of $PATH; empty when neither is.
std::string FindConfigTool();
// Starts the tool (no shell between), unless the one started before still
// runs; a finished one is reaped. False when nothing was started.
bool StartConfigTool();

} // namespace shell
