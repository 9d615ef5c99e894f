// The drag tracker of a toolbar on a test frame: moves between rows and dock bars, tearing off
// and docking back on a double click, resizing a floating bar, and the modal loop's ways out.
// The loop is fed with posted mouse messages; under Wine a posted message carries the cursor
// position at the time it was posted, so the cursor is put at each point first.
#include "DockTestSupport.h"
#include "HookTestSupport.h"

#include "commandbars/TkCommandBarsSettings.h"
#include "commandbars/TkHooks.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Rows = std::vector<CTkToolBar*>;

// Posts a mouse move to the window at a screen point.
void PostMoveTo(CWnd* bar, POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
    POINT client = screen;
    ::ScreenToClient(bar->m_hWnd, &client);
    bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
}

void PostButtonUp(CWnd* bar) {
    bar->PostMessage(WM_LBUTTONUP, 0, 0);
}

// A window that runs a piece of a test when it receives a posted message (inside the loop).
class CActionWindow : public CWnd {
public:
    static const UINT kRun = WM_APP + 7;
    std::function<void()> action;
    bool Create() {
        return CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kRun && action) {
            action();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class DragTrackerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_scene.Create(CRect(100, 100, 100 + kClientWidth, 100 + kClientHeight)));
        TkPumpPending();
    }
    void TearDown() override { TkPumpPending(); }
    CTkDockBar* Top() { return m_scene.DockBar(0); }
    CPoint InsideOf(CWnd* bar, int x, int y) {
        CRect rect;
        bar->GetWindowRect(&rect);
        return CPoint(rect.left + x, rect.top + y);
    }

    CTkDockScene m_scene;
};

TEST_F(DragTrackerTest, ABarMovedToAnotherRowStaysWhereItWasDropped) {
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(100, 26), 0);
    ASSERT_EQ(CRect(0, 26, 100, 52), m_scene.PlaceInDock(b));
    // B is taken at (10, 10) inside it and dropped right of A in the first row.
    const CPoint start = InsideOf(b, 10, 10);
    PostMoveTo(b, start + CPoint(60, -8));
    PostMoveTo(b, start + CPoint(150, -26));
    PostButtonUp(b);
    b->GetDragTracker()->TrackMove(start);
    EXPECT_EQ((Rows{nullptr, b, a, nullptr}), Top()->GetBars());
    EXPECT_EQ(CRect(150, 0, 250, 26), b->GetDragTracker()->m_rcLastDock);
    EXPECT_EQ(0, b->GetDragTracker()->m_nLastDockSide);
    EXPECT_FALSE(CTkMouseTracker::ForThread().IsBarDragRunning());
    EXPECT_EQ(nullptr, ::GetCapture());
    // The next layout keeps it there.
    m_scene.Layout();
    EXPECT_EQ(CRect(0, 0, 100, 26), m_scene.PlaceInDock(a));
    EXPECT_EQ(CRect(150, 0, 250, 26), m_scene.PlaceInDock(b));
    EXPECT_EQ(26, m_scene.PlaceInFrame(Top()).Height());
}

TEST_F(DragTrackerTest, ABarMovedToAnotherDockBarDocksThereWhenItsFlagsAllowIt) {
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(100, 26), 0);
    b->m_dwFlags = TK_BAR_FLAG_DOCK_TOP | TK_BAR_FLAG_DOCK_LEFT;  // may not float
    const CPoint start = InsideOf(b, 10, 10);
    // Down to the bottom edge: not allowed there and may not float, so it stays.
    CRect client;
    m_scene.frame->GetClientRect(&client);
    CPoint bottom(100 + 50, 100 + client.Height() - 5);
    PostMoveTo(b, bottom);
    // Then to the left edge, below the top dock bar.
    PostMoveTo(b, CPoint(100 + 5, 100 + 150));
    PostButtonUp(b);
    b->GetDragTracker()->TrackMove(start);
    EXPECT_EQ(m_scene.DockBar(2), b->m_pDockBar);
    EXPECT_EQ(2, b->m_nPosition);
    EXPECT_EQ((Rows{nullptr, a, nullptr}), Top()->GetBars());
    EXPECT_EQ(2, b->GetDragTracker()->m_nLastDockSide);
    EXPECT_EQ(26, m_scene.PlaceInFrame(m_scene.DockBar(2)).Width());
}

TEST_F(DragTrackerTest, EscapeLeavesTheBarWhereTheLastStepPutIt) {
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(100, 26), 0);
    const CPoint start = InsideOf(b, 10, 10);
    PostMoveTo(b, start + CPoint(200, -26));
    b->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    PostMoveTo(b, start + CPoint(20, 0));  // after the loop: not a step
    b->GetDragTracker()->TrackMove(start);
    EXPECT_EQ((Rows{nullptr, b, a, nullptr}), Top()->GetBars());
    m_scene.Layout();
    EXPECT_EQ(CRect(200, 0, 300, 26), m_scene.PlaceInDock(b));
}

