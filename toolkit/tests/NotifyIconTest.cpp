#include "TkTestSupport.h"
#include "alerts/TkNotifyIconWnd.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace {

struct CShellCall {
    DWORD message;
    NOTIFYICONDATAA record;
};

std::vector<CShellCall> g_calls;
BOOL g_shellAnswer = TRUE;

BOOL WINAPI RecordShellCall(DWORD message, PNOTIFYICONDATAA record) {
    g_calls.push_back({message, *record});
    return g_shellAnswer;
}

// Puts the recorder in the shell's place for one test.
class CShellRecorder {
public:
    explicit CShellRecorder(BOOL answer = TRUE) : m_saved(CTkNotifyIconWnd::s_pfnShellNotifyIcon) {
        g_calls.clear();
        g_shellAnswer = answer;
        CTkNotifyIconWnd::s_pfnShellNotifyIcon = RecordShellCall;
    }
    ~CShellRecorder() { CTkNotifyIconWnd::s_pfnShellNotifyIcon = m_saved; }

private:
    CTkNotifyIconWnd::PFNSHELLNOTIFYICON m_saved;
};

// The owner: records the offered callbacks and the commands it receives.
class CNotifyOwner : public CWnd {
public:
    LRESULT answer = 0;
    std::vector<LPARAM> offered;
    std::vector<WPARAM> commands;
    bool Create() { return CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TK_WM_TRAYNOTIFY) {
            offered.push_back(lParam);
            return answer;
        }
        if (message == WM_COMMAND) {
            commands.push_back(wParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class TkNotifyIcon : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(owner.Create());
    }
    void TearDown() override { owner.DestroyWindow(); }
    CNotifyOwner owner;
};

TEST_F(TkNotifyIcon, CreateAddsTheIconWithItsRecord) {
    CShellRecorder shell;
    auto owned = std::make_unique<CTkNotifyIconWnd>();
    CTkNotifyIconWnd& icon = *owned;
    EXPECT_TRUE(icon.IsHidden());
    EXPECT_TRUE(icon.IsRemoved());
    EXPECT_EQ(64, icon.GetTipLimit());
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    EXPECT_EQ(128, icon.GetTipLimit());
    EXPECT_FALSE(icon.IsHidden());
    EXPECT_FALSE(icon.IsRemoved());
    ASSERT_EQ(1u, g_calls.size());
    const CShellCall& add = g_calls[0];
    EXPECT_EQ((DWORD)NIM_ADD, add.message);
    EXPECT_EQ((UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP), add.record.uFlags);
    EXPECT_EQ(TK_WM_TRAYNOTIFY, add.record.uCallbackMessage);
    EXPECT_EQ(7u, add.record.uID);
    EXPECT_EQ(icon.GetSafeHwnd(), add.record.hWnd);
    EXPECT_NE(nullptr, add.record.hIcon);
    EXPECT_STREQ("Velko", add.record.szTip);
    EXPECT_EQ((DWORD)NOTIFYICONDATAA_V2_SIZE, add.record.cbSize);
    EXPECT_FALSE(::IsWindowVisible(icon.GetSafeHwnd()));
    g_calls.clear();
    owned.reset();  // the destructor takes the icon out of the notification area
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ((DWORD)NIM_DELETE, g_calls[0].message);
    EXPECT_EQ(7u, g_calls[0].record.uID);
}

TEST_F(TkNotifyIcon, TipIsCutAtCreationButNotLater) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    const std::string tip(140, 'x');
    ASSERT_TRUE(icon.Create(tip.c_str(), &owner, 301, 7, 0, true));
    EXPECT_EQ(63u, std::string(icon.GetRecord().szTip).size());
    g_calls.clear();
    ASSERT_TRUE(icon.SetTipText(tip.c_str()));
    EXPECT_EQ(127u, std::string(icon.GetRecord().szTip).size());
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ((DWORD)NIM_MODIFY, g_calls[0].message);
    EXPECT_EQ((UINT)NIF_TIP, g_calls[0].record.uFlags);
}

