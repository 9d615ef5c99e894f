// The list family's header controls: CTkHeaderCtrl keeps fixed columns and a minimum width and
// fits the columns to its width; CTkFlatHeaderCtrl draws flat, owner-draws the sorted column
// with its arrow and offers a context menu to sort and align a column. Also CTkMemDC, the
// off-screen device context the header and the list paint through.
#pragma once

#include "afxcmn.h"
#include "painters/TkDrawTools.h"

#include <vector>

// Paints off screen and copies the rectangle back to the target when it ends. An empty
// rectangle means the target's clip box; the bitmap starts filled with the background colour.
class CTkMemDC : public CTkOffscreenDC {
    DECLARE_DYNAMIC(CTkMemDC)
public:
    CTkMemDC(CDC* target, const RECT* rect, COLORREF background);

private:
    static CRect TargetRect(CDC* target, const RECT* rect);
};

class CTkHeaderCtrl : public CHeaderCtrl {
    DECLARE_DYNAMIC(CTkHeaderCtrl)
public:
    CTkHeaderCtrl();

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual bool IsRightToLeft() const { return m_bRightToLeft; }
    // Shares the width among the columns that are not fixed, when the share exceeds the
    // minimum width; nothing to fit, nothing done.
    virtual void FitColumnsToWidth(int width);
    // 0: the window's width less the scroll bar and the fixed columns.
    virtual void FitColumns(int width = 0);
    virtual int GetFixedColumnsWidth();

    void SetMinColumnWidth(int width) { m_nMinColumnWidth = width; }
    int GetMinColumnWidth() const { return m_nMinColumnWidth; }
    void SetFitToWidth(bool fit) { m_bFitToWidth = fit; }
    void AddFixedColumn(UINT column) { m_fixedColumns.push_back(column); }
    bool IsFixedColumn(int column) const;

protected:
    afx_msg LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    afx_msg LRESULT OnSetCursor(WPARAM, LPARAM);
    afx_msg bool OnItemChanging(NMHDR* header, LRESULT* result);

    int m_nMinColumnWidth = 0;
    bool m_bRightToLeft = false;
    bool m_bFitToWidth = false;
    std::vector<UINT> m_fixedColumns;
    DECLARE_MESSAGE_MAP()
};

class CTkFlatHeaderCtrl : public CTkHeaderCtrl {
    DECLARE_DYNAMIC(CTkFlatHeaderCtrl)
public:
    enum : UINT {
        kContextMenuId = 9014,  // the toolkit's menu; its sub-menu 2 is the column menu
        kColumnSubMenu = 2,
        ID_SORT_ASCENDING = 9158,
        ID_SORT_DESCENDING = 9159,
        ID_ALIGN_LEFT = 9160,
        ID_ALIGN_CENTER = 9161,
        ID_ALIGN_RIGHT = 9162,
        WM_TK_FIRSTPAINT = 3550,
    };

    CTkFlatHeaderCtrl();

    void DrawItem(LPDRAWITEMSTRUCT draw) override;
    // A menu of the program's resources instead of the built-in one (0: the built-in one).
    virtual void SetContextMenu(UINT menuId, int subMenu);
    virtual void SetBoldFont(bool bold);
    virtual void ApplyBoldFont(bool bold);
    // Marks the column sorted in that direction and owner-draws it; returns the column sorted
    // before (-1 for none).
    virtual int SetSortImage(int column, bool ascending);
    virtual void ShowSortArrow(bool show) { m_bShowSortArrow = show; }
    // The column under a point of the header's client area, or -1.
    virtual int HitTest(int x, int y);
    // Left (0), centre (2) or right (1) for the column last right-clicked.
    virtual void SetColumnAlignment(int alignment);
    virtual void DrawBorders(CDC* dc, const RECT& rect);

    int GetSortedColumn() const { return m_nSortColumn; }
    // 1 ascending, 0 descending, -1 none.
    int GetSortDirection() const { return m_nSortDirection; }
    bool IsSortArrowShown() const { return m_bShowSortArrow; }
    void EnableContextMenu(bool enable) { m_bMenuEnabled = enable; }
    // The built-in menu loaded for a column, its items checked after the column's state (the
    // caller destroys it); none when the toolkit's resources lack it.
    HMENU LoadColumnMenu(int column);
    // The point of the last right click (client coordinates); tests set it as a click would.
    void SetLastRightClick(POINT point) { m_ptLastRightClick = point; }

protected:
    void PreSubclassWindow() override;
    bool SortHeaderDisabled() const;
    CWnd* GetListOwner() const;
    void CreatePens();
    void SortFromMenu(bool ascending);

    afx_msg void OnPaint();
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg LRESULT OnLButtonDown(WPARAM, LPARAM);
    afx_msg LRESULT OnLButtonUp(WPARAM, LPARAM);
    afx_msg LRESULT OnRButtonDown(WPARAM, LPARAM);
    afx_msg LRESULT OnWindowPosChanged(WPARAM, LPARAM);
    afx_msg LRESULT OnSysColorChange(WPARAM, LPARAM);
    afx_msg LRESULT OnFirstPaint(WPARAM, LPARAM);
    afx_msg void OnSortAscending() { SortFromMenu(true); }
    afx_msg void OnSortDescending() { SortFromMenu(false); }
    afx_msg void OnAlignLeft() { SetColumnAlignment(0); }
    afx_msg void OnAlignCenter() { SetColumnAlignment(2); }
    afx_msg void OnAlignRight() { SetColumnAlignment(1); }

    int m_nSubMenu = 0;
    int m_nArrowSize = 6;
    int m_nSortColumn = -1;
    UINT m_nMenuId = 0;
    bool m_bPressed = false;
    int m_nSortDirection = -1;
    bool m_bShowSortArrow = false;
    bool m_bMenuEnabled = true;
    bool m_bFirstPaint = true;
    POINT m_ptLastRightClick = {0, 0};
    CPen m_penHighlight, m_penShadow, m_penFace;
    DECLARE_MESSAGE_MAP()
};
