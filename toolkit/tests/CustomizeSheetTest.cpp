// The customise sheet over a frame with command bars: it runs in customise mode with the frame's
// commands by category, its toolbars page shows and hides bars, and closing it (or failing to
// make it) leaves customise mode with nothing of its set-up left; the hooks' rules; the tabs'
// mnemonics; the categories; the toolbar name rules; the settings page.
#include "PainterTestSupport.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkToolBar.h"
#include "customize/TkCustomizeContext.h"
#include "customize/TkCustomizePages.h"
#include "res/TkResource.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace {

// A manager's side of customisation over test bars: what the sheet asked is recorded.
class CTestCustomizeBars : public ITkCustomizeBars {
public:
    CTkCommandBars manager;
    CWnd* frame = nullptr;
    std::vector<CTkCommandBar*> bars;
    std::set<const CTkCommandBar*> builtIn, hideable;
    bool customizing = false;
    CWnd* sheetWindow = nullptr;
    std::vector<CString> added;
    std::vector<CTkCommandBar*> removed, reset;
    int options[6] = {1, 1, 0, 1, 0, 0};
    int usageResets = 0, layouts = 0;

    CTkCommandBars* GetCommandBars() override { return &manager; }
    CWnd* GetFrame() override { return frame; }
    int GetBarCount() const override { return (int)bars.size(); }
    CTkCommandBar* GetBar(int index) const override {
        return index >= 0 && index < GetBarCount() ? bars[(size_t)index] : nullptr;
    }
    void SetCustomizeMode(bool on) override { customizing = on; }
    bool IsCustomizeMode() const override { return customizing; }
    void SetCustomizeSheet(CWnd* sheet) override { sheetWindow = sheet; }
    bool IsBuiltInBar(const CTkCommandBar* bar) const override { return builtIn.count(bar) != 0; }
    bool CanHideBar(const CTkCommandBar* bar) const override { return hideable.count(bar) != 0; }
    bool IsBarVisible(const CTkCommandBar* bar) const override { return bar->m_hWnd && ::IsWindowVisible(bar->m_hWnd); }
    void SetBarVisible(CTkCommandBar* bar, bool visible) override { bar->ShowWindow(visible ? SW_SHOW : SW_HIDE); }
    void ResetBar(CTkCommandBar* bar) override { reset.push_back(bar); }
    CTkCommandBar* AddUserBar(const CString& caption, UINT) override {
        added.push_back(caption);
        return nullptr;
    }
    void RemoveBar(CTkCommandBar* bar) override {
        removed.push_back(bar);
        bars.erase(std::find(bars.begin(), bars.end(), bar));
    }
    int GetOption(TkCustomizeOption option) const override { return options[option]; }
    void SetOption(TkCustomizeOption option, int value) override { options[option] = value; }
    void ResetUsageData() override { ++usageResets; }
    void RecalcLayout() override { ++layouts; }
};

// Answers every message box while it lives and records its text and style.
class CBoxRecorder {
public:
    explicit CBoxRecorder(int answer = IDOK) {
        m_previous = AfxSetMessageBoxHook([this, answer](const CString& text, UINT type) {
            texts.push_back(text);
            types.push_back(type);
            return answer;
        });
    }
    ~CBoxRecorder() { AfxSetMessageBoxHook(std::move(m_previous)); }
    std::vector<CString> texts;
    std::vector<UINT> types;

private:
    AFX_MSGBOX_HOOK m_previous;
};

// Steps run one by one from the running sheet's message loop, once the loop has shown it.
std::deque<std::function<void()>> g_steps;
void CALLBACK RunNextStep(HWND, UINT, UINT_PTR id, DWORD) {
    if (g_steps.empty()) {
        ::KillTimer(nullptr, id);
        return;
    }
    CTkCustomizeSheet* running = CTkCustomizeSheet::GetRunning();
    if (running && !::IsWindowVisible(running->m_hWnd)) return;
    auto step = std::move(g_steps.front());
    g_steps.pop_front();
    step();
}

class TkCustomizeSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 500, 300, nullptr,
                                     nullptr));
        m_standard.reset(new CTestBar(300, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR, &m_frame));
        m_menu.reset(new CTestBar(300, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_MENUBAR, &m_frame));
        m_standard->m_strTitle = "Standard";
        m_standard->m_pManager = &m_bars.manager;
        m_standard->m_nBarId = 0xE800;
        m_menu->m_strTitle = "Menu Bar";
        m_menu->m_pManager = &m_bars.manager;
        m_menu->m_nBarId = 1;
        m_bars.frame = &m_frame;
        m_bars.bars = {m_menu.get(), m_standard.get()};
        m_bars.builtIn = {m_menu.get(), m_standard.get()};
        m_bars.hideable = {m_standard.get()};
        ASSERT_TRUE(m_frame.m_hWnd && m_standard->m_hWnd && m_menu->m_hWnd);
    }
    void TearDown() override {
        g_steps.clear();
        m_standard.reset();
        m_menu.reset();
        if (m_frame.m_hWnd) m_frame.DestroyWindow();
    }
    // Runs a sheet with the steps played from its loop, one per timer tick.
    INT_PTR RunSteps(const std::function<INT_PTR()>& run, std::vector<std::function<void()>> steps) {
        g_steps.assign(steps.begin(), steps.end());
        UINT_PTR timer = ::SetTimer(nullptr, 0, 20, RunNextStep);
        INT_PTR result = run();
        ::KillTimer(nullptr, timer);
        EXPECT_TRUE(g_steps.empty()) << "the sheet ended before its steps";
        return result;
    }
    INT_PTR RunSheet(CTkCustomizeSheet& sheet, std::vector<std::function<void()>> steps) {
        return RunSteps([&] { return sheet.DoModal(); }, std::move(steps));
    }
    static void Press(CWnd& window, int id) {
        HWND button = ::GetDlgItem(window.m_hWnd, id);
        window.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
    }

    CWnd m_frame;
    std::unique_ptr<CTestBar> m_standard, m_menu;
    CTestCustomizeBars m_bars;
};

}  // namespace

