// The grid selector of a command bar (a table-size picker): the user sweeps a number of columns
// and rows; the grid grows while the button is held beyond it.
#pragma once

#include "controls/TkControl.h"

// The code of the notification a selector sends when its selection changes.
const UINT TK_SELECTOR_CHANGED = 0x1006;

class CTkControlSelector : public CTkControl {
    DECLARE_SERIAL(CTkControlSelector)
public:
    CTkControlSelector() { ResetGrid(); }

    // Sets the initial and maximum grids and the cell size; false (nothing changed) unless
    // 1 <= cell <= 256 and 1 <= initial <= maximum <= 64 in both directions.
    bool SetGrid(CSize initial, CSize maximum, CSize cell);
    static bool IsValidGrid(CSize initial, CSize maximum, CSize cell);

    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    // The selection follows the cursor; with the button held beyond the grid, the grid grows.
    void OnMouseMove(POINT point) override;
    // Deselected: no selection, and the grid back to its initial size.
    int SetSelected(int state) override;
    void OnClick(bool byKeyboard, POINT point) override;
    void OnLButtonUp(POINT point) override;
    void Copy(const CTkControl* from, bool recursive) override;
    // The control record, then the initial and maximum grids and the cell size; a grid SetGrid
    // refuses is damage (TkBarArchive.h).
    void Serialize(CArchive& ar) override;

    CSize m_szInitial{5, 4};
    CSize m_szMaximum{12, 12};
    CSize m_szCell{28, 28};
    CSize m_szGrid;
    CSize m_szSelection{0, 0};
    CSize m_szLastChosen{0, 0};

protected:
    // Draws one cell after its background and border.
    virtual void DrawCell(CDC* dc, const CRect& cell, int column, int row, bool selected);
    // Whether the left button is down (the thread's key state).
    virtual bool IsButtonHeld() const;

private:
    void ResetGrid() { m_szGrid = m_szInitial; }
    // Stores a new selection: the control repaints and the site is told.
    void SetSelection(CSize selection);
    void RunChoice();
};
