// The command-bars manager of a frame: its settings and command usage, the bar list, control
// searches, customise-mode selection, and the frame messages it filters for the bars.
#include "PainterTestSupport.h"
#include "commandbars/TkToolBar.h"
#include "controls/TkControlEdit.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <vector>

namespace {

// A frame that may handle the customise command and records what the bars tell it.
class CTestFrame : public CFrameWnd {
public:
    explicit CTestFrame(bool customizable) : m_bCustomizable(customizable) {}
    bool OnCmdMsg(UINT id, int code, void* extra) override {
        if (id == TK_ID_CUSTOMIZE && code == CN_COMMAND && m_bCustomizable) return true;
        return CFrameWnd::OnCmdMsg(id, code, extra);
    }
    std::vector<WPARAM> selected;  // TK_WM_SELECTED_CONTROL_CHANGED notifications
    int layouts = 0;
    void RecalcLayout() override {
        ++layouts;
        CFrameWnd::RecalcLayout();
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TK_WM_SELECTED_CONTROL_CHANGED) {
            selected.push_back(wParam);
            return 0;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }

private:
    bool m_bCustomizable;
};

// A bar that shows and hides like a toolbar, as a child of the frame.
class CListedBar : public CTkCommandBar {
public:
    CListedBar(CWnd* parent, const char* title, UINT id, int type = TK_BAR_TYPE_TOOLBAR) {
        m_strTitle = title;
        m_nBarId = id;
        m_nBarType = type;
        m_nPosition = TK_BAR_POSITION_TOP;
        m_bCloseButton = 1;
        if (parent) CreateEx(0, nullptr, title, WS_CHILD | WS_VISIBLE, 0, 0, 300, 24, parent->GetSafeHwnd(), nullptr);
    }
    void SetVisible(bool show) override {
        m_bVisible = show ? 1 : 0;
        if (GetSafeHwnd()) ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    }
    bool IsVisible() const override { return m_bVisible != 0; }
    CTkControl* AddPopup(const char* caption, CTkCommandBar* child) {
        auto* control = new CTkControlPopup;
        control->m_strCaption = caption;
        control->m_rcControl = CRect(4 + 40 * GetControls()->GetCount(), 2, 40 + 40 * GetControls()->GetCount(), 22);
        if (child) control->AttachChildBar(child);
        return GetControls()->Append(control);
    }
    CTkControl* AddButton(int id) {
        auto* control = new CTkControlButton;
        control->m_nId = id;
        return GetControls()->Append(control);
    }
};

bool SameSize(const CSize& a, const CSize& b) {
    return a.cx == b.cx && a.cy == b.cy;
}

// A loose popup bar (no window) for the children of popup controls.
CListedBar* NewPopup() {
    auto* bar = new CListedBar(nullptr, "popup", 0, TK_BAR_TYPE_POPUP);
    bar->m_nPosition = TK_BAR_POSITION_POPUP;
    return bar;
}

class TkCommandBarsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(TkDesktopReady()); }
    void TearDown() override {
        m_manager.reset();
        if (m_frame && m_frame->GetSafeHwnd()) m_frame->DestroyWindow();  // deletes itself
        TkPumpPending();
    }
    void MakeFrame(bool customizable) {
        m_frame = new CTestFrame(customizable);
        ASSERT_TRUE(m_frame->CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 10, 10, 500, 300, nullptr, nullptr));
        m_frame->ShowWindow(SW_SHOW);
        TkBringToFront(m_frame->GetSafeHwnd());
        m_manager.reset(new CTkCommandBars);
        m_manager->AttachFrame(m_frame);
    }
    // A bar of the frame in the manager's list (the list holds the only reference).
    CListedBar* AddBar(const char* title, UINT id, int type = TK_BAR_TYPE_TOOLBAR) {
        auto* bar = new CListedBar(m_frame, title, id, type);
        m_manager->AppendBar(bar);
        bar->InternalRelease();
        return bar;
    }

    struct CRelease {
        void operator()(CTkCommandBars* manager) const { manager->InternalRelease(); }
    };
    std::unique_ptr<CTkCommandBars, CRelease> m_manager;
    CTestFrame* m_frame = nullptr;
};

