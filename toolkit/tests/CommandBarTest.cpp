// A command bar in a test site window: hot tracking, clicks that send the command, keyboard
// navigation and mnemonics, and command states from the site's update handlers.
#include "PainterTestSupport.h"
#include "commandbars/TkShortcutText.h"
#include "res/TkResource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kDestroyBar = WM_APP + 1;

class CTestSite : public CWnd {
public:
    struct CReceived {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<CReceived> received;
    LRESULT executeAnswer = 0;
    bool disable200 = false;
    int check201 = 0;
    CWnd* barToDestroy = nullptr;

    int Count(UINT message, WPARAM wParam) const {
        int count = 0;
        for (const CReceived& r : received) count += r.message == message && r.wParam == wParam;
        return count;
    }
    void OnUpdate200(CCmdUI* ui) { ui->Enable(!disable200); }
    void OnUpdate201(CCmdUI* ui) { ui->SetCheck(check201); }
    void OnCommand201() {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TK_WM_EXECUTE || message == WM_COMMAND || message == TK_WM_CONTROL_SELECTED) {
            CReceived r = {message, wParam, lParam};
            if (message == TK_WM_EXECUTE) {
                auto* record = reinterpret_cast<CTkExecuteRecord*>(lParam);
                r.lParam = record && record->header.code == TK_CONTROL_EXECUTED && record->header.idFrom == wParam
                               ? (LPARAM)record->pControl
                               : 0;
            }
            received.push_back(r);
            if (message == TK_WM_EXECUTE) return executeAnswer;
            if (message == WM_COMMAND) return 0;
        }
        if (message == kDestroyBar && barToDestroy) {
            barToDestroy->DestroyWindow();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestSite, CWnd)
    ON_UPDATE_COMMAND_UI(200, OnUpdate200)
    ON_UPDATE_COMMAND_UI(201, OnUpdate201)
    ON_COMMAND(201, OnCommand201)
END_MESSAGE_MAP()

class TkCommandBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_site.CreateEx(0, nullptr, "site", WS_OVERLAPPEDWINDOW, 10, 10, 400, 100, nullptr, nullptr));
        m_site.ShowWindow(SW_SHOW);
        TkBringToFront(m_site.GetSafeHwnd());
        m_bar.reset(new CTestBar(300, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR, &m_site));
        const char* captions[] = {"&Alpha", "&Beta", "&Bold", "Gamma"};
        for (int i = 0; i < 4; ++i) {
            CTkControl* control = m_bar->AddButton(CRect(4 + 30 * i, 2, 30 + 30 * i, 24), captions[i]);
            control->m_nId = 200 + i;
        }
        m_site.received.clear();
    }
    void TearDown() override {
        m_bar.reset();
        if (m_site.GetSafeHwnd()) m_site.DestroyWindow();
        TkPumpPending();
    }
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    // A press on the bar at a point, with the messages that follow it already queued.
    void Press(int x, int y) {
        POINT screen = {x, y};
        ::ClientToScreen(m_bar->GetSafeHwnd(), &screen);
        ::SetCursorPos(screen.x, screen.y);
        m_bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    }

    CTestSite m_site;
    std::unique_ptr<CTestBar> m_bar;
};

TEST_F(TkCommandBarTest, MouseOverAButtonMakesItHot) {
    ASSERT_TRUE(TkBringToFront(m_site.GetSafeHwnd()));
    m_bar->SendMessage(WM_MOUSEMOVE, 0, At(40, 10));
    EXPECT_EQ(1, m_bar->m_nHotIndex);
    EXPECT_EQ(TK_CONTROL_SELECTION_MOUSE, m_bar->GetControl(1)->m_nSelected);
    EXPECT_EQ(1, m_site.Count(TK_WM_CONTROL_SELECTED, (WPARAM)m_bar->GetControl(1)));
    m_bar->SendMessage(WM_MOUSEMOVE, 0, At(250, 10));
    EXPECT_EQ(-1, m_bar->m_nHotIndex);
    EXPECT_EQ(TK_CONTROL_SELECTION_NONE, m_bar->GetControl(1)->m_nSelected);
    EXPECT_EQ(1, m_site.Count(TK_WM_CONTROL_SELECTED, 0));
    // Indices that name no control change nothing.
    EXPECT_EQ(0, m_bar->SetSelected(7, false));
    EXPECT_EQ(0, m_bar->SetPopuped(7, false));
    EXPECT_EQ(0, m_bar->SetPopuped(1, false)) << "a button has no popup";
    EXPECT_EQ(-1, m_bar->m_nHotIndex);
    EXPECT_EQ(-1, m_bar->m_nPopupIndex);
    m_bar->Invalidate(false);
    m_bar->UpdateWindow();
}

