// The sign-in dialog: an HTML page with the user name, password and account reference boxes,
// a sign-in and a cancel button, and a link to the service's registration page.
#pragma once

#include "shared/DHtmlDialogBase.h"

class CLoginDlg : public CDHtmlDialogBase {
public:
    // 400 x 350 pixels, centred.
    explicit CLoginDlg(CWnd* parent = nullptr);

    // The registration page that the page's "signUp" link opens.
    static CString RegistrationPageUrl();

    // Takes the current credentials into the boxes.
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // action=signUp (any case) opens the registration page in the user's browser.
    void OnBeforeNavigate(LPDISPATCH disp, const char* url) override;

    CString m_username;
    CString m_password;
    CString m_account;

protected:
    // Signs in with the boxes' values: closes with IDOK on success, else stays open (the
    // failure has been shown).
    HRESULT OnSignIn(const CDHtmlNode* element);
    HRESULT OnCancelButton(const CDHtmlNode* element);
    DECLARE_DHTML_EVENT_MAP()
};
