#include "TkTestSupport.h"
#include "commandbars/TkResourceHandles.h"
#include "lists/TkListView.h"
#include "lists/TkSettingsStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The profile of these tests: a registry key of their own, deleted before and after.
class ListProfile {
public:
    ListProfile() {
        AfxGetApp()->SetRegistryKey("TarvockListTests");
        Delete();
    }
    ~ListProfile() { Delete(); }
    static void Delete() { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarvockListTests"); }
    // Writes a raw value into a section of the profile.
    static void WriteRaw(const char* section, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        CTkSettingsStore store;
        HKEY key = store.GetSectionKey(section);
        ASSERT_NE(nullptr, key);
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes));
        ::RegCloseKey(key);
    }
    static bool ValueExists(const char* section, const wchar_t* name) {
        CString path;
        path.Format("Software\\TarvockListTests\\%s\\%s", AfxGetApp()->m_pszProfileName, section);
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.Wide().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        bool exists = ::RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        ::RegCloseKey(key);
        return exists;
    }
};

TEST(TkSettingsStore, WritesReadsAndDeletesTextValuesAndSections) {
    ListProfile profile;
    CTkSettingsStore store;
    EXPECT_EQ(CString("dflt"), store.GetString("S", "missing", "dflt"));
    EXPECT_TRUE(store.WriteString("S", "E", "abc"));
    EXPECT_EQ(CString("abc"), CTkSettingsStore().GetString("S", "E", "dflt"));

    EXPECT_TRUE(store.WriteString("S", "E", nullptr));
    EXPECT_FALSE(ListProfile::ValueExists("S", L"E"));
    EXPECT_EQ(CString("dflt"), store.GetString("S", "E", "dflt"));

    EXPECT_TRUE(store.WriteString("S", "E", "abc"));
    EXPECT_TRUE(store.WriteString("S", nullptr, nullptr));
    EXPECT_FALSE(ListProfile::ValueExists("S", L"E"));
    EXPECT_FALSE(store.WriteString("Gone", nullptr, nullptr));  // no such section

    // An empty or null section never reaches the profile key itself.
    EXPECT_TRUE(store.WriteString("Keep", "E", "kept"));
    EXPECT_FALSE(store.WriteString("", nullptr, nullptr));
    EXPECT_FALSE(store.WriteString(nullptr, nullptr, nullptr));
    EXPECT_FALSE(store.WriteString("", "E", "x"));
    EXPECT_EQ(CString("dflt"), store.GetString("", "E", "dflt"));
    EXPECT_EQ(CString("kept"), store.GetString("Keep", "E", "dflt"));
}

TEST(TkSettingsStore, ReadsOnlyTextAndNeverPastTheValue) {
    ListProfile profile;
    // Text without a terminator: exactly its characters, nothing read beyond.
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    ListProfile::WriteRaw("S", L"Raw", REG_SZ, unterminated, sizeof unterminated);
    EXPECT_EQ(CString("abc"), CTkSettingsStore().GetString("S", "Raw", "dflt"));
    // An odd byte count and an empty value.
    ListProfile::WriteRaw("S", L"Odd", REG_SZ, L"xy", 3);
    EXPECT_EQ(CString("x"), CTkSettingsStore().GetString("S", "Odd", "dflt"));
    ListProfile::WriteRaw("S", L"Empty", REG_SZ, L"", 0);
    EXPECT_EQ(CString(""), CTkSettingsStore().GetString("S", "Empty", "dflt"));
    // Cut at the first zero.
    const wchar_t twoTexts[] = L"ab\0cd";
    ListProfile::WriteRaw("S", L"Two", REG_SZ, twoTexts, sizeof twoTexts);
    EXPECT_EQ(CString("ab"), CTkSettingsStore().GetString("S", "Two", "dflt"));
    // Values that are not text give the default.
    DWORD number = 0x00410041;
    ListProfile::WriteRaw("S", L"Number", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(CString("dflt"), CTkSettingsStore().GetString("S", "Number", "dflt"));
    const BYTE binary[] = {'h', 0, 'i', 0, 0, 0};
    ListProfile::WriteRaw("S", L"Binary", REG_BINARY, binary, sizeof binary);
    EXPECT_EQ(CString("dflt"), CTkSettingsStore().GetString("S", "Binary", "dflt"));
}

TEST(TkSettingsStore, WithoutTheApplicationsNamesNothingIsReadOrWritten) {
    ListProfile profile;
    CWinApp* app = AfxGetApp();
    const char* key = app->m_pszRegistryKey;
    app->m_pszRegistryKey = nullptr;
    CTkSettingsStore store;
    EXPECT_FALSE(store.WriteString("S", "E", "abc"));
    EXPECT_EQ(CString("dflt"), store.GetString("S", "E", "dflt"));
    EXPECT_EQ(nullptr, store.GetAppKey());
    app->m_pszRegistryKey = key;
}

// ---------------------------------------------------------------------------------------------

// The list's owner: records the header clicks it is told of.
class CListOwner : public CWnd {
public:
    std::vector<std::pair<int, int>> clicks;  // (column, button)
    bool Create() {
        return CWnd::CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 300, nullptr, nullptr);
    }
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        auto* header = reinterpret_cast<NMHEADERW*>(lParam);
        if (header->hdr.code == HDN_ITEMCLICKW || header->hdr.code == HDN_ITEMCLICKA)
            clicks.emplace_back(header->iItem, header->iButton);
        return CWnd::OnNotify(wParam, lParam, result);
    }
};

