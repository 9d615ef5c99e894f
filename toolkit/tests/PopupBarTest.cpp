// Popup bar windows: where they open on the 1280x1024 test screen and on other monitors, their
// hidden commands and expand button, scrolling, animation choice, shadows, the modal loop and
// tearing a popup off.
#include "HookTestSupport.h"
#include "PainterTestSupport.h"

#include "commandbars/TkDropShadow.h"
#include "commandbars/TkPopupBar.h"
#include "commandbars/TkShortcutText.h"
#include "commandbars/TkToolBar.h"
#include "commandbars/TkWorkArea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <vector>

inline bool operator==(const CPoint& a, const CPoint& b) {
    return a.x == b.x && a.y == b.y;
}
inline std::ostream& operator<<(std::ostream& out, const CPoint& p) {
    return out << "(" << p.x << ", " << p.y << ")";
}

namespace {

// --- Popup windows.

class CPopupSite : public CWnd {
public:
    std::vector<LPARAM> prepared;
    std::vector<int> controlsWhenPrepared;
    std::vector<int> commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
        if (message == TK_WM_POPUP_PREPARE) {
            prepared.push_back(lParam);
            auto* popup = reinterpret_cast<CTkPopupBar*>(lParam);
            controlsWhenPrepared.push_back(popup->GetControls()->GetCount());
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};


class TkPopupBarTest : public ::testing::Test {
protected:
    // Each test runs on a thread of its own, on a desktop of the popup tests' own: the popups'
    // top-most windows and the cursor moves of their tracking never reach the windows of the
    // other test programs of the run (a foreground window there would lose its place). The
    // thread's mouse tracker and keyboard hook are its own and go with it.
    void Run(const std::function<void()>& body) {
        struct CScene {
            TkPopupBarTest* self;
            const std::function<void()>* body;
        } scene{this, &body};
        HANDLE thread = ::CreateThread(nullptr, 0, [](void* param) -> DWORD {
            auto* scene = static_cast<CScene*>(param);
            if (!TkUseOwnDesktop(L"TarvockPopupBarTests")) {
                ADD_FAILURE() << "no desktop of our own";
                return 0;
            }
            scene->self->Open();
            if (!::testing::Test::HasFatalFailure()) (*scene->body)();
            scene->self->Close();
            return 0;
        }, &scene, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 60000));
        ::CloseHandle(thread);
    }
    void Open() {
        ASSERT_TRUE(m_site.CreateEx(0, nullptr, "site", WS_OVERLAPPEDWINDOW, 300, 300, 300, 200, nullptr, nullptr));
        m_manager.m_pSite = &m_site;
        Options().m_nAnimationType = TK_MENU_ANIMATION_NONE;
        m_bar.reset(new CTestBar(600, 24, TK_BAR_POSITION_TOP, TK_BAR_TYPE_MENUBAR));
        m_bar->m_pManager = &m_manager;
        m_bar->SetWindowPos(HWND_TOPMOST, 0, 0, 600, 24, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    void Close() {
        if (m_bar) m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
        m_bar.reset();
        m_site.DestroyWindow();
    }
    // A menu title on the bar with a popup of count commands (ids 100 on).
    CTkPopupBar* AddMenu(CTkCommandBar* bar, const CRect& rect, int count, const char* caption = "Menu") {
        auto* title = new CTkControlPopup;
        title->m_strCaption = caption;
        bar->GetControls()->Append(title);
        title->m_rcControl = rect;
        auto* popup = static_cast<CTkPopupBar*>(m_manager.CreateDefaultPopupBar());
        for (int i = 0; i < count; ++i) {
            auto* item = new CTkControlButton;
            item->m_strCaption.Format("Command %d", i + 1);
            popup->GetControls()->Add(item, 100 + i);
        }
        title->AttachChildBar(popup);
        popup->InternalRelease();
        return popup;
    }
    CTkCommandBarsSettings& Options() { return *m_manager.GetCommandBarsOptions(); }
    static CRect ScreenRect(CTkCommandBar* bar, const CRect& rect) {
        CRect screen = rect;
        ::MapWindowPoints(bar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&screen), 2);
        return screen;
    }
    static CRect WindowRect(CWnd* wnd) {
        CRect rect;
        wnd->GetWindowRect(&rect);
        return rect;
    }
    // The ids of the controls a bar keeps (not the ones it makes for itself while laid out).
    static std::vector<int> KeptIds(CTkCommandBar* bar) {
        std::vector<int> ids;
        for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
            if (!bar->GetControl(i)->m_bTemporary) ids.push_back(bar->GetControl(i)->m_nId);
        return ids;
    }
    static std::vector<int> ShownIds(CTkPopupBar* popup) {
        std::vector<int> ids;
        for (int i = 0; i < popup->GetControls()->GetCount(); ++i)
            if (popup->GetControl(i)->IsVisible()) ids.push_back(popup->GetControl(i)->m_nId);
        return ids;
    }

    CPopupSite m_site;
    CTkCommandBars m_manager;
    std::unique_ptr<CTestBar> m_bar;
};

TEST_F(TkPopupBarTest, AMenuOpensAsAToolWindowBelowItsTitleAndAboveItNearTheBottom) {
    Run([&] {
        const CRect title(10, 2, 60, 22);
        ACCEL save = {FVIRTKEY | FCONTROL, 'S', 101};
        m_manager.SetAccelTable(::CreateAcceleratorTableW(&save, 1));
        CTkPopupBar* popup = AddMenu(m_bar.get(), title, 5);
        EXPECT_STREQ("CTkPopupBar", popup->GetRuntimeClass()->m_lpszClassName);
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        ASSERT_TRUE(popup->IsWindowVisible());
        // The site prepared the popup before it was laid out, with the popup itself as lParam.
        ASSERT_EQ(1u, m_site.prepared.size());
        EXPECT_EQ((LPARAM)popup, m_site.prepared[0]);
        EXPECT_EQ(m_bar.get(), popup->GetParentBar());
        EXPECT_EQ(m_bar->GetControl(0), popup->GetOwnerControl());

        EXPECT_EQ(0x86000000u | WS_VISIBLE, (DWORD)::GetWindowLongW(popup->GetSafeHwnd(), GWL_STYLE) & 0xFFFF0000u);
        EXPECT_TRUE(::GetWindowLongW(popup->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(::GetWindowLongW(popup->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(::GetClassLongW(popup->GetSafeHwnd(), GCL_STYLE) & CS_DBLCLKS);
        EXPECT_EQ(MA_NOACTIVATE, popup->SendMessage(WM_MOUSEACTIVATE, (WPARAM)m_site.GetSafeHwnd(), 0));
        EXPECT_EQ(5, popup->m_nLastAnimation);
        // The manager's accelerators give the commands their shortcut texts.
        const CString shortcut = popup->GetControl(1)->m_strShortcutText;
        EXPECT_STREQ(CTkShortcutText::Format(save), shortcut);  // "Control+S" under Wine's X11 key names
        EXPECT_EQ(shortcut.GetLength() - 2, shortcut.Find("+S"));
        EXPECT_STREQ("", popup->GetControl(2)->m_strShortcutText);

        const CRect screenTitle = ScreenRect(m_bar.get(), title);
        CRect rect = WindowRect(popup);
        EXPECT_EQ(screenTitle.bottom, rect.top);
        EXPECT_EQ(screenTitle.left - 1, rect.left);  // the painter widens a menu title's rectangle by one
        // Five commands in a column, each as wide as the widest, inside the margins 2, 4, 2, 4.
        const CTkControl* first = popup->GetControl(0);
        const CTkControl* last = popup->GetControl(4);
        EXPECT_EQ(CPoint(2, 4), first->m_rcControl.TopLeft());
        EXPECT_EQ(rect.Width() - 2, last->m_rcControl.right);
        EXPECT_EQ(rect.Height() - 4, last->m_rcControl.bottom);
        EXPECT_EQ(popup->GetControl(1)->m_rcControl.top, first->m_rcControl.bottom);
        const int height = rect.Height();
        m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
        EXPECT_FALSE(popup->IsWindowVisible());
        EXPECT_EQ(nullptr, popup->GetOwnerControl());

        // The same bar at the bottom of the screen: the menu opens above its title.
        m_bar->SetWindowPos(nullptr, 0, 990, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        rect = WindowRect(popup);
        EXPECT_EQ(ScreenRect(m_bar.get(), title).top, rect.bottom);
        EXPECT_EQ(height, rect.Height());
        EXPECT_FALSE(popup->IsScrolling());
    });
}

TEST_F(TkPopupBarTest, ASubmenuOpensRightOfItsItemAndFlipsLeftAtTheScreenEdge) {
    Run([&] {
        CTkPopupBar* menu = AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 0);
        CTkPopupBar* submenu = AddMenu(menu, CRect(), 3, "More");
        for (int i = 0; i < 3; ++i) menu->GetControls()->Add(new CTkControlButton, 200 + i);
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        ASSERT_TRUE(menu->SetPopuped(0, false));
        ASSERT_TRUE(submenu->IsWindowVisible());
        EXPECT_EQ(menu, submenu->GetParentBar());
        EXPECT_EQ(m_bar.get(), submenu->GetRootBar());
        const CRect item = ScreenRect(menu, menu->GetControl(0)->m_rcControl);
        CRect rect = WindowRect(submenu);
        EXPECT_EQ(item.right - 1, rect.left);  // the painter narrows a popup item's rectangle by one
        EXPECT_EQ(item.top, rect.top);
        EXPECT_EQ(0, submenu->m_nPopupFlags);
        // Keys go to the deepest popup: Left closes the submenu and leaves the menu open.
        CTkKeyboardHook::ForThread().RouteKey(WM_KEYDOWN, VK_LEFT, 0);
        EXPECT_FALSE(submenu->IsWindowVisible());
        EXPECT_TRUE(menu->IsWindowVisible());
        m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);

        // The menu bar at the right edge: the menu moves in, the submenu opens to the left.
        m_bar->SetWindowPos(nullptr, 1280 - 70, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        const CRect menuRect = WindowRect(menu);
        EXPECT_EQ(1280, menuRect.right);
        ASSERT_TRUE(menu->SetPopuped(0, false));
        rect = WindowRect(submenu);
        const CRect flippedItem = ScreenRect(menu, menu->GetControl(0)->m_rcControl);
        EXPECT_EQ(flippedItem.left + 1, rect.right);
        EXPECT_EQ(TK_POPUP_LEFT, submenu->m_nPopupFlags);
        EXPECT_GE(rect.left, 0);
    });
}

TEST_F(TkPopupBarTest, AMenuTallerThanTheScreenScrollsOneCommandPerTickWhileTheButtonIsHovered) {
    Run([&] {
        CTkPopupBar* popup = AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 60);
        m_bar->SetWindowPos(nullptr, 0, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        const CRect rect = WindowRect(popup);
        EXPECT_EQ(122, rect.top);  // under the title, the rest of the work area down to 5 above its bottom
        EXPECT_EQ(1019, rect.bottom);
        ASSERT_TRUE(popup->IsScrolling());
        EXPECT_EQ(0, popup->GetFirstShown());
        const int last = popup->GetLastShown();
        ASSERT_GT(last, 10);
        ASSERT_LT(last, 60);
        // The shown commands fit above the down button; the others carry the scroll bit.
        EXPECT_TRUE(popup->GetScrollUpRect().IsRectEmpty());
        const CRect down = popup->GetScrollDownRect();
        EXPECT_EQ(rect.Height() - 4, down.bottom);
        EXPECT_LE(popup->GetControl(last - 1)->m_rcControl.bottom, down.top);
        for (int i = 0; i < 60; ++i)
            EXPECT_EQ(i >= last ? TK_CONTROL_HIDE_SCROLL : 0, popup->GetControl(i)->m_nHideFlags) << i;

        // Hovering the down button scrolls to the end in 80 ms steps, then the timer stops.
        const DWORD start = ::GetTickCount();
        popup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(down.left + 5, down.top + 5));
        EXPECT_TRUE(TkPumpUntil([&] { return popup->GetFirstShown() >= 1; }, 2000));
        EXPECT_TRUE(TkPumpUntil([&] { return popup->GetLastShown() == 60; }, 10000));
        const DWORD spent = ::GetTickCount() - start;
        const int steps = popup->GetFirstShown();
        EXPECT_GE(steps, 60 - last);
        EXPECT_GE(spent + 100, (DWORD)steps * 80u);
        EXPECT_TRUE(TkPumpUntil([&] { return popup->m_hwndScrollTimer == nullptr; }, 1000));
        EXPECT_EQ(steps, popup->GetFirstShown());
        EXPECT_FALSE(popup->GetScrollUpRect().IsRectEmpty());
        EXPECT_TRUE(popup->GetScrollDownRect().IsRectEmpty());
        EXPECT_EQ(TK_CONTROL_HIDE_SCROLL, popup->GetControl(0)->m_nHideFlags);

        // Selecting the first command with the keyboard scrolls it back into view.
        popup->SetSelected(0, true);
        EXPECT_EQ(0, popup->GetFirstShown());
        EXPECT_EQ(0, popup->GetControl(0)->m_nHideFlags);
        // Leaving the button stops a running scroll.
        const CRect again = popup->GetScrollDownRect();
        popup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(again.left + 5, again.top + 5));
        EXPECT_NE(nullptr, popup->m_hwndScrollTimer);
        popup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(again.left + 5, 10));
        EXPECT_EQ(nullptr, popup->m_hwndScrollTimer);
    });
}

TEST_F(TkPopupBarTest, RarelyUsedCommandsHideBehindTheExpandButtonUntilTheMenuExpands) {
    Run([&] {
        Options().m_bAlwaysShowFullMenus = 0;
        CTkPopupBar* popup = AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 5);
        CTkPopupBar* second = AddMenu(m_bar.get(), CRect(70, 2, 120, 22), 3);
        for (int i = 0; i < 3; ++i) second->GetControl(i)->m_nId = 300 + i;
        for (UINT id : {101, 103, 300, 301, 302}) Options().HideCommand(id);

        // A menu whose commands are all rarely used shows them all, with no expand button.
        ASSERT_TRUE(m_bar->SetPopuped(1, false));
        EXPECT_FALSE(second->HasHiddenControls());
        EXPECT_EQ((std::vector<int>{300, 301, 302}), ShownIds(second));

        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        EXPECT_TRUE(popup->HasHiddenControls());
        EXPECT_FALSE(popup->IsExpanded());
        EXPECT_EQ((std::vector<int>{100, 102, 104, TK_ID_POPUP_EXPAND}), ShownIds(popup));
        EXPECT_EQ(TK_CONTROL_HIDE_USAGE, popup->GetControl(1)->m_nHideFlags);
        CTkControl* expand = popup->GetControl(popup->GetControls()->GetCount() - 1);
        EXPECT_EQ(TK_ID_POPUP_EXPAND, expand->m_nId);
        EXPECT_EQ(26, expand->m_nFlags);
        EXPECT_TRUE(expand->m_bTemporary);
        EXPECT_EQ(popup->GetControl(0)->m_rcControl.left, expand->m_rcControl.left);
        EXPECT_EQ(popup->GetControl(0)->m_rcControl.right, expand->m_rcControl.right);
        EXPECT_EQ(WindowRect(popup).Height() - 4, expand->m_rcControl.bottom);
        const int collapsed = WindowRect(popup).Height();

        // Down on the last command expands: all five show, the rarely used ones marked as such.
        popup->SetSelected(4, true);
        CTkKeyboardHook::ForThread().RouteKey(WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_TRUE(popup->IsExpanded());
        EXPECT_EQ((std::vector<int>{100, 101, 102, 103, 104}), ShownIds(popup));
        EXPECT_TRUE(popup->IsRarelyUsed(popup->GetControl(1)));
        EXPECT_FALSE(popup->IsRarelyUsed(popup->GetControl(0)));
        EXPECT_GT(WindowRect(popup).Height(), collapsed);
        EXPECT_TRUE(CTkMouseTracker::ForThread().IsExpandAll());

        // Later menus of the same run open expanded.
        ASSERT_TRUE(m_bar->SetPopuped(1, false));
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        EXPECT_TRUE(popup->IsExpanded());
        EXPECT_EQ((std::vector<int>{100, 101, 102, 103, 104}), ShownIds(popup));

        // A new run starts collapsed again.
        m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
        EXPECT_FALSE(CTkMouseTracker::ForThread().IsExpandAll());
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        EXPECT_FALSE(popup->IsExpanded());
        EXPECT_EQ((std::vector<int>{100, 102, 104, TK_ID_POPUP_EXPAND}), ShownIds(popup));
        // The expand button expands when executed (clicked).
        popup->GetControl(popup->GetControls()->GetCount() - 1)->Execute();
        EXPECT_TRUE(popup->IsExpanded());
        EXPECT_EQ(nullptr, popup->GetControls()->FindById(TK_ID_POPUP_EXPAND));
        EXPECT_EQ(TK_BAR_TYPE_POPUP, popup->m_nBarType);
    });
}

TEST_F(TkPopupBarTest, AMenuRestedOnOrDoubleClickedShowsAllItsCommandsAndAUsedOneStaysShown) {
    Run([&] {
        Options().m_bAlwaysShowFullMenus = 0;
        Options().m_bShowFullAfterDelay = 1;
        CTkPopupBar* popup = AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 5);
        CTkControl* title = m_bar->GetControl(0);
        for (UINT id : {101, 103}) Options().HideCommand(id);
        const CPoint onTitle = ScreenRect(m_bar.get(), title->m_rcControl).CenterPoint();
        auto expandsWithin = [&](DWORD ms) { return TkPumpUntil([&] { return popup->IsExpanded(); }, ms); };
        auto reopen = [&] {
            m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
            return m_bar->SetPopuped(0, false) != 0;
        };
        const std::vector<int> collapsed = {100, 102, 104, TK_ID_POPUP_EXPAND};

        // The pointer resting on the open menu's title expands the menu after the delay, not before.
        ::SetCursorPos(onTitle.x, onTitle.y);
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        EXPECT_EQ(collapsed, ShownIds(popup));
        EXPECT_FALSE(expandsWithin(450));
        EXPECT_TRUE(expandsWithin(3000));
        EXPECT_EQ((std::vector<int>{100, 101, 102, 103, 104}), ShownIds(popup));

        // The pointer elsewhere, or the option off, leave the menu as it opened.
        ::SetCursorPos(500, 500);
        ASSERT_TRUE(reopen());
        EXPECT_FALSE(expandsWithin(1100));
        Options().m_bShowFullAfterDelay = 0;
        ::SetCursorPos(onTitle.x, onTitle.y);
        ASSERT_TRUE(reopen());
        EXPECT_FALSE(expandsWithin(1100));

        // A double-click on a closed title opens its menu; on the open one it expands the menu.
        m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
        const CPoint at = title->m_rcControl.CenterPoint();
        m_bar->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        EXPECT_EQ(0, m_bar->m_nPopupIndex);
        EXPECT_FALSE(popup->IsExpanded());
        m_bar->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        EXPECT_TRUE(popup->IsExpanded());
        EXPECT_EQ(0, m_bar->m_nPopupIndex);
        EXPECT_TRUE(m_site.commands.empty());

        // With a default command the double-click runs it instead, unless the command is disabled.
        m_bar->m_bNoCommandUpdate = 1;  // the site answers no command states: they stay as set here
        popup->GetControl(2)->SetDefaultItem(true);
        popup->GetControl(2)->SetEnabled(false);
        ASSERT_TRUE(reopen());
        m_bar->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        EXPECT_TRUE(m_site.commands.empty());
        EXPECT_TRUE(popup->IsExpanded());
        popup->GetControl(2)->SetEnabled(true);
        ASSERT_TRUE(reopen());
        m_bar->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        EXPECT_EQ(std::vector<int>{102}, m_site.commands);
        EXPECT_FALSE(popup->IsExpanded());
        EXPECT_EQ(-1, m_bar->m_nPopupIndex) << "the command closed the menu";
        popup->GetControl(2)->SetDefaultItem(false);

        // A rarely used command run once shows from then on, and so does the menu that held it; the
        // other rarely used command stays hidden.
        title->m_nId = 60;
        Options().HideCommand(60);
        ASSERT_TRUE(reopen());
        EXPECT_EQ(collapsed, ShownIds(popup));
        popup->Expand();
        ASSERT_EQ(101, popup->GetControl(1)->m_nId);
        popup->GetControl(1)->Execute();
        EXPECT_EQ((std::vector<int>{102, 101}), m_site.commands);
        EXPECT_FALSE(Options().IsCommandHidden(101));
        EXPECT_FALSE(Options().IsCommandHidden(60));
        EXPECT_TRUE(Options().IsCommandHidden(103));
        ASSERT_TRUE(reopen());
        EXPECT_EQ((std::vector<int>{100, 101, 102, 104, TK_ID_POPUP_EXPAND}), ShownIds(popup));
    });
}

TEST_F(TkPopupBarTest, OnAMonitorLeftOfThePrimaryOneCommandsKeepTheirWidth) {
    Run([&] {
        // A second monitor two screens left of the primary: its work area's right edge is -1280.
        CTkMonitorFunctions& f = CTkMonitorFunctions::Instance();
        const CTkMonitorFunctions saved = f;
        static const HMONITOR kLeft = reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x7701));
        f.pfnMonitorFromPoint = [](POINT p, DWORD) { return p.x < 0 ? kLeft : MonitorFromPoint(p, MONITOR_DEFAULTTOPRIMARY); };
        f.pfnMonitorFromRect = [](LPCRECT r, DWORD) { return r->left < 0 ? kLeft : MonitorFromRect(r, MONITOR_DEFAULTTOPRIMARY); };
        f.pfnGetMonitorInfo = [](HMONITOR m, LPMONITORINFO info) -> BOOL {
            if (m != kLeft) return GetMonitorInfoW(m, info);
            info->rcMonitor = info->rcWork = {-2560, 0, -1280, 1024};
            return TRUE;
        };
        CTkPopupBar* popup = static_cast<CTkPopupBar*>(m_manager.CreateDefaultPopupBar());
        auto* item = new CTkControlButton;
        item->m_strCaption = "A command with a long caption";
        popup->GetControls()->Add(item, 100);
        const int opened = popup->PopupAt(-2000, 300, 0, CRect());
        CTkMonitorFunctions::Instance() = saved;
        ASSERT_EQ(1, opened);
        EXPECT_GT(item->m_rcControl.Width(), 100);
        EXPECT_LE(item->m_rcControl.Width(), 1280 / 3);
        EXPECT_EQ(CPoint(-2000, 300), WindowRect(popup).TopLeft());
        popup->SetTrackingMode(TK_TRACKING_NONE, true, false);
        popup->DestroyWindow();
        popup->InternalRelease();
    });
}