TEST_F(TkNotifyIcon, FailedAddAsksForAReAdd) {
    CShellRecorder shell(FALSE);
    CTkNotifyIconWnd icon;
    EXPECT_FALSE(icon.Create("Velko", &owner, 301, 7, 0, true));
    EXPECT_TRUE(icon.IsReAddPending());
    EXPECT_TRUE(icon.IsHidden());
    // While hidden, changes go to the record only.
    g_calls.clear();
    EXPECT_TRUE(icon.SetTipText("changed"));
    EXPECT_TRUE(icon.SetIconFromResource(302));
    EXPECT_TRUE(g_calls.empty());
    EXPECT_STREQ("changed", icon.GetRecord().szTip);
}

TEST_F(TkNotifyIcon, HideAndRemove) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    g_calls.clear();
    EXPECT_TRUE(icon.HideTrayIcon());
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ((DWORD)NIM_MODIFY, g_calls[0].message);
    EXPECT_EQ((UINT)NIF_STATE, g_calls[0].record.uFlags);
    EXPECT_EQ((DWORD)NIS_HIDDEN, g_calls[0].record.dwState);
    EXPECT_EQ((DWORD)NIS_HIDDEN, g_calls[0].record.dwStateMask);
    EXPECT_TRUE(icon.IsHidden());
    EXPECT_TRUE(icon.HideTrayIcon());
    EXPECT_EQ(1u, g_calls.size());
    EXPECT_TRUE(icon.RemoveTrayIcon());
    EXPECT_EQ((DWORD)NIM_DELETE, g_calls.back().message);
    EXPECT_TRUE(icon.IsRemoved());
    size_t calls = g_calls.size();
    EXPECT_TRUE(icon.RemoveTrayIcon());
    EXPECT_EQ(calls, g_calls.size());
    // Adding again works after a removal.
    EXPECT_TRUE(icon.AddTrayIcon());
    EXPECT_EQ((DWORD)NIM_ADD, g_calls.back().message);
    EXPECT_FALSE(icon.IsHidden());
}

TEST_F(TkNotifyIcon, CallbackForAnotherIconIsIgnored) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    EXPECT_EQ(0, icon.SendMessage(TK_WM_TRAYNOTIFY, 8, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(owner.offered.empty());
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(TkNotifyIcon, DoubleClickSendsTheDefaultByPosition) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 1, true));
    EXPECT_EQ(1, icon.SendMessage(TK_WM_TRAYNOTIFY, 7, WM_LBUTTONDBLCLK));
    ASSERT_EQ(1u, owner.offered.size());
    EXPECT_EQ(WM_LBUTTONDBLCLK, owner.offered[0]);
    ASSERT_EQ(1u, owner.commands.size());
    EXPECT_EQ(40002u, owner.commands[0]);
}

TEST_F(TkNotifyIcon, DoubleClickSendsTheDefaultCommand) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", 0, &owner, 301));
    // The short form uses icon id 0 and a default by command id (0).
    EXPECT_EQ(0u, icon.GetRecord().uID);
    EXPECT_EQ(1, icon.SendMessage(TK_WM_TRAYNOTIFY, 0, WM_LBUTTONDBLCLK));
    ASSERT_EQ(1u, owner.commands.size());
    EXPECT_EQ(0u, owner.commands[0]);
    CTkNotifyIconWnd second;
    ASSERT_TRUE(second.Create("Velko", &owner, 301, 7, 40003, false));
    second.SendMessage(TK_WM_TRAYNOTIFY, 7, WM_LBUTTONDBLCLK);
    EXPECT_EQ(40003u, owner.commands.back());
}

