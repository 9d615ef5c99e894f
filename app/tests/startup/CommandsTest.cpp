#include "support/BrowserRecorder.h"
#include "support/TestMessengerApp.h"

#include "mainwindow/MessengerDlg.h"
#include "resource.h"
#include "signin/LoginState.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace {

class CRecordingCmdUI : public CCmdUI {
public:
    int enabled = -1;
    CString text;
    void Enable(bool on) override {
        enabled = on;
        m_bEnableChanged = true;
    }
    void SetText(const char* newText) override { text = newText; }
};

int EnabledState(UINT id) {
    CRecordingCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(&theTestApp, true);
    return ui.enabled;
}

bool QuitPosted() {
    MSG msg;
    return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

std::string Page(const char* path) {
    std::string base = TARVOCK_WEB_BASE;
    if (!base.empty() && base.back() == '/') base.pop_back();
    return base + path;
}

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override { CLoginState::SetSignedIn("jo", "ACC1", "4711"); }
    void TearDown() override {
        CLoginState::SignOut();
        if (theTestApp.m_pMainWnd) theTestApp.m_pMainWnd->DestroyWindow();
        QuitPosted();
        for (HWND frame : std::set<HWND>(theTestApp.GetFrames())) ::DestroyWindow(frame);
        PumpPending();
    }
    CSatelliteScope satellite;
    CMessageBoxRecorder boxes;
};

}  // namespace

TEST_F(CommandsTest, EachWebCommandOpensItsAddress) {
    CBrowserRecorder browser;
    const UINT commands[] = {ID_ACCOUNT_OPTIONS, ID_BUY_CREDITS, ID_SMS_INBOX, ID_SENT_MESSAGES,
                             ID_BUY_CREDITS_SIGNED_IN, ID_TARVOCK_HOME};
    std::vector<std::string> expected = {
        Page("/secure/messenger/options.aspx?accountID=4711"),
        Page("/secure/purchase/product.select.aspx?accountID=4711"),
        Page("/secure/messenger/inbox.aspx?accountID=4711"),
        Page("/secure/messenger/sentMessages.aspx?accountID=4711"),
        Page("/secure/purchase/product.select.aspx?accountID=4711"),
        TARVOCK_SITE_BASE,
    };
    // One at a time, so the recorder's lines come in command order.
    std::vector<std::string> seen;
    for (size_t i = 0; i < std::size(commands); ++i) {
        EXPECT_TRUE(theTestApp.OnCmdMsg(commands[i], CN_COMMAND, nullptr));
        seen = browser.WaitFor(i + 1);
        ASSERT_EQ(i + 1, seen.size()) << "command " << commands[i];
    }
    EXPECT_EQ(expected, seen);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CommandsTest, CommandsForTheSignedInAreEnabledOnlyWhenSignedIn) {
    const UINT signedIn[] = {ID_SMS_INBOX, ID_CONTACTS, ID_SENT_MESSAGES, ID_ACCOUNT_OPTIONS, ID_BUY_CREDITS_SIGNED_IN,
                             ID_SEND, ID_GROUPS, ID_SHOW_START_PAGE, ID_PC_OPTIONS};
    for (UINT id : signedIn) EXPECT_EQ(1, EnabledState(id)) << id;
    CLoginState::SignOut();
    for (UINT id : signedIn) EXPECT_EQ(0, EnabledState(id)) << id;
    for (UINT id : {ID_APP_EXIT_COMMAND, ID_HELP_ABOUT, ID_TARVOCK_HOME, ID_BUY_CREDITS, ID_SIGN_IN_OUT})
        EXPECT_EQ(1, EnabledState(id)) << id;

    CRecordingCmdUI signIn;
    signIn.m_nID = ID_SIGN_IN_OUT;
    signIn.DoUpdate(&theTestApp, true);
    EXPECT_STREQ(LoadText(IDS_SIGN_IN), signIn.text);
    CLoginState::SetSignedIn("jo", "ACC1", "4711");
    CRecordingCmdUI signOut;
    signOut.m_nID = ID_SIGN_IN_OUT;
    signOut.DoUpdate(&theTestApp, true);
    EXPECT_STREQ("", signOut.text);  // the menu's own wording stays
}

TEST_F(CommandsTest, ACommandBeforeTheMainWindowExistsPostsNothing) {
    ASSERT_EQ(nullptr, theTestApp.m_pMainWnd);
    EXPECT_FALSE(theTestApp.PostCommand(ID_SEND));
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
    ASSERT_TRUE(theTestApp.CreateMainWindow());
    EXPECT_TRUE(theTestApp.PostCommand(ID_SEND));
    size_t before = theTestApp.framesMade.size();
    PumpPending();  // the main window routes the command to the application
    ASSERT_EQ(before + 1, theTestApp.framesMade.size());
    EXPECT_EQ(CMessengerApp::FrameKind::Send, theTestApp.framesMade.back());
}

