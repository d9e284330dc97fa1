#include "platform/sys/OpenPath.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// Nothing is launched for a path that names no file; no shell sees the text.
TEST(OpenPath, PathsThatNameNoFileOpenNothing) {
    const std::string missing = "/tmp/omnar-open-path-" + std::to_string(getpid()) + "/none.pdf";
    for (const std::string& path : {std::string(), std::string("relative/manual.pdf"), missing,
                                    std::string("/tmp/x.pdf; touch /tmp/omnar-open-path-shell")}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(sys::OpenPath(path));
    }
    EXPECT_NE(access("/tmp/omnar-open-path-shell", F_OK), 0);
}

} // namespace
