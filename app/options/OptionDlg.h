// The options dialog: the inbox poll interval, the time a desktop alert stays, and whether the
// start page shows at start-up. Modeless; OK saves the settings and closes.
#pragma once

#include "shared/ModelessDialog.h"
#include "shared/WindowBases.h"

class CAppSettings;

class COptionDlg : public CModelessDialog<CDialogBase> {
public:
    // Edits the given settings object, or the application's when none is given.
    explicit COptionDlg(CWnd* parent = nullptr, CAppSettings* settings = nullptr);

    // Creates the dialog without parent and shows it; from then on the object deletes itself
    // when its window is destroyed. On failure the object stays the caller's.
    bool CreateModeless();
    // Writes the settings to the profile section "Options" and restarts the main window's poll
    // timer.
    void SaveSettings();

    void DoDataExchange(CDataExchange* dx) override;
    // Reads and checks the values (1 to 60 each); when they pass, saves them and closes.
    void OnOK() override;

protected:
    CAppSettings* m_settings;
    // The values being edited; the settings object takes them only when OK passes the checks.
    int m_pollInterval = 10;
    int m_popupInterval = 5;
    int m_hideSplashScreen = 0;
};