TEST_F(TkPopupBarTest, ACommandIsAtMostAThirdOfTheWorkAreasRightEdgeWide) {
    Run([&] {
        // A second monitor right of the primary: its work area ends at 2560, so a command may be
        // 853 pixels wide there, against 426 on the primary.
        CTkMonitorFunctions& f = CTkMonitorFunctions::Instance();
        const CTkMonitorFunctions saved = f;
        static const HMONITOR kRight = reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x7702));
        f.pfnMonitorFromPoint = [](POINT p, DWORD) { return p.x >= 1280 ? kRight : MonitorFromPoint(p, MONITOR_DEFAULTTOPRIMARY); };
        f.pfnMonitorFromRect = [](LPCRECT r, DWORD) { return r->left >= 1280 ? kRight : MonitorFromRect(r, MONITOR_DEFAULTTOPRIMARY); };
        f.pfnGetMonitorInfo = [](HMONITOR m, LPMONITORINFO info) -> BOOL {
            if (m != kRight) return GetMonitorInfoW(m, info);
            info->rcMonitor = info->rcWork = {1280, 0, 2560, 1024};
            return TRUE;
        };
        int widths[2] = {};
        const int xs[2] = {100, 1400};
        for (int i = 0; i < 2; ++i) {
            CTkPopupBar* popup = static_cast<CTkPopupBar*>(m_manager.CreateDefaultPopupBar());
            auto* item = new CTkControlButton;
            item->m_strCaption = CString(std::string(150, 'W').c_str());
            popup->GetControls()->Add(item, 100);
            EXPECT_EQ(1, popup->PopupAt(xs[i], 300, 0, CRect()));
            widths[i] = item->m_rcControl.Width();
            popup->SetTrackingMode(TK_TRACKING_NONE, true, false);
            popup->DestroyWindow();
            popup->InternalRelease();
        }
        CTkMonitorFunctions::Instance() = saved;
        EXPECT_EQ(1280 / 3, widths[0]);
        EXPECT_EQ(2560 / 3, widths[1]);
    });
}