TEST_F(TkCommandBarTest, AClickSendsTheCommandToTheSite) {
    m_bar->PostMessage(WM_LBUTTONUP, 0, At(40, 10));
    Press(40, 10);
    EXPECT_EQ(1, m_site.Count(TK_WM_EXECUTE, 201));
    for (const auto& r : m_site.received) {
        if (r.message == TK_WM_EXECUTE) {
            EXPECT_EQ((LPARAM)m_bar->GetControl(1), r.lParam) << "the record names the control";
        }
    }
    EXPECT_EQ(1, m_site.Count(WM_COMMAND, 201)) << "no answer: WM_COMMAND follows";
    EXPECT_EQ(2, m_bar->GetControl(1)->m_nExecuted) << "executed until the next command update";
    m_bar->UpdateCommandUI(false);
    EXPECT_EQ(0, m_bar->GetControl(1)->m_nExecuted);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(-1, m_bar->m_nHotIndex);

    m_site.received.clear();
    m_site.executeAnswer = 1;
    m_bar->PostMessage(WM_LBUTTONUP, 0, At(70, 10));
    Press(70, 10);
    EXPECT_EQ(1, m_site.Count(TK_WM_EXECUTE, 202));
    EXPECT_EQ(0, m_site.Count(WM_COMMAND, 202));

    // Moving out before the release: nothing runs.
    m_site.received.clear();
    m_bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, At(250, 10));
    m_bar->PostMessage(WM_LBUTTONUP, 0, At(250, 10));
    Press(40, 10);
    EXPECT_EQ(0, m_site.Count(TK_WM_EXECUTE, 201));

    // A disabled button does nothing.
    m_bar->GetControl(1)->m_bEnabled = 0;
    m_bar->PostMessage(WM_LBUTTONUP, 0, At(40, 10));
    Press(40, 10);
    TkPumpPending();
    EXPECT_EQ(0, m_site.Count(TK_WM_EXECUTE, 201));

    // A return-command slot on the root bar takes the id instead of the site.
    int returned = 0;
    m_bar->m_pReturnCommand = &returned;
    m_bar->GetControl(3)->OnClick(true, CPoint());
    EXPECT_EQ(203, returned);
    EXPECT_EQ(0, m_site.Count(TK_WM_EXECUTE, 203));
    m_bar->m_pReturnCommand = nullptr;
}

TEST_F(TkCommandBarTest, ThePressLoopEndsOnQuitAndWhenTheBarGoes) {
    ::PostQuitMessage(3);
    Press(40, 10);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) << "the quit message is posted again";
    EXPECT_EQ((UINT)WM_QUIT, msg.message);
    EXPECT_EQ(3u, msg.wParam);
    EXPECT_EQ(0, m_site.Count(TK_WM_EXECUTE, 201));
    EXPECT_EQ(nullptr, ::GetCapture());

    // A failed read ends the loop without making up a quit; the program's loop is left alone.
    const CTkControl::PFNGETMESSAGE saved = CTkControl::s_pfnGetMessage;
    CTkControl::s_pfnGetMessage = [](LPMSG msg, HWND, UINT, UINT) -> BOOL {
        msg->message = WM_QUIT;  // what a failed read may leave behind
        msg->wParam = 77;
        return -1;
    };
    Press(40, 10);
    CTkControl::s_pfnGetMessage = saved;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE | PM_NOYIELD)) << "no quit was posted";
    EXPECT_EQ(0, m_site.Count(TK_WM_EXECUTE, 201));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(0, m_bar->GetControl(1)->m_nExecuted);

    m_site.barToDestroy = m_bar.get();
    m_site.PostMessage(kDestroyBar);
    Press(40, 10);
    EXPECT_FALSE(m_bar->IsWindow());
    EXPECT_EQ(0, m_site.Count(TK_WM_EXECUTE, 201));
}

