#include "winlayer/draw/Gdi.h"

#include <gtest/gtest.h>

namespace {

// Calls of later parts of the layer stop the program rather than pretend.
TEST(DeclaredCallsDeathTest, AbortNamingTheCall) {
    EXPECT_DEATH(WISP_CreateMetalDC(nullptr), "winlayer: WISP_CreateMetalDC is not built yet");
}

} // namespace
