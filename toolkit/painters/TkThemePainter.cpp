#include "painters/TkThemePainter.h"

#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"
#include "controls/TkControl.h"
#include "images/TkIconStore.h"
#include "painters/TkThemePainterClassic.h"
#include "painters/TkThemePainterFlat.h"

#include <algorithm>

namespace {

CTkThemePainter* g_current = nullptr;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Factory and the current painter.

CTkThemePainter::CTkThemePainter() {
    for (int i = 0; i < TK_COLOR_COUNT; ++i) m_colors[i] = CTkSysColors::Instance().GetColor((COLORREF)i);
}

CTkThemePainter::~CTkThemePainter() {
    if (g_current == this) g_current = nullptr;
}

CTkThemePainter* CTkThemePainter::CreateTheme(int themeId) {
    CTkThemePainter* painter;
    switch (themeId) {
    case TK_THEME_FLAT: painter = new CTkThemePainterFlat; break;
    case TK_THEME_FLAT_LUNA: painter = new CTkThemePainterFlatLuna; break;
    case TK_THEME_VISUAL_STYLES: painter = new CTkThemePainterVisualStyles; break;
    default: painter = new CTkThemePainterClassic; break;
    }
    painter->m_nThemeId = themeId;
    painter->RefreshColorsAndFonts();
    return painter;
}

CTkThemePainter* CTkThemePainter::SelectTheme(int themeId) {
    if (g_current && g_current->m_nThemeId == themeId) return nullptr;
    ReleaseCurrent();
    g_current = CreateTheme(themeId);
    return g_current;
}

CTkThemePainter* CTkThemePainter::GetCurrent() {
    if (!g_current) g_current = CreateTheme(TK_THEME_CLASSIC);
    return g_current;
}

CTkThemePainter* CTkThemePainter::PainterFor(const CTkCommandBars* manager) {
    if (manager && manager->GetOwnPainter()) return manager->GetOwnPainter();
    return GetCurrent();
}

void CTkThemePainter::ReleaseCurrent() {
    CTkThemePainter* old = g_current;
    g_current = nullptr;
    if (old) old->InternalRelease();
}

void CTkThemePainter::SetColors(int count, const int* indices, const COLORREF* colors) {
    for (int i = 0; i < count; ++i)
        if (indices[i] >= 0 && indices[i] < TK_COLOR_COUNT) m_colors[indices[i]] = colors[i];
}

void CTkThemePainter::RefreshColorsAndFonts() {
    RebuildFonts();
    CTkSysColors::Instance().Refresh(false);
    for (int i = 0; i < TK_COLOR_COUNT; ++i) m_colors[i] = CTkSysColors::Instance().GetColor((COLORREF)i);
}

// ---------------------------------------------------------------------------------------------
// Shape tools.

void CTkThemePainter::PaintGradient(CDC* dc, const CRect& rect, COLORREF from, COLORREF to, bool horizontal) {
    FillGradientRect(dc->GetSafeHdc(), &rect, GetColor(from), GetColor(to), horizontal);
}

void CTkThemePainter::PaintTriangle(CDC* dc, POINT a, POINT b, POINT c, COLORREF colour) {
    CTkPenScope pen(dc->GetSafeHdc(), GetColor(colour));
    CTkBrushScope brush(dc->GetSafeHdc(), GetColor(colour));
    POINT points[3] = {a, b, c};
    ::Polygon(dc->GetSafeHdc(), points, 3);
}

void CTkThemePainter::PaintLine(CDC* dc, int x1, int y1, int x2, int y2, COLORREF colour) {
    CTkPenScope pen(dc->GetSafeHdc(), GetColor(colour));
    ::MoveToEx(dc->GetSafeHdc(), x1, y1, nullptr);
    ::LineTo(dc->GetSafeHdc(), x2, y2);
}

void CTkThemePainter::FillRect(CDC* dc, const CRect& rect, COLORREF colour) {
    dc->FillSolidRect(rect, GetColor(colour));
}

void CTkThemePainter::PaintFrame(CDC* dc, const CRect& rect, COLORREF colour) {
    Draw3dRect(dc, rect, colour, colour);
}

void CTkThemePainter::PaintFramedRect(CDC* dc, const CRect& rect, COLORREF fill, COLORREF border) {
    FillRect(dc, rect, fill);
    PaintFrame(dc, rect, border);
}

void CTkThemePainter::Draw3dRect(CDC* dc, const CRect& rect, COLORREF topLeft, COLORREF bottomRight) {
    if (rect.IsRectEmpty()) return;
    const int w = rect.Width(), h = rect.Height();
    COLORREF tl = GetColor(topLeft), br = GetColor(bottomRight);
    dc->FillSolidRect(CRect(rect.left, rect.top, rect.left + w - 1, rect.top + 1), tl);
    dc->FillSolidRect(CRect(rect.left, rect.top, rect.left + 1, rect.top + h - 1), tl);
    dc->FillSolidRect(CRect(rect.right - 1, rect.top, rect.right, rect.bottom), br);
    dc->FillSolidRect(CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), br);
}