TEST_F(TkNotifyIcon, OwnerThatHandlesTheOfferStopsTheDefault) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    owner.answer = 1;
    EXPECT_EQ(1, icon.SendMessage(TK_WM_TRAYNOTIFY, 7, WM_LBUTTONDBLCLK));
    EXPECT_EQ(1, icon.SendMessage(TK_WM_TRAYNOTIFY, 7, WM_RBUTTONUP));
    EXPECT_EQ(2u, owner.offered.size());
    EXPECT_TRUE(owner.commands.empty());
    // Other mouse messages are answered 1 without a command.
    owner.answer = 0;
    EXPECT_EQ(1, icon.SendMessage(TK_WM_TRAYNOTIFY, 7, WM_MOUSEMOVE));
    EXPECT_TRUE(owner.commands.empty());
}

// While the context menu is tracked: its default item, then the menu is closed.
UINT g_defaultSeen = (UINT)-2;
void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    HWND menuWindow = TkFindThreadWindow(L"#32768", nullptr);
    HMENU menu = menuWindow ? (HMENU)::SendMessageW(menuWindow, MN_GETHMENU, 0, 0) : nullptr;
    g_defaultSeen = menu ? ::GetMenuDefaultItem(menu, FALSE, 0) : (UINT)-3;
    ::EndMenu();
}

TEST_F(TkNotifyIcon, RightClickTracksTheMenuWithItsDefault) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 3, true));
    g_calls.clear();
    g_defaultSeen = (UINT)-2;
    ::SetTimer(nullptr, 0, 200, CloseMenuSoon);
    EXPECT_EQ(1, icon.SendMessage(TK_WM_TRAYNOTIFY, 7, WM_RBUTTONUP));
    EXPECT_EQ(40003u, g_defaultSeen);  // position 3 is "Exit"
    ASSERT_FALSE(g_calls.empty());
    EXPECT_EQ((DWORD)NIM_SETFOCUS, g_calls.back().message);
    EXPECT_TRUE(owner.commands.empty());
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, owner.GetSafeHwnd(), WM_NULL, WM_NULL, PM_REMOVE));
}

TEST_F(TkNotifyIcon, MenuThatDoesNotLoadGivesZero) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 9, 0, true));
    EXPECT_EQ(0, icon.SendMessage(TK_WM_TRAYNOTIFY, 9, WM_CONTEXTMENU));
}

TEST_F(TkNotifyIcon, AnimationCyclesThroughItsFrames) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    const UINT ids[] = {301, 302};
    const char* tips[] = {"one", "two"};
    ASSERT_TRUE(icon.SetAnimationIcons(ids, 2, tips));
    EXPECT_EQ(2, icon.GetFrameCount());
    HICON before = icon.GetRecord().hIcon;
    g_calls.clear();
    icon.SendMessage(WM_TIMER, CTkNotifyIconWnd::kAnimationTimer, 0);
    EXPECT_STREQ("one", icon.GetRecord().szTip);
    EXPECT_NE(before, icon.GetRecord().hIcon);
    EXPECT_EQ(1, icon.GetFrameIndex());
    icon.SendMessage(WM_TIMER, CTkNotifyIconWnd::kAnimationTimer, 0);
    EXPECT_STREQ("two", icon.GetRecord().szTip);
    EXPECT_EQ(0, icon.GetFrameIndex());
    EXPECT_FALSE(g_calls.empty());
    icon.StopAnimation();
    EXPECT_STREQ("Velko", icon.GetRecord().szTip);
    // Without tips each frame keeps the current tip; a missing icon ends the list early.
    const UINT broken[] = {302, 999, 301};
    EXPECT_FALSE(icon.SetAnimationIcons(broken, tips, 3));
    EXPECT_EQ(1, icon.GetFrameCount());
    ASSERT_TRUE(icon.SetAnimationIcons(ids, 2, nullptr));
    icon.SendMessage(WM_TIMER, CTkNotifyIconWnd::kAnimationTimer, 0);
    EXPECT_STREQ("Velko", icon.GetRecord().szTip);
    icon.ClearAnimation();
    EXPECT_EQ(0, icon.GetFrameCount());
}

TEST_F(TkNotifyIcon, AnimationTimerRuns) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    const UINT ids[] = {301, 302};
    ASSERT_TRUE(icon.SetAnimationIcons(ids, 2, nullptr));
    icon.SetAnimationTimer(1002, 20);
    EXPECT_TRUE(TkPumpUntil([&] { return icon.GetFrameIndex() == 1; }, 3000));
    icon.StopAnimation();
}

