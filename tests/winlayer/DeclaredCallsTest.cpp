#include "winlayer/draw/Gdi.h"

#include <gtest/gtest.h>

namespace {

// A Metal-target context needs a window view in Metal mode; anything else
// gets none rather than a context that draws nowhere.
TEST(DeclaredCallsTest, MetalContextNeedsAMetalView) {
    EXPECT_EQ(WISP_CreateMetalDC(nullptr), nullptr);
}

} // namespace
