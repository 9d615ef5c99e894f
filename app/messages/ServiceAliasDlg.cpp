#include "messages/ServiceAliasDlg.h"

#include "resource.h"
#include "shared/Helpers.h"

CServiceAliasDlg::CServiceAliasDlg(const char* originator, CWnd* parent)
    : CDialog(IDD_SERVICE_ALIAS, parent), m_originator(originator) {}

void CServiceAliasDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_SERVICE_ALIAS, m_originator);
}

void CServiceAliasDlg::OnOK() {
    if (!UpdateData(true)) return;
    if (!ValidateOriginator(m_originator)) return;  // the check has told the user; the dialog stays
    EndDialog(IDOK);
}
