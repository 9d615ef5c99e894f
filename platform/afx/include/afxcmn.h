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