class TkList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(owner.Create());
        ASSERT_TRUE(list.CreateEx(0, LVS_REPORT, CRect(0, 0, 580, 260), &owner, 1));
    }
    void TearDown() override {
        SetToolkitResourceHandles(nullptr, nullptr);
        owner.DestroyWindow();
    }
    void AddRows(const std::vector<const char*>& texts, int column = 0) {
        for (size_t i = 0; i < texts.size(); ++i) {
            int row = list.InsertItem((int)i, column == 0 ? texts[i] : "");
            list.SetItemText(row, column, texts[i]);
            list.SetItemData(row, 101 + i);
        }
    }
    std::vector<std::string> Column(int column = 0) {
        std::vector<std::string> texts;
        for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(list.GetItemText(i, column).str());
        return texts;
    }
    using Texts = std::vector<std::string>;
    CListOwner owner;
    CTkListView list;
};

TEST_F(TkList, SorterOrdersByKindBothWaysAndGivesTheRowsTheirDataBack) {
    list.Helper().AddColumn("Name");
    AddRows({"b", "A", "c"});
    {
        CTkListSorter sorter(&list, 0);
        EXPECT_TRUE(sorter.Sort(true, CTkListSorter::kText));
        EXPECT_EQ((Texts{"A", "b", "c"}), Column());
        // Descending: the negative kind crosses LVM_SORTITEMS with its sign.
        EXPECT_TRUE(sorter.Sort(false, CTkListSorter::kText));
        EXPECT_EQ((Texts{"c", "b", "A"}), Column());
    }
    EXPECT_EQ(103u, list.GetItemData(0));
    EXPECT_EQ(101u, list.GetItemData(1));
    EXPECT_EQ(102u, list.GetItemData(2));

    list.DeleteAllItems();
    AddRows({"10", "9", "100", "9000000000", "-2000000000", "2000000000"});
    CTkListSorter(&list, 0).Sort(true, CTkListSorter::kNumber);
    EXPECT_EQ((Texts{"-2000000000", "9", "10", "100", "2000000000", "9000000000"}), Column());
    CTkListSorter(&list, 0).Sort(false, CTkListSorter::kNumber);
    EXPECT_EQ((Texts{"9000000000", "2000000000", "100", "10", "9", "-2000000000"}), Column());

    list.DeleteAllItems();
    AddRows({"1.5", "1.25", "-2"});
    CTkListSorter(&list, 0).Sort(true, CTkListSorter::kFloat);
    EXPECT_EQ((Texts{"-2", "1.25", "1.5"}), Column());

    list.DeleteAllItems();
    AddRows({"2026-12-09 10:00", "2025-01-31", "2026-12-09 09:30", "not a date"});
    CTkListSorter(&list, 0).Sort(true, CTkListSorter::kDateTime);
    EXPECT_EQ(4, list.GetItemCount());
    Texts dated;
    for (const std::string& text : Column())
        if (text != "not a date") dated.push_back(text);
    EXPECT_EQ((Texts{"2025-01-31", "2026-12-09 09:30", "2026-12-09 10:00"}), dated);
}