TEST_F(TkCustomizeSheetTest, RunsInCustomizeModeWithTheFramesCommandsAndHidesBarsUntilClosed) {
    CTkCustomizeSheet second(&m_bars);
    INT_PTR secondResult = 0;
    CTkCustomizeSheet* running = nullptr;
    CTkCustomizeCommandsPage* commands = nullptr;

    // What the frame's customise command runs, with the frame's menu.
    INT_PTR result = RunSteps([&] { return TkRunFrameCustomizeSheet(&m_bars, 500); }, {
        [&] {
            running = CTkCustomizeSheet::GetRunning();
            ASSERT_NE(nullptr, running);
            commands = running->GetCommandsPage();
            EXPECT_TRUE(m_bars.IsCustomizeMode());
            EXPECT_EQ(running, m_bars.sheetWindow);
            EXPECT_FALSE(AfxGetApp()->IsModelessEnabled());
            EXPECT_TRUE(::IsWindowVisible(running->m_hWnd));
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(running->m_hWnd, IDOK)));
            EXPECT_STREQ("Close", running->GetDlgItemText(IDCANCEL));
            EXPECT_STREQ("Customize", running->GetWindowText());
            EXPECT_TRUE(::IsWindowEnabled(m_frame.m_hWnd));  // the frame stays usable
            secondResult = second.DoModal();                 // one sheet at a time
        },
        [&] {
            ASSERT_NE(nullptr, running);
            // The toolbars page lists the bars in the manager's order with their visibility.
            CTkCustomizeToolbarsPage* page = running->GetToolbarsPage();
            ASSERT_EQ(page, running->GetActivePage());
            ASSERT_EQ(2, page->m_list.GetCount());
            EXPECT_STREQ("Menu Bar", page->m_list.GetText(0));
            EXPECT_STREQ("Standard", page->m_list.GetText(1));
            EXPECT_EQ(1, page->m_list.GetCheck(1));
            // Unchecking a bar that may be hidden hides it.
            page->m_list.SetCurSel(1);
            page->m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
            EXPECT_FALSE(::IsWindowVisible(m_standard->m_hWnd));
            EXPECT_EQ(0, page->m_list.GetCheck(1));
            EXPECT_EQ(1, page->m_list.GetCurSel());
            // One that may not keeps its check and stays.
            page->m_list.SetCurSel(0);
            page->m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
            EXPECT_EQ(1, page->m_list.GetCheck(0));
            EXPECT_TRUE(::IsWindowVisible(m_menu->m_hWnd));
        },
        [&] {
            ASSERT_NE(nullptr, running);
            // Alt+C picks the commands page, which shows the frame's commands by category.
            MSG alt = {running->m_hWnd, WM_SYSKEYDOWN, 'C', 1 << 29, 0, {0, 0}};
            EXPECT_TRUE(running->PreTranslateMessage(&alt));
            ASSERT_EQ(commands, running->GetActivePage());
            ASSERT_EQ(3, commands->m_categoriesList.GetCount());
            EXPECT_STREQ("All Commands", commands->m_categoriesList.GetText(0));
            EXPECT_STREQ("Menu Commands", commands->m_categoriesList.GetText(1));
            EXPECT_STREQ("New Menu", commands->m_categoriesList.GetText(2));
            EXPECT_EQ(0, commands->m_categoriesList.GetCurSel());
            EXPECT_EQ(3, commands->m_commandsList.GetCount());
            EXPECT_EQ(CTkThemePainter::GetPopupItemHeight(), (int)commands->m_commandsList.SendMessage(LB_GETITEMHEIGHT));
            commands->m_categoriesList.SetCurSel(1);
            commands->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TK_CATEGORIES_LIST, LBN_SELCHANGE),
                                  (LPARAM)commands->m_categoriesList.m_hWnd);
            const CTkControls* menu = commands->GetCategory(1).pControls;
            ASSERT_EQ(3, commands->m_commandsList.GetCount());
            for (int i = 0; i < 3; ++i) EXPECT_EQ(menu->GetControl(i), commands->m_commandsList.GetItemControl(i));
            EXPECT_EQ(33003, commands->m_commandsList.GetItemControl(2)->m_nId);
            commands->m_commandsList.UpdateWindow();  // drawn by the painter
        },
        [&] {
            if (running) Press(*running, IDCANCEL);
        },
    });

    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(IDCANCEL, secondResult);
    EXPECT_FALSE(m_bars.IsCustomizeMode());
    EXPECT_EQ(nullptr, CTkCustomizeSheet::GetRunning());
    EXPECT_EQ(nullptr, m_bars.sheetWindow);
    EXPECT_TRUE(AfxGetApp()->IsModelessEnabled());
    EXPECT_FALSE(::IsWindowVisible(m_standard->m_hWnd));  // what the user did stays
}

namespace {

class CFailingSheet : public CTkCustomizeSheet {
public:
    using CTkCustomizeSheet::CTkCustomizeSheet;
    bool CreateSheetWindow() override { return false; }
};

}  // namespace

TEST_F(TkCustomizeSheetTest, ASheetThatCannotBeMadeUndoesItsSetUp) {
    CFailingSheet failing(&m_bars);
    EXPECT_EQ(-1, failing.DoModal());
    EXPECT_FALSE(m_bars.IsCustomizeMode());
    EXPECT_EQ(nullptr, CTkCustomizeSheet::GetRunning());
    EXPECT_EQ(nullptr, m_bars.sheetWindow);
    EXPECT_TRUE(AfxGetApp()->IsModelessEnabled());
    // The next sheet runs as usual.
    CTkCustomizeSheet sheet(&m_bars);
    bool ran = false;
    EXPECT_EQ(IDCANCEL, RunSheet(sheet, {[&] { ran = m_bars.IsCustomizeMode(); }, [&] { Press(sheet, IDCANCEL); }}));
    EXPECT_TRUE(ran);
}