TEST(TkCommandBarsSettingsTest, HiddenCommandsShowOnceUsedUntilUsageIsReset) {
    CTkCommandBars* manager = new CTkCommandBars;
    CTkCommandBarsSettings* settings = manager->GetCommandBarsOptions();
    EXPECT_EQ(1, settings->m_bAlwaysShowFullMenus);
    EXPECT_EQ(1, settings->m_bShowFullAfterDelay);
    EXPECT_TRUE(SameSize(CSize(16, 16), settings->m_szPopupIcons));
    EXPECT_EQ(manager, settings->m_pCommandBars);
    settings->HideCommand(100);
    EXPECT_TRUE(manager->IsCommandHidden(100));
    EXPECT_FALSE(manager->IsCommandHidden(200));  // never used, but not listed
    manager->OnCommandExecuted(100);
    EXPECT_FALSE(manager->IsCommandHidden(100));
    int value = 0;
    ASSERT_TRUE(settings->m_mapUsedCommands.Lookup(100, value));
    EXPECT_EQ(1, value);
    manager->OnCommandExecuted(200);  // not hidden: nothing is recorded
    EXPECT_EQ(1, settings->m_mapUsedCommands.GetCount());
    manager->ResetUsageData();
    EXPECT_TRUE(manager->IsCommandHidden(100));
    manager->InternalRelease();
}

TEST(TkCommandBarsSettingsTest, BarsReadTheirIconSizesAndCaptionModeFromTheSettings) {
    CTkCommandBars* manager = new CTkCommandBars;
    CTkCommandBarsSettings* settings = manager->GetCommandBarsOptions();
    CTkCommandBar toolbar, popup;
    toolbar.m_pManager = popup.m_pManager = manager;
    popup.m_nBarType = TK_BAR_TYPE_POPUP;
    EXPECT_TRUE(SameSize(CSize(16, 16), toolbar.GetIconSize()));
    EXPECT_TRUE(SameSize(CSize(23, 23), toolbar.GetButtonSize()));
    settings->m_bLargeIcons = 1;
    EXPECT_TRUE(SameSize(CSize(32, 32), toolbar.GetIconSize()));
    settings->m_szLargeIcons = CSize(24, 24);
    EXPECT_TRUE(SameSize(CSize(24, 24), toolbar.GetIconSize()));
    EXPECT_TRUE(SameSize(CSize(16, 16), popup.GetIconSize()));  // popups keep their own size
    EXPECT_FALSE(toolbar.IsTextBelowIcons());
    settings->m_bShowTextBelowIcons = 1;
    EXPECT_TRUE(toolbar.IsTextBelowIcons());
    toolbar.m_pManager = popup.m_pManager = nullptr;
    manager->InternalRelease();
}

TEST(TkCommandBarsRecordTest, SiteRecordsCarryPointersAtPointerSize) {
    // One record for TK_WM_POPUPBAR_CREATE (popup controls and new user toolbars), passed by pointer.
    static_assert(offsetof(CTkPopupBarRequest, pBar) == 0, "the bar comes first");
    static_assert(offsetof(CTkPopupBarRequest, pszCaption) % sizeof(void*) == 0, "pointers are aligned");
    static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*), "pointer-sized parameters");
    CTkPopupBarRequest request;
    EXPECT_EQ(nullptr, request.pBar);
    EXPECT_EQ(TK_POPUPBAR_REQUEST_STANDARD, request.nKind);
    EXPECT_EQ(0, request.bFloating);
}

TEST_F(TkCommandBarsTest, BarListLooksUpByIndexAndIdAndIgnoresStaleIndexes) {
    MakeFrame(true);
    CListedBar* first = AddBar("Toolbar", 101);
    CListedBar* second = AddBar("Extra", 102);
    ASSERT_EQ(2, m_manager->GetCount());
    EXPECT_EQ(first, m_manager->GetBar(0));
    EXPECT_EQ(second, m_manager->GetBar(1));
    EXPECT_EQ(nullptr, m_manager->GetBar(-1));
    EXPECT_EQ(nullptr, m_manager->GetBar(2));
    EXPECT_EQ(second, m_manager->FindBar(102));
    EXPECT_EQ(nullptr, m_manager->FindBar(0));
    EXPECT_EQ(m_manager.get(), second->GetManager());

    m_manager->ToggleBarVisible(1);
    EXPECT_FALSE(second->IsVisible());
    EXPECT_FALSE(second->IsWindowVisible());
    m_manager->ToggleBarVisible(1);
    EXPECT_TRUE(second->IsVisible());

    // A Toolbars-menu item made before a bar went names no bar now: nothing happens.
    second->InternalAddRef();
    m_manager->RemoveBar(second);
    EXPECT_EQ(1, m_manager->GetCount());
    EXPECT_FALSE(second->IsVisible());
    m_manager->ToggleBarVisible(1);
    m_manager->ToggleBarVisible(-1);
    EXPECT_TRUE(first->IsVisible());
    EXPECT_FALSE(second->IsVisible());
    m_manager->RemoveBar(second);  // not in the list: left alone
    EXPECT_EQ(1, m_manager->GetCount());
    second->InternalRelease();
}

