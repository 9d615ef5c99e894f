// The menu bar: filled from a menu resource, it takes the frame's native menu (and frees it),
// keeps a control set per menu, and is entered from the keyboard with real key presses.
#include "HookTestSupport.h"
#include "PainterTestSupport.h"
#include "commandbars/TkCommandBarsSettings.h"
#include "commandbars/TkMenuBar.h"
#include "images/TkIconStore.h"

#include "afxmdi.h"

#include "DesktopSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A frame that gives every popup control a child bar of its own (released with the frame).
class CMenuFrame : public CFrameWnd {
public:
    ~CMenuFrame() override {
        for (CTkCommandBar* bar : children) bar->InternalRelease();
    }
    std::vector<CTkCommandBar*> children;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TK_WM_POPUPBAR_CREATE) {
            auto* request = reinterpret_cast<CTkPopupBarRequest*>(lParam);
            auto* bar = new CTkCommandBar;
            bar->m_nBarType = TK_BAR_TYPE_POPUP;
            bar->m_nPosition = TK_BAR_POSITION_POPUP;
            children.push_back(bar);
            request->pBar = bar;
            return 1;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override {}
};

// A manager whose context id names the menu of the active document type.
class CContextManager : public CTkCommandBars {
public:
    int GetContextId() const override { return context; }
    int context = 0;
};

// A control collection that reports its end.
class CWatchedControls : public CTkControls {
public:
    explicit CWatchedControls(bool* gone) : m_gone(gone) {}
    ~CWatchedControls() override { *m_gone = true; }

private:
    bool* m_gone;
};

std::vector<CString> Captions(const CTkCommandBar* bar) {
    std::vector<CString> captions;
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i) captions.push_back(bar->GetControl(i)->m_strCaption);
    return captions;
}

TEST(TkMenuBarTest, TheBarTakesTheFramesMenuAndFreesWhatItTook) {
    ASSERT_TRUE(TkDesktopReady());
    CMenuFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 10, 10, 400, 200, nullptr, nullptr));
    HMENU native = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(720));
    ASSERT_TRUE(::SetMenu(frame.GetSafeHwnd(), native));

    auto* bar = new CTkMenuBar;
    EXPECT_EQ(TK_BAR_TYPE_MENUBAR, bar->m_nBarType);
    ASSERT_TRUE(bar->Create(WS_CHILD | WS_VISIBLE, &frame, 0xE81A));
    EXPECT_EQ(0, bar->LoadMenu(799));
    ASSERT_EQ(1, bar->LoadMenu(720));
    EXPECT_EQ((std::vector<CString>{"&File", "&Edit"}), Captions(bar));
    EXPECT_TRUE(bar->GetControl(0)->IsPopupType());
    ASSERT_NE(nullptr, bar->GetControl(0)->GetCommandBar());
    EXPECT_EQ(2, bar->GetControl(0)->GetCommandBar()->GetControls()->GetCount());
    EXPECT_EQ(720u, bar->m_nMenuResourceId);
    EXPECT_EQ(720, bar->m_nCurrentKey);
    // A menu title runs no command: the platform reports its submenu's handle as its id, which
    // would leave the title greyed by a command update that finds no handler for it.
    EXPECT_EQ(0, bar->GetControl(0)->m_nId);
    frame.ShowWindow(SW_SHOWNOACTIVATE);
    bar->UpdateCommandUI(true);
    EXPECT_EQ(1, bar->GetControl(0)->m_bEnabled);
    EXPECT_EQ(1, bar->GetControl(1)->m_bEnabled);
    // The native menu left the frame; the bar holds it and the frame's menu key.
    EXPECT_EQ(nullptr, ::GetMenu(frame.GetSafeHwnd()));
    EXPECT_EQ(native, bar->GetNativeMenu());
    EXPECT_TRUE(CTkSubclassRegistry::Instance().IsSubclassed(frame.GetSafeHwnd()));

    // A second set stored under a key releases the set it replaces; the bar frees its sets.
    bool firstGone = false, secondGone = false;
    bar->SetMenuSet(5, new CWatchedControls(&firstGone));
    bar->SetMenuSet(5, new CWatchedControls(&secondGone));
    EXPECT_TRUE(firstGone);
    EXPECT_FALSE(secondGone);
    EXPECT_EQ(1, bar->GetMenuSetCount());

    bar->DestroyWindow();
    bar->InternalRelease();
    EXPECT_TRUE(secondGone);
    EXPECT_FALSE(::IsMenu(native));
    EXPECT_FALSE(CTkSubclassRegistry::Instance().IsSubclassed(frame.GetSafeHwnd()));
    frame.DestroyWindow();
}

