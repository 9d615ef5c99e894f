// The program's hidden main window: it receives the commands of the tray menu and the
// automation object and routes them to the application; destroying it ends the program.
// (The notification icon, the inbox poll and the alerts join later.)
#pragma once

#include "afxwin.h"

class CMessengerDlg : public CFrameWnd {
    DECLARE_DYNAMIC(CMessengerDlg)
public:
    // A WS_POPUP window with no caption and an empty rectangle.
    bool CreateHidden(CWnd* parent);
    // Rebuilds the notification icon for the signed-in state.
    bool UpdateTrayIcon() { return true; }
    void RestartPollTimer() {}
};