TEST(TkListSorter, EqualKeysCompareEqualAndTheOrderIsStrict) {
    const char* pairs[][2] = {{"5", "05"}, {"abc", "ABC"}, {"2026-01-02", "2026-01-02"}, {"1.50", "1.5"}};
    for (int kind = 1; kind <= 4; ++kind) {
        EXPECT_EQ(0, CTkListSorter::CompareTexts(pairs[kind - 1][0], pairs[kind - 1][1], kind)) << kind;
    }
    const char* ordered[][2] = {{"-2000000000", "2000000000"}, {"a", "B"}, {"2025-01-01", "2026-01-01"}, {"1.25", "1.5"}};
    for (int kind = 1; kind <= 4; ++kind) {
        EXPECT_LT(CTkListSorter::CompareTexts(ordered[kind - 1][0], ordered[kind - 1][1], kind), 0) << kind;
        EXPECT_GT(CTkListSorter::CompareTexts(ordered[kind - 1][1], ordered[kind - 1][0], kind), 0) << kind;
    }
    EXPECT_EQ(0, CTkListSorter::CompareTexts("a", "b", 7));
}

TEST_F(TkList, ColumnsTakeDefaultsAndRememberTheirWidths) {
    ListProfile profile;
    CTkListHelper& helper = list.Helper();
    // No earlier column: 100 pixels, left aligned.
    EXPECT_EQ(0, helper.AddColumn("First", -1, -1));
    EXPECT_EQ(100, list.GetColumnWidth(0));
    EXPECT_EQ(1, helper.AddColumn("Second", LVCFMT_RIGHT, 150));
    EXPECT_EQ(2, helper.AddColumn("Third"));
    LVCOLUMNW third = {};
    third.mask = LVCF_FMT;
    list.GetColumn(2, &third);
    EXPECT_EQ(LVCFMT_RIGHT, third.fmt & LVCFMT_JUSTIFYMASK);
    EXPECT_EQ(150, list.GetColumnWidth(2));
    EXPECT_EQ(3, helper.GetColumnCount());

    // First run: nothing saved, the widths stay; empty, missing and non-positive fields too.
    helper.SetColumnWidthsKey("Test", "W", "");
    EXPECT_EQ(100, list.GetColumnWidth(0));
    EXPECT_EQ(150, list.GetColumnWidth(1));
    CTkSettingsStore().WriteString("Test", "W", ",0,-5");
    helper.ApplySavedColumnWidths();
    EXPECT_EQ(100, list.GetColumnWidth(0));
    EXPECT_EQ(150, list.GetColumnWidth(1));
    EXPECT_EQ(150, list.GetColumnWidth(2));

    list.SetColumnWidth(2, 80);
    helper.SaveColumnWidths();
    EXPECT_EQ(CString("100,150,80,"), CTkSettingsStore().GetString("Test", "W"));
    EXPECT_EQ(150, helper.GetSavedColumnWidth(1));
    EXPECT_EQ(0, helper.GetSavedColumnWidth(3));

    CTkSettingsStore().WriteString("Test", "W", "60,70,90,");
    helper.ApplySavedColumnWidths();
    EXPECT_EQ(60, list.GetColumnWidth(0));
    EXPECT_EQ(70, list.GetColumnWidth(1));
    EXPECT_EQ(90, list.GetColumnWidth(2));
}