TEST_F(TkCommandBarTest, KeysAndMnemonicsMoveTheHotControl) {
    m_bar->SetTrackingMode(TK_TRACKING_ACTIVE, true, true);
    EXPECT_EQ(0, m_bar->m_nHotIndex);
    EXPECT_EQ(TK_CONTROL_SELECTION_KEYBOARD, m_bar->GetControl(0)->m_nSelected);
    // A tracking bar is in the thread's popup chain and gets the keyboard hook's keys.
    EXPECT_TRUE(CTkMouseTracker::ForThread().IsTracked(m_bar.get()));
    EXPECT_EQ(1, CTkKeyboardHook::ForThread().RouteKey(WM_KEYDOWN, VK_RIGHT, 0));
    EXPECT_EQ(1, m_bar->m_nHotIndex);
    m_bar->OnHookKeyDown(VK_END);
    EXPECT_EQ(3, m_bar->m_nHotIndex);
    m_bar->OnHookKeyDown(VK_RIGHT);
    EXPECT_EQ(0, m_bar->m_nHotIndex) << "wraps";
    m_bar->OnHookKeyDown(VK_LEFT);
    EXPECT_EQ(3, m_bar->m_nHotIndex);
    m_bar->OnHookKeyDown(VK_HOME);
    EXPECT_EQ(0, m_bar->m_nHotIndex);
    m_bar->GetControl(1)->m_nFlags = TK_CONTROL_FLAG_NO_NAVIGATE;
    m_bar->OnHookKeyDown(VK_RIGHT);
    EXPECT_EQ(2, m_bar->m_nHotIndex) << "skips controls that keyboard navigation leaves out";
    m_bar->GetControl(1)->m_nFlags = 0;
    EXPECT_EQ(0, m_bar->OnNavigate(TK_NAVIGATE_CLOSE)) << "no popup to close";
    EXPECT_EQ(TK_TRACKING_ACTIVE, m_bar->m_nTrackingMode);

    // "B" stands in two captions: the first is selected, nothing is clicked.
    m_bar->OnHookKeyDown(VK_HOME);
    EXPECT_TRUE(m_bar->OnHookKeyDown('B'));
    EXPECT_EQ(1, m_bar->m_nHotIndex);
    EXPECT_TRUE(m_site.received.empty() || m_site.Count(TK_WM_EXECUTE, 201) == 0);
    // "G" is only a first letter: selected and clicked, which ends tracking.
    EXPECT_TRUE(m_bar->OnHookKeyDown('G'));
    EXPECT_EQ(1, m_site.Count(TK_WM_EXECUTE, 203));
    EXPECT_EQ(TK_TRACKING_NONE, m_bar->m_nTrackingMode);
    EXPECT_EQ(-1, m_bar->m_nHotIndex);
    EXPECT_FALSE(CTkMouseTracker::ForThread().HasTrackedBars()) << "executing closed the chain";

    // End in a bar whose controls are all hidden returns at once.
    for (int i = 0; i < 4; ++i) m_bar->GetControl(i)->m_nHideFlags = TK_CONTROL_HIDE_CONTEXT;
    EXPECT_EQ(1, m_bar->OnNavigate(TK_NAVIGATE_LAST));
    EXPECT_EQ(1, m_bar->OnNavigate(TK_NAVIGATE_FIRST));
    EXPECT_EQ(-1, m_bar->m_nHotIndex);
    bool ambiguous = true;
    EXPECT_EQ(-1, m_bar->FindMnemonic('A', &ambiguous));
    EXPECT_FALSE(ambiguous);
}

TEST_F(TkCommandBarTest, TheSitesUpdateAnswerDisablesOrChecksAndTheBarRepaints) {
    m_site.disable200 = true;
    m_site.check201 = 1;
    ::ValidateRect(m_bar->GetSafeHwnd(), nullptr);
    m_bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(0, m_bar->GetControl(0)->m_bEnabled);
    EXPECT_EQ(1, m_bar->GetControl(1)->m_bChecked);
    EXPECT_EQ(1, m_bar->GetControl(1)->m_bEnabled) << "201 has a command handler";
    EXPECT_EQ(0, m_bar->GetControl(2)->m_bEnabled) << "no handler, disabled when asked to";
    RECT dirty;
    EXPECT_TRUE(::GetUpdateRect(m_bar->GetSafeHwnd(), &dirty, FALSE)) << "the bar repaints";
    m_bar->UpdateWindow();

    m_site.disable200 = false;
    m_site.check201 = 0;
    m_bar->UpdateCommandUI(false);
    EXPECT_EQ(1, m_bar->GetControl(0)->m_bEnabled);
    EXPECT_EQ(0, m_bar->GetControl(1)->m_bChecked);
    EXPECT_EQ(0, m_bar->GetControl(2)->m_bEnabled) << "without disableIfNoHandler the state stays";
    m_bar->m_bNoCommandUpdate = 1;
    m_site.disable200 = true;
    m_bar->UpdateCommandUI(true);
    EXPECT_EQ(1, m_bar->GetControl(0)->m_bEnabled) << "the root bar asks for no updates";
}

