#include "afxdisp.h"

namespace {

bool g_oleInitialised = false;
bool g_controlContainer = false;
LONG g_lockCount = 0;
bool g_userCtrl = true;
COleObjectFactory* g_firstFactory = nullptr;

CString GuidText(REFGUID guid) {
    wchar_t text[64] = {};
    ::StringFromGUID2(guid, text, 64);
    return CString(text);
}

bool SetKeyValue(const CString& path, const char* name, const CString& value) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, path.Wide().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    std::wstring data = value.Wide();
    std::wstring valueName = name ? CString(name).Wide() : std::wstring();
    LONG status = ::RegSetValueExW(key, name ? valueName.c_str() : nullptr, 0, REG_SZ, (const BYTE*)data.c_str(),
                                   (DWORD)((data.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace

bool AfxOleInit() {
    if (g_oleInitialised) return true;
    if (FAILED(::OleInitialize(nullptr))) return false;
    g_oleInitialised = true;
    return true;
}

void AfxOleTerm() {
    if (!g_oleInitialised) return;
    COleObjectFactory::RevokeAll();
    ::OleUninitialize();
    g_oleInitialised = false;
}

void AfxEnableControlContainer() {
    g_controlContainer = true;
}

bool AfxIsControlContainerEnabled() {
    return g_controlContainer;
}

void AfxOleLockApp() {
    ::InterlockedIncrement(&g_lockCount);
}

void AfxOleUnlockApp() {
    if (::InterlockedDecrement(&g_lockCount) == 0 && !g_userCtrl) {
        // The last automation client left a program the user does not control: end it.
        if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_CLOSE);
    }
}

bool AfxOleCanExitApp() {
    return g_lockCount == 0;
}

LONG AfxOleGetLockCount() {
    return g_lockCount;
}

void AfxOleSetUserCtrl(bool userCtrl) {
    g_userCtrl = userCtrl;
}

bool AfxOleGetUserCtrl() {
    return g_userCtrl;
}

bool AfxOleRegisterTypeLib(HINSTANCE instance, REFGUID) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(instance, path, MAX_PATH);
    ITypeLib* library = nullptr;
    if (FAILED(::LoadTypeLibEx(path, REGKIND_NONE, &library))) return false;
    HRESULT hr = ::RegisterTypeLib(library, path, nullptr);
    library->Release();
    return SUCCEEDED(hr);
}

bool AfxOleUnregisterTypeLib(REFGUID libId) {
    // Every version registered under the LIBID.
    CString path = "TypeLib\\" + GuidText(libId);
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.Wide().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    std::vector<std::wstring> versions;
    wchar_t name[64];
    for (DWORD i = 0;; ++i) {
        DWORD length = 64;
        if (::RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        versions.push_back(name);
    }
    ::RegCloseKey(key);
    bool removed = false;
    for (const std::wstring& version : versions) {
        unsigned major = 0, minor = 0;
        if (swscanf(version.c_str(), L"%x.%x", &major, &minor) != 2) continue;
        HRESULT hr = ::UnRegisterTypeLib(libId, (WORD)major, (WORD)minor, 0, SYS_WIN64);
        if (FAILED(hr)) hr = ::UnRegisterTypeLib(libId, (WORD)major, (WORD)minor, 0, SYS_WIN32);
        removed = removed || SUCCEEDED(hr);
    }
    // Whatever the system left of the key.
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, path.Wide().c_str());
    return removed || !versions.empty();
}

// ---------------------------------------------------------------------------------------------

class COleObjectFactory::XClassFactory : public IClassFactory {
public:
    explicit XClassFactory(COleObjectFactory* owner) : m_owner(owner) {}
    virtual ~XClassFactory() = default;
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The factory lives as long as the program (a static object); its count is informative.
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)::InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override { return (ULONG)::InterlockedDecrement(&m_refs); }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        CCmdTarget* target = m_owner->OnCreateObject();
        if (!target) return E_OUTOFMEMORY;
        HRESULT hr = target->ExternalQueryInterface(iid, object);
        target->ExternalRelease();  // the creation reference
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) {
            AfxOleLockApp();
        } else {
            AfxOleUnlockApp();
        }
        return S_OK;
    }

