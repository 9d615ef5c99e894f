// The mouse loop that moves a toolbar between dock bars, tears it off, resizes a floating
// toolbar and puts it back where it last was. One per dockable toolbar, made by EnableDocking.
#pragma once

#include "afxwin.h"

class CTkToolBar;
class CFrameWnd;

class CTkBarDragTracker {
public:
    explicit CTkBarDragTracker(CTkToolBar* bar) : m_pBar(bar) {}
    CTkBarDragTracker(const CTkBarDragTracker&) = delete;
    CTkBarDragTracker& operator=(const CTkBarDragTracker&) = delete;

    CTkToolBar* GetBar() const { return m_pBar; }

    CTkToolBar* m_pBar;
    CFrameWnd* m_pFrame = nullptr;
    int m_nMode = 0;                 // 1 moving, else the hit-test code of the edge being resized
    CPoint m_ptLast;                 // last mouse point, screen coordinates
    int m_nLastDockSide = 0;         // the dock bar the bar was last docked in, 0 to 3
    CRect m_rcLastDock;              // in that dock bar's client coordinates
    CRect m_rcDrag;
    CRect m_rcWindow;
    CPoint m_ptLastFloat;            // screen position of the floating window's top-left
};
