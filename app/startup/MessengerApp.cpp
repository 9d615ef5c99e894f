#include "startup/MessengerApp.h"

#include "contacts/ManageContactsFrames.h"

#include "mainwindow/MessengerDlg.h"
#include "messages/SendMessageFrame.h"
#include "ModuleLogging.h"
#include "options/AboutDlg.h"
#include "options/OptionDlg.h"
#include "options/UpgradeDlg.h"
#include "resource.h"
#include "ResourceDll.h"
#include "shared/Helpers.h"
#include "shared/ModuleVersionInfo.h"
#include "shared/WindowBases.h"
#include "signin/LoginState.h"
#include "startup/Application.h"
#include "startup/SplashDlg.h"

#include "TarvockBrindlepost.h"
#include "TarvockLib.h"

#include "afxcmn.h"
#include "images/TkIconStore.h"
#include "painters/TkThemePainter.h"

#include <comsupp.h>
#include <shellapi.h>

#include <vector>

namespace {

const char kClassName[] = "CMessengerApp";

const GUID kLibId = {0xCB43E667, 0xFD7C, 0x450A, {0xBE, 0x84, 0xF5, 0x44, 0x20, 0x84, 0xD0, 0xB6}};

}  // namespace

const char* const CMessengerApp::kMutexName = "TarvockBrindlepostMutex";

BEGIN_MESSAGE_MAP(CMessengerApp, CWinApp)
    ON_COMMAND(ID_APP_EXIT_COMMAND, OnAppExit)
    ON_COMMAND(ID_HELP_ABOUT, OnHelpAbout)
    ON_COMMAND(ID_TARVOCK_HOME, OnTarvockHome)
    ON_COMMAND(ID_SMS_INBOX, OnSmsInbox)
    ON_COMMAND(ID_CONTACTS, OnContacts)
    ON_COMMAND(ID_SENT_MESSAGES, OnSentmessages)
    ON_COMMAND(ID_ACCOUNT_OPTIONS, OnOptions)
    ON_COMMAND(ID_BUY_CREDITS, OnBuyCredits)
    ON_COMMAND(ID_BUY_CREDITS_SIGNED_IN, OnBuyCredits)
    ON_COMMAND(ID_SIGN_IN_OUT, OnSignInOut)
    ON_COMMAND(ID_SEND, OnSend)
    ON_COMMAND(ID_GROUPS, OnGroups)
    ON_COMMAND(ID_SHOW_START_PAGE, OnShowSplashScreen)
    ON_COMMAND(ID_PC_OPTIONS, OnPcOptions)
    ON_UPDATE_COMMAND_UI(ID_SMS_INBOX, OnUpdateSignedInCommand)
    ON_UPDATE_COMMAND_UI(ID_CONTACTS, OnUpdateSignedInCommand)
    ON_UPDATE_COMMAND_UI(ID_SENT_MESSAGES, OnUpdateSignedInCommand)
    ON_UPDATE_COMMAND_UI(ID_ACCOUNT_OPTIONS, OnUpdateSignedInCommand)
    ON_UPDATE_COMMAND_UI(ID_BUY_CREDITS_SIGNED_IN, OnUpdateSignedInCommand)
    ON_UPDATE_COMMAND_UI(ID_SEND, OnUpdateSignedInCommand)
    ON_UPDATE_COMMAND_UI(ID_GROUPS, OnUpdateSignedInCommand)
    ON_UPDATE_COMMAND_UI(ID_SHOW_START_PAGE, OnUpdateSignedInCommand)
    ON_UPDATE_COMMAND_UI(ID_PC_OPTIONS, OnUpdateSignedInCommand)
    ON_UPDATE_COMMAND_UI(ID_SIGN_IN_OUT, OnUpdateSignInOut)
END_MESSAGE_MAP()

CMessengerApp::CMessengerApp() : m_log(log4cpp::Category::getInstance(kClassName)) {}

