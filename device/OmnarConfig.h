#pragma once

#include "framework/PluginConfig.h"

namespace omnar {

// The record OmnarControl's constructor hands to its base classes.
vx::PluginConfig OmnarPluginConfig();

} // namespace omnar
