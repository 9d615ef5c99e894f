#include "painters/TkThemePainterClassic.h"

#include "commandbars/TkCommandBar.h"
#include "controls/TkControl.h"
#include "images/TkIconStore.h"

#include <algorithm>

CTkThemePainterClassic::CTkThemePainterClassic() {
    m_bFadedIdleImages = false;
    m_bShadowedHotImages = false;
}

// ---------------------------------------------------------------------------------------------
// Buttons.

void CTkThemePainterClassic::PaintDither(CDC* dc, const CRect& rect) {
    WORD pattern[8];
    for (int row = 0; row < 8; ++row) pattern[row] = (row % 2) ? 0xAA : 0x55;
    HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
    HBRUSH brush = ::CreatePatternBrush(bitmap);
    HDC hdc = dc->GetSafeHdc();
    COLORREF oldText = ::SetTextColor(hdc, GetColor(TK_COLOR_BTNHIGHLIGHT));
    COLORREF oldBack = ::SetBkColor(hdc, GetColor(TK_COLOR_BTNFACE));
    POINT oldOrigin;
    ::SetBrushOrgEx(hdc, 0, 0, &oldOrigin);
    {
        CTkSelectObject select(hdc, brush);
        ::PatBlt(hdc, rect.left, rect.top, rect.Width(), rect.Height(), PATCOPY);
    }
    ::SetBrushOrgEx(hdc, oldOrigin.x, oldOrigin.y, nullptr);
    ::SetBkColor(hdc, oldBack);
    ::SetTextColor(hdc, oldText);
    ::DeleteObject(brush);
    ::DeleteObject(bitmap);
}

void CTkThemePainterClassic::PaintButtonFrame(CDC* dc, const CRect& rect, const CTkButtonState& state, int) {
    if (state.enabled) {
        if (state.checked && !state.hot && !state.pressed) {
            PaintDither(dc, rect);
            Draw3dRect(dc, rect, TK_COLOR_BTNSHADOW, TK_COLOR_BTNHIGHLIGHT);
        } else if (state.checked || state.popupOpen || state.pressed == 2 || (state.hot && state.pressed)) {
            Draw3dRect(dc, rect, TK_COLOR_BTNSHADOW, TK_COLOR_BTNHIGHLIGHT);
        } else if (state.hot || state.pressed) {
            Draw3dRect(dc, rect, TK_COLOR_BTNHIGHLIGHT, TK_COLOR_BTNSHADOW);
        }
        return;
    }
    if ((state.checked && !state.withBorder) || state.hot == 2)
        Draw3dRect(dc, rect, TK_COLOR_BTNSHADOW, TK_COLOR_BTNHIGHLIGHT);
}

void CTkThemePainterClassic::PaintButtonFace(CDC* dc, const CRect& rect, const CTkButtonState& state, int position) {
    PaintButtonFrame(dc, rect, state, position);
    dc->SetTextColor(GetColor(state.enabled ? TK_COLOR_BTNTEXT : TK_COLOR_GRAYTEXT));
    dc->SetBkMode(TRANSPARENT);
}

void CTkThemePainterClassic::PaintControlImage(CDC* dc, CPoint at, CSize size, CTkIconEntry* image,
                                               const CTkButtonState& state) {
    if (!image) return;
    HDC hdc = dc->GetSafeHdc();
    if (!state.enabled) {
        CTkIconImage& own = image->Slot(CTkIconEntry::SlotDisabled);
        if (!own.IsEmpty()) {
            image->Draw(hdc, at.x, at.y, own, size.cx, size.cy);
        } else {
            image->DrawMono(hdc, at.x + 1, at.y + 1, image->GetNormal(), GetColor(TK_COLOR_BTNHIGHLIGHT));
            image->DrawMono(hdc, at.x, at.y, image->GetNormal(), GetColor(TK_COLOR_BTNSHADOW));
        }
        return;
    }
    if (state.popupOpen || state.pressed) {
        const int shift = state.pressed == 2 ? 1 : 0;
        image->Draw(hdc, at.x + shift, at.y + shift, image->GetHot(), size.cx, size.cy);
    } else if (state.hot) {
        image->Draw(hdc, at.x, at.y, image->GetHot(), size.cx, size.cy);
    } else {
        image->Draw(hdc, at.x, at.y, image->GetNormal(), size.cx, size.cy);
    }
}

