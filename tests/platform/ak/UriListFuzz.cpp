#include "platform/ak/UriList.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// Whatever a drop carries: every path found is absolute and NUL-free, and
// survives being dragged out and dropped back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& path : ak::FilePathsFromUriList(bytes, "host")) {
        const auto again = ak::FilePathsFromUriList(ak::FileUriFromPath(path));
        if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos ||
            again.size() != 1 || again[0] != path) {
            std::fprintf(stderr, "path does not survive a drag out and back\n");
            std::abort();
        }
    }
    return 0;
}
