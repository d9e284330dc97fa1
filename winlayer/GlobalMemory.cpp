#include "winlayer/WinBasics.h"

#include <atomic>
#include <cstdlib>
#include <limits>

namespace {

// The block's header sits in front of the pointer handed out.
struct BlockHeader {
    std::uint32_t size;
    std::int32_t lockCount;
};
static_assert(sizeof(BlockHeader) == 8);

BlockHeader* HeaderOf(void* block) {
    return static_cast<BlockHeader*>(block) - 1;
}

// Blocks may be locked from several threads (a clipboard block, say).
std::atomic_ref<std::int32_t> LockCount(void* block) {
    return std::atomic_ref<std::int32_t>(HeaderOf(block)->lockCount);
}

} // namespace

void* GlobalAlloc(UINT, INT_PTR size) {
    if (size < 0)
        size = 0;
    if (static_cast<std::uint64_t>(size) > std::numeric_limits<std::uint32_t>::max())
        return nullptr;
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (!header)
        return nullptr;
    *header = {static_cast<std::uint32_t>(size), 0};
    return header + 1;
}

void* GlobalLock(void* block) {
    if (block)
        LockCount(block).fetch_add(1);
    return block;
}

BOOL GlobalUnlock(void* block) {
    if (!block)
        return FALSE;
    return LockCount(block).fetch_sub(1) - 1 > 0;
}

UINT_PTR GlobalSize(void* block) {
    return block ? HeaderOf(block)->size : 0;
}

void* GlobalFree(void* block) {
    if (block)
        std::free(HeaderOf(block));
    return nullptr;
}
