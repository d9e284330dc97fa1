#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace vx::test {

// Temporary folders made after this call (TempImageFolder, TempDataHome) lie
// in memory when the machine has a writable /dev/shm: fuzz targets write
// files for every input, and a disk makes that the slowest part.
inline void PreferMemoryTempFolder() {
    if (::access("/dev/shm", W_OK | X_OK) == 0)
        ::setenv("TMPDIR", "/dev/shm", 1);
}

// The bytes as the whole file, without a stream's buffer; aborts when they
// cannot be written, as a fuzz target then tests nothing.
inline void WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::size_t done = 0;
    while (fd >= 0 && done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    if (fd < 0 || done < size || ::close(fd) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

} // namespace vx::test