TEST_F(TkPopupBarTest, TheAnimationFollowsAnEightByteSystemMaskAndNoneWithAHostedWindow) {
    Run([&] {
        const wchar_t* key = L"Software\\TarvockTests\\PopupBarMask";
        HKEY hkey = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hkey,
                                                   nullptr));
        const BYTE fade[8] = {0x32, 0x02, 0x02, 0x80, 0x12, 0, 0, 0};  // the system's 8 bytes, with 0x2 and 0x200
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(hkey, L"UserPreferencesMask", 0, REG_BINARY, fade, sizeof fade));
        const wchar_t* saved = CTkPopupBar::s_pszPreferencesKey;
        CTkPopupBar::s_pszPreferencesKey = key;
        Options().m_nAnimationType = TK_MENU_ANIMATION_SYSTEM;
        CTkPopupBar* popup = AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 2);
        EXPECT_EQ(4, popup->GetAnimationKind());
        const BYTE slide[8] = {0x32, 0x00, 0x02, 0x80, 0x12, 0, 0, 0};
        ::RegSetValueExW(hkey, L"UserPreferencesMask", 0, REG_BINARY, slide, sizeof slide);
        EXPECT_EQ(3, popup->GetAnimationKind());
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        EXPECT_EQ(3, popup->m_nLastAnimation);
        m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);

        // A popup hosting a window of its own does not animate; the window survives the popup.
        HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 2, 2, 50, 18, popup->GetSafeHwnd(), nullptr, nullptr,
                                      nullptr);
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(5, popup->GetAnimationKind());
        popup->DestroyWindow();
        EXPECT_TRUE(::IsWindow(edit));
        EXPECT_EQ(m_site.GetSafeHwnd(), ::GetParent(edit));
        ::DestroyWindow(edit);

        CTkPopupBar::s_pszPreferencesKey = saved;
        ::RegCloseKey(hkey);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, key);
    });
}