TEST_F(TkCommandBarsTest, FindControlSearchesPopupsOnceEvenWhenTheyOpenEachOther) {
    MakeFrame(true);
    CListedBar* bar = AddBar("Toolbar", 101);
    CListedBar* a = NewPopup();
    CListedBar* b = NewPopup();
    bar->AddPopup("&A", a);
    a->AddPopup("to b", b);
    b->AddPopup("back to a", a);  // a customised cycle: a -> b -> a
    CTkControl* deep = b->AddButton(500);
    a->InternalRelease();

    EXPECT_EQ(deep, m_manager->FindControl(TK_CONTROL_TYPE_BUTTON, 500, false, true));
    EXPECT_EQ(nullptr, m_manager->FindControl(TK_CONTROL_TYPE_BUTTON, 500, false, false));
    EXPECT_EQ(nullptr, m_manager->FindControl(TK_CONTROL_TYPE_BUTTON, 777, false, true));  // ends
    EXPECT_EQ(bar->GetControl(0), m_manager->FindControl(TK_CONTROL_TYPE_POPUP, -1, true, true));
    bar->SetVisible(false);
    EXPECT_EQ(nullptr, m_manager->FindControl(TK_CONTROL_TYPE_BUTTON, 500, true, true));
    // Break the cycle so the popups can go.
    b->GetControls()->RemoveControlAt(0);
    b->InternalRelease();
}

