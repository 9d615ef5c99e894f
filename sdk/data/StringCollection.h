// StringCollection2: an ordered list of strings, indexed from 1, enumerable from scripts.
#pragma once

#include <windows.h>

#include <vector>

#include "CollectionEnum.h"
#include "SdkObject.h"

class CStringCollection
    : public CSdkObject<CStringCollection, &CLSID_StringCollection2, IStringCollection2, &IID_IStringCollection2, 102>,
      public CEnumerableItems,
      public IEnumOnItems<CStringCollection> {
public:
    BEGIN_COM_MAP(CStringCollection)
    COM_INTERFACE_ENTRY(IStringCollection2)
    COM_INTERFACE_ENTRY2(IDispatch, IStringCollection2)
    COM_INTERFACE_ENTRY(ISupportErrorInfo)
    COM_INTERFACE_ENTRY(IEnumVARIANT)
    END_COM_MAP()

    STDMETHOD(get__NewEnum)(IUnknown **pVal) override;
    STDMETHOD(get_Item)(LONG Index, BSTR *pVal) override;
    STDMETHOD(put_Item)(LONG Index, BSTR newVal) override;
    STDMETHOD(get_Count)(LONG *pVal) override;
    STDMETHOD(Add)(BSTR newVal) override;
    STDMETHOD(Remove)(LONG Index) override;

    // Enumeration.
    size_t ItemCount() const override { return m_items.size(); }
    HRESULT CopyItem(size_t index, VARIANT* item) const override;
    const char* LogName() const;
    const CEnumerableItems& Items() const { return *this; }

private:
    std::vector<CComBSTR> m_items;
};
