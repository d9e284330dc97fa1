// Every file the program loads: present, decodable and as the panel expects.
#include "ResourceFiles.h"

#include "device/ByteSource.h"
#include "device/FactoryIRNames.h"
#include "device/WavReader.h"
#include "platform/text/FontFileData.h"
#include "render/glyphatlas/GlyphAtlas.h"
#include "toolkit/svg/SvgImage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace resources_test {
namespace {

struct AtlasDeleter {
    void operator()(GlyphAtlas* a) const { glyphatlas_delete(a); }
};
using AtlasPtr = std::unique_ptr<GlyphAtlas, AtlasDeleter>;

AtlasPtr MakeAtlas() {
    GlyphAtlasParams params{};
    params.width = params.height = 512;
    params.flags = GLYPHATLAS_ZERO_TOPLEFT;
    return AtlasPtr(glyphatlas_create(&params));
}

std::vector<double> WavSamples(const std::vector<unsigned char>& bytes, int64_t* frames) {
    std::vector<double> out(4096, 0.0);
    MemoryByteSource source(bytes);
    const auto decode = omnar::ReadWav(source, 44100, out);
    *frames = decode ? decode->format.frames : 0;
    return out;
}

void CheckPng(const Entry& e, const std::vector<unsigned char>& bytes) {
    const Rgba8 img = DecodePng(bytes);
    ASSERT_EQ(img.width, e.width);
    ASSERT_EQ(img.height, e.height);
    ASSERT_EQ(img.height % e.frames, 0);
    const size_t frameBytes = img.pixels.size() / e.frames;
    for (int f = 1; f < e.frames; ++f)
        EXPECT_FALSE(std::equal(img.pixels.begin(), img.pixels.begin() + frameBytes,
                                img.pixels.begin() + f * frameBytes))
            << "frame " << f + 1 << " repeats frame 1";
    const int w = img.width - 1, h = img.height - 1;
    switch (e.look) {
    case Look::Opaque:
        for (size_t i = 3; i < img.pixels.size(); i += 4)
            ASSERT_EQ(img.pixels[i], 255) << "pixel " << i / 4;
        break;
    case Look::ClearCorners:
        for (auto [x, y] : {std::pair{0, 0}, {w, 0}, {0, h}, {w, h}})
            EXPECT_EQ(img.Alpha(x, y), 0) << x << "," << y;
        EXPECT_EQ(img.Alpha(w / 2, h / 2), 255);
        break;
    case Look::Veil:
        for (auto [x, y] : {std::pair{0, 0}, {w, 0}, {0, h}, {w, h}}) {
            EXPECT_GT(img.Alpha(x, y), 0);
            EXPECT_LT(img.Alpha(x, y), 255);
        }
        EXPECT_EQ(img.Alpha(w / 2, h / 2), 255);
        break;
    case Look::Any:
        break;
    }
}

void CheckFont(const std::vector<unsigned char>& bytes, const std::string& path) {
    text::FontFileData font(bytes.data(), bytes.size(), 0);
    EXPECT_TRUE(font.IsValid());
    AtlasPtr atlas = MakeAtlas();
    EXPECT_GE(glyphatlas_add_font_file(atlas.get(), "face", path.c_str(), 0), 0);
}

void CheckWav(const Entry& e, const std::vector<unsigned char>& bytes) {
    int64_t frames = 0;
    const std::vector<double> s = WavSamples(bytes, &frames);
    EXPECT_EQ(frames, 4096);
    double peak = 0, total = 0, early = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        peak = std::max(peak, std::abs(s[i]));
        total += s[i] * s[i];
        if (i < 1200)
            early += s[i] * s[i];
    }
    EXPECT_GE(peak, 0.5);
    EXPECT_LE(peak, 1.0);
    EXPECT_GE(early, 0.99 * total) << "energy past the 1200 samples the pedal keeps";
    const int slot = std::stoi(e.name.substr(0, 2));
    EXPECT_EQ(e.name.substr(3, e.name.size() - 7), omnar::FactoryIRNameTable[slot]);
}

