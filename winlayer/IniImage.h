#pragma once

#include "winlayer/SortedStringMap.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <strings.h>

// The in-memory image of one ini file: sections of key = raw value lines,
// names compared without regard to case.
namespace winlayer {

using IniSection = SortedStringMap<std::string>;
using IniSections = SortedStringMap<IniSection>;

inline IniSection NewIniSection() {
    return IniSection(&strcasecmp);
}

struct IniImage {
    IniSections sections{&strcasecmp};
    // More than 256 KB came before the first section header; nothing was kept.
    bool notAnIniFile = false;
};

// Builds an image from lines fed in file order.
class IniParser {
public:
    // A physical line, its line break included. False once the parser wants
    // no more lines.
    bool AddLine(std::string_view line);
    IniImage Finish();

private:
    void CloseSection();

    IniImage m_image;
    std::string m_currentName;
    bool m_inSection = false;
    IniSection m_currentKeys = NewIniSection();
    bool m_sawSection = false;
    std::size_t m_bytesBeforeFirstSection = 0;
};

// Reads a whole stream or text; lines longer than 32 MB are taken in pieces.
IniImage ReadIni(std::FILE* file);
IniImage ParseIni(std::string_view text);

// The file's text: sections and keys in map order, each section followed by
// an empty line.
std::string SerializeIni(const IniImage& image);

// A value as callers see it: blanks around it removed, then one pair of
// matching quotes.
std::string_view TrimIniValue(std::string_view raw);

// Whether a name or value survives being written and read back.
bool IsStorableSectionName(std::string_view name);
bool IsStorableKey(std::string_view key);
bool IsStorableValue(std::string_view value);

} // namespace winlayer
