#include "toolkit/IRECTList.h"

namespace vx::ui {

namespace {

bool Mergeable(const IRECT& a, const IRECT& b) {
    if (a.Empty() || b.Empty())
        return false;
    const bool sameColumn =
        a.L == b.L && a.R == b.R && ((a.T >= b.T && a.T <= b.B) || (b.T >= a.T && b.T <= a.B));
    const bool sameRow =
        a.T == b.T && a.B == b.B && ((a.L >= b.L && a.L <= b.R) || (b.L >= a.L && b.L <= a.R));
    return sameColumn || sameRow;
}

// r minus the intersection is one rectangle only when the intersection spans
// r across one axis and reaches one of r's edges on the other; a band through
// r's middle would lose the far side.
bool Shrinkable(const IRECT& r, const IRECT& i) {
    if (!Mergeable(r, i))
        return false;
    if (i.L == r.L && i.R == r.R && (i.T == r.T || i.B == r.B))
        return true;
    return i.T == r.T && i.B == r.B && (i.L == r.L || i.R == r.R);
}

// The two-piece split is exact only for an intersection in one of r's corners.
bool Splittable(const IRECT& r, const IRECT& i) {
    return (i.L == r.L || i.R == r.R) && (i.T == r.T || i.B == r.B);
}

} // namespace

void IRECTList::Add(const IRECT& r) {
    const int count = Size();
    m_buf.Resize((count + 1) * int{sizeof(IRECT)}, false);
    if (Size() == count + 1)
        Items()[count] = r;
}

void IRECTList::Set(int index, const IRECT& r) {
    Items()[index] = r;
}

void IRECTList::Delete(int index) {
    const int count = Size();
    if (index < 0 || index >= count)
        return;
    for (int k = index; k < count - 1; ++k)
        Items()[k] = Items()[k + 1];
    m_buf.Resize((count - 1) * int{sizeof(IRECT)}, false);
}

IRECT IRECTList::Bounds() const {
    IRECT u;
    for (int k = 0; k < Size(); ++k)
        u = u.Union(Get(k));
    return u;
}

void IRECTList::PixelSnap(float scale) {
    for (int k = 0; k < Size(); ++k)
        Items()[k] = Items()[k].GetPixelSnapped(scale);
}

void IRECTList::Shrink(int index, const IRECT& i) {
    const IRECT r = Get(index);
    if (i.L != r.L)
        Set(index, {r.L, r.T, i.L, r.B});
    else if (i.T != r.T)
        Set(index, {r.L, r.T, r.R, i.T});
    else if (i.R != r.R)
        Set(index, {i.R, r.T, r.R, r.B});
    else
        Set(index, {r.L, i.B, r.R, r.B});
}

void IRECTList::Split(int index, const IRECT& i) {
    const IRECT r = Get(index);
    if (r.L == i.L && r.T == i.T) {
        Add({i.R, r.T, r.R, i.B});
        Set(index, {r.L, i.B, r.R, r.B});
    } else if (r.L == i.L) {
        Add({r.L, r.T, r.R, i.T});
        Set(index, {i.R, i.T, r.R, r.B});
    } else if (r.T == i.T) {
        Add({r.L, r.T, i.L, i.B});
        Set(index, {r.L, i.B, r.R, r.B});
    } else {
        Add({r.L, r.T, r.R, i.T});
        Set(index, {r.L, i.T, i.L, r.B});
    }
}

// One step of the overlap pass for the pair (i, j). Returns true when j is to
// be tested again (rect[j] was deleted); iDeleted asks for a restart of j.
bool IRECTList::RemoveOverlapOnce(int i, int j, bool& iDeleted) {
    iDeleted = false;
    const IRECT a = Get(i), b = Get(j);
    if (a.Contains(b)) {
        Delete(j);
        return true;
    }
    if (b.Contains(a)) {
        Delete(i);
        iDeleted = true;
        return false;
    }
    if (!a.Intersects(b))
        return false;
    const IRECT inter = a.Intersect(b);
    if (Shrinkable(a, inter)) {
        Shrink(i, inter);
    } else if (Shrinkable(b, inter)) {
        Shrink(j, inter);
    } else {
        const bool preferI = b.Area() > a.Area();
        const int first = preferI ? i : j, second = preferI ? j : i;
        if (Splittable(Get(first), inter))
            Split(first, inter);
        else if (Splittable(Get(second), inter))
            Split(second, inter);
        // Otherwise the pair crosses like a plus sign: the overlap is painted twice.
    }
    return false;
}

void IRECTList::MergeAdjacent() {
    for (int i = 0; i < Size(); ++i) {
        for (int j = i + 1; j < Size();) {
            bool iDeleted = false;
            if (RemoveOverlapOnce(i, j, iDeleted))
                continue;
            j = iDeleted ? i + 1 : j + 1;
            if (iDeleted && i >= Size())
                break;
        }
    }

    for (bool joined = true; joined;) {
        joined = false;
        for (int i = 0; i < Size() && !joined; ++i) {
            for (int j = i + 1; j < Size(); ++j) {
                const IRECT a = Get(i), b = Get(j);
                if (a.Empty() || b.Empty() || Mergeable(a, b)) {
                    Set(j, a.Union(b));
                    Delete(i);
                    joined = true;
                    break;
                }
            }
        }
    }
}

} // namespace vx::ui
