#include "winlayer/DrawTextLayout.h"
#include "winlayer/GdiRecords.h"
#include "winlayer/GdiText.h"

#include "platform/ak/Font.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace winlayer;
using Lines = std::vector<std::string>;

TEST(DrawTextLayoutTest, PrefixesLinesAndLimits) {
    struct Case {
        const char* name;
        std::string text;
        int length;
        bool noPrefix;
        bool singleLine;
        Lines expected;
    };
    const Case cases[] = {
        {"prefix dropped", "A&B", -1, false, false, {"AB"}},
        {"no prefix", "A&B", -1, true, false, {"A&B"}},
        {"double ampersand", "R&&D&", -1, false, false, {"R&D"}},
        {"length counts bytes", "Hello", 3, false, false, {"Hel"}},
        {"length past the NUL", std::string("Hi\0there", 8), 8, false, false, {"Hi"}},
        {"lines", "one\r\ntwo\n", -1, false, false, {"one", "two", ""}},
        {"single line", "one\r\ntwo", -1, false, true, {"one two"}},
        {"empty", "", -1, false, false, {}},
        {"only a prefix", "&", -1, false, false, {}},
        {"not UTF-8 reads as ASCII", "caf\xe9", -1, false, false, {"caf?"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DrawTextLines(c.text.c_str(), c.length, c.noPrefix, c.singleLine), c.expected)
            << c.name;
    EXPECT_TRUE(DrawTextLines(nullptr, -1, false, false).empty());
}

TEST(DrawTextLayoutTest, LongTextIsCutOnACharacter) {
    // 4,094 ASCII bytes then a two-byte character: byte 4,095 would split it.
    const std::string text = std::string(4094, 'a') + "\xc3\xa9" + "tail";
    const Lines lines = DrawTextLines(text.c_str(), -1, true, false);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(4094, 'a'));
}

TEST(DrawTextLayoutTest, Alignment) {
    EXPECT_EQ(DrawTextOrigin(10, 0, 110, 50, 31, 17, DT_CENTER).x, 10 + 35);
    EXPECT_EQ(DrawTextOrigin(10, 0, 110, 50, 31, 17, DT_RIGHT | DT_CENTER).x, 10 + 69);
    EXPECT_EQ(DrawTextOrigin(0, 20, 100, 60, 31, 17, DT_VCENTER).y, 20 + 20 - 8);
    EXPECT_EQ(DrawTextOrigin(0, 20, 100, 60, 31, 17, DT_BOTTOM).y, 20 + 23);
    EXPECT_EQ(DrawTextOrigin(5, 6, 100, 60, 31, 17, 0).x, 5);
}

class TextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(AddFontResourceEx(DEJAVU_SANS_PATH, 1, nullptr), 1); }
    void SetUp() override { hdc = WISP_CreateMemContext(nullptr, 200, 100); }
    void TearDown() override { WISP_DeleteGfxContext(hdc); }
    HDC hdc = nullptr;
};

TEST_F(TextTest, CreateFontSizesAndNames) {
    struct Case {
        int height, width, weight;
        DWORD italic;
        const char* face;
        double size;
        const char* family;
        bool bold, italicOut;
    };
    const Case cases[] = {
        {-12, 0, 700, 1, "DejaVu Sans", 12, "DejaVu Sans", true, true},
        {14, 3, 400, 0x100, "DejaVu Sans", 14, "DejaVu Sans", false, false},
        {0, -9, 400, 0, "DejaVu Sans", 9, "DejaVu Sans", false, false},
        {0, 0, 400, 0, "DejaVu Sans", 10, "DejaVu Sans", false, false},
        {9000, 0, 400, 0, "DejaVu Sans", 10, "DejaVu Sans", false, false},
        {1, 0, 400, 0, "DejaVu Sans", 10, "DejaVu Sans", false, false},
        {8192, 0, 400, 0, "DejaVu Sans", 8192, "DejaVu Sans", false, false},
    };
    for (const Case& c : cases) {
        HFONT font =
            CreateFont(c.height, c.width, 0, 0, c.weight, c.italic, 0, 0, 0, 0, 0, 0, 0, c.face);
        const ak::Font* made = WISP_FontHandleToCTFont(font);
        ASSERT_TRUE(made);
        EXPECT_EQ(made->PointSize(), c.size) << c.height << "/" << c.width;
        EXPECT_EQ(made->Family(), c.family);
        EXPECT_EQ(made->IsBold(), c.bold);
        EXPECT_EQ(made->IsItalic(), c.italicOut);
        DeleteObject(font);
    }
    EXPECT_EQ(WISP_FontHandleToCTFont(nullptr), nullptr);
}