TEST_F(TkNotifyIcon, AttachesWindowsToAHiddenParent) {
    CShellRecorder shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(icon.AttachToHiddenParent(&other));
    ASSERT_NE(nullptr, icon.GetHiddenParent());
    EXPECT_EQ(icon.GetHiddenParent()->GetSafeHwnd(), ::GetWindow(other.GetSafeHwnd(), GW_OWNER));
    other.DestroyWindow();
}

// A shell that keeps its icons: an add fails for an icon it already holds, a delete or a change
// for one it does not; a state change can hide an icon.
struct CFakeShellIcon {
    HWND window;
    UINT id;
    bool hidden;
    HICON icon;
    std::string tip;
};
std::vector<CFakeShellIcon> g_shellIcons;

std::vector<CFakeShellIcon>::iterator FindShellIcon(const NOTIFYICONDATAA& record) {
    for (auto it = g_shellIcons.begin(); it != g_shellIcons.end(); ++it)
        if (it->window == record.hWnd && it->id == record.uID) return it;
    return g_shellIcons.end();
}

BOOL WINAPI FakeShell(DWORD message, PNOTIFYICONDATAA record) {
    g_calls.push_back({message, *record});
    auto it = FindShellIcon(*record);
    switch (message) {
    case NIM_ADD:
        if (it != g_shellIcons.end()) return FALSE;
        g_shellIcons.push_back({record->hWnd, record->uID,
                                (record->uFlags & NIF_STATE) && (record->dwStateMask & record->dwState & NIS_HIDDEN),
                                record->hIcon, record->szTip});
        return TRUE;
    case NIM_DELETE:
        if (it == g_shellIcons.end()) return FALSE;
        g_shellIcons.erase(it);
        return TRUE;
    case NIM_MODIFY:
        if (it == g_shellIcons.end()) return FALSE;
        if (record->uFlags & NIF_STATE && record->dwStateMask & NIS_HIDDEN)
            it->hidden = (record->dwState & NIS_HIDDEN) != 0;
        if (record->uFlags & NIF_ICON) it->icon = record->hIcon;
        if (record->uFlags & NIF_TIP) it->tip = record->szTip;
        return TRUE;
    default:
        return it != g_shellIcons.end();
    }
}

class CFakeShellScope {
public:
    CFakeShellScope() : m_saved(CTkNotifyIconWnd::s_pfnShellNotifyIcon) {
        g_calls.clear();
        g_shellIcons.clear();
        CTkNotifyIconWnd::s_pfnShellNotifyIcon = FakeShell;
    }
    ~CFakeShellScope() {
        CTkNotifyIconWnd::s_pfnShellNotifyIcon = m_saved;
        g_shellIcons.clear();
    }
    // The taskbar goes away with every icon in it.
    void RestartTaskbar() { g_shellIcons.clear(); }

private:
    CTkNotifyIconWnd::PFNSHELLNOTIFYICON m_saved;
};

UINT TaskbarCreated() {
    return ::RegisterWindowMessageW(L"TaskbarCreated");
}

TEST_F(TkNotifyIcon, RecordSizeIsTheVersionFiveLayoutOfThisBuild) {
    CTkNotifyIconWnd icon;
    // Everything of the structure before the item's GUID: 488 bytes only in a 32-bit build.
    EXPECT_EQ((DWORD)offsetof(NOTIFYICONDATAA, guidItem), icon.GetRecord().cbSize);
#ifdef _WIN64
    EXPECT_EQ(504u, icon.GetRecord().cbSize);
#endif
}

