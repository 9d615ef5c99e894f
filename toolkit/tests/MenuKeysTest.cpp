// Menus opened from the keyboard as a user types: Alt held while a title's letter is pressed and
// released, then the arrows, Enter and Esc, all as real key presses, in a frame whose message loop
// lets the command-bars manager filter its messages the way the program's frames do.
#include "HookTestSupport.h"
#include "TkTestSupport.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkMenuBar.h"

#include "DesktopSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const UINT kMenuId = 722;
const UINT kPaste = 104, kDate = 106;
const UINT kFirstCommand = 100, kLastCommand = 108;
const int kFileTitle = 0, kEditTitle = 1, kToolsTitle = 2;

// The frame's view: it has the focus whenever no menu takes the keys, and counts the keys it gets.
class CKeyView : public CWnd {
public:
    int keyDowns = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN) ++keyDowns;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A frame that gives its manager the messages the program's frames give theirs, and records the
// commands it is sent.
class CKeysFrame : public CFrameWnd {
public:
    CTkCommandBars* manager = nullptr;
    std::vector<UINT> commands;

    bool PreTranslateMessage(MSG* msg) override {
        if (CFrameWnd::PreTranslateMessage(msg)) return true;
        return manager && manager->FilterFrameMessage(msg);
    }

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (manager && manager->HandleFrameMessage(message, wParam, lParam, result)) return true;
        return CFrameWnd::OnWndMsg(message, wParam, lParam, result);
    }
    // Every command of the menu is handled (so the menus show them enabled) and recorded when run.
    bool OnCmdMsg(UINT id, int code, void* extra) override {
        if (code != CN_COMMAND || id < kFirstCommand || id > kLastCommand) return CFrameWnd::OnCmdMsg(id, code, extra);
        if (!extra) commands.push_back(id);
        return true;
    }
    void PostNcDestroy() override {}
};

// Pumps as the program's message loop does: the application's pre-translation first.
bool PumpAsProgramUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    return TestPumpUntil(condition, timeoutMs, [](MSG* msg) { return AfxGetApp()->PreTranslateMessage(msg); });
}

void Settle() {
    PumpAsProgramUntil([] { return false; }, 300);
}

bool Until(const std::function<void()>& input, const std::function<bool()>& condition) {
    return TestInputUntil(input, [&] { return PumpAsProgramUntil(condition, 1500); });
}

struct CChordOutcome {
    bool ready = false;
    // Alt+E, Down, Enter.
    bool editOpened = false;
    int hotOnOpen = -2;
    bool moved = false;
    int hotAfterDown = -2;
    UINT idAfterDown = 0;
    bool ran = false;
    std::vector<UINT> editCommands;
    bool editClosed = false;
    bool focusBack = false;
    // Alt+F, Esc, Esc.
    bool fileOpened = false;
    bool firstEscClosedPopup = false;
    int modeAfterFirstEsc = -1;
    bool secondEscLeft = false;
    std::vector<UINT> fileCommands;
    // Alt+T, Right, Enter.
    bool toolsOpened = false;
    bool submenuOpened = false;
    std::vector<UINT> toolsCommands;
    bool toolsClosed = false;
    // Alt+E, then Alt alone closes the menu and leaves the bar.
    bool reopened = false;
    bool altClosedAll = false;
    int modeAfterAlt = -1;
    // The view never saw the keys the menus took.
    int viewKeyDowns = -1;
    // The system's own menu loop started (and was ended by the watch below).
    bool systemMenuLoop = false;
};

// Watches for the system's menu loop, which would hold the keys until Esc: it is noted and ended,
// so the scene goes on to report what the keys did.
thread_local bool* systemMenuLoopSeen = nullptr;
void CALLBACK WatchMenuLoop(HWND, UINT, UINT_PTR, DWORD) {
    GUITHREADINFO info = {sizeof(info)};
    if (systemMenuLoopSeen && ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE)) {
        *systemMenuLoopSeen = true;
        ::EndMenu();
    }
}

bool AllHeld(const CChordOutcome& out) {
    return out.ready && !out.systemMenuLoop && out.editOpened && out.moved && out.ran && out.editClosed && out.focusBack &&
           out.fileOpened && out.firstEscClosedPopup && out.secondEscLeft && out.toolsOpened && out.submenuOpened &&
           out.toolsClosed && out.reopened && out.altClosedAll && out.modeAfterAlt == TK_TRACKING_NONE;
}

CTkCommandBar* PopupOf(CTkCommandBar* bar, int title) {
    CTkControl* control = bar->GetControl(title);
    return control ? control->GetCommandBar() : nullptr;
}

