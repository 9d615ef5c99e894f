// Where a popup opens: the anchor beside its control, the placement on the work area, and the
// animation it plays. Pure functions of their inputs, so they hold on any monitor.
#include "commandbars/TkPopupBar.h"

#include "commandbars/TkMenuEffects.h"

void TkPlacePopup(CTkPopupPlacement& p) {
    const CRect& W = p.work;
    const CRect& E = p.exclude;
    const bool control = !E.IsRectEmpty();
    const bool below = (p.flags & TK_POPUP_BELOW) != 0;
    const int B = W.bottom - 5;
    int width = p.size.cx, height = p.size.cy;
    int x = p.anchor.x, y = p.anchor.y;
    p.scrolling = false;

    // Horizontal start: right-aligned under a right-to-left control, else left of the control.
    if (control && p.flags == (TK_POPUP_LEFT | TK_POPUP_BELOW))
        x = E.right - width;
    else if (p.flags & TK_POPUP_LEFT)
        x = control ? E.left - width : x - width;

    // Vertical: flip above, move up or scroll.
    if (E.Height() > 0 || y < B) {
        if (y + height > B) {
            if (!control) {
                // The upper half of the work area is measured from its own top, not from 0.
                y = (y - W.top < (B - W.top) / 2) ? B - height : y - height;
            } else if (below) {
                y = E.top - height;
                if (y < W.top) {
                    p.scrolling = true;
                    if ((E.top + E.bottom) / 2 > (W.top + W.bottom) / 2) {
                        y = W.top;
                        height = E.top - W.top;
                    } else {
                        y = E.bottom;
                        height = B - E.bottom;
                    }
                }
            } else {
                y = B - height;
            }
        }
        if (y < W.top) y = W.top;
        if (y + height > B) {
            height = B - y;
            p.scrolling = true;
        }
    } else {
        y = y - height;
    }

    // Horizontal fit: flip to the other side of a control, or move in.
    if (x + width > W.right) {
        if (!control)
            x = p.anchor.x > W.right ? x - width : W.right - width;
        else
            x = below ? W.right - width : E.left - width;
        if (control) p.flags |= TK_POPUP_LEFT;
    }
    if (x < W.left) {
        if (control) {
            x = below ? W.left : E.right;
            p.flags &= ~TK_POPUP_LEFT;
        } else if (p.flags & TK_POPUP_LEFT) {
            x = W.left;
            p.flags &= ~TK_POPUP_LEFT;
        }
    }
    // A popup wider than the room on either side still stays on the work area.
    if (x + width > W.right) x = W.right - width;
    if (x < W.left) x = W.left;

    p.position = CPoint(x, y);
    p.size.cy = height;
}

CTkPopupAnchor TkCalcPopupAnchor(const CRect& rect, const CTkControl* control, const CTkCommandBar* bar,
                                 bool siteRightToLeft) {
    CTkPopupAnchor result;
    int flags = ((control && (control->m_nFlags & TK_CONTROL_FLAG_EXPAND)) || siteRightToLeft) ? TK_POPUP_LEFT : 0;
    const int position = bar ? bar->m_nPosition : TK_BAR_POSITION_TOP;
    if (position == TK_BAR_POSITION_LEFT || position == TK_BAR_POSITION_POPUP) {
        const auto* popup = dynamic_cast<const CTkPopupBar*>(bar);
        if (!popup || !(popup->m_nPopupFlags & TK_POPUP_LEFT)) flags &= ~TK_POPUP_LEFT;
    } else if (position == TK_BAR_POSITION_RIGHT) {
        flags |= TK_POPUP_LEFT;
    } else {
        flags |= TK_POPUP_BELOW;
    }
    result.flags = flags;
    result.exclude = rect;
    const bool below = (flags & TK_POPUP_BELOW) != 0;
    result.anchor = CPoint(below ? rect.left : rect.right, below ? rect.bottom : rect.top);
    return result;
}

int TkPopupAnimationKind(int setting, DWORD preferencesMask, int random) {
    switch (setting) {
    case 0: return TkMenuAnimationFromMask(preferencesMask);
    case 1: {
        static const int kinds[3] = {4, 3, 2};
        return kinds[(random % 3 + 3) % 3];
    }
    default: return setting;
    }
}
