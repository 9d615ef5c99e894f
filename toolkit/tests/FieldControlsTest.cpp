// Edit, label and combo-box controls in a command bar of a test site window: creation by type,
// text in and out, the notifications they send, their keys, the clipboard commands of the edit
// window, and the drop-down list of the combo box with the mouse tracker's modal-loop count.
#include "PainterTestSupport.h"
#include "controls/TkControlComboBox.h"
#include "controls/TkControlCustom.h"
#include "controls/TkControlEdit.h"
#include "controls/TkControlSelector.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkPopupBar.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A site that records the commands its bars send.
class CFieldSite : public CWnd {
public:
    struct CExecuted {
        WPARAM id;
        CTkControl* control;
        CString text;  // the control's text when the command arrived
        UINT code;
        HWND from;
    };
    std::vector<CExecuted> executed;
    int popupInits = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TK_WM_EXECUTE) {
            auto* record = reinterpret_cast<CTkExecuteRecord*>(lParam);
            CTkControl* control = record && record->header.idFrom == wParam ? record->pControl : nullptr;
            executed.push_back({wParam, control, control ? control->GetFieldText() : CString(),
                                record ? record->header.code : 0u, record ? record->header.hwndFrom : nullptr});
            return 1;
        }
        if (message == TK_WM_POPUP_PREPARE) ++popupInits;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class TkFieldControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_site.CreateEx(0, nullptr, "site", WS_OVERLAPPEDWINDOW, 10, 10, 500, 120, nullptr, nullptr));
        m_site.ShowWindow(SW_SHOW);
        m_site.SetForegroundWindow();
        m_bar.reset(new CTestBar(400, 30, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR, &m_site));
        // Under load the activation may come late: the focus tests need an active site.
        HWND site = m_site.GetSafeHwnd();
        ASSERT_TRUE(TkPumpUntil([site] { return Focus(site); }, 3000));
    }
    // Gives a window of the site the focus, activating the site first; true when it has it.
    static bool Focus(HWND window) {
        HWND top = ::GetAncestor(window, GA_ROOT);
        if (::GetActiveWindow() != top) TkBringToFront(top, 500);
        ::SetFocus(window);
        return ::GetFocus() == window;
    }
    void TearDown() override {
        m_bar.reset();
        if (m_site.GetSafeHwnd()) m_site.DestroyWindow();
        TkPumpPending();
        EXPECT_FALSE(tracker().IsModalLoopRunning()) << "every raised modal-loop count was lowered";
    }
    static CTkMouseTracker& tracker() { return CTkMouseTracker::ForThread(); }
    static CTkKeyboardHook& keys() { return CTkKeyboardHook::ForThread(); }
    static CRect ChildRect(HWND child) {
        CRect rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    static CString WindowText(HWND hwnd) {
        char text[256] = "";
        ::GetWindowTextA(hwnd, text, sizeof text);
        return text;
    }

    CFieldSite m_site;
    std::unique_ptr<CTestBar> m_bar;
};

TEST_F(TkFieldControlsTest, CreationByTypeMakesTheFieldControls) {
    CTkControls* controls = m_bar->GetControls();
    auto* combo = dynamic_cast<CTkControlComboBox*>(controls->AddNew(TK_CONTROL_TYPE_COMBO, 310));
    auto* edit = dynamic_cast<CTkControlEdit*>(controls->AddNew(TK_CONTROL_TYPE_EDIT, 300));
    auto* label = dynamic_cast<CTkControlLabel*>(controls->AddNew(TK_CONTROL_TYPE_LABEL, 0));
    ASSERT_TRUE(combo && edit && label);
    EXPECT_EQ(TK_CONTROL_TYPE_COMBO, combo->m_nType);
    EXPECT_EQ(310, combo->m_nId);
    EXPECT_EQ(combo->GetList(), combo->GetCommandBar()) << "the combo's child bar is its own list";
    EXPECT_EQ(TK_BAR_POSITION_LIST, combo->GetList()->m_nPosition);
    EXPECT_EQ(0, combo->GetList()->m_nMRUWidth) << "0: as wide as the combo";
    EXPECT_EQ(100, combo->m_nWidth);
    EXPECT_EQ(-1, combo->GetCurSel()) << "no list window yet";
    EXPECT_EQ(CString(), combo->GetListText());
    EXPECT_EQ(TK_CONTROL_TYPE_EDIT, edit->m_nType);
    EXPECT_EQ(100, edit->m_nWidth);
    EXPECT_EQ(1, edit->m_bShowCaption);
    EXPECT_EQ(nullptr, edit->GetEdit()) << "no window until laid out";
    EXPECT_EQ(18, label->m_nFlags);
    EXPECT_EQ(TK_CONTROL_TYPE_LABEL, label->m_nType);

    // The classes are created by name, as the archive does.
    for (const char* name : {"CTkControlComboBox", "CTkControlEdit", "CTkControlLabel", "CTkControlComboBoxList"}) {
        CRuntimeClass* cls = CRuntimeClass::FromName(name);
        ASSERT_NE(nullptr, cls) << name;
        EXPECT_TRUE(cls->IsSerializable()) << name;
        EXPECT_EQ(VERSIONABLE_SCHEMA | 7, cls->m_wSchema) << name;
    }

    // A copy takes the fields and the list's strings, and keeps a list of its own.
    combo->AddString("one");
    combo->AddString("two");
    combo->SetEditable(true);
    combo->SetText("typed");
    combo->m_nWidth = 150;
    edit->SetText("find me");
    edit->m_nWidth = 80;
    CTkControl* comboCopy = combo->Clone(true);
    CTkControl* editCopy = edit->Clone(true);
    auto* comboClone = dynamic_cast<CTkControlComboBox*>(comboCopy);
    auto* editClone = dynamic_cast<CTkControlEdit*>(editCopy);
    ASSERT_TRUE(comboClone && editClone);
    EXPECT_NE(combo->GetList(), comboClone->GetList());
    EXPECT_EQ(2, comboClone->GetList()->GetCount());
    EXPECT_EQ(CString("two"), comboClone->GetList()->GetString(1));
    EXPECT_TRUE(comboClone->IsEditable());
    EXPECT_EQ(CString("typed"), comboClone->GetText());
    EXPECT_EQ(150, comboClone->m_nWidth);
    EXPECT_EQ(CString("find me"), editClone->GetText());
    EXPECT_EQ(80, editClone->m_nWidth);
    comboCopy->InternalRelease();
    editCopy->InternalRelease();
}