void CTkThemePainterClassic::PaintControlText(CDC* dc, const CString& text, const CRect& rect, UINT format,
                                              bool enabled, bool selected, bool embossed) {
    HDC hdc = dc->GetSafeHdc();
    format |= DT_SINGLELINE | DT_VCENTER;
    if (embossed && !enabled && !selected) {
        COLORREF colour = ::GetTextColor(hdc);
        CRect shadow = rect;
        shadow.OffsetRect(1, 1);
        ::SetTextColor(hdc, GetColor(TK_COLOR_BTNHIGHLIGHT));
        ::DrawTextA(hdc, text, text.GetLength(), &shadow, format);
        ::SetTextColor(hdc, colour);
    }
    CRect area = rect;
    ::DrawTextA(hdc, text, text.GetLength(), &area, format);
}

// ---------------------------------------------------------------------------------------------
// Bars.

void CTkThemePainterClassic::PaintBarBackground(CDC* dc, CTkCommandBar* bar) {
    CRect client = ClientOf(bar);
    FillRect(dc, client, TK_COLOR_BTNFACE);
    if (bar->m_nPosition == TK_BAR_POSITION_FLOATING || bar->m_nBarType == TK_BAR_TYPE_POPUP) {
        Draw3dRect(dc, client, TK_COLOR_BTNFACE, TK_COLOR_BLACK);
        client = Deflated(client, 1, 1);
    }
    Draw3dRect(dc, client, TK_COLOR_BTNHIGHLIGHT, TK_COLOR_BTNSHADOW);
}

CSize CTkThemePainterClassic::PaintGripper(CDC* dc, CTkCommandBar* bar, bool draw) {
    CRect client = ClientOf(bar);
    switch (bar->m_nPosition) {
    case TK_BAR_POSITION_TOP:
    case TK_BAR_POSITION_BOTTOM:
        if (draw) Draw3dRect(dc, CRect(3, 3, 6, client.bottom - 3), TK_COLOR_BTNHIGHLIGHT, TK_COLOR_BTNSHADOW);
        return CSize(6, 0);
    case TK_BAR_POSITION_LEFT:
    case TK_BAR_POSITION_RIGHT:
        if (draw) Draw3dRect(dc, CRect(3, 3, client.right - 3, 6), TK_COLOR_BTNHIGHLIGHT, TK_COLOR_BTNSHADOW);
        return CSize(0, 8);
    case TK_BAR_POSITION_FLOATING:
        return PaintFloatingCaption(dc, bar, TK_COLOR_ACTIVECAPTION, TK_COLOR_BTNHIGHLIGHT, draw);
    default:
        return CSize(0, 0);
    }
}

CSize CTkThemePainterClassic::PaintSeparator(CDC* dc, CTkCommandBar* bar, CTkControl* control, bool draw) {
    if (!draw) return CSize(0, 8);
    const CRect rect = control->m_rcControl;
    CRect client = ClientOf(bar);
    if (bar->m_nBarType == TK_BAR_TYPE_POPUP) {
        Draw3dRect(dc, CRect(14, rect.top - 5, client.right - 14, rect.top - 3), TK_COLOR_BTNSHADOW,
                   TK_COLOR_BTNHIGHLIGHT);
    } else if (!bar->IsVertical()) {
        if (control->m_bWrap)
            Draw3dRect(dc, CRect(2, rect.top - 4, client.right - 2, rect.top - 2), TK_COLOR_BTNSHADOW,
                       TK_COLOR_BTNHIGHLIGHT);
        else
            Draw3dRect(dc, CRect(rect.left - 4, rect.top, rect.left - 2, rect.bottom), TK_COLOR_BTNSHADOW,
                       TK_COLOR_BTNHIGHLIGHT);
    } else {
        if (control->m_bWrap)
            Draw3dRect(dc, CRect(rect.right + 2, 2, rect.right + 4, client.bottom - 2), TK_COLOR_BTNSHADOW,
                       TK_COLOR_BTNHIGHLIGHT);
        else
            Draw3dRect(dc, CRect(rect.left, rect.top - 4, rect.right, rect.top - 2), TK_COLOR_BTNSHADOW,
                       TK_COLOR_BTNHIGHLIGHT);
    }
    return CSize(0, 0);
}

