// A command bar as the drop target of the customise drag: where a dragged control would go, the
// mark that shows it, and the drop itself.
#include "commandbars/TkCommandBar.h"

#include "commandbars/TkCommandBars.h"
#include "controls/TkControls.h"

#include <cstdlib>

namespace {

const int kMarkWidth = 6;

// Whether the control after this one starts a group or a row (or there is none).
bool EndsRun(const CTkControls* controls, const CTkControl* control) {
    const CTkControl* next = controls->Next(control);
    return !next || next->m_bBeginGroup || next->m_bWrap;
}

}  // namespace

CTkCommandBar::CDropPlace CTkCommandBar::CalcDropPlace(const CTkControl* dragged, POINT point) const {
    CDropPlace place;
    place.vertical = m_nPosition == TK_BAR_POSITION_LEFT || m_nPosition == TK_BAR_POSITION_RIGHT ||
                     m_nBarType == TK_BAR_TYPE_POPUP;
    const bool vertical = place.vertical;
    const CTkControl* chosen = nullptr;
    int best = -1;
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        const CTkControl* control = m_pControls->GetControl(i);
        if (!control->IsVisible() || (control->m_nFlags & TK_CONTROL_FLAG_NO_MOVE)) continue;
        const CRect& rect = control->m_rcControl;
        const int centre = vertical ? (rect.top + rect.bottom) / 2 : (rect.left + rect.right) / 2;
        const int along = vertical ? point.y : point.x;
        const int distance = std::abs(centre - along);
        if (control->m_bWrap) {
            // A row (a column on a vertical bar) beyond the point ends the search; the first
            // control of any other row is the candidate whatever the distance.
            if (vertical ? rect.left > point.x : rect.top > point.y) break;
            best = -1;
        }
        if (best < 0 || distance < best) {
            chosen = control;
            best = distance;
            place.after = centre < along;
        }
    }
    if (!chosen) {
        CRect client;
        ::GetClientRect(m_hWnd, &client);
        place.index = -1;
        place.after = true;
        place.vertical = false;
        place.mark = CRect(client.left + 2, client.top + 2, client.left + 2 + kMarkWidth, client.bottom - 2);
        return place;
    }
    place.index = chosen->m_nIndex;
    const CRect& rect = chosen->m_rcControl;
    if (vertical) {
        if (!place.after)
            place.mark = CRect(rect.left, rect.top, rect.right, rect.top + kMarkWidth);
        else if (EndsRun(m_pControls, chosen))
            place.mark = CRect(rect.left, rect.bottom - kMarkWidth, rect.right, rect.bottom);
        else
            place.mark = CRect(rect.left, rect.bottom, rect.right, rect.bottom + kMarkWidth);
    } else {
        if (!place.after)
            place.mark = CRect(rect.left, rect.top, rect.left + kMarkWidth, rect.bottom);
        else if (EndsRun(m_pControls, chosen))
            place.mark = CRect(rect.right - kMarkWidth, rect.top, rect.right, rect.bottom);
        else
            place.mark = CRect(rect.right, rect.top, rect.right + kMarkWidth, rect.bottom);
    }
    if (chosen == dragged) place.mark = CRect();
    return place;
}

bool CTkCommandBar::OnCustomizeDragEnter(CTkControl* dragged, POINT point) {
    SetDropMark(CRect(), false);
    return OnCustomizeDragOver(dragged, point);
}

bool CTkCommandBar::OnCustomizeDragOver(CTkControl* dragged, POINT point) {
    if (!m_hWnd || !::IsWindowVisible(m_hWnd) || !m_bCustomizable || !dragged ||
        !dragged->IsCustomizeDragOverAvail(this)) {
        SetDropMark(CRect(), false);
        return false;
    }
    const CDropPlace place = CalcDropPlace(dragged, point);
    SetDropMark(place.mark, place.vertical);
    CTkControl* under = m_pControls->ControlAtPoint(point.x, point.y);
    if (under && under != dragged) {
        CHoldRef hold(under);
        under->CustomizeDragOver(dragged, point);
    } else if (m_nPopupIndex != -1 && (!under || under->m_nIndex != m_nPopupIndex)) {
        SetPopuped(-1, false);
    }
    return true;
}