TEST_F(CommandsTest, EveryWindowCommandOpensOneMoreFrameAndClosedFramesLeaveTheSet) {
    theTestApp.OnCmdMsg(ID_SEND, CN_COMMAND, nullptr);
    theTestApp.OnCmdMsg(ID_SEND, CN_COMMAND, nullptr);
    theTestApp.OnCmdMsg(ID_CONTACTS, CN_COMMAND, nullptr);
    theTestApp.OnCmdMsg(ID_GROUPS, CN_COMMAND, nullptr);
    theTestApp.SendSMS("07700900123");
    EXPECT_EQ(5u, theTestApp.GetFrames().size());
    EXPECT_EQ(5, CTestFrame::live);
    HWND first = *theTestApp.GetFrames().begin();
    ::SendMessageW(first, WM_COMMAND, ID_FILE_CLOSE, 0);  // the frame agrees to close
    EXPECT_EQ(4u, theTestApp.GetFrames().size());
    EXPECT_EQ(0u, theTestApp.GetFrames().count(first));
    EXPECT_EQ(4, CTestFrame::live);
}

TEST_F(CommandsTest, TheUserClosingAFrameAsksItOnceAndExitDoesNotAskTwice) {
    theTestApp.frames.clear();
    theTestApp.OnCmdMsg(ID_SEND, CN_COMMAND, nullptr);
    ASSERT_EQ(1u, theTestApp.frames.size());
    CTestFrame* frame = theTestApp.frames[0];
    HWND handle = frame->m_hWnd;
    // A refusing frame stays, whether the close box or File > Close asked.
    frame->canClose = false;
    ::SendMessageW(handle, WM_CLOSE, 0, 0);
    ::SendMessageW(handle, WM_COMMAND, ID_FILE_CLOSE, 0);
    ASSERT_TRUE(::IsWindow(handle));
    EXPECT_EQ(2, frame->closeQuestions);
    EXPECT_EQ(1u, theTestApp.GetFrames().count(handle));
    frame->canClose = true;
    ::SendMessageW(handle, WM_COMMAND, ID_FILE_CLOSE, 0);
    EXPECT_FALSE(::IsWindow(handle));
    EXPECT_TRUE(theTestApp.GetFrames().empty());

    // Closing all frames asks each once; the WM_CLOSE that follows asks nothing more.
    struct CCountingFrame : CTestFrame {
        int* asked = nullptr;
        bool CanClose() override {
            ++*asked;
            return CTestFrame::CanClose();
        }
    };
    int asked[2] = {0, 0};
    HWND handles[2] = {};
    for (int i = 0; i < 2; ++i) {
        CCountingFrame* counting = new CCountingFrame;
        counting->asked = &asked[i];
        ASSERT_TRUE(counting->Create(nullptr));
        handles[i] = counting->m_hWnd;
    }
    EXPECT_TRUE(theTestApp.CloseAllFrames());
    EXPECT_EQ(1, asked[0]);
    EXPECT_EQ(1, asked[1]);
    EXPECT_FALSE(::IsWindow(handles[0]));
    EXPECT_FALSE(::IsWindow(handles[1]));
    EXPECT_TRUE(theTestApp.GetFrames().empty());
}

TEST_F(CommandsTest, AFrameWhoseViewFailsIsNotKept) {
    CTestFrame* frame = new CTestFrame;
    frame->viewFails = true;
    EXPECT_FALSE(frame->Create(nullptr));
    EXPECT_TRUE(theTestApp.GetFrames().empty());
    delete frame;
}

TEST_F(CommandsTest, ModelessDialogsAreActivatedRatherThanMadeTwice) {
    theTestApp.dialogsMade.clear();
    theTestApp.OnCmdMsg(ID_HELP_ABOUT, CN_COMMAND, nullptr);
    theTestApp.OnCmdMsg(ID_HELP_ABOUT, CN_COMMAND, nullptr);
    theTestApp.OnCmdMsg(ID_PC_OPTIONS, CN_COMMAND, nullptr);
    theTestApp.OnCmdMsg(ID_SHOW_START_PAGE, CN_COMMAND, nullptr);
    EXPECT_EQ((std::vector<UINT>{IDD_ABOUT, IDD_OPTIONS, IDD_START_PAGE}), theTestApp.dialogsMade);
    ::DestroyWindow(theTestApp.GetDialogWindow(IDD_ABOUT));
    theTestApp.OnCmdMsg(ID_HELP_ABOUT, CN_COMMAND, nullptr);  // the window is gone: a new one
    EXPECT_EQ(4u, theTestApp.dialogsMade.size());
    theTestApp.CloseAllDialogs();
    PumpPending();
}

TEST_F(CommandsTest, ExitIsRefusedWhileAnAutomationClientHoldsTheProgram) {
    ASSERT_TRUE(theTestApp.CreateMainWindow());
    HWND main = theTestApp.m_pMainWnd->m_hWnd;
    AfxOleLockApp();
    ::SendMessageW(main, WM_COMMAND, ID_APP_EXIT_COMMAND, 0);
    AfxOleUnlockApp();
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_CANNOT_EXIT), boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, boxes.boxes[0].type);
    EXPECT_TRUE(::IsWindow(main));
    EXPECT_FALSE(QuitPosted());
}

