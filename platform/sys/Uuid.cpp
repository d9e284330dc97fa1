#include "platform/sys/Uuid.h"

#include <cerrno>
#include <sys/random.h>

namespace sys {

std::optional<Uuid> NewRandomUuid() noexcept {
    Uuid uuid;
    std::size_t filled = 0;
    while (filled < uuid.size()) {
        const ssize_t got = getrandom(uuid.data() + filled, uuid.size() - filled, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        filled += static_cast<std::size_t>(got);
    }
    uuid[6] = static_cast<std::uint8_t>((uuid[6] & 0x0F) | 0x40);
    uuid[8] = static_cast<std::uint8_t>((uuid[8] & 0x3F) | 0x80);
    return uuid;
}

std::string UuidToString(const Uuid& uuid) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < uuid.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.push_back('-');
        text.push_back(kDigits[uuid[i] >> 4]);
        text.push_back(kDigits[uuid[i] & 0x0F]);
    }
    return text;
}

} // namespace sys
