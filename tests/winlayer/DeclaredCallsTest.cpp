#include "winlayer/window/WindowCalls.h"

#include <gtest/gtest.h>

namespace {

// Calls of later parts of the layer stop the program rather than pretend.
TEST(DeclaredCallsDeathTest, AbortNamingTheCall) {
    EXPECT_DEATH(WISP_CB_Empty(nullptr, 0), "winlayer: WISP_CB_Empty is not built yet");
}

} // namespace
