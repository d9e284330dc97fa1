#include "winlayer/IniImage.h"

namespace winlayer {

namespace {

constexpr std::size_t kMaxLineLength = 0x2000000;
constexpr std::size_t kMaxBytesBeforeFirstSection = 0x40000;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEndOrBlank(char c) {
    return IsBlank(c) || c == '\n' || c == '\r';
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsLineEndOrBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimLeftBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Splits bytes into physical lines, each ending after its '\n', with over-long
// lines cut into pieces.
template <class Sink>
class LineSplitter {
public:
    explicit LineSplitter(Sink& sink) : m_sink(sink) {}
    bool Feed(std::string_view bytes) {
        while (!bytes.empty()) {
            const std::size_t room = kMaxLineLength - m_line.size();
            const std::size_t newline = bytes.substr(0, room).find('\n');
            const std::size_t take =
                newline == std::string_view::npos ? std::min(room, bytes.size()) : newline + 1;
            m_line.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if ((newline != std::string_view::npos || m_line.size() >= kMaxLineLength) && !Emit())
                return false;
        }
        return true;
    }
    void Finish() {
        if (!m_line.empty())
            Emit();
    }

private:
    bool Emit() {
        const bool more = m_sink.AddLine(m_line);
        m_line.clear();
        return more;
    }
    Sink& m_sink;
    std::string m_line;
};

} // namespace

bool IniParser::AddLine(std::string_view line) {
    if (!m_sawSection) {
        m_bytesBeforeFirstSection += line.size();
        if (m_bytesBeforeFirstSection > kMaxBytesBeforeFirstSection) {
            m_image.notAnIniFile = true;
            return false;
        }
    }
    // Names and values are C strings: a NUL ends the line's text.
    line = line.substr(0, line.find('\0'));
    line = TrimLeftBlanks(TrimRight(line));
    if (!line.empty() && line.front() == '[') {
        const std::size_t close = line.find(']');
        if (close == std::string_view::npos)
            return true;
        CloseSection();
        m_currentName.assign(line.substr(1, close - 1));
        m_inSection = !m_currentName.empty();
        m_sawSection = m_sawSection || m_inSection;
        return true;
    }
    const std::size_t equals = line.find('=');
    if (!m_inSection || equals == std::string_view::npos)
        return true;
    const std::string_view key = TrimRight(line.substr(0, equals));
    if (!key.empty())
        m_currentKeys.Append(std::string(key), std::string(line.substr(equals + 1)));
    return true;
}

void IniParser::CloseSection() {
    if (!m_inSection)
        return;
    m_currentKeys.SortUnique();
    // A repeated section replaces the keys of the earlier one.
    m_image.sections.Insert(m_currentName.c_str(), std::move(m_currentKeys));
    m_currentKeys = NewIniSection();
    m_inSection = false;
}

IniImage IniParser::Finish() {
    if (m_image.notAnIniFile) {
        m_image.sections.Clear();
        return std::move(m_image);
    }
    CloseSection();
    return std::move(m_image);
}

IniImage ReadIni(std::FILE* file) {
    IniParser parser;
    LineSplitter splitter(parser);
    // On the stack: a 64 KB block cleared on the heap cost more than reading
    // a settings file of a few hundred bytes.
    char chunk[8192];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (!splitter.Feed(std::string_view(chunk, got)))
            return parser.Finish();
    }
    splitter.Finish();
    return parser.Finish();
}

IniImage ParseIni(std::string_view text) {
    IniParser parser;
    LineSplitter splitter(parser);
    if (splitter.Feed(text))
        splitter.Finish();
    return parser.Finish();
}

std::string SerializeIni(const IniImage& image) {
    std::string text;
    for (const auto& [name, keys] : image.sections) {
        text += '[';
        text += name;
        text += "]\n";
        for (const auto& [key, value] : keys) {
            if (key.empty())
                continue;
            text += key;
            text += '=';
            text += value;
            text += '\n';
        }
        text += '\n';
    }
    return text;
}

std::string_view TrimIniValue(std::string_view raw) {
    std::string_view value = TrimLeftBlanks(raw);
    while (!value.empty() && IsBlank(value.back()))
        value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

bool IsStorableSectionName(std::string_view name) {
    return !name.empty() && !HasLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool IsStorableKey(std::string_view key) {
    // A blank key, or one read back as a header or a '[' line, would be lost.
    const std::string_view start = TrimLeftBlanks(key);
    return !start.empty() && start.front() != '[' && !HasLineBreak(key) &&
           key.find('=') == std::string_view::npos;
}

bool IsStorableValue(std::string_view value) {
    return !HasLineBreak(value);
}

} // namespace winlayer