TEST_F(TkFieldControlsTest, AnEditControlTakesAndGivesTextAndRunsOnEnter) {
    auto* edit = static_cast<CTkControlEdit*>(m_bar->GetControls()->AddNew(TK_CONTROL_TYPE_EDIT, 300));
    edit->m_strCaption = "Find";
    edit->SetText("hello");
    edit->SetRect(10, 2, 250, 26);
    HWND field = edit->GetFieldWindow();
    ASSERT_NE(nullptr, field);
    EXPECT_EQ(m_bar->GetSafeHwnd(), ::GetParent(field));
    EXPECT_EQ(0x40000080u, (DWORD)::GetWindowLongW(field, GWL_STYLE) & 0x400000FFu) << "child, auto-scrolling";
    EXPECT_TRUE(::IsWindowVisible(field));
    EXPECT_EQ(CString("hello"), WindowText(field)) << "the text set before the window exists";
    const int captionWidth = TkFieldCaptionWidth(edit, true);
    EXPECT_GT(captionWidth, 22);
    EXPECT_TRUE(SameRect(CRect(10 + captionWidth + 3, 5, 247, 23), ChildRect(field)));
    EXPECT_EQ((HGDIOBJ)CTkThemePainter::Fonts().iconTitle.GetSafeHandle(), (HGDIOBJ)::SendMessageW(field, WM_GETFONT, 0, 0));

    // Typed text comes back; text set goes into the window.
    ::SetWindowTextA(field, "typed");
    EXPECT_EQ(CString("typed"), edit->GetText());
    edit->SetText("given");
    EXPECT_EQ(CString("given"), WindowText(field));

    // Focus selects all and holds the field's key sink until it goes.
    // (The focus must outlast the pumped messages: another program may take the activation.)
    ASSERT_TRUE(TkPumpUntil([field] { return Focus(field) && (TkPumpPending(), ::GetFocus() == field); }, 3000));
    DWORD start = 1, end = 0;
    ::SendMessageW(field, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(5u, end);
    EXPECT_TRUE(keys().HasSink(&edit->GetField()));
    EXPECT_EQ(0, keys().RouteKey(WM_KEYDOWN, 'X', 0)) << "other keys reach the field";

    // Enter runs the control: the site gets the command with the control and its text.
    ::SendMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(1u, m_site.executed.size());
    EXPECT_EQ(300u, m_site.executed[0].id);
    EXPECT_EQ(edit, m_site.executed[0].control);
    EXPECT_EQ(CString("given"), m_site.executed[0].text);

    // Esc gives the focus back to the window that had it, and the sink goes.
    EXPECT_EQ(1, keys().RouteKey(WM_KEYDOWN, VK_ESCAPE, 0));
    EXPECT_EQ(m_site.GetSafeHwnd(), ::GetFocus());
    EXPECT_FALSE(keys().HasSink(&edit->GetField()));
    EXPECT_EQ(TK_HOOK_IGNORED, edit->GetField().OnFieldKey(VK_ESCAPE)) << "Esc with the focus elsewhere";
    EXPECT_EQ(TK_HOOK_STOP, edit->GetField().OnFieldKey('A'));

    // From the keyboard the control takes the focus first, and runs only when it has it.
    edit->OnClick(true, CPoint());
    EXPECT_EQ(field, ::GetFocus());
    EXPECT_EQ(1u, m_site.executed.size());
    edit->OnClick(true, CPoint());
    EXPECT_EQ(2u, m_site.executed.size());
    ::SetFocus(m_site.GetSafeHwnd());

    // Disabled with the control; hidden for a vertical layout and shown again after.
    edit->SetEnabled(false);
    EXPECT_FALSE(::IsWindowEnabled(field));
    edit->SetEnabled(true);
    EXPECT_TRUE(::IsWindowEnabled(field));
    edit->OnCalcDynamicSize(TK_LAYOUT_VERT_DOCK | TK_LAYOUT_COMMIT);
    EXPECT_EQ(TK_CONTROL_HIDE_VERTICAL, edit->m_nHideFlags);
    EXPECT_FALSE(::IsWindowVisible(field));
    edit->OnCalcDynamicSize(TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_COMMIT);
    EXPECT_EQ(0, edit->m_nHideFlags);
    EXPECT_TRUE(::IsWindowVisible(field));

    // Removed from its bar, the window goes and the text stays.
    ::SetWindowTextA(field, "last words");
    edit->InternalAddRef();
    m_bar->GetControls()->RemoveControl(edit);
    EXPECT_FALSE(::IsWindow(field));
    EXPECT_EQ(CString("last words"), edit->GetText());
    edit->InternalRelease();
}

TEST_F(TkFieldControlsTest, AFieldKeepsItsTextWhenTheBarWindowGoesFirst) {
    auto* edit = static_cast<CTkControlEdit*>(m_bar->GetControls()->AddNew(TK_CONTROL_TYPE_EDIT, 300));
    edit->SetRect(10, 2, 150, 26);
    HWND field = edit->GetFieldWindow();
    ASSERT_NE(nullptr, field);
    ::SetFocus(field);
    ::SetWindowTextA(field, "kept");
    m_bar->DestroyWindow();
    EXPECT_FALSE(::IsWindow(field));
    EXPECT_FALSE(keys().HasSink(&edit->GetField())) << "a field without a window holds no key sink";
    EXPECT_EQ(CString("kept"), edit->GetText());
    EXPECT_EQ(nullptr, edit->GetFieldWindow());
}

// A command-UI probe that records what an update handler set.
class CProbeCmdUI : public CCmdUI {
public:
    explicit CProbeCmdUI(UINT id) { m_nID = id; }
    void Enable(bool on) override { enabled = on ? 1 : 0; }
    int enabled = -1;
};

int UpdateState(CTkEdit* edit, UINT id) {
    CProbeCmdUI ui(id);
    if (!edit->OnCmdMsg(id, (int)CN_UPDATE_COMMAND_UI, &ui)) return -1;
    return ui.enabled;
}

bool EmptyTheClipboard(HWND owner) {
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    ::CloseClipboard();
    return true;
}

CString ClipboardText(HWND owner) {
    CString text;
    if (!::OpenClipboard(owner)) return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
            text = bytes;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

TEST_F(TkFieldControlsTest, TheEditWindowsClipboardCommandsFollowSelectionAndClipboard) {
    auto* edit = static_cast<CTkControlEdit*>(m_bar->GetControls()->AddNew(TK_CONTROL_TYPE_EDIT, 300));
    edit->SetRect(10, 2, 200, 26);
    CTkEdit* window = edit->GetEdit();
    ASSERT_TRUE(window && window->GetSafeHwnd());
    ASSERT_TRUE(EmptyTheClipboard(m_site.GetSafeHwnd()));

    EXPECT_EQ(0, UpdateState(window, TK_ID_EDIT_COPY)) << "an empty field has nothing to copy";
    EXPECT_EQ(0, UpdateState(window, TK_ID_EDIT_CUT));
    EXPECT_EQ(0, UpdateState(window, TK_ID_EDIT_PASTE)) << "no text on the clipboard";
    EXPECT_EQ(-1, UpdateState(window, 57600)) << "other commands are not the field's";

    window->SetWindowText("alpha beta");
    window->SetSel(0, 5);
    EXPECT_EQ(1, UpdateState(window, TK_ID_EDIT_COPY));
    EXPECT_EQ(1, UpdateState(window, TK_ID_EDIT_CUT));
    EXPECT_TRUE(window->OnCmdMsg(TK_ID_EDIT_COPY, (int)CN_COMMAND, nullptr));
    EXPECT_EQ(CString("alpha"), ClipboardText(m_site.GetSafeHwnd()));
    EXPECT_EQ(1, UpdateState(window, TK_ID_EDIT_PASTE)) << "text on the clipboard";

    window->SetSel(5, 10);
    EXPECT_TRUE(window->OnCmdMsg(TK_ID_EDIT_CUT, (int)CN_COMMAND, nullptr));
    EXPECT_EQ(CString("alpha"), edit->GetText());
    EXPECT_EQ(CString(" beta"), ClipboardText(m_site.GetSafeHwnd()));
    window->SetSel(0, 0);
    EXPECT_TRUE(window->OnCmdMsg(TK_ID_EDIT_PASTE, (int)CN_COMMAND, nullptr));
    EXPECT_EQ(CString(" betaalpha"), edit->GetText());
    EXPECT_FALSE(window->RunCommand(57600));

    ASSERT_TRUE(EmptyTheClipboard(m_site.GetSafeHwnd()));
}

// Runs a step once from the thread's message loop (the loop of an open menu), a little later.
void RunFromLoop(std::function<void()> step) {
    static std::function<void()> pending;
    pending = std::move(step);
    ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        std::function<void()> run = std::move(pending);
        pending = nullptr;
        if (run) run();
    });
}