// A manager whose frame shows a context of the caller's choice.
class CContextManager : public CTkCommandBars {
public:
    int GetContextId() const override { return context; }
    int context = 0;
};

// A bar that counts the layouts it is asked for.
class CLayoutCountingBar : public CTestBar {
public:
    using CTestBar::CTestBar;
    void OnRecalcLayout() override { ++layouts; }
    int layouts = 0;
};

TEST_F(TkCommandBarTest, TheContextHidesControlsAndCustomisingStillAsksTheTarget) {
    CContextManager* manager = new CContextManager;
    manager->AttachFrame(&m_site);
    CLayoutCountingBar bar(300, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR, &m_site);
    bar.m_pManager = manager;
    for (int i = 0; i < 4; ++i) bar.AddButton(CRect(4 + 30 * i, 2, 30 + 30 * i, 24), "x")->m_nId = 200 + i;
    bar.GetControl(0)->m_shownIn = {5};
    bar.GetControl(1)->m_hiddenIn = {7};
    bar.GetControl(2)->m_shownIn = {5, 7};
    bar.GetControl(3)->m_hiddenIn = {5};
    auto hidden = [&bar] {
        std::vector<int> flags;
        for (int i = 0; i < 4; ++i) flags.push_back(bar.GetControl(i)->m_nHideFlags & TK_CONTROL_HIDE_CONTEXT);
        return flags;
    };

    bar.UpdateCommandUI(true);  // also lays out the added controls
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), hidden()) << "no context, no hiding";
    bar.layouts = 0;
    bar.UpdateCommandUI(true);
    EXPECT_EQ(0, bar.layouts);
    manager->context = 7;
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ((std::vector<int>{0x40, 0x40, 0, 0}), hidden());
    EXPECT_EQ(1, bar.layouts) << "a change lays the bar out";
    bar.UpdateCommandUI(true);
    EXPECT_EQ(1, bar.layouts) << "no change, no layout";
    manager->context = 5;
    bar.UpdateCommandUI(true);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0x40}), hidden());
    EXPECT_EQ(2, bar.layouts);

    // Customising: the target's update handler still decides; what nobody handles is enabled.
    m_site.disable200 = true;
    manager->SetCustomizeMode(true);
    bar.GetControl(2)->m_bEnabled = 0;
    bar.UpdateCommandUI(true);
    EXPECT_EQ(0, bar.GetControl(0)->m_bEnabled) << "the target's handler disables it";
    EXPECT_EQ(1, bar.GetControl(2)->m_bEnabled) << "no handler: usable for editing";
    manager->SetCustomizeMode(false);
    bar.UpdateCommandUI(true);
    EXPECT_EQ(0, bar.GetControl(2)->m_bEnabled) << "no handler, disabled when asked to";
    bar.DestroyWindow();
    manager->InternalRelease();
}