TEST_F(TkList, FlatHeaderSortsFitsAndRefusesNarrowOrFixedColumns) {
    CTkListHelper& helper = list.Helper();
    for (const char* name : {"A", "B", "C"}) helper.AddColumn(name, LVCFMT_LEFT, 100);
    ASSERT_TRUE(helper.SubclassHeader(false));
    CTkFlatHeaderCtrl& header = helper.m_header;
    EXPECT_EQ(&header, helper.GetFlatHeader());

    EXPECT_EQ(-1, header.SetSortImage(1, true));
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    header.GetItem(1, &item);
    EXPECT_TRUE(item.fmt & HDF_OWNERDRAW);
    EXPECT_EQ(1, header.SetSortImage(2, false));
    EXPECT_EQ(0, header.GetSortDirection());

    // Fitting: column 0 fixed, the others share the width above the minimum.
    header.AddFixedColumn(0);
    header.SetMinColumnWidth(50);
    header.FitColumnsToWidth(300);
    EXPECT_EQ(100, list.GetColumnWidth(0));
    EXPECT_EQ(150, list.GetColumnWidth(1));
    EXPECT_EQ(150, list.GetColumnWidth(2));
    header.SetMinColumnWidth(200);
    header.FitColumnsToWidth(300);
    EXPECT_EQ(150, list.GetColumnWidth(1));
    // Every column fixed: nothing to fit, nothing divided.
    header.AddFixedColumn(1);
    header.AddFixedColumn(2);
    header.SetMinColumnWidth(0);
    header.FitColumnsToWidth(300);
    header.FitColumns();
    EXPECT_EQ(150, list.GetColumnWidth(2));

    // Refused changes: a fixed column, or below the minimum width.
    HDITEMW narrow = {};
    narrow.mask = HDI_WIDTH;
    narrow.cxy = 10;
    NMHEADERW change = {};
    change.hdr = {header.m_hWnd, 0, (UINT)HDN_ITEMCHANGINGW};
    change.iItem = 1;
    change.pitem = &narrow;
    EXPECT_EQ(TRUE, list.SendMessage(WM_NOTIFY, 0, (LPARAM)&change));
    CTkFlatHeaderCtrl unfixed;
    (void)unfixed;
}