TEST_F(TkCustomizeSheetTest, HooksBlockTheFramesOtherWindowsAndPassNegativeCodesOn) {
    CWnd ordinary;
    ASSERT_TRUE(ordinary.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 100, 50, 20, m_frame.m_hWnd, nullptr));
    CWnd edit;  // an edit control on one of the manager's bars
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_standard->m_hWnd, nullptr));
    CTkCommandBars otherManager;
    CTestBar foreign(100, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR, &m_frame);
    foreign.m_pManager = &otherManager;
    CWnd outside;
    ASSERT_TRUE(outside.CreateEx(0, nullptr, "outside", WS_POPUP | WS_VISIBLE, 600, 10, 50, 50, nullptr, nullptr));
    CWnd sheetWindow;
    ASSERT_TRUE(sheetWindow.CreateEx(0, nullptr, "sheet", WS_POPUP | WS_VISIBLE, 600, 100, 50, 50, nullptr, nullptr));

    CTkCustomizeFilterState state;
    state.frame = m_frame.m_hWnd;
    state.sheet = sheetWindow.m_hWnd;
    state.foreground = sheetWindow.m_hWnd;
    state.manager = &m_bars.manager;
    POINT point = {0, 0};
    EXPECT_FALSE(CTkCustomizeSheet::MousePasses(state, WM_LBUTTONDOWN, ordinary.m_hWnd, point));
    EXPECT_FALSE(CTkCustomizeSheet::MousePasses(state, WM_LBUTTONDOWN, m_frame.m_hWnd, point));
    EXPECT_TRUE(CTkCustomizeSheet::MousePasses(state, WM_MOUSEMOVE, ordinary.m_hWnd, point));
    EXPECT_TRUE(CTkCustomizeSheet::MousePasses(state, WM_LBUTTONDOWN, m_standard->m_hWnd, point));
    EXPECT_TRUE(CTkCustomizeSheet::MousePasses(state, WM_LBUTTONDOWN, edit.m_hWnd, point));
    EXPECT_FALSE(CTkCustomizeSheet::MousePasses(state, WM_LBUTTONDOWN, foreign.m_hWnd, point));
    EXPECT_TRUE(CTkCustomizeSheet::MousePasses(state, WM_LBUTTONDOWN, outside.m_hWnd, point));
    EXPECT_TRUE(CTkCustomizeSheet::MousePasses(state, WM_LBUTTONDOWN, sheetWindow.m_hWnd, point));
    state.foreground = m_frame.m_hWnd;  // the frame in front: its windows work
    EXPECT_TRUE(CTkCustomizeSheet::MousePasses(state, WM_LBUTTONDOWN, ordinary.m_hWnd, point));

    state.foreground = sheetWindow.m_hWnd;
    state.focus = ordinary.m_hWnd;
    EXPECT_FALSE(CTkCustomizeSheet::KeyPasses(state));
    state.capture = ordinary.m_hWnd;
    EXPECT_TRUE(CTkCustomizeSheet::KeyPasses(state));
    state.capture = nullptr;
    state.focus = edit.m_hWnd;
    EXPECT_TRUE(CTkCustomizeSheet::KeyPasses(state));
    state.focus = sheetWindow.m_hWnd;
    EXPECT_TRUE(CTkCustomizeSheet::KeyPasses(state));

    // The hook procedures of a running sheet: a blocked click is dropped, but a negative code is
    // the next hook's business.
    CTkCustomizeSheet sheet(&m_bars);
    LRESULT blocked = 0, negative = 1, keyNegative = 1;
    RunSheet(sheet, {
        [&] {
            sheet.SetForegroundWindow();
            ::SetFocus(ordinary.m_hWnd);
        },
        [&] {
            MOUSEHOOKSTRUCT mouse = {};
            mouse.hwnd = ordinary.m_hWnd;
            if (::GetForegroundWindow() == sheet.m_hWnd)
                blocked = CTkCustomizeSheet::MouseHookProc(HC_ACTION, WM_LBUTTONDOWN, (LPARAM)&mouse);
            else
                blocked = 1;  // no window manager gave the sheet the foreground: nothing to compare
            negative = CTkCustomizeSheet::MouseHookProc(-1, WM_LBUTTONDOWN, (LPARAM)&mouse);
            keyNegative = CTkCustomizeSheet::KeyboardHookProc(-1, 'A', 0);
        },
        [&] { Press(sheet, IDCANCEL); },
    });
    EXPECT_EQ(1, blocked);
    EXPECT_EQ(0, negative);
    EXPECT_EQ(0, keyNegative);
    outside.DestroyWindow();
    sheetWindow.DestroyWindow();
}