TEST(ResourceFiles, EveryFileIsFoundAndLoadsAsThePanelExpects) {
    ASSERT_EQ(AllResources().size(), 48u);
    for (const Entry& e : AllResources()) {
        SCOPED_TRACE(e.name);
        const std::string path = Locate(e);
        ASSERT_FALSE(path.empty());
        const std::vector<unsigned char> bytes = ReadBytes(path);
        ASSERT_FALSE(bytes.empty());
        switch (e.kind) {
        case Kind::Png:
            CheckPng(e, bytes);
            break;
        case Kind::Svg: {
            const auto parsed =
                vx::ui::svg::Parse(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            ASSERT_TRUE(parsed.image) << parsed.error;
            EXPECT_FALSE(parsed.image->shapes.empty());
            if (e.width) {
                EXPECT_EQ(parsed.image->width, e.width);
            }
            break;
        }
        case Kind::Font:
            CheckFont(bytes, path);
            break;
        case Kind::Wav:
            CheckWav(e, bytes);
            break;
        case Kind::Pdf: {
            const std::string command = "pdfinfo '" + path + "' > /dev/null 2>&1";
            EXPECT_EQ(std::system(command.c_str()), 0);
            break;
        }
        }
    }
}

TEST(ResourceFiles, EveryCopiedFontCarriesItsLicence) {
    const Entry manual{"Vorlix_ZQTR_OM_XN1.pdf", Kind::Pdf};
    const std::string root = Locate(manual).substr(0, Locate(manual).rfind('/') + 1);
    for (const char* font : {"Roboto-Regular.ttf", "Knowledge-Bold.ttf", "forkawesome-webfont.ttf",
                             "ni7seg.ttf", "fontaudio.ttf"}) {
        SCOPED_TRACE(font);
        EXPECT_FALSE(ReadBytes(root + "licences/" + font + ".copyright").empty());
    }
    EXPECT_FALSE(ReadBytes(root + "licences/Apache-2.0").empty());
}

// Text set by the renderer: sizes are ascent minus descent, as the panel draws.
struct FitCase {
    const char* font;
    float size;
    const char* text;
    float width, height;
};

TEST(ResourceFiles, TextFitsWhereThePanelSetsIt) {
    const FitCase cases[] = {
        {"MyBlueRoom.ttf", 88, "188", 128, 88}, // the preset display window
        {"MyBlueRoom.ttf", 88, "127", 128, 88},
        {"Knowledge-Bold.ttf", 44, "GATE & MASTER LEVEL", 400, 60},
        {"Roboto-Regular.ttf", 24, "CLICK HERE TO EDIT IMPULSE RESPONSE", 467, 24},
        {"Roboto-Regular.ttf", 18, "IMPORT", 115, 45},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.text);
        AtlasPtr atlas = MakeAtlas();
        const std::string path = Locate({c.font, Kind::Font});
        const int font = glyphatlas_add_font_file(atlas.get(), c.font, path.c_str(), 0);
        ASSERT_GE(font, 0);
        glyphatlas_set_font(atlas.get(), font);
        glyphatlas_set_size(atlas.get(), c.size);
        float bounds[4] = {};
        glyphatlas_text_bounds(atlas.get(), 0, 0, c.text, nullptr, bounds);
        EXPECT_LE(bounds[2] - bounds[0], c.width);
        EXPECT_LE(bounds[3] - bounds[1], c.height);
    }
}

TEST(ResourceFiles, NoTextOfThePanelMissesAGlyph) {
    struct Case {
        const char* font;
        const char* text;
    };
    const Case cases[] = {
        {"MyBlueRoom.ttf", "0123456789- "},
        {"Knowledge-Bold.ttf", "GATE & MASTER LEVEL AMBIENCE AMPLIFIER PRE-AMP DYNAMICS FILTER "
                               "CHORUS ANALOG SIMULATION AUTO FILTER 0123456789"},
        {"Roboto-Regular.ttf", "Quorbel Omnar Default Preset Name IMPORT EXPORT Communication "
                               "error! Unknown file format. Firmware update finished. Error in "
                               "update! Finished successfully! %:/.,()-_0123456789"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font);
        const std::vector<unsigned char> bytes = ReadBytes(Locate({c.font, Kind::Font}));
        AtlasPtr atlas = MakeAtlas();
        const int font =
            glyphatlas_add_font_mem(atlas.get(), c.font, const_cast<unsigned char*>(bytes.data()),
                                    static_cast<int>(bytes.size()), 0, 0);
        ASSERT_GE(font, 0);
        glyphatlas_set_font(atlas.get(), font);
        glyphatlas_set_size(atlas.get(), 20);
        for (const char* p = c.text; *p; ++p) {
            const char one[2] = {*p, 0};
            GlyphAtlasTextIter iter{};
            GlyphAtlasQuad quad{};
            glyphatlas_iter_init(atlas.get(), &iter, 0, 0, one, nullptr,
                                 GLYPHATLAS_GLYPH_BITMAP_OPTIONAL);
            ASSERT_TRUE(glyphatlas_iter_next(atlas.get(), &iter, &quad));
            EXPECT_NE(iter.prevGlyphIndex, 0) << "'" << *p << "' has no glyph";
        }
    }
}

// Level in dB at `hz` of a 44.1 kHz response.
double LevelDb(const std::vector<double>& s, double hz) {
    double re = 0, im = 0;
    for (size_t n = 0; n < s.size(); ++n) {
        const double phase = 2 * M_PI * hz * static_cast<double>(n) / 44100;
        re += s[n] * std::cos(phase);
        im -= s[n] * std::sin(phase);
    }
    return 10 * std::log10(re * re + im * im + 1e-20);
}

TEST(ResourceFiles, TheEightCabinetsSoundDifferent) {
    std::vector<std::vector<double>> spectra;
    for (const Entry& e : AllResources()) {
        if (e.kind != Kind::Wav)
            continue;
        int64_t frames = 0;
        const std::vector<double> s = WavSamples(ReadBytes(Locate(e)), &frames);
        std::vector<double> levels;
        for (double hz = 80; hz <= 8000; hz *= std::pow(100.0, 1.0 / 48))
            levels.push_back(LevelDb(s, hz));
        spectra.push_back(levels);
    }
    ASSERT_EQ(spectra.size(), 8u);
    for (size_t a = 0; a < 8; ++a)
        for (size_t b = a + 1; b < 8; ++b) {
            double sum = 0;
            for (size_t k = 0; k < spectra[a].size(); ++k)
                sum += std::pow(spectra[a][k] - spectra[b][k], 2);
            EXPECT_GE(std::sqrt(sum / spectra[a].size()), 2.0) << a + 1 << " and " << b + 1;
        }
}

} // namespace
} // namespace resources_test
