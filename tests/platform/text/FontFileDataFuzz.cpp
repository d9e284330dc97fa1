// Font bytes from outside: every face index, style search and name read stays in bounds.
#include "platform/text/FontFileData.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (int face = 0; face < 3; ++face) {
        const text::FontFileData parsed(data, size, face);
        for (int id = 0; id < 8; ++id) {
            (void)parsed.ReadNameString(id, true);
            (void)parsed.ReadNameString(id, false);
        }
    }
    (void)text::FontFileData::FindFaceByStyle(data, size, "Bold");
    (void)text::FontFileData::FindFaceByStyle(data, size, "");
    return 0;
}