TEST(TkCustomizeSheet, OnlyRealMnemonicsPickATab) {
    EXPECT_EQ('C', CTkCustomizeSheet::MnemonicOf("&Commands"));
    EXPECT_EQ('B', CTkCustomizeSheet::MnemonicOf("Tool&bars"));
    EXPECT_EQ('G', CTkCustomizeSheet::MnemonicOf("A&&B &Go"));
    EXPECT_EQ('X', CTkCustomizeSheet::MnemonicOf("&&&x"));
    EXPECT_EQ('Y', CTkCustomizeSheet::MnemonicOf("&x &y"));  // the last one counts
    EXPECT_EQ(0, CTkCustomizeSheet::MnemonicOf("Plain"));   // not its first letter
    EXPECT_EQ(0, CTkCustomizeSheet::MnemonicOf("Trailing&"));
    EXPECT_EQ(0, CTkCustomizeSheet::MnemonicOf("Save && Exit"));
    EXPECT_EQ(0, CTkCustomizeSheet::MnemonicOf(""));
    EXPECT_EQ(0, CTkCustomizeSheet::MnemonicOf("&"));
}

TEST_F(TkCustomizeSheetTest, CategoriesGoWhereAskedWithinTheList) {
    CTkCustomizeSheet sheet(&m_bars);
    CTkCustomizeCommandsPage* page = sheet.GetCommandsPage();
    EXPECT_FALSE(page->InsertMenuCategory(9999, IDS_TK_MENU_COMMANDS));
    EXPECT_EQ(0, page->GetCategoryCount());
    ASSERT_TRUE(page->InsertMenuCategory(500, IDS_TK_MENU_COMMANDS, 7));  // beyond the end: at the end
    page->InsertNewMenuCategory(IDS_TK_NEW_MENU, 99);
    page->InsertAllCommandsCategory(IDS_TK_ALL_COMMANDS, 1);
    ASSERT_EQ(3, page->GetCategoryCount());
    EXPECT_STREQ("Menu Commands", page->GetCategory(0).strName);
    EXPECT_STREQ("All Commands", page->GetCategory(1).strName);
    EXPECT_STREQ("New Menu", page->GetCategory(2).strName);
    const CTkControls* menu = page->GetCategory(0).pControls;
    ASSERT_EQ(3, menu->GetCount());
    EXPECT_EQ(&m_bars.manager, menu->GetManager());
    EXPECT_STREQ("&Reply", menu->GetControl(1)->m_strCaption);
    const CTkControls* all = page->GetCategory(1).pControls;
    ASSERT_EQ(menu->GetCount() + 1, all->GetCount());  // copies of both earlier categories
    EXPECT_NE(menu->GetControl(0), all->GetControl(0));
    EXPECT_EQ(33001, all->GetControl(0)->m_nId);
    EXPECT_EQ(TK_CONTROL_TYPE_POPUP, all->GetControl(3)->m_nType);
    const CTkControls* newMenu = page->GetCategory(2).pControls;
    ASSERT_EQ(1, newMenu->GetCount());
    EXPECT_EQ(TK_CONTROL_TYPE_POPUP, newMenu->GetControl(0)->m_nType);
    EXPECT_STREQ("New Menu", newMenu->GetControl(0)->m_strCaption);
}

