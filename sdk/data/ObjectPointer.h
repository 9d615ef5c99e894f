// This server's contacts and groups handing out their own address through IObjectPointer, and
// finding them again behind an object a caller passed in.
#pragma once

#include <windows.h>

#include <atlbase.h>

#include "Errors.h"
#include "ObjectPrivate.h"
#include "resource.h"

// IObjectPointer of an object of kind T: hands out the T itself.
template <class T>
class CObjectPointerImpl : public IObjectPointer {
public:
    STDMETHOD(GetObjectPointer)(void** ppObject) override {
        if (!ppObject) return E_INVALIDARG;
        *ppObject = static_cast<T*>(this);
        return S_OK;
    }
};

// The implementing object of kind T (serving Itf) behind object, read through IObjectPointer.
// The address IObjectPointer hands out is taken only when it is the very object that answers
// object's query for Itf, so a group is never read as a contact nor the reverse, and nothing
// that merely claims the private interface is dereferenced. Raises 5018 (E_FAIL) for anything
// else, a null object included; a failure of IObjectPointer itself is raised as it stands.
// The result carries no reference of its own: the caller's reference to object keeps it alive.
template <class T, class Itf>
T* ImplementationFromObject(IUnknown* object) {
    if (!object) RaiseErrorById(IDS_NOT_OWN_OBJECT, E_FAIL);
    CComPtr<IObjectPointer> pointer;
    if (FAILED(object->QueryInterface(__uuidof(IObjectPointer), reinterpret_cast<void**>(&pointer))) || !pointer)
        RaiseErrorById(IDS_NOT_OWN_OBJECT, E_FAIL);
    void* address = nullptr;
    const HRESULT hr = pointer->GetObjectPointer(&address);
    if (FAILED(hr)) RaiseHResult(hr);

    CComPtr<Itf> itf;
    if (!address || FAILED(object->QueryInterface(__uuidof(Itf), reinterpret_cast<void**>(&itf))) || !itf)
        RaiseErrorById(IDS_NOT_OWN_OBJECT, E_FAIL);
    // Pointer arithmetic only: the address is compared before anything is read through it.
    T* candidate = static_cast<T*>(address);
    if (static_cast<Itf*>(candidate) != itf.p) RaiseErrorById(IDS_NOT_OWN_OBJECT, E_FAIL);
    return candidate;
}