TEST_F(TkPopupBarTest, AShadowingPainterShadesThePopupAndItsTitleUntilItCloses) {
    Run([&] {
        CPainterScope flat(TK_THEME_FLAT);
        m_manager.SetPainter(flat.get());
        CTkPopupBar* popup = AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 3);
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        std::vector<CTkDropShadowWnd*> shadows = CTkDropShadows::Instance().GetShadows(popup->GetSafeHwnd());
        ASSERT_EQ(4u, shadows.size());  // under and right of the popup, and of its title
        for (CTkDropShadowWnd* shadow : shadows) EXPECT_TRUE(shadow->IsWindowVisible());
        m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
        EXPECT_TRUE(CTkDropShadows::Instance().GetShadows(popup->GetSafeHwnd()).empty());
        m_manager.SetPainter(nullptr);
    });
}

TEST_F(TkPopupBarTest, TheModalLoopEndsWithThePopupAndPassesAQuitOn) {
    Run([&] {
        CTkPopupBar* popup = AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 3);
        // Closed by a command: the loop returns true.
        ASSERT_EQ(1, popup->PopupAt(200, 200, 0, CRect()));
        EXPECT_EQ(CPoint(200, 200), WindowRect(popup).TopLeft());
        ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            CTkMouseTracker::ForThread().CloseTracked();
        });
        EXPECT_TRUE(popup->TrackModal());
        EXPECT_FALSE(popup->IsWindowVisible());

        // A quit ends the loop and the popup, and is posted again for the loop above.
        ASSERT_EQ(1, popup->PopupAt(200, 200, 0, CRect()));
        ::PostQuitMessage(42);
        EXPECT_FALSE(popup->TrackModal());
        EXPECT_FALSE(popup->IsWindowVisible());
        EXPECT_EQ(TK_TRACKING_NONE, popup->m_nTrackingMode);
        MSG msg;
        ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(42, (int)msg.wParam);
    });
}