TEST_F(TkCustomizeSheetTest, ToolbarNamesAreCheckedAndNewBarsGetAFreeId) {
    CTestBar custom1(100, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR, &m_frame);
    CTestBar custom2(100, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR, &m_frame);
    custom1.m_strTitle = "Custom 1";
    custom1.m_nBarId = 0xE801;
    custom2.m_strTitle = "Custom 2";
    custom2.m_nBarId = 0xE803;
    m_bars.bars.push_back(&custom1);
    m_bars.bars.push_back(&custom2);
    EXPECT_STREQ("Custom 3", CTkToolbarNameDlg::DefaultName(&m_bars, "Custom %d"));
    custom1.m_strTitle = "Bar";
    EXPECT_STREQ("Bar", CTkToolbarNameDlg::DefaultName(&m_bars, "Bar"));  // no number: the loop still ends

    CBoxRecorder boxes;
    CTkToolbarNameDlg create(nullptr, &m_bars, nullptr);
    create.m_strName = "Mine";
    EXPECT_EQ(IDOK, create.CheckName());
    EXPECT_EQ(0xE802u, create.m_nBarId);  // 0xE800 and 0xE801 are taken; 0xE803 found later
    create.m_strName = "Standard";
    EXPECT_EQ(0, create.CheckName());
    create.m_strName = "";
    EXPECT_EQ(0, create.CheckName());
    ASSERT_EQ(2u, boxes.texts.size());
    EXPECT_STREQ("There is already a toolbar called \"Standard\". Please type another name.", boxes.texts[0]);
    EXPECT_STREQ("Please type a name for the toolbar.", boxes.texts[1]);

    CTkToolbarNameDlg rename(nullptr, &m_bars, &custom2);
    rename.m_strName = "Custom 2";  // its own name
    EXPECT_EQ(IDOK, rename.CheckName());
    rename.m_strName = "Bar";
    EXPECT_EQ(0, rename.CheckName());

    // Every id taken: the dialog gives up.
    std::vector<std::unique_ptr<CTkCommandBar>> many;
    for (UINT id = 0xE800; id <= 0xE8FE; ++id) {
        many.emplace_back(new CTkCommandBar);
        many.back()->m_nBarId = id;
        m_bars.bars.push_back(many.back().get());
    }
    boxes.texts.clear();
    create.m_strName = "Another";
    EXPECT_EQ(IDCANCEL, create.CheckName());
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_STREQ("No more toolbars can be created.", boxes.texts[0]);
}

