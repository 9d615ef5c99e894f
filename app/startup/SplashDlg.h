// The start page: who is signed in, links to the program's main commands, and a check box that
// keeps the page from showing at start-up.
#pragma once

#include "shared/DHtmlDialogBase.h"

class CSplashDlg : public CDHtmlDialogBase {
public:
    // 500 x 400 pixels, centred.
    explicit CSplashDlg(CWnd* parent = nullptr);

    // Whether the profile says not to show the page at start-up.
    bool HidesAtStartUp() const { return m_dontShow != 0; }

    // Loading shows the signed-in user, the account and the inbox link; saving stores the
    // check box as "HideSplashScreen".
    void DoDataExchange(CDataExchange* dx) override;
    // action=close stores the check box and closes the page; the command actions run their
    // command and leave the page open.
    void OnBeforeNavigate(LPDISPATCH disp, const char* url) override;

protected:
    afx_msg void OnClose();

    int m_dontShow;
    CString m_inboxLink;
    DECLARE_MESSAGE_MAP()
};
