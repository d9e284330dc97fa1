// An installation that lost or damaged a resource: each loader gives its
// empty result, never a crash (run under the address sanitizer).
#include "ResourceFiles.h"

#include "device/ByteSource.h"
#include "device/WavReader.h"
#include "platform/text/FontFileData.h"
#include "render/glyphatlas/GlyphAtlas.h"
#include "toolkit/svg/SvgImage.h"

#include <gtest/gtest.h>

namespace resources_test {
namespace {

// A font file cut after its leading tables may still be accepted; its
// glyphs must then be read within the bytes there are.
void RasteriseEveryDigit(GlyphAtlas* atlas, int font) {
    glyphatlas_set_font(atlas, font);
    glyphatlas_set_size(atlas, 40);
    const char* text = "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ-&!";
    GlyphAtlasTextIter iter{};
    GlyphAtlasQuad quad{};
    glyphatlas_iter_init(atlas, &iter, 0, 0, text, nullptr, GLYPHATLAS_GLYPH_BITMAP_REQUIRED);
    while (glyphatlas_iter_next(atlas, &iter, &quad)) {
    }
}

// What a loader makes of the bytes; true when it produced something usable.
bool Loads(Kind kind, std::vector<unsigned char> bytes) {
    switch (kind) {
    case Kind::Png:
        return DecodePng(bytes).width > 0;
    case Kind::Svg:
        return vx::ui::svg::Parse(reinterpret_cast<const char*>(bytes.data()), bytes.size())
                   .image != nullptr;
    case Kind::Font: {
        text::FontFileData font(bytes.data(), bytes.size(), 0);
        if (!font.IsValid())
            return false;
        GlyphAtlasParams params{};
        params.width = params.height = 256;
        GlyphAtlas* atlas = glyphatlas_create(&params);
        const int id =
            glyphatlas_add_font_mem(atlas, "f", bytes.data(), static_cast<int>(bytes.size()), 0, 0);
        if (id >= 0)
            RasteriseEveryDigit(atlas, id);
        glyphatlas_delete(atlas);
        return id >= 0;
    }
    case Kind::Wav: {
        std::vector<double> out(4096);
        MemoryByteSource source(bytes);
        const auto decode = omnar::ReadWav(source, 44100, out);
        return decode && decode->format.frames == 4096;
    }
    case Kind::Pdf:
        return bytes.size() > 4 && bytes[0] == '%';
    }
    return false;
}

TEST(DamagedResources, MissingOrHalvedFilesLoadAsNothing) {
    for (const Entry& e : AllResources()) {
        if (e.kind == Kind::Pdf)
            continue; // the manual is only handed to the launcher
        SCOPED_TRACE(e.name);
        const std::vector<unsigned char> whole = ReadBytes(Locate(e));
        ASSERT_TRUE(Loads(e.kind, whole));
        EXPECT_FALSE(Loads(e.kind, {}));
        const std::vector<unsigned char> half(whole.begin(), whole.begin() + whole.size() / 2);
        // A font's leading tables may survive the cut; reading it is then
        // what must stay within bounds.
        if (e.kind != Kind::Font) {
            EXPECT_FALSE(Loads(e.kind, half));
        } else {
            Loads(e.kind, half);
        }
    }
}

} // namespace
} // namespace resources_test
