#include "platform/text/FontFileData.h"
#include "tests/platform/text/SfntBuilder.h"

#include <gtest/gtest.h>

namespace text_test {
namespace {

using text::FontFileData;

FontFileData Parse(const Bytes& b, int face = 0) {
    return FontFileData(b.data(), b.size(), face);
}

TEST(FontFileData, AcceptsOnlyKnownSingleFontTagsAtFaceZero) {
    const struct {
        std::string tag;
        bool valid;
    } cases[] = {{std::string("\0\1\0\0", 4), true},
                 {std::string("1\0\0\0", 4), true},
                 {"OTTO", true},
                 {"typ1", true},
                 {"true", false},
                 {"wOFF", false}};
    for (const auto& c : cases) {
        const Bytes font = SingleFont(c.tag, NamedFace(u"Face", u"Regular"));
        EXPECT_EQ(Parse(font).IsValid(), c.valid) << c.tag;
        EXPECT_FALSE(Parse(font, 1).IsValid()) << "face 1 of a single font: " << c.tag;
    }
}

TEST(FontFileData, ReadsNamesAndMetricsOfTheFace) {
    FaceSpec spec = NamedFace(u"Roboto", u"Bold");
    spec.unitsPerEM = 1000;
    spec.ascender = 800;
    spec.descender = -200;
    spec.lineGap = 90;
    spec.macStyle = 1;
    const FontFileData data = Parse(SingleFont("OTTO", spec));
    ASSERT_TRUE(data.IsValid());
    EXPECT_EQ(data.family, "Roboto");
    EXPECT_EQ(data.style, "Bold");
    EXPECT_EQ(data.unitsPerEM, 1000);
    EXPECT_EQ(data.ascender, 800);
    EXPECT_EQ(data.descender, -200);
    EXPECT_EQ(data.lineGap, 90);
    EXPECT_EQ(data.macStyle, 1);
    EXPECT_EQ(data.faceIndex, 0);
}

TEST(FontFileData, CollectionVersionsAndFaceCounts) {
    const std::vector<FaceSpec> faces = {NamedFace(u"A", u"Regular"), NamedFace(u"B", u"Bold")};
    const struct {
        uint32_t version;
        int face;
        bool valid;
        const char* family;
    } cases[] = {{0x00010000, 0, true, "A"},
                 {0x00020000, 1, true, "B"},
                 {0x00030000, 0, false, ""},
                 {0x00010000, 2, false, ""},
                 {0x00010000, -1, false, ""}};
    for (const auto& c : cases) {
        const FontFileData data = Parse(Collection(faces, c.version), c.face);
        EXPECT_EQ(data.IsValid(), c.valid) << std::hex << c.version << " face " << c.face;
        EXPECT_EQ(data.family, c.family);
    }
}

TEST(FontFileData, FindsFacesByStyle) {
    const Bytes ttc = Collection(
        {NamedFace(u"F", u"Regular"), NamedFace(u"F", u"Bold"), NamedFace(u"F", u"Italic")});
    EXPECT_EQ(FontFileData::FindFaceByStyle(ttc.data(), ttc.size(), "Bold"), 1);
    EXPECT_EQ(FontFileData::FindFaceByStyle(ttc.data(), ttc.size(), ""), 0);
    EXPECT_EQ(FontFileData::FindFaceByStyle(ttc.data(), ttc.size(), "Black"), -1);
    EXPECT_EQ(FontFileData::FindFaceByStyle(ttc.data(), ttc.size(), "bold"), -1);
    EXPECT_EQ(FontFileData::FindFaceByStyle(nullptr, 0, ""), -1);
}

TEST(FontFileData, NameRecordsByPlatformAndLanguage) {
    FaceSpec macOnly;
    macOnly.names = {MacName(1, "Mac Family"), MacName(2, "Plain")};
    EXPECT_EQ(Parse(SingleFont("OTTO", macOnly)).family, "Mac Family");

    FaceSpec german;
    german.names = {MicrosoftName(1, u"Deutsch", 1031), MacName(1, "Fallback")};
    EXPECT_EQ(Parse(SingleFont("OTTO", german)).family, "Fallback");

    FaceSpec both;
    both.names = {MacName(1, "Mac"), MicrosoftName(1, u"Windows")};
    const FontFileData data = Parse(SingleFont("OTTO", both));
    EXPECT_EQ(data.family, "Windows");
    EXPECT_EQ(data.ReadNameString(1, false), "Mac");
    EXPECT_EQ(data.ReadNameString(4, true), "");
}

TEST(FontFileData, ConvertsUtf16WithSurrogates) {
    const struct {
        std::u16string text;
        std::string utf8;
    } cases[] = {{u"Caf\u00e9", "Caf\xc3\xa9"},
                 {u"\xd83c\xdfb8 Bass", "\xf0\x9f\x8e\xb8 Bass"},
                 {std::u16string(u"A\xd800", 2), "A\xef\xbf\xbd"},
                 {std::u16string(u"\xdc00Z", 2), "\xef\xbf\xbdZ"},
                 {std::u16string(u"Cut\0Off", 7), "Cut"}};
    for (const auto& c : cases) {
        FaceSpec spec;
        spec.names = {MicrosoftName(1, c.text), MicrosoftName(2, u"Regular")};
        EXPECT_EQ(Parse(SingleFont("OTTO", spec)).family, c.utf8);
    }
}

TEST(FontFileData, MacStringEndsAtNulWithinItsLength) {
    FaceSpec spec;
    spec.names = {MacName(1, std::string("Ab\0cd", 5)), MacName(2, "Regular")};
    EXPECT_EQ(Parse(SingleFont("OTTO", spec)).family, "Ab");
}

TEST(FontFileData, EveryTruncationIsSafeAndNeverValidWithoutItsTables) {
    const Bytes full = Collection({NamedFace(u"Family", u"Regular"), NamedFace(u"F", u"Bold")});
    for (size_t size = 0; size < full.size(); ++size) {
        const Bytes cut(full.begin(), full.begin() + long(size));
        const FontFileData data(cut.data(), cut.size(), 1);
        if (data.IsValid()) {
            EXPECT_EQ(data.unitsPerEM, 2048) << size;
        }
    }
    EXPECT_FALSE(Parse(Bytes(full.begin(), full.begin() + 40)).IsValid());
}

TEST(FontFileData, OffsetsPastTheEndCountAsMissing) {
    Bytes font = SingleFont("OTTO", NamedFace(u"Family", u"Regular"));
    Bytes badTable = font;
    badTable[12 + 8] = 0x7F; // the first table's offset, far past the end
    EXPECT_FALSE(Parse(badTable).IsValid());

    Bytes badFace = Collection({NamedFace(u"A", u"Regular")});
    badFace[12] = 0xFF; // the face's offset
    EXPECT_FALSE(Parse(badFace).IsValid());

    FaceSpec lying;
    lying.names = {MicrosoftName(1, u"Fine"), MicrosoftName(2, u"Regular")};
    Bytes longName = SingleFont("OTTO", lying);
    const FontFileData good = Parse(longName);
    ASSERT_TRUE(good.IsValid());
    longName[good.name + 6 + 8] = 0xFF; // the family record's length, past the end
    EXPECT_EQ(Parse(longName).family.substr(0, 4), "Fine");
    longName[good.name + 6 + 10] = 0xFF; // and its offset
    EXPECT_EQ(Parse(longName).family, "");
}

TEST(FontFileData, MissingHheaMakesTheFaceInvalid) {
    FaceSpec spec = NamedFace(u"F", u"Regular");
    spec.withHhea = false;
    const FontFileData data = Parse(SingleFont("OTTO", spec));
    EXPECT_FALSE(data.IsValid());
    EXPECT_NE(data.head, 0u);
    EXPECT_EQ(data.hhea, 0u);
}

} // namespace
} // namespace text_test
