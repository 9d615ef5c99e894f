// COM object templates: reference counting, interface tables, class factories, IDispatch through
// the module's type library, and ISupportErrorInfo.
#pragma once

#include "atlbase.h"

#include <climits>
#include <new>

namespace ATL {

// One row of an object's interface table: the IID and the offset of that interface in the object.
struct _ATL_INTMAP_ENTRY {
    const IID* piid;
    DWORD_PTR dw;
};

#define offsetofclass(base, derived) \
    (reinterpret_cast<DWORD_PTR>(static_cast<base*>(reinterpret_cast<derived*>(8))) - 8)

// Reference count and interface look-up shared by every object (apartment model: no locking).
class CComObjectRootBase {
public:
    HRESULT FinalConstruct() { return S_OK; }
    void FinalRelease() {}

    static HRESULT WINAPI InternalQueryInterface(void* pThis, const _ATL_INTMAP_ENTRY* entries, REFIID iid, void** ppv);

    ULONG OuterAddRef() { return m_pOuterUnknown->AddRef(); }
    ULONG OuterRelease() { return m_pOuterUnknown->Release(); }
    HRESULT OuterQueryInterface(REFIID iid, void** ppv) { return m_pOuterUnknown->QueryInterface(iid, ppv); }

    void SetVoid(void*) {}
    void InternalFinalConstructAddRef() {}
    void InternalFinalConstructRelease() {}

    union {
        LONG m_dwRef = 0;
        IUnknown* m_pOuterUnknown;
    };
};

class CComSingleThreadModel {};

template <class ThreadModel = CComSingleThreadModel>
class CComObjectRootEx : public CComObjectRootBase {
public:
    ULONG InternalAddRef() { return ++m_dwRef; }
    ULONG InternalRelease() { return --m_dwRef; }
};

typedef CComObjectRootEx<CComSingleThreadModel> CComObjectRoot;

#define BEGIN_COM_MAP(x)                                                              \
public:                                                                               \
    typedef x _ComMapClass;                                                           \
    HRESULT _InternalQueryInterface(REFIID iid, void** ppv) {                         \
        return InternalQueryInterface(this, _GetEntries(), iid, ppv);                 \
    }                                                                                 \
    IUnknown* _GetRawUnknown() {                                                      \
        return reinterpret_cast<IUnknown*>(reinterpret_cast<DWORD_PTR>(this) + _GetEntries()->dw); \
    }                                                                                 \
    static const ATL::_ATL_INTMAP_ENTRY* _GetEntries() {                              \
        static const ATL::_ATL_INTMAP_ENTRY _entries[] = {
#define COM_INTERFACE_ENTRY(x) {&__uuidof(x), offsetofclass(x, _ComMapClass)},
#define COM_INTERFACE_ENTRY_IID(iid, x) {&iid, offsetofclass(x, _ComMapClass)},
#define COM_INTERFACE_ENTRY2(x, x2) \
    {&__uuidof(x), reinterpret_cast<DWORD_PTR>(static_cast<x*>(static_cast<x2*>(reinterpret_cast<_ComMapClass*>(8)))) - 8},
#define END_COM_MAP() \
    {nullptr, 0}};    \
    return _entries;  \
    }

// The standalone object: owns its reference count and keeps the module loaded while it lives.
template <class Base>
class CComObject final : public Base {
public:
    CComObject(void* = nullptr) { _pModule->Lock(); }
    ~CComObject() {
        this->m_dwRef = -(LONG_MAX / 2);
        this->FinalRelease();
        _pModule->Unlock();
    }
    STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
    STDMETHOD_(ULONG, Release)() override {
        ULONG l = this->InternalRelease();
        if (l == 0) delete this;
        return l;
    }
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override { return this->_InternalQueryInterface(iid, ppv); }

    // Creates an object with a reference count of 0 (the caller queries it for an interface).
    static HRESULT WINAPI CreateInstance(CComObject<Base>** pp) {
        if (!pp) return E_POINTER;
        *pp = nullptr;
        auto* p = new (std::nothrow) CComObject<Base>();
        if (!p) return E_OUTOFMEMORY;
        p->InternalAddRef();
        HRESULT hr = p->FinalConstruct();
        p->InternalRelease();
        if (FAILED(hr)) {
            delete p;
            return hr;
        }
        *pp = p;
        return S_OK;
    }
};

// The object's own part when aggregated: IUnknown calls go to the controlling unknown, except
// through the inner unknown that the aggregator holds.
template <class Contained>
class CComContainedObject : public Contained {
public:
    explicit CComContainedObject(void* outer) { this->m_pOuterUnknown = static_cast<IUnknown*>(outer); }
    STDMETHOD_(ULONG, AddRef)() override { return this->OuterAddRef(); }
    STDMETHOD_(ULONG, Release)() override { return this->OuterRelease(); }
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override { return this->OuterQueryInterface(iid, ppv); }
};

template <class Contained>
class CComAggObject final : public IUnknown {
public:
    explicit CComAggObject(void* outer) : m_contained(outer) { _pModule->Lock(); }
    virtual ~CComAggObject() {
        m_dwRef = -(LONG_MAX / 2);
        m_contained.FinalRelease();
        _pModule->Unlock();
    }
    HRESULT FinalConstruct() { return m_contained.FinalConstruct(); }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_dwRef; }
    STDMETHOD_(ULONG, Release)() override {
        ULONG l = --m_dwRef;
        if (l == 0) delete this;
        return l;
    }
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (InlineIsEqualGUID(iid, IID_IUnknown)) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return m_contained._InternalQueryInterface(iid, ppv);
    }
    LONG m_dwRef = 0;
    CComContainedObject<Contained> m_contained;
};