TEST_F(TkPopupBarTest, APopupToolBarLaysItsControlsOutInRowsAndCopiesKeepThePopupFields) {
    Run([&] {
        CTkPopupToolBar bar;
        bar.m_pManager = &m_manager;
        for (int i = 0; i < 30; ++i) {
            auto* button = new CTkControlButton;
            button->m_strCaption = "Button";
            button->m_nStyle = TK_CONTROL_STYLE_CAPTION;
            bar.GetControls()->Add(button, 400 + i);
        }
        ASSERT_EQ(1, bar.PopupAt(100, 100, 0, CRect()));
        CRect rect = WindowRect(&bar);
        EXPECT_LE(rect.Width(), CTkPopupToolBar::kMaxRowWidth + 4);
        EXPECT_GE(rect.Height(), 2 * bar.GetControl(0)->m_rcControl.Height()) << rect.Width();  // more than one row
        EXPECT_GT(bar.GetControl(29)->m_rcControl.top, bar.GetControl(0)->m_rcControl.top);
        EXPECT_EQ(TK_BAR_TYPE_TOOLBAR, bar.m_nBarType);
        bar.SetTrackingMode(TK_TRACKING_NONE, true, false);

        bar.m_bTearOff = 1;
        bar.m_strTearOffCaption = "Tools";
        bar.m_nTearOffId = 77;
        bar.m_bShadow = 0;
        CTkCommandBar* copy = bar.Clone(true);
        auto* popupCopy = dynamic_cast<CTkPopupToolBar*>(copy);
        ASSERT_NE(nullptr, popupCopy);
        EXPECT_EQ(1, popupCopy->m_bTearOff);
        EXPECT_STREQ("Tools", popupCopy->m_strTearOffCaption);
        EXPECT_EQ(77u, popupCopy->m_nTearOffId);
        EXPECT_EQ(0, popupCopy->m_bShadow);
        EXPECT_EQ(30, popupCopy->GetControls()->GetCount());
        copy->InternalRelease();
    });
}