bool PopupTracks(CTkCommandBar* bar, int title) {
    CTkCommandBar* popup = PopupOf(bar, title);
    return bar->m_nPopupIndex == title && popup && popup->m_nTrackingMode != TK_TRACKING_NONE && popup->GetSafeHwnd() &&
           ::IsWindowVisible(popup->GetSafeHwnd());
}

void RunChords(CChordOutcome& out) {
    CKeysFrame frame;
    if (!frame.CreateEx(0, nullptr, "keys", WS_OVERLAPPEDWINDOW, 100, 100, 500, 300, nullptr, nullptr)) return;
    auto* manager = new CTkCommandBars;
    frame.manager = manager;
    manager->AttachFrame(&frame);
    CTkToolBar* bar = manager->CreateMenuBar("Menu Bar", kMenuId, RUNTIME_CLASS(CTkMenuBar));
    CKeyView view;
    if (bar && view.Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 60, 480, 200), &frame, AFX_IDW_PANE_FIRST)) {
        frame.ShowWindow(SW_SHOW);
        frame.RecalcLayout();
        out.ready = TkBringToFront(frame.GetSafeHwnd(), 5000);
        view.SetFocus();
        Settle();
    }
    systemMenuLoopSeen = &out.systemMenuLoop;
    const UINT_PTR watch = ::SetTimer(nullptr, 0, 200, WatchMenuLoop);
    if (out.ready) {
        out.editOpened = Until([] { TestPressKey('E', true); }, [&] { return PopupTracks(bar, kEditTitle); });
        Settle();  // the release of Alt is handled before the next key
        CTkCommandBar* edit = PopupOf(bar, kEditTitle);
        out.hotOnOpen = edit ? edit->m_nHotIndex : -2;
        out.moved = edit && Until([] { TkSendKey(VK_DOWN); }, [&] { return edit->m_nHotIndex != out.hotOnOpen; });
        out.hotAfterDown = edit ? edit->m_nHotIndex : -2;
        if (edit && edit->GetControl(out.hotAfterDown)) out.idAfterDown = edit->GetControl(out.hotAfterDown)->m_nId;
        out.ran = Until([] { TkSendKey(VK_RETURN); }, [&] { return !frame.commands.empty(); });
        Settle();
        out.editCommands = frame.commands;
        out.editClosed = bar->m_nTrackingMode == TK_TRACKING_NONE && bar->m_nPopupIndex == -1 && !(edit && edit->m_nTrackingMode);
        out.focusBack = ::GetFocus() == view.GetSafeHwnd();
        frame.commands.clear();

        out.fileOpened = Until([] { TestPressKey('F', true); }, [&] { return PopupTracks(bar, kFileTitle); });
        Settle();
        out.firstEscClosedPopup = Until([] { TkSendKey(VK_ESCAPE); }, [&] { return bar->m_nPopupIndex == -1; });
        out.modeAfterFirstEsc = bar->m_nTrackingMode;
        out.secondEscLeft = Until([] { TkSendKey(VK_ESCAPE); }, [&] { return bar->m_nTrackingMode == TK_TRACKING_NONE; });
        Settle();
        out.fileCommands = frame.commands;
        frame.commands.clear();

        out.toolsOpened = Until([] { TestPressKey('T', true); }, [&] { return PopupTracks(bar, kToolsTitle); });
        Settle();
        CTkCommandBar* tools = PopupOf(bar, kToolsTitle);
        out.submenuOpened = tools && Until([] { TkSendKey(VK_RIGHT); }, [&] { return PopupTracks(tools, 0); });
        out.toolsClosed = Until([] { TkSendKey(VK_RETURN); }, [&] { return !frame.commands.empty(); });
        Settle();
        out.toolsCommands = frame.commands;
        out.toolsClosed = out.toolsClosed && bar->m_nTrackingMode == TK_TRACKING_NONE && tools && tools->m_nTrackingMode == TK_TRACKING_NONE;

        out.reopened = Until([] { TestPressKey('E', true); }, [&] { return PopupTracks(bar, kEditTitle); });
        Settle();
        CTkCommandBar* reopened = PopupOf(bar, kEditTitle);
        out.altClosedAll = Until([] { TkSendKey(VK_MENU); },
                                 [&] { return bar->m_nPopupIndex == -1 && reopened && !reopened->m_nTrackingMode; });
        Settle();
        out.modeAfterAlt = bar->m_nTrackingMode;
        out.viewKeyDowns = view.keyDowns;
    }
    ::KillTimer(nullptr, watch);
    systemMenuLoopSeen = nullptr;
    // Whatever a failed step left open closes before the frame goes.
    CTkMouseTracker::ForThread().CloseTracked();
    view.DestroyWindow();
    frame.manager = nullptr;
    frame.DestroyWindow();
    manager->InternalRelease();
}

