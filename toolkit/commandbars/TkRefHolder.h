// A member's reference on one of the toolkit's reference-counted command targets (bars,
// controls, collections, painters, icon stores). A reference held for one scope is the class
// library's CHoldRef.
#pragma once

#include <utility>

// Holds one reference: taking an object adds a reference, resetting or destroying the holder
// releases it, and moving hands the reference over without touching the count. A fresh object
// (made with new, or returned by a call that gives the caller its reference) is adopted with
// Attach or TkAdoptRef.
template <class T>
class CTkRef {
public:
    CTkRef() = default;
    explicit CTkRef(T* object) : m_p(object) {
        if (m_p) m_p->InternalAddRef();
    }
    CTkRef(const CTkRef& other) : CTkRef(other.m_p) {}
    CTkRef(CTkRef&& other) noexcept : m_p(other.Detach()) {}
    ~CTkRef() { Reset(); }

    CTkRef& operator=(const CTkRef& other) {
        Reset(other.m_p);
        return *this;
    }
    CTkRef& operator=(CTkRef&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    // Takes a reference of its own on the object (none: holds nothing); the old one is
    // released after the new one is stored, so an object that releases itself in its
    // destructor finds the holder already changed.
    void Reset(T* object = nullptr) {
        if (object == m_p) return;
        if (object) object->InternalAddRef();
        Attach(object);
    }
    // Adopts a reference the caller already has on the object.
    void Attach(T* fresh) {
        T* old = m_p;
        m_p = fresh;
        if (old) old->InternalRelease();
    }
    // Lets the reference go to the caller, holding nothing.
    T* Detach() { return std::exchange(m_p, nullptr); }

    T* Get() const { return m_p; }
    operator T*() const { return m_p; }
    T* operator->() const { return m_p; }

private:
    T* m_p = nullptr;
};

// A holder adopting a reference the caller already has.
template <class T>
CTkRef<T> TkAdoptRef(T* fresh) {
    CTkRef<T> ref;
    ref.Attach(fresh);
    return ref;
}