TEST_F(TkCommandBarTest, ContextHelpNamesTheItemUnderThePointAndClicksInHelpMode) {
    // The bar's hosted child windows take their states from the target as dialog controls do.
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, "BUTTON", "go", WS_CHILD | BS_PUSHBUTTON, 200, 2, 40, 20, m_bar->GetSafeHwnd(),
                               (HMENU)(UINT_PTR)200));
    m_site.disable200 = true;
    m_bar->UpdateCommandUI(false);
    EXPECT_FALSE(child.IsWindowEnabled()) << "the update handler of its id";
    ::SetWindowLongPtrA(child.GetSafeHwnd(), GWLP_ID, 299);
    m_bar->UpdateCommandUI(false);
    EXPECT_FALSE(child.IsWindowEnabled()) << "no handler and not asked to disable: left as it is";
    child.EnableWindow(true);
    m_bar->UpdateCommandUI(true);
    EXPECT_FALSE(child.IsWindowEnabled()) << "a push button without a handler is disabled when asked to";
    child.DestroyWindow();

    auto* popup = new CTkControlPopup;
    popup->m_rcControl = CRect(130, 2, 160, 24);
    m_bar->GetControls()->Append(popup);
    EXPECT_EQ(0x10000 + 201, m_bar->SendMessage(WM_HELPHITTEST, 0, At(40, 10)));
    EXPECT_EQ(0, m_bar->SendMessage(WM_HELPHITTEST, 0, At(140, 10))) << "no id, a bar without a child id";
    ::SetWindowLongPtrA(m_bar->GetSafeHwnd(), GWLP_ID, 59393);
    EXPECT_EQ(0x50000 + 59393, m_bar->SendMessage(WM_HELPHITTEST, 0, At(140, 10)));
    EXPECT_EQ(0x50000 + 59393, m_bar->SendMessage(WM_HELPHITTEST, 0, At(250, 10)));

    // Hit tests and non-client clicks change only while the frame runs context help.
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 10, 10, 300, 100, nullptr, nullptr));
    CTkCommandBars* manager = new CTkCommandBars;
    manager->AttachFrame(frame);
    m_bar->m_pManager = manager;
    auto screen = [this](int x, int y) {
        POINT point = {x, y};
        ::ClientToScreen(m_bar->GetSafeHwnd(), &point);
        return MAKELPARAM(point.x, point.y);
    };
    EXPECT_EQ(HTCLIENT, m_bar->SendMessage(WM_NCHITTEST, 0, screen(140, 10)));
    frame->m_bHelpMode = true;
    EXPECT_EQ(HTMENU, m_bar->SendMessage(WM_NCHITTEST, 0, screen(140, 10))) << "a popup without a command";
    EXPECT_EQ(HTCLIENT, m_bar->SendMessage(WM_NCHITTEST, 0, screen(40, 10)));
    EXPECT_EQ(HTCLIENT, m_bar->SendMessage(WM_NCHITTEST, 0, screen(250, 10)));
    m_bar->PostMessage(WM_LBUTTONUP, 0, At(40, 10));
    POINT cursor = {40, 10};
    ::ClientToScreen(m_bar->GetSafeHwnd(), &cursor);
    ::SetCursorPos(cursor.x, cursor.y);
    m_bar->SendMessage(WM_NCLBUTTONDOWN, HTCLIENT, screen(40, 10));
    EXPECT_EQ(2, m_bar->GetControl(1)->m_nExecuted) << "the click runs as a client click";
    frame->m_bHelpMode = false;
    m_bar->m_pManager = nullptr;
    manager->InternalRelease();
    frame->DestroyWindow();
}

}  // namespace

