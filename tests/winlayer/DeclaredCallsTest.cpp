#include "winlayer/window/WindowCalls.h"

#include <gtest/gtest.h>

namespace {

// Calls of later parts of the layer stop the program rather than pretend.
TEST(DeclaredCallsDeathTest, AbortNamingTheCall) {
    EXPECT_DEATH(WISP_InitiateDragDrop(nullptr, nullptr, nullptr, nullptr),
                 "winlayer: WISP_InitiateDragDrop is not built yet");
}

} // namespace
