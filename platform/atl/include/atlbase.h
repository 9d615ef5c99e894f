// COM server support: the module (lock count, class table, registration) and smart types.
// A small library of our own in the familiar shape of the platform's template library.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <cstddef>
#include <memory>
#include <utility>

namespace ATL {

// Creates an instance of a class: outer is the controlling unknown when aggregated.
typedef HRESULT(WINAPI* _ATL_CREATORFUNC)(void* outer, REFIID riid, void** ppv);
typedef HRESULT(WINAPI* _ATL_UPDATEREGISTRYFUNC)(BOOL bRegister);

// One row of a server's class table.
struct _ATL_OBJMAP_ENTRY {
    const CLSID* pclsid;
    _ATL_UPDATEREGISTRYFUNC pfnUpdateRegistry;
    _ATL_CREATORFUNC pfnCreateInstance;
};

// The registrar object that runs registry scripts (served by the platform's atl.dll).
extern const CLSID CLSID_Registrar;
extern const IID IID_IRegistrar;

struct IRegistrar : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE AddReplacement(LPCOLESTR key, LPCOLESTR item) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearReplacements() = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceRegisterSz(LPCOLESTR resFileName, LPCOLESTR id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceUnregisterSz(LPCOLESTR resFileName, LPCOLESTR id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE FileRegister(LPCOLESTR fileName) = 0;
    virtual HRESULT STDMETHODCALLTYPE FileUnregister(LPCOLESTR fileName) = 0;
    virtual HRESULT STDMETHODCALLTYPE StringRegister(LPCOLESTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE StringUnregister(LPCOLESTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceRegister(LPCOLESTR resFileName, UINT id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceUnregister(LPCOLESTR resFileName, UINT id, LPCOLESTR type) = 0;
};

// The server module: instance handles, lock count, class table and type library.
class CComModule {
public:
    HRESULT Init(const _ATL_OBJMAP_ENTRY* objectMap, HINSTANCE instance, const GUID* libid);
    void Term();

    HINSTANCE GetModuleInstance() const { return m_hInst; }
    HINSTANCE GetResourceInstance() const { return m_hInstResource; }
    void SetResourceInstance(HINSTANCE h) { m_hInstResource = h; }
    const GUID& GetLibId() const { return *m_libid; }

    LONG Lock() { return InterlockedIncrement(&m_lockCount); }
    LONG Unlock() { return InterlockedDecrement(&m_lockCount); }
    LONG GetLockCount() const { return m_lockCount; }

    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv);
    HRESULT CanUnloadNow() const { return m_lockCount == 0 ? S_OK : S_FALSE; }
    HRESULT RegisterServer(BOOL registerTypeLib);
    HRESULT UnregisterServer(BOOL unregisterTypeLib);

    // Runs the "REGISTRY" script resource id of the code module, with %MODULE% replaced by its
    // full path.
    HRESULT UpdateRegistryFromResource(UINT id, BOOL bRegister);

    HRESULT RegisterTypeLib();
    HRESULT UnRegisterTypeLib();
    // The type information of one interface, from the type library embedded in the module.
    HRESULT GetTypeInfo(REFIID iid, ITypeInfo** ppInfo);

    // The module's full file name.
    const wchar_t* GetModuleFileName() const { return m_modulePath; }

private:
    HRESULT LoadTypeLib(ITypeLib** ppLib);

    HINSTANCE m_hInst = nullptr;
    HINSTANCE m_hInstResource = nullptr;
    const GUID* m_libid = &GUID_NULL;
    const _ATL_OBJMAP_ENTRY* m_objectMap = nullptr;
    LONG m_lockCount = 0;
    ITypeLib* m_typeLib = nullptr;
    wchar_t m_modulePath[MAX_PATH] = {};
};

extern CComModule* _pModule;

// Owns one interface reference.
template <class T>
class CComPtr {
public:
    CComPtr() = default;
    CComPtr(T* p) : p(p) { if (p) p->AddRef(); }
    CComPtr(const CComPtr& other) : CComPtr(other.p) {}
    CComPtr(CComPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
    ~CComPtr() { Release(); }
    CComPtr& operator=(T* q) { if (q) q->AddRef(); Release(); p = q; return *this; }
    CComPtr& operator=(const CComPtr& other) { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept { if (this != std::addressof(other)) { Release(); p = other.p; other.p = nullptr; } return *this; }

    void Release() { if (p) { T* q = p; p = nullptr; q->Release(); } }
    T* Detach() { T* q = p; p = nullptr; return q; }
    void Attach(T* q) { Release(); p = q; }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    operator T*() const { return p; }
    bool operator!() const { return p == nullptr; }

    template <class Q>
    HRESULT QueryInterface(Q** pp) const { return p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp)); }
    HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL) {
        Release();
        return ::CoCreateInstance(clsid, outer, context, __uuidof(T), reinterpret_cast<void**>(&p));
    }

    T* p = nullptr;
};

// Owns one BSTR.
class CComBSTR {
public:
    CComBSTR() = default;
    CComBSTR(const wchar_t* s) : m_str(s ? ::SysAllocString(s) : nullptr) {}
    CComBSTR(const wchar_t* s, UINT len) : m_str(::SysAllocStringLen(s, len)) {}
    CComBSTR(const CComBSTR& other) : m_str(other.Copy()) {}
    CComBSTR(CComBSTR&& other) noexcept : m_str(other.m_str) { other.m_str = nullptr; }
    ~CComBSTR() { ::SysFreeString(m_str); }
    CComBSTR& operator=(const wchar_t* s) { Empty(); m_str = s ? ::SysAllocString(s) : nullptr; return *this; }
    CComBSTR& operator=(const CComBSTR& other) { if (this != std::addressof(other)) { Empty(); m_str = other.Copy(); } return *this; }
    CComBSTR& operator=(CComBSTR&& other) noexcept { if (this != std::addressof(other)) { Empty(); m_str = other.m_str; other.m_str = nullptr; } return *this; }

    void Empty() { ::SysFreeString(m_str); m_str = nullptr; }
    BSTR Copy() const { return m_str ? ::SysAllocStringLen(m_str, ::SysStringLen(m_str)) : nullptr; }
    HRESULT CopyTo(BSTR* p) const { if (!p) return E_POINTER; *p = Copy(); return (m_str && !*p) ? E_OUTOFMEMORY : S_OK; }
    BSTR Detach() { BSTR s = m_str; m_str = nullptr; return s; }
    void Attach(BSTR s) { Empty(); m_str = s; }
    UINT Length() const { return ::SysStringLen(m_str); }
    BSTR* operator&() { return &m_str; }
    operator BSTR() const { return m_str; }

    BSTR m_str = nullptr;
};

// A VARIANT cleared on destruction.
class CComVariant : public tagVARIANT {
public:
    CComVariant() { ::VariantInit(this); }
    CComVariant(const VARIANT& v) { ::VariantInit(this); ::VariantCopy(this, const_cast<VARIANT*>(&v)); }
    CComVariant(const CComVariant& v) : CComVariant(static_cast<const VARIANT&>(v)) {}
    CComVariant(long l) { ::VariantInit(this); vt = VT_I4; lVal = l; }
    CComVariant(int i) { ::VariantInit(this); vt = VT_I4; lVal = i; }
    CComVariant(bool b) { ::VariantInit(this); vt = VT_BOOL; boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; }
    CComVariant(const wchar_t* s) { ::VariantInit(this); vt = VT_BSTR; bstrVal = ::SysAllocString(s); }
    ~CComVariant() { ::VariantClear(this); }
    CComVariant& operator=(const CComVariant& v) { if (this != std::addressof(v)) { ::VariantCopy(this, const_cast<CComVariant*>(&v)); } return *this; }
    HRESULT Clear() { return ::VariantClear(this); }
};

}  // namespace ATL

__CRT_UUID_DECL(ATL::IRegistrar, 0x44EC053B, 0x400F, 0x11D0, 0x9D, 0xCD, 0x00, 0xA0, 0xC9, 0x03, 0x91, 0xD3)

using namespace ATL;