void CTkThemePainter::PaintCheckMark(CDC* dc, int x, int y, COLORREF colour, bool rightToLeft) {
    CTkPenScope pen(dc->GetSafeHdc(), GetColor(colour));
    HDC hdc = dc->GetSafeHdc();
    auto stroke = [&](int dy) {
        if (rightToLeft) {
            POINT p[3] = {{x + 6, y + 7 + dy}, {x + 10, y + 11 + dy}, {x + 13, y + 8 + dy}};
            ::Polyline(hdc, p, 3);
            ::SetPixel(hdc, p[2].x, p[2].y, GetColor(colour));
        } else {
            POINT p[3] = {{x + 6, y + 9 + dy}, {x + 8, y + 11 + dy}, {x + 13, y + 6 + dy}};
            ::Polyline(hdc, p, 3);
            ::SetPixel(hdc, p[2].x, p[2].y, GetColor(colour));
        }
    };
    stroke(0);
    stroke(1);
}

// ---------------------------------------------------------------------------------------------
// Text tools.

CString CTkThemePainter::StripMnemonics(const CString& text) {
    std::string result;
    const std::string& source = text.str();
    for (size_t i = 0; i < source.size(); ++i) {
        if (source[i] != '&') {
            result += source[i];
        } else if (i + 1 < source.size() && source[i + 1] == '&') {
            result += '&';
            ++i;
        }
    }
    return CString(result);
}

CString CTkThemePainter::PrepareMenuText(const CString& text, bool rightToLeft) {
    CString stripped = StripMnemonics(text);
    if (!rightToLeft) return stripped;
    const std::string& s = stripped.str();
    auto isNumber = [](char c) { return (c >= '0' && c <= '9') || c == '&'; };
    auto isLetter = [](char c) { return ::IsCharAlphaA(c) != FALSE; };
    size_t digits = 0;
    if (s.size() >= 3 && isNumber(s[0]) && s[1] == ' ' && isLetter(s[2]))
        digits = 1;
    else if (s.size() >= 4 && isNumber(s[0]) && isNumber(s[1]) && s[2] == ' ' && isLetter(s[3]))
        digits = 2;
    if (!digits) return stripped;
    return CString(s.substr(digits + 1) + " " + s.substr(0, digits));
}