TEST_F(TkList, HeaderMenuChecksTheSortedColumnAndItsCommandsTellTheOwner) {
    for (const char* name : {"A", "B", "C"}) list.Helper().AddColumn(name, LVCFMT_LEFT, 100);
    ASSERT_TRUE(list.Helper().SubclassHeader(false));
    CTkFlatHeaderCtrl& header = list.Helper().m_header;

    // Without the menu resource: no menu, so the right button gets its default handling.
    SetToolkitResourceHandles(nullptr, ::GetModuleHandleW(L"kernel32.dll"));
    EXPECT_EQ(nullptr, header.LoadColumnMenu(1));
    header.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(150, 5));  // no menu to track: returns at once

    SetToolkitResourceHandles(nullptr, ::GetModuleHandleW(nullptr));
    header.SetSortImage(2, false);
    auto checked = [](HMENU menu, UINT id) {
        return (::GetMenuState(::GetSubMenu(menu, 2), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    HMENU menu = header.LoadColumnMenu(2);
    ASSERT_NE(nullptr, menu);
    EXPECT_TRUE(checked(menu, CTkFlatHeaderCtrl::ID_SORT_DESCENDING));
    EXPECT_FALSE(checked(menu, CTkFlatHeaderCtrl::ID_SORT_ASCENDING));
    EXPECT_TRUE(checked(menu, CTkFlatHeaderCtrl::ID_ALIGN_LEFT));
    ::DestroyMenu(menu);
    menu = header.LoadColumnMenu(1);
    EXPECT_FALSE(checked(menu, CTkFlatHeaderCtrl::ID_SORT_DESCENDING));
    EXPECT_FALSE(checked(menu, CTkFlatHeaderCtrl::ID_SORT_ASCENDING));
    ::DestroyMenu(menu);

    // "Sort ascending" over column 1: the owner hears a click with button 1, once.
    header.SetLastRightClick({150, 5});
    header.SendMessage(WM_COMMAND, CTkFlatHeaderCtrl::ID_SORT_ASCENDING);
    ASSERT_EQ(1u, owner.clicks.size());
    EXPECT_EQ(std::make_pair(1, 1), owner.clicks[0]);
    EXPECT_EQ(1, header.GetSortedColumn());
    EXPECT_EQ(1, header.GetSortDirection());
    header.SendMessage(WM_COMMAND, CTkFlatHeaderCtrl::ID_SORT_ASCENDING);  // already so: nothing
    EXPECT_EQ(1u, owner.clicks.size());

    header.SendMessage(WM_COMMAND, CTkFlatHeaderCtrl::ID_ALIGN_CENTER);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT;
    list.GetColumn(1, &column);
    EXPECT_EQ(LVCFMT_CENTER, column.fmt & LVCFMT_JUSTIFYMASK);
    header.SendMessage(WM_COMMAND, CTkFlatHeaderCtrl::ID_ALIGN_RIGHT);
    list.GetColumn(1, &column);
    EXPECT_EQ(LVCFMT_RIGHT, column.fmt & LVCFMT_JUSTIFYMASK);

    // A mouse click on column 0 reaches the owner once, with button 0.
    owner.clicks.clear();
    header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
    header.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
    ASSERT_EQ(1u, owner.clicks.size());
    EXPECT_EQ(std::make_pair(0, 0), owner.clicks[0]);
}

TEST_F(TkList, SortOnHeaderClickTogglesTheDirectionAndShadesTheSortedColumn) {
    CTkListHelper& helper = list.Helper();
    for (const char* name : {"A", "B"}) helper.AddColumn(name, LVCFMT_LEFT, 100);
    AddRows({"x", "y"});
    ASSERT_TRUE(helper.SubclassHeader(false));
    helper.m_header.ShowSortArrow(true);
    helper.SetSortOnHeaderClick(true);
    NMHEADERW click = {};
    click.hdr = {helper.m_header.m_hWnd, 0, (UINT)HDN_ITEMCLICKW};
    click.iItem = 1;
    list.SendMessage(WM_NOTIFY, 0, (LPARAM)&click);
    EXPECT_EQ(1, helper.GetSortedColumn());
    EXPECT_EQ(1, helper.m_header.GetSortDirection());
    list.SendMessage(WM_NOTIFY, 0, (LPARAM)&click);
    EXPECT_EQ(0, helper.m_header.GetSortDirection());
    click.iItem = 0;
    list.SendMessage(WM_NOTIFY, 0, (LPARAM)&click);
    EXPECT_EQ(0, helper.GetSortedColumn());
    EXPECT_EQ(1, helper.m_header.GetSortDirection());

    // Painted: below the rows the sorted column's band is shaded, the other column is not.
    ::RedrawWindow(list.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = ::GetDC(list.m_hWnd);
    COLORREF band = ::GetPixel(dc, 50, 200), other = ::GetPixel(dc, 150, 200);
    ::ReleaseDC(list.m_hWnd, dc);
    EXPECT_EQ(CTkListHelper::kSortedColumnColor, band);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), other);

    int row = 0, column = 0;
    CRect cell;
    list.GetItemRect(1, &cell, LVIR_BOUNDS);
    EXPECT_TRUE(helper.HitTestCell({150, (cell.top + cell.bottom) / 2}, row, column));
    EXPECT_EQ(1, row);
    EXPECT_EQ(1, column);
    EXPECT_FALSE(helper.HitTestCell({50, 240}, row, column));
    EXPECT_EQ(-1, row);
}

TEST_F(TkList, RowsMoveWithTheirTextsAndData) {
    CTkListHelper& helper = list.Helper();
    helper.AddColumn("A");
    helper.AddColumn("B");
    AddRows({"r0", "r1", "r2"});
    list.SetItemText(2, 1, "second");
    EXPECT_EQ(0, helper.MoveRowAndDelete(2, 0));
    EXPECT_EQ((Texts{"r2", "r0", "r1"}), Column());
    EXPECT_EQ("second", list.GetItemText(0, 1).str());
    EXPECT_EQ(103u, list.GetItemData(0));
    EXPECT_EQ(2, helper.MoveRowAndDelete(0, 3));
    EXPECT_EQ((Texts{"r0", "r1", "r2"}), Column());
}

}  // namespace
