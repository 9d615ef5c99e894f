// Property sheets on the system's property sheet: pages in order with their captions, page
// activation and its refusal, the modal run over a disabled owner ended by OK or Cancel, the
// modal loop of a window, and the check list box's checks and item data.
#include "TestApp.h"
#include "afxdlgs.h"

#include <gtest/gtest.h>

namespace {

class CFirstPage : public CPropertyPage {
public:
    CFirstPage() : CPropertyPage(212) {}
    CString name = "first";
    int inits = 0, activations = 0, kills = 0, applies = 0, resets = 0;
    bool refuseKill = false;
    UINT postToSheet = 0;  // a button the page presses on the sheet once it is shown
    HWND owner = nullptr;
    BOOL ownerEnabledWhileShown = TRUE;
    CCheckListBox list;

    bool OnInitDialog() override {
        ++inits;
        list.SubclassDlgItem(1202, this);
        return CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 1201, name); }
    bool OnSetActive() override {
        ++activations;
        if (postToSheet) PostMessage(WM_APP + 2);
        return CPropertyPage::OnSetActive();
    }
    // Presses the button once the sheet runs its loop.
    afx_msg LRESULT OnPress(WPARAM, LPARAM) {
        if (owner) ownerEnabledWhileShown = ::IsWindowEnabled(owner);
        HWND sheet = ::GetParent(m_hWnd);
        ::SendMessageW(sheet, WM_COMMAND, MAKEWPARAM(postToSheet, BN_CLICKED), (LPARAM)::GetDlgItem(sheet, postToSheet));
        return 0;
    }
    bool OnKillActive() override {
        ++kills;
        return !refuseKill && CPropertyPage::OnKillActive();
    }
    void OnOK() override { ++applies; }
    void OnCancel() override { ++resets; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFirstPage, CPropertyPage)
    ON_MESSAGE(WM_APP + 2, OnPress)
END_MESSAGE_MAP()

class CSecondPage : public CPropertyPage {
public:
    CSecondPage() : CPropertyPage(213, 211) {}
    int activations = 0;
    bool OnSetActive() override {
        ++activations;
        return true;
    }
};

CString TabText(HWND tab, int index) {
    wchar_t text[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(tab, TCM_GETITEMW, index, (LPARAM)&item);
    return CString(text);
}

// A top-level window for sheets to belong to.
class COwnerWnd : public CWnd {
public:
    COwnerWnd() { CreateEx(0, nullptr, "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr); }
};

}  // namespace

TEST(PropertySheets, PagesFollowInOrderAndActivationGoesThroughThePages) {
    CFirstPage first;
    CSecondPage second;
    CPropertySheet sheet(210);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    ASSERT_TRUE(sheet.Create(nullptr, WS_POPUP | WS_CAPTION | WS_VISIBLE));
    EXPECT_STREQ("Sheet caption", sheet.GetWindowText());
    HWND tab = sheet.GetTabControl();
    ASSERT_NE(nullptr, tab);
    EXPECT_EQ(2, (int)::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_STREQ("&First", TabText(tab, 0));  // the template's caption
    EXPECT_STREQ("&Second", TabText(tab, 1)); // the page's caption string
    EXPECT_EQ(&first, sheet.GetActivePage());
    EXPECT_EQ(1, first.inits);
    EXPECT_EQ(1, first.activations);
    EXPECT_EQ(nullptr, second.m_hWnd);  // made when first shown
    EXPECT_STREQ("first", first.GetDlgItemText(1201));
    EXPECT_EQ(&sheet, first.GetSheet());

    // A page that refuses to be left stays current.
    first.refuseKill = true;
    sheet.SetActivePage(1);
    EXPECT_EQ(&first, sheet.GetActivePage());
    EXPECT_EQ(0, second.activations);

    first.refuseKill = false;
    first.SetDlgItemText(1201, "typed");
    EXPECT_TRUE(sheet.SetActivePage(&second));
    EXPECT_EQ(&second, sheet.GetActivePage());
    EXPECT_EQ(1, sheet.GetActiveIndex());
    EXPECT_EQ(1, second.activations);
    EXPECT_STREQ("typed", first.name);  // read back when it was left
    EXPECT_FALSE(sheet.SetActivePage(2));
    sheet.DestroyWindow();
    EXPECT_EQ(nullptr, first.m_hWnd);
}

TEST(PropertySheets, DoModalEndsWithTheButtonPressedAndGivesTheOwnerBack) {
    COwnerWnd owner;
    ASSERT_TRUE(owner.m_hWnd);
    for (UINT button : {IDOK, IDCANCEL}) {
        CFirstPage first;
        first.postToSheet = button;
        first.owner = owner.m_hWnd;
        CSecondPage second;
        CPropertySheet sheet(210, &owner);
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        EXPECT_EQ((INT_PTR)button, sheet.DoModal());
        EXPECT_FALSE(first.ownerEnabledWhileShown);
        EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
        EXPECT_EQ(nullptr, sheet.m_hWnd);
        EXPECT_EQ(button == IDOK ? 1 : 0, first.applies);
        EXPECT_EQ(button == IDCANCEL ? 1 : 0, first.resets);
    }
    // A sheet without pages cannot be made and leaves the owner alone.
    CPropertySheet empty(210, &owner);
    EXPECT_EQ(-1, empty.DoModal());
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    owner.DestroyWindow();
}

namespace {

// Counts the times its window is shown.
class CWatchedSheet : public CPropertySheet {
public:
    using CPropertySheet::CPropertySheet;
    int shows = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SHOWWINDOW && wParam) ++shows;
        return CPropertySheet::WindowProc(message, wParam, lParam);
    }
};

// Presses Cancel on the sheet once it shows.
CPropertySheet* g_closeWhenShown = nullptr;
void CALLBACK CloseWhenShown(HWND, UINT, UINT_PTR, DWORD) {
    CPropertySheet* sheet = g_closeWhenShown;
    if (!sheet || !sheet->m_hWnd || !sheet->IsWindowVisible()) return;
    g_closeWhenShown = nullptr;
    ::SendMessageW(sheet->m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(sheet->m_hWnd, IDCANCEL));
}

}  // namespace

// A sheet made without WS_VISIBLE never shows before it is asked to (the system's template is
// visible), one made visible shows once, and a modal sheet shows once, when its loop first idles.
TEST(PropertySheets, ASheetShowsOnlyWhenAskedTo) {
    COwnerWnd owner;
    CFirstPage first;
    CWatchedSheet hidden(210, &owner);
    hidden.AddPage(&first);
    ASSERT_TRUE(hidden.Create(&owner, WS_POPUP | WS_CAPTION));
    EXPECT_EQ(0, hidden.shows);
    EXPECT_FALSE(hidden.IsWindowVisible());
    hidden.DestroyWindow();

    CWatchedSheet shown(210, &owner);
    shown.AddPage(&first);
    ASSERT_TRUE(shown.Create(&owner));
    EXPECT_EQ(1, shown.shows);
    EXPECT_TRUE(shown.IsWindowVisible());
    shown.DestroyWindow();

    CWatchedSheet modal(210, &owner);
    modal.AddPage(&first);
    g_closeWhenShown = &modal;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, CloseWhenShown);
    EXPECT_EQ(IDCANCEL, modal.DoModal());
    ::KillTimer(nullptr, timer);
    g_closeWhenShown = nullptr;
    EXPECT_EQ(1, modal.shows);
    owner.DestroyWindow();
}

namespace {

class CLoopWnd : public CWnd {
public:
    int kicks = 0;
    BOOL visibleAtEnd = FALSE;
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM count) {
        ++kicks;
        if (count == 0) PostMessage(WM_APP + 1);
        return count < 2;  // idle updates for the first three idle calls only
    }
    afx_msg LRESULT OnEnd(WPARAM, LPARAM) {
        visibleAtEnd = ::IsWindowVisible(m_hWnd);
        EndModalLoop(7);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoopWnd, CWnd)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
    ON_MESSAGE(WM_APP + 1, OnEnd)
END_MESSAGE_MAP()

}  // namespace

TEST(PropertySheets, AWindowsModalLoopShowsItAtIdleTimeAndEndsWithItsResult) {
    CLoopWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Loop", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(7, wnd.RunModalLoop(MLF_SHOWONIDLE));
    EXPECT_TRUE(wnd.visibleAtEnd);
    EXPECT_GE(wnd.kicks, 1);
    EXPECT_FALSE(wnd.ContinueModal());
    wnd.DestroyWindow();

    theTestApp.EnableModeless(false);
    theTestApp.EnableModeless(false);
    EXPECT_FALSE(theTestApp.IsModelessEnabled());
    theTestApp.EnableModeless(true);
    EXPECT_FALSE(theTestApp.IsModelessEnabled());
    theTestApp.EnableModeless(true);
    theTestApp.EnableModeless(true);  // more switches on than off change nothing
    EXPECT_TRUE(theTestApp.IsModelessEnabled());
    theTestApp.EnableModeless(false);
    EXPECT_FALSE(theTestApp.IsModelessEnabled());
    theTestApp.EnableModeless(true);
}

namespace {

class CCheckParent : public CDialog {
public:
    CCheckParent() : CDialog(212) {}
    CCheckListBox list;
    int changes = 0;
    bool OnInitDialog() override {
        list.SubclassDlgItem(1202, this);
        return true;
    }
    afx_msg void OnCheckChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCheckParent, CDialog)
    ON_CONTROL(CLBN_CHKCHANGE, 1202, OnCheckChange)
END_MESSAGE_MAP()

void Click(CWnd& list, int index, bool onBox) {
    CRect item;
    list.SendMessage(LB_GETITEMRECT, index, (LPARAM)&item);
    CRect box = CCheckListBox::CheckBoxRect(item);
    int x = onBox ? (box.left + box.right) / 2 : box.right + 20;
    int y = (box.top + box.bottom) / 2;
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace

TEST(CheckListBox, ChecksAndItemDataFollowTheirItemsAndClicksOnTheBoxToggle) {
    COwnerWnd owner;
    CCheckParent parent;
    ASSERT_TRUE(parent.Create(212, &owner));
    parent.ShowWindow(SW_SHOW);
    CCheckListBox& list = parent.list;
    for (const char* text : {"a", "b", "c"}) list.AddString(text);
    for (int i = 0; i < 3; ++i) list.SetItemData(i, 100 + i);
    list.SetCheck(1, 1);
    list.SetCheck(7, 1);  // out of range: nothing
    EXPECT_EQ(0, list.GetCheck(7));

    list.InsertString(0, "z");
    EXPECT_EQ(0, list.GetCheck(0));
    EXPECT_EQ(1, list.GetCheck(2));
    EXPECT_EQ(102u, list.GetItemData(3));
    EXPECT_STREQ("b", list.GetText(2));
    list.DeleteString(0);
    EXPECT_EQ(1, list.GetCheck(1));
    EXPECT_EQ(100u, list.GetItemData(0));
    EXPECT_EQ((DWORD_PTR)LB_ERR, list.GetItemData(3));

    Click(list, 0, true);
    EXPECT_EQ(1, list.GetCheck(0));
    EXPECT_EQ(1, parent.changes);
    EXPECT_EQ(0, list.GetCurSel());
    Click(list, 2, false);  // on the text: selects only
    EXPECT_EQ(0, list.GetCheck(2));
    EXPECT_EQ(2, list.GetCurSel());
    EXPECT_EQ(1, parent.changes);
    list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(1, list.GetCheck(2));
    EXPECT_EQ(2, parent.changes);
    list.UpdateWindow();  // drawing every item reaches no freed or foreign data

    list.ResetContent();
    EXPECT_EQ(0, list.GetCount());
    list.AddString("new");
    EXPECT_EQ(0, list.GetCheck(0));
    parent.DestroyWindow();
}
