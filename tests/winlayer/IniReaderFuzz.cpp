#include "winlayer/IniImage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// Any bytes read as an ini file must give an image that, written out, reads
// back as the same image.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const winlayer::IniImage image = winlayer::ParseIni(bytes);
    const std::string written = winlayer::SerializeIni(image);
    if (winlayer::SerializeIni(winlayer::ParseIni(written)) != written) {
        std::fprintf(stderr, "ini image does not survive being written and read back\n");
        std::abort();
    }
    return 0;
}