TEST(TkMenuBarTest, EachMenuKeepsItsOwnCustomisedControls) {
    ASSERT_TRUE(TkDesktopReady());
    CMenuFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 10, 10, 400, 200, nullptr, nullptr));
    HMENU native = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(720));
    ::SetMenu(frame.GetSafeHwnd(), native);
    auto* manager = new CContextManager;
    manager->SetCustomizationEnabled(true);
    manager->m_pSite = &frame;
    auto* bar = new CTkMenuBar;
    bar->m_pManager = manager;
    bar->m_nBarId = 0xE81A;
    bar->m_strTitle = "Menu Bar";
    ASSERT_TRUE(bar->Create(WS_CHILD | WS_VISIBLE, &frame, 0xE81A));
    ASSERT_EQ(1, bar->LoadMenu(720));
    bar->GetControls()->KeepOriginal();
    // The user removes Edit from the first document type's menu.
    bar->GetControls()->RemoveControlAt(1);

    HMENU other = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(721));
    manager->context = 721;
    bar->SwitchMenu(other);
    EXPECT_EQ(721, bar->m_nCurrentKey);
    EXPECT_EQ((std::vector<CString>{"&View"}), Captions(bar));
    ASSERT_NE(nullptr, bar->GetMenuSet(720));
    EXPECT_EQ(1, bar->GetMenuSet(720)->GetCount());
    // The same menu again changes nothing.
    bar->SwitchMenu(other);
    EXPECT_EQ(1, bar->GetMenuSetCount());

    // Back to the frame's own menu: its customised set returns, the other is kept.
    bar->SwitchMenu(native);
    EXPECT_EQ((std::vector<CString>{"&File"}), Captions(bar));
    EXPECT_EQ(bar, bar->GetControl(0)->GetParentBar());
    ASSERT_NE(nullptr, bar->GetMenuSet(721));
    EXPECT_EQ(nullptr, bar->GetMenuSet(720));

    // A copy carries its own clones of the sets.
    std::unique_ptr<CTkMenuBar> copy(new CTkMenuBar);
    copy->Copy(bar, true);
    EXPECT_EQ(720u, copy->m_nMenuResourceId);
    ASSERT_NE(nullptr, copy->GetMenuSet(721));
    EXPECT_NE(bar->GetMenuSet(721), copy->GetMenuSet(721));

    // Before storing: back to the frame's menu, and the untouched set of the other menu goes.
    bar->PrepareForSave();
    EXPECT_EQ(0, bar->GetMenuSetCount());
    EXPECT_EQ(1, bar->m_bSwitchedToDefault);

    // Reset reloads the current menu after asking.
    std::vector<CString> prompts;
    AFX_MSGBOX_HOOK previous = AfxSetMessageBoxHook([&](const CString& text, UINT type) {
        prompts.push_back(text);
        EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONEXCLAMATION), type);
        return IDOK;
    });
    bar->SetMenuSet(99, new CTkControls);
    bar->ResetToOriginal();
    AfxSetMessageBoxHook(previous);
    ASSERT_EQ(1u, prompts.size());
    EXPECT_STREQ("Are you sure you want to reset the changes made to the 'Menu Bar' toolbar?", prompts[0]);
    EXPECT_EQ((std::vector<CString>{"&File", "&Edit"}), Captions(bar));

    ::DestroyMenu(other);
    bar->DestroyWindow();
    bar->InternalRelease();
    manager->InternalRelease();
    frame.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// An MDI frame: the bar follows the active child, its menus and its caption buttons.

class CMdiTestFrame : public CMDIFrameWnd {
protected:
    void PostNcDestroy() override {}
};

// A child of a document type that records the system commands it receives.
class CDocumentChild : public CMDIChildWnd {
public:
    CDocumentChild(UINT resourceId, bool* deleted, std::vector<UINT>* commands) : m_deleted(deleted), m_commands(commands) {
        m_nIDResource = resourceId;
    }
    ~CDocumentChild() override { *m_deleted = true; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SYSCOMMAND) m_commands->push_back((UINT)(wParam & 0xFFF0));
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }

private:
    bool* m_deleted;
    std::vector<UINT>* m_commands;
};

