// Failures inside the DOM wrapper calls: a refused call or a missing node. They carry no text of
// their own; the method frame (Method.h) turns them into E_FAIL without a description.
#pragma once

#include <windows.h>

#include <stdexcept>

class CDomCallError : public std::runtime_error {
public:
    explicit CDomCallError(HRESULT hr) : std::runtime_error("DOM call failed"), m_hr(hr) {}
    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

// Throws CDomCallError when a DOM call failed.
inline void CheckDom(HRESULT hr) {
    if (FAILED(hr)) throw CDomCallError(hr);
}

// Throws CDomCallError when a DOM call succeeded but gave no node (S_FALSE with null).
template <class T>
T* RequireNode(T* node) {
    if (!node) throw CDomCallError(E_POINTER);
    return node;
}