TEST_F(TkNotifyIcon, ModifyTipAndIconReachTheShell) {
    CFakeShellScope shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    ASSERT_EQ(1u, g_shellIcons.size());
    HICON first = g_shellIcons[0].icon;
    EXPECT_EQ("Velko", g_shellIcons[0].tip);
    g_calls.clear();
    ASSERT_TRUE(icon.SetTipText("3 new messages"));
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ((DWORD)NIM_MODIFY, g_calls[0].message);
    EXPECT_EQ((UINT)NIF_TIP, g_calls[0].record.uFlags);
    EXPECT_EQ("3 new messages", g_shellIcons[0].tip);
    ASSERT_TRUE(icon.SetIconFromResource(302));
    ASSERT_EQ(2u, g_calls.size());
    EXPECT_EQ((DWORD)NIM_MODIFY, g_calls[1].message);
    EXPECT_EQ((UINT)NIF_ICON, g_calls[1].record.uFlags);
    EXPECT_NE(first, g_shellIcons[0].icon);
    EXPECT_EQ(icon.GetRecord().hIcon, g_shellIcons[0].icon);
    // The same handle again changes nothing.
    EXPECT_TRUE(icon.SetIconHandle(icon.GetRecord().hIcon));
    EXPECT_EQ(2u, g_calls.size());
    EXPECT_TRUE(icon.RemoveTrayIcon());
    EXPECT_TRUE(g_shellIcons.empty());
}

TEST_F(TkNotifyIcon, ComesBackWhenTheTaskbarIsCreatedAgain) {
    CFakeShellScope shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    ASSERT_EQ(1u, g_shellIcons.size());
    EXPECT_TRUE(icon.IsReAddPending());
    shell.RestartTaskbar();
    g_calls.clear();
    ASSERT_NE(0u, TaskbarCreated());
    icon.SendMessage(TaskbarCreated(), 0, 0);
    ASSERT_EQ(1u, g_shellIcons.size());
    EXPECT_FALSE(g_shellIcons[0].hidden);
    EXPECT_EQ(7u, g_shellIcons[0].id);
    EXPECT_EQ(icon.GetSafeHwnd(), g_shellIcons[0].window);
    EXPECT_EQ("Velko", g_shellIcons[0].tip);
    EXPECT_EQ(icon.GetRecord().hIcon, g_shellIcons[0].icon);
    ASSERT_FALSE(g_calls.empty());
    EXPECT_EQ((DWORD)NIM_ADD, g_calls.back().message);
    EXPECT_EQ((UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP), g_calls.back().record.uFlags);
    EXPECT_EQ(TK_WM_TRAYNOTIFY, g_calls.back().record.uCallbackMessage);
    EXPECT_FALSE(icon.IsHidden());
    EXPECT_FALSE(icon.IsRemoved());
    EXPECT_TRUE(icon.IsReAddPending());
    // And again after a second restart; the callbacks still reach the owner.
    shell.RestartTaskbar();
    icon.SendMessage(TaskbarCreated(), 0, 0);
    EXPECT_EQ(1u, g_shellIcons.size());
    EXPECT_EQ(1, icon.SendMessage(TK_WM_TRAYNOTIFY, 7, WM_MOUSEMOVE));
    EXPECT_EQ(1u, owner.offered.size());
}