TEST_F(DragTrackerTest, ATornOffBarFloatsAndADoubleClickDocksItBackAtItsOldPlace) {
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(120, 26), 0, true);
    b->GetDragTracker()->m_rcLastDock = CRect(150, 0, 270, 26);
    m_scene.Layout();
    ASSERT_EQ(CRect(150, 0, 270, 26), m_scene.PlaceInDock(b));
    const CPoint start = InsideOf(b, 10, 10);
    const CPoint away(100 + 200, 100 + 150);
    PostMoveTo(b, away);
    PostButtonUp(b);
    b->GetDragTracker()->TrackMove(start);
    ASSERT_EQ(TK_BAR_POSITION_FLOATING, b->m_nPosition);
    EXPECT_EQ(nullptr, b->m_pDockBar);
    EXPECT_EQ((Rows{nullptr, a, nullptr}), Top()->GetBars());
    CRect window;
    b->GetWindowRect(&window);
    // Floating at its floating size (6 buttons in a row), holding the point.
    EXPECT_EQ(CSize(120, 20), window.Size());
    EXPECT_TRUE(window.PtInRect(away));
    EXPECT_EQ(window.TopLeft(), b->GetDragTracker()->m_ptLastFloat);
    // Its old dock place is remembered.
    EXPECT_EQ(CRect(150, 0, 270, 26), b->GetDragTracker()->m_rcLastDock);
    EXPECT_EQ(0, b->GetDragTracker()->m_nLastDockSide);

    EXPECT_EQ(1, b->GetDragTracker()->ApplyLastPosition());
    EXPECT_EQ(Top(), b->m_pDockBar);
    EXPECT_EQ(0, b->m_nPosition);
    EXPECT_EQ((Rows{nullptr, b, a, nullptr}), Top()->GetBars());
    EXPECT_EQ(CRect(150, 0, 270, 26), m_scene.PlaceInDock(b));
}

TEST_F(DragTrackerTest, DoubleClicksFollowTheSidesAndTheSettings) {
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(100, 26), 0);
    // With the default settings a docked bar stays docked.
    EXPECT_EQ(0, a->GetDragTracker()->ApplyLastPosition());
    EXPECT_EQ(Top(), a->m_pDockBar);
    // When the settings say so it floats at its last float point, even one left of the screen.
    m_scene.manager->GetCommandBarsOptions()->m_bDblClickFloat = 1;
    a->GetDragTracker()->SetLastFloatPoint(CPoint(-300, 40));
    EXPECT_EQ(1, a->GetDragTracker()->ApplyLastPosition());
    EXPECT_EQ(TK_BAR_POSITION_FLOATING, a->m_nPosition);
    CRect window;
    a->GetWindowRect(&window);
    EXPECT_EQ(CRect(-300, 40, -300 + 100, 40 + 20), window);

    // A floating bar that may dock only on the left is not docked at the top, its last side.
    CTkFixedToolBar* c = m_scene.NewBar(CSize(60, 26), TK_BAR_FLAG_DOCK_LEFT | TK_BAR_FLAG_FLOAT);
    ASSERT_TRUE(m_scene.manager->FloatCommandBar(c));
    EXPECT_EQ(0, c->GetDragTracker()->m_nLastDockSide);
    EXPECT_EQ(0, c->GetDragTracker()->ApplyLastPosition());
    EXPECT_EQ(TK_BAR_POSITION_FLOATING, c->m_nPosition);
    EXPECT_EQ((Rows{nullptr}), Top()->GetBars());
}