// The popup chain's last bar: the open menu.
CTkPopupBar* OpenMenu() {
    const auto& tracked = CTkMouseTracker::ForThread().GetTrackedBars();
    return tracked.empty() ? nullptr : dynamic_cast<CTkPopupBar*>(tracked.back());
}

TEST_F(TkFieldControlsTest, ARightClickOpensTheFieldsMenuOnAToolkitPopupAndRunsTheChoice) {
    auto* edit = static_cast<CTkControlEdit*>(m_bar->GetControls()->AddNew(TK_CONTROL_TYPE_EDIT, 300));
    edit->SetRect(10, 2, 200, 26);
    CTkEdit* window = edit->GetEdit();
    ASSERT_TRUE(window && window->GetSafeHwnd());
    ASSERT_TRUE(EmptyTheClipboard(m_site.GetSafeHwnd()));
    window->SetWindowText("alpha");
    window->SetSel(0, 0);
    ::SetFocus(nullptr);  // the field has no focus (activation is not needed for that)

    // Without a manager the popup runs its own loop. The field had no focus: all is selected,
    // so Cut and Copy are on and Paste (an empty clipboard) off; the modal-loop count is up.
    std::vector<CString> captions;
    std::vector<int> ids, enabled;
    bool modal = false;
    RunFromLoop([&] {
        CTkPopupBar* menu = OpenMenu();
        ASSERT_TRUE(menu);
        modal = tracker().IsModalLoopRunning();
        menu->UpdateCommandUI(true);
        for (int i = 0; i < menu->GetControls()->GetCount(); ++i) {
            captions.push_back(menu->GetControl(i)->m_strCaption);
            ids.push_back(menu->GetControl(i)->m_nId);
            enabled.push_back(menu->GetControl(i)->m_bEnabled);
        }
        menu->GetControl(1)->Execute();
    });
    window->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ((std::vector<int>{TK_ID_EDIT_CUT, TK_ID_EDIT_COPY, TK_ID_EDIT_PASTE}), ids);
    EXPECT_EQ((std::vector<CString>{"Cu&t", "&Copy", "&Paste"}), captions);
    EXPECT_EQ((std::vector<int>{1, 1, 0}), enabled);
    EXPECT_TRUE(modal);
    EXPECT_FALSE(tracker().IsModalLoopRunning());
    EXPECT_FALSE(tracker().HasTrackedBars());
    EXPECT_EQ(CString("alpha"), ClipboardText(m_site.GetSafeHwnd())) << "Copy reached the field";
    ASSERT_TRUE(EmptyTheClipboard(m_site.GetSafeHwnd()));

    // The program quits while the menu is open: the menu ends, runs nothing, and the quit goes on.
    RunFromLoop([] { ::PostQuitMessage(5); });
    window->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    MSG quit = {};
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(5u, quit.wParam);
    EXPECT_FALSE(tracker().IsModalLoopRunning());
    EXPECT_FALSE(tracker().HasTrackedBars());
    EXPECT_EQ(CString("alpha"), edit->GetText());

    // With a manager, from the keyboard's menu key: the manager runs it. Cut takes it all.
    auto* manager = new CTkCommandBars;
    manager->AttachFrame(&m_site);
    m_bar->m_pManager = manager;
    window->SetSel(0, 0);
    ::SetFocus(nullptr);
    RunFromLoop([&] {
        CTkPopupBar* menu = OpenMenu();
        ASSERT_TRUE(menu);
        EXPECT_EQ(manager, menu->m_pManager);
        modal = tracker().IsModalLoopRunning();
        menu->GetControl(0)->Execute();
    });
    modal = false;
    window->SendMessage(WM_CONTEXTMENU, (WPARAM)window->GetSafeHwnd(), MAKELPARAM(-1, -1));
    EXPECT_TRUE(modal);
    EXPECT_EQ(CString(""), edit->GetText());
    EXPECT_EQ(CString("alpha"), ClipboardText(m_site.GetSafeHwnd()));
    EXPECT_FALSE(tracker().IsModalLoopRunning());

    // In customise mode no menu opens, neither the toolkit's nor the edit window's own.
    manager->SetCustomizeMode(true);
    bool opened = false;
    RunFromLoop([&] {
        opened = OpenMenu() != nullptr;
        if (opened) tracker().CloseTracked();
    });
    window->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    window->SendMessage(WM_CONTEXTMENU, (WPARAM)window->GetSafeHwnd(), MAKELPARAM(5, 5));
    TkPumpUntil([] { return false; }, 100);
    EXPECT_FALSE(opened);
    manager->SetCustomizeMode(false);
    m_bar->m_pManager = nullptr;
    manager->InternalRelease();
    ASSERT_TRUE(EmptyTheClipboard(m_site.GetSafeHwnd()));
}

