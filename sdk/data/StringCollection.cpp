#include <windows.h>

#include "StringCollection.h"

#include "DataFields.h"
#include "resource.h"

namespace {

const char kLog[] = "CStringCollection";

template <class Body>
HRESULT Member(const char* name, Body&& body) {
    return RunMethod(kLog, kLog, name, body, ExitLog::No);
}

// A copy of text, or the failure raised.
CComBSTR CopyOf(BSTR text) {
    CComBSTR copy;
    const HRESULT hr = CopyText(text, &copy);
    if (FAILED(hr)) RaiseHResult(hr);
    return copy;
}

}  // namespace

const char* CStringCollection::LogName() const {
    return kLog;
}

HRESULT CStringCollection::CopyItem(size_t index, VARIANT* item) const {
    item->vt = VT_BSTR;
    return CopyText(m_items[index].m_str, &item->bstrVal);
}

STDMETHODIMP CStringCollection::get__NewEnum(IUnknown** pVal) {
    return Member("get__NewEnum", [&] {
        RequireResult(pVal);
        const HRESULT hr = CCollectionEnum::Create(static_cast<IStringCollection2*>(this), *this, kLog, pVal);
        if (FAILED(hr)) RaiseHResult(hr);
    });
}

// Item get and put answer a bad index with a bare E_INVALIDARG; Remove raises the range text.
STDMETHODIMP CStringCollection::get_Item(LONG Index, BSTR* pVal) {
    return Member("get_Item", [&] {
        RequireResult(pVal);
        if (Index < 1 || static_cast<size_t>(Index) > m_items.size()) RaiseHResult(E_INVALIDARG);
        *pVal = CopyOf(m_items[Index - 1]).Detach();
    });
}

STDMETHODIMP CStringCollection::put_Item(LONG Index, BSTR newVal) {
    return Member("put_Item", [&] {
        if (Index < 1 || static_cast<size_t>(Index) > m_items.size()) RaiseHResult(E_INVALIDARG);
        m_items[Index - 1] = CopyOf(newVal);
    });
}

STDMETHODIMP CStringCollection::get_Count(LONG* pVal) {
    return Member("get_Count", [&] {
        RequireResult(pVal);
        *pVal = static_cast<LONG>(m_items.size());
    });
}

STDMETHODIMP CStringCollection::Add(BSTR newVal) {
    return Member("Add", [&] { m_items.push_back(CopyOf(newVal)); });
}

STDMETHODIMP CStringCollection::Remove(LONG Index) {
    return Member("Remove", [&] {
        if (Index < 1 || static_cast<size_t>(Index) > m_items.size()) RaiseErrorById(IDS_INDEX_OUT_OF_RANGE, E_FAIL);
        m_items.erase(m_items.begin() + (Index - 1));
    });
}