TEST_F(TkCommandBarsTest, CustomiseModeAndSelectedControlTellTheFrameOrTheSheet) {
    MakeFrame(true);
    EXPECT_TRUE(m_manager->IsCustomizationEnabled());
    CListedBar* bar = AddBar("Toolbar", 101);
    CTkControl* one = bar->AddButton(200);
    CTkControl* two = bar->AddButton(201);
    bar->m_nHotIndex = 1;

    m_manager->SetCustomizeMode(true);
    EXPECT_TRUE(m_manager->IsCustomizeMode());
    EXPECT_TRUE(bar->IsCustomizeMode());
    EXPECT_EQ(-1, bar->m_nHotIndex);
    m_manager->SetSelectedControl(one);
    m_manager->SetSelectedControl(one);  // no change, no message
    EXPECT_EQ(std::vector<WPARAM>({(WPARAM)one}), m_frame->selected);

    CWnd sheet;
    ASSERT_TRUE(sheet.CreateEx(0, nullptr, "sheet", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    m_manager->SetCustomizeSheet(&sheet);
    m_manager->SetSelectedControl(two);  // goes to the sheet while it is open
    EXPECT_EQ(1u, m_frame->selected.size());
    LRESULT result = 1;
    EXPECT_TRUE(m_manager->HandleFrameMessage(WM_CLOSE, 0, 0, &result));  // closing is refused
    m_manager->SetCustomizeSheet(nullptr);
    sheet.DestroyWindow();
    EXPECT_FALSE(m_manager->HandleFrameMessage(WM_CLOSE, 0, 0, &result));

    // The selected control holds a reference: removing it from its bar leaves it valid.
    two->InternalAddRef();
    bar->GetControls()->RemoveControl(two);
    EXPECT_EQ(two, m_manager->GetSelectedControl());
    two->InternalRelease();
    m_manager->SetCustomizeMode(false);
    EXPECT_EQ(nullptr, m_manager->GetSelectedControl());
    EXPECT_EQ(std::vector<WPARAM>({(WPARAM)one, (WPARAM)0}), m_frame->selected);

    m_manager->SetCustomizeModeQuick(true);
    EXPECT_TRUE(m_manager->IsCustomizeMode());
    EXPECT_TRUE(m_manager->IsQuickCustomizeMode());
    m_manager->SetCustomizeModeQuick(false);
    EXPECT_FALSE(m_manager->IsCustomizeMode());
}

TEST_F(TkCommandBarsTest, FrameThatDoesNotHandleCustomiseHasCustomisationOff) {
    MakeFrame(false);
    EXPECT_FALSE(m_manager->IsCustomizationEnabled());
}

TEST_F(TkCommandBarsTest, SettingAndColourChangesLayTheFrameOutAgain) {
    MakeFrame(true);
    for (UINT message : {(UINT)WM_SETTINGCHANGE, (UINT)WM_SYSCOLORCHANGE}) {
        const int before = m_frame->layouts;
        ::ValidateRect(m_frame->GetSafeHwnd(), nullptr);
        LRESULT result = 0;
        EXPECT_FALSE(m_manager->HandleFrameMessage(message, 0, 0, &result));  // the frame goes on
        EXPECT_EQ(before + 1, m_frame->layouts);
    }
}

MSG SysKey(HWND hwnd, WPARAM key) {
    MSG msg = {};
    msg.hwnd = hwnd;
    msg.message = WM_SYSKEYDOWN;
    msg.wParam = key;
    msg.lParam = 0x20000001;  // Alt held
    return msg;
}

TEST_F(TkCommandBarsTest, AltAndAMnemonicReachTheMenuBar) {
    MakeFrame(true);
    CListedBar* menu = AddBar("Menu Bar", 1, TK_BAR_TYPE_MENUBAR);
    m_manager->SetMenuBar(menu);
    CListedBar* file = NewPopup();
    CListedBar* edit = NewPopup();
    menu->AddPopup("&File", file);
    menu->AddPopup("&Edit", edit);
    file->InternalRelease();
    edit->InternalRelease();
    ASSERT_TRUE(TkBringToFront(m_frame->GetSafeHwnd()));

    MSG msg = SysKey(m_frame->GetSafeHwnd(), 'E');
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    EXPECT_EQ(1, menu->m_nPopupIndex);
    EXPECT_EQ(1, menu->m_nHotIndex);
    EXPECT_TRUE(menu->GetControl(1)->IsPopupOpen());
    menu->SetTrackingMode(TK_TRACKING_NONE, true, false);
    EXPECT_EQ(-1, menu->m_nPopupIndex);

    msg = SysKey(m_frame->GetSafeHwnd(), 'Q');  // no such mnemonic: the frame gets it
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
    msg.lParam = 0x1;  // no Alt context bit
    msg.wParam = 'F';
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
    EXPECT_EQ(TK_TRACKING_NONE, menu->m_nTrackingMode);

    // Two controls with the mnemonic F: the first becomes hot and nothing opens.
    CListedBar* format = NewPopup();
    menu->AddPopup("&Format", format);
    format->InternalRelease();
    msg = SysKey(m_frame->GetSafeHwnd(), 'F');
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    EXPECT_EQ(0, menu->m_nHotIndex);
    EXPECT_EQ(-1, menu->m_nPopupIndex);
    EXPECT_FALSE(menu->GetControl(0)->IsPopupOpen());
    menu->SetTrackingMode(TK_TRACKING_NONE, true, false);
}

TEST_F(TkCommandBarsTest, ShiftGuardLeavesShiftedAltLettersToTheFrame) {
    MakeFrame(true);
    CListedBar* menu = AddBar("Menu Bar", 1, TK_BAR_TYPE_MENUBAR);
    m_manager->SetMenuBar(menu);
    CListedBar* file = NewPopup();
    menu->AddPopup("&File", file);
    file->InternalRelease();

    BYTE keys[256] = {};
    ASSERT_TRUE(::GetKeyboardState(keys));
    BYTE shifted[256];
    memcpy(shifted, keys, sizeof keys);
    shifted[VK_SHIFT] = 0x80;
    ASSERT_TRUE(::SetKeyboardState(shifted));
    MSG msg = SysKey(m_frame->GetSafeHwnd(), 'F');
    m_manager->SetShiftGuard(true);
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
    m_manager->SetShiftGuard(false);
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    ::SetKeyboardState(keys);
    menu->SetTrackingMode(TK_TRACKING_NONE, true, false);
}

// Keys and commands reach a bar's focused edit box at once (its host, the edit control, is left
// out: the box itself is what the frame looks for).
TEST_F(TkCommandBarsTest, KeysAndCommandsGoStraightToABarsFocusedEditBox) {
    MakeFrame(false);
    CTkEdit edit(nullptr);
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 200, 30), m_frame, 900));
    CEdit plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 40, 200, 60), m_frame, 901));
    // Another test program may take the foreground for a moment: the frame is brought back.
    auto focusOn = [&](CWnd& box) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            m_frame->SetForegroundWindow();
            box.SetFocus();
            if (TkPumpUntil([&] { return ::GetFocus() == box.GetSafeHwnd(); }, 1000)) return true;
        }
        return false;
    };
    ASSERT_TRUE(focusOn(edit));

    MSG msg = {edit.GetSafeHwnd(), WM_CHAR, 'x', 1, 0, {}};
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    EXPECT_STREQ("x", edit.GetWindowText());
    msg = {edit.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    msg = {edit.GetSafeHwnd(), WM_KEYDOWN, 'A', 1, 0, {}};  // not one of the edit keys
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
    // A clipboard command the box handles itself (nothing is selected, so the clipboard is left alone).
    edit.SetSel(0, 0);
    LRESULT result = 0;
    EXPECT_TRUE(m_manager->HandleFrameMessage(WM_COMMAND, TK_ID_EDIT_CUT, 0, &result));
    EXPECT_EQ(1, result);
    EXPECT_FALSE(m_manager->HandleFrameMessage(WM_COMMAND, 4321, 0, &result));

    // Any other edit box is the frame's business.
    ASSERT_TRUE(focusOn(plain));
    msg = {plain.GetSafeHwnd(), WM_CHAR, 'y', 1, 0, {}};
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
    EXPECT_FALSE(m_manager->HandleFrameMessage(WM_COMMAND, TK_ID_EDIT_CUT, 0, &result));
    plain.DestroyWindow();
    edit.DestroyWindow();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// A frame laid out like the program's: a manager with dock bars, a menu bar and two toolbars.

const UINT kRunLater = WM_APP + 7;

// A popup that opens as a small window at its point and tracks until a control runs or the
// tracking ends; the manager's menus and modal loops need no more of a popup bar.
class CTestPopup : public CTkCommandBar {
public:
    CTestPopup() {
        m_nBarType = TK_BAR_TYPE_POPUP;
        m_nPosition = TK_BAR_POSITION_POPUP;
    }
    int PopupAt(int x, int y, int, const RECT&) override {
        if (!GetSafeHwnd() && !CreateEx(WS_EX_TOOLWINDOW, nullptr, "popup", WS_POPUP, x, y, 80, 40, nullptr, nullptr))
            return 0;
        ShowWindow(SW_SHOWNA);
        SetTrackingMode(TK_TRACKING_ACTIVE, false, false);
        return 1;
    }
    int Popup(CTkControl*, bool) override { return PopupAt(0, 0, 0, CRect()); }
};

// A manager whose default popup bars are test popups.
class CTestCommandBars : public CTkCommandBars {
public:
    CTkCommandBar* CreateDefaultPopupBar() override {
        auto* popup = new CTestPopup;
        popup->m_pManager = this;
        return popup;
    }
};

// A frame that answers TK_WM_POPUPBAR_CREATE for new user toolbars and runs a queued step inside modal loops.
class CBarsFrame : public CTestFrame {
public:
    CBarsFrame() : CTestFrame(true) {}
    std::vector<CTkPopupBarRequest> requests;
    std::vector<WPARAM> commands;
    std::function<void()> later;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TK_WM_POPUPBAR_CREATE) {
            auto* request = reinterpret_cast<CTkPopupBarRequest*>(lParam);
            if (request->pBar) {
                requests.push_back(*request);
                requests.back().pszCaption = nullptr;
                m_captions.push_back(request->pszCaption ? request->pszCaption : "");
            }
            return 0;
        }
        if (message == WM_COMMAND) {
            commands.push_back(wParam);
            return 0;
        }
        if (message == kRunLater && later) {
            auto run = later;
            later = nullptr;
            run();
            // A step that failed before choosing an item must not leave the popup's loop waiting.
            if (::testing::Test::HasFatalFailure()) CTkMouseTracker::ForThread().CloseTracked();
            return 0;
        }
        return CTestFrame::WindowProc(message, wParam, lParam);
    }