CSize CTkThemePainter::PaintControlText(CDC* dc, const CString& text, const CRect& rect, bool draw, bool vertical,
                                        bool centred, bool triangle, bool embossed) {
    HDC hdc = dc->GetSafeHdc();
    CString shown = StripMnemonics(text);
    const CString& measured = shown.IsEmpty() ? CString(" ") : shown;
    SIZE extent = {};
    ::GetTextExtentPoint32A(hdc, measured, measured.GetLength(), &extent);
    CSize size(extent.cx + (triangle ? 6 : 0), extent.cy);
    if (!draw) return vertical ? CSize(size.cy, size.cx) : size;

    if (!vertical) {
        CRect area = rect;
        if (centred) area.left = (rect.left + rect.right) / 2 - (extent.cx + (triangle ? 5 : 0)) / 2;
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        if (embossed) {
            COLORREF colour = ::GetTextColor(hdc);
            CRect shadow = area;
            shadow.OffsetRect(1, 1);
            ::SetTextColor(hdc, GetColor(TK_COLOR_BTNHIGHLIGHT));
            ::DrawTextA(hdc, shown, shown.GetLength(), &shadow, format);
            ::SetTextColor(hdc, colour);
        }
        CRect drawn = area;
        ::DrawTextA(hdc, shown, shown.GetLength(), &drawn, format);
        if (triangle) {
            const int x = area.left + extent.cx + 2, mid = (rect.top + rect.bottom) / 2;
            PaintTriangle(dc, {x, mid - 1}, {x + 4, mid - 1}, {x + 2, mid + 1}, ::GetTextColor(hdc));
        }
    } else {
        // Text of the vertical font runs downwards; its top faces the right edge.
        int x = (rect.left + rect.right + extent.cy) / 2;
        int y = centred ? (rect.top + rect.bottom) / 2 - (extent.cx + (triangle ? 5 : 0)) / 2 : rect.top;
        if (embossed) {
            COLORREF colour = ::GetTextColor(hdc);
            ::SetTextColor(hdc, GetColor(TK_COLOR_BTNHIGHLIGHT));
            ::TextOutA(hdc, x + 1, y + 1, shown, shown.GetLength());
            ::SetTextColor(hdc, colour);
        }
        ::TextOutA(hdc, x, y, shown, shown.GetLength());
        if (triangle) {
            const int ty = y + extent.cx + 2, mid = (rect.left + rect.right) / 2;
            PaintTriangle(dc, {mid + 1, ty}, {mid + 1, ty + 4}, {mid - 1, ty + 2}, ::GetTextColor(hdc));
        }
    }
    return vertical ? CSize(size.cy, size.cx) : size;
}

CSize CTkThemePainter::MeasureCaption(CDC* dc, const CString& caption, const CRect& rect, bool hasImage,
                                      bool vertical, CSize imageCell) {
    CSize text = PaintControlText(dc, caption, rect, false, false, false, false, false);
    CSize button = imageCell;
    if (!vertical) {
        CRect area = rect;
        area.left = hasImage ? rect.left + imageCell.cx - 1 : rect.left + 4;
        if (area.right > area.left) PaintControlText(dc, caption, area, true, false, false, false, false);
        return CSize((hasImage ? imageCell.cx + 3 : 7) + text.cx, std::max<int>(button.cy, text.cy + 6));
    }
    CRect area = rect;
    area.top = hasImage ? rect.top + imageCell.cy : rect.top + 4;
    if (area.bottom > area.top) PaintControlText(dc, caption, area, true, true, false, false, false);
    return CSize(std::max<int>(button.cx, text.cy + 6), (hasImage ? imageCell.cy + 3 : 7) + text.cx);
}

// ---------------------------------------------------------------------------------------------
// Controls.

CTkButtonState CTkThemePainter::StateOf(const CTkControl* control) {
    CTkButtonState state;
    state.enabled = control->m_bEnabled != 0;
    state.hot = control->m_nSelected != TK_CONTROL_SELECTION_NONE ? 1 : 0;
    state.pressed = control->m_nExecuted == 1 ? 1 : 0;
    state.checked = control->m_bChecked != 0;
    state.popupOpen = control->IsPopupType() && control->IsPopupOpen();
    return state;
}

CTkIconEntry* CTkThemePainter::ControlIcon(CTkControl* control, int width) {
    return control->GetIcon(width);
}

