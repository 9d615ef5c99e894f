#include <windows.h>

#include "ObjectCollection.h"

#include <string>
#include <utility>

#include "resource.h"

namespace {

const char kLog[] = "CObjectCollection";

template <class Body>
HRESULT Member(const char* name, Body&& body) {
    return RunMethod(kLog, kLog, name, body, ExitLog::No);
}

// The identifier of a contact or group; 5019 for anything else, a null item included.
CComBSTR IdentifierOf(IDispatch* item) {
    CComPtr<IObjectWithID> withId;
    if (!item || FAILED(item->QueryInterface(__uuidof(IObjectWithID), reinterpret_cast<void**>(&withId))) || !withId)
        RaiseErrorById(IDS_ITEM_WITHOUT_ID, E_FAIL);
    CComBSTR id;
    const HRESULT hr = withId->get_ID(&id);
    if (FAILED(hr)) RaiseHResult(hr);
    return id;
}

}  // namespace

const char* CObjectCollection::LogName() const {
    return kLog;
}

HRESULT CObjectCollection::CopyItem(size_t index, VARIANT* item) const {
    CComPtr<IDispatch> copy = m_items[index];
    item->vt = VT_DISPATCH;
    item->pdispVal = copy.Detach();
    return S_OK;
}

size_t CObjectCollection::Position(LONG index) const {
    if (index < 1 || static_cast<size_t>(index) > m_items.size()) RaiseErrorById(IDS_INDEX_OUT_OF_RANGE, E_FAIL);
    return static_cast<size_t>(index - 1);
}

STDMETHODIMP CObjectCollection::get__NewEnum(IUnknown** pVal) {
    return Member("get__NewEnum", [&] {
        RequireResult(pVal);
        const HRESULT hr = CCollectionEnum::Create(static_cast<IObjectCollection*>(this), *this, kLog, pVal);
        if (FAILED(hr)) RaiseHResult(hr);
    });
}

STDMETHODIMP CObjectCollection::get_Item(LONG Index, IDispatch** pVal) {
    return Member("get_Item", [&] {
        RequireResult(pVal);
        CComPtr<IDispatch> item = m_items[Position(Index)];
        *pVal = item.Detach();
    });
}

// A replaced or removed item is released only once the list is whole again, so that whatever
// its release sets off finds the collection in order.
STDMETHODIMP CObjectCollection::put_Item(LONG Index, IDispatch* newVal) {
    return Member("put_Item", [&] {
        const size_t position = Position(Index);
        CComPtr<IDispatch> old = std::move(m_items[position]);
        m_items[position] = newVal;
    });
}

STDMETHODIMP CObjectCollection::get_Count(LONG* pVal) {
    return Member("get_Count", [&] {
        RequireResult(pVal);
        *pVal = static_cast<LONG>(m_items.size());
    });
}

STDMETHODIMP CObjectCollection::Add(IDispatch* newVal) {
    return Member("Add", [&] { m_items.emplace_back(newVal); });
}

STDMETHODIMP CObjectCollection::Remove(LONG Index) {
    return Member("Remove", [&] {
        const size_t position = Position(Index);
        CComPtr<IDispatch> removed = std::move(m_items[position]);
        m_items.erase(m_items.begin() + position);
    });
}

// The items' identifiers joined by ",": "12,7,30"; empty for an empty collection.
STDMETHODIMP CObjectCollection::get_IDs(BSTR* pVal) {
    return Member("get_IDs", [&] {
        RequireResult(pVal);
        std::wstring ids;
        for (size_t i = 0; i < m_items.size(); ++i) {
            CComPtr<IDispatch> item = m_items[i];
            const CComBSTR id = IdentifierOf(item);
            if (i > 0) ids += L',';
            ids.append(id.m_str ? id.m_str : L"", id.Length());
        }
        *pVal = ::SysAllocStringLen(ids.data(), static_cast<UINT>(ids.size()));
        if (!*pVal) RaiseHResult(E_OUTOFMEMORY);
    });
}
