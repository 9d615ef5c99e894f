// What every coclass of the SDK shares: apartment-model object root, its class factory entry and
// registry script, IDispatch through the type library and ISupportErrorInfo for its default
// interface.
#pragma once

#include <atlcom.h>

#include "ObjectPrivate.h"
#include "SdkModule.h"
#include "TarvockLib.h"

template <class T, const CLSID* pclsid, class Itf, const IID* piid, UINT registryId>
class CSdkObject : public CComObjectRootEx<CComSingleThreadModel>,
                   public CComCoClass<T, pclsid>,
                   public IDispatchImpl<Itf, piid>,
                   public ISupportErrorInfoImpl<piid> {
public:
    DECLARE_REGISTRY_RESOURCEID(registryId)
};

// The interface table of a class that serves only its default dual interface.
#define SDK_COM_MAP(cls, itf)          \
    BEGIN_COM_MAP(cls)                 \
    COM_INTERFACE_ENTRY(itf)           \
    COM_INTERFACE_ENTRY2(IDispatch, itf) \
    COM_INTERFACE_ENTRY(ISupportErrorInfo) \
    END_COM_MAP()