void CTkThemePainterClassic::AdjustPopupExcludeRect(CRect& rect, CTkControl* control) {
    if (control->m_nType == TK_CONTROL_TYPE_COMBO) return;
    CTkCommandBar* bar = control->GetParentBar();
    if (!bar) return;
    if (bar->m_nBarType == TK_BAR_TYPE_POPUP) {
        ::InflateRect(&rect, -1, 0);
    } else if (bar->IsVertical()) {
        ::InflateRect(&rect, 0, 1);
    } else {
        ::InflateRect(&rect, 1, 0);
    }
}

CRect CTkThemePainterClassic::GetBarBorders(CTkCommandBar* bar) {
    return bar && bar->m_nBarType == TK_BAR_TYPE_POPUP ? CRect(3, 3, 3, 3) : CRect(2, 2, 2, 2);
}

CSize CTkThemePainterClassic::PaintPopupCaptionStrip(CDC* dc, const CRect& rect, bool active, bool draw) {
    if (draw)
        FillRect(dc, CRect(rect.left, rect.top, rect.right, rect.bottom - 1),
                 active ? TK_COLOR_ACTIVECAPTION : TK_COLOR_INACTIVECAPTION);
    return CSize(0, 8);
}

void CTkThemePainterClassic::PaintStatusPane(CDC* dc, const CRect& rect, UINT style, const CString& text) {
    if (!(style & SBPS_NOBORDERS)) Draw3dRect(dc, rect, TK_COLOR_BTNSHADOW, TK_COLOR_BTNHIGHLIGHT);
    PaintPaneText(dc, rect, style, text);
}

// ---------------------------------------------------------------------------------------------
// Menu items, glyphs and the customise list.

void CTkThemePainterClassic::PaintMenuCell(CDC* dc, CTkControl* control, const CRect& cell, bool selected) {
    CTkCommandBar* bar = control->GetParentBar();
    CTkButtonState state = StateOf(control);
    state.withBorder = false;
    state.hot = selected && state.enabled ? 1 : 0;
    const CSize iconSize = bar ? bar->GetIconSize() : CSize(16, 16);
    CTkIconEntry* icon = ControlIcon(control, iconSize.cx);
    if (icon) {
        if (state.checked || state.hot) PaintButtonFrame(dc, cell, state, TK_BAR_POSITION_POPUP);
        const int height = icon->GetWidth() ? icon->GetHeight() * iconSize.cx / icon->GetWidth() : iconSize.cy;
        PaintControlImage(dc, CPoint(cell.left + (cell.Width() - iconSize.cx) / 2, cell.top + (cell.Height() - height) / 2),
                          CSize(iconSize.cx, height), icon, state);
    } else if (state.checked) {
        CTkButtonState checked = state;
        checked.hot = 0;
        PaintButtonFrame(dc, cell, checked, TK_BAR_POSITION_POPUP);
        PaintCheckMark(dc, cell.left, cell.top, ::GetTextColor(dc->GetSafeHdc()), bar && bar->IsRightToLeft());
    }
}

