// Field access shared by the data objects: a getter hands out a copy, a setter keeps a copy, and
// a null text stays null (an empty text stays empty).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atlbase.h>

// A copy of text with its whole length (embedded nulls included); null for null.
inline HRESULT CopyText(BSTR text, BSTR* copy) {
    *copy = text ? ::SysAllocStringLen(text, ::SysStringLen(text)) : nullptr;
    return (text && !*copy) ? E_OUTOFMEMORY : S_OK;
}

inline HRESULT GetText(const CComBSTR& field, BSTR* result) {
    if (!result) return E_INVALIDARG;
    return CopyText(field.m_str, result);
}

inline HRESULT PutText(CComBSTR& field, BSTR value) {
    BSTR copy = nullptr;
    const HRESULT hr = CopyText(value, &copy);
    if (FAILED(hr)) return hr;
    field.Attach(copy);
    return S_OK;
}

template <class T>
HRESULT GetValue(const T& field, T* result) {
    if (!result) return E_INVALIDARG;
    *result = field;
    return S_OK;
}

template <class T>
HRESULT PutValue(T& field, T value) {
    field = value;
    return S_OK;
}
