#include "startup/Application.h"

#include "resource.h"
#include "signin/LoginState.h"

#include <atlbase.h>

#include <cstddef>

namespace {

const GUID kLibId = {0xCB43E667, 0xFD7C, 0x450A, {0xBE, 0x84, 0xF5, 0x44, 0x20, 0x84, 0xD0, 0xB6}};

class CApplicationFactory : public COleObjectFactory {
public:
    CApplicationFactory()
        : COleObjectFactory(CLSID_Application, RUNTIME_CLASS(CApplication), true, CApplication::kProgId) {
        SetTypeLib(kLibId);
    }
};

}  // namespace

const char* const CApplication::kProgId = "TarvockBrindlepost.Application";
bool CApplication::s_signingIn = false;

IMPLEMENT_DYNCREATE(CApplication, CCmdTarget)

BEGIN_INTERFACE_MAP(CApplication, CCmdTarget)
    INTERFACE_PART(CApplication, IID_IApplication, Application)
    INTERFACE_PART(CApplication, IID_IDispatch, Application)
END_INTERFACE_MAP()

COleObjectFactory& CApplication::Factory() {
    static CApplicationFactory factory;
    return factory;
}

CApplication::CApplication() {
    EnableAutomation();
    AfxOleLockApp();
}

CApplication::~CApplication() {
    AfxOleUnlockApp();
}

HRESULT CApplication::RunCommand(UINT commandId, VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = VARIANT_FALSE;
    CWnd* main = AfxGetMainWnd();
    if (!main || !::IsWindow(main->m_hWnd)) return S_FALSE;
    if (!CLoginState::IsSignedIn()) {
        // The sign-in dialog is modal inside this call; other clients' calls arrive meanwhile
        // and must not open a second one.
        if (s_signingIn) return S_FALSE;
        s_signingIn = true;
        ::SendMessageW(main->m_hWnd, WM_COMMAND, ID_SIGN_IN_OUT, 0);
        s_signingIn = false;
        if (!CLoginState::IsSignedIn()) return S_FALSE;
        main = AfxGetMainWnd();
        if (!main || !::IsWindow(main->m_hWnd)) return S_FALSE;
    }
    if (!::PostMessageW(main->m_hWnd, WM_COMMAND, commandId, 0)) return S_FALSE;
    *result = VARIANT_TRUE;
    return S_FALSE;
}

ITypeInfo* CApplication::TypeInfo() {
    static ITypeInfo* info = nullptr;  // kept for the life of the process
    if (info) return info;
    CComPtr<ITypeLib> library;
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(AfxGetInstanceHandle(), path, MAX_PATH);
    if (FAILED(::LoadTypeLibEx(path, REGKIND_NONE, &library)) || !library) {
        library.Release();
        if (FAILED(::LoadRegTypeLib(kLibId, 1, 0, LOCALE_NEUTRAL, &library))) return nullptr;
    }
    if (FAILED(library->GetTypeInfoOfGuid(IID_IApplication, &info))) info = nullptr;
    return info;
}

IMPLEMENT_NESTED_IUNKNOWN(CApplication, Application)

STDMETHODIMP CApplication::XApplication::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = TypeInfo() ? 1 : 0;
    return S_OK;
}

STDMETHODIMP CApplication::XApplication::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    CComPtr<ITypeInfo> own = TypeInfo();
    if (!own) return E_FAIL;
    *info = own.Detach();  // the caller's reference
    return S_OK;
}

STDMETHODIMP CApplication::XApplication::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                                       DISPID* ids) {
    if (!::IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* own = TypeInfo();
    if (!own) return E_FAIL;
    return ::DispGetIDsOfNames(own, names, count, ids);
}

STDMETHODIMP CApplication::XApplication::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                                VARIANT* result, EXCEPINFO* exception, UINT* argError) {
    if (!::IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* own = TypeInfo();
    if (!own) return E_FAIL;
    HRESULT hr = ::DispInvoke(static_cast<IApplication*>(this), own, id, flags, params, result, exception, argError);
    // The methods' own S_FALSE is a success; the caller reads the returned value.
    return hr == S_FALSE ? S_OK : hr;
}

STDMETHODIMP CApplication::XApplication::Show(VARIANT_BOOL* pResult) {
    return RunCommand(ID_SHOW_START_PAGE, pResult);
}

STDMETHODIMP CApplication::XApplication::SendSMS(VARIANT_BOOL* pResult) {
    return RunCommand(ID_SEND, pResult);
}

STDMETHODIMP CApplication::XApplication::Contacts(VARIANT_BOOL* pResult) {
    return RunCommand(ID_CONTACTS, pResult);
}

STDMETHODIMP CApplication::XApplication::Groups(VARIANT_BOOL* pResult) {
    return RunCommand(ID_GROUPS, pResult);
}

STDMETHODIMP CApplication::XApplication::Inbox(VARIANT_BOOL* pResult) {
    return RunCommand(ID_SMS_INBOX, pResult);
}

STDMETHODIMP CApplication::XApplication::SentItems(VARIANT_BOOL* pResult) {
    return RunCommand(ID_SENT_MESSAGES, pResult);
}

STDMETHODIMP CApplication::XApplication::BuyCredits(VARIANT_BOOL* pResult) {
    return RunCommand(ID_BUY_CREDITS_SIGNED_IN, pResult);
}

STDMETHODIMP CApplication::XApplication::AccountOptions(VARIANT_BOOL* pResult) {
    return RunCommand(ID_ACCOUNT_OPTIONS, pResult);
}