CSize CTkThemePainterClassic::PaintMenuRow(CDC* dc, CTkControl* control, bool draw, int captionLeft, int shortcutLeft,
                                           int extraWidth) {
    HDC hdc = dc->GetSafeHdc();
    CTkCommandBar* bar = control->GetParentBar();
    const bool rtl = bar && bar->IsRightToLeft();
    CString caption = PrepareMenuText(control->GetDisplayCaption(), rtl);
    const CString& shortcut = ShortcutOf(control);
    SIZE captionSize = TextExtent(hdc, caption), shortcutSize = TextExtent(hdc, shortcut);
    const CSize size(captionSize.cx + shortcutSize.cx + extraWidth, std::max(20, GetPopupItemHeight() - 4));
    if (!draw) return size;

    const CRect rect = control->m_rcControl;
    const bool selected = control->m_nSelected != TK_CONTROL_SELECTION_NONE;
    const bool enabled = control->m_bEnabled != 0;
    const int mid = (rect.top + rect.bottom) / 2;
    if (bar && bar->IsRarelyUsed(control)) FillRect(dc, rect, TK_COLOR_3DLIGHT);
    const CRect cell(rect.left, mid - 10, rect.left + 20, mid + 10);
    if (selected) FillRect(dc, CRect(cell.right + 1, rect.top, rect.right, rect.bottom), TK_COLOR_HIGHLIGHT);
    dc->SetTextColor(GetColor(selected ? TK_COLOR_HIGHLIGHTTEXT : enabled ? TK_COLOR_BTNTEXT : TK_COLOR_GRAYTEXT));
    dc->SetBkMode(TRANSPARENT);
    PaintMenuCell(dc, control, cell, selected);
    PaintControlText(dc, caption, CRect(rect.left + captionLeft, rect.top, rect.right - 19, rect.bottom),
                     DT_NOPREFIX | DT_END_ELLIPSIS, enabled, selected, true);
    if (!shortcut.IsEmpty())
        PaintControlText(dc, shortcut, CRect(rect.left + shortcutLeft, rect.top, rect.right - 19, rect.bottom),
                         DT_RIGHT | DT_NOPREFIX, enabled, selected, true);
    return size;
}

CSize CTkThemePainterClassic::PaintMenuItem(CDC* dc, CTkControl* control, bool draw) {
    CSize size = PaintMenuRow(dc, control, draw, 24, 28, 60);
    if (draw && control->IsPopupType()) {
        const CRect rect = control->m_rcControl;
        const int mid = (rect.top + rect.bottom) / 2;
        COLORREF colour = ::GetTextColor(dc->GetSafeHdc());
        PaintTriangle(dc, {rect.right - 11, mid - 3}, {rect.right - 11, mid + 3}, {rect.right - 8, mid}, colour);
        if (control->m_nType == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP)
            PaintLine(dc, rect.right - 20, rect.top + 2, rect.right - 20, rect.bottom - 2, colour);
    }
    return size;
}

CSize CTkThemePainterClassic::PaintSpecialGlyph(CDC* dc, int kind, CTkControl* control, bool draw) {
    if (kind == TK_GLYPH_TOGGLE_ITEM) return PaintMenuRow(dc, control, draw, 44, 44, 80);
    if (draw && control && (kind == TK_GLYPH_CLOSE || kind == TK_GLYPH_ARROW)) {
        const CTkButtonState state = StateOf(control);
        if (state.pressed || state.hot || (kind == TK_GLYPH_ARROW && state.popupOpen)) {
            FillRect(dc, control->m_rcControl, TK_COLOR_BTNFACE);
            if (state.pressed || state.popupOpen)
                Draw3dRect(dc, control->m_rcControl, TK_COLOR_BTNSHADOW, TK_COLOR_BTNHIGHLIGHT);
            else
                Draw3dRect(dc, control->m_rcControl, TK_COLOR_BTNHIGHLIGHT, TK_COLOR_BTNSHADOW);
        }
    }
    return CTkThemePainter::PaintSpecialGlyph(dc, kind, control, draw);
}

