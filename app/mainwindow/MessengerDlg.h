// The program's hidden main window: it owns the notification-area icon with its menu, polls the
// web service's inbox on a timer, announces new messages in a desktop alert, and receives the
// commands of the tray menu and the automation object, which it routes to the application.
// Destroying it ends the program. UI thread only.
#pragma once

#include "afxwin.h"
#include "alerts/TkDesktopAlert.h"
#include "alerts/TkNotifyIconWnd.h"

#include <atlbase.h>
#include <memory>

#include "TarvockLib.h"

// The notification-area icon of the main window: one left click opens the menu once the
// double-click time has passed without a second click; a double click runs the default command.
class CTrayNotifyWnd : public CTkNotifyIconWnd {
public:
    static const UINT kClickTimer = 1001;

    // Loads the menu, marks the default item and tracks it at the cursor; the chosen command
    // goes to the notification window.
    void ShowMenu();
    bool IsMenuShowing() const { return m_menu != nullptr; }
    bool IsClickPending() const { return m_bClickPending; }
    UINT GetDefaultItem() const { return m_nDefaultItem; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void EndShowingMenu();

    HMENU m_menu = nullptr;
    bool m_bClickPending = false;
};

class CMessengerDlg : public CFrameWnd {
    DECLARE_DYNAMIC(CMessengerDlg)
public:
    static const UINT kPollTimer = 1000;
    // The ids of the desktop alert's items: a click on the message's title or body opens the
    // message; any other click only closes the alert.
    enum AlertItem : UINT { kAlertItemInert = 0, kAlertItemClose = 1, kAlertItemMessage = 2 };
    // The profile section (the account reference in place of %s) and its value.
    static const char* const kAccountSectionFormat;  // "Accounts\%s"
    static const char* const kLastMessageIdValue;    // "LastMessageId"

    CMessengerDlg() = default;
    ~CMessengerDlg() override;

    // A WS_POPUP window with no caption and an empty rectangle.
    bool CreateHidden(CWnd* parent);
    bool DestroyWindow() override;
    // Rebuilds the notification icon for the signed-in state.
    bool UpdateTrayIcon();
    // Sets the poll timer again with the current poll interval.
    void RestartPollTimer();
    // The quick name of the cached contact with exactly this mobile number; else the number.
    CString GetContactNameForNumber(const wchar_t* number);
    // The poll timer's handler (WM_TIMER).
    void PollInbox(UINT_PTR timerId);

    // What the window holds (for its tests).
    CTrayNotifyWnd* GetTrayIcon() const { return m_pTray.get(); }
    bool HasTrayIcon() const { return m_bTrayCreated; }
    const CString& GetBaseTip() const { return m_strBaseTip; }
    CTkDesktopAlertWnd& GetAlert() { return m_alert; }
    CTkPopupItem* GetTitleItem() const { return m_pTitleItem; }
    CTkPopupItem* GetBodyItem() const { return m_pBodyItem; }
    ISMSMessage2* GetKeptMessage() const { return m_pKeptMessage; }
    IInboxService2* GetInboxService() const { return m_pInbox; }
    bool IsPolling() const { return m_bBusy; }

    // The poll interval in milliseconds (the options' minutes).
    static UINT PollIntervalMs();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT create);
    afx_msg LRESULT OnPopupClick(WPARAM code, LPARAM item);
    afx_msg LRESULT OnTrayNotify(WPARAM, LPARAM) { return 0; }  // the icon window handles it

    void CreatePopup();
    // Takes the notification icon out of the notification area and destroys its window.
    void RemoveTrayIcon();
    // One poll of the inbox; COM errors are thrown to the caller.
    virtual void PollInboxCore();

    CString m_strBaseTip;
    std::unique_ptr<CTrayNotifyWnd> m_pTray;
    bool m_bTrayCreated = false;
    CTkDesktopAlertWnd m_alert;
    CTkPopupItem* m_pTitleItem = nullptr;
    CTkPopupItem* m_pBodyItem = nullptr;
    CComPtr<IInboxService2> m_pInbox;
    bool m_bBusy = false;
    CComPtr<ISMSMessage2> m_pKeptMessage;
    DECLARE_MESSAGE_MAP()
};
