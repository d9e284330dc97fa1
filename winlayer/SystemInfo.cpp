#include "winlayer/WinBasics.h"

#include "platform/sys/Uuid.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

// Seconds between 1601-01-01 and 1970-01-01, in 100-nanosecond units.
constexpr std::uint64_t kUnixEpochIn1601Units = 116'444'736'000'000'000ULL;

void StoreFileTime(FILETIME* out, time_t seconds) {
    if (!out)
        return;
    const std::uint64_t value =
        static_cast<std::uint64_t>(seconds) * 10'000'000 + kUnixEpochIn1601Units;
    out->dwLowDateTime = static_cast<DWORD>(value);
    out->dwHighDateTime = static_cast<DWORD>(value >> 32);
}

} // namespace

BOOL GetFileTime(int fd, FILETIME* creation, FILETIME* access, FILETIME* write) {
    struct stat status {};
    if (fd < 0 || fstat(fd, &status) != 0)
        return FALSE;
    StoreFileTime(creation, status.st_ctime);
    StoreFileTime(access, status.st_atime);
    StoreFileTime(write, status.st_mtime);
    return TRUE;
}

BOOL WISP_GenerateGUID(GUID* guid) {
    if (!guid)
        return FALSE;
    const auto uuid = sys::NewRandomUuid();
    if (!uuid)
        return FALSE;
    static_assert(sizeof(GUID) == 16);
    std::memcpy(guid, uuid->data(), sizeof(GUID));
    return TRUE;
}

DWORD GetTempPath(DWORD size, char* buffer) {
    if (!buffer || size < 1)
        return 0;
    buffer[0] = '\0';
    if (size == 1)
        return 0;
    const char* folder = std::getenv("TMPDIR");
    if (!folder || !*folder)
        folder = "/tmp/";
    const std::size_t length = std::strlen(folder);
    std::size_t copied = std::min<std::size_t>(length, size - 1);
    std::memcpy(buffer, folder, copied);
    if (folder[length - 1] != '/') {
        copied = std::min<std::size_t>(length, size - 2);
        buffer[copied++] = '/';
    }
    buffer[copied] = '\0';
    return static_cast<DWORD>(copied);
}

// Every version-gated path of the layer takes its modern branch.
int WISP_GetOSXVersion() {
    return 0x1400;
}
