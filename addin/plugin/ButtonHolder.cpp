#include "ButtonHolder.h"

#include <cwchar>

#include "OfficeCalls.h"
#include "comsupp.h"
#include "PluginUi.h"

ATL::_ATL_FUNC_INFO ClickInfo = {CC_STDCALL, VT_EMPTY, 2, {VT_DISPATCH, VT_BOOL}};

namespace {

// The program behind the reference has ended or dropped the object, and the call did not run.
// (A call that failed on the way back may have run: it is not repeated.)
bool IsDisconnected(HRESULT hr) {
    switch (hr) {
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case CO_E_OBJNOTCONNECTED:
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE):
        return true;
    default:
        return false;
    }
}

}  // namespace

void CButtonHolder::FinalRelease() {
    if (IsAdvised()) DispEventUnadvise(m_button);
    m_button.Release();
    m_application.Release();
}

STDMETHODIMP CButtonHolder::Load(IUnknown* pCmdButton) {
    if (!pCmdButton) return E_POINTER;
    if (IsAdvised()) DispEventUnadvise(m_button);
    m_button = pCmdButton;
    DispEventAdvise(pCmdButton);  // a button without events is kept all the same
    return S_OK;
}

CButtonHolder::Command CButtonHolder::CommandFor(long parameter) {
    switch (parameter) {
    case 1: return &IApplication::Show;
    case 2: return &IApplication::SendSMS;
    case 3: return &IApplication::Contacts;
    case 4: return &IApplication::Groups;
    case 5: return &IApplication::Inbox;
    case 6: return &IApplication::SentItems;
    case 7: return &IApplication::AccountOptions;
    case 8: return &IApplication::BuyCredits;
    default: return nullptr;
    }
}

void __stdcall CButtonHolder::OnClick(IDispatch* control, VARIANT_BOOL) {
    CComVariant parameter;
    try {
        parameter = office::Get(control, L"Parameter");
    } catch (const _com_error&) {
        return;  // a click whose parameter cannot be read does nothing
    }
    if (FAILED(::VariantChangeType(&parameter, &parameter, 0, VT_BSTR)) || !parameter.bstrVal) return;
    if (Command command = CommandFor(_wtol(parameter.bstrVal))) Run(command);
}

void CButtonHolder::Run(Command command) {
    try {
        VARIANT_BOOL accepted = VARIANT_FALSE;
        const HRESULT hr = Call(command, &accepted);
        if (FAILED(hr)) comsupp::ThrowComError(hr, m_application, IID_IApplication);
        if (!accepted) ShowCommandFailed();
    } catch (const _com_error& error) {
        ReportAddinComError(error);
    }
}

HRESULT CButtonHolder::Call(Command command, VARIANT_BOOL* accepted) {
    for (int attempt = 0;; ++attempt) {
        if (!m_application) ConnectToProgram();
        *accepted = VARIANT_FALSE;
        const HRESULT hr = (m_application->*command)(accepted);
        if (!IsDisconnected(hr)) return hr;
        m_application.Release();  // the next click starts the program again
        if (attempt > 0) return hr;
    }
}

void CButtonHolder::ConnectToProgram() {
    CComPtr<IUnknown> program;
    const HRESULT hr = program.CoCreateInstance(CLSID_Application, nullptr, CLSCTX_ALL);
    if (FAILED(hr)) comsupp::ThrowComError(hr);
    ::OleRun(program);  // starts the program through COM when it is not running
    program.QueryInterface(&m_application);
    if (!m_application) office::Raise(E_POINTER);
}