TEST(TkMenuBarChords, AMenuOpenedByAltAndItsLetterTakesTheArrowsEnterAndEsc) {
    // The scene runs again, in a new frame, when a key press of the shared display went astray; the
    // last outcome is checked.
    static CChordOutcome out;  // outlives a scene that does not end
    ASSERT_TRUE(TestRunInputScene(L"TarvockMenuChordTests", [] {
        out = CChordOutcome();
        RunChords(out);
        return AllHeld(out);
    }, 120000));
    ASSERT_TRUE(out.ready);
    EXPECT_FALSE(out.systemMenuLoop);

    // Alt+E opens Edit; Down moves the selection; Enter runs the selected command once, closes the
    // menu and leaves the focus in the view.
    EXPECT_TRUE(out.editOpened);
    EXPECT_TRUE(out.moved);
    EXPECT_EQ(out.hotOnOpen + 1, out.hotAfterDown);
    EXPECT_EQ(kPaste, out.idAfterDown);
    EXPECT_TRUE(out.ran);
    EXPECT_EQ(std::vector<UINT>{kPaste}, out.editCommands);
    EXPECT_TRUE(out.editClosed);
    EXPECT_TRUE(out.focusBack);

    // Alt+F, Esc back to the bar's title, Esc out of the bar: nothing runs.
    EXPECT_TRUE(out.fileOpened);
    EXPECT_TRUE(out.firstEscClosedPopup);
    EXPECT_EQ(TK_TRACKING_ACTIVE, out.modeAfterFirstEsc);
    EXPECT_TRUE(out.secondEscLeft);
    EXPECT_TRUE(out.fileCommands.empty());

    // Alt+T, Right opens the submenu of the first item, Enter runs its first command.
    EXPECT_TRUE(out.toolsOpened);
    EXPECT_TRUE(out.submenuOpened);
    EXPECT_EQ(std::vector<UINT>{kDate}, out.toolsCommands);
    EXPECT_TRUE(out.toolsClosed);

    // Alt alone closes a menu opened by Alt+letter and leaves the bar.
    EXPECT_TRUE(out.reopened);
    EXPECT_TRUE(out.altClosedAll);
    EXPECT_EQ(TK_TRACKING_NONE, out.modeAfterAlt);

    EXPECT_EQ(0, out.viewKeyDowns);
}

TEST(TkMenuBarChords, TheMenuKeyWhileABarTracksIsAnsweredNotPassedOn) {
    ASSERT_TRUE(TkDesktopReady());
    CKeysFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "keys", WS_OVERLAPPEDWINDOW, 100, 100, 500, 300, nullptr, nullptr));
    auto* manager = new CTkCommandBars;
    frame.manager = manager;
    manager->AttachFrame(&frame);
    CTkToolBar* bar = manager->CreateMenuBar("Menu Bar", kMenuId, RUNTIME_CLASS(CTkMenuBar));
    ASSERT_NE(nullptr, bar);
    frame.ShowWindow(SW_SHOW);
    frame.RecalcLayout();
    bool systemMenuLoop = false;
    systemMenuLoopSeen = &systemMenuLoop;
    const UINT_PTR watch = ::SetTimer(nullptr, 0, 200, WatchMenuLoop);

    // Edit is open, as Alt+E opens it: the menu key pressed alone is answered and the menu stays.
    bar->SetTrackingMode(TK_TRACKING_ACTIVE, false, true);
    bar->SetPopuped(kEditTitle, true);
    ASSERT_TRUE(PopupTracks(bar, kEditTitle));
    EXPECT_EQ(0, frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0));
    EXPECT_FALSE(systemMenuLoop);
    EXPECT_TRUE(PopupTracks(bar, kEditTitle));

    // With nothing open it enters the bar at its first title.
    CTkMouseTracker::ForThread().CloseTracked();
    ASSERT_EQ(TK_TRACKING_NONE, bar->m_nTrackingMode);
    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_FALSE(systemMenuLoop);
    EXPECT_EQ(TK_TRACKING_ACTIVE, bar->m_nTrackingMode);
    EXPECT_EQ(kFileTitle, bar->m_nHotIndex);

    ::KillTimer(nullptr, watch);
    systemMenuLoopSeen = nullptr;
    CTkMouseTracker::ForThread().CloseTracked();
    frame.manager = nullptr;
    frame.DestroyWindow();
    manager->InternalRelease();
}

}  // namespace
