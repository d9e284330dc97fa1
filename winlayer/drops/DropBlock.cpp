#include "winlayer/drops/DropBlock.h"

#include "winlayer/WinBasics.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace winlayer {

namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kPathLimit = 4096;

void PutInt32(std::vector<char>& bytes, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::int32_t Int32At(const unsigned char* bytes) {
    return static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                     static_cast<std::uint32_t>(bytes[3]) << 24);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The names of a block, read only within its recorded size.
std::vector<std::string> NamesOf(HDROP drop) {
    std::vector<std::string> names;
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(drop));
    if (!bytes)
        return names;
    const std::size_t size = GlobalSize(drop);
    std::size_t at = size >= 4 ? static_cast<std::size_t>(Int32At(bytes)) : size;
    while (at < size && bytes[at] != 0) {
        const auto* end = static_cast<const unsigned char*>(std::memchr(bytes + at, 0, size - at));
        if (!end)
            break;
        names.emplace_back(reinterpret_cast<const char*>(bytes + at), end - (bytes + at));
        at = static_cast<std::size_t>(end - bytes) + 1;
    }
    GlobalUnlock(drop);
    return names;
}

} // namespace

std::vector<char> DropBlockBytes(const std::vector<std::string>& names, POINT point) {
    std::size_t size = kHeaderSize + 1;
    for (const std::string& name : names)
        size += name.size() + 1;
    std::vector<char> bytes(size, 0);
    PutInt32(bytes, 0, static_cast<std::int32_t>(kHeaderSize));
    PutInt32(bytes, 4, point.x);
    PutInt32(bytes, 8, point.y);
    std::size_t at = kHeaderSize;
    for (const std::string& name : names) {
        std::memcpy(bytes.data() + at, name.c_str(), name.size() + 1);
        at += name.size() + 1;
    }
    return bytes;
}

HDROP MakeDropBlock(const std::vector<std::string>& names, POINT point) {
    const std::vector<char> bytes = DropBlockBytes(names, point);
    void* block = GlobalAlloc(0, static_cast<INT_PTR>(bytes.size()));
    if (!block)
        return nullptr;
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

std::vector<std::string> LocalPathsOfUriList(const std::string& uriList) {
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start < uriList.size()) {
        std::size_t end = uriList.find('\n', start);
        if (end == std::string::npos)
            end = uriList.size();
        std::string line = uriList.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        constexpr std::string_view scheme = "file://";
        if (line.compare(0, scheme.size(), scheme) != 0)
            continue;
        std::string rest = line.substr(scheme.size());
        // Only this machine's files: an empty host or "localhost".
        const std::size_t slash = rest.find('/');
        if (slash == std::string::npos)
            continue;
        const std::string host = rest.substr(0, slash);
        if (!host.empty() && host != "localhost")
            continue;
        std::string path = PercentDecoded(rest.substr(slash));
        if (path.size() > 1 && path.find('\0') == std::string::npos)
            paths.push_back(path);
    }
    return paths;
}

std::string FileUriOf(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-_.~", c))
            uri += static_cast<char>(c);
        else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0xF];
        }
    }
    return uri;
}

std::vector<std::string> HoverNamesOfPromises(const std::vector<std::string>& types) {
    std::vector<std::string> names;
    for (const std::string& type : types)
        names.push_back("tmp." + type);
    return names;
}

std::string PromiseDirectory(const char* hookAnswer) {
    return hookAnswer && *hookAnswer ? hookAnswer : "/tmp/";
}

std::optional<std::string> PromiseCandidate(const std::string& directory,
                                            const std::string& sourcePath) {
    const std::size_t slash = sourcePath.rfind('/');
    const std::string name = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
    std::string candidate = directory + "/" + name;
    if (candidate.size() >= kPathLimit)
        return std::nullopt;
    return candidate;
}

std::optional<std::string> KeepBothName(const std::string& candidate,
                                        const std::function<bool(const std::string&)>& exists) {
    const std::size_t slash = candidate.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = candidate.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    std::string base = hasExtension ? candidate.substr(0, dot) : candidate;
    const std::string extension = hasExtension ? candidate.substr(dot) : "";

    // Up to three digits after a space, '-' or '_' carry on counting.
    std::size_t digits = 0;
    while (digits < 3 && base.size() > nameStart + digits &&
           std::isdigit(static_cast<unsigned char>(base[base.size() - 1 - digits])))
        ++digits;
    const bool numbered = digits > 0 && base.size() > nameStart + digits &&
                          std::strchr(" -_", base[base.size() - 1 - digits]) != nullptr;
    int counter = 0;
    if (numbered) {
        counter = std::stoi(base.substr(base.size() - digits));
        base.erase(base.size() - digits);
    } else {
        base += ' ';
    }
    constexpr int kLastNumber = 999;
    for (int next = counter + 1; next <= kLastNumber; ++next) {
        char number[16];
        std::snprintf(number, sizeof number, "%03d", next);
        std::string name = base + number + extension;
        if (name.size() >= kPathLimit)
            return std::nullopt;
        if (!exists(name))
            return name;
    }
    return std::nullopt;
}

} // namespace winlayer

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size) {
    if (!drop)
        return 0;
    const std::vector<std::string> names = winlayer::NamesOf(drop);
    if (index == kDropFileCount)
        return static_cast<UINT>(names.size());
    if (index >= names.size())
        return 0;
    const std::string& name = names[index];
    if (!buffer)
        return static_cast<UINT>(name.size());
    if (size == 0)
        return 0; // nothing can be written
    const std::size_t n = std::min<std::size_t>(name.size(), size - 1);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

BOOL DragQueryPoint(HDROP drop, POINT* point) {
    const auto* bytes = drop ? static_cast<const unsigned char*>(GlobalLock(drop)) : nullptr;
    if (!bytes || GlobalSize(drop) < 16) {
        if (bytes)
            GlobalUnlock(drop);
        return FALSE;
    }
    if (point)
        *point = POINT{winlayer::Int32At(bytes + 4), winlayer::Int32At(bytes + 8)};
    const bool nonClient = bytes[12] != 0;
    GlobalUnlock(drop);
    return nonClient ? FALSE : TRUE;
}

void DragFinish(HDROP) {}
