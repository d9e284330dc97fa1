// Build-time generator of the panel's images, factory impulse responses and
// manual. Usage: resgen <out folder> <manual.md> <regular.ttf> <bold.ttf> <mono.ttf>
#include "Art.h"
#include "ImpulseResponses.h"
#include "Manual.h"
#include "Output.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(
            stderr, "usage: resgen <out folder> <manual.md> <regular.ttf> <bold.ttf> <mono.ttf>\n");
        return 2;
    }
    try {
        const std::string dir = std::string(argv[1]) + "/";
        resgen::MakeFolders(dir);
        const resgen::Fonts fonts{resgen::FontFace(argv[3]), resgen::FontFace(argv[4]),
                                  resgen::FontFace(argv[5])};
        resgen::DrawPanelArt(fonts, dir);
        resgen::WriteFactoryResponses(dir);
        resgen::WriteManual(fonts, resgen::ParseManual(ReadText(argv[2])),
                            dir + "Vorlix_ZQTR_OM_XN1.pdf");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "resgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