TEST_F(DragTrackerTest, ResizingAFloatingBarSetsItsWidthAndFloatPoint) {
    CTkFixedToolBar* bar = m_scene.NewBar(CSize(120, 26));
    ASSERT_TRUE(m_scene.manager->FloatCommandBar(bar));
    ::SetWindowPos(bar->m_hWnd, nullptr, 300, 300, 120, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    const CPoint start(300 + 119, 310);
    PostMoveTo(bar, start + CPoint(-20, 0));  // 100 wide: 5 buttons, 2 rows
    PostMoveTo(bar, start + CPoint(-40, 3));  // 80 wide: 4 buttons, 2 rows
    PostButtonUp(bar);
    bar->GetDragTracker()->TrackResize(HTRIGHT, start);
    CRect window;
    bar->GetWindowRect(&window);
    EXPECT_EQ(CRect(300, 300, 380, 340), window);
    EXPECT_EQ(80, bar->m_nMRUWidth);
    EXPECT_EQ(CPoint(300, 300), bar->GetDragTracker()->m_ptLastFloat);
    // From the left edge the right edge stays.
    const CPoint left(300, 310);
    PostMoveTo(bar, left + CPoint(40, 0));
    PostButtonUp(bar);
    bar->GetDragTracker()->TrackResize(HTLEFT, left);
    bar->GetWindowRect(&window);
    EXPECT_EQ(CRect(340, 300, 380, 360), window);
    EXPECT_EQ(40, bar->m_nMRUWidth);
}

TEST_F(DragTrackerTest, TheLoopPassesQuitOnAndEndsWhenItsWindowGoes) {
    CTkFixedToolBar* bar = m_scene.AddBar(Top(), CSize(100, 26), 0);
    const CPoint start = InsideOf(bar, 10, 10);
    ::PostQuitMessage(3);
    bar->GetDragTracker()->TrackMove(start);
    EXPECT_EQ(nullptr, ::GetCapture());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);

    // The window is destroyed and the last other reference released inside the loop: the
    // loop ends and the bar lives until the loop lets it go.
    static bool deleted;
    deleted = false;
    struct CWatchedBar : CTkFixedToolBar {
        ~CWatchedBar() override { deleted = true; }
    };
    auto* watched = new CWatchedBar;
    watched->m_pManager = m_scene.manager;
    ASSERT_TRUE(watched->Create(WS_CHILD | WS_VISIBLE, m_scene.frame, 0xE8F0));
    watched->EnableDocking(0x3F);
    Top()->DockBarAt(watched, nullptr);
    m_scene.Layout();
    CActionWindow action;
    ASSERT_TRUE(action.Create());
    bool aliveInLoop = false;
    action.action = [&] {
        Top()->RemoveBar(watched);
        watched->m_pDockBar = nullptr;
        watched->DestroyWindow();
        watched->InternalRelease();
        aliveInLoop = !deleted;
    };
    action.PostMessage(CActionWindow::kRun);
    watched->GetDragTracker()->TrackMove(InsideOf(watched, 5, 5));
    EXPECT_TRUE(aliveInLoop);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_FALSE(CTkMouseTracker::ForThread().IsBarDragRunning());
    action.DestroyWindow();
}

// --- Real input: a press on a toolbar, a drag and a release sent through SendInput.

struct CInputDrag {
    bool desktop = false;
    bool created = false;
    bool dropped = false;
    bool rowsAsDropped = false;
    CRect placeAfterLayout;
    CRect otherAfterLayout;
};

DWORD WINAPI RunInputDrag(void* param) {
    auto& out = *static_cast<CInputDrag*>(param);
    out.desktop = TkUseOwnDesktop(L"TarvockDockInputTests");
    if (!out.desktop) return 0;
    CTkDockScene scene;
    out.created = scene.Create(CRect(100, 100, 100 + kClientWidth, 100 + kClientHeight));
    if (!out.created) return 0;
    CTkDockBar* top = scene.DockBar(0);
    CTkFixedToolBar* a = scene.AddBar(top, CSize(100, 26), 0);
    CTkFixedToolBar* b = scene.AddBar(top, CSize(100, 26), 0);
    const Rows dropped = {nullptr, b, a, nullptr};
    for (int attempt = 0; attempt < 3 && !out.dropped; ++attempt) {
        TkBringToFront(scene.frame->m_hWnd, 1000);
        CRect window;
        b->GetWindowRect(&window);
        const CPoint start(window.left + 10, window.top + 10);
        // B goes up into A's row, 150 pixels right of where it was.
        INPUT input[] = {TkMouseInput(start, 0), TkMouseInput(start, MOUSEEVENTF_LEFTDOWN),
                         TkMouseInput(start + CPoint(60, -8), 0), TkMouseInput(start + CPoint(150, -26), 0),
                         TkMouseInput(start + CPoint(150, -26), MOUSEEVENTF_LEFTUP)};
        ::SendInput(5, input, sizeof(INPUT));
        out.dropped = TkPumpUntil([&] { return top->GetBars() == dropped && !::GetCapture(); }, 2000);
    }
    out.rowsAsDropped = top->GetBars() == dropped;
    scene.Layout();
    out.placeAfterLayout = scene.PlaceInDock(b);
    out.otherAfterLayout = scene.PlaceInDock(a);
    return 0;
}

// Runs on a thread and desktop of its own, so the input reaches only this test's windows.
TEST(DragTrackerInput, ARealDragMovesABarIntoAnotherRowWhereItStays) {
    CInputDrag out;
    HANDLE thread = ::CreateThread(nullptr, 0, RunInputDrag, &out, 0, nullptr);
    ::WaitForSingleObject(thread, 60000);
    ::CloseHandle(thread);
    ASSERT_TRUE(out.desktop);
    ASSERT_TRUE(out.created);
    EXPECT_TRUE(out.dropped);
    EXPECT_TRUE(out.rowsAsDropped);
    EXPECT_EQ(CRect(150, 0, 250, 26), out.placeAfterLayout);
    EXPECT_EQ(CRect(0, 0, 100, 26), out.otherAfterLayout);
}

}  // namespace
