// The thin child window on one side of a frame that holds toolbars in rows: it answers the
// frame's layout query with the room its rows take and places its toolbars row by row.
#pragma once

#include "afxwin.h"

#include <vector>

class CTkCommandBars;
class CTkToolBar;

// Dock styles: the side a dock bar sits on and the borders it draws.
enum TkDockStyle : DWORD {
    TK_DOCK_STYLE_BORDER_LEFT = 0x100,
    TK_DOCK_STYLE_BORDER_TOP = 0x200,
    TK_DOCK_STYLE_BORDER_RIGHT = 0x400,
    TK_DOCK_STYLE_BORDER_BOTTOM = 0x800,
    TK_DOCK_STYLE_LEFT = 0x1000,
    TK_DOCK_STYLE_TOP = 0x2000,
    TK_DOCK_STYLE_RIGHT = 0x4000,
    TK_DOCK_STYLE_BOTTOM = 0x8000,
    TK_DOCK_STYLE_MASK = 0x40FFFF,
};

// The side (0 top, 1 bottom, 2 left, 3 right) of a dock style.
int TkGetBarDockSide(DWORD dockStyle);

class CTkDockBar : public CWnd {
    DECLARE_DYNAMIC(CTkDockBar)
public:
    explicit CTkDockBar(CTkCommandBars* manager = nullptr) : m_pManager(manager) {}
    ~CTkDockBar() override;

    // A child of the frame with the window style and id; the dock style keeps the bar bits.
    bool Create(CWnd* parentFrame, DWORD style, UINT id);

    int GetDockSide() const { return TkGetBarDockSide(m_dwDockStyle); }
    bool IsHorizontal() const { return (m_dwDockStyle & (TK_DOCK_STYLE_TOP | TK_DOCK_STYLE_BOTTOM)) != 0; }
    CTkCommandBars* GetManager() const { return m_pManager; }

    // --- The rows: the bars in order, a null entry ending each row, after a leading null.
    const std::vector<CTkToolBar*>& GetBars() const { return m_bars; }
    // The index of the bar, not counting the entry at skipIndex; -1 when absent.
    int FindBar(const CTkToolBar* bar, int skipIndex = -1) const;
    // Puts the bar into the row whose far edge lies beyond the centre's cross coordinate, or
    // into a new row (above a row whose near edge the centre touches, or at the end); returns
    // the bar's index. The rectangle is in client coordinates.
    int InsertBar(CTkToolBar* bar, const RECT& rect, POINT centre);
    // Takes the bar's entry out (not the one at skipIndex) and any row it leaves empty; a bar
    // this dock bar does not hold changes nothing.
    void RemoveBar(CTkToolBar* bar, int skipIndex = -1);
    // Docks the bar at a rectangle in screen coordinates (its centre chooses the row), or as a
    // new last row without one; the bar leaves the dock bar it was in.
    void DockBarAt(CTkToolBar* bar, const RECT* screenRect);
    // Puts an entry of a saved layout back: the bar (none for a row break) goes in before the
    // entry at the index, kept after the leading break and within the list. The bar leaves the
    // dock bar that held it and becomes a docked child of this one.
    void RestoreEntry(int index, CTkToolBar* bar);
    // The list starts and ends with a row break and runs of breaks become one; a stretching
    // toolbar (bar flag 0x40) gets a row of its own.
    void NormaliseRows();
    // Appends the visible toolbars of the row holding the index, in their order along the row.
    void GetRowBars(int index, std::vector<CTkToolBar*>& list) const;
    // Lays the rows out at a length (positions deferred with the record's handle when it has
    // one) and returns the size the rows take.
    CSize CalcDockBarLayout(int length, DWORD mode, AFX_SIZEPARENTPARAMS* layout);

    DWORD m_dwDockStyle = 0;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSizeParent(AFX_SIZEPARENTPARAMS* layout);
    void OnPaint();
    // The frame lays its bars out again at its next idle time.
    void DelayFrameLayout();

    std::vector<CTkToolBar*> m_bars{nullptr};
    CTkCommandBars* m_pManager;
};

// One row of a dock bar while it is laid out. Vertical rows are laid out with x and y swapped,
// so the same steps serve both.
class CTkDockRow {
public:
    CTkDockRow(CTkDockBar* dockBar, int length, AFX_SIZEPARENTPARAMS* layout)
        : m_pDockBar(dockBar), m_nLength(length), m_pLayout(layout) {}

    // Lays the toolbars out at an offset across the dock bar; a toolbar that does not fit goes
    // to a further row after it. Returns the thickness of all the rows it took.
    int Layout(std::vector<CTkToolBar*> bars, int offset);

private:
    struct CItem {
        CTkToolBar* bar;
        CRect rect;      // along the row in x, across in y
        CRect original;  // where the bar asked to be
        int order;       // the bar's place in the row's list: the lower, the more it keeps its place
        int minimum;     // the least length it may be squeezed to
        DWORD mode;
        bool moved;      // moved by the current pass
    };
    // One pass over one row; 0 and the toolbar that does not fit, or the row's thickness.
    int LayoutOnce(const std::vector<CTkToolBar*>& bars, int offset, CTkToolBar** overflow);
    bool Squeeze(std::vector<CItem>& items);
    void Commit(std::vector<CItem>& items, int thickness);

    CTkDockBar* m_pDockBar;
    int m_nLength;
    AFX_SIZEPARENTPARAMS* m_pLayout;
};