public:
    std::vector<CString> m_captions;
};

class TkFrameBarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        m_frame = new CBarsFrame;
        ASSERT_TRUE(m_frame->CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 10, 10, 600, 400, nullptr, nullptr));
        m_frame->ShowWindow(SW_SHOW);
        m_manager = new CTestCommandBars;
        m_manager->AttachFrame(m_frame);
        m_menuBar = m_manager->CreateMenuBar("Menu Bar", 610, RUNTIME_CLASS(CTkToolBar));
        m_toolbar = m_manager->AddBar("Toolbar", TK_BAR_POSITION_TOP);
        m_extra = m_manager->AddBar("Extra", TK_BAR_POSITION_TOP);
        ASSERT_TRUE(m_menuBar && m_toolbar && m_extra);
        m_menuBar->m_nBarType = TK_BAR_TYPE_MENUBAR;  // what the menu bar's own class says
        m_extra->SetVisible(false);
        m_frame->RecalcLayout();
        TkBringToFront(m_frame->GetSafeHwnd());
    }
    void TearDown() override {
        if (m_manager) m_manager->InternalRelease();
        if (m_frame && m_frame->GetSafeHwnd()) m_frame->DestroyWindow();
        TkPumpPending();
    }
    // Runs a step once the next modal loop dispatches messages.
    void RunInLoop(std::function<void()> step) {
        m_frame->later = std::move(step);
        m_frame->PostMessage(kRunLater);
    }

    CBarsFrame* m_frame = nullptr;
    CTkCommandBars* m_manager = nullptr;
    CTkToolBar* m_menuBar = nullptr;
    CTkToolBar* m_toolbar = nullptr;
    CTkToolBar* m_extra = nullptr;
};

