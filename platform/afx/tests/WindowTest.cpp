#include "TestApp.h"
#include "afxcmn.h"

#include <gtest/gtest.h>

namespace {

struct CProbeLog {
    bool attachedAtCreate = false;
    bool destroyed = false;
    bool ncDestroyed = false;
    bool deleted = false;
    std::vector<UINT> commands;
};

class CProbeWnd : public CWnd {
public:
    explicit CProbeWnd(CProbeLog& log) : m_log(log) {}
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        m_log.attachedAtCreate = m_hWnd && FromHandlePermanent(m_hWnd) == this;
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnDestroy() { m_log.destroyed = true; }
    afx_msg void OnCommand100() { m_log.commands.push_back(100); }
    void PostNcDestroy() override { m_log.ncDestroyed = true; }

private:
    CProbeLog& m_log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_COMMAND(100, OnCommand100)
END_MESSAGE_MAP()

// An application with commands of its own, made current for one test.
class CRoutingApp : public CWinApp {
public:
    CRoutingApp() : CWinApp("Routing") {}
    std::vector<UINT> ran;
    afx_msg void OnAppCommand() { ran.push_back(500); }
    afx_msg void OnShared() { ran.push_back(501); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingApp, CWinApp)
    ON_COMMAND(500, OnAppCommand)
    ON_COMMAND(501, OnShared)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
public:
    explicit CTestFrame(CProbeLog& log) : m_log(log) {}
    ~CTestFrame() override { m_log.deleted = true; }
    afx_msg void OnShared() { m_log.commands.push_back(501); }

private:
    CProbeLog& m_log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(501, OnShared)
END_MESSAGE_MAP()

class CTestView : public CView {
public:
    explicit CTestView(CProbeLog& log) : m_log(log) {}
    ~CTestView() override { m_log.deleted = true; }
    bool initialUpdate = false;
    void OnInitialUpdate() override { m_log.commands.push_back(900); }
    afx_msg void OnViewCommand() { m_log.commands.push_back(502); }

private:
    CProbeLog& m_log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(502, OnViewCommand)
END_MESSAGE_MAP()

bool QuitPosted() {
    MSG msg;
    return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

}  // namespace

TEST(Window, TheCreationHookAttachesTheObjectBeforeWmCreate) {
    CProbeLog log;
    CProbeWnd wnd(log);
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_TRUE(log.attachedAtCreate);
    HWND hwnd = wnd.m_hWnd;
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(hwnd));
    wnd.SendMessage(WM_COMMAND, 100);
    EXPECT_EQ((std::vector<UINT>{100}), log.commands);
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_TRUE(log.destroyed);
    EXPECT_TRUE(log.ncDestroyed);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
}

TEST(Window, AForeignWindowGetsATemporaryObjectUntilIdleTime) {
    HWND foreign = ::CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, foreign);
    CWnd* temporary = CWnd::FromHandle(foreign);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(foreign, temporary->m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    EXPECT_EQ(temporary, CWnd::FromHandle(foreign));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    CWnd::DeleteTempMap();
    ::DestroyWindow(foreign);
}

TEST(Window, ASubclassedControlKeepsItsOwnBehaviour) {
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    CEdit control;
    ASSERT_TRUE(control.SubclassWindow(edit));
    control.SetWindowText("typed");
    EXPECT_STREQ("typed", control.GetWindowText());
    EXPECT_EQ(edit, control.UnsubclassWindow());
    ::DestroyWindow(edit);
}

TEST(Frame, RoutesCommandsToTheViewThenItselfThenTheApplication) {
    CRoutingApp app;
    CProbeLog frameLog, viewLog;
    CTestFrame* frame = new CTestFrame(frameLog);
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    CTestView* view = new CTestView(viewLog);
    ASSERT_TRUE(view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    frame->SetActiveView(view);
    frame->InitialUpdateFrame(nullptr, true);
    EXPECT_EQ((std::vector<UINT>{900}), viewLog.commands);

    CRect client, pane;
    frame->GetClientRect(&client);
    view->GetClientRect(&pane);
    EXPECT_EQ(client.Width(), pane.Width());
    EXPECT_EQ(client.Height(), pane.Height());

    frame->SendMessage(WM_COMMAND, 502);
    frame->SendMessage(WM_COMMAND, 501);
    frame->SendMessage(WM_COMMAND, 500);
    EXPECT_EQ((std::vector<UINT>{900, 502}), viewLog.commands);
    EXPECT_EQ((std::vector<UINT>{501}), frameLog.commands);
    EXPECT_EQ((std::vector<UINT>{500}), app.ran);

    frame->SendMessage(WM_CLOSE);  // closes, and frame and view delete themselves
    EXPECT_TRUE(frameLog.deleted);
    EXPECT_TRUE(viewLog.deleted);
    EXPECT_FALSE(QuitPosted());
}

TEST(Frame, DestroyingTheMainWindowEndsTheMessageLoop) {
    CRoutingApp app;
    CProbeLog log;
    CTestFrame* frame = new CTestFrame(log);
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    app.m_pMainWnd = frame;
    EXPECT_EQ(frame, AfxGetMainWnd());
    frame->DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_TRUE(QuitPosted());
}

TEST(Frame, MenuItemsFollowTheUpdateHandlersAndTheHandlersThatExist) {
    CRoutingApp app;
    CProbeLog log;
    CTestFrame* frame = new CTestFrame(log);
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "menu", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 500, L"handled by the application");
    ::AppendMenuW(menu, MF_STRING, 777, L"handled by nobody");
    ::AppendMenuW(menu, MF_STRING, ID_VIEW_STATUS_BAR, L"status bar");
    frame->UpdateMenuItems(menu);
    EXPECT_EQ(0u, ::GetMenuState(menu, 500, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, ::GetMenuState(menu, 777, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, ::GetMenuState(menu, ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_GRAYED);  // no bar
    ::DestroyMenu(menu);
    frame->DestroyWindow();
}

TEST(Frame, TheBarToggleShowsAndHidesTheBarWithThatId) {
    CRoutingApp app;
    CProbeLog log;
    CTestFrame* frame = new CTestFrame(log);
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr));
    AfxInitCommonControls(ICC_BAR_CLASSES);
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    EXPECT_TRUE(bar.IsWindowVisible());
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(bar.IsWindowVisible());
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(bar.IsWindowVisible());
    bar.UnsubclassWindow();
    frame->DestroyWindow();
}

namespace {
class CRefusingFrame : public CFrameWnd {
public:
    explicit CRefusingFrame(CProbeLog& log) : m_log(log) {}
    ~CRefusingFrame() override { m_log.deleted = true; }
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }

private:
    CProbeLog& m_log;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRefusingFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()
}  // namespace

TEST(Frame, AFailedCreationLeavesTheObjectToTheCaller) {
    CProbeLog log;
    CRefusingFrame* frame = new CRefusingFrame(log);
    EXPECT_FALSE(frame->CreateEx(0, nullptr, "refused", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_FALSE(log.deleted);
    EXPECT_EQ(nullptr, frame->m_hWnd);
    delete frame;
    EXPECT_TRUE(log.deleted);
}

namespace {
// A bar that takes a fixed thickness from one edge of what its frame has left.
class CEdgeBar : public CWnd {
public:
    CEdgeBar(int edge, int thickness) : m_edge(edge), m_thickness(thickness) {}
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        ++queries;
        if (!(GetStyle() & WS_VISIBLE)) return 0;
        CRect mine(layout->rect);
        switch (m_edge) {
        case 0: mine.bottom = mine.top + m_thickness; layout->rect.top += m_thickness; break;
        case 1: mine.top = mine.bottom - m_thickness; layout->rect.bottom -= m_thickness; break;
        default: mine.right = mine.left + m_thickness; layout->rect.left += m_thickness; break;
        }
        AfxRepositionWindow(layout, m_hWnd, mine);
        return 0;
    }
    int queries = 0;

private:
    int m_edge, m_thickness;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEdgeBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

CRect ChildRect(CWnd& parent, HWND child) {
    CRect rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
}  // namespace

TEST(Frame, BarsTakeTheirEdgesInCreationOrderAndTheViewGetsTheRest) {
    CRoutingApp app;
    CProbeLog log, viewLog;
    CTestFrame* frame = new CTestFrame(log);
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "layout", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr));
    AfxInitCommonControls(ICC_BAR_CLASSES);
    CEdgeBar top(0, 30), left(2, 40), bottom(1, 20);
    const DWORD style = WS_CHILD | WS_VISIBLE;
    ASSERT_TRUE(top.Create(nullptr, "", style, CRect(0, 0, 1, 1), frame, 101));
    ASSERT_TRUE(left.Create(nullptr, "", style, CRect(0, 0, 1, 1), frame, 102));
    CTestView* view = new CTestView(viewLog);
    ASSERT_TRUE(view->Create(nullptr, "", style, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    ASSERT_TRUE(bottom.Create(nullptr, "", style, CRect(0, 0, 1, 1), frame, 103));
    CStatusBar status;  // made last, yet it keeps the frame's whole bottom edge
    ASSERT_TRUE(status.Create(frame));
    frame->RecalcLayout();  // the frame is still hidden: visible bars count all the same

    CRect client, statusRect;
    frame->GetClientRect(&client);
    statusRect = ChildRect(*frame, status.m_hWnd);
    const int statusHeight = statusRect.Height();
    ASSERT_GT(statusHeight, 10);
    EXPECT_EQ(Str(CRect(0, client.bottom - statusHeight, client.right, client.bottom)), Str(statusRect));
    const int floor = client.bottom - statusHeight;
    EXPECT_EQ(Str(CRect(0, 0, client.right, 30)), Str(ChildRect(*frame, top.m_hWnd)));
    EXPECT_EQ(Str(CRect(0, 30, 40, floor)), Str(ChildRect(*frame, left.m_hWnd)));
    EXPECT_EQ(Str(CRect(40, floor - 20, client.right, floor)), Str(ChildRect(*frame, bottom.m_hWnd)));
    EXPECT_EQ(Str(CRect(40, 30, client.right, floor - 20)), Str(ChildRect(*frame, view->m_hWnd)));

    // A hidden bar takes nothing; a measuring query shrinks the rectangle but moves nobody.
    left.ShowWindow(SW_HIDE);
    frame->RecalcLayout();
    EXPECT_EQ(Str(CRect(0, 30, client.right, floor - 20)), Str(ChildRect(*frame, view->m_hWnd)));
    AFX_SIZEPARENTPARAMS measure = {};
    measure.rect = CRect(0, 0, 100, 100);
    top.SendMessage(WM_SIZEPARENT, 0, (LPARAM)&measure);
    EXPECT_EQ(Str(CRect(0, 30, 100, 100)), Str(CRect(measure.rect)));
    EXPECT_EQ(Str(CRect(0, 0, client.right, 30)), Str(ChildRect(*frame, top.m_hWnd)));

    // A delayed layout waits for the idle update, and several requests make one layout.
    left.ShowWindow(SW_SHOW);
    const int before = top.queries;
    frame->DelayRecalcLayout();
    frame->DelayRecalcLayout();
    EXPECT_EQ(before, top.queries);
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(before + 1, top.queries);
    EXPECT_EQ(0, frame->m_nIdleFlags & CFrameWnd::idleLayout);
    EXPECT_EQ(Str(CRect(40, 30, client.right, floor - 20)), Str(ChildRect(*frame, view->m_hWnd)));
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(before + 1, top.queries);

    status.UnsubclassWindow();
    frame->DestroyWindow();
}

namespace {
// Two tools side by side: "left" (id 1) and "right" (id 2) over a 200 x 100 window; the right
// half of the bottom answers id 0 text, which names no tool.
class CToolWnd : public CWnd {
public:
    INT_PTR OnToolHitTest(POINT point, TOOLINFOW* info) const override {
        ++asked;
        const bool left = point.x < 100;
        const INT_PTR id = point.y >= 50 && !left ? -1 : (left ? 1 : 2);
        info->hwnd = m_hWnd;
        info->uId = (UINT_PTR)(id == -1 ? 0 : id);
        info->rect = left ? CRect(0, 0, 100, 100) : CRect(100, 0, 200, 100);
        info->lpszText = AfxAllocToolTipText(left ? "left" : "right");
        return id;
    }
    mutable int asked = 0;
};

MSG MouseAt(HWND hwnd, int x, int y) {
    MSG msg = {};
    msg.hwnd = hwnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(x, y);
    msg.pt = {x, y};
    ::ClientToScreen(hwnd, &msg.pt);
    return msg;
}

std::wstring CurrentToolText() {
    HWND tip = AfxGetThreadToolTip();
    TOOLINFOW info = {};
    info.cbSize = sizeof info;
    wchar_t text[80] = {};
    info.lpszText = text;
    if (!tip || !::SendMessageW(tip, TTM_ENUMTOOLSW, 0, (LPARAM)&info)) return L"(none)";
    return text;
}
}  // namespace

TEST(ToolTips, TheToolUnderTheMouseComesFromTheWindowAndEveryTextCopyIsFreed) {
    CRoutingApp app;
    CToolWnd tools;
    ASSERT_TRUE(tools.CreateEx(0, nullptr, "tools", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr));
    CWnd quiet;
    ASSERT_TRUE(quiet.CreateEx(0, nullptr, "quiet", WS_POPUP | WS_VISIBLE, 300, 50, 100, 100, nullptr, nullptr));
    const LONG alive = AfxToolTipTextsAlive();

    // Without EnableToolTips the window is not asked.
    MSG msg = MouseAt(tools.m_hWnd, 10, 10);
    AfxRelayToolTipMessage(&msg);
    EXPECT_EQ(0, tools.asked);
    EXPECT_EQ(-1, AfxGetCurrentToolId());

    tools.EnableToolTips();
    for (int i = 0; i < 20; ++i) {  // the application's pre-translation relays each mouse message
        msg = MouseAt(tools.m_hWnd, 10 + i, 10);
        app.PreTranslateMessage(&msg);
    }
    EXPECT_EQ(20, tools.asked);
    EXPECT_EQ(1, AfxGetCurrentToolId());
    ASSERT_NE(nullptr, AfxGetThreadToolTip());
    EXPECT_EQ(1, (int)::SendMessageW(AfxGetThreadToolTip(), TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ(L"left", CurrentToolText());

    msg = MouseAt(tools.m_hWnd, 150, 10);
    AfxRelayToolTipMessage(&msg);
    EXPECT_EQ(2, AfxGetCurrentToolId());
    EXPECT_EQ(1, (int)::SendMessageW(AfxGetThreadToolTip(), TTM_GETTOOLCOUNT, 0, 0)) << "one tool at a time";
    EXPECT_EQ(L"right", CurrentToolText());

    // No tool under the mouse (a text was made all the same), then a window without tooltips.
    msg = MouseAt(tools.m_hWnd, 150, 60);
    AfxRelayToolTipMessage(&msg);
    EXPECT_EQ(-1, AfxGetCurrentToolId());
    EXPECT_EQ(0, (int)::SendMessageW(AfxGetThreadToolTip(), TTM_GETTOOLCOUNT, 0, 0));
    msg = MouseAt(tools.m_hWnd, 10, 10);
    AfxRelayToolTipMessage(&msg);
    msg = MouseAt(quiet.m_hWnd, 10, 10);
    AfxRelayToolTipMessage(&msg);
    EXPECT_EQ(-1, AfxGetCurrentToolId());
    EXPECT_EQ(alive, AfxToolTipTextsAlive()) << "every text copy the hit tests made was freed";

    // Keys are not mouse messages: nothing is asked.
    const int asked = tools.asked;
    msg.hwnd = tools.m_hWnd;
    msg.message = WM_KEYDOWN;
    AfxRelayToolTipMessage(&msg);
    EXPECT_EQ(asked, tools.asked);
    tools.DestroyWindow();
    quiet.DestroyWindow();
}
