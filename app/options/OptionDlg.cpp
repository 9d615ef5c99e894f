#include "options/OptionDlg.h"

#include "mainwindow/MessengerDlg.h"
#include "resource.h"
#include "startup/AppSettings.h"
#include "startup/MessengerApp.h"

COptionDlg::COptionDlg(CWnd* parent, CAppSettings* settings)
    : CDialogBase(IDD_OPTIONS, parent, IDR_TRAY),
      m_settings(settings ? settings : (CMessengerApp::Get() ? CMessengerApp::Get()->GetSettings() : nullptr)) {
    if (m_settings) {
        m_pollInterval = m_settings->PollInterval;
        m_popupInterval = m_settings->PopupInterval;
        m_hideSplashScreen = m_settings->HideSplashScreen;
    }
}

bool COptionDlg::CreateModeless() {
    if (!m_settings) return false;
    m_bModeless = true;
    if (!Create(IDD_OPTIONS, nullptr)) {
        m_bModeless = false;
        return false;
    }
    m_bAutoDelete = true;
    ShowWindow(SW_SHOW);
    return true;
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

void COptionDlg::OnCancel() {
    if (m_bModeless) {
        DestroyWindow();
    } else {
        CDialogBase::OnCancel();
    }
}

void COptionDlg::SaveSettings() {
    if (!m_settings) return;
    m_settings->Save();
    CWnd* main = AfxGetMainWnd();
    if (main && main->IsKindOf(RUNTIME_CLASS(CMessengerDlg))) static_cast<CMessengerDlg*>(main)->RestartPollTimer();
}

void COptionDlg::PostNcDestroy() {
    if (m_bAutoDelete) delete this;
}
