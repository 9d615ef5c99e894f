#include "controls/TkControlSelector.h"

#include "afxarchive.h"
#include "commandbars/TkCommandBar.h"
#include "painters/TkThemePainter.h"

#include <algorithm>

IMPLEMENT_SERIAL(CTkControlSelector, CTkControl, VERSIONABLE_SCHEMA | 7)

namespace {
const int kMaxCell = 256;
const int kMaxGrid = 64;

bool SameSize(const CSize& a, const CSize& b) {
    return a.cx == b.cx && a.cy == b.cy;
}
}  // namespace

bool CTkControlSelector::IsValidGrid(CSize initial, CSize maximum, CSize cell) {
    auto inRange = [](int value, int low, int high) { return value >= low && value <= high; };
    return inRange(cell.cx, 1, kMaxCell) && inRange(cell.cy, 1, kMaxCell) && inRange(initial.cx, 1, maximum.cx) &&
           inRange(initial.cy, 1, maximum.cy) && maximum.cx <= kMaxGrid && maximum.cy <= kMaxGrid;
}

bool CTkControlSelector::SetGrid(CSize initial, CSize maximum, CSize cell) {
    if (!IsValidGrid(initial, maximum, cell)) return false;
    m_szInitial = initial;
    m_szMaximum = maximum;
    m_szCell = cell;
    ResetGrid();
    m_szSelection = CSize(0, 0);
    RequestParentLayout();
    return true;
}

CSize CTkControlSelector::GetSize(CDC*) {
    return CSize(m_szGrid.cx * m_szCell.cx, m_szGrid.cy * m_szCell.cy);
}

void CTkControlSelector::Draw(CDC* dc) {
    CTkThemePainter* painter = GetPainter();
    HDC hdc = dc->GetSafeHdc();
    const COLORREF border = painter->GetColor(TK_COLOR_BTNSHADOW);
    const COLORREF text = painter->GetColor(TK_COLOR_BTNTEXT);
    for (int row = 0; row < m_szGrid.cy; ++row) {
        for (int column = 0; column < m_szGrid.cx; ++column) {
            CRect cell(m_rcControl.left + column * m_szCell.cx, m_rcControl.top + row * m_szCell.cy,
                       m_rcControl.left + (column + 1) * m_szCell.cx, m_rcControl.top + (row + 1) * m_szCell.cy);
            ::InflateRect(&cell, -1, -1);
            const bool selected = column < m_szSelection.cx && row < m_szSelection.cy;
            ::SetBkColor(hdc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            ::SetTextColor(hdc, selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
            painter->PaintFramedRect(dc, cell, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW), border);
            DrawCell(dc, cell, column, row, selected);
        }
    }
}

void CTkControlSelector::DrawCell(CDC*, const CRect&, int, int, bool) {}

bool CTkControlSelector::IsButtonHeld() const {
    return ::GetKeyState(VK_LBUTTON) < 0;
}

void CTkControlSelector::OnMouseMove(POINT point) {
    const CPoint offset(point.x - m_rcControl.left, point.y - m_rcControl.top);
    if (IsButtonHeld()) {
        // The grid grows to hold the cursor, up to the maximum.
        const CSize needed((offset.x + m_szCell.cx - 1) / m_szCell.cx, (offset.y + m_szCell.cy - 1) / m_szCell.cy);
        const CSize grown(std::min(std::max((int)m_szGrid.cx, (int)needed.cx), (int)m_szMaximum.cx),
                          std::min(std::max((int)m_szGrid.cy, (int)needed.cy), (int)m_szMaximum.cy));
        if (!SameSize(grown, m_szGrid)) {
            m_szGrid = grown;
            if (m_pParent) {
                m_pParent->DelayLayout();
                m_pParent->OnRecalcLayout();
            }
        }
    }
    // The columns whose left edge and the rows whose top edge lie before the cursor.
    const CSize selection(offset.x <= 0 ? 0 : std::min((int)((offset.x - 1) / m_szCell.cx + 1), (int)m_szGrid.cx),
                          offset.y <= 0 ? 0 : std::min((int)((offset.y - 1) / m_szCell.cy + 1), (int)m_szGrid.cy));
    SetSelection(selection);
}

void CTkControlSelector::SetSelection(CSize selection) {
    if (SameSize(selection, m_szSelection)) return;
    m_szSelection = selection;
    if (!m_pParent || !m_pParent->GetSafeHwnd()) return;
    ::InvalidateRect(m_pParent->GetSafeHwnd(), &m_rcControl, FALSE);
    if (CWnd* site = m_pParent->GetSite()) {
        CTkExecuteRecord record = {{nullptr, (UINT_PTR)m_nId, TK_SELECTOR_CHANGED}, this};
        site->SendMessage(TK_WM_EXECUTE, (WPARAM)m_nId, (LPARAM)&record);
    }
}

int CTkControlSelector::SetSelected(int state) {
    const int changed = CTkControl::SetSelected(state);
    if (state == TK_CONTROL_SELECTION_NONE) {
        SetSelection(CSize(0, 0));
        if (!SameSize(m_szGrid, m_szInitial)) {
            ResetGrid();
            if (m_pParent) {
                m_pParent->DelayLayout();
                m_pParent->OnRecalcLayout();
            }
        }
    }
    return changed;
}

void CTkControlSelector::RunChoice() {
    if (!m_bEnabled || m_szSelection.cx <= 0 || m_szSelection.cy <= 0) return;
    m_szLastChosen = m_szSelection;
    Execute();
}

void CTkControlSelector::OnClick(bool byKeyboard, POINT point) {
    if (IsCustomizeMode()) return CTkControl::OnClick(byKeyboard, point);
    // In a popup bar the choice is made when the button is released.
    if (!byKeyboard && m_pParent && m_pParent->m_nBarType == TK_BAR_TYPE_POPUP) return;
    RunChoice();
}

void CTkControlSelector::OnLButtonUp(POINT) {
    if (m_pParent && m_pParent->m_nBarType == TK_BAR_TYPE_POPUP) RunChoice();
}

void CTkControlSelector::Copy(const CTkControl* from, bool recursive) {
    CTkControl::Copy(from, recursive);
    if (auto* selector = dynamic_cast<const CTkControlSelector*>(from)) {
        m_szInitial = selector->m_szInitial;
        m_szMaximum = selector->m_szMaximum;
        m_szCell = selector->m_szCell;
        m_szLastChosen = selector->m_szLastChosen;
        ResetGrid();
    }
}
