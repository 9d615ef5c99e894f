#include "painters/TkThemePainterFlat.h"

#include "commandbars/TkCommandBar.h"
#include "controls/TkControl.h"
#include "images/TkIconStore.h"

#include <algorithm>

namespace {

// The state of a menu item's row: selected items are hot, disabled selected ones hot 2.
CTkButtonState MenuRowState(const CTkControl* control) {
    CTkButtonState state = CTkThemePainter::StateOf(control);
    const bool selected = control->m_nSelected != TK_CONTROL_SELECTION_NONE;
    state.hot = selected ? (state.enabled ? 1 : 2) : 0;
    state.pressed = 0;
    state.checked = false;
    state.popupOpen = false;
    state.withBorder = false;
    return state;
}

}  // namespace

CTkThemePainterFlat::CTkThemePainterFlat() {
    m_bFadedIdleImages = true;
    m_bShadowedHotImages = true;
}

// ---------------------------------------------------------------------------------------------
// Buttons.

void CTkThemePainterFlat::PaintButtonFrame(CDC* dc, const CRect& rect, const CTkButtonState& state, int) {
    if (!state.enabled) {
        if (state.checked && !state.withBorder)
            PaintFramedRect(dc, rect, TK_COLOR_BAR_FACE, TK_COLOR_DISABLED);
        else if (state.hot == 2)
            PaintFramedRect(dc, rect, state.withBorder ? TK_COLOR_HOT_FILL : TK_COLOR_MENU_BACK, TK_COLOR_HOT_BORDER);
        return;
    }
    if (state.popupOpen) {
        PaintFramedRect(dc, rect, TK_COLOR_BAR_FACE, TK_COLOR_FRAME);
    } else if (state.checked && state.hot && !state.pressed) {
        PaintFramedRect(dc, rect, TK_COLOR_PRESSED_FILL, TK_COLOR_CHECKED_HOT_BORDER);
    } else if (state.checked && !state.hot && !state.pressed) {
        PaintFramedRect(dc, rect, TK_COLOR_CHECKED_FILL, TK_COLOR_CHECKED_BORDER);
    } else if (state.pressed == 2 || (state.hot && state.pressed)) {
        PaintFramedRect(dc, rect, TK_COLOR_PRESSED_FILL, TK_COLOR_CHECKED_BORDER);
    } else if (state.hot || state.pressed) {
        PaintFramedRect(dc, rect, TK_COLOR_HOT_FILL, TK_COLOR_HOT_BORDER);
    }
}

int CTkThemePainterFlat::TextColorOf(const CTkButtonState& state) {
    if (!state.enabled) return TK_COLOR_DISABLED;
    if (state.popupOpen) return TK_COLOR_BAR_TEXT;
    if (state.checked && !state.hot && !state.pressed) return TK_COLOR_HOT_TEXT;
    if (state.pressed == 2) return TK_COLOR_PRESSED_TEXT;
    if (state.hot && (state.pressed || state.checked)) return TK_COLOR_PRESSED_TEXT;
    if (state.hot || state.pressed) return TK_COLOR_HOT_TEXT;
    return TK_COLOR_BAR_TEXT;
}

void CTkThemePainterFlat::PaintButtonFace(CDC* dc, const CRect& rect, const CTkButtonState& state, int position) {
    PaintButtonFrame(dc, rect, state, position);
    dc->SetTextColor(GetColor(TextColorOf(state)));
    dc->SetBkMode(TRANSPARENT);
}

void CTkThemePainterFlat::PaintControlImage(CDC* dc, CPoint at, CSize size, CTkIconEntry* image,
                                            const CTkButtonState& state) {
    if (!image) return;
    HDC hdc = dc->GetSafeHdc();
    if (!state.enabled) {
        CTkIconImage& own = image->Slot(CTkIconEntry::SlotDisabled);
        if (!own.IsEmpty())
            image->Draw(hdc, at.x, at.y, own, size.cx, size.cy);
        else
            image->DrawMono(hdc, at.x, at.y, image->GetNormal(), GetColor(TK_COLOR_DISABLED));
    } else if (state.popupOpen || state.pressed) {
        image->Draw(hdc, at.x, at.y, image->GetHot(), size.cx, size.cy);
    } else if (state.hot) {
        if (m_bShadowedHotImages) {
            image->Draw(hdc, at.x + 1, at.y + 1, image->GetShadow(), size.cx, size.cy);
            image->Draw(hdc, at.x - 1, at.y - 1, image->GetHot(), size.cx, size.cy);
        } else {
            image->Draw(hdc, at.x, at.y, image->GetHot(), size.cx, size.cy);
        }
    } else {
        image->Draw(hdc, at.x, at.y, m_bFadedIdleImages ? image->GetFaded() : image->GetNormal(), size.cx, size.cy);
    }
}

// ---------------------------------------------------------------------------------------------
// Bars.

void CTkThemePainterFlat::PaintFloatingBackground(CDC* dc, CTkCommandBar* bar, COLORREF fill) {
    CRect client = ClientOf(bar);
    HDC hdc = dc->GetSafeHdc();
    {
        CTkPenScope pen(hdc, GetColor(TK_COLOR_FRAME));
        CTkBrushScope brush(hdc, GetColor(fill));
        ::Rectangle(hdc, client.left, client.top, client.right, client.bottom);
        ::Rectangle(hdc, client.left + 1, client.top + 1, client.right - 1, client.bottom - 1);
    }
    const int w = client.Width(), h = client.Height();
    const COLORREF frame = GetColor(TK_COLOR_FRAME);
    ::SetPixel(hdc, 2, 2, frame);
    ::SetPixel(hdc, w - 2, 2, frame);
    ::SetPixel(hdc, 2, h - 2, frame);
    ::SetPixel(hdc, w - 2, h - 2, frame);
}