// ---------------------------------------------------------------------------------------------
// The combo box.

class TkComboBoxTest : public TkFieldControlsTest {
protected:
    void SetUp() override {
        TkFieldControlsTest::SetUp();
        m_combo = static_cast<CTkControlComboBox*>(m_bar->GetControls()->AddNew(TK_CONTROL_TYPE_COMBO, 310));
        ASSERT_NE(nullptr, m_combo);
        for (const char* text : {"a", "b", "c"}) m_combo->AddString(text);
    }
    // Lays the combo out at the rectangle of the layout checks.
    void Place(bool editable) {
        m_combo->SetEditable(editable);
        m_combo->m_nCaptionWidth = 40;
        m_combo->m_nDropButtonWidth = 11;
        m_combo->SetRect(10, 2, 210, 24);
    }
    void Open() { m_combo->OnClick(false, CPoint(205, 12)); }
    CTkControlComboBoxList* list() const { return m_combo->GetList(); }
    int ItemHeight() const { return (int)list()->SendMessage(LB_GETITEMHEIGHT, 0); }
    CRect ListRect() const {
        CRect rect;
        list()->GetWindowRect(&rect);
        return rect;
    }

    CTkControlComboBox* m_combo = nullptr;
};

TEST_F(TkComboBoxTest, AComboTakesAndGivesTextAndSendsItsNotifications) {
    Place(true);
    HWND field = m_combo->GetFieldWindow();
    ASSERT_NE(nullptr, field);
    EXPECT_TRUE(SameRect(CRect(54, 5, 196, 21), ChildRect(field)));
    EXPECT_EQ(0x40000080u, (DWORD)::GetWindowLongW(field, GWL_STYLE) & 0x400000FFu);

    // Choosing from the list sets the text in the field.
    m_combo->SetCurSel(1);
    EXPECT_EQ(1, m_combo->GetCurSel());
    EXPECT_EQ(CString("b"), m_combo->GetListText());
    EXPECT_EQ(CString("b"), WindowText(field));
    EXPECT_EQ(CString("b"), m_combo->GetText());
    ::SetWindowTextA(field, "typed");
    EXPECT_EQ(CString("typed"), m_combo->GetText()) << "what the user typed";
    m_combo->SetText("given");
    EXPECT_EQ(CString("given"), WindowText(field));

    // Open: the site prepares the list, which shows the three strings below the combo.
    Open();
    ASSERT_TRUE(list()->IsWindowVisible());
    EXPECT_TRUE(m_combo->IsPopupOpen());
    EXPECT_EQ(1, m_site.popupInits);
    EXPECT_TRUE(list()->HoldsModalLoop());
    EXPECT_TRUE(tracker().IsModalLoopRunning());
    CRect comboOnScreen(10, 2, 210, 24);
    ::MapWindowPoints(m_bar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&comboOnScreen), 2);
    EXPECT_EQ(comboOnScreen.left, ListRect().left);
    EXPECT_EQ(comboOnScreen.bottom, ListRect().top);
    EXPECT_EQ(200, ListRect().Width());
    EXPECT_EQ(3 * ItemHeight() + 4, ListRect().Height());

    // Hovering over an item selects it; Esc puts back the selection from before the opening.
    list()->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 2 * ItemHeight() + 1));
    EXPECT_EQ(2, m_combo->GetCurSel());
    EXPECT_EQ(CString("c"), WindowText(field));
    EXPECT_EQ(1, list()->OnHookKeyDown(VK_ESCAPE));
    EXPECT_FALSE(list()->IsWindowVisible());
    EXPECT_FALSE(m_combo->IsPopupOpen());
    EXPECT_EQ(1, m_combo->GetCurSel());
    EXPECT_EQ(CString("b"), m_combo->GetText());
    EXPECT_FALSE(tracker().IsModalLoopRunning());
    EXPECT_TRUE(m_site.executed.empty());

    // Down then Enter: the choice is kept and the site gets the command with the combo.
    Open();
    EXPECT_EQ(1, list()->OnHookKeyDown(VK_DOWN));
    EXPECT_EQ(2, m_combo->GetCurSel());
    EXPECT_EQ(0, list()->OnHookKeyDown(VK_TAB)) << "Tab is not the list's";
    EXPECT_EQ(1, list()->OnHookKeyDown(VK_RETURN));
    ASSERT_EQ(1u, m_site.executed.size());
    EXPECT_EQ(310u, m_site.executed[0].id);
    EXPECT_EQ(m_combo, m_site.executed[0].control);
    EXPECT_EQ(CString("c"), m_site.executed[0].text);
    EXPECT_FALSE(list()->IsWindowVisible());
    EXPECT_EQ(2, m_combo->GetCurSel());
    EXPECT_EQ(CString("c"), m_combo->GetText());

    // A click on an item chooses it.
    Open();
    list()->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 1));
    list()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 1));
    ASSERT_EQ(2u, m_site.executed.size());
    EXPECT_EQ(CString("a"), m_site.executed[1].text);
    EXPECT_EQ(0, m_combo->GetCurSel());
}

