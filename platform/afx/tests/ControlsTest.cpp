// The control wrappers: list and combo boxes with item data, their notifications in a parent's
// map, a tab control's reflected change seen by its parent too, the status bar's panes, the
// rich edit and the wait cursor.
#include "TestApp.h"
#include "afxcmn.h"

#include <gtest/gtest.h>

namespace {

// A parent that records the notifications its map names.
class CNotifiedWnd : public CWnd {
public:
    std::vector<std::string> seen;
    afx_msg void OnListDoubleClick() { seen.push_back("list dblclk"); }
    afx_msg void OnComboChange() { seen.push_back("combo selchange"); }
    afx_msg void OnTabChange(NMHDR*, LRESULT* result) {
        seen.push_back("tab selchange");
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifiedWnd, CWnd)
    ON_LBN_DBLCLK(11, OnListDoubleClick)
    ON_CBN_SELCHANGE(12, OnComboChange)
    ON_NOTIFY(TCN_SELCHANGE, 13, OnTabChange)
END_MESSAGE_MAP()

// A tab control that handles its own change and passes it on (false) or keeps it (true).
class CReflectingTab : public CTabCtrl {
public:
    bool keep = false;
    int handled = 0;
    afx_msg bool OnChange(NMHDR*, LRESULT*) {
        ++handled;
        return keep;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingTab, CTabCtrl)
    ON_NOTIFY_REFLECT_EX(TCN_SELCHANGE, OnChange)
END_MESSAGE_MAP()

struct CParentWindow {
    CNotifiedWnd wnd;
    CParentWindow() {
        wnd.CreateEx(0, nullptr, "controls", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr);
    }
    ~CParentWindow() { wnd.DestroyWindow(); }
};

}  // namespace

TEST(ListControls, ItemDataTravelsWithItsEntryThroughInsertsAndDeletes) {
    CParentWindow parent;
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, CRect(0, 0, 100, 100), &parent.wnd, 11));
    int values[3] = {10, 20, 30};
    list.AddString("Alice");
    list.SetItemDataPtr(0, &values[0]);
    list.AddString("Carol");
    list.SetItemDataPtr(1, &values[2]);
    EXPECT_EQ(1, list.InsertString(1, "Bob"));
    list.SetItemDataPtr(1, &values[1]);
    EXPECT_EQ(2, list.FindStringExact(-1, "CAROL"));  // ignoring case
    EXPECT_EQ(-1, list.FindStringExact(-1, "Car"));   // whole entries only
    EXPECT_EQ(&values[2], list.GetItemDataPtr(2));
    EXPECT_EQ(2, list.DeleteString(0));
    EXPECT_STREQ("Bob", list.GetText(0));
    EXPECT_EQ(&values[1], list.GetItemDataPtr(0));
    EXPECT_EQ(&values[2], list.GetItemDataPtr(1));
    EXPECT_EQ(nullptr, list.GetItemDataPtr(7));  // no such entry
    EXPECT_EQ(2, list.InsertString(-1, "Dave"));  // -1 appends
    EXPECT_EQ(nullptr, list.GetItemDataPtr(2));
    list.ResetContent();
    EXPECT_EQ(0, list.GetCount());

    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 100, 200), &parent.wnd, 12));
    combo.AddString("United Kingdom");
    combo.SetItemDataPtr(0, (void*)"GB");
    EXPECT_EQ(0, combo.InsertString(0, "Europe"));
    combo.SetItemDataPtr(0, (void*)"EU");
    EXPECT_EQ(1, combo.FindStringExact(-1, "united kingdom"));
    EXPECT_STREQ("GB", static_cast<const char*>(combo.GetItemDataPtr(1)));
    EXPECT_EQ(1, combo.DeleteString(0));
    EXPECT_STREQ("GB", static_cast<const char*>(combo.GetItemDataPtr(0)));
    EXPECT_EQ(nullptr, combo.GetItemDataPtr(3));
    list.UnsubclassWindow();
    combo.UnsubclassWindow();
}

