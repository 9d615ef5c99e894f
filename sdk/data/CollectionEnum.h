// Enumeration of the collections: a cursor over a collection's items, the IEnumVARIANT members
// built on it, and the enumerator object that _NewEnum hands out. Each enumerator has a cursor
// of its own, so nested or interleaved enumerations of one collection do not disturb each other;
// the collection also serves IEnumVARIANT itself, with its own cursor.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atlcom.h>

#include <cstddef>

#include "Method.h"

// What an enumeration reads from a collection.
class CEnumerableItems {
public:
    virtual size_t ItemCount() const = 0;
    // A copy of item index (from 0) into an empty VARIANT: a new BSTR or a new reference.
    virtual HRESULT CopyItem(size_t index, VARIANT* item) const = 0;

protected:
    ~CEnumerableItems() = default;
};

// A position in a collection. It is clamped to the current count before every use, so items
// removed during an enumeration end it early instead of letting it read past the end; items
// removed before the position make the enumeration skip as many items.
class CEnumCursor {
public:
    HRESULT Next(const CEnumerableItems& items, ULONG count, VARIANT* out, ULONG* fetched);
    HRESULT Skip(const CEnumerableItems& items, ULONG count);
    void Reset() { m_position = 0; }

private:
    size_t Clamp(const CEnumerableItems& items);

    size_t m_position = 0;
};

// Runs an enumeration member in the method frame of the collection (entry log only), keeping
// S_FALSE as a result and passing failures through the error log.
template <class Body>
HRESULT RunEnumMember(const char* logName, const char* method, Body&& body) {
    HRESULT result = S_OK;
    const HRESULT hr = RunMethod(
        logName, logName, method,
        [&] {
            result = body();
            if (FAILED(result)) RaiseHResult(result);
        },
        ExitLog::No);
    return FAILED(hr) ? hr : result;
}

// IEnumVARIANT on a cursor. T gives LogName() and Items().
template <class T>
class IEnumOnItems : public IEnumVARIANT {
public:
    STDMETHOD(Next)(ULONG celt, VARIANT* rgVar, ULONG* pCeltFetched) override {
        T* self = static_cast<T*>(this);
        return RunEnumMember(self->LogName(), "Next",
                             [&] { return m_cursor.Next(self->Items(), celt, rgVar, pCeltFetched); });
    }
    STDMETHOD(Skip)(ULONG celt) override {
        T* self = static_cast<T*>(this);
        return RunEnumMember(self->LogName(), "Skip", [&] { return m_cursor.Skip(self->Items(), celt); });
    }
    STDMETHOD(Reset)() override {
        return RunEnumMember(static_cast<T*>(this)->LogName(), "Reset", [&] {
            m_cursor.Reset();
            return S_OK;
        });
    }
    STDMETHOD(Clone)(IEnumVARIANT** ppEnum) override {
        if (ppEnum) *ppEnum = nullptr;
        return E_NOTIMPL;
    }

private:
    CEnumCursor m_cursor;
};

// The enumerator of one collection. It keeps the collection alive and reads its items live.
class CCollectionEnum : public CComObjectRootEx<CComSingleThreadModel>, public IEnumOnItems<CCollectionEnum> {
public:
    BEGIN_COM_MAP(CCollectionEnum)
    COM_INTERFACE_ENTRY(IEnumVARIANT)
    END_COM_MAP()

    // A new enumerator at the first item of items, which owner holds.
    static HRESULT Create(IUnknown* owner, const CEnumerableItems& items, const char* logName, IUnknown** result);

    const char* LogName() const { return m_logName; }
    const CEnumerableItems& Items() const { return *m_items; }

private:
    CComPtr<IUnknown> m_owner;
    const CEnumerableItems* m_items = nullptr;
    const char* m_logName = "";
};