// Creator functions placed in the class table.
template <class T>
class CComCreator {
public:
    static HRESULT WINAPI CreateInstance(void* outer, REFIID riid, void** ppv) {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        auto* p = new (std::nothrow) T(outer);
        if (!p) return E_OUTOFMEMORY;
        p->AddRef();
        HRESULT hr = p->FinalConstruct();
        if (SUCCEEDED(hr)) hr = p->QueryInterface(riid, ppv);
        p->Release();
        return hr;
    }
};

class CComFailCreator {
public:
    static HRESULT WINAPI CreateInstance(void*, REFIID, void** ppv) {
        if (ppv) *ppv = nullptr;
        return CLASS_E_NOAGGREGATION;
    }
};

template <class T1, class T2>
class CComCreator2 {
public:
    static HRESULT WINAPI CreateInstance(void* outer, REFIID riid, void** ppv) {
        return outer == nullptr ? T1::CreateInstance(nullptr, riid, ppv) : T2::CreateInstance(outer, riid, ppv);
    }
};

#define DECLARE_NOT_AGGREGATABLE(x) \
public:                             \
    typedef ATL::CComCreator2<ATL::CComCreator<ATL::CComObject<x>>, ATL::CComFailCreator> _CreatorClass;
#define DECLARE_AGGREGATABLE(x) \
public:                         \
    typedef ATL::CComCreator2<ATL::CComCreator<ATL::CComObject<x>>, ATL::CComCreator<ATL::CComAggObject<x>>> _CreatorClass;

#define DECLARE_REGISTRY_RESOURCEID(id) \
    static HRESULT WINAPI UpdateRegistry(BOOL bRegister) { return ATL::_pModule->UpdateRegistryFromResource(id, bRegister); }

// The class's CLSID and its default creator (not aggregatable unless the class says so).
template <class T, const CLSID* pclsid>
class CComCoClass {
public:
    DECLARE_NOT_AGGREGATABLE(T)
    static const CLSID& WINAPI GetObjectCLSID() { return *pclsid; }

    // Creates an instance in this module without going through the COM runtime.
    template <class Q>
    static HRESULT CreateInstance(Q** pp) {
        return T::_CreatorClass::CreateInstance(nullptr, __uuidof(Q), reinterpret_cast<void**>(pp));
    }
};

#define BEGIN_OBJECT_MAP(x) static const ATL::_ATL_OBJMAP_ENTRY x[] = {
#define OBJECT_ENTRY(clsid, class) {&clsid, &class::UpdateRegistry, &class::_CreatorClass::CreateInstance},
#define END_OBJECT_MAP() {nullptr, nullptr, nullptr}};

// IDispatch served through the type information of interface *piid in the module's type library.
template <class T, const IID* piid>
class IDispatchImpl : public T {
public:
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override {
        if (!pctinfo) return E_POINTER;
        *pctinfo = 1;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT itinfo, LCID, ITypeInfo** ppInfo) override {
        if (!ppInfo) return E_POINTER;
        *ppInfo = nullptr;
        if (itinfo != 0) return DISP_E_BADINDEX;
        return _pModule->GetTypeInfo(*piid, ppInfo);
    }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        CComPtr<ITypeInfo> info;
        HRESULT hr = _pModule->GetTypeInfo(*piid, &info);
        return FAILED(hr) ? hr : info->GetIDsOfNames(names, count, ids);
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excep, UINT* argErr) override {
        CComPtr<ITypeInfo> info;
        HRESULT hr = _pModule->GetTypeInfo(*piid, &info);
        if (FAILED(hr)) return hr;
        return info->Invoke(static_cast<T*>(this), id, flags, params, result, excep, argErr);
    }
};

// Answers S_OK for the class's default interface only.
template <const IID* piid>
class ISupportErrorInfoImpl : public ISupportErrorInfo {
public:
    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override {
        return InlineIsEqualGUID(riid, *piid) ? S_OK : S_FALSE;
    }
};

}  // namespace ATL

#include "atlevent.h"