TEST_F(TkComboBoxTest, TheFieldsKeysOpenTheListAndGiveBackTheFocus) {
    Place(true);
    HWND field = m_combo->GetFieldWindow();
    ASSERT_NE(nullptr, field);
    m_combo->OnClick(true, CPoint());
    ASSERT_EQ(field, ::GetFocus()) << "from the keyboard the field takes the focus";
    EXPECT_EQ(0, keys().RouteKey(WM_KEYDOWN, VK_F4, 0)) << "F4 also reaches the field";
    EXPECT_TRUE(list()->IsWindowVisible());
    EXPECT_EQ(1, keys().RouteKey(WM_KEYDOWN, VK_DOWN, 0)) << "the open list takes the arrows";
    EXPECT_EQ(0, m_combo->GetCurSel());
    EXPECT_EQ(0, keys().RouteKey(WM_KEYDOWN, VK_F4, 0));
    EXPECT_FALSE(list()->IsWindowVisible());
    EXPECT_EQ(-1, m_combo->GetCurSel()) << "closed without a choice";
    EXPECT_EQ(field, ::GetFocus());
    EXPECT_EQ(0, keys().RouteKey(WM_KEYDOWN, 'Q', 0));
    EXPECT_EQ(1, keys().RouteKey(WM_KEYDOWN, VK_ESCAPE, 0));
    EXPECT_EQ(m_site.GetSafeHwnd(), ::GetFocus());
    EXPECT_FALSE(keys().HasSink(&m_combo->GetField()));

    // Not editable: no field, and a keyboard click opens the list.
    m_combo->SetEditable(false);
    EXPECT_EQ(nullptr, m_combo->GetFieldWindow());
    EXPECT_EQ(TK_HOOK_HANDLED, m_combo->GetField().OnFieldKey(VK_ESCAPE)) << "no field window";
    m_combo->OnClick(true, CPoint());
    EXPECT_TRUE(list()->IsWindowVisible());
    m_bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
    EXPECT_FALSE(list()->IsWindowVisible());
}