TEST_F(TkFrameBarsTest, TheManagerMakesTheMenuBarAndToolbars) {
    ASSERT_EQ(3, m_manager->GetCount());
    EXPECT_EQ(m_menuBar, m_manager->GetMenuBar());
    EXPECT_EQ(1u, m_menuBar->m_nBarId);
    EXPECT_EQ(0x5F, m_menuBar->m_dwFlags);
    EXPECT_EQ(0x3F, m_toolbar->m_dwFlags);
    EXPECT_EQ(TK_BAR_POSITION_TOP, m_menuBar->m_nPosition);
    EXPECT_EQ(TK_BAR_POSITION_TOP, m_toolbar->m_nPosition);
    EXPECT_EQ(m_frame->GetSafeHwnd(), ::GetParent(m_toolbar->GetSafeHwnd()));
    EXPECT_EQ(610u, m_manager->GetMenuResourceId());
    ASSERT_NE(nullptr, m_menuBar->GetControl(0));
    EXPECT_STREQ("&Tools", m_menuBar->GetControl(0)->m_strCaption);
    EXPECT_TRUE(m_menuBar->GetControls()->GetOriginal() != nullptr);
    EXPECT_EQ(m_menuBar, m_manager->FindBar(1));
    EXPECT_NE(nullptr, m_manager->FindControl(TK_CONTROL_TYPE_BUTTON, 620, false, true));  // in "&More"
    EXPECT_EQ(nullptr, m_manager->FindControl(TK_CONTROL_TYPE_BUTTON, 620, false, false));

    // A new user bar: the frame prepares it; it floats and is not one of the program's.
    CTkToolBar* user = m_manager->AddUserBar("Mine", 0x1000005, true);
    ASSERT_NE(nullptr, user);
    ASSERT_EQ(1u, m_frame->requests.size());
    EXPECT_EQ(user, m_frame->requests[0].pBar);
    EXPECT_EQ(TK_POPUPBAR_REQUEST_STANDARD, m_frame->requests[0].nKind);
    EXPECT_EQ(1, m_frame->requests[0].bFloating);
    EXPECT_EQ(0x1000005, m_frame->requests[0].nId);
    EXPECT_STREQ("Mine", m_frame->m_captions[0]);
    EXPECT_EQ(TK_BAR_POSITION_FLOATING, user->m_nPosition);
    EXPECT_EQ(1, user->m_bUserToolbar);
    EXPECT_EQ(1, user->m_bTearOff);
    EXPECT_EQ(0x3F, user->m_dwFlags);
    EXPECT_EQ(4, m_manager->GetCount());
    m_manager->RemoveBar(user);
    EXPECT_EQ(3, m_manager->GetCount());
}

TEST_F(TkFrameBarsTest, ToolbarsMenuListsTheToolbarsAndTogglesThem) {
    CTkCommandBar* menu = m_manager->BuildToolbarsMenu();
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(3, menu->GetControls()->GetCount());
    CTkControl* toolbarItem = menu->GetControl(0);
    CTkControl* extraItem = menu->GetControl(1);
    EXPECT_STREQ("Toolbar", toolbarItem->m_strCaption);
    EXPECT_EQ(1, toolbarItem->m_bChecked);
    EXPECT_EQ(1, toolbarItem->m_nUserValue);
    EXPECT_EQ(8, toolbarItem->m_nFlags);
    EXPECT_STREQ("Extra", extraItem->m_strCaption);
    EXPECT_EQ(0, extraItem->m_bChecked);
    EXPECT_EQ(2, extraItem->m_nUserValue);
    EXPECT_EQ((int)TK_ID_CUSTOMIZE, menu->GetControl(2)->m_nId);
    EXPECT_EQ(1, menu->GetControl(2)->m_bBeginGroup);

    extraItem->Execute();  // shows "Extra"
    EXPECT_TRUE(m_extra->IsVisible());
    toolbarItem->Execute();  // hides "Toolbar"
    EXPECT_FALSE(m_toolbar->IsVisible());
    toolbarItem->Execute();
    EXPECT_TRUE(m_toolbar->IsVisible());

    // The toolbar goes while the menu is open: its item, and the next one whose index now
    // names another bar, do nothing.
    m_manager->RemoveBar(m_toolbar);
    extraItem->Execute();
    EXPECT_TRUE(m_extra->IsVisible());
    m_manager->ToggleBarVisible(5);
    menu->InternalRelease();

    // The menu opens at the point and runs until an item is chosen.
    RunInLoop([&] {
        ASSERT_TRUE(CTkMouseTracker::ForThread().HasTrackedBars());
        CTkCommandBar* open = dynamic_cast<CTkCommandBar*>(CWnd::FromHandlePermanent(TkFindThreadWindow(nullptr, L"popup")));
        ASSERT_NE(nullptr, open);
        ASSERT_EQ(2, open->GetControls()->GetCount());  // "Extra" and Customise
        open->GetControl(0)->Execute();
    });
    m_manager->ShowToolbarsMenu(40, 40);
    EXPECT_FALSE(m_extra->IsVisible());
    EXPECT_FALSE(CTkMouseTracker::ForThread().HasTrackedBars());

    // Without the customise command in the frame there is no customise item.
    m_manager->SetCustomizationEnabled(false);
    menu = m_manager->BuildToolbarsMenu();
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(1, menu->GetControls()->GetCount());
    menu->InternalRelease();
}

