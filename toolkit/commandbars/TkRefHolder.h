// The reference an owner keeps on one of the toolkit's reference-counted command targets (bars,
// controls, collections, painters, icon stores, alert items). A reference kept only for the
// length of a call or a message loop is the class library's CHoldRef.
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

    // Takes a reference of its own on the object (none: holds nothing). The old object is
    // released once the holder has changed, so whatever its release sets off never finds
    // the holder pointing at it.
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