TEST_F(TkComboBoxTest, TheListsModalLoopCountIsRaisedAndLoweredOncePerOpening) {
    Place(false);
    tracker().EnterModalLoop();  // someone else's loop runs around the combo's
    Open();
    ASSERT_TRUE(list()->HoldsModalLoop());
    Open();  // a second click on the open combo closes it
    EXPECT_FALSE(list()->IsWindowVisible());
    EXPECT_FALSE(list()->HoldsModalLoop());
    list()->SetTrackingMode(TK_TRACKING_NONE, true, false);  // closing again lowers nothing
    m_combo->SetPopuped(false);
    EXPECT_TRUE(tracker().IsModalLoopRunning()) << "the outer loop's count is untouched";
    tracker().LeaveModalLoop();
    EXPECT_FALSE(tracker().IsModalLoopRunning()) << "the combo raised no count it did not lower";

    // While the list is open a button release outside closes nothing; a press outside does.
    Open();
    ASSERT_TRUE(list()->IsWindowVisible());
    EXPECT_FALSE(tracker().FilterMouse(WM_LBUTTONUP, POINT{1200, 900}));
    EXPECT_TRUE(list()->IsWindowVisible());
    EXPECT_FALSE(tracker().FilterMouse(WM_LBUTTONDOWN, POINT{1200, 900}));
    EXPECT_FALSE(list()->IsWindowVisible());
    EXPECT_FALSE(tracker().IsModalLoopRunning());

    // A combo that goes while its list is open lowers the count it raised.
    Open();
    ASSERT_TRUE(tracker().IsModalLoopRunning());
    m_bar->GetControls()->RemoveControl(m_combo);
    m_combo = nullptr;
    EXPECT_FALSE(tracker().IsModalLoopRunning());
}

TEST_F(TkComboBoxTest, TheListIsOneToTwelveRowsHighAndAsWideAsAsked) {
    Place(false);
    list()->ResetContent();
    Open();
    EXPECT_EQ(ItemHeight() + 4, ListRect().Height()) << "an empty list opens one row high";
    Open();
    for (int i = 0; i < 30; ++i) m_combo->AddString(CString('x', i + 1));
    list()->m_nMRUWidth = 150;
    Open();
    EXPECT_EQ(12 * ItemHeight() + 4, ListRect().Height());
    EXPECT_EQ(150, ListRect().Width());
    char className[32] = "";
    ::GetClassNameA(list()->GetSafeHwnd(), className, sizeof className);
    EXPECT_STRCASEEQ("ListBox", className);
    EXPECT_EQ(0x20080u, (DWORD)::GetWindowLongW(list()->GetSafeHwnd(), GWL_EXSTYLE) & 0x20080u);
    const DWORD added = WS_VISIBLE | WS_CLIPSIBLINGS;  // shown, and what the system gives every popup
    EXPECT_EQ(0x82A00000u, (DWORD)::GetWindowLongW(list()->GetSafeHwnd(), GWL_STYLE) & 0xFFFF0000u & ~added);
    Open();
}

// ---------------------------------------------------------------------------------------------
// The selector and the custom control.

