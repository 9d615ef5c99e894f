#include "startup/SplashDlg.h"

#include "resource.h"
#include "shared/Helpers.h"
#include "signin/LoginState.h"

namespace {

const char kSection[] = "Options";
const char kHideSplashScreen[] = "HideSplashScreen";

// The page's command actions and the application's commands they run.
struct Action {
    const char* name;
    UINT command;
};
const Action kActions[] = {
    {"sendMessage", ID_SEND},          {"gotoInbox", ID_SMS_INBOX}, {"gotoSentItems", ID_SENT_MESSAGES},
    {"manageContacts", ID_CONTACTS},   {"manageGroups", ID_GROUPS},
};

}  // namespace

BEGIN_MESSAGE_MAP(CSplashDlg, CDHtmlDialogBase)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CSplashDlg::CSplashDlg(CWnd* parent) : CDHtmlDialogBase(IDR_HTML_START_PAGE, IDR_TRAY, CSize(500, 400), parent) {
    m_inboxLink.LoadString(IDS_INBOX_LINK);
    CWinApp* app = AfxGetApp();
    m_dontShow = app ? (int)app->GetProfileInt(kSection, kHideSplashScreen, 0) : 0;
}

void CSplashDlg::DoDataExchange(CDataExchange* dx) {
    CDHtmlDialogBase::DoDataExchange(dx);
    if (!dx->m_bSaveAndValidate) {
        CString name = CLoginState::Username();
        CString account = CLoginState::Account();
        DDX_DHtml_ElementInnerText(dx, "signInName", name);
        DDX_DHtml_ElementInnerText(dx, "accountRef", account);
        DDX_DHtml_ElementInnerText(dx, "inboxLink", m_inboxLink);
    }
    DDX_DHtml_CheckBox(dx, "dontShow", m_dontShow);
    if (dx->m_bSaveAndValidate) {
        if (CWinApp* app = AfxGetApp()) app->WriteProfileInt(kSection, kHideSplashScreen, m_dontShow);
    }
}

void CSplashDlg::OnClose() {
    UpdateData(true);
    CDHtmlDialogBase::OnClose();
}

void CSplashDlg::OnBeforeNavigate(LPDISPATCH disp, const char* url) {
    CString action = GetQueryParameter(url, "action");
    if (action.CompareNoCase("close") == 0) UpdateData(true);
    CDHtmlDialogBase::OnBeforeNavigate(disp, url);
    CWinApp* app = AfxGetApp();
    for (const Action& entry : kActions) {
        if (action.CompareNoCase(entry.name) == 0) {
            if (app) app->OnCmdMsg(entry.command, CN_COMMAND, nullptr);
            return;
        }
    }
}
