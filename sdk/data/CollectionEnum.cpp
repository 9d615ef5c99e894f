#include <windows.h>

#include "CollectionEnum.h"

size_t CEnumCursor::Clamp(const CEnumerableItems& items) {
    const size_t count = items.ItemCount();
    if (m_position > count) m_position = count;
    return m_position;
}

HRESULT CEnumCursor::Next(const CEnumerableItems& items, ULONG count, VARIANT* out, ULONG* fetched) {
    if (!out || (count != 1 && !fetched)) return E_POINTER;
    const size_t start = Clamp(items);
    ULONG given = 0;
    while (given < count && m_position < items.ItemCount()) {
        ::VariantInit(&out[given]);
        const HRESULT hr = items.CopyItem(m_position, &out[given]);
        if (FAILED(hr)) {
            // Nothing of a failed call is handed out.
            for (ULONG i = 0; i < given; ++i) ::VariantClear(&out[i]);
            m_position = start;
            if (fetched) *fetched = 0;
            return hr;
        }
        ++given;
        ++m_position;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT CEnumCursor::Skip(const CEnumerableItems& items, ULONG count) {
    const size_t left = items.ItemCount() - Clamp(items);
    if (count > left) {
        m_position += left;
        return S_FALSE;
    }
    m_position += count;
    return S_OK;
}

HRESULT CCollectionEnum::Create(IUnknown* owner, const CEnumerableItems& items, const char* logName,
                                IUnknown** result) {
    *result = nullptr;
    CComObject<CCollectionEnum>* made = nullptr;
    const HRESULT hr = CComObject<CCollectionEnum>::CreateInstance(&made);
    if (FAILED(hr)) return hr;
    const CComPtr<CComObject<CCollectionEnum>> enumerator(made);
    enumerator->m_owner = owner;
    enumerator->m_items = &items;
    enumerator->m_logName = logName;
    return enumerator->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(result));
}