private:
    COleObjectFactory* m_owner;
    LONG m_refs = 1;
};

COleObjectFactory::COleObjectFactory(REFCLSID clsid, CRuntimeClass* runtimeClass, bool multiInstance,
                                     const char* progId)
    : m_clsid(clsid), m_pRuntimeClass(runtimeClass), m_bMultiInstance(multiInstance), m_progId(progId),
      m_factory(new XClassFactory(this)), m_pNextFactory(g_firstFactory) {
    g_firstFactory = this;
}

COleObjectFactory::~COleObjectFactory() {
    Revoke();
    for (COleObjectFactory** link = &g_firstFactory; *link; link = &(*link)->m_pNextFactory) {
        if (*link == this) {
            *link = m_pNextFactory;
            break;
        }
    }
    delete static_cast<XClassFactory*>(m_factory);
}

IClassFactory* COleObjectFactory::GetClassFactory() {
    return m_factory;
}

CCmdTarget* COleObjectFactory::OnCreateObject() {
    if (!m_pRuntimeClass || !m_pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CCmdTarget))) return nullptr;
    return static_cast<CCmdTarget*>(m_pRuntimeClass->CreateObject());
}

bool COleObjectFactory::Register() {
    if (m_dwRegister) return true;
    HRESULT hr = ::CoRegisterClassObject(m_clsid, m_factory, CLSCTX_LOCAL_SERVER,
                                         m_bMultiInstance ? REGCLS_MULTIPLEUSE : REGCLS_SINGLEUSE, &m_dwRegister);
    if (FAILED(hr)) m_dwRegister = 0;
    return SUCCEEDED(hr);
}

void COleObjectFactory::Revoke() {
    if (!m_dwRegister) return;
    ::CoRevokeClassObject(m_dwRegister);
    m_dwRegister = 0;
}

bool COleObjectFactory::UpdateRegistry(bool registering) {
    CString clsid = GuidText(m_clsid);
    CString classKey = "CLSID\\" + clsid;
    if (!registering) {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey.Wide().c_str());
        if (!m_progId.IsEmpty()) ::RegDeleteTreeW(HKEY_CLASSES_ROOT, m_progId.Wide().c_str());
        return true;
    }
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(AfxGetInstanceHandle(), path, MAX_PATH);
    bool ok = SetKeyValue(classKey, nullptr, m_progId) && SetKeyValue(classKey + "\\LocalServer32", nullptr, path);
    if (!m_progId.IsEmpty()) {
        ok = ok && SetKeyValue(classKey + "\\ProgID", nullptr, m_progId) &&
             SetKeyValue(m_progId, nullptr, m_progId) && SetKeyValue(m_progId + "\\CLSID", nullptr, clsid);
    }
    if (m_hasLibId) ok = ok && SetKeyValue(classKey + "\\TypeLib", nullptr, GuidText(m_libId));
    return ok;
}

bool COleObjectFactory::RegisterAll() {
    bool ok = true;
    for (COleObjectFactory* factory = g_firstFactory; factory; factory = factory->m_pNextFactory)
        ok = factory->Register() && ok;
    return ok;
}

void COleObjectFactory::RevokeAll() {
    for (COleObjectFactory* factory = g_firstFactory; factory; factory = factory->m_pNextFactory) factory->Revoke();
}

bool COleObjectFactory::UpdateRegistryAll(bool registering) {
    bool ok = true;
    for (COleObjectFactory* factory = g_firstFactory; factory; factory = factory->m_pNextFactory)
        ok = factory->UpdateRegistry(registering) && ok;
    return ok;
}
