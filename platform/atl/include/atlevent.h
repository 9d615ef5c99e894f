// Event sinks: an object receives a source's dispatch events through a sink map.
//
//   class CHolder : public IDispEventSimpleImpl<1, CHolder, &DIID_Events> {
//       BEGIN_SINK_MAP(CHolder)
//           SINK_ENTRY_INFO(1, DIID_Events, 1, &CHolder::OnClick, &kClickInfo)
//       END_SINK_MAP()
//       void __stdcall OnClick(IDispatch* control, VARIANT_BOOL cancel);
//   };
//
// The sink is a separate IDispatch inside the object. As a connection point holds it, it does not
// keep its object alive: the object unadvises before it goes.
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include <tuple>
#include <utility>

namespace ATL {

// A handler's calling convention, result and parameter types, as the source passes them.
struct _ATL_FUNC_INFO {
    CALLCONV cc;
    VARTYPE vtReturn;
    SHORT nParams;
    VARTYPE pVarTypes[8];
};

// Reads an argument already coerced to its declared type.
inline void _AtlFromVariant(const VARIANT& v, IDispatch*& out) { out = V_DISPATCH(&v); }
inline void _AtlFromVariant(const VARIANT& v, IUnknown*& out) { out = V_UNKNOWN(&v); }
inline void _AtlFromVariant(const VARIANT& v, VARIANT_BOOL& out) { out = V_BOOL(&v); }
inline void _AtlFromVariant(const VARIANT& v, long& out) { out = V_I4(&v); }
inline void _AtlFromVariant(const VARIANT& v, BSTR& out) { out = V_BSTR(&v); }

template <class F>
struct _AtlSinkTraits;
template <class T, class... A>
struct _AtlSinkTraits<void (__stdcall T::*)(A...)> {
    typedef T Class;
    typedef std::tuple<A...> Args;
};

// Calls handler F of the object with the event's arguments, each coerced to the type the
// function information declares (the source passes them last first).
template <auto F>
HRESULT _AtlSinkCall(void* object, DISPPARAMS* params, const _ATL_FUNC_INFO* info) {
    typedef typename _AtlSinkTraits<decltype(F)>::Class Class;
    typedef typename _AtlSinkTraits<decltype(F)>::Args Args;
    constexpr size_t count = std::tuple_size<Args>::value;
    if (!params || params->cArgs != count || !info || info->nParams != static_cast<SHORT>(count))
        return DISP_E_BADPARAMCOUNT;
    VARIANT coerced[count ? count : 1];
    for (auto& v : coerced) ::VariantInit(&v);
    HRESULT hr = S_OK;
    for (size_t i = 0; i < count && SUCCEEDED(hr); ++i)
        hr = ::VariantChangeType(&coerced[i], &params->rgvarg[count - 1 - i], 0, info->pVarTypes[i]);
    if (SUCCEEDED(hr)) {
        Args args;
        std::apply([&](auto&... a) {
            size_t i = 0;
            (_AtlFromVariant(coerced[i++], a), ...);
        }, args);
        std::apply([&](auto... a) { (static_cast<Class*>(object)->*F)(a...); }, args);
    }
    for (auto& v : coerced) ::VariantClear(&v);
    return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

struct _ATL_EVENT_ENTRY {
    UINT nControlID;
    const IID* piid;
    DISPID dispid;
    HRESULT (*pfnCall)(void* object, DISPPARAMS* params, const _ATL_FUNC_INFO* info);
    const _ATL_FUNC_INFO* pInfo;
};

#define BEGIN_SINK_MAP(x)                                         \
public:                                                           \
    typedef x _atl_event_classtype;                               \
    static const ATL::_ATL_EVENT_ENTRY* _GetSinkMap() {           \
        static const ATL::_ATL_EVENT_ENTRY _sinks[] = {
#define SINK_ENTRY_INFO(id, iid, dispid, fn, info) {id, &iid, dispid, &ATL::_AtlSinkCall<fn>, info},
#define END_SINK_MAP()            \
    {0, nullptr, 0, nullptr, nullptr}}; \
    return _sinks;                \
    }

// The sink: a dispatch object inside T that answers IUnknown, IDispatch and the event interface,
// dispatches by id through T's sink map, and advises or unadvises itself on a source's
// connection point. Its IUnknown is its own, so a source holding it does not hold T.
template <UINT nID, class T, const IID* pdiid>
class IDispEventSimpleImpl {
    class Sink : public IDispatch {
    public:
        explicit Sink(IDispEventSimpleImpl* owner) : m_owner(owner) {}
        STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override {
            if (!ppv) return E_POINTER;
            if (InlineIsEqualGUID(iid, IID_IUnknown) || InlineIsEqualGUID(iid, IID_IDispatch) ||
                InlineIsEqualGUID(iid, *pdiid)) {
                *ppv = static_cast<IDispatch*>(this);
                return S_OK;
            }
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        STDMETHOD_(ULONG, AddRef)() override { return 1; }
        STDMETHOD_(ULONG, Release)() override { return 1; }
        STDMETHOD(GetTypeInfoCount)(UINT* count) override {
            if (!count) return E_POINTER;
            *count = 0;
            return S_OK;
        }
        STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** info) override {
            if (info) *info = nullptr;
            return E_NOTIMPL;
        }
        STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
        STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                          UINT*) override {
            if (result) ::VariantInit(result);
            for (const _ATL_EVENT_ENTRY* e = T::_GetSinkMap(); e->piid; ++e)
                if (e->nControlID == nID && e->dispid == id && InlineIsEqualGUID(*e->piid, *pdiid))
                    return e->pfnCall(static_cast<T*>(m_owner), params, e->pInfo);
            return S_OK;  // events nobody handles are accepted and ignored
        }

    private:
        IDispEventSimpleImpl* m_owner;
    };

public:
    IDispEventSimpleImpl() = default;
    IDispEventSimpleImpl(const IDispEventSimpleImpl&) = delete;
    IDispEventSimpleImpl& operator=(const IDispEventSimpleImpl&) = delete;

    // The sink as the source sees it.
    IDispatch* GetSink() { return &m_sink; }

    // Advises the sink on the source's connection point for the event interface.
    HRESULT DispEventAdvise(IUnknown* source) {
        CComPtr<IConnectionPoint> point;
        HRESULT hr = FindPoint(source, &point);
        if (SUCCEEDED(hr)) hr = point->Advise(GetSink(), &m_dwEventCookie);
        return hr;
    }
    HRESULT DispEventUnadvise(IUnknown* source) {
        if (m_dwEventCookie == 0xFEFEFEFE) return CONNECT_E_NOCONNECTION;
        CComPtr<IConnectionPoint> point;
        HRESULT hr = FindPoint(source, &point);
        if (SUCCEEDED(hr)) hr = point->Unadvise(m_dwEventCookie);
        m_dwEventCookie = 0xFEFEFEFE;
        return hr;
    }
    bool IsAdvised() const { return m_dwEventCookie != 0xFEFEFEFE; }

    DWORD m_dwEventCookie = 0xFEFEFEFE;

private:
    Sink m_sink{this};

    static HRESULT FindPoint(IUnknown* source, IConnectionPoint** point) {
        if (!source) return E_POINTER;
        CComPtr<IConnectionPointContainer> container;
        HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
        return FAILED(hr) ? hr : container->FindConnectionPoint(*pdiid, point);
    }
};

}  // namespace ATL