CMessengerApp::~CMessengerApp() {
    m_dialogs.clear();
    m_frames.clear();
    m_settings.reset();
    if (AfxGetResourceHandle() == (HINSTANCE)(m_resources ? m_resources->GetLoadedLibrary() : nullptr))
        AfxSetResourceHandle(nullptr);
    m_resources.reset();
}

CMessengerApp* CMessengerApp::Get() {
    CWinApp* app = AfxGetApp();
    return app && app->IsKindOf(RUNTIME_CLASS(CWinApp)) ? dynamic_cast<CMessengerApp*>(app) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Start-up.

bool CMessengerApp::InitInstance() {
    ConfigureModuleLogging();
    m_log.debug("Entering %s::%s", kClassName, "InitInstance");
    if (!InitialiseLibraries()) return false;

    CCommandLineInfo info;
    ParseCommandLine(info);
    m_embedded = info.m_bRunEmbedded || info.m_bRunAutomated;
    if (m_embedded) AfxOleSetUserCtrl(false);
    if (!RegisterAutomation(info)) return false;
    if (!LoadSatellite()) return false;
    m_settings.reset(new CAppSettings(*this));
    if (!CheckSingleInstance()) return false;
    // Only the copy that runs serves automation: a second start must reach the first copy.
    COleObjectFactory::RegisterAll();
    SetUpToolkit();
    if (!CheckForUpgrade()) return false;

    bool cancelled = false;
    SignInAtStartUp(cancelled);
    if (CLoginState::IsSignedIn() && WholeCommandLine().Find("/StartupGroup") < 0 && !m_embedded && !cancelled)
        OnSplashScreen(true);
    return CreateMainWindow();
}

bool CMessengerApp::InitialiseLibraries() {
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    AfxInitRichEdit2();
    if (!AfxOleInit()) {
        m_log.error("OLE could not be initialised.");
        return false;
    }
    if (!CWinApp::InitInstance()) return false;
    AfxEnableControlContainer();
    SetRegistryKey("Tarvock");
    return true;
}

bool CMessengerApp::RegisterAutomation(const CCommandLineInfo& info) {
    if (info.m_nShellCommand == CCommandLineInfo::AppUnregister) {
        AfxOleUnregisterTypeLib(kLibId);
        return false;
    }
    CApplication::Factory();  // the Application class's factory joins the factory list
    COleObjectFactory::UpdateRegistryAll();
    if (!AfxOleRegisterTypeLib(AfxGetInstanceHandle(), kLibId)) m_log.warn("The type library was not registered.");
    return info.m_nShellCommand != CCommandLineInfo::AppRegister;
}

bool CMessengerApp::LoadSatellite() {
    if (!LoadModuleSatellite(m_resources, SatelliteBaseName(), AfxGetInstanceHandle(), WholeCommandLine(),
                             AfxSetResourceHandle)) {
        AfxMessageBox("Tarvock Velko: No resource DLL found.", MB_ICONSTOP);
        return false;
    }
    return true;
}

bool CMessengerApp::CheckSingleInstance() {
    // The handle is kept for the life of the process. A wait that finds the mutex abandoned
    // (the previous copy ended without releasing it) gives this copy the ownership.
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, kMutexName);
    if (!mutex) return true;
    DWORD wait = ::WaitForSingleObject(mutex, 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return true;
    m_log.warn("Velko is already running. Activating running instance.");
    if (!ActivateRunningInstance()) AfxMessageBox(IDS_ALREADY_RUNNING, MB_ICONEXCLAMATION);
    return false;
}

bool CMessengerApp::ActivateRunningInstance() {
    CComPtr<IApplication> running;
    HRESULT hr = running.CoCreateInstance(CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER);
    if (FAILED(hr) || !running) return false;
    VARIANT_BOOL shown = VARIANT_FALSE;
    hr = running->Show(&shown);
    return SUCCEEDED(hr) && shown != VARIANT_FALSE;
}

void CMessengerApp::SetUpToolkit() {
    CTkThemePainter::SelectTheme(2);
    CTkIconStore& icons = CTkIconStore::Global();
    icons.SetTransparentColor(RGB(255, 0, 255));
    // Every window's toolbar pictures, the groups window's included, and the tray menu's.
    for (UINT toolbar : {IDR_TRAY, IDR_SEND_WINDOW, IDR_READ_WINDOW, IDR_CONTACTS_WINDOW, IDR_GROUPS_WINDOW})
        if (!icons.LoadToolbarIcons(toolbar, toolbar)) m_log.warn("The pictures of toolbar %u could not be loaded.", toolbar);
}

bool CMessengerApp::CheckForUpgrade() {
    CModuleVersionInfo version;
    version.Create(AfxGetInstanceHandle());
    CString own = version.GetFileVersionString();

    CComPtr<IMessengerService> service = CreateSdkObject<IMessengerService>(CLSID_MessengerService, "MessengerService");
    if (!service) return false;

    try {
        CString current = ReadText(service.p, &IMessengerService::GetCurrentVersion);
        if (CompareVersionTexts(current, own) > 0 && OfferUpgrade()) {
            OpenWebPage(DownloadPageUrl());
            return false;
        }
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_VERSION_CHECK_FAILED, error, false);
    }
    return true;
}