void CTkThemePainterClassic::PaintListItem(CDC* dc, CTkControl* control, const CRect& rect, bool selected, CWnd* list) {
    if (!control) {
        dc->FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
        return;
    }
    FillRect(dc, rect, TK_COLOR_BTNFACE);
    const int mid = (rect.top + rect.bottom) / 2;
    CRect cell(rect.left, rect.top, rect.left + 20, rect.bottom);
    const int type = control->m_nType;
    if (type == TK_CONTROL_TYPE_BUTTON || type == TK_CONTROL_TYPE_BUTTON_POPUP ||
        type == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP) {
        if (CTkIconEntry* icon = ControlIcon(control, 16)) {
            CTkButtonState state;
            state.hot = selected ? 1 : 0;
            PaintButtonFrame(dc, cell, state, TK_BAR_POSITION_POPUP);
            PaintControlImage(dc, CPoint(cell.left + 2, mid - 8), CSize(16, 16), icon, CTkButtonState());
        }
    }
    if (selected) {
        CRect band(cell.right + 1, rect.top, rect.right - 1, rect.bottom);
        FillRect(dc, band, TK_COLOR_HIGHLIGHT);
        PaintFrame(dc, band, TK_COLOR_HIGHLIGHT);
    }
    PaintListItemText(dc, control, rect, list, rect.left + 24, selected ? TK_COLOR_HIGHLIGHTTEXT : TK_COLOR_BTNTEXT,
                      TK_COLOR_BTNTEXT, selected ? TK_COLOR_HIGHLIGHT : TK_COLOR_BTNFACE, GetPopupItemHeight() + 17);
}

CSize CTkThemePainterClassic::PaintFieldControl(CDC* dc, CTkControl* control, bool draw, bool combo) {
    HDC hdc = dc->GetSafeHdc();
    CTkCommandBar* bar = control->GetParentBar();
    CTkSelectFont font(dc, &Fonts().iconTitle);
    const bool showCaption = (bar && bar->m_nBarType == TK_BAR_TYPE_POPUP) || !control->m_strCaption.IsEmpty();
    CString caption = showCaption ? StripMnemonics(control->GetDisplayCaption()) : CString();
    SIZE captionSize = TextExtent(hdc, caption), textSize = TextExtent(hdc, CString("Ag"));
    const int fieldWidth = bar ? bar->GetButtonSize().cx : 23;
    const CSize size(fieldWidth + (showCaption ? captionSize.cx + 22 : 0) + 5, textSize.cy + 8);
    if (!draw) return size;

    const CRect rect = control->m_rcControl;
    const bool enabled = control->m_bEnabled != 0;
    int mode = ::SetBkMode(hdc, TRANSPARENT);
    if (showCaption) {
        dc->SetTextColor(GetColor(enabled ? TK_COLOR_BTNTEXT : TK_COLOR_GRAYTEXT));
        PaintControlText(dc, caption, CRect(rect.left + 2, rect.top, rect.right, rect.bottom), DT_NOPREFIX, enabled,
                         false, true);
    }
    CRect field(showCaption ? rect.left + captionSize.cx + 22 : rect.left, rect.top + 1, rect.right, rect.bottom - 1);
    if (field.right > field.left) {
        FillRect(dc, field, TK_COLOR_WINDOW);
        if (combo || control->m_nSelected)
            Draw3dRect(dc, field, TK_COLOR_BTNSHADOW, TK_COLOR_BTNHIGHLIGHT);
        else
            Draw3dRect(dc, field, TK_COLOR_BTNFACE, TK_COLOR_BTNFACE);
        if (combo) {
            PaintFrame(dc, Deflated(field, 1, 1), TK_COLOR_BTNFACE);
            CRect button(field.right - 1 - GetSystemMetrics(SM_CXVSCROLL), field.top + 2, field.right - 2, field.bottom - 2);
            FillRect(dc, button, TK_COLOR_BTNFACE);
            Draw3dRect(dc, button, TK_COLOR_BTNHIGHLIGHT, TK_COLOR_BTNSHADOW);
            const int mx = (button.left + button.right) / 2, my = (button.top + button.bottom) / 2;
            PaintTriangle(dc, {mx - 2, my - 1}, {mx + 2, my - 1}, {mx, my + 1},
                          enabled ? TK_COLOR_BTNTEXT : TK_COLOR_GRAYTEXT);
            dc->SetTextColor(GetColor(TK_COLOR_WINDOWTEXT));
            PaintFieldText(dc, control, field, button);
        }
    }
    ::SetBkMode(hdc, mode);
    return size;
}