void CTkThemePainterFlat::PaintPopupSeam(CDC* dc, CTkCommandBar* popup) {
    CTkControl* owner = popup->GetOwnerControl();
    CTkCommandBar* ownerBar = owner ? owner->GetParentBar() : nullptr;
    if (!ownerBar || !ownerBar->GetSafeHwnd() || !popup->GetSafeHwnd()) return;
    CRect control = owner->m_rcControl;
    ::MapWindowPoints(ownerBar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&control), 2);
    CRect window, seam;
    ::GetWindowRect(popup->GetSafeHwnd(), &window);
    if (!::IntersectRect(&seam, &control, &window)) return;
    if (seam.Width() > 1) ::InflateRect(&seam, -1, 0);
    if (seam.Height() > 1) ::InflateRect(&seam, 0, -1);
    seam.OffsetRect(-window.left, -window.top);
    FillRect(dc, seam, TK_COLOR_BAR_FACE);
}

void CTkThemePainterFlat::PaintPopupBackground(CDC* dc, CTkCommandBar* bar) {
    CRect client = ClientOf(bar);
    PaintFramedRect(dc, client, TK_COLOR_MENU_BACK, TK_COLOR_FRAME);
    PaintMenuGutter(dc, CRect(1, 2, 1 + GetPopupItemHeight() + 5, client.bottom - 2), false);
    PaintPopupSeam(dc, bar);
}

void CTkThemePainterFlat::PaintBarBackground(CDC* dc, CTkCommandBar* bar) {
    CRect client = ClientOf(bar);
    if (bar->m_nPosition == TK_BAR_POSITION_FLOATING) {
        PaintFloatingBackground(dc, bar, bar->m_nBarType == TK_BAR_TYPE_MENUBAR ? TK_COLOR_BTNFACE : TK_COLOR_BAR_FACE);
    } else if (bar->m_nBarType == TK_BAR_TYPE_MENUBAR) {
        FillRect(dc, client, TK_COLOR_BTNFACE);
    } else if (bar->m_nBarType == TK_BAR_TYPE_POPUP) {
        PaintPopupBackground(dc, bar);
    } else {
        PaintFramedRect(dc, client, TK_COLOR_BAR_FACE, TK_COLOR_BTNFACE);
        HDC hdc = dc->GetSafeHdc();
        const int w = client.Width(), h = client.Height();
        const COLORREF face = GetColor(TK_COLOR_BTNFACE);
        ::SetPixel(hdc, 1, 1, face);
        ::SetPixel(hdc, w - 2, 1, face);
        ::SetPixel(hdc, 1, h - 2, face);
        ::SetPixel(hdc, w - 2, h - 2, face);
    }
}

void CTkThemePainterFlat::PaintMenuGutter(CDC* dc, const CRect& rect, bool rarelyUsed) {
    FillRect(dc, rect, rarelyUsed ? TK_COLOR_RARELY_USED_GUTTER : TK_COLOR_BAR_FACE);
}

CSize CTkThemePainterFlat::PaintGripper(CDC* dc, CTkCommandBar* bar, bool draw) {
    CRect client = ClientOf(bar);
    switch (bar->m_nPosition) {
    case TK_BAR_POSITION_TOP:
    case TK_BAR_POSITION_BOTTOM:
        if (draw) {
            CTkPenScope pen(dc->GetSafeHdc(), GetColor(TK_COLOR_GRIPPER));
            for (int y = 5; y < client.bottom - 5; y += 2) {
                ::MoveToEx(dc->GetSafeHdc(), 3, y, nullptr);
                ::LineTo(dc->GetSafeHdc(), 6, y);
            }
        }
        return CSize(6, 0);
    case TK_BAR_POSITION_LEFT:
    case TK_BAR_POSITION_RIGHT:
        if (draw) {
            CTkPenScope pen(dc->GetSafeHdc(), GetColor(TK_COLOR_GRIPPER));
            for (int x = 5; x < client.right - 5; x += 2) {
                ::MoveToEx(dc->GetSafeHdc(), x, 3, nullptr);
                ::LineTo(dc->GetSafeHdc(), x, 6);
            }
        }
        return CSize(0, 8);
    case TK_BAR_POSITION_FLOATING:
        return PaintFloatingCaption(dc, bar, TK_COLOR_BTNSHADOW, TK_COLOR_BTNHIGHLIGHT, draw);
    default:
        return CSize(0, 0);
    }
}

CSize CTkThemePainterFlat::PaintSeparator(CDC* dc, CTkCommandBar* bar, CTkControl* control, bool draw) {
    if (!draw) return CSize(0, 3);
    const CRect rect = control->m_rcControl;
    const CRect row = control->m_rcRow.IsRectEmpty() ? rect : control->m_rcRow;
    CRect client = ClientOf(bar);
    if (bar->m_nBarType == TK_BAR_TYPE_POPUP) {
        PaintLine(dc, GetPopupItemHeight() + 14, rect.top - 2, client.right - 1, rect.top - 2, TK_COLOR_SEPARATOR);
    } else if (!bar->IsVertical()) {
        if (control->m_bWrap)
            PaintLine(dc, row.left + 4, rect.top - 4, row.right, rect.top - 4, TK_COLOR_SEPARATOR);
        else
            PaintLine(dc, rect.left - 4, row.top, rect.left - 4, row.bottom, TK_COLOR_SEPARATOR);
    } else {
        if (control->m_bWrap)
            PaintLine(dc, rect.right + 3, row.top + 4, rect.right + 3, row.bottom, TK_COLOR_SEPARATOR);
        else
            PaintLine(dc, row.left, rect.top - 4, row.right, rect.top - 4, TK_COLOR_SEPARATOR);
    }
    return CSize(0, 0);
}

