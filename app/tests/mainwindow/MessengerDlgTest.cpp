// The hidden main window against the stand-in service (account test/test/TEST01, own number
// 447700900101): the inbox poll and its "LastMessageId", the alert's texts, the sender's name
// from the cached contacts, clicks on the alert, and the notification icon's state.
#include "mainwindow/MessengerDlg.h"
#include "mainwindow/ReadWindowFactory.h"
#include "resource.h"
#include "signin/LoginState.h"
#include "support/ShellStandIn.h"
#include "support/TestMessengerApp.h"

#include <atlbase.h>
#include <gtest/gtest.h>

#include "LogCapture.h"
#include "StandinTest.h"
#include "TarvockLib.h"

#include <string>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

const char kSection[] = "Accounts\\TEST01";
const wchar_t kOwnNumber[] = L"447700900101";

// Records the messages handed to the read-window factory while it lives.
class CReadWindowRecorder {
public:
    CReadWindowRecorder() : m_saved(CReadWindowFactory::s_pfnOpen) {
        s_handed.clear();
        CReadWindowFactory::s_pfnOpen = [](ISMSMessage2* message) -> CWnd* {
            s_handed.push_back(message);
            return nullptr;
        };
    }
    ~CReadWindowRecorder() {
        CReadWindowFactory::s_pfnOpen = m_saved;
        s_handed.clear();
    }
    static std::vector<CComPtr<ISMSMessage2>> s_handed;

private:
    CReadWindowFactory::PFNOPENREADWINDOW m_saved;
};
std::vector<CComPtr<ISMSMessage2>> CReadWindowRecorder::s_handed;

std::wstring Text(ISMSMessage2* message, HRESULT (STDMETHODCALLTYPE ISMSMessage2::*get)(BSTR*)) {
    CComBSTR text;
    if (!message || FAILED((message->*get)(&text))) return L"<none>";
    return text ? std::wstring(text) : std::wstring();
}

long Index(ISMSMessage2* message) {
    long index = -2;
    if (message) message->get_MessageIndex(&index);
    return index;
}

void DeleteAccountsSection() {
    HKEY app = AfxGetApp()->GetAppRegistryKey();
    ASSERT_NE(nullptr, app);
    ::RegDeleteKeyW(app, L"Accounts\\TEST01");
    ::RegDeleteKeyW(app, L"Accounts\\PLAIN01");
    ::RegDeleteKeyW(app, L"Accounts");
    ::RegCloseKey(app);
}

class MessengerDlgTest : public standin::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        standin::PointSdkAtStandin();
        CLoginState::ReleaseCachedCollections();
        DeleteAccountsSection();
        ASSERT_TRUE(CLoginState::SignInCore("test", "test", "TEST01", true));
        m_dlg = new CMessengerDlg;
        ASSERT_TRUE(m_dlg->CreateHidden(CWnd::FromHandle(::GetDesktopWindow())));
        Log().Reset();
        m_boxes.boxes.clear();
    }
    void TearDown() override {
        if (m_dlg && m_dlg->GetSafeHwnd()) m_dlg->DestroyWindow();  // deletes the object
        m_dlg = nullptr;
        CLoginState::SignOut();
        CLoginState::ReleaseCachedCollections();
        DeleteAccountsSection();
        PumpPending();
        StandinTest::TearDown();
    }

    // Sends messages to the account's own number through the SDK.
    void SendToOwnNumber(const std::vector<std::wstring>& bodies, const wchar_t* originator = nullptr) {
        CComPtr<ISendService2> send;
        ASSERT_EQ(S_OK, send.CoCreateInstance(CLSID_SendService2));
        CComVariant omitted;
        omitted.vt = VT_ERROR;
        omitted.scode = DISP_E_PARAMNOTFOUND;
        ASSERT_EQ(S_OK, send->Initialise(CComBSTR(L"test"), CComBSTR(L"test"), CComBSTR(L"TEST01"), omitted));
        for (const std::wstring& body : bodies) {
            CComBSTR id;
            if (originator)
                ASSERT_EQ(S_OK, send->SendMessageFull(CComBSTR(originator), CComBSTR(kOwnNumber), CComBSTR(body.c_str()),
                                                      MESSAGE_TYPE_TEXT, 0, &id));
            else
                ASSERT_EQ(S_OK, send->SendMessageW(CComBSTR(kOwnNumber), CComBSTR(body.c_str()), MESSAGE_TYPE_TEXT, &id));
        }
    }

    CString LastMessageId() { return AfxGetApp()->GetProfileString(kSection, "LastMessageId", "absent"); }
    void SetLastMessageId(const char* value) { AfxGetApp()->WriteProfileString(kSection, "LastMessageId", value); }
    size_t Requests(const wchar_t* operation) const {
        return Log().Empty() ? 0 : Log().ByOperation(operation).size();
    }
    // One tick of the poll timer, as the window receives it.
    void Tick() { m_dlg->SendMessage(WM_TIMER, CMessengerDlg::kPollTimer, 0); }

    CSatelliteScope m_satellite;
    CShellStandIn m_shell;
    CMessageBoxRecorder m_boxes;
    CMessengerDlg* m_dlg = nullptr;
};

}  // namespace

