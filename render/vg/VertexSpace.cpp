#include "render/util/TryAlloc.h"
#include "render/vg/VGContextInternal.h"

VGvertex* vg_alloc_temp_verts(VGdrawContext* ctx, int nverts) {
    std::vector<VGvertex>& verts = ctx->cache->verts;
    if (nverts < 0)
        return nullptr;
    if (static_cast<std::size_t>(nverts) > verts.size()) {
        const std::size_t rounded = (static_cast<std::size_t>(nverts) + 0xFF) & ~std::size_t{0xFF};
        if (!try_resize(verts, rounded))
            return nullptr;
    }
    return verts.data();
}