namespace {

// A child popup bar that records what its popup control asks of it.
class CRecordingBar : public CTkCommandBar {
public:
    CRecordingBar() { m_nBarType = TK_BAR_TYPE_POPUP; }
    int Popup(CTkControl* control, bool byKeyboard) override {
        calls.push_back(byKeyboard ? "popup by keyboard" : "popup");
        opener = control;
        m_nTrackingMode = TK_TRACKING_ACTIVE;
        return 1;
    }
    int SetTrackingMode(int mode, bool selectFirst, bool byKeyboard) override {
        if (mode == TK_TRACKING_NONE && m_nTrackingMode) calls.push_back("close");
        m_nTrackingMode = mode;
        (void)selectFirst;
        (void)byKeyboard;
        return 1;
    }
    std::vector<std::string> calls;
    CTkControl* opener = nullptr;
};

CTkControlPopup* AddPopup(CTestBar& bar, int type, const CRect& rect, int id, CRecordingBar** child) {
    auto* popup = new CTkControlPopup;
    popup->m_nType = type;
    popup->m_rcControl = rect;
    bar.GetControls()->Add(popup, id);
    *child = new CRecordingBar;
    popup->AttachChildBar(*child);
    (*child)->InternalRelease();  // the control holds the bar now
    return popup;
}

TEST_F(TkCommandBarTest, APopupControlOpensAndClosesItsChildBar) {
    CRecordingBar* first = nullptr;
    CRecordingBar* second = nullptr;
    CTkControlPopup* file = AddPopup(*m_bar, TK_CONTROL_TYPE_POPUP, CRect(130, 2, 160, 24), 0, &first);
    CTkControlPopup* edit = AddPopup(*m_bar, TK_CONTROL_TYPE_POPUP, CRect(160, 2, 190, 24), 0, &second);
    file->OnClick(false, CPoint(140, 10));
    EXPECT_EQ(std::vector<std::string>{"popup"}, first->calls);
    EXPECT_EQ(file, first->opener);
    EXPECT_TRUE(file->IsPopupOpen());
    EXPECT_EQ(file->m_nIndex, m_bar->m_nPopupIndex);
    EXPECT_EQ(TK_TRACKING_POPUP, m_bar->m_nTrackingMode);

    // The mouse moving on to the next popup control switches menus.
    m_bar->SetSelected(edit->m_nIndex, false);
    EXPECT_EQ((std::vector<std::string>{"popup", "close"}), first->calls);
    EXPECT_FALSE(file->IsPopupOpen());
    EXPECT_EQ(std::vector<std::string>{"popup"}, second->calls);
    EXPECT_EQ(edit->m_nIndex, m_bar->m_nPopupIndex);

    // Clicking the open one closes it and ends tracking.
    edit->OnClick(false, CPoint(170, 10));
    EXPECT_EQ((std::vector<std::string>{"popup", "close"}), second->calls);
    EXPECT_EQ(TK_TRACKING_NONE, m_bar->m_nTrackingMode);
    EXPECT_EQ(-1, m_bar->m_nPopupIndex);

    // Without a child bar there is nothing to open.
    edit->AttachChildBar(nullptr);
    EXPECT_EQ(0, edit->SetPopuped(true));
    EXPECT_FALSE(edit->IsPopupOpen());
}

TEST_F(TkCommandBarTest, ASplitButtonsHalvesActApart) {
    CRecordingBar* child = nullptr;
    CTkControlPopup* split = AddPopup(*m_bar, TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP, CRect(130, 2, 164, 24), 210, &child);
    // The arrow part opens the popup and runs nothing.
    split->OnClick(false, CPoint(159, 10));
    EXPECT_EQ(std::vector<std::string>{"popup"}, child->calls);
    EXPECT_EQ(0, m_site.Count(TK_WM_EXECUTE, 210));
    m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
    // The face tracks the press and runs the command on a release inside.
    child->calls.clear();
    m_bar->PostMessage(WM_LBUTTONUP, 0, At(140, 10));
    Press(140, 10);
    EXPECT_EQ(1, m_site.Count(TK_WM_EXECUTE, 210));
    EXPECT_TRUE(child->calls.empty());

    // In a popup bar the release decides: 30 pixels from the right edge runs, 10 does not.
    CTestBar menu(200, 100, TK_BAR_POSITION_POPUP, TK_BAR_TYPE_POPUP, nullptr);
    menu.m_pOwnerWnd = &m_site;
    CRecordingBar* inner = nullptr;
    CTkControlPopup* item = AddPopup(menu, TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP, CRect(3, 3, 197, 23), 211, &inner);
    item->OnLButtonUp(CPoint(197 - 10, 10));
    EXPECT_EQ(0, m_site.Count(TK_WM_EXECUTE, 211));
    item->OnLButtonUp(CPoint(197 - 30, 10));
    EXPECT_EQ(1, m_site.Count(TK_WM_EXECUTE, 211));
}

}  // namespace