CSize CTkThemePainterClassic::PaintComboControl(CDC* dc, CTkControl* control, bool draw) {
    return PaintFieldControl(dc, control, draw, true);
}

CSize CTkThemePainterClassic::PaintEditControl(CDC* dc, CTkControl* control, bool draw) {
    return PaintFieldControl(dc, control, draw, false);
}

// ---------------------------------------------------------------------------------------------
// Visual styles.

namespace {
enum : int {
    kToolbarButton = 1,
    kToolbarSplit = 3,
    kToolbarSplitDropDown = 4,
    kRebarBackground = 0,
    kRebarGripper = 1,
    kRebarGripperVertical = 2,
};
}  // namespace

CTkThemePainterVisualStyles::CTkThemePainterVisualStyles() {
    m_bFadedIdleImages = true;
    m_bShadowedHotImages = false;
}

void CTkThemePainterVisualStyles::RefreshColorsAndFonts() {
    CTkThemePainterClassic::RefreshColorsAndFonts();
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd()) {
        m_rebar.OpenTheme(main->GetSafeHwnd(), L"REBAR");
        m_toolbar.OpenTheme(main->GetSafeHwnd(), L"TOOLBAR");
    } else {
        m_rebar.CloseTheme();
        m_toolbar.CloseTheme();
    }
}

void CTkThemePainterVisualStyles::PaintButtonFrame(CDC* dc, const CRect& rect, const CTkButtonState& state,
                                                   int position) {
    if (!m_toolbar.IsThemed()) return CTkThemePainterClassic::PaintButtonFrame(dc, rect, state, position);
    int part = 1;
    if (!state.enabled)
        part = state.checked && !state.withBorder ? 3 : 4;
    else if (state.hot && state.checked)
        part = 6;
    else if (state.checked)
        part = 5;
    else if ((state.hot && state.pressed) || state.pressed == 2 || state.popupOpen)
        part = 3;
    else if (state.hot || state.pressed)
        part = 2;
    m_toolbar.DrawBackground(dc->GetSafeHdc(), kToolbarButton, part, &rect, nullptr);
}

void CTkThemePainterVisualStyles::PaintSplitButton(CDC* dc, const CRect& rect, CTkControl* control) {
    if (!m_toolbar.IsThemed()) return CTkThemePainterClassic::PaintSplitButton(dc, rect, control);
    const CTkButtonState state = StateOf(control);
    int value = 1;
    if (!state.enabled)
        value = 4;
    else if (state.hot && state.pressed)
        value = 3;
    else if (state.checked)
        value = 5;
    else if (state.hot || state.popupOpen)
        value = 2;
    CRect face(rect.left, rect.top, rect.right - 12, rect.bottom);
    CRect arrow(rect.right - 12, rect.top, rect.right, rect.bottom);
    m_toolbar.DrawBackground(dc->GetSafeHdc(), kToolbarSplit, value, &face, nullptr);
    m_toolbar.DrawBackground(dc->GetSafeHdc(), kToolbarSplitDropDown, state.popupOpen ? 3 : value, &arrow, nullptr);
    dc->SetTextColor(GetColor(state.enabled ? TK_COLOR_BTNTEXT : TK_COLOR_GRAYTEXT));
    dc->SetBkMode(TRANSPARENT);
}

