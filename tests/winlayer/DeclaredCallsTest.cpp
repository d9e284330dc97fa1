#include "winlayer/window/WindowCalls.h"

#include <gtest/gtest.h>

namespace {

// Calls of later parts of the layer stop the program rather than pretend.
TEST(DeclaredCallsDeathTest, AbortNamingTheCall) {
    EXPECT_DEATH(WISP_ApplyCtlColors(nullptr, nullptr, FALSE),
                 "winlayer: WISP_ApplyCtlColors is not built yet");
}

} // namespace
