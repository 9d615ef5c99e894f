#include "atlcom.h"

namespace ATL {

const CLSID CLSID_Registrar = {0x44EC053A, 0x400F, 0x11D0, {0x9D, 0xCD, 0x00, 0xA0, 0xC9, 0x03, 0x91, 0xD3}};
const IID IID_IRegistrar = {0x44EC053B, 0x400F, 0x11D0, {0x9D, 0xCD, 0x00, 0xA0, 0xC9, 0x03, 0x91, 0xD3}};

CComModule* _pModule = nullptr;

HRESULT WINAPI CComObjectRootBase::InternalQueryInterface(void* pThis, const _ATL_INTMAP_ENTRY* entries,
                                                          REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    const auto base = reinterpret_cast<DWORD_PTR>(pThis);
    // The first entry also answers IUnknown.
    if (InlineIsEqualGUID(iid, IID_IUnknown)) {
        auto* unk = reinterpret_cast<IUnknown*>(base + entries->dw);
        unk->AddRef();
        *ppv = unk;
        return S_OK;
    }
    for (const _ATL_INTMAP_ENTRY* e = entries; e->piid; ++e) {
        if (InlineIsEqualGUID(iid, *e->piid)) {
            auto* unk = reinterpret_cast<IUnknown*>(base + e->dw);
            unk->AddRef();
            *ppv = unk;
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

namespace {

// The class factory of one row of the class table.
class CClassFactory : public IClassFactory {
public:
    explicit CClassFactory(const _ATL_OBJMAP_ENTRY& entry) : m_entry(entry) { _pModule->Lock(); }
    virtual ~CClassFactory() { _pModule->Unlock(); }

    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (InlineIsEqualGUID(iid, IID_IUnknown) || InlineIsEqualGUID(iid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return InterlockedIncrement(&m_ref); }
    STDMETHOD_(ULONG, Release)() override {
        LONG l = InterlockedDecrement(&m_ref);
        if (l == 0) delete this;
        return l;
    }
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        // An aggregator may only ask for the inner unknown.
        if (outer && !InlineIsEqualGUID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        return m_entry.pfnCreateInstance(outer, riid, ppv);
    }
    STDMETHOD(LockServer)(BOOL lock) override {
        if (lock)
            _pModule->Lock();
        else
            _pModule->Unlock();
        return S_OK;
    }

private:
    LONG m_ref = 0;
    const _ATL_OBJMAP_ENTRY& m_entry;
};

// Keeps COM initialised on this thread for the length of a registration call when the caller
// (regsvr32, a test) has not done so.
class CComInitScope {
public:
    CComInitScope() : m_hr(::CoInitialize(nullptr)) {}
    ~CComInitScope() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }

private:
    HRESULT m_hr;
};

}  // namespace

HRESULT CComModule::Init(const _ATL_OBJMAP_ENTRY* objectMap, HINSTANCE instance, const GUID* libid) {
    _pModule = this;
    m_objectMap = objectMap;
    m_hInst = m_hInstResource = instance;
    m_libid = libid ? libid : &GUID_NULL;
    m_lockCount = 0;
    ::GetModuleFileNameW(instance, m_modulePath, MAX_PATH);
    return S_OK;
}

void CComModule::Term() {
    if (m_typeLib) {
        m_typeLib->Release();
        m_typeLib = nullptr;
    }
    m_objectMap = nullptr;
}

HRESULT CComModule::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    for (const _ATL_OBJMAP_ENTRY* e = m_objectMap; e && e->pclsid; ++e) {
        if (InlineIsEqualGUID(clsid, *e->pclsid)) {
            auto* factory = new (std::nothrow) CClassFactory(*e);
            if (!factory) return E_OUTOFMEMORY;
            factory->AddRef();
            HRESULT hr = factory->QueryInterface(riid, ppv);
            factory->Release();
            return hr;
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CComModule::UpdateRegistryFromResource(UINT id, BOOL bRegister) {
    CComInitScope com;
    CComPtr<IRegistrar> registrar;
    HRESULT hr = ::CoCreateInstance(CLSID_Registrar, nullptr, CLSCTX_INPROC_SERVER, IID_IRegistrar,
                                    reinterpret_cast<void**>(&registrar));
    if (FAILED(hr)) return hr;
    hr = registrar->AddReplacement(L"MODULE", m_modulePath);
    if (FAILED(hr)) return hr;
    return bRegister ? registrar->ResourceRegister(m_modulePath, id, L"REGISTRY")
                     : registrar->ResourceUnregister(m_modulePath, id, L"REGISTRY");
}

HRESULT CComModule::RegisterServer(BOOL registerTypeLib) {
    for (const _ATL_OBJMAP_ENTRY* e = m_objectMap; e && e->pclsid; ++e) {
        HRESULT hr = e->pfnUpdateRegistry(TRUE);
        if (FAILED(hr)) return hr;
    }
    return registerTypeLib ? RegisterTypeLib() : S_OK;
}

HRESULT CComModule::UnregisterServer(BOOL unregisterTypeLib) {
    HRESULT result = S_OK;
    for (const _ATL_OBJMAP_ENTRY* e = m_objectMap; e && e->pclsid; ++e) {
        HRESULT hr = e->pfnUpdateRegistry(FALSE);
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    if (unregisterTypeLib) {
        HRESULT hr = UnRegisterTypeLib();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    return result;
}

HRESULT CComModule::LoadTypeLib(ITypeLib** ppLib) {
    if (!m_typeLib) {
        HRESULT hr = ::LoadTypeLibEx(m_modulePath, REGKIND_NONE, &m_typeLib);
        if (FAILED(hr)) return hr;
    }
    m_typeLib->AddRef();
    *ppLib = m_typeLib;
    return S_OK;
}

HRESULT CComModule::RegisterTypeLib() {
    CComInitScope com;
    CComPtr<ITypeLib> lib;
    HRESULT hr = LoadTypeLib(&lib);
    if (FAILED(hr)) return hr;
    return ::RegisterTypeLib(lib, m_modulePath, nullptr);
}

HRESULT CComModule::UnRegisterTypeLib() {
    CComInitScope com;
    CComPtr<ITypeLib> lib;
    HRESULT hr = LoadTypeLib(&lib);
    if (FAILED(hr)) return hr;
    TLIBATTR* attr = nullptr;
    hr = lib->GetLibAttr(&attr);
    if (FAILED(hr)) return hr;
    hr = ::UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
    lib->ReleaseTLibAttr(attr);
    return hr;
}

HRESULT CComModule::GetTypeInfo(REFIID iid, ITypeInfo** ppInfo) {
    if (!ppInfo) return E_POINTER;
    *ppInfo = nullptr;
    CComPtr<ITypeLib> lib;
    HRESULT hr = LoadTypeLib(&lib);
    if (FAILED(hr)) return hr;
    return lib->GetTypeInfoOfGuid(iid, ppInfo);
}

}  // namespace ATL
