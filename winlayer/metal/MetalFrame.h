#pragma once

#include "winlayer/WinTypes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The pure rules of Metal-backed window views: which views wait for a
// refresh, the drawable's size, the contents gravity, texture reuse and the
// pixel work of uploads, blits and fills.

namespace winlayer {

// The largest drawable side.
inline constexpr int kMaxDrawableSide = 16384;
// Fills up to this many pixels use no heap.
inline constexpr std::int64_t kStackFillPixels = 4096;

// Views waiting for a refresh, each once, with the union of their areas.
class NeedRefreshList {
public:
    using View = const void*;
    // A null area means the whole view; an empty one does nothing unless keep.
    void Add(View view, const RECT* area, bool keep);
    void Remove(View view);
    bool Contains(View view) const;
    std::optional<RECT> AreaOf(View view) const;
    std::size_t Size() const { return entries_.size(); }

    // Newest first over a snapshot, so paints may add, remove or destroy
    // views; views of windows that are not visible stay listed.
    void Flush(const std::function<const void*(View)>& windowOf,
               const std::function<bool(const void*)>& visible,
               const std::function<void(View, RECT)>& draw);

private:
    struct Entry {
        View view;
        RECT area;
    };
    std::vector<Entry> entries_;
    bool flushing_ = false;
};

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// The drawable of a view of these point bounds; none below one point.
std::optional<PixelSize> DrawableSize(double width, double height, bool retina);

// Contents gravity of the presented frame: bit 0 anchors right, bit 1 flips
// the vertical anchor.
std::string ContentsGravity(int gravityBits, bool flipped);
struct FrameRect {
    double x = 0, y = 0, width = 0, height = 0;
};
// A side that moved while the size changed anchors the opposite side.
int UpdatedGravity(int gravityBits, const FrameRect& last, const FrameRect& now);

// Full mode keeps its texture while it is at least the wanted size rounded up
// to 4 and at most twice that.
int RoundUpTo4(int value);
bool KeepsTexture(PixelSize texture, PixelSize wanted);

// Straight-alpha source over an opaque-or-not destination, 0xAARRGGBB,
// rounded to nearest; alpha 0 leaves the destination, 255 replaces it.
std::uint32_t BlendOver(std::uint32_t destination, std::uint32_t source);
// Each pixel becomes a 2 x 2 block; rows of the result are 2 x width long.
std::vector<std::uint32_t> DoublePixels(const std::uint32_t* pixels, int width, int height,
                                        int stride);

// Where a fill's pixels go: the upload of a Metal view.
class PixelUploadTarget {
public:
    virtual ~PixelUploadTarget() = default;
    // An open frame and whether it is at twice the point size.
    virtual bool FrameOpen() const = 0;
    virtual bool FrameRetina() const = 0;
    virtual void Upload(const std::uint32_t* pixels, int x, int y, int width, int height,
                        int stride, bool retina) = 0;
    // A copied pixel block; with blend its alpha lays it over what is there.
    virtual void Blit(const std::uint32_t* pixels, int x, int y, int width, int height, int stride,
                      bool retina, bool /*blend*/) {
        Upload(pixels, x, y, width, height, stride, retina);
    }
    // Whether the view shows at twice its point size.
    virtual bool ViewRetina() const { return false; }
};

enum class FillBuffer { none, stack, scratch };
// Fills a rectangle with one pixel value; answers which buffer carried it.
FillBuffer MetalFill(PixelUploadTarget* target, int x, int y, int width, int height,
                     std::uint32_t pixel);

} // namespace winlayer
