// The menu bar: filled from a menu resource, it takes the frame's native menu (and frees it),
// keeps a control set per menu, and is entered from the keyboard with real key presses.
#include "HookTestSupport.h"
#include "PainterTestSupport.h"
#include "commandbars/TkCommandBarsSettings.h"
#include "commandbars/TkMenuBar.h"

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
// The keyboard, with real key presses on a desktop of the test's own.

struct CKeyOutcome {
    bool desktop = false;
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
    for (int attempt = 0; attempt < 3; ++attempt) {
        input();
        if (TkPumpUntil(condition, 1500)) return true;
    }
    return false;
}

void RunKeys(CKeyOutcome& out) {
    CMenuFrame frame;
    if (!frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 100, 100, 500, 300, nullptr, nullptr)) return;
    auto* bar = new CTkMenuBar;
    bar->Create(WS_CHILD | WS_VISIBLE, &frame, 0xE81A);
    bar->LoadMenu(720);
    frame.ShowWindow(SW_SHOW);
    frame.RecalcLayout();
    frame.SetForegroundWindow();
    frame.SetFocus();
    TkPumpUntil([&] { return ::GetForegroundWindow() == frame.GetSafeHwnd(); }, 2000);

    out.altEntered = Until([] { TkSendKey(VK_MENU); }, [&] { return bar->m_nTrackingMode != 0; });
    out.hotAfterAlt = bar->m_nHotIndex;
    out.mnemonicOpened = Until([] { TkSendKey('E'); }, [&] { return bar->m_nPopupIndex == 1; });
    out.popupIndex = bar->m_nPopupIndex;
    out.escapeLeft = Until([] { TkSendKey(VK_ESCAPE); }, [&] { return bar->m_nTrackingMode == 0; });
    out.popupClosed = bar->m_nPopupIndex == -1 && !bar->GetControl(1)->IsPopupOpen();

    out.f10Entered = Until([] { TkSendKey(VK_F10); }, [&] { return bar->m_nTrackingMode != 0; });
    Until([] { TkSendKey(VK_ESCAPE); }, [&] { return bar->m_nTrackingMode == 0; });

    bar->DestroyWindow();
    bar->InternalRelease();
    frame.DestroyWindow();
}

bool AllHeld(const CKeyOutcome& out) {
    return out.altEntered && out.hotAfterAlt == 0 && out.mnemonicOpened && out.popupIndex == 1 && out.escapeLeft &&
           out.popupClosed && out.f10Entered;
}

// The scene runs again, in a new frame, when a key press of the shared display went astray
// (another test program's window taking the foreground); the last outcome is checked.
DWORD WINAPI RunKeyScene(void* param) {
    auto& out = *static_cast<CKeyOutcome*>(param);
    if (!TkUseOwnDesktop(L"TarvockMenuBarKeyTests")) return 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        out = CKeyOutcome();
        out.desktop = true;
        RunKeys(out);
        if (AllHeld(out)) break;
    }
    return 0;
}

TEST(TkMenuBarInput, AltAndF10EnterTheBarAMnemonicOpensItsPopupEscapeLeaves) {
    static CKeyOutcome out;  // outlives a scene thread that does not end
    HANDLE thread = ::CreateThread(nullptr, 0, RunKeyScene, &out, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 150000));
    ::CloseHandle(thread);
    ASSERT_TRUE(out.desktop);
    EXPECT_TRUE(out.altEntered);
    EXPECT_EQ(0, out.hotAfterAlt);
    EXPECT_TRUE(out.mnemonicOpened);
    EXPECT_EQ(1, out.popupIndex);
    EXPECT_TRUE(out.escapeLeft);
    EXPECT_TRUE(out.popupClosed);
    EXPECT_TRUE(out.f10Entered);
}

}  // namespace
