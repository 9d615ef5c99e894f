// The desktop program's application object: start-up, the application-wide commands, the
// bookkeeping of open frames and modeless dialogs, and shut-down.
#pragma once

#include "afxdisp.h"

#include <log4cpp/Category.hh>

#include <map>
#include <memory>
#include <set>

#include "startup/AppSettings.h"

class CResourceDll;
class CFrameBase;
class CMessengerDlg;

class CMessengerApp : public CWinApp {
public:
    enum class FrameKind { Send, Contacts, Groups };

    CMessengerApp();
    ~CMessengerApp() override;
    static CMessengerApp* Get();

    bool InitInstance() override;
    int ExitInstance() override;

    void AddFrame(HWND frame);
    void RemoveFrame(HWND frame);
    // Asks every open frame to close, in set order; false when one refused.
    bool CloseAllFrames();
    // True while CloseAllFrames runs (each frame has been asked already).
    bool IsClosingFrames() const { return m_closingFrames; }
    void CloseAllDialogs();
    void OnSplashScreen(bool atStartUp);
    // Opens a new send window with the recipients.
    void SendSMS(const char* recipients);
    // Posts a command to the main window; false (nothing posted) while there is none.
    bool PostCommand(UINT commandId);
    // The upgrade check at start-up; false ends start-up.
    bool CheckForUpgrade();

    const std::set<HWND>& GetFrames() const { return m_frames; }
    CAppSettings* GetSettings() const { return m_settings.get(); }
    bool IsEmbedded() const { return m_embedded; }
    HWND GetDialogWindow(UINT templateId) const;

    // The addresses of the service's web pages.
    static CString WebPageUrl(const char* pathFormat);
    static CString HomePageUrl();
    static CString DownloadPageUrl();
    static const char* const kMutexName;

protected:
    // Start-up steps, in order (InitInstance).
    bool InitialiseLibraries();
    // Registration switches; false ends start-up.
    bool RegisterAutomation(const CCommandLineInfo& info);
    bool LoadSatellite();
    // False when another copy runs (it has been asked to show itself).
    bool CheckSingleInstance();
    void SetUpToolkit();
    void SignInAtStartUp(bool& cancelled);
    bool CreateMainWindow();

    // Where the frames are made (not yet created); null for a kind not available.
    virtual CFrameBase* NewFrame(FrameKind kind);
    virtual HWND NewModelessDialog(UINT templateId, bool atStartUp);
    // The upgrade offer; true when the user chose to upgrade now.
    virtual bool OfferUpgrade();
    // Asks the running copy to show itself; false when it could not be reached.
    virtual bool ActivateRunningInstance();
    virtual const char* SatelliteBaseName() const { return "Velko"; }
    virtual CString WholeCommandLine() const;
    void OpenWebPage(const CString& url);
    // A new frame of the kind, created and shown; null when none was made.
    CFrameBase* OpenFrame(FrameKind kind);
    void ShowModeless(UINT templateId, bool atStartUp);
    CMessengerDlg* GetMainDlg() const;

    afx_msg void OnAppExit();
    afx_msg void OnHelpAbout();
    afx_msg void OnTarvockHome();
    afx_msg void OnSmsInbox();
    afx_msg void OnContacts();
    afx_msg void OnSentmessages();
    afx_msg void OnOptions();
    afx_msg void OnBuyCredits();
    afx_msg void OnSignInOut();
    afx_msg void OnSend();
    afx_msg void OnGroups();
    afx_msg void OnShowSplashScreen();
    afx_msg void OnPcOptions();
    afx_msg void OnUpdateSignedInCommand(CCmdUI* cmdUI);
    afx_msg void OnUpdateSignInOut(CCmdUI* cmdUI);

    log4cpp::Category& m_log;
    std::set<HWND> m_frames;
    std::map<UINT, HWND> m_dialogs;
    std::unique_ptr<CResourceDll> m_resources;
    std::unique_ptr<CAppSettings> m_settings;
    bool m_embedded = false;
    bool m_closingFrames = false;
    DWORD m_exitWaitMs = 2000;
    DECLARE_MESSAGE_MAP()
};
