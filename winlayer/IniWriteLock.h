#pragma once

#include <string>

namespace winlayer {

// Holds the right to rewrite one ini file across read, merge and rename: an
// exclusive flock on the sibling "<name>.lock" of the file a write really
// changes, so a second process's write waits and merges instead of
// overwriting. The lock file is never removed, since another process may be
// waiting on it.
class IniWriteLock {
public:
    IniWriteLock() = default;
    IniWriteLock(const IniWriteLock&) = delete;
    IniWriteLock& operator=(const IniWriteLock&) = delete;
    ~IniWriteLock();

    // False, errno set, when path must not be written: an existing target the
    // caller may not write (EACCES), a link whose final target is not named
    // "*.ini" (EPERM), or a lock that cannot be had.
    bool Acquire(const std::string& path);

private:
    int m_fd = -1;
};

} // namespace winlayer
