// What every provider object shares: reference counting and QueryInterface (CMapiObject),
// IMAPIProp over a property bag (CMapiProp) and the container methods (CMapiContainer).
// Members the provider does not serve answer MAPI_E_NO_SUPPORT.
#pragma once

#include <windows.h>
#include <mapix.h>

#include <initializer_list>

#include "Diagnostics.h"
#include "PropertyBag.h"

namespace mapiprovider {

template <class Itf>
class CMapiObject : public Itf {
public:
    explicit CMapiObject(std::initializer_list<const IID*> interfaces) {
        size_t i = 0;
        for (const IID* iid : interfaces) {
            if (i < kMaxInterfaces) m_interfaces[i++] = iid;
        }
    }
    virtual ~CMapiObject() = default;
    CMapiObject(const CMapiObject&) = delete;
    CMapiObject& operator=(const CMapiObject&) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppv) override {
        if (!ppv) return MAPI_E_INVALID_PARAMETER;
        *ppv = nullptr;
        bool served = IsEqualIID(riid, IID_IUnknown);
        for (const IID* iid : m_interfaces) served = served || (iid && IsEqualIID(riid, *iid));
        if (!served) return MAPI_E_INTERFACE_NOT_SUPPORTED;
        *ppv = static_cast<Itf*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHOD_(ULONG, Release)() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

private:
    static const size_t kMaxInterfaces = 4;
    const IID* m_interfaces[kMaxInterfaces] = {};
    LONG m_refs = 1;  // the creator's reference
    CLiveObject m_live;
};

// IMAPIProp for objects whose properties are a bag; read-only.
template <class Itf>
class CMapiProp : public CMapiObject<Itf> {
public:
    CMapiProp(std::initializer_list<const IID*> interfaces, CPropertyBag properties)
        : CMapiObject<Itf>(interfaces), m_properties(std::move(properties)) {}

    const CPropertyBag& Properties() const { return m_properties; }

    STDMETHOD(GetLastError)(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) override {
        if (lppMAPIError) *lppMAPIError = nullptr;
        return S_OK;
    }
    STDMETHOD(SaveChanges)(ULONG) override { return MAPI_E_NO_ACCESS; }
    STDMETHOD(GetProps)(LPSPropTagArray tags, ULONG flags, ULONG* count, LPSPropValue* values) override {
        // An injected warning comes with the values; an injected error instead of them.
        const HRESULT injected = InjectedFailure(L"GetProps", m_properties.Text(PROP_ID(PR_DISPLAY_NAME_W)));
        if (FAILED(injected)) {
            if (count) *count = 0;
            if (values) *values = nullptr;
            return injected;
        }
        const HRESULT hr = m_properties.GetProps(tags, flags, count, values);
        return FAILED(hr) || injected == S_OK ? hr : injected;
    }
    STDMETHOD(GetPropList)(ULONG flags, LPSPropTagArray* tags) override { return m_properties.GetPropList(flags, tags); }
    STDMETHOD(OpenProperty)(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN* unk) override {
        if (unk) *unk = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHOD(SetProps)(ULONG, LPSPropValue, LPSPropProblemArray* problems) override {
        if (problems) *problems = nullptr;
        return MAPI_E_NO_ACCESS;
    }
    STDMETHOD(DeleteProps)(LPSPropTagArray, LPSPropProblemArray* problems) override {
        if (problems) *problems = nullptr;
        return MAPI_E_NO_ACCESS;
    }
    STDMETHOD(CopyTo)(ULONG, LPCIID, LPSPropTagArray, ULONG, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                      LPSPropProblemArray* problems) override {
        if (problems) *problems = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHOD(CopyProps)(LPSPropTagArray, ULONG, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG, LPSPropProblemArray* problems) override {
        if (problems) *problems = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHOD(GetNamesFromIDs)(LPSPropTagArray*, LPGUID, ULONG, ULONG* count, LPMAPINAMEID** names) override {
        if (count) *count = 0;
        if (names) *names = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHOD(GetIDsFromNames)(ULONG, LPMAPINAMEID*, ULONG, LPSPropTagArray* tags) override {
        if (tags) *tags = nullptr;
        return MAPI_E_NO_SUPPORT;
    }

private:
    CPropertyBag m_properties;
};

// IMAPIContainer and the address-book container methods (IABContainer and IDistList share
// them); a container opens entries and serves tables, and creates or changes nothing.
template <class Itf>
class CMapiContainer : public CMapiProp<Itf> {
public:
    using CMapiProp<Itf>::CMapiProp;

    STDMETHOD(SetSearchCriteria)(LPSRestriction, LPENTRYLIST, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(GetSearchCriteria)(ULONG, LPSRestriction* restriction, LPENTRYLIST* containers, ULONG* state) override {
        if (restriction) *restriction = nullptr;
        if (containers) *containers = nullptr;
        if (state) *state = 0;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHOD(CreateEntry)(ULONG, LPENTRYID, ULONG, LPMAPIPROP* entry) override {
        if (entry) *entry = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHOD(CopyEntries)(LPENTRYLIST, ULONG, LPMAPIPROGRESS, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(DeleteEntries)(LPENTRYLIST, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(ResolveNames)(LPSPropTagArray, ULONG, LPADRLIST, LPFlagList) override { return MAPI_E_NO_SUPPORT; }
};

}  // namespace mapiprovider