TEST_F(CommandsTest, ExitAsksTheFramesClosesTheDialogsAndEndsTheLoop) {
    ASSERT_TRUE(theTestApp.CreateMainWindow());
    theTestApp.frames.clear();
    for (int i = 0; i < 3; ++i) theTestApp.OnCmdMsg(ID_SEND, CN_COMMAND, nullptr);
    theTestApp.OnCmdMsg(ID_PC_OPTIONS, CN_COMMAND, nullptr);
    HWND options = theTestApp.GetDialogWindow(IDD_OPTIONS);
    ASSERT_NE(nullptr, options);
    // The frame last in set order refuses: exit stops there, frames closed before stay closed.
    std::vector<HWND> order(theTestApp.GetFrames().begin(), theTestApp.GetFrames().end());
    ASSERT_EQ(3u, order.size());
    CTestFrame* refusing = static_cast<CTestFrame*>(CWnd::FromHandlePermanent(order[2]));
    refusing->canClose = false;
    theTestApp.OnCmdMsg(ID_APP_EXIT_COMMAND, CN_COMMAND, nullptr);
    EXPECT_FALSE(::IsWindow(order[0]));
    EXPECT_FALSE(::IsWindow(order[1]));
    EXPECT_TRUE(::IsWindow(order[2]));
    EXPECT_EQ((std::set<HWND>{order[2]}), theTestApp.GetFrames());  // no stale handles
    EXPECT_NE(nullptr, theTestApp.m_pMainWnd);
    EXPECT_FALSE(QuitPosted());

    refusing->canClose = true;
    theTestApp.OnCmdMsg(ID_APP_EXIT_COMMAND, CN_COMMAND, nullptr);
    EXPECT_TRUE(theTestApp.GetFrames().empty());
    EXPECT_FALSE(::IsWindow(options));
    EXPECT_EQ(nullptr, theTestApp.m_pMainWnd);
    EXPECT_TRUE(QuitPosted());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CommandsTest, SigningOutClosesTheFramesAndTheStartPage) {
    theTestApp.OnCmdMsg(ID_SEND, CN_COMMAND, nullptr);
    theTestApp.OnCmdMsg(ID_SHOW_START_PAGE, CN_COMMAND, nullptr);
    HWND startPage = theTestApp.GetDialogWindow(IDD_START_PAGE);
    ASSERT_NE(nullptr, startPage);
    theTestApp.OnCmdMsg(ID_SIGN_IN_OUT, CN_COMMAND, nullptr);
    EXPECT_FALSE(CLoginState::IsSignedIn());
    EXPECT_TRUE(theTestApp.GetFrames().empty());
    // The start page got WM_CLOSE (a plain dialog hides itself on it by Cancel).
    EXPECT_FALSE(::IsWindowVisible(startPage));
    ::DestroyWindow(startPage);
}

TEST_F(CommandsTest, TheSatelliteLibraryIsRequired) {
    theTestApp.satelliteBase = "NoSuchLibrary";
    EXPECT_FALSE(theTestApp.LoadSatellite());
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_STREQ("Tarvock Velko: No resource DLL found.", boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONSTOP, boxes.boxes[0].type);
    theTestApp.satelliteBase = "Velko";
    EXPECT_TRUE(theTestApp.LoadSatellite());
    CString text;
    EXPECT_TRUE(text.LoadString(IDS_CANNOT_EXIT));
    EXPECT_EQ(1u, boxes.boxes.size());
}

TEST_F(CommandsTest, ASecondCopyAsksTheFirstAndAnAbandonedMutexBelongsToTheNewCopy) {
    // Another copy holds the mutex: this one asks it to show itself and ends.
    HANDLE held = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        HANDLE mutex = ::CreateMutexA(nullptr, TRUE, CMessengerApp::kMutexName);
        ::SetEvent(held);
        ::WaitForSingleObject(release, INFINITE);
        ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
    });
    ::WaitForSingleObject(held, INFINITE);
    theTestApp.activations = 0;
    theTestApp.activateResult = true;
    EXPECT_FALSE(theTestApp.CheckSingleInstance());
    EXPECT_EQ(1, theTestApp.activations);
    EXPECT_TRUE(boxes.boxes.empty());
    theTestApp.activateResult = false;  // the first copy does not answer
    EXPECT_FALSE(theTestApp.CheckSingleInstance());
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_ALREADY_RUNNING), boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONEXCLAMATION, boxes.boxes[0].type);
    ::SetEvent(release);
    other.join();

    // A copy that ended without releasing the mutex (it crashed): this copy owns it and runs.
    std::thread crashed([] { ::CreateMutexA(nullptr, TRUE, CMessengerApp::kMutexName); });
    crashed.join();
    EXPECT_TRUE(theTestApp.CheckSingleInstance());
    EXPECT_EQ(2, theTestApp.activations);
    ::CloseHandle(held);
    ::CloseHandle(release);
}

