#pragma once

// The device box a draw's scissor can reach, handed to the rasteriser so it
// visits only the rows and spans inside; the fragment mask still fades the
// edge pixels, so what is drawn stays the same.

#include "platform/mtl/MtlTypes.h"
#include "render/metal/MVGcontext.h"

// The pixels where the scissor's mask can be above zero: its rectangle grown
// by the mask's half-fringe fade, mapped to device pixels by `toDevice`
// (device pixels per unit) and rounded outward with a pixel to spare, then
// kept within the viewport. False when there is no scissor, or the mask does
// not follow the scissor's own transform (a singular one), so the whole
// viewport must be visited.
bool mvg_scissor_box(const VGscissor& scissor, float fringe, const float toDevice[2],
                     const unsigned viewport[2], mtl::ScissorRect& box);

// Whether a draw that leaves a pixel's source at zero leaves that pixel's
// colour as it was: the destination's weights are one for a zero source.
// Only then may the rasteriser skip the pixels outside the box.
bool mvg_blend_keeps_unreached(const MVGblend& blend);
