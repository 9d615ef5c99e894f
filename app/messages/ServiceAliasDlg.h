// Asks for the name or number that sent messages come from (the originator).
#pragma once

#include "afxwin.h"

class CServiceAliasDlg : public CDialog {
public:
    CServiceAliasDlg(const char* originator, CWnd* parent);
    // After IDOK: the originator the user gave.
    const CString& GetOriginator() const { return m_originator; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Ends the dialog only for an originator the service accepts.
    void OnOK() override;

    CString m_originator;
};
