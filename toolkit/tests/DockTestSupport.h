// A frame with a command-bars manager, its four dock bars and a view, and toolbars of fixed
// sizes, for the tests of the dock bars and the drag tracker.
#pragma once

#include "TkTestSupport.h"
#include "commandbars/TkBarDragTracker.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkDockBar.h"
#include "commandbars/TkToolBar.h"

#include <ostream>
#include <vector>

// Readable rectangles, points and sizes in the tests' messages.
inline void PrintTo(const CRect& r, std::ostream* os) { *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")"; }
inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const CSize& s, std::ostream* os) { *os << s.cx << " x " << s.cy; }

// A toolbar whose docked layout is a fixed size (turned for vertical docking); with the
// hide-wrap mode it shrinks to the length it is given, down to its least length. Floating, it
// is a block of 20 x 20 buttons, as many as its width holds, wrapped at the length it is given.
class CTkFixedToolBar : public CTkToolBar {
public:
    struct CCall {
        int length;
        DWORD mode;
        int minimum;
        bool operator==(const CCall& o) const { return length == o.length && mode == o.mode && minimum == o.minimum; }
    };
    CSize CalcDockingLayout(int length, DWORD mode, int minimum) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;

    CSize full = CSize(100, 26);
    int least = 100;
    std::vector<CCall> calls;
};

class CTkDockScene {
public:
    CTkDockScene() = default;
    ~CTkDockScene();
    CTkDockScene(const CTkDockScene&) = delete;
    CTkDockScene& operator=(const CTkDockScene&) = delete;

    // The frame's client area at this screen rectangle, docking enabled.
    bool Create(const RECT& client);
    CTkDockBar* DockBar(int side) const { return manager->GetDockBar(side); }
    // A new dockable toolbar (flags 0x3F) of the manager, not docked yet.
    CTkFixedToolBar* NewBar(CSize size, int flags = 0x3F);
    // A new toolbar docked in a new last row of the dock bar, or at the start of its first row,
    // asking to be at `along` in its row.
    CTkFixedToolBar* AddBar(CTkDockBar* dockBar, CSize size, int along, bool intoFirstRow = false);
    // The frame lays its bars out.
    void Layout();
    // Where a window is, in its dock bar's (or the frame's) client coordinates.
    CRect PlaceInDock(CWnd* bar) const;
    CRect PlaceInFrame(CWnd* child) const;
    // A rectangle in a dock bar's client coordinates, in screen coordinates.
    CRect ScreenRectInDock(CTkDockBar* dockBar, const CRect& client) const;

    CFrameWnd* frame = nullptr;
    CWnd* view = nullptr;
    CTkCommandBars* manager = nullptr;
    std::vector<CTkFixedToolBar*> bars;
};

// The default frame client size of the tests.
const int kClientWidth = 400;
const int kClientHeight = 300;