TEST_F(TkFrameBarsTest, TrackPopupMenuReturnsOrSendsTheChosenCommand) {
    CTkCommandBar* popup = m_manager->CreateDefaultPopupBar();
    ASSERT_NE(nullptr, popup);
    popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 700);
    popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 701);

    RunInLoop([&] { popup->GetControl(1)->Execute(); });
    EXPECT_EQ(701, m_manager->TrackPopupMenu(popup, TK_TPM_RETURNCMD, 100, 100, m_frame));
    EXPECT_TRUE(m_frame->commands.empty());
    EXPECT_EQ(TK_TRACKING_NONE, popup->m_nTrackingMode);

    RunInLoop([&] { popup->GetControl(0)->Execute(); });
    EXPECT_EQ(1, m_manager->TrackPopupMenu(popup, 0, 100, 100, m_frame));
    EXPECT_EQ(std::vector<WPARAM>({700}), m_frame->commands);
    popup->InternalRelease();

    // A bar that cannot open as a popup is not run.
    CTkCommandBar* plain = new CTkCommandBar;
    EXPECT_EQ(0, m_manager->TrackPopupMenu(plain, TK_TPM_RETURNCMD, 100, 100, m_frame));
    plain->InternalRelease();
}

TEST_F(TkFrameBarsTest, ModalLoopsRepostQuitAndHoldTheManager) {
    CTkCommandBar* popup = m_manager->CreateDefaultPopupBar();
    ASSERT_NE(nullptr, popup);
    popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 700);
    // The program quits while the menu is open: the loop ends and the quit reaches the caller.
    RunInLoop([] { ::PostQuitMessage(3); });
    EXPECT_EQ(0, m_manager->TrackPopupMenu(popup, TK_TPM_RETURNCMD, 100, 100, m_frame));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);

    // The frame goes (and lets its manager go) while the menu is open: the loop ends and the
    // manager lives until it returns.
    RunInLoop([&] {
        m_manager->InternalRelease();
        m_manager = nullptr;
        m_frame->DestroyWindow();  // deletes the frame
        m_frame = nullptr;
    });
    CTkCommandBars* manager = m_manager;
    EXPECT_EQ(0, manager->TrackPopupMenu(popup, TK_TPM_RETURNCMD, 100, 100, nullptr));
    EXPECT_EQ(nullptr, m_manager);
    EXPECT_EQ(TK_TRACKING_NONE, popup->m_nTrackingMode);
    popup->m_pManager = nullptr;  // gone with the frame
    popup->InternalRelease();
}

TEST_F(TkFrameBarsTest, AltAndTheMnemonicOpenTheMenuBarsPopup) {
    ASSERT_TRUE(TkBringToFront(m_frame->GetSafeHwnd()));
    MSG msg = SysKey(m_frame->GetSafeHwnd(), 'T');
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    EXPECT_EQ(0, m_menuBar->m_nPopupIndex);
    EXPECT_TRUE(m_menuBar->GetControl(0)->IsPopupOpen());
    CTkCommandBar* tools = m_menuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, tools);
    EXPECT_NE(TK_TRACKING_NONE, tools->m_nTrackingMode);
    // While the popup is open the frame's context menu and Alt release are swallowed.
    msg.message = WM_CONTEXTMENU;
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    msg.message = WM_SYSKEYUP;
    msg.wParam = 'T';
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    // Once the letter was handled the release of Alt comes as a plain key release.
    msg.message = WM_KEYUP;
    msg.wParam = VK_MENU;
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    msg.wParam = 'T';
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
    // Leaving the program's window closes them.
    LRESULT result = 0;
    EXPECT_FALSE(m_manager->HandleFrameMessage(WM_ACTIVATEAPP, 0, 0, &result));
    EXPECT_EQ(TK_TRACKING_NONE, tools->m_nTrackingMode);
    EXPECT_EQ(TK_TRACKING_NONE, m_menuBar->m_nTrackingMode);
    msg.message = WM_CONTEXTMENU;
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
    msg.message = WM_KEYUP;
    msg.wParam = VK_MENU;
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
}