TEST(ListControls, NotificationsReachTheParentsMapAndAReflectedChangeCanBeShared) {
    CParentWindow parent;
    HWND list = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_NOTIFY, 0, 0, 10, 10, parent.wnd.m_hWnd,
                                  (HMENU)11, nullptr, nullptr);
    HWND combo = ::CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 10, 10, parent.wnd.m_hWnd,
                                   (HMENU)12, nullptr, nullptr);
    parent.wnd.SendMessage(WM_COMMAND, MAKEWPARAM(11, LBN_DBLCLK), (LPARAM)list);
    parent.wnd.SendMessage(WM_COMMAND, MAKEWPARAM(12, CBN_SELCHANGE), (LPARAM)combo);
    parent.wnd.SendMessage(WM_COMMAND, MAKEWPARAM(11, LBN_SELCHANGE), (LPARAM)list);  // not in the map

    AfxInitCommonControls(ICC_TAB_CLASSES);
    CReflectingTab tab;
    ASSERT_TRUE(tab.Create(WS_CHILD, CRect(0, 0, 100, 100), &parent.wnd, 13));
    NMHDR change = {tab.m_hWnd, 13, (UINT)TCN_SELCHANGE};
    parent.wnd.SendMessage(WM_NOTIFY, 13, (LPARAM)&change);
    tab.keep = true;
    parent.wnd.SendMessage(WM_NOTIFY, 13, (LPARAM)&change);
    EXPECT_EQ(2, tab.handled);
    EXPECT_EQ((std::vector<std::string>{"list dblclk", "combo selchange", "tab selchange"}), parent.wnd.seen);
    tab.UnsubclassWindow();
}

TEST(StatusBar, PanesKeepTheirWidthsTextsAndAStretchingPaneTakesTheRest) {
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, "status", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 300, nullptr, nullptr));
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    const UINT indicators[] = {0, 0};
    ASSERT_TRUE(bar.SetIndicators(indicators, 2));
    EXPECT_EQ(2, bar.GetCount());
    bar.SetPaneInfo(0, 0, SBPS_STRETCH | SBPS_POPOUT, 150);
    bar.SetPaneInfo(1, 0, SBPS_POPOUT, 150);
    UINT id = 1, style = 0;
    int width = 0;
    bar.GetPaneInfo(1, id, style, width);
    EXPECT_EQ(0u, id);
    EXPECT_EQ((UINT)SBPS_POPOUT, style);
    EXPECT_EQ(150, width);
    EXPECT_EQ(2, (int)bar.SendMessage(SB_GETPARTS, 0, 0));

    EXPECT_TRUE(bar.SetPaneText(1, "12 characters"));
    EXPECT_STREQ("12 characters", bar.GetPaneText(1));
    EXPECT_FALSE(bar.SetPaneText(2, "no such pane"));
    wchar_t shown[64] = {};
    LRESULT info = bar.SendMessage(SB_GETTEXTW, 1, (LPARAM)shown);
    EXPECT_STREQ(L"12 characters", shown);
    EXPECT_EQ(SBT_POPOUT, HIWORD(info) & SBT_POPOUT) << "the pane's drawing style goes with its text";

    // The fixed pane keeps 150 pixels; the stretching one grows with the frame.
    frame->RecalcLayout();
    CRect first, second;
    bar.GetItemRect(0, &first);
    bar.GetItemRect(1, &second);
    EXPECT_NEAR(150, second.Width(), 4);
    int before = first.Width();
    EXPECT_GT(before, 300);
    frame->SetWindowPos(nullptr, 0, 0, 800, 300, SWP_NOMOVE | SWP_NOZORDER);
    bar.GetItemRect(0, &first);
    EXPECT_NEAR(before + 200, first.Width(), 4);
    bar.UnsubclassWindow();
    frame->DestroyWindow();
}

TEST(RichEdit, HoldsUnicodeTextAndCountsItsCharacters) {
    CParentWindow parent;
    CRichEditCtrl edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 0, 200, 100), &parent.wnd, 14));
    edit.SetReadOnly(true);
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);
    ::SetWindowTextW(edit.m_hWnd, L"Prix: 15 \u20AC \u2013 merci");
    EXPECT_EQ(18, edit.GetTextLength());
    wchar_t text[32] = {};
    ::GetWindowTextW(edit.m_hWnd, text, 32);
    EXPECT_STREQ(L"Prix: 15 \u20AC \u2013 merci", text);
    edit.SetSel(0, 4);
    CHARRANGE range = {};
    edit.SendMessage(EM_EXGETSEL, 0, (LPARAM)&range);
    EXPECT_EQ(0, range.cpMin);
    EXPECT_EQ(4, range.cpMax);
    edit.UnsubclassWindow();
}

TEST(WaitCursor, ShowsTheWaitCursorUntilTheOutermostEnds) {
    HCURSOR arrow = ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    HCURSOR wait = ::LoadCursorW(nullptr, (LPCWSTR)IDC_WAIT);
    ::SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(wait, ::GetCursor());
        {
            CWaitCursor inner;
            EXPECT_EQ(wait, ::GetCursor());
        }
        EXPECT_EQ(wait, ::GetCursor()) << "an inner one ending keeps the wait cursor";
        ::SetCursor(arrow);
        outer.Restore();
        EXPECT_EQ(wait, ::GetCursor());
    }
    EXPECT_EQ(arrow, ::GetCursor());
}