CSize CTkThemePainter::DrawControl(CDC* dc, CTkControl* control, bool draw) {
    if (control->m_nType == TK_CONTROL_TYPE_EDIT || control->m_nType == TK_CONTROL_TYPE_COMBO) {
        if (HWND field = control->GetFieldWindow()) {
            HGDIOBJ font = Fonts().iconTitle.GetSafeHandle();
            if ((HGDIOBJ)::SendMessageW(field, WM_GETFONT, 0, 0) != font)
                ::SendMessageW(field, WM_SETFONT, (WPARAM)font, FALSE);
            ::SendMessageW(field, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        }
        return control->m_nType == TK_CONTROL_TYPE_EDIT ? PaintEditControl(dc, control, draw)
                                                       : PaintComboControl(dc, control, draw);
    }
    CTkCommandBar* bar = control->GetParentBar();
    if (bar && bar->m_nBarType == TK_BAR_TYPE_POPUP) return PaintMenuItem(dc, control, draw);
    return PaintToolbarControl(dc, control, draw);
}

void CTkThemePainter::PaintControlFace(CDC* dc, CTkControl* control) {
    CTkCommandBar* bar = control->GetParentBar();
    PaintButtonFace(dc, control->m_rcControl, StateOf(control), bar ? bar->m_nPosition : TK_BAR_POSITION_TOP);
}

void CTkThemePainter::PaintSplitButton(CDC* dc, const CRect& rect, CTkControl* control) {
    CTkButtonState state = StateOf(control);
    CTkCommandBar* bar = control->GetParentBar();
    const int position = bar ? bar->m_nPosition : TK_BAR_POSITION_TOP;
    CRect face = rect;
    if (!state.popupOpen) face.right -= 11;
    PaintButtonFace(dc, face, state, position);
    if ((state.hot || state.pressed) && !state.popupOpen) {
        CTkButtonState arrow = state;
        arrow.hot = 1;
        arrow.pressed = 0;
        arrow.checked = false;
        PaintButtonFace(dc, CRect(rect.right - 12, rect.top, rect.right, rect.bottom), arrow, position);
    }
    const int mid = (rect.top + rect.bottom) / 2;
    PaintTriangle(dc, {rect.right - 9, mid - 1}, {rect.right - 5, mid - 1}, {rect.right - 7, mid + 1},
                  ::GetTextColor(dc->GetSafeHdc()));
}

CSize CTkThemePainter::PaintToolbarControl(CDC* dc, CTkControl* control, bool draw) {
    CTkCommandBar* bar = control->GetParentBar();
    const bool vertical = bar && bar->IsVertical();
    const CSize iconSize = bar ? bar->GetIconSize() : CSize(16, 16);
    const CSize button = bar ? bar->GetButtonSize() : CSize(23, 23);
    CTkSelectFont font(dc, GetControlFont(bar, control->m_bDefaultItem != 0));

    const int type = control->m_nType, style = control->m_nStyle;
    const CString& caption = control->GetDisplayCaption();
    CTkIconEntry* icon = nullptr;
    if (style == TK_CONTROL_STYLE_ICON || style == TK_CONTROL_STYLE_ICON_AND_CAPTION ||
        (style == TK_CONTROL_STYLE_AUTOMATIC && type != TK_CONTROL_TYPE_POPUP))
        icon = ControlIcon(control, iconSize.cx);
    const bool showCaption =
        !caption.IsEmpty() &&
        (style == TK_CONTROL_STYLE_CAPTION || style == TK_CONTROL_STYLE_ICON_AND_CAPTION ||
         (style == TK_CONTROL_STYLE_AUTOMATIC && (type == TK_CONTROL_TYPE_POPUP || !icon)) ||
         type == TK_CONTROL_TYPE_LABEL);

    CRect rect = control->m_rcControl;
    if (draw) {
        if (type == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP)
            PaintSplitButton(dc, rect, control);
        else
            PaintControlFace(dc, control);
    }
    const CTkButtonState state = StateOf(control);
    CSize imageSize = iconSize;
    if (icon && icon->GetWidth() > 0) imageSize.cy = icon->GetHeight() * iconSize.cx / icon->GetWidth();

    if (bar && bar->IsTextBelowIcons() && icon) {
        CSize text = showCaption ? PaintControlText(dc, caption, rect, false, false, true, false, false) : CSize(0, 0);
        if (draw) {
            PaintControlImage(dc, CPoint((rect.left + rect.right - imageSize.cx) / 2, rect.top + 4), imageSize, icon,
                              state);
            if (showCaption) {
                CRect below(rect.left, rect.top + button.cy - 4, rect.right, rect.top + button.cy - 4 + text.cy);
                PaintControlText(dc, caption, below, true, false, true, false, false);
            }
        }
        CSize size(std::max<int>(button.cx, text.cx + 10), button.cy + text.cy);
        if (type == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP) size.cx += 11;
        size.cx = std::max(size.cx, size.cy);
        return size;
    }

    CRect area = rect;
    if (type == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP) area.right -= 11;
    if (draw && icon) {
        CPoint at = vertical ? CPoint((area.left + area.right - imageSize.cx) / 2, area.top + 4)
                             : CPoint(area.left + 3, (area.top + area.bottom - imageSize.cy) / 2);
        PaintControlImage(dc, at, imageSize, icon, state);
    }
    const CSize cell = button;
    CRect textArea = draw ? area : CRect();
    switch (type) {
    case TK_CONTROL_TYPE_BUTTON:
    case TK_CONTROL_TYPE_BUTTON_POPUP:
    case TK_CONTROL_TYPE_LABEL:
    case TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP: {
        CSize size;
        if (showCaption)
            size = MeasureCaption(dc, caption, textArea, icon != nullptr, vertical, cell);
        else
            size = icon ? button : CSize(23, 23);
        if (type == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP) size.cx += 11;
        return size;
    }
    case TK_CONTROL_TYPE_POPUP:
        if (!icon) {
            CSize text = PaintControlText(dc, caption, area, draw, vertical, true, true, false);
            return CSize(text.cx + 6, text.cy + 6);
        }
        if (showCaption) return MeasureCaption(dc, caption, textArea, true, vertical, cell);
        if (draw) {
            const int mid = (area.top + area.bottom) / 2;
            PaintTriangle(dc, {area.right - 9, mid - 1}, {area.right - 5, mid - 1}, {area.right - 7, mid + 1},
                          ::GetTextColor(dc->GetSafeHdc()));
        }
        return CSize(button.cx + 7, button.cy);
    default:
        return CSize(0, 0);
    }
}

// ---------------------------------------------------------------------------------------------
// Glyphs, grips and backgrounds.

CSize CTkThemePainter::PaintSpecialGlyph(CDC* dc, int kind, CTkControl* control, bool draw) {
    CTkCommandBar* bar = control ? control->GetParentBar() : nullptr;
    HDC hdc = dc->GetSafeHdc();
    const CRect rect = control ? control->m_rcControl : CRect();
    const int midX = (rect.left + rect.right) / 2, midY = (rect.top + rect.bottom) / 2;
    switch (kind) {
    case TK_GLYPH_EXPAND: {
        const bool vertical = bar && bar->IsVertical();
        if (!draw) {
            if (bar && bar->GetSafeHwnd()) {
                CRect client;
                bar->GetClientRect(&client);
                control->m_rcControl = vertical ? CRect(2, client.bottom - 13, client.right - 2, client.bottom - 2)
                                                : CRect(client.right - 13, 2, client.right - 2, client.bottom - 2);
            }
            return CSize(0, 0);
        }
        COLORREF text = ::GetTextColor(hdc);
        const bool hides = bar && bar->HasWrappedControls();
        CTkPenScope pen(hdc, text);
        if (vertical) {
            PaintTriangle(dc, {rect.left + 6, rect.top + 3}, {rect.left + 6, rect.top + 7}, {rect.left + 4, rect.top + 5},
                          text);
            if (hides) {
                for (int chevron = 0; chevron < 2; ++chevron) {
                    const int y = rect.top + 3 + chevron * 4, x = rect.right - 8;
                    for (int line = 0; line < 3; ++line) {
                        POINT p[3] = {{x + line, y}, {x + 2 + line, y + 2}, {x + 5 + line, y - 1}};
                        if (line < 2) ::Polyline(hdc, p, 3);
                    }
                }
            }
        } else {
            PaintTriangle(dc, {midX - 2, rect.bottom - 7}, {midX + 2, rect.bottom - 7}, {midX, rect.bottom - 5}, text);
            if (hides) {
                for (int chevron = 0; chevron < 2; ++chevron) {
                    const int x = rect.left + 2 + chevron * 4, y = rect.top + 3;
                    for (int line = 0; line < 2; ++line) {
                        POINT p[3] = {{x + line, y}, {x + 2 + line, y + 2}, {x - 1 + line, y + 5}};
                        ::Polyline(hdc, p, 3);
                    }
                }
            }
        }
        return CSize(0, 0);
    }
    case TK_GLYPH_MORE_ITEMS: {
        if (draw) {
            CTkPenScope pen(hdc, ::GetTextColor(hdc));
            for (int chevron = 0; chevron < 2; ++chevron) {
                const int y = midY - 3 + chevron * 4;
                for (int line = 0; line < 2; ++line) {
                    POINT p[3] = {{midX - 3, y + line}, {midX, y + 3 + line}, {midX + 4, y - 1 + line}};
                    ::Polyline(hdc, p, 3);
                }
            }
        }
        return CSize(0, 12);
    }
    case TK_GLYPH_CLOSE: {
        if (draw) {
            const CTkButtonState state = StateOf(control);
            CTkSelectObject select(hdc, Fonts().glyph.GetSafeHandle());
            COLORREF old = ::GetTextColor(hdc);
            if (!state.hot && !state.pressed) ::SetTextColor(hdc, GetColor(TK_COLOR_HIGHLIGHTTEXT));
            int mode = ::SetBkMode(hdc, TRANSPARENT);
            CRect area = rect;
            ::DrawTextA(hdc, "r", 1, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
            ::SetBkMode(hdc, mode);
            ::SetTextColor(hdc, old);
        }
        return CSize(16, 16);
    }
    case TK_GLYPH_ARROW: {
        if (draw) {
            const CTkButtonState state = StateOf(control);
            COLORREF colour = state.hot || state.pressed ? ::GetTextColor(hdc) : GetColor(TK_COLOR_HIGHLIGHTTEXT);
            PaintTriangle(dc, {midX - 3, midY - 1}, {midX + 2, midY - 1}, {midX, midY + 1}, colour);
        }
        return CSize(16, 16);
    }
    default:
        return CSize(0, 0);
    }
}

CSize CTkThemePainter::PaintFloatingCaption(CDC* dc, CTkCommandBar* bar, COLORREF fill, COLORREF text, bool draw) {
    CRect client = ClientOf(bar);
    HDC hdc = dc->GetSafeHdc();
    CTkSelectFont font(dc, &Fonts().smallCaption);
    SIZE title = {};
    ::GetTextExtentPoint32A(hdc, "Ag", 2, &title);
    CRect caption(3, 3, client.right - 3, std::max<int>(18, title.cy + 3));
    if (draw) {
        FillRect(dc, caption, fill);
        COLORREF old = ::SetTextColor(hdc, GetColor(text));
        int mode = ::SetBkMode(hdc, TRANSPARENT);
        CRect area(5, 3, caption.right, caption.bottom);
        ::DrawTextA(hdc, bar->m_strTitle, bar->m_strTitle.GetLength(), &area,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        ::SetBkMode(hdc, mode);
        ::SetTextColor(hdc, old);
    }
    return CSize(caption.Width(), caption.bottom);
}

CRect CTkThemePainter::ClientOf(CWnd* window) {
    CRect client;
    return TkGetClientRect(window, client);
}

CRect CTkThemePainter::Deflated(const CRect& rect, int dx, int dy) {
    return CRect(rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy);
}

SIZE CTkThemePainter::TextExtent(HDC dc, const CString& text) {
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
    return size;
}

const CString& CTkThemePainter::ShortcutOf(const CTkControl* control) {
    return control->m_strShortcutText.IsEmpty() ? control->m_strCaptionShortcut : control->m_strShortcutText;
}

void CTkThemePainter::PaintPaneText(CDC* dc, const CRect& rect, UINT style, const CString& text) {
    if (style & SBPS_DISABLED) return;
    HDC hdc = dc->GetSafeHdc();
    int mode = ::SetBkMode(hdc, TRANSPARENT);
    CRect area = Deflated(rect, 2, 1);
    ::DrawTextA(hdc, text, text.GetLength(), &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SetBkMode(hdc, mode);
}

void CTkThemePainter::PaintFieldText(CDC* dc, CTkControl* control, const CRect& field, const CRect& button) {
    CString text = control->GetFieldText();
    CRect area(field.left + 4, field.top, button.left - 1, field.bottom);
    ::DrawTextA(dc->GetSafeHdc(), text, text.GetLength(), &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CTkThemePainter::PaintListItemText(CDC* dc, CTkControl* control, const CRect& rect, CWnd* list, int captionLeft,
                                        COLORREF text, COLORREF splitLine, COLORREF fieldBorder, int fieldGap) {
    HDC hdc = dc->GetSafeHdc();
    const int mid = (rect.top + rect.bottom) / 2;
    const bool rtl = list && list->GetSafeHwnd() && (::GetWindowLongW(list->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    CString caption = PrepareMenuText(control->GetDisplayCaption(), rtl);
    COLORREF oldText = ::SetTextColor(hdc, GetColor(text));
    int mode = ::SetBkMode(hdc, TRANSPARENT);
    CRect area(captionLeft, rect.top, rect.right - 14, rect.bottom);
    ::DrawTextA(hdc, caption, caption.GetLength(), &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    const int type = control->m_nType;
    if (control->IsPopupType()) {
        PaintTriangle(dc, {rect.right - 7, mid}, {rect.right - 12, mid - 5}, {rect.right - 12, mid + 5}, GetColor(text));
        if (type == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP)
            PaintLine(dc, rect.right - 20, rect.top + 1, rect.right - 20, rect.bottom - 1, splitLine);
    } else if (type == TK_CONTROL_TYPE_COMBO || type == TK_CONTROL_TYPE_EDIT) {
        SIZE captionSize = TextExtent(hdc, caption);
        const int height = captionSize.cy + 2;
        CRect field(captionLeft + captionSize.cx + fieldGap, mid - height / 2, rect.right - 2, mid - height / 2 + height);
        if (field.right > field.left) PaintFramedRect(dc, field, TK_COLOR_WINDOW, fieldBorder);
    }
    ::SetBkMode(hdc, mode);
    ::SetTextColor(hdc, oldText);
}

CRect CTkThemePainter::GetBarBorders(CTkCommandBar*) {
    return CRect(2, 2, 2, 2);
}

void CTkThemePainter::PaintSizeGrip(CDC* dc, const CRect& client) {
    HDC hdc = dc->GetSafeHdc();
    const int w = client.right, h = client.bottom;
    {
        CTkPenScope shadow(hdc, ::GetSysColor(COLOR_BTNSHADOW));
        for (int pair = 0; pair < 3; ++pair) {
            for (int line = 0; line < 2; ++line) {
                const int x = w - 4 - pair * 4 + line;
                ::MoveToEx(hdc, x, h - 2, nullptr);
                ::LineTo(hdc, w, h - 2 - (w - x));
            }
        }
    }
    CTkPenScope highlight(hdc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    for (int pair = 0; pair < 3; ++pair) {
        const int x = w - 5 - pair * 4;
        ::MoveToEx(hdc, x, h - 2, nullptr);
        ::LineTo(hdc, w, h - 2 - (w - x));
    }
}

void CTkThemePainter::PaintDockBarBackground(CDC* dc, CWnd* dockBar) {
    CRect client;
    TkGetClientRect(dockBar, client);
    FillRect(dc, client, TK_COLOR_BTNFACE);
}

void CTkThemePainter::PaintStatusBarBackground(CDC* dc, CWnd* statusBar) {
    CRect client;
    TkGetClientRect(statusBar, client);
    FillRect(dc, client, TK_COLOR_BTNFACE);
}

// ---------------------------------------------------------------------------------------------
// Animations.

namespace {

// A 32-bit DIB section holding a copy of a device context's rectangle.
class CPixelCopy {
public:
    CPixelCopy(HDC source, int x, int y, int width, int height) : m_width(width), m_height(height) {
        m_bitmap = TkCreateAlphaBitmap(width, height, &m_bits);
        m_dc = ::CreateCompatibleDC(source);
        m_old = ::SelectObject(m_dc, m_bitmap);
        if (source) ::BitBlt(m_dc, 0, 0, width, height, source, x, y, SRCCOPY);
        ::GdiFlush();
    }
    ~CPixelCopy() {
        ::SelectObject(m_dc, m_old);
        ::DeleteDC(m_dc);
        if (m_bitmap) ::DeleteObject(m_bitmap);
    }
    CPixelCopy(const CPixelCopy&) = delete;
    CPixelCopy& operator=(const CPixelCopy&) = delete;
    HDC dc() const { return m_dc; }
    DWORD* bits() const { return m_bits; }
    bool ok() const { return m_bits != nullptr; }

private:
    int m_width, m_height;
    HBITMAP m_bitmap = nullptr;
    DWORD* m_bits = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

}  // namespace

void CTkThemePainter::AnimatePopup(CDC* dest, CDC* source, const CRect& rect, int kind) {
    const int steps = std::max(1, m_nAnimationSteps), width = rect.Width(), height = rect.Height();
    const DWORD pause = (DWORD)(m_nAnimationLength / steps);
    HDC to = dest->GetSafeHdc(), from = source->GetSafeHdc();
    if (width <= 0 || height <= 0) return;
    switch (kind) {
    case TK_ANIMATION_SLIDE:
    case TK_ANIMATION_UNFOLD:
        for (int i = 1; i <= steps; ++i) {
            const int w = kind == TK_ANIMATION_SLIDE ? width * i / steps : width;
            const int h = height * i / steps;
            ::BitBlt(to, rect.left, rect.top, w, h, from, width - w, height - h, SRCCOPY);
            ::GdiFlush();
            ::Sleep(pause);
        }
        break;
    case TK_ANIMATION_FADE: {
        CPixelCopy old(to, rect.left, rect.top, width, height);
        CPixelCopy fresh(from, 0, 0, width, height);
        CPixelCopy blend(nullptr, 0, 0, width, height);
        if (!old.ok() || !fresh.ok() || !blend.ok()) break;
        const size_t count = (size_t)width * (size_t)height;
        for (int i = 1; i < steps; ++i) {
            const DWORD start = ::GetTickCount();
            const DWORD k = 255u * (DWORD)i / (DWORD)steps;
            for (size_t p = 0; p < count; ++p) {
                const DWORD n = fresh.bits()[p], o = old.bits()[p];
                DWORD mixed = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const DWORD channel = (((n >> shift) & 0xFF) * k + ((o >> shift) & 0xFF) * (255 - k)) / 256;
                    mixed |= channel << shift;
                }
                blend.bits()[p] = mixed;
            }
            ::BitBlt(to, rect.left, rect.top, width, height, blend.dc(), 0, 0, SRCCOPY);
            ::GdiFlush();
            const DWORD spent = ::GetTickCount() - start;
            if (spent < pause) ::Sleep(pause - spent);
        }
        break;
    }
    default:
        break;
    }
    ::BitBlt(to, rect.left, rect.top, width, height, from, 0, 0, SRCCOPY);
}

void CTkThemePainter::AnimateExpand(CDC* dest, CDC* source, const CRect& rect, const std::vector<CTkExpandRow>& rows) {
    const int steps = std::max(1, m_nAnimationSteps);
    HDC to = dest->GetSafeHdc(), from = source->GetSafeHdc();
    const int oldMode = ::SetStretchBltMode(to, COLORONCOLOR);
    for (int i = 1; i <= steps; ++i) {
        int y = rect.top;
        for (const CTkExpandRow& row : rows) {
            const int height = row.bottom - row.top;
            const int shown = row.hidden ? height * i / steps : height;
            if (shown > 0)
                ::StretchBlt(to, rect.left, y, rect.Width(), shown, from, 0, row.top, rect.Width(), height, SRCCOPY);
            y += shown;
        }
        ::GdiFlush();
        ::Sleep((DWORD)(m_nAnimationLength / steps));
    }
    ::SetStretchBltMode(to, oldMode);
}