// --- Tearing a popup off.

// A step run from a thread timer once the next modal loop dispatches messages; a button release
// follows it, so the drag ends whatever the step found.
std::function<void()>* g_inLoop = nullptr;
HWND g_dragWindow = nullptr;
void RunInLoop(std::function<void()>& step, HWND dragged) {
    g_inLoop = &step;
    g_dragWindow = dragged;
    ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        if (std::function<void()>* run = g_inLoop) {
            g_inLoop = nullptr;
            (*run)();
            ::PostMessageW(g_dragWindow, WM_LBUTTONUP, 0, 0);
        }
    });
}

const UINT kTearOffId = 0x1000010;

// A menu of three commands (the second rarely used) that can be torn off, open under its title.
CTkPopupBar* OpenTearOffMenu(CTestBar* bar, CTkCommandBarsSettings& options) {
    options.m_bAlwaysShowFullMenus = 0;
    options.HideCommand(101);
    auto* popup = static_cast<CTkPopupBar*>(bar->GetControl(0)->GetCommandBar());
    popup->m_bTearOff = 1;
    popup->m_strTearOffCaption = "Torn";
    popup->m_nTearOffId = kTearOffId;
    popup->m_nTearOffWidth = 60;
    return bar->SetPopuped(0, false) ? popup : nullptr;
}