bool CMessengerApp::OfferUpgrade() {
    CUpgradeDlg offer(nullptr);
    offer.ShowIfDue();
    return offer.IsUpgradeNowSelected();
}

void CMessengerApp::SignInAtStartUp(bool& cancelled) {
    cancelled = false;
    if (CLoginState::AutoSignIn() || m_embedded) return;
    cancelled = CLoginState::RunSignInDialog() == IDCANCEL;
}

bool CMessengerApp::CreateMainWindow() {
    CMessengerDlg* main = new CMessengerDlg;
    if (!main->CreateHidden(CWnd::FromHandle(::GetDesktopWindow()))) {
        delete main;
        return false;
    }
    m_pMainWnd = main;
    return true;
}

CString CMessengerApp::WholeCommandLine() const {
    return CString(::GetCommandLineA());
}

// ---------------------------------------------------------------------------------------------
// Shut-down.

int CMessengerApp::ExitInstance() {
    m_log.debug("Entering %s::%s", kClassName, "ExitInstance");
    CLoginState::ReleaseCachedCollections();
    ::CoUninitialize();
    ::Sleep(m_exitWaitMs);
    ::CoInitialize(nullptr);  // the class library's own OLE shut-down follows
    return CWinApp::ExitInstance();
}

void CMessengerApp::OnAppExit() {
    m_log.debug("Entering %s::%s", kClassName, "OnAppExit");
    if (!AfxOleCanExitApp()) {
        AfxMessageBox(IDS_CANNOT_EXIT, MB_ICONINFORMATION);
        return;
    }
    if (!CloseAllFrames()) return;
    CloseAllDialogs();
    if (m_pMainWnd) m_pMainWnd->DestroyWindow();
}

void CMessengerApp::AddFrame(HWND frame) {
    m_log.debug("Entering %s::%s", kClassName, "AddFrame");
    m_frames.insert(frame);
}

void CMessengerApp::RemoveFrame(HWND frame) {
    m_log.debug("Entering %s::%s", kClassName, "RemoveFrame");
    if (m_closingFrames) return;
    m_frames.erase(frame);
}

bool CMessengerApp::CloseAllFrames() {
    // The set is not changed while it is walked; the frames closed here leave it afterwards,
    // so a handle value the system gives to a later window never stands for a closed frame.
    m_closingFrames = true;
    std::vector<HWND> closed;
    bool allClosed = true;
    for (HWND handle : m_frames) {
        CWnd* wnd = CWnd::FromHandlePermanent(handle);
        if (!wnd || !wnd->IsKindOf(RUNTIME_CLASS(CFrameBase))) {
            closed.push_back(handle);  // gone already
            continue;
        }
        if (!static_cast<CFrameBase*>(wnd)->CanClose()) {
            allClosed = false;
            break;
        }
        ::SendMessageW(handle, WM_CLOSE, 0, 0);
        if (!::IsWindow(handle) || CWnd::FromHandlePermanent(handle) != wnd) closed.push_back(handle);
    }
    m_closingFrames = false;
    for (HWND handle : closed) m_frames.erase(handle);
    return allClosed;
}