void CTkThemePainterFlat::AdjustPopupExcludeRect(CRect& rect, CTkControl* control) {
    if (control->m_nType == TK_CONTROL_TYPE_COMBO) return;
    CTkCommandBar* bar = control->GetParentBar();
    if (!bar) return;
    if (bar->m_nBarType == TK_BAR_TYPE_POPUP)
        ::InflateRect(&rect, 1, 0);
    else if (bar->IsVertical())
        ::InflateRect(&rect, -1, 0);
    else
        ::InflateRect(&rect, 0, -1);
}

CSize CTkThemePainterFlat::PaintPopupCaptionStrip(CDC* dc, const CRect& rect, bool active, bool draw) {
    if (!draw) return CSize(0, 9);
    CRect strip(rect.left + 1, rect.top + 1, rect.right + 1, rect.top + rect.Height() + 1);
    FillRect(dc, strip, TK_COLOR_MENU_BACK);
    strip = Deflated(strip, 1, 1);
    const int half = rect.Width() / 2;
    const int length = half > 26 ? 16 : half - 10;
    const int mid = rect.left + half;
    if (active) {
        PaintFramedRect(dc, strip, TK_COLOR_HOT_FILL, TK_COLOR_HOT_BORDER);
        for (int y : {4, 6}) PaintLine(dc, mid - length, rect.top + y, mid + length, rect.top + y, TK_COLOR_HOT_TEXT);
    } else {
        FillRect(dc, strip, TK_COLOR_BAR_FACE);
        for (int y : {3, 5, 7}) PaintLine(dc, mid - length, rect.top + y, mid + length, rect.top + y, TK_COLOR_GRIPPER);
    }
    return CSize(0, 9);
}

void CTkThemePainterFlat::PaintStatusPane(CDC* dc, const CRect& rect, UINT style, const CString& text) {
    if (!(style & SBPS_NOBORDERS)) PaintFrame(dc, rect, TK_COLOR_BTNSHADOW);
    PaintPaneText(dc, rect, style, text);
}

// ---------------------------------------------------------------------------------------------
// Menu items, glyphs and the customise list.

