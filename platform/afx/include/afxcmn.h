// Common-control wrappers of our small class library.
#pragma once

#include "afxwin.h"

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

// A status bar along the bottom of its frame (child id ID_VIEW_STATUS_BAR by default).
class CStatusBar : public CWnd {
public:
    bool Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = ID_VIEW_STATUS_BAR);
    bool SetText(const char* text, int pane = 0);
};

// Initialises the common control classes the program uses (ICC flags).
bool AfxInitCommonControls(DWORD classes);
// Loads the rich-edit control library.
bool AfxInitRichEdit2();
