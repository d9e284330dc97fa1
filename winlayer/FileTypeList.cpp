#include "winlayer/FileTypeList.h"

#include <cstring>
#include <strings.h>

namespace winlayer {

namespace {

constexpr std::size_t kExtensionLimit = 31;
constexpr std::size_t kInitialFileLimit = 2047;

struct FilterPair {
    std::string description;
    std::string patterns;
};

std::vector<FilterPair> PairsOf(const char* list) {
    std::vector<FilterPair> pairs;
    while (list && *list) {
        FilterPair pair{list, ""};
        list += pair.description.size() + 1;
        pair.patterns = list;
        list += pair.patterns.size() + (*list ? 1 : 0);
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

bool SameText(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// The text after the last '.' of the file name, none without one.
std::optional<std::string> ExtensionOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::nullopt;
    return path.substr(dot + 1);
}

bool IsOneOf(const std::string& extension, const std::vector<std::string>& types) {
    for (const std::string& type : types)
        if (SameText(type, extension))
            return true;
    return false;
}

} // namespace

std::vector<std::string> FileTypesOf(const char* filterList, const std::string& preferred) {
    std::vector<std::string> types;
    for (const FilterPair& pair : PairsOf(filterList)) {
        for (const std::string& pattern : Split(pair.patterns, ';')) {
            const std::size_t dot = pattern.find('.');
            if (dot == std::string::npos)
                continue;
            const std::string extension = pattern.substr(dot + 1, kExtensionLimit);
            if (extension.empty() || extension == "*")
                continue;
            if (!preferred.empty() && SameText(extension, preferred))
                types.insert(types.begin(), extension);
            else
                types.push_back(extension);
        }
    }
    return types;
}

std::vector<FileTypeChoice> FileTypeChoices(const char* filterList) {
    std::vector<FileTypeChoice> choices;
    for (const FilterPair& pair : PairsOf(filterList)) {
        if (pair.patterns == "*.*")
            continue;
        const std::size_t dot = pair.patterns.find('.');
        choices.push_back(
            {pair.description, dot == std::string::npos ? "" : pair.patterns.substr(dot + 1)});
    }
    return choices;
}

int ChoiceForFile(const std::vector<FileTypeChoice>& choices, const std::string& fileName) {
    const std::optional<std::string> extension = ExtensionOf(fileName);
    if (!extension || extension->empty())
        return 0;
    for (std::size_t i = 0; i < choices.size(); ++i)
        for (const std::string& pattern : Split(choices[i].extensions, ';')) {
            const std::size_t dot = pattern.find('.');
            if (SameText(dot == std::string::npos ? pattern : pattern.substr(dot + 1), *extension))
                return int(i);
        }
    return 0;
}

std::string FirstExtension(const std::string& extensions) {
    return extensions.substr(0, extensions.find(';'));
}

InitialName InitialNameOf(const char* initialFile, const char* initialFolder,
                          const std::vector<std::string>& types, bool cutExtension) {
    InitialName initial;
    if (initialFile && *initialFile && *initialFile != '.') {
        std::string file(initialFile, strnlen(initialFile, kInitialFileLimit));
        if (const auto extension = ExtensionOf(file);
            cutExtension && extension && IsOneOf(*extension, types))
            file.erase(file.size() - extension->size() - 1);
        const std::size_t slash = file.rfind('/');
        if (slash != std::string::npos) {
            initial.folder = slash == 0 ? "/" : file.substr(0, slash);
            file.erase(0, slash + 1);
        }
        initial.name = file;
    }
    if (initial.folder.empty() && initialFolder && *initialFolder)
        initial.folder = initialFolder;
    return initial;
}

std::string SavedPath(const std::string& path, const std::vector<std::string>& types,
                      const std::string& chosenExtensions, const char* initialFile) {
    if (const auto extension = ExtensionOf(path); extension && IsOneOf(*extension, types))
        return path;
    if (!chosenExtensions.empty())
        return path + "." + FirstExtension(chosenExtensions);
    if (initialFile && *initialFile == '.')
        return path + initialFile;
    return types.empty() ? path : path + "." + types.front();
}

bool CopyWhole(const std::string& text, char* buffer, int size) {
    if (!buffer || size <= 0 || text.size() >= std::size_t(size))
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

std::string FileListBlock(const std::vector<std::string>& paths) {
    std::string block;
    if (paths.size() > 1)
        block += '\0';
    for (const std::string& path : paths) {
        block += path;
        block += '\0';
    }
    block += '\0';
    return block;
}

} // namespace winlayer