TEST_F(MessengerDlgTest, CreationKeepsTheInboxServiceTheIconAndTheAlertItems) {
    EXPECT_NE(nullptr, m_dlg->GetInboxService());
    ASSERT_TRUE(m_dlg->HasTrayIcon());
    ASSERT_NE(nullptr, m_dlg->GetTrayIcon());
    EXPECT_STREQ(LoadText(IDS_TRAY_TIP) + " (Signed in as test)", m_dlg->GetTrayIcon()->GetTipText());
    EXPECT_EQ((UINT)ID_SEND, m_dlg->GetTrayIcon()->GetDefaultItem());
    EXPECT_EQ((UINT)IDR_TRAY, m_dlg->GetTrayIcon()->GetRecord().uID);

    CTkDesktopAlertWnd& alert = m_dlg->GetAlert();
    EXPECT_EQ(2, alert.GetThemeId());
    ASSERT_EQ(5, alert.GetItemCount());
    EXPECT_STREQ(LoadText(IDS_ALERT_CAPTION), alert.GetItem(0)->m_strCaption);
    EXPECT_EQ((UINT)(DT_CENTER | DT_VCENTER | DT_SINGLELINE), alert.GetItem(0)->m_nFormat);
    EXPECT_TRUE(alert.GetItem(0)->m_bBold);
    EXPECT_FALSE(alert.GetItem(0)->m_bUnderlineHot);
    EXPECT_EQ((UINT)CMessengerDlg::kAlertItemClose, alert.GetItem(1)->m_nID);
    EXPECT_TRUE(alert.GetItem(1)->m_bButton);
    EXPECT_NE(nullptr, alert.GetItem(1)->GetIcon());
    const CRect& picture = alert.GetItem(2)->m_rcItem;
    EXPECT_EQ((std::vector<LONG>{5, 27, 37, 59}),
              (std::vector<LONG>{picture.left, picture.top, picture.right, picture.bottom}));
    EXPECT_NE(nullptr, alert.GetItem(2)->GetIcon());
    EXPECT_EQ(m_dlg->GetTitleItem(), alert.GetItem(3));
    EXPECT_EQ(m_dlg->GetBodyItem(), alert.GetItem(4));
    EXPECT_EQ((UINT)CMessengerDlg::kAlertItemMessage, m_dlg->GetTitleItem()->m_nID);
    EXPECT_EQ((UINT)CMessengerDlg::kAlertItemMessage, m_dlg->GetBodyItem()->m_nID);
    EXPECT_EQ((UINT)DT_WORDBREAK, m_dlg->GetBodyItem()->m_nFormat);
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, alert.GetState());
}

TEST_F(MessengerDlgTest, SigningOutRebuildsTheIconWithTheSignInDefault) {
    CLoginState::SignOut();
    ASSERT_TRUE(m_dlg->UpdateTrayIcon());
    EXPECT_STREQ(LoadText(IDS_TRAY_TIP) + " (Signed out)", m_dlg->GetTrayIcon()->GetTipText());
    EXPECT_EQ((UINT)ID_SIGN_IN_OUT, m_dlg->GetTrayIcon()->GetDefaultItem());
}

