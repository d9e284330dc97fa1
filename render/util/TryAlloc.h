#pragma once

#include <cstddef>
#include <new>
#include <utility>

// The renderer reports running out of memory as a result, never by unwinding
// through its C-style callers, so every growth of a container goes through here.
template <class Vector, class Value>
bool try_push_back(Vector& v, Value&& value) {
    try {
        v.push_back(std::forward<Value>(value));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

template <class Vector>
bool try_resize(Vector& v, std::size_t size) {
    try {
        v.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Room for `needed` elements in a vector used as a growable array (its size
// is the capacity), growing by half again when short; false when memory runs out.
template <class Vector>
bool try_grow_to(Vector& v, std::size_t needed) {
    return needed <= v.size() || try_resize(v, needed + v.size() / 2);
}
