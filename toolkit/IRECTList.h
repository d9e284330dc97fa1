#pragma once

#include "framework/VxHeapBuf.h"
#include "toolkit/IRECT.h"

namespace vx::ui {

// The dirty regions of one frame, in one heap buffer.
class IRECTList {
public:
    // A failed growth drops the rectangle.
    void Add(const IRECT& r);
    void Set(int index, const IRECT& r);
    void Delete(int index);
    void Clear() { m_buf.Resize(0, false); }

    int Size() const { return m_buf.GetSize() / int{sizeof(IRECT)}; }
    const IRECT& Get(int index) const { return Items()[index]; }
    IRECT Bounds() const; // union of every non-empty rectangle

    // Snaps every rectangle outward to whole device pixels.
    void PixelSnap(float scale);

    // Removes overlaps and joins neighbours in place; the covered area stays.
    void MergeAdjacent();

private:
    IRECT* Items() const { return static_cast<IRECT*>(m_buf.Get()); }
    bool RemoveOverlapOnce(int i, int j, bool& iDeleted);
    void Shrink(int index, const IRECT& inter);
    void Split(int index, const IRECT& inter);

    VxHeapBuf m_buf{4096};
};

} // namespace vx::ui