TEST_F(MessengerDlgTest, TheFirstPollAsksFromMinusOneAndStoresTheNewestIndex) {
    ASSERT_STREQ("absent", LastMessageId());
    Tick();
    auto asked = Log().ByOperation(L"GetLatestMessages");
    ASSERT_EQ(1u, asked.size());
    EXPECT_NE(std::wstring::npos, asked[0].body.find(L">-1</")) << std::string(CString(asked[0].body.c_str()));
    EXPECT_STREQ("5", LastMessageId());
    // Five fixture messages: the count text, and no message kept.
    CString title;
    title.Format(LoadText(IDS_NEW_MESSAGES_TITLE), 5);
    EXPECT_STREQ(title, m_dlg->GetTitleItem()->m_strCaption);
    EXPECT_STREQ(LoadText(IDS_NEW_MESSAGES_BODY), m_dlg->GetBodyItem()->m_strCaption);
    EXPECT_EQ(nullptr, m_dlg->GetKeptMessage());
    EXPECT_NE(CTkDesktopAlertWnd::StateHidden, m_dlg->GetAlert().GetState());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(MessengerDlgTest, AMessageToTheOwnNumberIsAnnouncedAtTheNextPollAndHandedToTheReadWindow) {
    SetLastMessageId("5");
    m_dlg->PollInbox(CMessengerDlg::kPollTimer);  // nothing new
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, m_dlg->GetAlert().GetState());
    EXPECT_STREQ("5", LastMessageId());

    SendToOwnNumber({L"Hello from myself"});
    m_dlg->PollInbox(CMessengerDlg::kPollTimer);
    EXPECT_STREQ("6", LastMessageId());
    ISMSMessage2* kept = m_dlg->GetKeptMessage();
    ASSERT_NE(nullptr, kept);
    EXPECT_EQ(6, Index(kept));
    EXPECT_STREQ("Hello from myself", m_dlg->GetBodyItem()->m_strCaption);
    // No contact has the sender's number: the title is the number (or alias) itself.
    EXPECT_STREQ(CString(Text(kept, &ISMSMessage2::get_Originator).c_str()), m_dlg->GetTitleItem()->m_strCaption);
    EXPECT_NE(CTkDesktopAlertWnd::StateHidden, m_dlg->GetAlert().GetState());

    // A click on the title closes the alert and hands the kept message to the read window.
    CReadWindowRecorder readWindows;
    m_dlg->SendMessage(TK_WM_DESKTOPALERT, TK_ALERT_CLICKED, (LPARAM)m_dlg->GetTitleItem());
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, m_dlg->GetAlert().GetState());
    ASSERT_EQ(1u, CReadWindowRecorder::s_handed.size());
    EXPECT_EQ(kept, CReadWindowRecorder::s_handed[0].p);
    EXPECT_EQ(L"Hello from myself", Text(CReadWindowRecorder::s_handed[0], &ISMSMessage2::get_Body));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(MessengerDlgTest, TheSenderIsNamedFromTheCachedContactsAndALongBodyIsCut) {
    SetLastMessageId("5");
    std::wstring body(101, L'x');
    body[99] = L'y';
    SendToOwnNumber({body}, L"447700900303");  // Carol's mobile number
    Tick();
    EXPECT_STREQ("Carol", m_dlg->GetTitleItem()->m_strCaption);
    EXPECT_STREQ(CString(std::wstring(body.substr(0, 100) + L"...").c_str()), m_dlg->GetBodyItem()->m_strCaption);
    EXPECT_STREQ("6", LastMessageId());
    EXPECT_EQ(1u, Requests(L"GetContacts"));
}