CSize CTkThemePainterFlat::PaintMenuItem(CDC* dc, CTkControl* control, bool draw) {
    HDC hdc = dc->GetSafeHdc();
    CTkCommandBar* bar = control->GetParentBar();
    const int itemHeight = GetPopupItemHeight();
    const bool rtl = bar && bar->IsRightToLeft();
    CString caption = PrepareMenuText(control->GetDisplayCaption(), rtl);
    const CString& shortcut = ShortcutOf(control);
    SIZE captionSize = TextExtent(hdc, caption), shortcutSize = TextExtent(hdc, shortcut);
    const CSize size(captionSize.cx + shortcutSize.cx + itemHeight + 44, std::max(20, itemHeight - 4));
    if (!draw) return size;

    const CRect rect = control->m_rcControl;
    const int mid = (rect.top + rect.bottom) / 2;
    const int gutterRight = rect.left + itemHeight + 5;
    if (bar && bar->IsRarelyUsed(control)) {
        PaintMenuGutter(dc, CRect(rect.left, rect.top, gutterRight, rect.bottom), true);
        FillRect(dc, CRect(gutterRight, rect.top, rect.right, rect.bottom), TK_COLOR_RARELY_USED_BACK);
    }
    const CTkButtonState row = MenuRowState(control);
    PaintButtonFrame(dc, rect, row, TK_BAR_POSITION_POPUP);

    // The image cell.
    CTkButtonState cellState = StateOf(control);
    cellState.withBorder = false;
    const CRect cell(rect.left + (itemHeight + 4) / 2 - 10, mid - 10, rect.left + (itemHeight + 4) / 2 + 10, mid + 10);
    const CSize iconSize = bar ? bar->GetIconSize() : CSize(16, 16);
    CTkIconEntry* icon = ControlIcon(control, iconSize.cx);
    if (cellState.checked) {
        CTkButtonState checked = cellState;
        checked.hot = row.hot ? 1 : 0;
        checked.pressed = 0;
        PaintButtonFrame(dc, cell, checked, TK_BAR_POSITION_POPUP);
    }
    dc->SetTextColor(GetColor(TextColorOf(row)));
    dc->SetBkMode(TRANSPARENT);
    if (icon) {
        cellState.hot = row.hot == 1 ? 1 : 0;
        cellState.pressed = 0;
        const int height = icon->GetWidth() ? icon->GetHeight() * iconSize.cx / icon->GetWidth() : iconSize.cy;
        PaintControlImage(dc, CPoint(cell.left + (20 - iconSize.cx) / 2, cell.top + (20 - height) / 2),
                          CSize(iconSize.cx, height), icon, cellState);
    } else if (cellState.checked) {
        PaintCheckMark(dc, cell.left, cell.top, ::GetTextColor(hdc), rtl);
    }

    CRect text(rect.left + itemHeight + 12, rect.top, rect.right - 19, rect.bottom);
    ::DrawTextA(hdc, caption, caption.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (!shortcut.IsEmpty()) {
        CRect keys(rect.left + itemHeight + 12, rect.top, rect.right - 19, rect.bottom);
        ::DrawTextA(hdc, shortcut, shortcut.GetLength(), &keys, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    if (control->IsPopupType()) {
        if (control->m_nType == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP) {
            CRect part(rect.right - 20, rect.top, rect.right, rect.bottom);
            if (row.hot == 1) PaintFramedRect(dc, part, TK_COLOR_PRESSED_FILL, TK_COLOR_HOT_BORDER);
            PaintLine(dc, rect.right - 20, rect.top + 1, rect.right - 20, rect.bottom - 1, TK_COLOR_PRESSED_TEXT);
        }
        PaintTriangle(dc, {rect.right - 11, mid - 3}, {rect.right - 11, mid + 3}, {rect.right - 8, mid},
                      ::GetTextColor(hdc));
    }
    return size;
}

CSize CTkThemePainterFlat::PaintSpecialGlyph(CDC* dc, int kind, CTkControl* control, bool draw) {
    if (kind == TK_GLYPH_TOGGLE_ITEM) return PaintMenuItem(dc, control, draw);
    if (draw && control && (kind == TK_GLYPH_CLOSE || kind == TK_GLYPH_ARROW)) {
        CTkButtonState state = StateOf(control);
        if (kind == TK_GLYPH_CLOSE) state.popupOpen = false;
        PaintButtonFrame(dc, control->m_rcControl, state, TK_BAR_POSITION_FLOATING);
        dc->SetTextColor(GetColor(TextColorOf(state)));
    }
    return CTkThemePainter::PaintSpecialGlyph(dc, kind, control, draw);
}

void CTkThemePainterFlat::PaintListItem(CDC* dc, CTkControl* control, const CRect& rect, bool selected, CWnd* list) {
    FillRect(dc, rect, TK_COLOR_MENU_BACK);
    const int itemHeight = GetPopupItemHeight();
    PaintMenuGutter(dc, CRect(rect.left, rect.top, rect.left + itemHeight + 5, rect.bottom), false);
    if (!control) return;
    const int mid = (rect.top + rect.bottom) / 2;
    CTkButtonState row;
    row.hot = selected ? 1 : 0;
    if (selected) PaintButtonFrame(dc, rect, row, TK_BAR_POSITION_POPUP);
    const int type = control->m_nType;
    if (type == TK_CONTROL_TYPE_BUTTON || type == TK_CONTROL_TYPE_BUTTON_POPUP ||
        type == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP) {
        if (CTkIconEntry* icon = ControlIcon(control, 16)) {
            const int x = rect.left + (itemHeight + 4) / 2 - 8;
            PaintControlImage(dc, CPoint(x, mid - 8), CSize(16, 16), icon, CTkButtonState());
        }
    }
    PaintListItemText(dc, control, rect, list, rect.left + itemHeight + 12,
                      selected ? TK_COLOR_HOT_TEXT : TK_COLOR_BAR_TEXT,
                      selected ? TK_COLOR_HOT_BORDER : TK_COLOR_BTNSHADOW,
                      selected ? TK_COLOR_HOT_BORDER : TK_COLOR_BTNFACE, 17);
}

CSize CTkThemePainterFlat::PaintFieldControl(CDC* dc, CTkControl* control, bool draw, bool combo) {
    HDC hdc = dc->GetSafeHdc();
    CTkCommandBar* bar = control->GetParentBar();
    CTkSelectFont font(dc, &Fonts().iconTitle);
    const bool onPopup = bar && bar->m_nBarType == TK_BAR_TYPE_POPUP;
    const bool showCaption = onPopup || !control->m_strCaption.IsEmpty();
    const CString caption = showCaption ? StripMnemonics(control->GetDisplayCaption()) : CString();
    SIZE captionSize = TextExtent(hdc, caption), textSize = TextExtent(hdc, CString("Ag"));
    const int captionLeft = onPopup ? GetPopupItemHeight() + 12 : 2;
    const int fieldWidth = bar ? bar->GetButtonSize().cx : 23;
    const int fieldLeft = showCaption ? captionLeft + captionSize.cx + 8 : 0;
    const CSize size(fieldLeft + fieldWidth + 5, textSize.cy + 8);
    if (!draw) return size;

    const CRect rect = control->m_rcControl;
    const bool enabled = control->m_bEnabled != 0, selected = control->m_nSelected != TK_CONTROL_SELECTION_NONE;
    int mode = ::SetBkMode(hdc, TRANSPARENT);
    if (showCaption) {
        int colour = onPopup ? (selected  ? TK_COLOR_HOT_TEXT
                                : enabled ? TK_COLOR_MENU_ITEM_TEXT
                                          : TK_COLOR_MENU_DISABLED_TEXT)
                             : (enabled ? TK_COLOR_BAR_TEXT : TK_COLOR_DISABLED);
        dc->SetTextColor(GetColor(colour));
        CRect area(rect.left + captionLeft, rect.top, rect.right, rect.bottom);
        ::DrawTextA(hdc, caption, caption.GetLength(), &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    CRect field(rect.left + fieldLeft, rect.top + 1, rect.right, rect.bottom - 1);
    if (field.right > field.left) {
        if (enabled) {
            FillRect(dc, Deflated(field, 1, 1), TK_COLOR_WINDOW);
            if (selected) PaintFrame(dc, field, TK_COLOR_HOT_BORDER);
        } else {
            PaintFrame(dc, field, TK_COLOR_DISABLED);
        }
        if (combo) {
            CRect button(field.right - 1 - GetSystemMetrics(SM_CXVSCROLL), field.top + 1, field.right - 1, field.bottom - 1);
            if (control->IsPopupOpen())
                PaintFramedRect(dc, button, TK_COLOR_PRESSED_FILL, TK_COLOR_HOT_BORDER);
            else if (selected)
                PaintFramedRect(dc, button, TK_COLOR_HOT_FILL, TK_COLOR_HOT_BORDER);
            const int mx = (button.left + button.right) / 2, my = (button.top + button.bottom) / 2;
            PaintTriangle(dc, {mx - 2, my - 1}, {mx + 2, my - 1}, {mx, my + 1},
                          enabled ? TK_COLOR_BAR_TEXT : TK_COLOR_DISABLED);
            dc->SetTextColor(GetColor(enabled ? TK_COLOR_BAR_TEXT : TK_COLOR_DISABLED));
            PaintFieldText(dc, control, field, button);
        }
    }
    ::SetBkMode(hdc, mode);
    return size;
}

CSize CTkThemePainterFlat::PaintComboControl(CDC* dc, CTkControl* control, bool draw) {
    return PaintFieldControl(dc, control, draw, true);
}

CSize CTkThemePainterFlat::PaintEditControl(CDC* dc, CTkControl* control, bool draw) {
    return PaintFieldControl(dc, control, draw, false);
}

// ---------------------------------------------------------------------------------------------
// The flat theme with the XP scheme colours.

namespace {

struct CSchemeColors {
    COLORREF extra[15];
    COLORREF appWorkspace, expandTint, schemeShade, faceTint, rarelyUsedBack;
    // The bar face, hot fill, hot border (also the checked hot border and the checked border),
    // pressed fill, checked fill, gripper, separator, disabled, menu back, frame and pressed text.
    COLORREF table[11];
};

// Blue, olive, silver.
const CSchemeColors kSchemes[3] = {
    {{RGB(158, 190, 245), RGB(196, 218, 250), RGB(129, 169, 226), RGB(221, 236, 254), RGB(227, 239, 255),
      RGB(147, 181, 231), RGB(59, 97, 156), RGB(42, 102, 201), RGB(0, 53, 145), RGB(117, 166, 241),
      RGB(121, 161, 220), RGB(203, 221, 246), RGB(129, 169, 226), RGB(227, 239, 254), RGB(211, 211, 211)},
     RGB(144, 153, 174), RGB(216, 231, 252), RGB(158, 190, 245), RGB(203, 225, 252), RGB(189, 211, 247),
     {RGB(158, 190, 245), RGB(255, 238, 194), RGB(0, 0, 128), RGB(254, 128, 62), RGB(255, 192, 111), RGB(39, 65, 118),
      RGB(106, 140, 203), RGB(109, 150, 208), RGB(246, 246, 246), RGB(0, 45, 150), RGB(0, 0, 0)}},
    {{RGB(217, 217, 167), RGB(242, 241, 228), RGB(183, 198, 145), RGB(244, 247, 222), RGB(236, 240, 213),
      RGB(194, 206, 159), RGB(96, 128, 88), RGB(116, 134, 94), RGB(96, 119, 107), RGB(176, 194, 140),
      RGB(164, 180, 120), RGB(230, 230, 209), RGB(184, 198, 147), RGB(236, 240, 213), RGB(211, 211, 211)},
     RGB(151, 160, 123), RGB(226, 231, 191), RGB(171, 192, 138), RGB(216, 227, 182), RGB(222, 227, 189),
     {RGB(217, 217, 167), RGB(255, 238, 194), RGB(63, 93, 56), RGB(254, 128, 62), RGB(255, 192, 111), RGB(81, 94, 51),
      RGB(96, 128, 88), RGB(159, 174, 122), RGB(244, 244, 238), RGB(117, 141, 94), RGB(0, 0, 0)}},
    {{RGB(215, 215, 229), RGB(243, 243, 247), RGB(153, 151, 181), RGB(243, 244, 250), RGB(233, 231, 241),
      RGB(186, 185, 205), RGB(124, 124, 148), RGB(122, 121, 153), RGB(118, 116, 146), RGB(179, 178, 200),
      RGB(133, 131, 162), RGB(215, 215, 226), RGB(176, 174, 197), RGB(232, 232, 241), RGB(236, 234, 218)},
     RGB(155, 154, 179), RGB(223, 223, 234), RGB(177, 176, 195), RGB(214, 211, 231), RGB(214, 215, 231),
     {RGB(215, 215, 229), RGB(255, 238, 194), RGB(75, 75, 111), RGB(254, 128, 62), RGB(255, 192, 111), RGB(84, 84, 117),
      RGB(110, 109, 143), RGB(168, 167, 190), RGB(253, 250, 255), RGB(124, 124, 148), RGB(0, 0, 0)}},
};

const COLORREF kCheckedIdle[2] = {RGB(255, 213, 140), RGB(255, 173, 85)};
const COLORREF kCheckedHot[2] = {RGB(254, 142, 75), RGB(255, 207, 139)};
const COLORREF kHotGradient[2] = {RGB(255, 242, 200), RGB(255, 212, 151)};

}  // namespace

CTkThemePainterFlatLuna::CTkThemePainterFlatLuna() {
    m_bFadedIdleImages = false;
    m_bShadowedHotImages = false;
}

void CTkThemePainterFlatLuna::RefreshColorsAndFonts() {
    CTkThemePainterFlat::RefreshColorsAndFonts();
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd())
        m_status.OpenTheme(main->GetSafeHwnd(), L"STATUS");
    else
        m_status.CloseTheme();

    auto c = [this](int index) { return GetColor((COLORREF)index); };
    m_luna.bar = CTkColorPair(c(TK_COLOR_BTNFACE), BlendColors(c(TK_COLOR_BTNFACE), c(TK_COLOR_WINDOW), 205));
    m_luna.body = CTkColorPair(BlendColors(c(TK_COLOR_BTNFACE), c(TK_COLOR_WINDOW), 205), c(TK_COLOR_BTNFACE));
    m_luna.popupOpen = CTkColorPair(c(TK_COLOR_MENU_BACK), BlendColors(c(TK_COLOR_WINDOW), c(TK_COLOR_BTNFACE), 550));
    m_luna.shadowLine = c(TK_COLOR_BAR_FACE);
    m_luna.floatingCaption = c(TK_COLOR_BTNSHADOW);
    m_luna.expand =
        CTkColorPair(c(TK_COLOR_BTNSHADOW), BlendColors(c(TK_COLOR_EXPAND_TINT), c(TK_COLOR_BTNSHADOW), 51));
    m_luna.rarelyGutter = CTkColorPair(c(TK_COLOR_RARELY_USED_GUTTER),
                                       BlendColors(c(TK_COLOR_WINDOW), c(TK_COLOR_RARELY_USED_GUTTER), 550));
    m_luna.imageShade1 = BlendColors(c(TK_COLOR_WINDOW), c(TK_COLOR_BTNFACE), 550);
    m_luna.imageShade2 = c(TK_COLOR_MENU_BACK);
    m_luna.statusBorder = BlendColors(c(TK_COLOR_BTNFACE), c(TK_COLOR_WINDOW), 70);
    const int gradientEnd = TK_COLOR_FACE_GRADIENT_END;
    const COLORREF secondEnd = CTkSysColors::Instance().m_grcSecond.clrEnd;
    SetColors(1, &gradientEnd, &secondEnd);
    m_bSchemeApplied = false;

    const int scheme = CTkSysColors::GetLunaScheme();
    if (scheme < 1 || scheme > 3) return;
    const CSchemeColors& s = kSchemes[scheme - 1];
    m_luna.bar = CTkColorPair(s.extra[0], s.extra[1]);
    m_luna.body = CTkColorPair(s.extra[3], s.extra[2]);
    m_luna.popupOpen = CTkColorPair(s.extra[4], s.extra[5]);
    m_luna.shadowLine = s.extra[6];
    m_luna.floatingCaption = s.extra[7];
    m_luna.expand = CTkColorPair(s.extra[8], s.extra[9]);
    m_luna.rarelyGutter = CTkColorPair(s.extra[10], s.extra[11]);
    m_luna.imageShade1 = s.extra[12];
    m_luna.imageShade2 = s.extra[13];
    m_luna.statusBorder = s.extra[14];
    const int own[] = {TK_COLOR_APPWORKSPACE, TK_COLOR_EXPAND_TINT, TK_COLOR_SCHEME_SHADE, TK_COLOR_FACE_TINT,
                       TK_COLOR_RARELY_USED_BACK};
    const COLORREF ownColors[] = {s.appWorkspace, s.expandTint, s.schemeShade, s.faceTint, s.rarelyUsedBack};
    SetColors(5, own, ownColors);
    const int table[] = {TK_COLOR_BAR_FACE,      TK_COLOR_HOT_FILL,     TK_COLOR_HOT_BORDER,
                         TK_COLOR_PRESSED_FILL,  TK_COLOR_CHECKED_FILL, TK_COLOR_CHECKED_HOT_BORDER,
                         TK_COLOR_GRIPPER,       TK_COLOR_SEPARATOR,    TK_COLOR_DISABLED,
                         TK_COLOR_MENU_BACK,     TK_COLOR_FRAME,        TK_COLOR_PRESSED_TEXT,
                         TK_COLOR_CHECKED_BORDER};
    const COLORREF tableColors[] = {s.table[0], s.table[1], s.table[2], s.table[3], s.table[4],
                                    s.table[2], s.table[5], s.table[6], s.table[7], s.table[8],
                                    s.table[9], s.table[10], s.table[2]};
    SetColors(13, table, tableColors);
    m_bSchemeApplied = true;
}

CRect CTkThemePainterFlatLuna::GetBarBorders(CTkCommandBar* bar) {
    if (bar && (bar->m_nBarType == TK_BAR_TYPE_MENUBAR || bar->m_nBarType == TK_BAR_TYPE_TOOLBAR) &&
        (bar->m_nPosition == TK_BAR_POSITION_TOP || bar->m_nPosition == TK_BAR_POSITION_BOTTOM))
        return CRect(4, 2, 2, 2);
    return CRect(2, 2, 2, 2);
}

void CTkThemePainterFlatLuna::PaintButtonFrame(CDC* dc, const CRect& rect, const CTkButtonState& state, int position) {
    if (!m_bSchemeApplied || !TkIsDockedPosition(position) || !state.withBorder)
        return CTkThemePainterFlat::PaintButtonFrame(dc, rect, state, position);
    const bool horizontal = !TkIsVerticalPosition(position);
    auto gradient = [&](COLORREF from, COLORREF to, COLORREF border) {
        FillGradientRect(dc->GetSafeHdc(), &rect, from, to, !horizontal);
        PaintFrame(dc, rect, border);
    };
    if (state.popupOpen) {
        FillGradientRect(dc->GetSafeHdc(), &rect, m_luna.popupOpen.clrStart, m_luna.popupOpen.clrEnd, false);
        PaintFrame(dc, rect, TK_COLOR_FRAME);
    } else if (!state.enabled) {
        if (state.hot == 2) gradient(kHotGradient[0], kHotGradient[1], GetColor(TK_COLOR_HOT_BORDER));
    } else if (state.checked && !state.hot && !state.pressed) {
        gradient(kCheckedIdle[0], kCheckedIdle[1], GetColor(TK_COLOR_CHECKED_BORDER));
    } else if ((state.checked && state.hot) || (state.hot && state.pressed) || state.pressed == 2) {
        gradient(kCheckedHot[0], kCheckedHot[1], GetColor(TK_COLOR_CHECKED_BORDER));
    } else if (state.hot || state.pressed) {
        gradient(kHotGradient[0], kHotGradient[1], GetColor(TK_COLOR_HOT_BORDER));
    }
}

void CTkThemePainterFlatLuna::PaintBarGradient(CDC* dc, CWnd* window, const CRect& client) {
    // Aligned with the parent window so that the gradient runs on across bars and dock bars.
    int offset = 0;
    if (window && window->GetSafeHwnd()) {
        HWND parent = ::GetParent(window->GetSafeHwnd());
        CRect own, outer;
        ::GetWindowRect(window->GetSafeHwnd(), &own);
        if (parent) {
            ::GetWindowRect(parent, &outer);
            offset = own.left - outer.left;
        }
    }
    const int width = std::max<int>(::GetSystemMetrics(SM_CXFULLSCREEN), client.Width() + offset);
    CRect area(client.left - offset, client.top, client.left - offset + width, client.bottom);
    FillGradientRect(dc->GetSafeHdc(), &area, m_luna.bar, true);
}

void CTkThemePainterFlatLuna::PaintToolbarBody(CDC* dc, CTkCommandBar* bar, const CRect& client) {
    const bool vertical = bar->IsVertical();
    // The body runs down to the last visible control's row.
    int end = vertical ? client.left : client.top;
    CTkControls* controls = bar->GetControls();
    for (int i = 0; controls && i < controls->GetCount(); ++i) {
        CTkControl* control = controls->GetControl(i);
        if (!control->IsVisible()) continue;
        const CRect row = control->m_rcRow.IsRectEmpty() ? control->m_rcControl : control->m_rcRow;
        end = std::max<int>(end, vertical ? row.right : row.bottom);
    }
    if (end <= (vertical ? client.left : client.top)) end = vertical ? client.right : client.bottom;
    HDC hdc = dc->GetSafeHdc();
    const int saved = ::SaveDC(hdc);
    ::ExcludeClipRect(hdc, client.left, client.top, client.left + (vertical ? client.Width() : 3),
                      client.top + (vertical ? 3 : client.Height()));
    const int w = client.right, h = client.bottom;
    for (POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
        ::ExcludeClipRect(hdc, corner.x, corner.y, corner.x + 1, corner.y + 1);
    CRect gradient = client, rest = client;
    if (vertical) {
        gradient.right = std::min<int>(end, client.right);
        rest.left = gradient.right;
    } else {
        gradient.bottom = std::min<int>(end, client.bottom);
        rest.top = gradient.bottom;
    }
    FillGradientRect(hdc, &gradient, m_luna.body.clrStart, m_luna.body.clrEnd, vertical);
    if (!rest.IsRectEmpty()) dc->FillSolidRect(rest, m_luna.body.clrEnd);
    if (vertical)
        PaintLine(dc, w - 1, client.top + 5, w - 1, client.bottom - 2, m_luna.shadowLine);
    else
        PaintLine(dc, client.left + 5, h - 1, client.right - 2, h - 1, m_luna.shadowLine);
    ::RestoreDC(hdc, saved);
}

void CTkThemePainterFlatLuna::PaintBarBackground(CDC* dc, CTkCommandBar* bar) {
    CRect client = ClientOf(bar);
    if (bar->m_nPosition == TK_BAR_POSITION_FLOATING) {
        PaintFloatingBackground(dc, bar, bar->m_nBarType == TK_BAR_TYPE_MENUBAR ? TK_COLOR_BTNFACE : TK_COLOR_BAR_FACE);
    } else if (bar->m_nBarType == TK_BAR_TYPE_MENUBAR) {
        PaintBarGradient(dc, nullptr, client);
    } else if (bar->m_nBarType == TK_BAR_TYPE_POPUP) {
        PaintPopupBackground(dc, bar);
    } else if (TkIsDockedPosition(bar->m_nPosition)) {
        FillRect(dc, client, TK_COLOR_BTNFACE);
        HWND parent = bar->GetSafeHwnd() ? ::GetParent(bar->GetSafeHwnd()) : nullptr;
        if (bar->IsVertical() && parent && (::GetWindowLongW(parent, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
            dc->FillSolidRect(client, m_luna.bar.clrEnd);
            return;
        }
        PaintBarGradient(dc, bar, client);
        PaintToolbarBody(dc, bar, client);
    } else {
        CTkThemePainterFlat::PaintBarBackground(dc, bar);
    }
}

void CTkThemePainterFlatLuna::PaintDockBarBackground(CDC* dc, CWnd* dockBar) {
    CRect client = ClientOf(dockBar);
    HWND parent = dockBar && dockBar->GetSafeHwnd() ? ::GetParent(dockBar->GetSafeHwnd()) : nullptr;
    if (parent && (::GetWindowLongW(parent, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
        dc->FillSolidRect(client, m_luna.bar.clrEnd);
    else
        PaintBarGradient(dc, dockBar, client);
}

void CTkThemePainterFlatLuna::PaintMenuGutter(CDC* dc, const CRect& rect, bool rarelyUsed) {
    if (rarelyUsed)
        FillGradientRect(dc->GetSafeHdc(), &rect, m_luna.rarelyGutter.clrEnd, m_luna.rarelyGutter.clrStart, true);
    else
        FillGradientRect(dc->GetSafeHdc(), &rect, m_luna.body.clrStart, m_luna.body.clrEnd, true);
}

void CTkThemePainterFlatLuna::PaintDots(CDC* dc, int x, int y) {
    FillRect(dc, CRect(x + 1, y + 1, x + 3, y + 3), TK_COLOR_BTNHIGHLIGHT);
    FillRect(dc, CRect(x, y, x + 2, y + 2), TK_COLOR_GRIPPER);
}

CSize CTkThemePainterFlatLuna::PaintGripper(CDC* dc, CTkCommandBar* bar, bool draw) {
    CRect client = ClientOf(bar);
    switch (bar->m_nPosition) {
    case TK_BAR_POSITION_TOP:
    case TK_BAR_POSITION_BOTTOM:
        if (draw)
            for (int y = 8; y - 3 < client.bottom - 8; y += 4) PaintDots(dc, 5, y - 3);
        return CSize(6, 0);
    case TK_BAR_POSITION_LEFT:
    case TK_BAR_POSITION_RIGHT:
        if (draw)
            for (int x = 8; x - 3 < client.right - 8; x += 4) PaintDots(dc, x - 3, 6);
        return CSize(0, 9);
    case TK_BAR_POSITION_FLOATING:
        return PaintFloatingCaption(dc, bar, m_luna.floatingCaption, TK_COLOR_BTNHIGHLIGHT, draw);
    default:
        return CSize(0, 0);
    }
}

CSize CTkThemePainterFlatLuna::PaintSeparator(CDC* dc, CTkCommandBar* bar, CTkControl* control, bool draw) {
    CSize size = CTkThemePainterFlat::PaintSeparator(dc, bar, control, draw);
    if (!draw || !TkIsDockedPosition(bar->m_nPosition)) return size;
    const CRect rect = control->m_rcControl;
    const CRect row = control->m_rcRow.IsRectEmpty() ? rect : control->m_rcRow;
    if (!bar->IsVertical()) {
        if (control->m_bWrap)
            PaintLine(dc, row.left + 4, rect.top - 3, row.right, rect.top - 3, TK_COLOR_BTNHIGHLIGHT);
        else
            PaintLine(dc, rect.left - 3, row.top, rect.left - 3, row.bottom, TK_COLOR_BTNHIGHLIGHT);
    } else {
        if (control->m_bWrap)
            PaintLine(dc, rect.right + 4, row.top + 4, rect.right + 4, row.bottom, TK_COLOR_BTNHIGHLIGHT);
        else
            PaintLine(dc, row.left, rect.top - 3, row.right, rect.top - 3, TK_COLOR_BTNHIGHLIGHT);
    }
    return size;
}

void CTkThemePainterFlatLuna::PaintStatusPane(CDC* dc, const CRect& rect, UINT style, const CString& text) {
    CTkThemePainterFlat::PaintStatusPane(dc, rect, style | SBPS_NOBORDERS, text);
    if (!(style & SBPS_NOBORDERS)) PaintFrame(dc, rect, m_luna.statusBorder);
}

void CTkThemePainterFlatLuna::PaintSizeGrip(CDC* dc, const CRect& client) {
    if (!m_status.IsThemed()) return CTkThemePainterFlat::PaintSizeGrip(dc, client);
    CRect grip(client.right - 18, client.bottom - 18, client.right, client.bottom);
    m_status.DrawBackground(dc->GetSafeHdc(), 3, 0, &grip, nullptr);
}

CSize CTkThemePainterFlatLuna::PaintSpecialGlyph(CDC* dc, int kind, CTkControl* control, bool draw) {
    if (kind != TK_GLYPH_EXPAND || !draw || !control) return CTkThemePainterFlat::PaintSpecialGlyph(dc, kind, control, draw);
    const CTkButtonState state = StateOf(control);
    CTkCommandBar* bar = control->GetParentBar();
    const CRect rect = control->m_rcControl;
    if (state.pressed || state.popupOpen)
        FillRect(dc, rect, TK_COLOR_CHECKED_FILL);
    else if (state.hot)
        FillRect(dc, rect, TK_COLOR_HOT_FILL);
    else
        FillGradientRect(dc->GetSafeHdc(), &rect, m_luna.expand, bar && bar->IsVertical());
    dc->SetTextColor(GetColor(TK_COLOR_BTNHIGHLIGHT));
    return CTkThemePainter::PaintSpecialGlyph(dc, kind, control, draw);
}

CSize CTkThemePainterFlatLuna::PaintPopupCaptionStrip(CDC* dc, const CRect& rect, bool active, bool draw) {
    if (!draw) return CSize(0, 9);
    FillRect(dc, rect, TK_COLOR_MENU_BACK);
    CRect strip = Deflated(rect, 1, 1);
    if (active)
        PaintFramedRect(dc, strip, TK_COLOR_HOT_FILL, TK_COLOR_HOT_BORDER);
    else
        FillRect(dc, strip, TK_COLOR_BAR_FACE);
    const int half = rect.Width() / 2;
    const int length = half > 42 ? 32 : half - 10;
    const int mid = rect.left + half, y = (rect.top + rect.bottom) / 2 - 1;
    for (int x = mid - length; x + 2 <= mid + length; x += 4) PaintDots(dc, x - 1, y - 1);
    return CSize(0, 9);
}