// Holds the left mouse button down in the thread's key state for one scope.
class CButtonHeld {
public:
    CButtonHeld() {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        ::memcpy(state, m_saved, sizeof state);
        state[VK_LBUTTON] = 0x80;
        ::SetKeyboardState(state);
    }
    ~CButtonHeld() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

TEST_F(TkFieldControlsTest, ASelectorFollowsTheCursorGrowsWhileHeldAndRunsTheChoice) {
    auto* selector = new CTkControlSelector;
    m_bar->GetControls()->Add(selector, 320);
    EXPECT_EQ(140, selector->GetSize(nullptr).cx);
    EXPECT_EQ(112, selector->GetSize(nullptr).cy);
    selector->SetRect(10, 2, 150, 114);

    // Three column edges and two row edges lie before the cursor.
    selector->OnMouseMove(CPoint(10 + 60, 2 + 30));
    EXPECT_EQ(3, selector->m_szSelection.cx);
    EXPECT_EQ(2, selector->m_szSelection.cy);
    ASSERT_EQ(1u, m_site.executed.size());
    EXPECT_EQ(320u, m_site.executed[0].id);
    EXPECT_EQ(TK_SELECTOR_CHANGED, m_site.executed[0].code);
    EXPECT_EQ(nullptr, m_site.executed[0].from);
    EXPECT_EQ(selector, m_site.executed[0].control);
    selector->OnMouseMove(CPoint(10 + 70, 2 + 40));
    EXPECT_EQ(1u, m_site.executed.size()) << "the same selection sends nothing";
    selector->OnMouseMove(CPoint(10 + 400, 2 + 400));
    EXPECT_EQ(5, selector->m_szSelection.cx) << "without the button the grid stays";
    EXPECT_EQ(4, selector->m_szSelection.cy);

    // With the button held beyond the grid it grows to hold the cursor, up to 12 x 12.
    {
        CButtonHeld held;
        selector->OnMouseMove(CPoint(10 + 200, 2 + 100));
        EXPECT_EQ(8, selector->m_szGrid.cx);
        EXPECT_EQ(4, selector->m_szGrid.cy);
        selector->OnMouseMove(CPoint(10 + 400, 2 + 400));
    }
    EXPECT_EQ(12, selector->m_szGrid.cx);
    EXPECT_EQ(12, selector->m_szGrid.cy);
    EXPECT_EQ(336, selector->GetSize(nullptr).cx);
    EXPECT_EQ(12, selector->m_szSelection.cx);

    // Leaving the control resets selection and grid.
    selector->m_nSelected = TK_CONTROL_SELECTION_MOUSE;
    selector->SetSelected(TK_CONTROL_SELECTION_NONE);
    EXPECT_EQ(0, selector->m_szSelection.cx);
    EXPECT_EQ(5, selector->m_szGrid.cx);
    EXPECT_EQ(4, selector->m_szGrid.cy);

    // A click with a selection remembers it and runs the command; without one nothing runs.
    m_site.executed.clear();
    selector->OnClick(false, CPoint());
    EXPECT_TRUE(m_site.executed.empty());
    selector->OnMouseMove(CPoint(10 + 60, 2 + 30));
    selector->OnClick(false, CPoint(10 + 60, 2 + 30));
    EXPECT_EQ(3, selector->m_szLastChosen.cx);
    EXPECT_EQ(2, selector->m_szLastChosen.cy);
    ASSERT_EQ(2u, m_site.executed.size());
    EXPECT_EQ(TK_CONTROL_EXECUTED, m_site.executed[1].code);

    // Grids that would divide by zero or never end are refused.
    EXPECT_FALSE(selector->SetGrid(CSize(5, 4), CSize(12, 12), CSize(0, 28)));
    EXPECT_FALSE(selector->SetGrid(CSize(5, 4), CSize(12, 12), CSize(28, 257)));
    EXPECT_FALSE(selector->SetGrid(CSize(13, 4), CSize(12, 12), CSize(28, 28)));
    EXPECT_FALSE(selector->SetGrid(CSize(0, 4), CSize(12, 12), CSize(28, 28)));
    EXPECT_FALSE(selector->SetGrid(CSize(5, 4), CSize(65, 12), CSize(28, 28)));
    EXPECT_EQ(28, selector->m_szCell.cx);
    EXPECT_TRUE(selector->SetGrid(CSize(2, 2), CSize(64, 64), CSize(10, 12)));
    EXPECT_EQ(20, selector->GetSize(nullptr).cx);
    EXPECT_EQ(24, selector->GetSize(nullptr).cy);
}

TEST_F(TkFieldControlsTest, ACustomControlHostsAWindowOfTheFrameButNoBar) {
    HWND child = ::CreateWindowExA(0, "BUTTON", "hosted", WS_CHILD | WS_VISIBLE, 0, 60, 50, 20, m_site.GetSafeHwnd(),
                                   (HMENU)1234, nullptr, nullptr);
    ASSERT_NE(nullptr, child);
    auto* custom = static_cast<CTkControlCustom*>(m_bar->GetControls()->AddNew(TK_CONTROL_TYPE_CUSTOM, 330));
    ASSERT_NE(nullptr, custom);
    EXPECT_EQ(16, custom->m_nFlags);
    custom->m_rcMargins = CRect(2, 3, 4, 5);
    custom->m_nHostedId = 1234;
    ASSERT_TRUE(custom->AttachHostedById(m_site.GetSafeHwnd()));
    EXPECT_EQ(child, custom->GetHostedWindow());
    custom->SetRect(10, 2, 110, 28);
    EXPECT_EQ(m_bar->GetSafeHwnd(), ::GetParent(child));
    EXPECT_TRUE(SameRect(CRect(12, 5, 106, 23), ChildRect(child)));
    EXPECT_TRUE(::IsWindowVisible(child));

    // Mouse moves over the hosted window reach the bar.
    ::SendMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(custom->m_nIndex, m_bar->m_nHotIndex);

    // Hidden in a vertical bar unless asked otherwise.
    m_bar->m_nPosition = TK_BAR_POSITION_LEFT;
    custom->SetRect(2, 10, 28, 110);
    EXPECT_FALSE(::IsWindowVisible(child));
    custom->m_nVerticalOption = 1;
    custom->SetHideFlags(0);
    EXPECT_TRUE(::IsWindowVisible(child));
    custom->SetHideFlags(TK_CONTROL_HIDE_CUSTOMIZE);
    EXPECT_FALSE(::IsWindowVisible(child));

    // No second host, no bar, dock bar, status bar or view.
    CTkControlCustom other;
    EXPECT_FALSE(other.SetHostedWindow(child)) << "hosted already";
    EXPECT_FALSE(other.SetHostedWindow(m_bar->GetSafeHwnd()));
    for (int id : {59393, 59419, 59422, 59648}) {
        HWND named = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, m_site.GetSafeHwnd(), (HMENU)(INT_PTR)id,
                                       nullptr, nullptr);
        other.m_nHostedId = id;
        EXPECT_FALSE(other.AttachHostedById(m_site.GetSafeHwnd())) << id;
        EXPECT_EQ(0, other.m_nHostedId) << "a refused id leaves the control empty";
        ::DestroyWindow(named);
    }