void CTkCommandBar::OnCustomizeDragLeave() {
    SetDropMark(CRect(), false);
}

int CTkCommandBar::OnCustomizeDrop(CTkControl* dragged, int result, POINT drop, POINT start) {
    if (!dragged) return result;
    CHoldRef holdSelf(this), holdDragged(dragged);
    const CDropPlace place = CalcDropPlace(dragged, drop);
    SetDropMark(CRect(), false);
    const CTkControl* target = m_pControls->GetControl(place.index);
    if (target == dragged && (std::abs(drop.x - start.x) > 4 || std::abs(drop.y - start.y) > 4)) {
        dragged->SetBeginGroup(place.after && place.index != 0);
        if (m_hWnd) Invalidate(false);
        return 5;
    }
    SetPopuped(-1, false);
    SetSelected(-1, false);
    int index = place.index + (place.after ? 1 : 0);
    bool beginGroup = false;
    if (!place.after)
        if (CTkControl* displaced = m_pControls->GetControl(index)) {
            beginGroup = displaced->m_bBeginGroup != 0;
            displaced->m_bBeginGroup = 0;
        }
    CTkControl* copy = dragged->Clone(true);
    if (!copy) return 5;
    copy->m_bBeginGroup = beginGroup ? 1 : 0;
    copy->m_nHideFlags = 0;
    copy->m_nSelected = TK_CONTROL_SELECTION_NONE;
    m_pControls->Add(copy, copy->m_nId, copy->m_strParameter, index < m_pControls->GetCount() ? index : -1);
    if (CTkCommandBars* manager = GetManager()) manager->SetSelectedControl(copy);
    OnRecalcLayout();
    if (m_hWnd) Invalidate(false);
    return result;
}

void CTkCommandBar::SetDropMark(const CRect& mark, bool vertical) {
    if (mark == m_rcDropMark && (m_bDropMarkVertical != 0) == vertical) return;
    if (m_hWnd && !m_rcDropMark.IsRectEmpty()) ::InvalidateRect(m_hWnd, &m_rcDropMark, FALSE);
    m_rcDropMark = mark;
    m_bDropMarkVertical = vertical ? 1 : 0;
    if (m_hWnd && !m_rcDropMark.IsRectEmpty()) ::InvalidateRect(m_hWnd, &m_rcDropMark, FALSE);
}

void CTkCommandBar::DrawDropMark(CDC* dc) const {
    if (m_rcDropMark.IsRectEmpty() || !IsCustomizeMode()) return;
    const CRect& r = m_rcDropMark;
    HDC hdc = dc->GetSafeHdc();
    HGDIOBJ old = ::SelectObject(hdc, ::GetSysColorBrush(COLOR_BTNFACE));
    // An I-beam: the two outer lines, the two inner ones a pixel shorter at each end, and the
    // two-pixel bar in the middle two pixels shorter; turned for a bar that runs down.
    if (!m_bDropMarkVertical) {
        const int h = r.Height();
        ::PatBlt(hdc, r.left, r.top, 1, h, PATINVERT);
        ::PatBlt(hdc, r.left + 1, r.top + 1, 1, h - 2, PATINVERT);
        ::PatBlt(hdc, r.left + 2, r.top + 2, 2, h - 4, PATINVERT);
        ::PatBlt(hdc, r.right - 2, r.top + 1, 1, h - 2, PATINVERT);
        ::PatBlt(hdc, r.right - 1, r.top, 1, h, PATINVERT);
    } else {
        const int w = r.Width();
        ::PatBlt(hdc, r.left, r.top, w, 1, PATINVERT);
        ::PatBlt(hdc, r.left + 1, r.top + 1, w - 2, 1, PATINVERT);
        ::PatBlt(hdc, r.left + 2, r.top + 2, w - 4, 2, PATINVERT);
        ::PatBlt(hdc, r.left + 1, r.bottom - 2, w - 2, 1, PATINVERT);
        ::PatBlt(hdc, r.left, r.bottom - 1, w, 1, PATINVERT);
    }
    ::SelectObject(hdc, old);
}
