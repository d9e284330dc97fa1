#include "device/NameText.h"

#include <array>

namespace omnar {

namespace {

// U+00C0..U+00FF and U+0100..U+017F by their plain letters; '*' marks one
// written with two letters (below), '#' one that has no plain letter.
constexpr std::string_view kLatin1 = "AAAAAA*CEEEEIIIIDNOOOOO#OUUUUY**"
                                     "aaaaaa*ceeeeiiiidnooooo#ouuuuy*y";
constexpr std::string_view kLatinExtendedA = "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi**"
                                             "JjKkkLlLlLlLlLlNnNnNnnNnOoOoOo**RrRrRrSsSsSsSsTtTtTt"
                                             "UuUuUuUuUuUuWwYyYZzZzZzs";

struct Spelled {
    char32_t c;
    const char* plain;
};
constexpr std::array<Spelled, 17> kSpelled{{
    {U'Æ', "AE"},
    {U'æ', "ae"},
    {U'Þ', "TH"},
    {U'þ', "th"},
    {U'ß', "ss"},
    {U'Ĳ', "IJ"},
    {U'ĳ', "ij"},
    {U'Œ', "OE"},
    {U'œ', "oe"},
    {U'‘', "'"},
    {U'’', "'"},
    {U'‚', ","},
    {U'“', "\""},
    {U'”', "\""},
    {U'„', "\""},
    {U'–', "-"},
    {U'—', "-"},
}};

void AppendPlain(char32_t c, std::u32string& out) {
    if (c >= 0x20 && c <= 0x7E) {
        out += c;
        return;
    }
    for (const Spelled& s : kSpelled)
        if (s.c == c) {
            for (const char* p = s.plain; *p; ++p)
                out += char32_t(*p);
            return;
        }
    char plain = '#';
    if (c == 0xA0)
        plain = ' ';
    else if (c >= 0xC0 && c <= 0xFF)
        plain = kLatin1[c - 0xC0];
    else if (c >= 0x100 && c <= 0x17F)
        plain = kLatinExtendedA[c - 0x100];
    if (plain != '#' && plain != '*')
        out += char32_t(plain);
}

static_assert(kLatin1.size() == 64 && kLatinExtendedA.size() == 128);

} // namespace

std::u32string PlainNameText(std::u32string_view text) {
    std::u32string out;
    for (const char32_t c : text)
        AppendPlain(c, out);
    return out;
}

} // namespace omnar
