// ObjectCollection: an ordered list of automation objects (a null item is allowed), indexed
// from 1, enumerable from scripts, and able to list the identifiers of its contacts and groups.
#pragma once

#include <windows.h>

#include <vector>

#include "CollectionEnum.h"
#include "SdkObject.h"

class CObjectCollection
    : public CSdkObject<CObjectCollection, &CLSID_ObjectCollection, IObjectCollection, &IID_IObjectCollection, 110>,
      public CEnumerableItems,
      public IEnumOnItems<CObjectCollection> {
public:
    BEGIN_COM_MAP(CObjectCollection)
    COM_INTERFACE_ENTRY(IObjectCollection)
    COM_INTERFACE_ENTRY2(IDispatch, IObjectCollection)
    COM_INTERFACE_ENTRY(ISupportErrorInfo)
    COM_INTERFACE_ENTRY(IEnumVARIANT)
    END_COM_MAP()

    STDMETHOD(get__NewEnum)(IUnknown **pVal) override;
    STDMETHOD(get_Item)(LONG Index, IDispatch **pVal) override;
    STDMETHOD(put_Item)(LONG Index, IDispatch *newVal) override;
    STDMETHOD(get_Count)(LONG *pVal) override;
    STDMETHOD(Add)(IDispatch *newVal) override;
    STDMETHOD(Remove)(LONG Index) override;
    STDMETHOD(get_IDs)(BSTR *pVal) override;

    // Enumeration.
    size_t ItemCount() const override { return m_items.size(); }
    HRESULT CopyItem(size_t index, VARIANT* item) const override;
    const char* LogName() const;
    const CEnumerableItems& Items() const { return *this; }

private:
    // Index from 1, checked against the count (5014 when outside).
    size_t Position(LONG index) const;

    std::vector<CComPtr<IDispatch>> m_items;
};
