// The command-bars manager of a frame: its settings and command usage, the bar list, control
// searches, customise-mode selection, and the frame messages it filters for the bars.
#include "PainterTestSupport.h"

#include <gtest/gtest.h>

#include <cstddef>
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
    std::vector<WPARAM> selected;  // 0x0532 notifications

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
        m_frame->SetForegroundWindow();
        TkPumpPending();
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
    // One record for 0x0530 (popup controls and new user toolbars), passed by pointer.
    static_assert(offsetof(CTkPopupBarRequest, pBar) == 0, "the bar comes first");
    static_assert(offsetof(CTkPopupBarRequest, pszCaption) % sizeof(void*) == 0, "pointers are aligned");
    static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*), "pointer-sized parameters");
    CTkPopupBarRequest request;
    EXPECT_EQ(nullptr, request.pBar);
    EXPECT_EQ(1, request.nKind);
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
    ASSERT_EQ(m_frame->GetSafeHwnd(), ::GetActiveWindow());

    MSG msg = SysKey(m_frame->GetSafeHwnd(), 'E');
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    EXPECT_EQ(1, menu->m_nPopupIndex);
    EXPECT_EQ(1, menu->m_nHotIndex);
    EXPECT_TRUE(menu->GetControl(1)->IsPopupOpen());
    menu->SetTrackingMode(0, true, false);
    EXPECT_EQ(-1, menu->m_nPopupIndex);

    msg = SysKey(m_frame->GetSafeHwnd(), 'Q');  // no such mnemonic: the frame gets it
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
    msg.lParam = 0x1;  // no Alt context bit
    msg.wParam = 'F';
    EXPECT_FALSE(m_manager->FilterFrameMessage(&msg));
    EXPECT_EQ(0, menu->m_nTrackingMode);

    // Two controls with the mnemonic F: the first becomes hot and nothing opens.
    CListedBar* format = NewPopup();
    menu->AddPopup("&Format", format);
    format->InternalRelease();
    msg = SysKey(m_frame->GetSafeHwnd(), 'F');
    EXPECT_TRUE(m_manager->FilterFrameMessage(&msg));
    EXPECT_EQ(0, menu->m_nHotIndex);
    EXPECT_EQ(-1, menu->m_nPopupIndex);
    EXPECT_FALSE(menu->GetControl(0)->IsPopupOpen());
    menu->SetTrackingMode(0, true, false);
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
    menu->SetTrackingMode(0, true, false);
}

}  // namespace
