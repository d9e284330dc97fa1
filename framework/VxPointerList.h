#pragma once

#include "framework/VxHeapBuf.h"

// A list of item pointers. The list owns its items only in that Empty(true)
// can delete them; destroying the list frees just the pointer array.
template <class T>
class VxPointerList {
public:
    using DeleteFunction = void (*)(T*);

    VxPointerList() = default;
    VxPointerList(const VxPointerList&) = delete;
    VxPointerList& operator=(const VxPointerList&) = delete;

    // Returns the item, or null when the list could not grow and the item was not stored.
    T* Add(T* item) {
        const int count = GetSize();
        m_buf.Resize((count + 1) * int{sizeof(T*)}, false);
        if (GetSize() != count + 1)
            return nullptr;
        Items()[count] = item;
        return item;
    }

    // Inserts before index (clamped into 0..size); null when the list could not grow.
    T* Insert(int index, T* item) {
        const int count = GetSize();
        index = index < 0 ? 0 : (index > count ? count : index);
        m_buf.Resize((count + 1) * int{sizeof(T*)}, false);
        if (GetSize() != count + 1)
            return nullptr;
        T** items = Items();
        for (int i = count; i > index; --i)
            items[i] = items[i - 1];
        items[index] = item;
        return item;
    }

    // Takes the entry out, keeping the order of the rest; the item itself is
    // not deleted. An index outside the list does nothing.
    void Delete(int index) {
        const int count = GetSize();
        if (index < 0 || index >= count)
            return;
        T** items = Items();
        for (int i = index; i < count - 1; ++i)
            items[i] = items[i + 1];
        m_buf.Resize((count - 1) * int{sizeof(T*)}, false);
    }

    // Index of the first entry holding item, or -1.
    int Find(const T* item) const {
        for (int i = 0; i < GetSize(); ++i)
            if (Items()[i] == item)
                return i;
        return -1;
    }

    T* Get(int index) const { return index >= 0 && index < GetSize() ? Items()[index] : nullptr; }

    int GetSize() const { return m_buf.GetSize() / int{sizeof(T*)}; }

    // Deletes from the last item to the first, so later items, which may refer
    // to earlier ones, go first. The pointer array's memory is kept.
    void Empty(bool deleteItems, DeleteFunction deleteFunction = nullptr) {
        if (deleteItems) {
            for (int i = GetSize() - 1; i >= 0; --i) {
                if (T* item = Items()[i]) {
                    if (deleteFunction)
                        deleteFunction(item);
                    else
                        delete item;
                }
                m_buf.Resize(i * int{sizeof(T*)}, false);
            }
        }
        m_buf.Resize(0, false);
    }

private:
    T** Items() const { return static_cast<T**>(m_buf.Get()); }

    VxHeapBuf m_buf{4096};
};
