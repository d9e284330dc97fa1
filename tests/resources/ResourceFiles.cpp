#include "ResourceFiles.h"

#include "framework/VxString.h"
#include "toolkit/ResourcePath.h"

#include <fstream>
#include <iterator>
#include <stb/stb_image.h>

namespace resources_test {
namespace {

std::vector<Entry> MakeTable() {
    std::vector<Entry> t{
        {"background.png", Kind::Png, 1920, 1200, 1, Look::Opaque},
        {"backgroundred.png", Kind::Png, 1920, 1200, 1, Look::Opaque},
        {"fwbg.png", Kind::Png, 1920, 1200, 1, Look::Veil},
        {"globalbg.png", Kind::Png, 1920, 1200, 1, Look::Veil},
        {"about.png", Kind::Png, 1920, 1200, 1, Look::Veil},
        {"knobrotate.png", Kind::Png, 112, 112, 1, Look::ClearCorners},
        {"knobrotatebig.png", Kind::Png, 160, 160, 1, Look::ClearCorners},
        {"fswitch.png", Kind::Png, 120, 240, 2},
        {"save.png", Kind::Png, 56, 112, 2},
        {"led.png", Kind::Png, 24, 24, 1, Look::ClearCorners},
        {"mic.png", Kind::Png, 40, 35},
        {"micbg.png", Kind::Png, 40, 435},
        {"irbg.png", Kind::Png, 640, 460},
        {"midizelvit.png", Kind::Png, 400, 150},
        {"vector-knob.svg", Kind::Svg, 30, 30},
        {"micbg.svg", Kind::Svg},
        {"Roboto-Regular.ttf", Kind::Font},
        {"Knowledge-Bold.ttf", Kind::Font},
        {"MyBlueRoom.ttf", Kind::Font},
        {"forkawesome-webfont.ttf", Kind::Font},
        {"ni7seg.ttf", Kind::Font},
        {"fontaudio.ttf", Kind::Font},
        {"Vorlix_ZQTR_OM_XN1.pdf", Kind::Pdf},
    };
    for (const char* n : {"chorus", "echo", "echoverb", "hall", "plate", "room", "spring"})
        t.push_back({std::string("radio-") + n + ".png", Kind::Png, 130, 64, 2});
    for (const char* n : {"bassorvo", "eraone", "eratwo", "hinge", "inkplate", "isleton", "kelbass",
                          "kelstack", "razen", "twinorvo"})
        t.push_back({std::string("amp-") + n + ".png", Kind::Png, 130, 64, 2});
    for (const char* n : {"01-Quorbel", "02-Hinglow", "03-KL 8x10", "04-Dunmo 2x15",
                          "05-Ovaten 2x15", "06-Brel 4x10", "07-Tirn 12L", "08-Isle V30"})
        t.push_back({std::string(n) + ".wav", Kind::Wav});
    return t;
}

const char* TypeOf(Kind k) {
    switch (k) {
    case Kind::Png:
        return "png";
    case Kind::Svg:
        return "svg";
    case Kind::Font:
        return "ttf";
    case Kind::Wav:
        return "wav";
    case Kind::Pdf:
        return "pdf";
    }
    return "";
}

} // namespace

const std::vector<Entry>& AllResources() {
    static const std::vector<Entry> table = MakeTable();
    return table;
}

std::string Locate(const Entry& e) {
    VxString out;
    const bool found = vx::FindResourcePath(e.name.c_str(), TypeOf(e.kind), out, "", nullptr,
                                            e.kind == Kind::Wav ? "irs" : "");
    return found ? std::string(out.Get()) : std::string();
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Rgba8 DecodePng(const std::vector<unsigned char>& bytes) {
    Rgba8 image;
    int channels = 0;
    unsigned char* data = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()),
                                                &image.width, &image.height, &channels, 4);
    if (!data)
        return {};
    image.pixels.assign(data, data + image.width * image.height * 4);
    stbi_image_free(data);
    return image;
}

} // namespace resources_test