bool CTkThemePainterVisualStyles::PaintRebarBackground(CDC* dc, CWnd* window) {
    if (!m_rebar.IsThemed() || !window || !window->GetSafeHwnd()) return false;
    CRect client = ClientOf(window);
    HWND frame = ::GetAncestor(window->GetSafeHwnd(), GA_ROOT);
    CRect own, parent;
    ::GetWindowRect(window->GetSafeHwnd(), &own);
    ::GetWindowRect(frame ? frame : window->GetSafeHwnd(), &parent);
    CRect shifted(parent.left - own.left, parent.top - own.top, parent.right - own.left, parent.bottom - own.top);
    return SUCCEEDED(m_rebar.DrawBackground(dc->GetSafeHdc(), kRebarBackground, 0, &shifted, &client));
}

void CTkThemePainterVisualStyles::PaintBarBackground(CDC* dc, CTkCommandBar* bar) {
    if (!m_rebar.IsThemed()) return CTkThemePainterClassic::PaintBarBackground(dc, bar);
    CRect client = ClientOf(bar);
    if (bar->m_nPosition == TK_BAR_POSITION_POPUP) {
        PaintFramedRect(dc, client, TK_COLOR_MENU, TK_COLOR_BTNSHADOW);
        return;
    }
    if (bar->m_nPosition == TK_BAR_POSITION_FLOATING) {
        dc->FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
        Draw3dRect(dc, client, TK_COLOR_BTNFACE, TK_COLOR_BLACK);
        client = Deflated(client, 1, 1);
    } else if (!PaintRebarBackground(dc, bar)) {
        FillRect(dc, client, TK_COLOR_BTNFACE);
    }
    Draw3dRect(dc, client, TK_COLOR_BTNHIGHLIGHT, TK_COLOR_BTNSHADOW);
}

void CTkThemePainterVisualStyles::PaintDockBarBackground(CDC* dc, CWnd* dockBar) {
    if (!PaintRebarBackground(dc, dockBar)) CTkThemePainterClassic::PaintDockBarBackground(dc, dockBar);
}

void CTkThemePainterVisualStyles::PaintStatusBarBackground(CDC* dc, CWnd* statusBar) {
    if (!PaintRebarBackground(dc, statusBar)) CTkThemePainterClassic::PaintStatusBarBackground(dc, statusBar);
}

CSize CTkThemePainterVisualStyles::PaintGripper(CDC* dc, CTkCommandBar* bar, bool draw) {
    if (!m_rebar.IsThemed()) return CTkThemePainterClassic::PaintGripper(dc, bar, draw);
    CRect client = ClientOf(bar);
    switch (bar->m_nPosition) {
    case TK_BAR_POSITION_TOP:
    case TK_BAR_POSITION_BOTTOM: {
        CRect grip(client.left + 2, client.top + 2, client.left + 8, client.bottom - 2);
        if (draw) m_rebar.DrawBackground(dc->GetSafeHdc(), kRebarGripper, 0, &grip, nullptr);
        return CSize(8, 0);
    }
    case TK_BAR_POSITION_LEFT:
    case TK_BAR_POSITION_RIGHT: {
        CRect grip(client.left + 2, client.top + 2, client.right - 2, client.top + 8);
        if (draw) m_rebar.DrawBackground(dc->GetSafeHdc(), kRebarGripperVertical, 0, &grip, nullptr);
        return CSize(0, 8);
    }
    default:
        return CTkThemePainterClassic::PaintGripper(dc, bar, draw);
    }
}

void CTkThemePainterVisualStyles::AdjustPopupExcludeRect(CRect& rect, CTkControl* control) {
    if (!m_toolbar.IsThemed()) return CTkThemePainterClassic::AdjustPopupExcludeRect(rect, control);
    if (control->m_nType == TK_CONTROL_TYPE_COMBO) return;
    CTkCommandBar* bar = control->GetParentBar();
    if (bar && bar->m_nBarType == TK_BAR_TYPE_POPUP) ::InflateRect(&rect, -3, 3);
}
