#pragma once

#include <cstdio>
#include <memory>

namespace sys {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// An open C stream, closed when it goes.
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Null for a null path or when the file cannot be opened.
inline UniqueFile OpenFile(const char* path, const char* mode) {
    return UniqueFile(path ? std::fopen(path, mode) : nullptr);
}

// Closes a file that was written, answering whether every byte reached it: a
// full disk often shows only when the buffered bytes are flushed at close.
inline bool CloseWritten(UniqueFile file) {
    if (!file)
        return false;
    const bool clean = !std::ferror(file.get());
    return std::fclose(file.release()) == 0 && clean;
}

} // namespace sys
