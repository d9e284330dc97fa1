#pragma once

// The one fontconfig configuration of this folder's lookups and the mutex
// that serialises them (fontconfig calls on one configuration are not
// reliably thread-safe).

#include <fontconfig/fontconfig.h>

#include <mutex>

namespace text {

FcConfig* ProcessFontConfig();
std::mutex& FontConfigMutex();

} // namespace text
