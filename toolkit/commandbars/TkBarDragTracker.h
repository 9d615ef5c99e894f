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

    // Moves the bar with the mouse from a screen point until the button goes up or Escape:
    // docked where a dock bar takes it, else floating when the bar may float.
    void TrackMove(POINT screenPoint);
    // Resizes the floating bar by the edge of a hit-test code (10 left, 11 right, 12 top, 15 bottom).
    void TrackResize(int hitCode, POINT screenPoint);
    // A double click: a floating bar docks back where it last was docked, a docked one floats
    // where it last floated (when the settings say so). 1 when it docked or floated the bar.
    int ApplyLastPosition();

    // One step of a move or resize to a new screen point (the loop's work for a mouse move).
    void MoveStep(POINT screenPoint);
    void ResizeStep(POINT screenPoint);
    // Remembers where the floating window's top-left is.
    void SetLastFloatPoint(POINT screenPoint) {
        m_ptLastFloat = screenPoint;
        m_bHasFloatPoint = true;
    }
    bool HasLastFloatPoint() const { return m_bHasFloatPoint; }

    CTkToolBar* m_pBar;
    CFrameWnd* m_pFrame = nullptr;
    int m_nMode = 0;                 // 1 moving, else the hit-test code of the edge being resized
    CPoint m_ptLast;                 // last mouse point, screen coordinates
    int m_nLastDockSide = 0;         // the dock bar the bar was last docked in, 0 to 3
    CRect m_rcLastDock;              // in that dock bar's client coordinates
    CRect m_rcDrag;
    CRect m_rcWindow;
    CPoint m_ptLastFloat;            // screen position of the floating window's top-left

private:
    // The modal loop; false when another window holds the mouse capture.
    bool RunLoop();
    CFrameWnd* GetFrame() const;
    // Floats the bar through its manager at its floating size, with the window holding the point.
    void FloatAt(POINT topLeft, POINT keepInside);

    bool m_bHasFloatPoint = false;
};
