// Helpers of the data-object tests: object creation through the COM runtime, reference counts,
// the satellite's error texts and BSTR comparisons.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "ComTestSupport.h"
#include "ObjectPrivate.h"
#include "SdkTestSupport.h"
#include "TarvockLib.h"

namespace datatest {

// An interface reference released at the end of its scope.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() { Reset(); }
    void Reset() {
        if (p) p->Release();
        p = nullptr;
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    operator T*() const { return p; }
    T* p = nullptr;
};

// A BSTR freed at the end of its scope.
class Text {
public:
    Text() = default;
    explicit Text(const wchar_t* s) : b(s ? ::SysAllocString(s) : nullptr) {}
    Text(const wchar_t* s, UINT len) : b(::SysAllocStringLen(s, len)) {}
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { ::SysFreeString(b); }
    BSTR* operator&() {
        ::SysFreeString(b);
        b = nullptr;
        return &b;
    }
    operator BSTR() const { return b; }
    std::wstring str() const { return b ? std::wstring(b, ::SysStringLen(b)) : std::wstring(); }
    BSTR b = nullptr;
};

template <class T>
HRESULT Create(REFCLSID clsid, REFIID iid, T** result) {
    return ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(result));
}

// The current reference count of an object of this server (its Release answers the count).
inline ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

// Text id of the SDK's English satellite library.
using sdktest::SdkText;

// Clears the thread's error info, so a later check sees only what a call left.
inline void ClearErrorInfo() { ::SetErrorInfo(0, nullptr); }

// A contact whose ID is id.
HRESULT NewContact(const wchar_t* id, IContact** contact);

}  // namespace datatest
