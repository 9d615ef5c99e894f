#include "options/OptionDlg.h"

#include "mainwindow/MessengerDlg.h"
#include "resource.h"
#include "startup/AppSettings.h"
#include "startup/MessengerApp.h"

COptionDlg::COptionDlg(CWnd* parent, CAppSettings* settings)
    : CModelessDialog(IDD_OPTIONS, parent, IDR_TRAY),
      m_settings(settings ? settings : (CMessengerApp::Get() ? CMessengerApp::Get()->GetSettings() : nullptr)) {
    if (m_settings) {
        m_pollInterval = m_settings->PollInterval;
        m_popupInterval = m_settings->PopupInterval;
        m_hideSplashScreen = m_settings->HideSplashScreen;
    }
}

bool COptionDlg::CreateModeless() {
    if (!m_settings) return false;
    return CreateModelessWindow(IDD_OPTIONS, nullptr);
}

void COptionDlg::DoDataExchange(CDataExchange* dx) {
    CDialogBase::DoDataExchange(dx);
    DDX_Text(dx, IDC_POLL_INTERVAL, m_pollInterval);
    DDV_MinMaxInt(dx, m_pollInterval, 1, 60);
    DDX_Text(dx, IDC_POPUP_INTERVAL, m_popupInterval);
    DDV_MinMaxInt(dx, m_popupInterval, 1, 60);
    DDX_Check(dx, IDC_HIDE_START_PAGE, m_hideSplashScreen);
}

void COptionDlg::OnOK() {
    if (!m_settings || !UpdateData(true)) return;
    m_settings->PollInterval = m_pollInterval;
    m_settings->PopupInterval = m_popupInterval;
    m_settings->HideSplashScreen = m_hideSplashScreen;
    SaveSettings();
    if (m_bModeless) {
        DestroyWindow();
    } else {
        EndDialog(IDOK);
    }
}

void COptionDlg::SaveSettings() {
    if (!m_settings) return;
    m_settings->Save();
    CWnd* main = AfxGetMainWnd();
    if (main && main->IsKindOf(RUNTIME_CLASS(CMessengerDlg))) static_cast<CMessengerDlg*>(main)->RestartPollTimer();
}