    // A hosted window that goes is forgotten and may be hosted again once made anew.
    ::DestroyWindow(child);
    EXPECT_EQ(nullptr, custom->GetHostedWindow());
    EXPECT_EQ(1234, custom->m_nHostedId);
    HWND again = ::CreateWindowExA(0, "BUTTON", "again", WS_CHILD, 0, 60, 50, 20, m_site.GetSafeHwnd(), (HMENU)1234,
                                   nullptr, nullptr);
    EXPECT_TRUE(other.SetHostedWindow(again));
    other.SetHostedWindow(nullptr);
    ::DestroyWindow(again);
}

}  // namespace

namespace {

// Records the controls a customise drag was started for.
class CDragProbe : public ITkControlDragSource {
public:
    DWORD DoDragControl(CTkControl* control) override {
        dragged.push_back(control);
        return DROPEFFECT_NONE;
    }
    std::vector<CTkControl*> dragged;
};

TEST_F(TkFieldControlsTest, InCustomiseModeTheControlsAreDraggedNotUsed) {
    CDragProbe probe;
    CTkCommandBars* manager = new CTkCommandBars;
    manager->AttachFrame(&m_site);
    manager->m_pControlDragSource = &probe;
    m_bar->m_pManager = manager;
    auto* edit = static_cast<CTkControlEdit*>(m_bar->GetControls()->AddNew(TK_CONTROL_TYPE_EDIT, 300));
    auto* combo = static_cast<CTkControlComboBox*>(m_bar->GetControls()->AddNew(TK_CONTROL_TYPE_COMBO, 310));
    auto* selector = new CTkControlSelector;
    m_bar->GetControls()->Add(selector, 320);
    edit->SetRect(10, 2, 100, 26);
    combo->AddString("a");
    combo->SetRect(100, 2, 200, 26);
    selector->SetRect(200, 2, 340, 114);
    selector->OnMouseMove(CPoint(230, 30));
    m_site.executed.clear();
    manager->SetCustomizeMode(true);

    edit->OnClick(true, CPoint());
    EXPECT_NE(edit->GetFieldWindow(), ::GetFocus()) << "the field does not take the focus";
    combo->OnClick(false, CPoint(195, 12));
    EXPECT_FALSE(combo->IsPopupOpen());
    EXPECT_FALSE(combo->GetList()->IsWindowVisible());
    selector->OnClick(false, CPoint(230, 30));
    EXPECT_EQ((std::vector<CTkControl*>{edit, combo, selector}), probe.dragged);
    EXPECT_TRUE(m_site.executed.empty()) << "nothing ran";
    EXPECT_FALSE(tracker().IsModalLoopRunning());

    manager->SetCustomizeMode(false);
    m_bar->GetControls()->RemoveAllControls();
    m_bar->m_pManager = nullptr;
    manager->InternalRelease();
}

}  // namespace
