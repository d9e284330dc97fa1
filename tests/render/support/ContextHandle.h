#pragma once

#include "render/vg/VGContext.h"

#include <memory>

namespace render_test {

struct ContextDeleter {
    void operator()(VGdrawContext* ctx) const { vg_delete_context(ctx); }
};
using ContextPtr = std::unique_ptr<VGdrawContext, ContextDeleter>;

} // namespace render_test
