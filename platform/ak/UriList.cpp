#include "platform/ak/UriList.h"

#include <optional>

namespace ak {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A NUL byte cannot be part of a path, so a raw one or "%00" makes the URI
// malformed.
std::optional<std::string> PercentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\0')
            return std::nullopt;
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0))
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? char(text[i] - 'A' + 'a') : text[i];
        if (c != prefix[i])
            return false;
    }
    return true;
}

std::optional<std::string> LocalPath(std::string_view uri, std::string_view localHost) {
    constexpr std::string_view scheme = "file:";
    if (!StartsWithNoCase(uri, scheme))
        return std::nullopt;
    uri.remove_prefix(scheme.size());
    if (uri.starts_with("//")) {
        uri.remove_prefix(2);
        const size_t slash = uri.find('/');
        if (slash == std::string_view::npos)
            return std::nullopt;
        const std::string_view host = uri.substr(0, slash);
        if (!host.empty() && host != "localhost" && (localHost.empty() || host != localHost))
            return std::nullopt;
        uri.remove_prefix(slash);
    }
    if (!uri.starts_with('/'))
        return std::nullopt;
    // A query or fragment is not part of a file's name.
    uri = uri.substr(0, uri.find_first_of("?#"));
    return PercentDecoded(uri);
}

} // namespace

std::vector<std::string> FilePathsFromUriList(std::string_view list, std::string_view localHost) {
    std::vector<std::string> paths;
    while (!list.empty()) {
        const size_t end = list.find('\n');
        std::string_view line = list.substr(0, end);
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        if (auto path = LocalPath(line, localHost))
            paths.push_back(std::move(*path));
    }
    return paths;
}

std::string FileUriFromPath(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || c == '/' || c == '-' || c == '_' ||
                           c == '.' || c == '~';
        if (plain) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

} // namespace ak
