#include "device/BankFormat.h"
#include "device/ReplyRules.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

// A bank the loader accepts is one the restore can send whole: as many
// messages as F0 bytes, each one found and within a message's size; bytes
// after the last one hold no F0, and the restore stops at the count.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bank(data, size);
    const auto count = omnar::CountBankMessages(bank);
    if (!count)
        return 0;
    if (*count != std::count(bank.begin(), bank.end(), std::uint8_t(0xF0)))
        std::abort();
    for (int k = 0; k < *count; ++k)
        if (!omnar::NthStoredMessage(bank, k))
            std::abort();
    // What follows the last message is ignored padding: never a message.
    if (const auto extra = omnar::NthStoredMessage(bank, *count);
        extra && std::find(extra->begin(), extra->end(), std::uint8_t(0xF0)) != extra->end())
        std::abort();
    return 0;
}