TEST_F(TkFrameBarsTest, CustomiseModeRedrawsEveryBarAndLeavesThePopupsClosed) {
    m_manager->SetCustomizeMode(true);
    EXPECT_TRUE(m_toolbar->IsCustomizeMode());
    EXPECT_TRUE(m_menuBar->IsCustomizeMode());
    m_manager->ShowToolbarsMenu(50, 50);  // no Toolbars menu while customising
    EXPECT_FALSE(CTkMouseTracker::ForThread().HasTrackedBars());
    m_manager->SetCustomizeMode(false);
    EXPECT_FALSE(m_toolbar->IsCustomizeMode());
}

TEST_F(TkFrameBarsTest, RowPopupsTakeWhatDidNotFitAndOfferTheRowsToolbars) {
    const UINT toolbarIds[] = {300, 301};
    const UINT extraIds[] = {400, 401};
    m_toolbar->SetButtons(toolbarIds, 2);
    m_extra->SetButtons(extraIds, 2);
    m_extra->SetVisible(true);
    m_frame->RecalcLayout();

    // What the row hid for want of room, and only that, goes into the overflow popup.
    m_toolbar->GetControls()->FindById(301)->m_nHideFlags = TK_CONTROL_HIDE_WRAP;
    m_toolbar->GetControls()->FindById(301)->m_bBeginGroup = 1;
    m_extra->GetControls()->FindById(400)->m_nHideFlags = TK_CONTROL_HIDE_WRAP;
    m_extra->GetControls()->FindById(401)->m_nHideFlags = TK_CONTROL_HIDE_WRAP | TK_CONTROL_HIDE_CUSTOMIZE;
    CTkCommandBar* popup = m_manager->CreateDefaultPopupBar();
    ASSERT_NE(nullptr, popup);
    m_manager->FillRowOverflowPopup(m_toolbar, popup);
    m_manager->FillRowOverflowPopup(m_extra, popup);
    ASSERT_EQ(2, popup->GetControls()->GetCount());
    EXPECT_EQ(301, popup->GetControl(0)->m_nId);
    EXPECT_EQ(400, popup->GetControl(1)->m_nId);
    EXPECT_EQ(0, popup->GetControl(0)->m_nHideFlags);
    EXPECT_EQ(0, popup->GetControl(0)->m_bBeginGroup);
    EXPECT_NE(m_toolbar->GetControls()->FindById(301), popup->GetControl(0));  // copies

    // The options: one item per toolbar of the row with its buttons, then Customise.
    popup->GetControls()->RemoveAllControls();
    m_extra->m_bUserToolbar = 1;  // a user's toolbar has no add-or-remove list
    m_manager->FillToolbarOptionsPopup(m_toolbar, popup);
    ASSERT_EQ(2, popup->GetControls()->GetCount());
    CTkControl* toolbarItem = popup->GetControl(0);
    EXPECT_STREQ("Toolbar", toolbarItem->m_strCaption);
    EXPECT_EQ(1, toolbarItem->m_bEnabled);
    ASSERT_NE(nullptr, toolbarItem->GetCommandBar());
    EXPECT_GE(toolbarItem->GetCommandBar()->GetControls()->GetCount(), 2);
    EXPECT_EQ((int)TK_ID_CUSTOMIZE, popup->GetControl(1)->m_nId);
    EXPECT_EQ(1, popup->GetControl(1)->m_bBeginGroup);
    popup->GetControls()->RemoveAllControls();
    m_manager->FillToolbarOptionsPopup(m_extra, popup);
    ASSERT_EQ(2, popup->GetControls()->GetCount());
    CTkControl* extraItem = popup->GetControl(0);
    EXPECT_STREQ("Extra", extraItem->m_strCaption);
    EXPECT_EQ(0, extraItem->m_bEnabled);
    popup->InternalRelease();
}