TEST_F(TkNotifyIcon, WorkAreaChangeKeepsExactlyOneIcon) {
    CFakeShellScope shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    // The taskbar stays: the icon is still there when the message comes.
    icon.SendMessage(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    ASSERT_EQ(1u, g_shellIcons.size());
    EXPECT_FALSE(g_shellIcons[0].hidden);
    EXPECT_FALSE(icon.IsHidden());
    EXPECT_FALSE(icon.IsRemoved());
    // A TaskbarCreated without a restart (a shell that announces itself twice) as well.
    icon.SendMessage(TaskbarCreated(), 0, 0);
    EXPECT_EQ(1u, g_shellIcons.size());
    EXPECT_FALSE(icon.IsHidden());
}

TEST_F(TkNotifyIcon, AddFailedAtStartIsRetriedWhenTheTaskbarComes) {
    CFakeShellScope shell;
    CTkNotifyIconWnd icon;
    CTkNotifyIconWnd::s_pfnShellNotifyIcon = RecordShellCall;
    g_shellAnswer = FALSE;  // no taskbar yet
    EXPECT_FALSE(icon.Create("Velko", &owner, 301, 7, 0, true));
    EXPECT_TRUE(icon.IsReAddPending());
    g_shellAnswer = TRUE;
    CTkNotifyIconWnd::s_pfnShellNotifyIcon = FakeShell;
    icon.SendMessage(TaskbarCreated(), 0, 0);
    ASSERT_EQ(1u, g_shellIcons.size());
    EXPECT_FALSE(icon.IsHidden());
    EXPECT_FALSE(icon.IsRemoved());
}

TEST_F(TkNotifyIcon, HiddenOrRemovedIconStaysAwayWhenTheTaskbarComesBack) {
    CFakeShellScope shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    ASSERT_TRUE(icon.HideTrayIcon());
    ASSERT_EQ(1u, g_shellIcons.size());
    EXPECT_TRUE(g_shellIcons[0].hidden);
    shell.RestartTaskbar();
    g_calls.clear();
    icon.SendMessage(TaskbarCreated(), 0, 0);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(g_shellIcons.empty());
    EXPECT_TRUE(icon.IsHidden());
    CTkNotifyIconWnd removed;
    ASSERT_TRUE(removed.Create("Velko", &owner, 301, 8, 0, true));
    ASSERT_TRUE(removed.RemoveTrayIcon());
    EXPECT_FALSE(removed.IsReAddPending());
    g_calls.clear();
    removed.SendMessage(TaskbarCreated(), 0, 0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(TkNotifyIcon, AddingAgainLeavesNoStaleHiddenIcon) {
    CFakeShellScope shell;
    CTkNotifyIconWnd icon;
    ASSERT_TRUE(icon.Create("Velko", &owner, 301, 7, 0, true));
    ASSERT_TRUE(icon.HideTrayIcon());
    ASSERT_EQ(1u, g_shellIcons.size());
    ASSERT_TRUE(g_shellIcons[0].hidden);
    // Showing it again through a new add: the hidden one goes first, one visible icon remains.
    ASSERT_TRUE(icon.AddTrayIcon());
    ASSERT_EQ(1u, g_shellIcons.size());
    EXPECT_FALSE(g_shellIcons[0].hidden);
    EXPECT_FALSE(icon.IsHidden());
    // Creating the same object again (a new tip and icon) replaces the icon as well.
    ASSERT_TRUE(icon.HideTrayIcon());
    ASSERT_TRUE(icon.Create("Velko 2", &owner, 302, 7, 0, true));
    ASSERT_EQ(1u, g_shellIcons.size());
    EXPECT_FALSE(g_shellIcons[0].hidden);
    EXPECT_EQ("Velko 2", g_shellIcons[0].tip);
    // A work-area change after that still keeps one visible icon.
    icon.SendMessage(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    ASSERT_EQ(1u, g_shellIcons.size());
    EXPECT_FALSE(g_shellIcons[0].hidden);
}

// The real shell of the prefix under the run's X display: add, modify and delete answer, and the
// callback message sent to the icon's window reaches the owner first.
TEST_F(TkNotifyIcon, RealShellAddModifyDelete) {
    auto icon = std::make_unique<CTkNotifyIconWnd>();
    if (!icon->Create("Velko", &owner, 301, 7, 0, true)) {
        GTEST_SKIP() << "the prefix's shell has no notification area on this desktop";
    }
    EXPECT_FALSE(icon->IsHidden());
    EXPECT_TRUE(icon->SetTipText("3 new messages"));
    EXPECT_TRUE(icon->SetIconFromResource(302));
    EXPECT_EQ(1, icon->SendMessage(TK_WM_TRAYNOTIFY, 7, WM_MOUSEMOVE));
    ASSERT_EQ(1u, owner.offered.size());
    EXPECT_EQ(WM_MOUSEMOVE, owner.offered[0]);
    EXPECT_TRUE(icon->RemoveTrayIcon());
    EXPECT_TRUE(icon->IsRemoved());
}

}  // namespace