void CMessengerApp::CloseAllDialogs() {
    for (const auto& entry : m_dialogs)
        if (::IsWindow(entry.second)) ::SendMessageW(entry.second, WM_CLOSE, 0, 0);
}

HWND CMessengerApp::GetDialogWindow(UINT templateId) const {
    auto it = m_dialogs.find(templateId);
    return it != m_dialogs.end() && ::IsWindow(it->second) ? it->second : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Commands.

CString CMessengerApp::WebPageUrl(const char* pathFormat) {
    CString base(TARVOCK_WEB_BASE);
    if (!base.IsEmpty() && base[base.GetLength() - 1] == '/') base = base.Left(base.GetLength() - 1);
    CString url;
    url.Format(pathFormat, (const char*)base, (const char*)CLoginState::AccountId());
    return url;
}

CString CMessengerApp::HomePageUrl() {
    return CString(TARVOCK_SITE_BASE);
}

CString CMessengerApp::DownloadPageUrl() {
    CString site(TARVOCK_SITE_BASE);
    if (!site.IsEmpty() && site[site.GetLength() - 1] == '/') site = site.Left(site.GetLength() - 1);
    return site + "/download/TarvockBrindlepostSetup.exe";
}

void CMessengerApp::OpenWebPage(const CString& url) {
    HINSTANCE result = ::ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
    if ((INT_PTR)result <= 32) m_log.error("The web page %s could not be opened.", (const char*)url);
}

bool CMessengerApp::PostCommand(UINT commandId) {
    if (!m_pMainWnd || !::IsWindow(m_pMainWnd->m_hWnd)) return false;
    return m_pMainWnd->PostMessage(WM_COMMAND, commandId);
}

CMessengerDlg* CMessengerApp::GetMainDlg() const {
    return m_pMainWnd && m_pMainWnd->IsKindOf(RUNTIME_CLASS(CMessengerDlg)) ? static_cast<CMessengerDlg*>(m_pMainWnd)
                                                                           : nullptr;
}

CFrameBase* CMessengerApp::NewFrame(FrameKind kind) {
    switch (kind) {
    case FrameKind::Send:
        return static_cast<CFrameBase*>(RUNTIME_CLASS(CSendMessageFrame)->CreateObject());
    case FrameKind::Contacts:
        return new CManageContactsFrame;
    case FrameKind::Groups:
        return new CManageGroupsFrame;
    default:
        m_log.warn("This window is not available in this version.");
        return nullptr;
    }
}

HWND CMessengerApp::NewModelessDialog(UINT templateId, bool atStartUp) {
    switch (templateId) {
    case IDD_ABOUT: {
        CAboutDlg* about = new CAboutDlg;
        if (about->CreateModeless()) return about->m_hWnd;
        delete about;
        break;
    }
    case IDD_OPTIONS: {
        COptionDlg* options = new COptionDlg;
        if (options->CreateModeless()) return options->m_hWnd;
        delete options;
        break;
    }
    case IDD_START_PAGE: {
        CSplashDlg* startPage = new CSplashDlg;
        if (atStartUp && startPage->HidesAtStartUp()) {
            delete startPage;
            return nullptr;
        }
        if (startPage->CreateModeless()) return startPage->m_hWnd;
        delete startPage;
        break;
    }
    default:
        break;
    }
    m_log.error("The window %u could not be created.", templateId);
    return nullptr;
}

CFrameBase* CMessengerApp::OpenFrame(FrameKind kind) {
    CFrameBase* frame = NewFrame(kind);
    if (frame && !frame->Create(nullptr)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

void CMessengerApp::ShowModeless(UINT templateId, bool atStartUp) {
    if (HWND existing = GetDialogWindow(templateId)) {
        ::SetActiveWindow(existing);
        return;
    }
    HWND made = NewModelessDialog(templateId, atStartUp);
    if (made) m_dialogs[templateId] = made;
}

void CMessengerApp::OnSplashScreen(bool atStartUp) {
    ShowModeless(IDD_START_PAGE, atStartUp);
}

void CMessengerApp::SendSMS(const char* recipients) {
    m_log.debug("Entering %s::%s", kClassName, "SendSMS");
    CFrameBase* frame = OpenFrame(FrameKind::Send);
    if (frame && frame->IsKindOf(RUNTIME_CLASS(CSendMessageFrame)))
        static_cast<CSendMessageFrame*>(frame)->SetRecipients(recipients ? recipients : "");
}

void CMessengerApp::OnHelpAbout() {
    m_log.debug("Entering %s::%s", kClassName, "OnHelpAbout");
    ShowModeless(IDD_ABOUT, false);
}

void CMessengerApp::OnPcOptions() {
    m_log.debug("Entering %s::%s", kClassName, "OnPcOptions");
    ShowModeless(IDD_OPTIONS, false);
}

void CMessengerApp::OnShowSplashScreen() {
    m_log.debug("Entering %s::%s", kClassName, "OnShowSplashScreen");
    OnSplashScreen(false);
}

void CMessengerApp::OnTarvockHome() {
    m_log.debug("Entering %s::%s", kClassName, "OnTarvockHome");
    OpenWebPage(HomePageUrl());
}

void CMessengerApp::OnSmsInbox() {
    m_log.debug("Entering %s::%s", kClassName, "OnSmsInbox");
    OpenWebPage(WebPageUrl("%s/secure/messenger/inbox.aspx?accountID=%s"));
}

void CMessengerApp::OnSentmessages() {
    m_log.debug("Entering %s::%s", kClassName, "OnSentmessages");
    OpenWebPage(WebPageUrl("%s/secure/messenger/sentMessages.aspx?accountID=%s"));
}

void CMessengerApp::OnOptions() {
    m_log.debug("Entering %s::%s", kClassName, "OnOptions");
    OpenWebPage(WebPageUrl("%s/secure/messenger/options.aspx?accountID=%s"));
}

void CMessengerApp::OnBuyCredits() {
    m_log.debug("Entering %s::%s", kClassName, "OnBuyCredits");
    OpenWebPage(WebPageUrl("%s/secure/purchase/product.select.aspx?accountID=%s"));
}

void CMessengerApp::OnContacts() {
    m_log.debug("Entering %s::%s", kClassName, "OnContacts");
    OpenFrame(FrameKind::Contacts);
}

void CMessengerApp::OnGroups() {
    m_log.debug("Entering %s::%s", kClassName, "OnGroups");
    OpenFrame(FrameKind::Groups);
}

void CMessengerApp::OnSend() {
    m_log.debug("Entering %s::%s", kClassName, "OnSend");
    OpenFrame(FrameKind::Send);
}

void CMessengerApp::OnSignInOut() {
    m_log.debug("Entering %s::%s", kClassName, "OnSignInOut");
    if (!CLoginState::IsSignedIn()) {
        CLoginState::RunSignInDialog();
        if (CLoginState::IsSignedIn()) {
            if (CMessengerDlg* main = GetMainDlg()) main->UpdateTrayIcon();
            OnSplashScreen(false);
        }
        return;
    }
    if (!CloseAllFrames()) return;
    if (HWND startPage = GetDialogWindow(IDD_START_PAGE)) ::SendMessageW(startPage, WM_CLOSE, 0, 0);
    CLoginState::SignOut();
    if (CMessengerDlg* main = GetMainDlg()) main->UpdateTrayIcon();
}

void CMessengerApp::OnUpdateSignedInCommand(CCmdUI* cmdUI) {
    cmdUI->Enable(CLoginState::IsSignedIn());
}

void CMessengerApp::OnUpdateSignInOut(CCmdUI* cmdUI) {
    if (CLoginState::IsSignedIn()) return;
    CString text;
    text.LoadString(IDS_SIGN_IN);
    cmdUI->SetText(text);
}