TEST_F(TextTest, FaceNamesResolveWithSubstitution) {
    HFONT bold = CreateFont(-12, 0, 0, 0, 700, 1, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    SelectObject(hdc, bold);
    char name[64];
    EXPECT_GT(GetTextFace(hdc, sizeof name, name), 0);
    EXPECT_STREQ(name, "DejaVu Sans Bold Oblique");
    EXPECT_EQ(GetTextFace(hdc, 7, name), 6);
    EXPECT_STREQ(name, "DejaVu");
    EXPECT_EQ(GetTextFace(hdc, 0, name), 0);
    EXPECT_EQ(GetTextFace(nullptr, 64, name), 0);
    // A family nobody has still gives a font.
    HFONT unknown = CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "No Such Family 42");
    ASSERT_TRUE(WISP_FontHandleToCTFont(unknown));
    EXPECT_FALSE(WISP_FontHandleToCTFont(unknown)->Family().empty());
    EXPECT_NE(WISP_FontHandleToCTFont(unknown)->Family(), "No Such Family 42");
    SelectObject(hdc, reinterpret_cast<HGDIOBJ>(3));
    DeleteObject(bold);
    DeleteObject(unknown);
}

TEST_F(TextTest, CalcRectMeasuresWithoutDrawing) {
    HFONT font = CreateFont(-20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    SelectObject(hdc, font);
    const ak::Font& ak = *WISP_FontHandleToCTFont(font);
    const int lineHeight = int(std::floor(ak.Metrics().lineHeight + 1.5));
    RECT rect{10, 5, 10, 5};
    EXPECT_EQ(WISP_DrawText(hdc, "A&B", -1, &rect, DT_CALCRECT), lineHeight + 1);
    EXPECT_EQ(rect.right, 10 + int(std::floor(ak.Measure("AB").width + 0.5)));
    EXPECT_EQ(rect.bottom, 5 + lineHeight + 1);
    RECT whole{0, 0, 0, 0};
    WISP_DrawText(hdc, "A&B", -1, &whole, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(whole.right, int(std::floor(ak.Measure("A&B").width + 0.5)));
    EXPECT_GT(whole.right, rect.right - 10);
    RECT two{0, 0, 0, 0};
    EXPECT_EQ(WISP_DrawText(hdc, "one\ntwo", -1, &two, DT_CALCRECT), 2 * lineHeight + 1);
    RECT single{0, 0, 0, 0};
    EXPECT_EQ(WISP_DrawText(hdc, "one\ntwo", -1, &single, DT_CALCRECT | DT_SINGLELINE),
              lineHeight + 1);
    EXPECT_EQ(single.right, int(std::floor(ak.Measure("one two").width + 0.5)));
    // Nothing was drawn.
    const auto* pixels = static_cast<const uint32_t*>(WISP_GetCtxFrameBuffer(hdc));
    EXPECT_EQ(pixels[10 * 200 + 12] & 0xFFFFFF, 0u);
    SelectObject(hdc, reinterpret_cast<HGDIOBJ>(3));
    DeleteObject(font);
}

TEST_F(TextTest, DrawsInTheTextColourOverTheBackground) {
    HFONT font = CreateFont(-30, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    SelectObject(hdc, font);
    SetTextColor(hdc, 0xFFFFFF);
    SetBkColor(hdc, 0x0000FF);
    SetBkMode(hdc, OPAQUE);
    RECT rect{0, 0, 200, 100};
    const int result = WISP_DrawText(hdc, "HH", -1, &rect, 0);
    EXPECT_GT(result, 1);
    const auto* pixels = static_cast<const uint32_t*>(WISP_GetCtxFrameBuffer(hdc));
    int white = 0, blue = 0;
    for (int y = 0; y < result; ++y)
        for (int x = 0; x < 60; ++x) {
            const uint32_t p = pixels[y * 200 + x] & 0xFFFFFF;
            white += p == 0xFFFFFF;
            blue += p == 0x0000FF;
        }
    EXPECT_GT(white, 10);
    EXPECT_GT(blue, 10);
    // Below the text nothing changed.
    EXPECT_EQ(pixels[(result + 2) * 200 + 5] & 0xFFFFFF, 0u);
    EXPECT_EQ(WISP_DrawText(hdc, "", -1, &rect, 0), 0);
    EXPECT_EQ(WISP_DrawText(nullptr, "x", -1, &rect, 0), 0);
    SelectObject(hdc, reinterpret_cast<HGDIOBJ>(3));
    DeleteObject(font);
}

TEST_F(TextTest, Metrics) {
    TEXTMETRIC metrics{};
    EXPECT_EQ(GetTextMetrics(nullptr, &metrics), FALSE);
    EXPECT_EQ(metrics.tmHeight, 16);
    EXPECT_EQ(metrics.tmAscent, 12);
    EXPECT_EQ(metrics.tmDescent, 4);
    EXPECT_EQ(metrics.tmInternalLeading, 3);
    EXPECT_EQ(metrics.tmAveCharWidth, 10);
    EXPECT_EQ(GetTextMetrics(hdc, nullptr), FALSE);
    HFONT font = CreateFont(-30, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    SelectObject(hdc, font);
    EXPECT_EQ(GetTextMetrics(hdc, &metrics), TRUE);
    const ak::FontMetrics m = WISP_FontHandleToCTFont(font)->Metrics();
    EXPECT_EQ(metrics.tmAscent, int(m.ascent));
    EXPECT_EQ(metrics.tmDescent, int(m.descent));
    const int sum = metrics.tmAscent + metrics.tmDescent + metrics.tmInternalLeading;
    EXPECT_EQ(metrics.tmHeight, sum + 1);
    EXPECT_EQ(metrics.tmAveCharWidth, sum * 2 / 3);
    SelectObject(hdc, reinterpret_cast<HGDIOBJ>(3));
    DeleteObject(font);
}

TEST_F(TextTest, GlyphIndices) {
    const char16_t text[] = u"AB";
    WORD glyphs[2] = {7, 7};
    EXPECT_EQ(GetGlyphIndicesW(hdc, text, 2, glyphs, 1), 0);
    EXPECT_EQ(glyphs[0], 0xFFFF);
    EXPECT_EQ(glyphs[1], 0xFFFF);
    EXPECT_EQ(GetGlyphIndicesW(hdc, text, 2, glyphs, 0), 0);
    EXPECT_EQ(glyphs[0], 0);
    HFONT font = CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    SelectObject(hdc, font);
    EXPECT_EQ(GetGlyphIndicesW(hdc, text, 2, glyphs, 1), 2);
    EXPECT_NE(glyphs[0], 0);
    EXPECT_EQ(glyphs[1], glyphs[0] + 1);
    const char16_t missing[] = u"A\xE000";
    EXPECT_EQ(GetGlyphIndicesW(hdc, missing, 2, glyphs, 1), 0);
    EXPECT_EQ(glyphs[0], 0xFFFF);
    SelectObject(hdc, reinterpret_cast<HGDIOBJ>(3));
    DeleteObject(font);
}

TEST_F(TextTest, AddFontResourceRefusesWhatIsNoFont) {
    EXPECT_EQ(AddFontResourceEx("/nonexistent/font.ttf", 1, nullptr), 0);
    EXPECT_EQ(AddFontResourceEx(nullptr, 1, nullptr), 0);
}

} // namespace