std::vector<int> CaptionControlIds(const CTkCommandBar* bar) {
    std::vector<int> ids;
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i) {
        const int id = bar->GetControl(i)->m_nId;
        if (id >= TK_ID_MDI_CLOSE && id <= TK_ID_MDI_SYSMENU) ids.push_back(id);
    }
    return ids;
}

std::vector<CString> MenuCaptions(const CTkCommandBar* bar) {
    std::vector<CString> captions;
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
        if (bar->GetControl(i)->IsPopupType() && bar->GetControl(i)->m_nId != TK_ID_MDI_SYSMENU)
            captions.push_back(bar->GetControl(i)->m_strCaption);
    return captions;
}

TEST(TkMenuBarMdiTest, TheBarFollowsTheActiveChildItsMenuAndItsCaptionButtons) {
    ASSERT_TRUE(TkDesktopReady());
    CMdiTestFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "mdi", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 600, 400, nullptr,
                               nullptr));
    ASSERT_TRUE(frame.CreateClient());
    HMENU native = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(720));
    ::SetMenu(frame.GetSafeHwnd(), native);
    auto* manager = new CTkCommandBars;
    manager->AttachFrame(&frame);
    manager->SetCustomizationEnabled(true);
    manager->EnableDocking();
    auto* bar = dynamic_cast<CTkMenuBar*>(manager->CreateMenuBar("Menu Bar", 720, RUNTIME_CLASS(CTkMenuBar)));
    ASSERT_NE(nullptr, bar);
    bar->m_dwFlags |= TK_MENUBAR_SYSMENU;
    frame.ShowWindow(SW_SHOWNOACTIVATE);
    frame.RecalcLayout();
    EXPECT_EQ(1, bar->m_bMdiFrame);
    EXPECT_EQ(frame.GetClientHwnd(), bar->GetMdiClient());
    EXPECT_EQ(nullptr, ::GetMenu(frame.GetSafeHwnd()));
    // No child: the frame's own menu.
    EXPECT_EQ(720, manager->GetContextId());
    // The window commands' pictures are in the bar's icon store.
    for (UINT command : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}) {
        CTkIconEntry* picture = bar->GetIconStore()->GetImage(command, 16);
        ASSERT_NE(nullptr, picture) << command;
        EXPECT_EQ(16, picture->GetWidth());
    }

    HMENU viewMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(721));
    bool firstGone = false, secondGone = false;
    std::vector<UINT> firstCommands, secondCommands;
    auto* first = new CDocumentChild(721, &firstGone, &firstCommands);
    ASSERT_TRUE(first->Create(nullptr, "First", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 250, 150),
                              &frame));
    ASSERT_TRUE(TkPumpUntil([&] { return bar->GetActiveChild() == first->GetSafeHwnd(); }, 2000));
    EXPECT_EQ(721, manager->GetContextId());
    // A child that is not maximised keeps its buttons on its own caption.
    EXPECT_TRUE(CaptionControlIds(bar).empty());

    // The document type's menu: the bar switches to it, the frame gets no native menu.
    EXPECT_EQ(0, ::SendMessageW(frame.GetClientHwnd(), WM_MDISETMENU, (WPARAM)viewMenu, 0));
    EXPECT_EQ((std::vector<CString>{"&View"}), MenuCaptions(bar));
    EXPECT_EQ(721, bar->m_nCurrentKey);
    EXPECT_EQ(nullptr, ::GetMenu(frame.GetSafeHwnd()));

    // Maximised: the system menu at the left, minimise, restore and close at the right.
    frame.MDIMaximize(first->GetSafeHwnd());
    ASSERT_TRUE(TkPumpUntil([&] { return CaptionControlIds(bar).size() == 4; }, 2000));
    EXPECT_EQ(TK_ID_MDI_SYSMENU, bar->GetControl(0)->m_nId);
    const int count = bar->GetControls()->GetCount();
    EXPECT_EQ(TK_ID_MDI_MINIMIZE, bar->GetControl(count - 3)->m_nId);
    EXPECT_EQ(TK_ID_MDI_RESTORE, bar->GetControl(count - 2)->m_nId);
    EXPECT_EQ(TK_ID_MDI_CLOSE, bar->GetControl(count - 1)->m_nId);
    CTkControl* close = bar->GetControl(count - 1);
    EXPECT_EQ(0x1B, close->m_nFlags);
    EXPECT_STREQ("r", close->m_strCaption);
    EXPECT_EQ(16, close->GetRect().Width());
    EXPECT_EQ(16, close->GetRect().Height());
    // The system-menu popup holds the child's system commands by their texts.
    auto* sysMenu = dynamic_cast<CTkControlMdiSysMenu*>(bar->GetControl(0));
    ASSERT_NE(nullptr, sysMenu);
    EXPECT_NE(nullptr, sysMenu->GetChildIcon());
    ASSERT_NE(nullptr, sysMenu->GetCommandBar());
    EXPECT_EQ(0, sysMenu->GetCommandBar()->m_bCustomizable);
    CTkControl* closeItem = sysMenu->GetCommandBar()->GetControls()->FindById(SC_CLOSE);
    ASSERT_NE(nullptr, closeItem);
    EXPECT_EQ(TK_CONTROL_TYPE_BUTTON, closeItem->m_nType);
    EXPECT_FALSE(closeItem->m_strCaption.IsEmpty());
    EXPECT_NE(nullptr, sysMenu->GetCommandBar()->GetControls()->FindById(SC_RESTORE));

    // A second document without a minimise box takes over, maximised: its menu is the frame's own.
    auto* second = new CDocumentChild(720, &secondGone, &secondCommands);
    ASSERT_TRUE(second->Create(nullptr, "Second", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(20, 20, 270, 170),
                               &frame));
    // (The MDI client gives every child all the caption boxes.)
    ::SetWindowLongW(second->GetSafeHwnd(), GWL_STYLE, second->GetStyle() & ~WS_MINIMIZEBOX);
    frame.MDIMaximize(second->GetSafeHwnd());
    ASSERT_TRUE(TkPumpUntil([&] { return bar->GetActiveChild() == second->GetSafeHwnd(); }, 2000));
    TkPumpPending();
    ::SendMessageW(frame.GetClientHwnd(), WM_MDISETMENU, 0, 0);
    EXPECT_EQ((std::vector<CString>{"&File", "&Edit"}), MenuCaptions(bar));
    EXPECT_EQ((std::vector<int>{TK_ID_MDI_SYSMENU, TK_ID_MDI_RESTORE, TK_ID_MDI_CLOSE}), CaptionControlIds(bar));
    // The first document's set was kept for its menu, without the caption controls.
    ASSERT_NE(nullptr, bar->GetMenuSet(721));
    EXPECT_EQ(1, bar->GetMenuSet(721)->GetCount());

    // Restore goes to the active child; the bar drops the buttons once the child is restored.
    bar->GetControls()->FindById(TK_ID_MDI_RESTORE)->Execute();
    ASSERT_TRUE(TkPumpUntil([&] { return CaptionControlIds(bar).empty(); }, 2000));
    EXPECT_EQ((std::vector<UINT>{SC_RESTORE}), secondCommands);
    EXPECT_FALSE(second->GetStyle() & WS_MAXIMIZE);
    ::SetWindowLongW(second->GetSafeHwnd(), GWL_STYLE, second->GetStyle() | WS_MINIMIZEBOX);

    // Back to the first document, maximised: its menu again, and close ends it.
    frame.MDIActivate(first->GetSafeHwnd());
    frame.MDIMaximize(first->GetSafeHwnd());
    ::SendMessageW(frame.GetClientHwnd(), WM_MDISETMENU, (WPARAM)viewMenu, 0);
    EXPECT_EQ((std::vector<CString>{"&View"}), MenuCaptions(bar));
    ASSERT_TRUE(TkPumpUntil([&] { return CaptionControlIds(bar).size() == 4; }, 2000));
    bar->GetControls()->FindById(TK_ID_MDI_CLOSE)->Execute();
    ASSERT_TRUE(TkPumpUntil([&] { return firstGone; }, 2000));
    EXPECT_EQ((std::vector<UINT>{SC_CLOSE}), firstCommands);
    ASSERT_TRUE(TkPumpUntil([&] { return bar->GetActiveChild() == second->GetSafeHwnd(); }, 2000));
    TkPumpPending();

    // Minimise goes to the child as well; with the last child closed no caption control is left.
    frame.MDIMaximize(second->GetSafeHwnd());
    ASSERT_TRUE(TkPumpUntil([&] { return bar->GetControls()->FindById(TK_ID_MDI_MINIMIZE) != nullptr; }, 2000));
    bar->GetControls()->FindById(TK_ID_MDI_MINIMIZE)->Execute();
    ASSERT_TRUE(TkPumpUntil([&] { return CaptionControlIds(bar).empty(); }, 2000));
    EXPECT_EQ((std::vector<UINT>{SC_RESTORE, SC_MINIMIZE}), secondCommands);
    second->SendMessage(WM_CLOSE);
    EXPECT_TRUE(secondGone);
    ASSERT_TRUE(TkPumpUntil([&] { return bar->GetActiveChild() == nullptr; }, 2000));
    EXPECT_TRUE(CaptionControlIds(bar).empty());
    EXPECT_EQ(720, manager->GetContextId());

    // A bar told to leave the client's menus alone lets the client install them.
    bar->m_dwFlags |= TK_MENUBAR_IGNORE_MDISETMENU;
    ::SendMessageW(frame.GetClientHwnd(), WM_MDISETMENU, (WPARAM)viewMenu, 0);
    EXPECT_EQ(viewMenu, ::GetMenu(frame.GetSafeHwnd()));
    ::SetMenu(frame.GetSafeHwnd(), nullptr);

    ::DestroyMenu(viewMenu);
    manager->InternalRelease();
    frame.DestroyWindow();
    TkPumpPending();
}

