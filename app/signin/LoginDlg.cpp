#include "signin/LoginDlg.h"

#include "resource.h"
#include "shared/Helpers.h"
#include "signin/LoginState.h"
#include "startup/MessengerApp.h"

#include <log4cpp/Category.hh>
#include <shellapi.h>

BEGIN_DHTML_EVENT_MAP(CLoginDlg)
    DHTML_EVENT_ONCLICK("signInButton", OnSignIn)
    DHTML_EVENT_ONCLICK("ButtonCancel", OnCancelButton)
END_DHTML_EVENT_MAP()

CLoginDlg::CLoginDlg(CWnd* parent) : CDHtmlDialogBase(IDR_HTML_SIGN_IN, IDR_TRAY, CSize(400, 350), parent) {}

CString CLoginDlg::RegistrationPageUrl() {
    return CMessengerApp::WebPageUrl("%s/secure/registration/evaluation.aspx?src=Velko");
}

bool CLoginDlg::OnInitDialog() {
    m_username = CLoginState::Username();
    m_password = CLoginState::Password();
    m_account = CLoginState::Account();
    CDHtmlDialogBase::OnInitDialog();
    return true;
}

void CLoginDlg::DoDataExchange(CDataExchange* dx) {
    CDHtmlDialogBase::DoDataExchange(dx);
    DDX_DHtml_ElementValue(dx, "usernameBox", m_username);
    DDX_DHtml_ElementValue(dx, "passwordBox", m_password);
    DDX_DHtml_ElementValue(dx, "accountBox", m_account);
}

HRESULT CLoginDlg::OnSignIn(const CDHtmlNode*) {
    if (!UpdateData(true)) return S_FALSE;
    if (!CLoginState::SignIn(m_username, m_password, m_account)) return S_FALSE;
    if (m_bModeless) {
        DestroyWindow();
    } else {
        EndDialog(IDOK);
    }
    return S_OK;
}

HRESULT CLoginDlg::OnCancelButton(const CDHtmlNode*) {
    OnCancel();
    return S_OK;
}

void CLoginDlg::OnBeforeNavigate(LPDISPATCH disp, const char* url) {
    CDHtmlDialogBase::OnBeforeNavigate(disp, url);
    if (GetQueryParameter(url, "action").CompareNoCase("signUp") != 0) return;
    CString page = RegistrationPageUrl();
    HINSTANCE result = ::ShellExecuteA(nullptr, "open", page, nullptr, nullptr, SW_SHOWNORMAL);
    if ((INT_PTR)result <= 32)
        log4cpp::Category::getInstance("CLoginDlg").error("The web page %s could not be opened.", (const char*)page);
}
