// The manual's source as the generator reads and sets it.
#include "tools/resgen/Fonts.h"
#include "tools/resgen/Manual.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace resgen {
namespace {

using K = Block::Kind;

TEST(ManualSource, BlocksAreReadAndUnknownMarkupStaysText) {
    struct Case {
        const char* source;
        std::vector<Block> blocks;
    };
    const Case cases[] = {
        {"# Title\n## Part\ntext one\ntext two\n\nnext",
         {{K::Title, "Title"},
          {K::Heading, "Part"},
          {K::Paragraph, "text one text two"},
          {K::Paragraph, "next"}}},
        {"- a\n  wrapped\n- b", {{K::Bullet, "a wrapped"}, {K::Bullet, "b"}}},
        {"```\nx  = 1\n\n# not a title\n```\nafter",
         {{K::Code, "x  = 1\n\n# not a title\n"}, {K::Paragraph, "after"}}},
        {"### deep *bold* [link](x)\n> quote",
         {{K::Paragraph, "### deep *bold* [link](x) > quote"}}},
        {"```\nnever closed", {{K::Code, "never closed\n"}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const std::vector<Block> got = ParseManual(c.source);
        ASSERT_EQ(got.size(), c.blocks.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].kind, c.blocks[i].kind) << i;
            EXPECT_EQ(got[i].text, c.blocks[i].text) << i;
        }
    }
}

TEST(ManualSource, AWordLongerThanALineIsBrokenAndNothingIsLost) {
    const std::string word(400, 'W');
    const std::string pdf = std::filesystem::temp_directory_path() /
                            ("manual-test-" + std::to_string(getpid()) + ".pdf");
    const Fonts fonts{FontFace(RESGEN_REGULAR_FONT), FontFace(RESGEN_BOLD_FONT),
                      FontFace(RESGEN_MONO_FONT)};
    WriteManual(fonts, {{K::Paragraph, "before " + word + " after"}}, pdf);
    const std::string text = pdf + ".txt";
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + text + "'").c_str()), 0);
    std::ifstream in(text);
    std::string all, line;
    int lines = 0;
    while (std::getline(in, line)) {
        lines += line.find('W') != std::string::npos;
        all += line;
    }
    std::filesystem::remove(pdf);
    std::filesystem::remove(text);
    EXPECT_GE(lines, 3);
    size_t ws = 0;
    for (char ch : all)
        ws += ch == 'W';
    EXPECT_EQ(ws, word.size());
    EXPECT_NE(all.find("before"), std::string::npos);
    EXPECT_NE(all.find("after"), std::string::npos);
}

} // namespace
} // namespace resgen
