// The About box: an HTML page that shows the program's file version.
#pragma once

#include "shared/DHtmlDialogBase.h"

class CAboutDlg : public CDHtmlDialogBase {
public:
    // 400 x 290 pixels, centred.
    explicit CAboutDlg(CWnd* parent = nullptr);

    // String 146 filled with the four parts of the module's file version.
    static CString VersionText(HMODULE module);
    const CString& GetVersionText() const { return m_version; }

    void DoDataExchange(CDataExchange* dx) override;

protected:
    CString m_version;
};