TEST_F(MessengerDlgTest, TheSenderLookUpHoldsItsOwnReferenceToTheCachedContacts) {
    // The cache is filled, then released by someone else between two look-ups: each look-up
    // uses a collection it holds itself.
    EXPECT_STREQ("Alice", m_dlg->GetContactNameForNumber(L"447700900301"));
    CLoginState::ReleaseCachedContacts();
    EXPECT_STREQ("Bob", m_dlg->GetContactNameForNumber(L"447700900302"));
    CLoginState::ReleaseCachedContacts();
    EXPECT_STREQ("447700900399", m_dlg->GetContactNameForNumber(L"447700900399"));
    EXPECT_STREQ("Carol", m_dlg->GetContactNameForNumber(L"447700900303"));
    EXPECT_STREQ(" 447700900303", m_dlg->GetContactNameForNumber(L" 447700900303"));  // exact match only
    EXPECT_EQ(3u, Requests(L"GetContacts"));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(MessengerDlgTest, SeveralNewMessagesGiveTheCountTextAndDropTheKeptMessage) {
    SetLastMessageId("5");
    SendToOwnNumber({L"first"});
    Tick();
    ASSERT_NE(nullptr, m_dlg->GetKeptMessage());
    SendToOwnNumber({L"second", L"third"});
    Tick();
    CString title;
    title.Format(LoadText(IDS_NEW_MESSAGES_TITLE), 2);
    EXPECT_STREQ(title, m_dlg->GetTitleItem()->m_strCaption);
    EXPECT_STREQ(LoadText(IDS_NEW_MESSAGES_BODY), m_dlg->GetBodyItem()->m_strCaption);
    EXPECT_EQ(nullptr, m_dlg->GetKeptMessage());
    EXPECT_STREQ("8", LastMessageId());

    // The close button closes the alert and opens nothing.
    CReadWindowRecorder readWindows;
    m_dlg->SendMessage(TK_WM_DESKTOPALERT, TK_ALERT_CLICKED, (LPARAM)m_dlg->GetAlert().GetItem(1));
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, m_dlg->GetAlert().GetState());
    EXPECT_TRUE(CReadWindowRecorder::s_handed.empty());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(MessengerDlgTest, PollErrorsStaySilent) {
    m_dlg->DestroyWindow();
    m_dlg = nullptr;
    // An account without the Inbox feature: every inbox call fails.
    ASSERT_TRUE(CLoginState::SignInCore("plain", "plain", "PLAIN01", true));
    m_dlg = new CMessengerDlg;
    ASSERT_TRUE(m_dlg->CreateHidden(CWnd::FromHandle(::GetDesktopWindow())));
    Log().Reset();
    Tick();
    EXPECT_EQ(1u, Requests(L"GetLatestMessages"));
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, m_dlg->GetAlert().GetState());
    EXPECT_STREQ("absent", AfxGetApp()->GetProfileString("Accounts\\PLAIN01", "LastMessageId", "absent"));
    EXPECT_FALSE(m_dlg->IsPolling());
    Tick();  // the next tick tries again
    EXPECT_EQ(2u, Requests(L"GetLatestMessages"));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

namespace {

// A main window whose next poll fails with an error that is not a COM error.
class CFailingPollDlg : public CMessengerDlg {
public:
    bool failNext = true;

protected:
    void PollInboxCore() override {
        if (failNext) {
            failNext = false;
            throw std::runtime_error("disk full");
        }
        CMessengerDlg::PollInboxCore();
    }
};

}  // namespace

TEST_F(MessengerDlgTest, AnUnexpectedPollErrorIsLoggedAndTheNextPollRuns) {
    m_dlg->DestroyWindow();
    auto* dlg = new CFailingPollDlg;
    m_dlg = dlg;
    ASSERT_TRUE(m_dlg->CreateHidden(CWnd::FromHandle(::GetDesktopWindow())));
    SetLastMessageId("5");  // the fixture's messages are old
    Log().Reset();

    {
        testsupport::LogCapture logged("CMessengerDlg");
        Tick();
        EXPECT_TRUE(logged.Has("ERROR The inbox poll failed: disk full")) << logged.Text();
    }
    EXPECT_FALSE(m_dlg->IsPolling());
    EXPECT_EQ(0u, Requests(L"GetLatestMessages"));
    EXPECT_TRUE(m_boxes.boxes.empty());

    SendToOwnNumber({L"after the failure"});
    Tick();  // the next tick polls
    EXPECT_EQ(1u, Requests(L"GetLatestMessages"));
    EXPECT_NE(CTkDesktopAlertWnd::StateHidden, m_dlg->GetAlert().GetState());
    EXPECT_EQ(L"after the failure", Text(m_dlg->GetKeptMessage(), &ISMSMessage2::get_Body));
}

TEST_F(MessengerDlgTest, SignedOutPollsSendNothing) {
    CLoginState::SignOut();
    Log().Reset();
    Tick();
    m_dlg->PollInbox(CMessengerDlg::kPollTimer);
    EXPECT_TRUE(Log().Empty());
    EXPECT_STREQ("absent", LastMessageId());
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, m_dlg->GetAlert().GetState());
}

TEST_F(MessengerDlgTest, RestartingThePollTimerKeepsPolling) {
    m_dlg->RestartPollTimer();
    EXPECT_EQ(10u * 60000u, CMessengerDlg::PollIntervalMs());  // the options' default
    // The timer exists: killing it succeeds exactly once.
    EXPECT_TRUE(::KillTimer(m_dlg->m_hWnd, CMessengerDlg::kPollTimer));
    EXPECT_FALSE(::KillTimer(m_dlg->m_hWnd, CMessengerDlg::kPollTimer));
}

