#pragma once

#include "tests/devsim/DevsimOptions.h"

namespace devsim {

// Runs the simulator on JACK ports until a signal or --exit-after ends it.
// SIGINT and SIGTERM must already be blocked in every thread; returns the
// program's exit code.
int RunDevsim(const DevsimOptions& options);

} // namespace devsim
