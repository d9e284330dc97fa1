#include "tests/platform/text/SfntBuilder.h"

namespace text_test {

namespace {

void Put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v >> 8);
    b[at + 1] = uint8_t(v);
}

void Put32(Bytes& b, size_t at, uint32_t v) {
    Put16(b, at, v >> 16);
    Put16(b, at + 2, v & 0xFFFF);
}

Bytes HeadTable(const FaceSpec& f) {
    Bytes t(54, 0);
    Put32(t, 0, 0x00010000);
    Put16(t, 18, f.unitsPerEM);
    Put16(t, 44, f.macStyle);
    return t;
}

Bytes HheaTable(const FaceSpec& f) {
    Bytes t(36, 0);
    Put32(t, 0, 0x00010000);
    Put16(t, 4, uint16_t(f.ascender));
    Put16(t, 6, uint16_t(f.descender));
    Put16(t, 8, uint16_t(f.lineGap));
    return t;
}

Bytes NameTable(const FaceSpec& f) {
    const size_t storage = 6 + 12 * f.names.size();
    Bytes t(storage, 0);
    Put16(t, 2, uint32_t(f.names.size()));
    Put16(t, 4, uint32_t(storage));
    size_t offset = 0;
    for (size_t i = 0; i < f.names.size(); ++i) {
        const NameRecord& n = f.names[i];
        const size_t r = 6 + 12 * i;
        Put16(t, r, n.platform);
        Put16(t, r + 2, n.encoding);
        Put16(t, r + 4, n.language);
        Put16(t, r + 6, n.nameId);
        Put16(t, r + 8, uint32_t(n.text.size()));
        Put16(t, r + 10, uint32_t(offset));
        offset += n.text.size();
    }
    for (const NameRecord& n : f.names)
        t.insert(t.end(), n.text.begin(), n.text.end());
    return t;
}

// Appends the face's directory and tables to `file`; offsets count from the file's start.
void AppendFace(Bytes& file, const std::string& tag, const FaceSpec& face) {
    std::vector<std::pair<std::string, Bytes>> tables = {{"head", HeadTable(face)},
                                                         {"name", NameTable(face)}};
    if (face.withHhea)
        tables.emplace_back("hhea", HheaTable(face));
    const size_t dir = file.size();
    file.resize(dir + 12 + 16 * tables.size(), 0);
    for (size_t i = 0; i < 4; ++i)
        file[dir + i] = uint8_t(tag[i]);
    Put16(file, dir + 4, uint32_t(tables.size()));
    for (size_t i = 0; i < tables.size(); ++i) {
        const size_t record = dir + 12 + 16 * i;
        for (size_t c = 0; c < 4; ++c)
            file[record + c] = uint8_t(tables[i].first[c]);
        Put32(file, record + 8, uint32_t(file.size()));
        Put32(file, record + 12, uint32_t(tables[i].second.size()));
        file.insert(file.end(), tables[i].second.begin(), tables[i].second.end());
    }
}

} // namespace

NameRecord MicrosoftName(uint16_t nameId, const std::u16string& text, uint16_t language) {
    NameRecord n{3, 1, language, nameId, {}};
    for (char16_t c : text) {
        n.text.push_back(uint8_t(c >> 8));
        n.text.push_back(uint8_t(c));
    }
    return n;
}

NameRecord MacName(uint16_t nameId, const std::string& text) {
    return {1, 0, 0, nameId, Bytes(text.begin(), text.end())};
}

FaceSpec NamedFace(const std::u16string& family, const std::u16string& style) {
    FaceSpec f;
    f.names = {MicrosoftName(1, family), MicrosoftName(2, style)};
    return f;
}

Bytes SingleFont(const std::string& tag, const FaceSpec& face) {
    Bytes file;
    AppendFace(file, tag, face);
    return file;
}

Bytes Collection(const std::vector<FaceSpec>& faces, uint32_t version) {
    Bytes file(12 + 4 * faces.size(), 0);
    const std::string tag = "ttcf";
    for (size_t i = 0; i < 4; ++i)
        file[i] = uint8_t(tag[i]);
    Put32(file, 4, version);
    Put32(file, 8, uint32_t(faces.size()));
    for (size_t i = 0; i < faces.size(); ++i) {
        Put32(file, 12 + 4 * i, uint32_t(file.size()));
        AppendFace(file, std::string("\0\1\0\0", 4), faces[i]);
    }
    return file;
}

} // namespace text_test