TEST_F(TkPopupBarTest, AGripperDraggedElevenPixelsAwayTearsTheMenuOffIntoAFloatingBarAndNineDoNot) {
    Run([&] {
        AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 3);
        CTkPopupBar* popup = OpenTearOffMenu(m_bar.get(), Options());
        ASSERT_NE(nullptr, popup);
        ASSERT_TRUE(popup->HasHiddenControls());
        // The gripper strip is on top, the commands below it.
        const CRect gripper = ScreenRect(popup, popup->GetGripperRect());
        ASSERT_FALSE(gripper.IsRectEmpty());
        EXPECT_EQ(popup->GetGripperRect().bottom, popup->GetControl(0)->m_rcControl.top);
        EXPECT_EQ(popup->GetControl(0)->m_rcControl.Width(), gripper.Width());
        const int bars = m_manager.GetCount();
        const CPoint middle = gripper.CenterPoint();

        std::function<void()> steps = [&] {
            EXPECT_TRUE(CTkMouseTracker::ForThread().IsModalLoopRunning());
            EXPECT_EQ(popup->GetSafeHwnd(), ::GetCapture());
            popup->TearOffStep(CPoint(middle.x, gripper.top - 9));
            EXPECT_EQ(nullptr, popup->GetTearOffBar());
            EXPECT_TRUE(popup->IsWindowVisible());

            const CPoint away(middle.x, gripper.top - 11);
            popup->TearOffStep(away);
            CTkToolBar* torn = popup->GetTearOffBar();
            ASSERT_NE(nullptr, torn);
            EXPECT_FALSE(popup->IsWindowVisible());
            EXPECT_TRUE(torn->IsWindowVisible());
            EXPECT_EQ(torn, m_manager.FindBar(kTearOffId));
            EXPECT_EQ(bars + 1, m_manager.GetCount());
            EXPECT_STREQ("Torn", torn->m_strTitle);
            EXPECT_EQ(TK_BAR_POSITION_FLOATING, torn->m_nPosition);
            EXPECT_EQ(1, torn->m_bUserToolbar);
            EXPECT_EQ(60, torn->m_nMRUWidth);
            // Copies of the commands, the rarely used one shown, no expand button.
            EXPECT_EQ((std::vector<int>{100, 101, 102}), KeptIds(torn));
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(0, torn->GetControl(i)->m_nHideFlags & (TK_CONTROL_HIDE_SCROLL | TK_CONTROL_HIDE_USAGE));
                EXPECT_NE(popup->GetControl(i), torn->GetControl(i));
            }
            // Its top edge's middle is 10 pixels above the cursor.
            CRect window = WindowRect(torn);
            EXPECT_EQ(away.y - 10, window.top);
            EXPECT_LE(std::abs((window.left + window.right) / 2 - away.x), 1);

            // Back on the gripper the menu shows again; out again, the same bar follows the cursor.
            popup->TearOffStep(middle);
            EXPECT_TRUE(popup->IsWindowVisible());
            EXPECT_FALSE(torn->IsWindowVisible());
            popup->TearOffStep(CPoint(400, 600));
            EXPECT_EQ(torn, popup->GetTearOffBar());
            EXPECT_TRUE(torn->IsWindowVisible());
            EXPECT_EQ(590, WindowRect(torn).top);
            EXPECT_EQ(bars + 1, m_manager.GetCount());
        };
        RunInLoop(steps, popup->GetSafeHwnd());
        popup->TrackTearOff(middle);
        // Dropped outside: the floating bar stays and the menus close.
        CTkToolBar* torn = dynamic_cast<CTkToolBar*>(m_manager.FindBar(kTearOffId));
        ASSERT_NE(nullptr, torn);
        EXPECT_TRUE(torn->IsWindowVisible());
        EXPECT_EQ(nullptr, popup->GetTearOffBar());
        EXPECT_EQ(TK_TRACKING_NONE, popup->m_nTrackingMode);
        EXPECT_EQ(TK_TRACKING_NONE, m_bar->m_nTrackingMode);
        EXPECT_FALSE(CTkMouseTracker::ForThread().HasTrackedBars());
        EXPECT_FALSE(CTkMouseTracker::ForThread().IsModalLoopRunning());
        EXPECT_EQ(nullptr, ::GetCapture());

        // Torn off again: the bar with the tear-off id is shown, no second one is made.
        torn->SetVisible(false);
        ASSERT_NE(nullptr, OpenTearOffMenu(m_bar.get(), Options()));
        std::function<void()> again = [&] {
            popup->TearOffStep(CPoint(500, 500));
            EXPECT_EQ(torn, popup->GetTearOffBar());
        };
        RunInLoop(again, popup->GetSafeHwnd());
        popup->TrackTearOff(middle);
        EXPECT_TRUE(torn->IsVisible());
        EXPECT_EQ(bars + 1, m_manager.GetCount());
        EXPECT_EQ((std::vector<int>{100, 101, 102}), KeptIds(torn));
    });
}

