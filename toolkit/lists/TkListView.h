// The toolkit's report list: CTkListHelper holds the behaviour every list control shares
// (remembered column widths, columns added by text or string id, sorting on a header click,
// colours, a shaded sorted column); CTkListView is the list view that paints without flicker
// through it.
#pragma once

#include "lists/TkHeaderCtrl.h"

class CTkListHelper {
public:
    enum : UINT { IDS_COLUMN_WIDTHS_SECTION = 9021, IDS_COLUMN_WIDTHS_ENTRY = 9023 };
    static constexpr COLORREF kSortedColumnColor = RGB(247, 247, 247);

    explicit CTkListHelper(CListCtrl* list);
    virtual ~CTkListHelper() = default;

    // The list's header when it is a flat header of ours, else none.
    virtual CTkFlatHeaderCtrl* GetFlatHeader() const;
    // The column's field of the saved widths (0 when missing).
    virtual int GetSavedColumnWidth(int column);
    // A saved width that is missing or not positive keeps the column's current width.
    virtual void ApplySavedColumnWidth(int column);
    virtual void ApplySavedColumnWidths();
    virtual void SaveColumnWidths();
    // The larger of the contents' and the heading's width, within the minimum and maximum.
    virtual void AutoSizeColumn(int column = -1);
    // Remembers the widths under the section and entry (null: strings 9021 and 9023) and
    // applies those saved before.
    virtual void SetColumnWidthsKey(const char* section = nullptr, const char* entry = nullptr,
                                    const char* defaultText = nullptr);
    // Report view only: the embedded flat header takes over the list's header.
    virtual bool SubclassHeader(bool bold = false);
    virtual bool SortList(int column, bool ascending);
    virtual DWORD SetExtendedStyle(DWORD style);
    virtual DWORD GetExtendedStyle() const;
    virtual void SetSortOnHeaderClick(bool sort) { m_bSortOnHeaderClick = sort; }
    // Row and column of a client point; -1 and -1 when no cell is there.
    virtual bool HitTestCell(POINT point, int& row, int& column);
    // Width or format -1: those of the last column (with no column: 100 pixels, left aligned).
    virtual int AddColumn(const char* text, int format = -1, int width = -1);
    virtual bool AddColumnsFromStringIds(int count, const int* widths, const UINT* stringIds);
    virtual bool AddColumns(int count, const int* widths, const char* const* texts);
    virtual void SetColors(COLORREF text, COLORREF background);
    // -1 unless the list is a report.
    virtual int GetColumnCount() const;
    // Copies the row (texts, data, state) to the index to; returns its new index.
    virtual int MoveRow(int from, int to);
    virtual int MoveRowAndDelete(int from, int to);
    // Header notifications reaching the list: sorting on a click, the minimum width. True when
    // the notification is used up.
    virtual bool OnHeaderNotify(NMHDR* header, LRESULT* result);
    virtual void ApplyFont();

    // The list's WM_PAINT and reflected NM_CUSTOMDRAW.
    void Paint();
    void OnCustomDraw(NMHDR* header, LRESULT* result);
    void RefreshMaxColumnWidth() { m_nMaxColumnWidth = ::GetSystemMetrics(SM_CXFULLSCREEN); }
    // The header's sorted column when the header is ours, else the helper's.
    int GetSortedColumn() const;

    bool m_bUseSystemFont = true;
    int m_nMinColumnWidth = 0;
    int m_nMaxColumnWidth;
    int m_nSortColumn = -1;
    bool m_bSortOnHeaderClick = false;
    bool m_bAscending = true;
    bool m_bRememberWidths = false;
    CString m_strSection, m_strEntry, m_strDefault;
    COLORREF m_clrText, m_clrBackground;
    CTkFlatHeaderCtrl m_header;

private:
    bool IsReport() const;
    CListCtrl* m_pList;
};

class CTkListView : public CListCtrl {
    DECLARE_DYNAMIC(CTkListView)
public:
    CTkListView() : m_helper(this) {}
    // A "SysListView32" child with WS_CHILD | WS_VISIBLE | WS_BORDER added to the style.
    bool CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    CTkListHelper& Helper() { return m_helper; }

protected:
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(HDC) { return TRUE; }
    afx_msg void OnPaint() { m_helper.Paint(); }
    afx_msg void OnCustomDraw(NMHDR* header, LRESULT* result) { m_helper.OnCustomDraw(header, result); }
    afx_msg LRESULT OnSettingChange(WPARAM, LPARAM);

    CTkListHelper m_helper;
    DECLARE_MESSAGE_MAP()
};

// Sorts a list's rows by the texts of one column. While it lives each row's data is a pair of
// the row's own data and its text; its end gives every row its own data back.
class CTkListSorter {
public:
    enum Kind { kNumber = 1, kText = 2, kDateTime = 3, kFloat = 4 };

    CTkListSorter(CListCtrl* list, int column);
    ~CTkListSorter();
    CTkListSorter(const CTkListSorter&) = delete;
    CTkListSorter& operator=(const CTkListSorter&) = delete;

    bool Sort(bool ascending, int kind);
    // The compare function: the parameter is the kind, negative for a descending sort.
    static int CALLBACK Compare(LPARAM first, LPARAM second, LPARAM kind);
    // The ordering of two texts by kind (negative, zero, positive), ascending.
    static int CompareTexts(const char* a, const char* b, int kind);

private:
    struct CPair {
        LPARAM data;
        CString text;
    };
    CListCtrl* m_pList;
    std::vector<CPair*> m_pairs;
};
