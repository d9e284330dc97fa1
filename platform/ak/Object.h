#pragma once

#include <utility>

namespace ak {

// Intrusive reference count shared by every window and view. A new object has
// one reference, owned by whoever made it (usually through MakeRef).
class Object {
public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    void Retain() { ++m_count; }
    void Release();
    // Drops one reference once the running dispatch (event, timer tick or
    // queued task) has returned, so an object may let go of itself inside its
    // own callback.
    void ReleaseLater();
    int RetainCount() const { return m_count; }

protected:
    Object() = default;
    virtual ~Object() = default;

private:
    int m_count = 1;
};

// Holds one reference.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(T* object) : m_object(object) { // NOLINT: a raw pointer is retained, not adopted
        if (m_object)
            m_object->Retain();
    }
    Ref(const Ref& other) : Ref(other.m_object) {}
    Ref(Ref&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    template <class U>
    Ref(const Ref<U>& other) : Ref(other.Get()) {}
    ~Ref() { Reset(); }
    Ref& operator=(Ref other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }

    // Takes over a reference the caller already owns.
    static Ref Adopt(T* object) {
        Ref ref;
        ref.m_object = object;
        return ref;
    }

    void Reset() {
        if (T* object = std::exchange(m_object, nullptr))
            object->Release();
    }
    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    bool operator==(const Ref& other) const { return m_object == other.m_object; }

private:
    T* m_object = nullptr;
};

template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
    return Ref<T>::Adopt(new T(std::forward<Args>(args)...));
}

} // namespace ak