TEST_F(MessengerDlgTest, ADoubleClickOnTheIconRunsTheSendCommandWithoutAMenu) {
    CTrayNotifyWnd* icon = m_dlg->GetTrayIcon();
    ASSERT_NE(nullptr, icon);
    size_t before = theTestApp.framesMade.size();
    icon->SendMessage(TK_WM_TRAYNOTIFY, IDR_TRAY, WM_LBUTTONDOWN);
    EXPECT_TRUE(icon->IsClickPending());
    icon->SendMessage(TK_WM_TRAYNOTIFY, IDR_TRAY, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(icon->IsClickPending());
    EXPECT_FALSE(icon->IsMenuShowing());
    ASSERT_EQ(before + 1, theTestApp.framesMade.size());
    EXPECT_EQ(CMessengerApp::FrameKind::Send, theTestApp.framesMade.back());
    // Another icon's callback is not this icon's.
    icon->SendMessage(TK_WM_TRAYNOTIFY, IDR_TRAY + 1, WM_LBUTTONDOWN);
    EXPECT_FALSE(icon->IsClickPending());
    // A command that reaches the icon's window goes on to the main window and the application.
    icon->SendMessage(WM_COMMAND, ID_SEND, 0);
    EXPECT_EQ(before + 2, theTestApp.framesMade.size());
    for (HWND frame : std::set<HWND>(theTestApp.GetFrames())) ::DestroyWindow(frame);
}

namespace {

void Signal(const char* path) {
    if (std::FILE* marker = std::fopen(path, "w")) std::fclose(marker);
}

// Pumps messages until the file exists (at most 30 s).
void PumpUntil(const char* path) {
    for (int i = 0; i < 600 && ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES; ++i) {
        PumpPending();
        ::Sleep(50);
    }
}

const char* g_menuReady = nullptr;
const char* g_menuDone = nullptr;

// Runs inside the menu's own loop: once the menu is drawn, tells the script and waits for it.
void CALLBACK WhileTheMenuShows(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    Signal(g_menuReady);
    for (int i = 0; i < 600 && ::GetFileAttributesA(g_menuDone) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(50);
    ::EndMenu();
}

}  // namespace

// For the screenshot script: shows an alert of one message, then the icon's menu, each until told
// to go on.
TEST(MainWindowScreenshot, DISABLED_ShowsTheAlertAndTheTrayMenu) {
    const char* ready = std::getenv("TARVOCK_SCREENSHOT_READY");
    const char* done = std::getenv("TARVOCK_SCREENSHOT_DONE");
    g_menuReady = std::getenv("TARVOCK_SCREENSHOT_MENU_READY");
    g_menuDone = std::getenv("TARVOCK_SCREENSHOT_MENU_DONE");
    ASSERT_TRUE(ready && done && g_menuReady && g_menuDone);
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        CSatelliteScope satellite;
        CShellStandIn shell;
        CLoginState::SetSignedIn("test", "TEST01", "a0000000-0000-4000-8000-000000000001");
        CMessengerDlg* dlg = new CMessengerDlg;
        ASSERT_TRUE(dlg->CreateHidden(CWnd::FromHandle(::GetDesktopWindow())));
        // The texts a poll gives for one message from a contact.
        dlg->GetTitleItem()->SetCaption("Carol");
        dlg->GetBodyItem()->SetCaption("Running ten minutes late, save me a seat near the front please. "
                                       "See you at the station at six?");
        dlg->GetAlert().SetShowTime(0);  // stays until closed
        ASSERT_TRUE(dlg->GetAlert().Show(dlg));
        for (int i = 0; i < 30; ++i) {
            PumpPending();
            ::Sleep(50);
        }
        Signal(ready);
        PumpUntil(done);
        dlg->GetAlert().Close();

        ::SetCursorPos(900, 700);
        ::SetTimer(nullptr, 0, 800, WhileTheMenuShows);
        dlg->GetTrayIcon()->ShowMenu();  // returns when the timer ends the menu
        dlg->DestroyWindow();
        CLoginState::SignOut();
    }
    ::CoUninitialize();
}