TEST_F(TkCustomizeSheetTest, ToolbarButtonsFollowTheSelectedBarAndDeleteAsksFirst) {
    CTestBar user(100, 26, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR, &m_frame);
    user.m_strTitle = "Mine";
    m_bars.bars.push_back(&user);
    CTkCustomizeSheet sheet(&m_bars);
    ASSERT_TRUE(sheet.Create(&m_frame, WS_POPUP | WS_CAPTION));
    CTkCustomizeToolbarsPage* page = sheet.GetToolbarsPage();
    auto enabled = [&](int id) { return ::IsWindowEnabled(::GetDlgItem(page->m_hWnd, id)) != FALSE; };
    EXPECT_EQ(-1, page->m_list.GetCurSel());
    EXPECT_FALSE(enabled(IDC_TK_TOOLBAR_RESET) || enabled(IDC_TK_TOOLBAR_RENAME) || enabled(IDC_TK_TOOLBAR_DELETE));
    page->m_list.SetCurSel(1);
    page->UpdateButtons();
    EXPECT_TRUE(enabled(IDC_TK_TOOLBAR_RESET));
    EXPECT_FALSE(enabled(IDC_TK_TOOLBAR_RENAME) || enabled(IDC_TK_TOOLBAR_DELETE));
    Press(*page, IDC_TK_TOOLBAR_RESET);
    ASSERT_EQ(1u, m_bars.reset.size());
    EXPECT_EQ(m_standard.get(), m_bars.reset[0]);

    page->m_list.SetCurSel(2);
    page->UpdateButtons();
    EXPECT_FALSE(enabled(IDC_TK_TOOLBAR_RESET));
    EXPECT_TRUE(enabled(IDC_TK_TOOLBAR_RENAME) && enabled(IDC_TK_TOOLBAR_DELETE));
    {
        CBoxRecorder no(IDCANCEL);
        Press(*page, IDC_TK_TOOLBAR_DELETE);
        ASSERT_EQ(1u, no.texts.size());
        EXPECT_STREQ("Delete the toolbar \"Mine\"?", no.texts[0]);
        EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONEXCLAMATION), no.types[0]);
        EXPECT_TRUE(m_bars.removed.empty());
    }
    CBoxRecorder yes(IDOK);
    Press(*page, IDC_TK_TOOLBAR_DELETE);
    ASSERT_EQ(1u, m_bars.removed.size());
    EXPECT_EQ(&user, m_bars.removed[0]);
    EXPECT_EQ(2, page->m_list.GetCount());
    sheet.DestroyWindow();
}

TEST_F(TkCustomizeSheetTest, TheSettingsPageWritesEachChangeAtOnce) {
    CTkCustomizeSheet sheet(&m_bars);
    CTkCustomizeSettingsPage settings(&sheet);
    sheet.AddPage(&settings);
    ASSERT_TRUE(sheet.Create(&m_frame, WS_POPUP | WS_CAPTION));
    ASSERT_TRUE(sheet.SetActivePage(&settings));
    auto enabled = [&](int id) { return ::IsWindowEnabled(::GetDlgItem(settings.m_hWnd, id)) != FALSE; };
    auto click = [&](int id) { ::SendMessageW(::GetDlgItem(settings.m_hWnd, id), BM_CLICK, 0, 0); };
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(settings.m_hWnd, IDC_TK_FULL_MENUS));
    EXPECT_FALSE(enabled(IDC_TK_FULL_MENUS_DELAY));
    EXPECT_TRUE(enabled(IDC_TK_SHORTCUT_TIPS));
    HWND combo = ::GetDlgItem(settings.m_hWnd, IDC_TK_ANIMATION);
    EXPECT_EQ(6, (int)::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, (int)::SendMessageW(combo, CB_GETCURSEL, 0, 0));

    click(IDC_TK_FULL_MENUS);
    EXPECT_EQ(0, m_bars.options[TK_OPTION_ALWAYS_SHOW_FULL_MENUS]);
    EXPECT_TRUE(enabled(IDC_TK_FULL_MENUS_DELAY));
    click(IDC_TK_SCREEN_TIPS);
    EXPECT_EQ(0, m_bars.options[TK_OPTION_TOOLBAR_SCREEN_TIPS]);
    EXPECT_FALSE(enabled(IDC_TK_SHORTCUT_TIPS));
    click(IDC_TK_LARGE_ICONS);
    EXPECT_EQ(1, m_bars.options[TK_OPTION_LARGE_ICONS]);
    EXPECT_EQ(1, m_bars.layouts);
    ::SendMessageW(combo, CB_SETCURSEL, 3, 0);
    settings.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TK_ANIMATION, CBN_SELCHANGE), (LPARAM)combo);
    EXPECT_EQ(3, m_bars.options[TK_OPTION_ANIMATION]);
    {
        CBoxRecorder no(IDNO);
        click(IDC_TK_RESET_USAGE);
        EXPECT_EQ(0, m_bars.usageResets);
        ASSERT_EQ(1u, no.types.size());
        EXPECT_EQ((UINT)(MB_YESNO | MB_ICONEXCLAMATION), no.types[0]);
    }
    CBoxRecorder yes(IDYES);
    click(IDC_TK_RESET_USAGE);
    EXPECT_EQ(1, m_bars.usageResets);
    sheet.DestroyWindow();
}

