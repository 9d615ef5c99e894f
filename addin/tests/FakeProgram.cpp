#include "FakeProgram.h"

#include <oleauto.h>

class FakeProgram::Program : public IApplication, public ISupportErrorInfo {
public:
    explicit Program(FakeProgram& owner) : m_owner(owner) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IApplication) {
            *ppv = static_cast<IApplication*>(this);
            AddRef();
            return S_OK;
        }
        if (iid == IID_ISupportErrorInfo) {
            *ppv = static_cast<ISupportErrorInfo*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG refs = --m_refs;
        if (!refs) delete this;
        return refs;
    }
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override { return iid == IID_IApplication ? S_OK : S_FALSE; }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { *count = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    STDMETHODIMP Show(VARIANT_BOOL* r) override { return Command(L"Show", r); }
    STDMETHODIMP SendSMS(VARIANT_BOOL* r) override { return Command(L"SendSMS", r); }
    STDMETHODIMP Contacts(VARIANT_BOOL* r) override { return Command(L"Contacts", r); }
    STDMETHODIMP Groups(VARIANT_BOOL* r) override { return Command(L"Groups", r); }
    STDMETHODIMP Inbox(VARIANT_BOOL* r) override { return Command(L"Inbox", r); }
    STDMETHODIMP SentItems(VARIANT_BOOL* r) override { return Command(L"SentItems", r); }
    STDMETHODIMP BuyCredits(VARIANT_BOOL* r) override { return Command(L"BuyCredits", r); }
    STDMETHODIMP AccountOptions(VARIANT_BOOL* r) override { return Command(L"AccountOptions", r); }

private:
    virtual ~Program() = default;

    HRESULT Command(const wchar_t* name, VARIANT_BOOL* result) {
        if (!result) return E_POINTER;
        if (m_owner.disconnectedCalls > 0) {
            --m_owner.disconnectedCalls;
            m_owner.commands.push_back(std::wstring(name) + L" (disconnected)");
            return RPC_E_DISCONNECTED;
        }
        m_owner.commands.push_back(name);
        if (FAILED(m_owner.failure)) {
            if (!m_owner.failureText.empty()) {
                ICreateErrorInfo* create = nullptr;
                if (SUCCEEDED(::CreateErrorInfo(&create))) {
                    create->SetDescription(const_cast<LPOLESTR>(m_owner.failureText.c_str()));
                    IErrorInfo* info = nullptr;
                    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
                    ::SetErrorInfo(0, info);
                    if (info) info->Release();
                    create->Release();
                }
            }
            return m_owner.failure;
        }
        *result = m_owner.accepted;
        return S_OK;
    }

    FakeProgram& m_owner;
    ULONG m_refs = 0;
};

class FakeProgram::Factory final : public IClassFactory {
public:
    explicit Factory(FakeProgram& owner) : m_owner(owner) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override {
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (FAILED(m_owner.creationFailure)) return m_owner.creationFailure;
        ++m_owner.created;
        auto* program = new Program(m_owner);
        program->AddRef();
        const HRESULT hr = program->QueryInterface(iid, ppv);
        program->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    FakeProgram& m_owner;
};

FakeProgram::FakeProgram() {
    auto* factory = new Factory(*this);
    if (FAILED(::CoRegisterClassObject(CLSID_Application, factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                       &m_cookie)))
        m_cookie = 0;
    m_factory = factory;
}

FakeProgram::~FakeProgram() {
    if (m_cookie) ::CoRevokeClassObject(m_cookie);
    delete m_factory;
}