// ---------------------------------------------------------------------------------------------
// The keyboard, with real key presses on a desktop of the test's own.

struct CKeyOutcome {
    bool altEntered = false;
    int hotAfterAlt = -2;
    bool mnemonicOpened = false;
    int popupIndex = -2;
    bool escapeLeft = false;
    bool popupClosed = false;
    bool f10Entered = false;
};

// Sends input until the condition holds, a few times should the first input be lost.
bool Until(const std::function<void()>& input, const std::function<bool()>& condition) {
    return TestInputUntil(input, [&] { return TkPumpUntil(condition, 1500); });
}

void RunKeys(CKeyOutcome& out) {
    CMenuFrame frame;
    if (!frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 100, 100, 500, 300, nullptr, nullptr)) return;
    auto* bar = new CTkMenuBar;
    bar->Create(WS_CHILD | WS_VISIBLE, &frame, 0xE81A);
    bar->LoadMenu(720);
    frame.ShowWindow(SW_SHOW);
    frame.RecalcLayout();
    frame.SetFocus();
    TkBringToFront(frame.GetSafeHwnd(), 2000);

    out.altEntered = Until([] { TkSendKey(VK_MENU); }, [&] { return bar->m_nTrackingMode != TK_TRACKING_NONE; });
    out.hotAfterAlt = bar->m_nHotIndex;
    out.mnemonicOpened = Until([] { TkSendKey('E'); }, [&] { return bar->m_nPopupIndex == 1; });
    out.popupIndex = bar->m_nPopupIndex;
    out.escapeLeft = Until([] { TkSendKey(VK_ESCAPE); }, [&] { return bar->m_nTrackingMode == TK_TRACKING_NONE; });
    out.popupClosed = bar->m_nPopupIndex == -1 && !bar->GetControl(1)->IsPopupOpen();

    out.f10Entered = Until([] { TkSendKey(VK_F10); }, [&] { return bar->m_nTrackingMode != TK_TRACKING_NONE; });
    Until([] { TkSendKey(VK_ESCAPE); }, [&] { return bar->m_nTrackingMode == TK_TRACKING_NONE; });

    bar->DestroyWindow();
    bar->InternalRelease();
    frame.DestroyWindow();
}

bool AllHeld(const CKeyOutcome& out) {
    return out.altEntered && out.hotAfterAlt == 0 && out.mnemonicOpened && out.popupIndex == 1 && out.escapeLeft &&
           out.popupClosed && out.f10Entered;
}

TEST(TkMenuBarInput, AltAndF10EnterTheBarAMnemonicOpensItsPopupEscapeLeaves) {
    // The scene runs again, in a new frame, when a key press of the shared display went astray
    // (another test program's window taking the foreground); the last outcome is checked.
    static CKeyOutcome out;  // outlives a scene that does not end
    ASSERT_TRUE(TestRunInputScene(L"TarvockMenuBarKeyTests", [] {
        out = CKeyOutcome();
        RunKeys(out);
        return AllHeld(out);
    }, 150000));
    EXPECT_TRUE(out.altEntered);
    EXPECT_EQ(0, out.hotAfterAlt);
    EXPECT_TRUE(out.mnemonicOpened);
    EXPECT_EQ(1, out.popupIndex);
    EXPECT_TRUE(out.escapeLeft);
    EXPECT_TRUE(out.popupClosed);
    EXPECT_TRUE(out.f10Entered);
}

}  // namespace