TEST_F(TkCustomizeSheetTest, AManagersToolbarsAreHiddenMadeAndRemovedAndItsSettingsChangedThroughItsContext) {
    auto* manager = new CTkCommandBars;
    manager->AttachFrame(&m_frame);
    auto* standard = new CTkToolBar;
    standard->m_strTitle = "Standard";
    ASSERT_TRUE(standard->Create(WS_CHILD | WS_VISIBLE, &m_frame, 0xE800));
    manager->AppendBar(standard);
    standard->InternalRelease();
    CTkCustomizeContext context(manager);
    EXPECT_EQ(&m_frame, context.GetFrame());
    EXPECT_TRUE(context.IsBuiltInBar(standard));
    EXPECT_TRUE(context.CanHideBar(standard));
    EXPECT_TRUE(context.IsBarVisible(standard));
    CTkCommandBar* mine = context.AddUserBar("Mine", 0xE801);
    ASSERT_NE(nullptr, mine);
    EXPECT_TRUE(mine->AreToolTipsEnabled()) << "a user toolbar shows tooltips";
    EXPECT_FALSE(standard->AreToolTipsEnabled()) << "made without the tooltip style";

    // The frame's customise command: customise mode while the sheet runs; the toolbars page
    // hides the toolbar in the frame.
    bool customizing = false;
    CWnd* sheetWindow = nullptr;
    INT_PTR result = RunSteps([&] { return TkRunFrameCustomizeSheet(manager, 500); }, {
        [&] {
            customizing = manager->IsCustomizeMode();
            sheetWindow = manager->GetCustomizeSheet();
            CTkCustomizeSheet* running = CTkCustomizeSheet::GetRunning();
            ASSERT_NE(nullptr, running);
            EXPECT_EQ(running, sheetWindow);
            CTkCustomizeToolbarsPage* page = running->GetToolbarsPage();
            ASSERT_EQ(2, page->m_list.GetCount());
            page->m_list.SetCurSel(0);
            page->m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
            EXPECT_FALSE(standard->IsVisible());
            EXPECT_FALSE(::IsWindowVisible(standard->m_hWnd));
            // A user toolbar closed outside the sheet (its close button) is unchecked at once.
            EXPECT_EQ(1, page->m_list.GetCheck(1));
            mine->SetVisible(false);
            EXPECT_EQ(0, page->m_list.GetCheck(1));
            Press(*running, IDCANCEL);
        },
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(customizing);
    EXPECT_NE(nullptr, sheetWindow);
    EXPECT_FALSE(manager->IsCustomizeMode());
    EXPECT_EQ(nullptr, manager->GetCustomizeSheet());

    EXPECT_EQ(2, manager->GetCount());
    EXPECT_EQ(mine, manager->FindBar(0xE801));
    EXPECT_STREQ("Mine", mine->m_strTitle);
    EXPECT_FALSE(context.IsBuiltInBar(mine));
    context.RemoveBar(mine);
    EXPECT_EQ(1, manager->GetCount());

    CTkCommandBarsSettings* settings = manager->GetCommandBarsOptions();
    context.SetOption(TK_OPTION_ANIMATION, 3);
    context.SetOption(TK_OPTION_LARGE_ICONS, 1);
    EXPECT_EQ(3, settings->m_nAnimationType);
    EXPECT_EQ(1, settings->m_bLargeIcons);
    EXPECT_EQ(settings->m_bToolBarAccelTips, context.GetOption(TK_OPTION_TOOLBAR_ACCEL_TIPS));
    settings->HideCommand(33001);
    settings->RecordUsed(33001);
    EXPECT_FALSE(manager->IsCommandHidden(33001));
    context.ResetUsageData();
    EXPECT_TRUE(manager->IsCommandHidden(33001));
    manager->InternalRelease();
}
