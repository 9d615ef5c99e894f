// Common-control wrappers of our small class library.
#pragma once

#include "afxwin.h"

#include <richedit.h>

#include <vector>

class CTabCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create("SysTabControl32", "", style, rect, parent, id);
    }
    int InsertItem(int index, const char* text);
    int GetItemCount() const { return (int)SendMessage(TCM_GETITEMCOUNT); }
    int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL); }
    virtual int SetCurSel(int index) { return (int)SendMessage(TCM_SETCURSEL, index); }
    bool DeleteAllItems() { return SendMessage(TCM_DELETEALLITEMS) != 0; }
    void AdjustRect(bool larger, RECT* rect) { SendMessage(TCM_ADJUSTRECT, larger, (LPARAM)rect); }
};

// Pane styles of the status bar.
enum : UINT {
    SBPS_NORMAL = 0,
    SBPS_NOBORDERS = SBT_NOBORDERS,
    SBPS_POPOUT = SBT_POPOUT,
    SBPS_DISABLED = 0x04000000,
    SBPS_STRETCH = 0x08000000,  // takes the width the other panes leave
};

// A status bar along the bottom of its frame (child id ID_VIEW_STATUS_BAR by default), with
// panes of fixed width; a stretching pane takes what the others leave.
class CStatusBar : public CWnd {
public:
    bool Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = ID_VIEW_STATUS_BAR);
    // One pane per id (0: a text pane), each SBPS_NORMAL and 100 pixels wide until set.
    bool SetIndicators(const UINT* ids, int count);
    int GetCount() const { return (int)m_panes.size(); }
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    bool SetPaneText(int index, const char* text);
    CString GetPaneText(int index) const;
    // The pane's rectangle in the bar's client area.
    void GetItemRect(int index, RECT* rect) const { SendMessage(SB_GETRECT, index, (LPARAM)rect); }
    bool SetText(const char* text, int pane = 0) { return SetPaneText(pane, text); }

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    // The frame's layout query: the bar aligns itself along the frame's bottom and takes its height.
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam);
    // Gives the panes' right edges to the control.
    void UpdateParts();

    struct Pane {
        UINT id;
        UINT style;
        int width;
        CString text;
    };
    std::vector<Pane> m_panes;
    DECLARE_MESSAGE_MAP()
};

// The rich-edit control (version 2 or later; AfxInitRichEdit2 loads it).
class CRichEditCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetReadOnly(bool readOnly = true) { SendMessage(EM_SETREADONLY, readOnly); }
    void LimitText(long max) { SendMessage(EM_EXLIMITTEXT, 0, max); }
    DWORD SetEventMask(DWORD mask) { return (DWORD)SendMessage(EM_SETEVENTMASK, 0, mask); }
    COLORREF SetBackgroundColor(bool useSystem, COLORREF colour) {
        return (COLORREF)SendMessage(EM_SETBKGNDCOLOR, useSystem, colour);
    }
    void SetSel(long start, long end);
    // The length in characters.
    long GetTextLength() const;
    void SetFont(HFONT font, bool redraw = true) { SendMessage(WM_SETFONT, (WPARAM)font, redraw); }
};

// Initialises the common control classes the program uses (ICC flags).
bool AfxInitCommonControls(DWORD classes);
// Loads the rich-edit control library.
bool AfxInitRichEdit2();

// A header control (the column headings of a report list).
class CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    bool GetItem(int index, HDITEMW* item) const { return SendMessage(HDM_GETITEMW, index, (LPARAM)item) != 0; }
    bool SetItem(int index, const HDITEMW* item) { return SendMessage(HDM_SETITEMW, index, (LPARAM)item) != 0; }
    bool GetItemRect(int index, RECT* rect) const { return SendMessage(HDM_GETITEMRECT, index, (LPARAM)rect) != 0; }
    // The item's text (at most maxChars characters).
    CString GetItemText(int index, int maxChars = 255) const;
};

// A list view control. Texts cross as narrow strings; the control itself is wide.
class CListCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(WC_LISTVIEWA, "", style, rect, parent, id);
    }
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    int InsertItem(int index, const char* text);
    bool DeleteItem(int index) { return SendMessage(LVM_DELETEITEM, index) != 0; }
    bool DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    bool SetItemText(int index, int subItem, const char* text);
    // The whole text, however long.
    CString GetItemText(int index, int subItem) const;
    bool SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    bool SetItemState(int index, UINT state, UINT mask);
    UINT GetItemState(int index, UINT mask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, index, mask); }
    int GetNextItem(int start, UINT flags) const { return (int)SendMessage(LVM_GETNEXTITEM, start, MAKELPARAM(flags, 0)); }
    bool GetItemRect(int index, RECT* rect, UINT code) const;
    int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1);
    bool GetColumn(int column, LVCOLUMNW* info) const { return SendMessage(LVM_GETCOLUMNW, column, (LPARAM)info) != 0; }
    bool SetColumn(int column, const LVCOLUMNW* info) { return SendMessage(LVM_SETCOLUMNW, column, (LPARAM)info) != 0; }
    int GetColumnWidth(int column) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, column); }
    bool SetColumnWidth(int column, int width) { return SendMessage(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)) != 0; }
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); }
    DWORD SetExtendedStyle(DWORD style) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    HWND GetHeaderHwnd() const { return (HWND)SendMessage(LVM_GETHEADER); }
    bool SortItems(PFNLVCOMPARE compare, LPARAM data) { return SendMessage(LVM_SORTITEMS, (WPARAM)data, (LPARAM)compare) != 0; }
    int SubItemHitTest(LVHITTESTINFO* info) { return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)info); }
    bool SetTextColor(COLORREF colour) { return SendMessage(LVM_SETTEXTCOLOR, 0, colour) != 0; }
    bool SetBkColor(COLORREF colour) { return SendMessage(LVM_SETBKCOLOR, 0, colour) != 0; }
    bool SetTextBkColor(COLORREF colour) { return SendMessage(LVM_SETTEXTBKCOLOR, 0, colour) != 0; }
};