TEST_F(TkCommandBarTest, TooltipsShowTheControlsTipFromItsStringAndEveryTextIsFreed) {
    EXPECT_TRUE(m_bar->AreToolTipsEnabled()) << "a toolbar enables tooltips when it is created";
    CTestBar popup(100, 100, TK_BAR_POSITION_POPUP, TK_BAR_TYPE_POPUP);
    EXPECT_FALSE(popup.AreToolTipsEnabled()) << "a popup bar never does";
    const LONG alive = AfxToolTipTextsAlive();

    m_bar->GetControl(0)->SetID(601);  // "Open a file\nOpen"
    m_bar->GetControl(1)->m_strTooltip = "Beta's tip";
    m_bar->GetControl(3)->m_strTooltip = "no command";
    m_bar->GetControl(3)->m_nId = 0;
    auto hit = [&](int x, CString* text = nullptr, CRect* rect = nullptr) {
        TOOLINFOW info = {};
        info.cbSize = sizeof info;
        const INT_PTR id = m_bar->OnToolHitTest(CPoint(x, 10), &info);
        if (text) *text = info.lpszText ? CString(info.lpszText) : CString("(none)");
        if (rect) *rect = info.rect;
        if (id != -1) {
            EXPECT_EQ(m_bar->GetSafeHwnd(), info.hwnd);
        }
        AfxFreeToolTipText(info.lpszText);
        return id;
    };
    CString text;
    CRect rect;
    EXPECT_EQ(601, hit(10, &text, &rect));
    EXPECT_STREQ("Open", text);
    EXPECT_TRUE(SameRect(CRect(4, 2, 30, 24), rect));
    EXPECT_EQ(201, hit(40, &text));
    EXPECT_STREQ("Beta's tip", text);
    EXPECT_EQ(-1, hit(70, &text)) << "an empty tooltip shows nothing";
    EXPECT_STREQ("(none)", text);
    EXPECT_EQ(-1, hit(100)) << "a control without a command id names no tool";
    EXPECT_EQ(-1, hit(250)) << "no control there";

    // The manager's settings can turn screen tips off; a bar with an open menu shows none.
    CTkCommandBars* manager = new CTkCommandBars;
    m_bar->m_pManager = manager;
    manager->GetCommandBarsOptions()->m_bToolBarScreenTips = 0;
    EXPECT_EQ(-1, hit(40));
    manager->GetCommandBarsOptions()->m_bToolBarScreenTips = 1;
    EXPECT_EQ(201, hit(40));
    m_bar->m_nTrackingMode = TK_TRACKING_POPUP;
    EXPECT_EQ(-1, hit(40));
    m_bar->m_nTrackingMode = TK_TRACKING_NONE;

    // With accelerator tips on, the command's shortcut in the site frame follows the tip (the
    // key's name is the platform's: "Control+B" under Wine).
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr));
    ACCEL accel = {FVIRTKEY | FCONTROL, 'B', 201};
    frame->m_hAccelTable = ::CreateAcceleratorTableW(&accel, 1);
    manager->m_pSite = frame;
    manager->GetCommandBarsOptions()->m_bToolBarAccelTips = 1;
    CString shortcut;
    ASSERT_TRUE(CTkShortcutText::FindInTable(frame->m_hAccelTable, 201, shortcut));
    EXPECT_EQ("+B", std::string(shortcut).substr(shortcut.GetLength() - 2));
    EXPECT_EQ(201, hit(40, &text));
    EXPECT_EQ("Beta's tip (" + std::string(shortcut) + ")", std::string(text));
    EXPECT_EQ(601, hit(10, &text));
    EXPECT_STREQ("Open", text) << "a command without a shortcut keeps its tip";
    manager->GetCommandBarsOptions()->m_bToolBarAccelTips = 0;
    manager->m_pSite = nullptr;
    ::DestroyAcceleratorTable(frame->m_hAccelTable);
    frame->m_hAccelTable = nullptr;
    frame->DestroyWindow();

    // Through the class library's relay: the tool follows the mouse, and no copy is left over.
    for (int x : {10, 12, 40, 100, 40, 250}) {
        MSG msg = {};
        msg.hwnd = m_bar->GetSafeHwnd();
        msg.message = WM_MOUSEMOVE;
        msg.lParam = At(x, 10);
        msg.pt = {x, 10};
        ::ClientToScreen(msg.hwnd, &msg.pt);
        AfxRelayToolTipMessage(&msg);
        if (x == 40) {
            EXPECT_EQ(201, AfxGetCurrentToolId());
        }
    }
    EXPECT_EQ(-1, AfxGetCurrentToolId());
    EXPECT_EQ(alive, AfxToolTipTextsAlive());
    m_bar->m_pManager = nullptr;
    manager->InternalRelease();
}

// ---------------------------------------------------------------------------------------------
// The expand button.

namespace {

// A manager whose default popup bars record what their opener asks of them, and which notes
// what it is asked to fill.
class CRecordingManager : public CTkCommandBars {
public:
    CTkCommandBar* CreateDefaultPopupBar() override {
        ++made;
        return new CRecordingBar;
    }
    void FillRowOverflowPopup(CTkCommandBar* bar, CTkCommandBar* popup) override {
        filled.push_back({"overflow", bar, popup, popup->GetControls()->GetCount()});
        CTkCommandBars::FillRowOverflowPopup(bar, popup);
    }
    void FillToolbarOptionsPopup(CTkCommandBar* bar, CTkCommandBar* popup) override {
        filled.push_back({"options", bar, popup, popup ? popup->GetControls()->GetCount() : -1});
        CTkCommandBars::FillToolbarOptionsPopup(bar, popup);
    }
    struct CFill {
        std::string what;
        CTkCommandBar* bar;
        CTkCommandBar* popup;
        int countBefore;
    };
    int made = 0;
    std::vector<CFill> filled;
};

}  // namespace