TEST_F(TkPopupBarTest, ATearOffDroppedBackOnTheGripperOrEndedByAQuitLeavesNoBarBehind) {
    Run([&] {
        AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 3);
        CTkPopupBar* popup = OpenTearOffMenu(m_bar.get(), Options());
        ASSERT_NE(nullptr, popup);
        const CPoint middle = ScreenRect(popup, popup->GetGripperRect()).CenterPoint();
        const int bars = m_manager.GetCount();

        // Out and back in, then released: the bar made on the way is gone and the menu is open.
        std::function<void()> steps = [&] {
            popup->TearOffStep(CPoint(600, 600));
            ASSERT_NE(nullptr, popup->GetTearOffBar());
            popup->TearOffStep(middle);
        };
        RunInLoop(steps, popup->GetSafeHwnd());
        popup->TrackTearOff(middle);
        EXPECT_EQ(bars, m_manager.GetCount());
        EXPECT_EQ(nullptr, m_manager.FindBar(kTearOffId));
        EXPECT_TRUE(popup->IsWindowVisible());
        EXPECT_NE(TK_TRACKING_NONE, popup->m_nTrackingMode);
        EXPECT_FALSE(CTkMouseTracker::ForThread().IsModalLoopRunning());

        // Escape through the keyboard hook ends the drag; the torn-off bar stays.
        std::function<void()> escape = [&] {
            popup->TearOffStep(CPoint(600, 600));
            CTkKeyboardHook::ForThread().RouteKey(WM_KEYDOWN, VK_ESCAPE, 0);
        };
        RunInLoop(escape, popup->GetSafeHwnd());
        popup->TrackTearOff(middle);
        ASSERT_NE(nullptr, m_manager.FindBar(kTearOffId));
        EXPECT_TRUE(m_manager.FindBar(kTearOffId)->IsVisible());
        EXPECT_EQ(TK_TRACKING_NONE, popup->m_nTrackingMode);
        EXPECT_EQ(nullptr, ::GetCapture());

        // The program quits during the drag: the loop ends at once and the quit reaches the caller.
        ASSERT_NE(nullptr, OpenTearOffMenu(m_bar.get(), Options()));
        ::PostQuitMessage(7);
        popup->TrackTearOff(middle);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_FALSE(CTkMouseTracker::ForThread().IsModalLoopRunning());
        MSG msg;
        ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(7, (int)msg.wParam);

        // The gripper is hot while the cursor is on it, and there is none without tear-off.
        popup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(popup->GetGripperRect().left + 2, popup->GetGripperRect().top + 2));
        EXPECT_TRUE(popup->IsGripperHot());
        m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
        EXPECT_FALSE(popup->IsGripperHot());
        popup->m_bTearOff = 0;
        ASSERT_TRUE(m_bar->SetPopuped(0, false));
        EXPECT_TRUE(popup->GetGripperRect().IsRectEmpty());
        EXPECT_EQ(CPoint(2, 4), popup->GetControl(0)->m_rcControl.TopLeft());
    });
}

// Pressed on the gripper, dragged away and released through the system's input.
TEST_F(TkPopupBarTest, ARealDragOnTheGripperTearsTheMenuOffIntoAFloatingBarWithItsCommands) {
    Run([&] {
        AddMenu(m_bar.get(), CRect(10, 2, 60, 22), 3);
        // The mouse follows the capture of the foreground thread only: the site is in front.
        m_site.SetWindowPos(nullptr, 700, 500, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        CTkToolBar* torn = nullptr;
        for (int attempt = 0; attempt < 3 && !torn; ++attempt) {
            m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
            TkBringToFront(m_site.GetSafeHwnd(), 1000);
            CTkPopupBar* popup = OpenTearOffMenu(m_bar.get(), Options());
            ASSERT_NE(nullptr, popup);
            TkPumpUntil([&] { return popup->IsWindowVisible() != FALSE; }, 1000);
            const CPoint start = ScreenRect(popup, popup->GetGripperRect()).CenterPoint();
            // The system gives mouse input to the window that holds the capture when the input
            // is sent: the moves go once the drag runs.
            static INPUT s_drag[4];
            s_drag[0] = TkMouseInput(start + CPoint(5, -5), 0);
            s_drag[1] = TkMouseInput(start + CPoint(150, 200), 0);
            s_drag[2] = TkMouseInput(start + CPoint(160, 220), 0);
            s_drag[3] = TkMouseInput(start + CPoint(160, 220), MOUSEEVENTF_LEFTUP);
            static HWND s_popup;
            s_popup = popup->GetSafeHwnd();
            ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
                if (!CTkMouseTracker::ForThread().IsModalLoopRunning()) return;
                ::KillTimer(nullptr, id);
                ::SendInput(4, s_drag, sizeof(INPUT));
                // Should the release go astray, the drag still ends and the attempt fails.
                ::SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR late, DWORD) {
                    ::KillTimer(nullptr, late);
                    if (CTkMouseTracker::ForThread().IsModalLoopRunning()) ::PostMessageW(s_popup, WM_LBUTTONUP, 0, 0);
                });
            });
            INPUT press[] = {TkMouseInput(start, 0), TkMouseInput(start, MOUSEEVENTF_LEFTDOWN)};
            ::SendInput(2, press, sizeof(INPUT));
            TkPumpUntil([&] {
                auto* bar = dynamic_cast<CTkToolBar*>(m_manager.FindBar(kTearOffId));
                return bar && bar->IsWindowVisible() && !::GetCapture() &&
                       !CTkMouseTracker::ForThread().HasTrackedBars();
            }, 2000);
            torn = dynamic_cast<CTkToolBar*>(m_manager.FindBar(kTearOffId));
            if (torn && !torn->IsWindowVisible()) torn = nullptr;
        }
        ASSERT_NE(nullptr, torn);
        EXPECT_EQ(TK_BAR_POSITION_FLOATING, torn->m_nPosition);
        EXPECT_EQ((std::vector<int>{100, 101, 102}), KeptIds(torn));
        EXPECT_FALSE(CTkMouseTracker::ForThread().HasTrackedBars());
        EXPECT_FALSE(CTkMouseTracker::ForThread().IsModalLoopRunning());
        EXPECT_EQ(nullptr, ::GetCapture());
    });
}

}  // namespace
