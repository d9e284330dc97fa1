#pragma once

#include "tests/devsim/SimWire.h"

#include <string>

namespace devsim {

// One line naming a protocol message and its main fields, for the trace.
std::string DescribeMessage(ByteView message);

} // namespace devsim