TEST_F(TkCommandBarTest, TheExpandButtonTakesTheControlsThatDidNotFit) {
    // Seven 23-pixel buttons on a bar 120 long, with room for the expand button at the end.
    CTestBar bar(120, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR, &m_site);
    CRecordingManager* manager = new CRecordingManager;
    bar.m_pManager = manager;
    for (int i = 0; i < 7; ++i) bar.GetControls()->Append(new CFixedControl(CSize(23, 22)))->m_nId = 300 + i;
    bar.GetControl(3)->m_bBeginGroup = 1;
    CTkControl* made = bar.GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON_POPUP, ID_TK_EXPAND_BUTTON, CString(), -1, true);
    auto* expand = dynamic_cast<CTkControlExpand*>(made);
    ASSERT_NE(nullptr, expand);
    EXPECT_EQ(0x1C, expand->m_nFlags);
    EXPECT_EQ(1, expand->m_bTemporary);
    expand->SetBeginGroup(true);
    EXPECT_EQ(0, expand->m_bBeginGroup) << "nothing separates the expand button";

    // The layout hides what does not fit at 120 less the button's 11 pixels.
    expand->SetHideFlags(TK_CONTROL_HIDE_SCROLL);
    CClientDC dc(&bar);
    const CSize size = bar.GetControls()->LayoutRows(
        &dc, 120, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_COMMIT | TK_LAYOUT_HORIZONTAL | TK_LAYOUT_HIDE_WRAP, CRect(2, 2, 13, 2));
    std::string shown;
    for (int i = 0; i < 7; ++i) shown += bar.GetControl(i)->m_nHideFlags == TK_CONTROL_HIDE_WRAP ? 'h' : 'v';
    EXPECT_EQ("vvvvhhh", shown) << "four of 23 pixels and a group's 6 fit in 105";
    EXPECT_EQ(120, size.cx) << "the bar takes the whole length";
    EXPECT_TRUE(SameRect(CRect(48, 2, 71, 24), bar.GetControl(2)->m_rcControl));
    EXPECT_TRUE(SameRect(CRect(77, 2, 100, 24), bar.GetControl(3)->m_rcControl));
    expand->SetHideFlags(0);
    expand->SetRect(107, 2, 118, 24);
    EXPECT_EQ(1, expand->m_bControlsHidden);

    // Opening asks the site for the child bar, then takes the hidden controls and the options.
    bar.SetPopuped(expand->m_nIndex, false);
    ASSERT_NE(nullptr, expand->GetChildBar());
    auto* child = dynamic_cast<CRecordingBar*>(expand->GetChildBar());
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(std::vector<std::string>{"popup"}, child->calls);
    EXPECT_EQ(expand, child->opener);
    EXPECT_EQ(0, child->m_bCustomizable);
    // The manager fills the child with the bar's overflow, then the options item's popup with the
    // toolbar options; the options item closes the list.
    ASSERT_EQ(2u, manager->filled.size());
    EXPECT_EQ("overflow", manager->filled[0].what);
    EXPECT_EQ(&bar, manager->filled[0].bar);
    EXPECT_EQ(child, manager->filled[0].popup);
    EXPECT_EQ(0, manager->filled[0].countBefore);
    EXPECT_EQ("options", manager->filled[1].what);
    EXPECT_EQ(&bar, manager->filled[1].bar);
    CTkControls* listed = child->GetControls();
    CTkControl* options = listed->GetControl(listed->GetCount() - 1);
    ASSERT_NE(nullptr, options);
    EXPECT_EQ(TK_CONTROL_TYPE_POPUP, options->m_nType);
    EXPECT_EQ(listed->GetCount() > 2 ? 1 : 0, options->m_bBeginGroup);
    EXPECT_NE(nullptr, options->GetCommandBar());
    EXPECT_EQ(options->GetCommandBar(), manager->filled[1].popup);

    // Closing leaves the child bar; opening again builds a new one.
    bar.SetPopuped(-1, false);
    EXPECT_EQ((std::vector<std::string>{"popup", "close"}), child->calls);
    EXPECT_FALSE(expand->IsPopupOpen());
    const int before = manager->made;
    bar.SetPopuped(expand->m_nIndex, false);
    EXPECT_GT(manager->made, before);
    bar.SetPopuped(-1, false);
    bar.SetTrackingMode(TK_TRACKING_NONE, true, false);

    // Without a manager the button cannot open.
    bar.m_pManager = nullptr;
    EXPECT_EQ(0, expand->SetPopuped(true));
    bar.GetControls()->RemoveAllControls();
    manager->InternalRelease();
}
