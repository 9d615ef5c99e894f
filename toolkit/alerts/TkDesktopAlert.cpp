#include "alerts/TkDesktopAlert.h"

#include "painters/TkColors.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CTkPopupItem, CCmdTarget)

void TkDraw3dRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    auto fill = [dc](int l, int t, int r, int b, COLORREF colour) {
        RECT part = {l, t, r, b};
        COLORREF old = ::SetBkColor(dc, colour);
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &part, nullptr, 0, nullptr);
        ::SetBkColor(dc, old);
    };
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    fill(rect.left, rect.top, rect.right - 1, rect.top + 1, topLeft);
    fill(rect.left, rect.top, rect.left + 1, rect.bottom - 1, topLeft);
    fill(rect.right - 1, rect.top, rect.right, rect.bottom, bottomRight);
    fill(rect.left, rect.bottom - 1, rect.right, rect.bottom, bottomRight);
}

namespace {
void Deflate(CRect& rect, int by) {
    rect.left += by;
    rect.top += by;
    rect.right -= by;
    rect.bottom -= by;
}

void Fill(CDC* dc, const RECT& rect, COLORREF colour) {
    dc->FillSolidRect(rect, colour);
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Items.

CTkPopupItem::CTkPopupItem(const RECT& rect, const char* caption, UINT id)
    : m_rcItem(rect), m_strCaption(caption), m_nID(id) {}

CTkPopupItem::~CTkPopupItem() {
    for (HICON& icon : m_hIcons)
        if (icon) ::DestroyIcon(icon);
}

static int IconSlot(int state) {
    return state == CTkPopupItem::IconHot ? 1 : state == CTkPopupItem::IconPressed ? 2 : 0;
}

void CTkPopupItem::SetIcon(HICON icon, int state) {
    HICON& slot = m_hIcons[IconSlot(state)];
    HICON copy = icon ? ::CopyIcon(icon) : nullptr;
    if (slot) ::DestroyIcon(slot);
    slot = copy;
}

HICON CTkPopupItem::GetIcon(int state) const {
    return m_hIcons[IconSlot(state)];
}

bool CTkPopupItem::IsHot() const {
    return m_pAlert && m_pAlert->GetHotItem() == this;
}

bool CTkPopupItem::IsPressed() const {
    return m_pAlert && m_pAlert->GetPressedItem() == this;
}

void CTkPopupItem::RedrawOwner() {
    if (m_pAlert && m_pAlert->GetSafeHwnd()) m_pAlert->Invalidate(false);
}

void CTkPopupItem::SetCaption(const char* caption) {
    m_strCaption = caption;
    RedrawOwner();
}

void CTkPopupItem::SetFormat(UINT format) {
    m_nFormat = format;
    RedrawOwner();
}

void CTkPopupItem::SetBold(bool bold) {
    m_bBold = bold;
    RedrawOwner();
}

void CTkPopupItem::Draw(CDC* dc) {
    if (m_pAlert && m_pAlert->GetPainter()) m_pAlert->GetPainter()->DrawItem(dc, this);
}

HFONT CTkPopupItem::GetFont() {
    if (m_hFont) return m_hFont;
    if (m_pAlert && m_pAlert->GetPainter()) return (HFONT)m_pAlert->GetPainter()->m_font.GetSafeHandle();
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Themes.

CTkDesktopAlertTheme::CTkDesktopAlertTheme() {
    LOGFONTA font = {};
    if (::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) m_font.CreateFontIndirect(&font);
    m_clrText = TkGetColor(TK_COLOR_BTNTEXT);
    m_grcBack = CTkColorPair(TkGetColor(TK_COLOR_BTNFACE));
    m_grcBorder = CTkColorPair(TkGetColor(TK_COLOR_BTNSHADOW));
    m_grcHotBorder = CTkColorPair(TkGetColor(TK_COLOR_BTNHIGHLIGHT), TkGetColor(TK_COLOR_BTNSHADOW));
    m_grcPressedBorder = CTkColorPair(TkGetColor(TK_COLOR_BTNSHADOW), TkGetColor(TK_COLOR_BTNHIGHLIGHT));
}

void CTkDesktopAlertTheme::DrawBorder(CDC* dc, const CRect& rect) {
    if (m_grcBorder.clrStart != kNone) TkDraw3dRect(*dc, rect, m_grcBorder.clrStart, m_grcBorder.clrEnd);
}

void CTkDesktopAlertTheme::DrawBackground(CDC* dc, CRect rect) {
    FillGradientRect(*dc, &rect, m_grcBack, true);
    DrawBorder(dc, rect);
}

void CTkDesktopAlertTheme::DrawButtonFrame(CDC* dc, const CRect& rect, COLORREF fill, const CTkColorPair& border) {
    if (fill != kNone) Fill(dc, rect, fill);
    TkDraw3dRect(*dc, rect, border.clrStart, border.clrEnd);
}

void CTkDesktopAlertTheme::DrawItem(CDC* dc, CTkPopupItem* item) {
    CRect rect = item->m_rcItem;
    if (item->m_clrBack != kNone) Fill(dc, rect, item->m_clrBack);
    if (item->m_clrBorder != kNone) TkDraw3dRect(*dc, rect, item->m_clrBorder, item->m_clrBorder);
    const bool hot = item->IsHot(), pressed = item->IsPressed();
    if (HICON normal = item->GetIcon(CTkPopupItem::IconNormal)) {
        rect.OffsetRect(item->m_ptIconOffset.x, item->m_ptIconOffset.y);
        HICON icon = normal;
        if (hot && pressed) {
            if (item->m_bButton) DrawButtonFrame(dc, rect, m_clrPressedFill, m_grcPressedBorder);
            if (HICON p = item->GetIcon(CTkPopupItem::IconPressed)) icon = p;
        } else if (hot || pressed) {
            if (item->m_bButton) DrawButtonFrame(dc, rect, m_clrHotFill, m_grcHotBorder);
            if (HICON h = item->GetIcon(CTkPopupItem::IconHot)) icon = h;
        }
        ::DrawIconEx(*dc, rect.left, rect.top, icon, 0, 0, 0, nullptr, DI_NORMAL);
        return;
    }
    if (item->m_bButton) {
        if (hot && pressed)
            DrawButtonFrame(dc, rect, m_clrPressedFill, m_grcPressedBorder);
        else if (hot || pressed)
            DrawButtonFrame(dc, rect, m_clrHotFill, m_grcHotBorder);
    }
    if (item->m_strCaption.IsEmpty()) return;
    LOGFONTA logFont = {};
    HFONT base = item->GetFont();
    if (!base || !::GetObjectA(base, sizeof logFont, &logFont)) return;
    logFont.lfUnderline = (hot && item->m_bUnderlineHot) ? TRUE : FALSE;
    logFont.lfWeight = item->m_bBold ? FW_BOLD : FW_NORMAL;
    CFont font;
    font.CreateFontIndirect(&logFont);
    CTkSelectObject select(*dc, font.GetSafeHandle());
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->SetTextColor(item->m_clrText != kNone ? item->m_clrText : m_clrText);
    CRect textRect = item->m_rcItem;
    // The caption is shown as typed: "&" is no mnemonic prefix in an alert.
    dc->DrawText(item->m_strCaption, &textRect, item->m_nFormat | DT_NOPREFIX);
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
}

CTkDesktopAlertCaptionTheme::CTkDesktopAlertCaptionTheme() {
    m_grcBorder = CTkColorPair(TkGetColor(TK_COLOR_BTNHIGHLIGHT), TkGetColor(TK_COLOR_BTNSHADOW));
}

void CTkDesktopAlertCaptionTheme::DrawBackground(CDC* dc, CRect rect) {
    FillGradientRect(*dc, &rect, m_grcBack, false);
    DrawBorder(dc, rect);
    CRect inner = rect;
    Deflate(inner, 1);
    CRect band(inner.left, inner.top, inner.right, inner.top + 22);
    FillGradientRect(*dc, &band, RGB(0, 0, 128), RGB(24, 180, 192), true);
    Deflate(inner, 1);
    CRect area(inner.left, rect.top + 23, inner.right, inner.bottom);
    TkDraw3dRect(*dc, area, TkGetColor(TK_COLOR_BTNSHADOW), TkGetColor(TK_COLOR_BTNHIGHLIGHT));
    Deflate(area, 1);
    TkDraw3dRect(*dc, area, TkGetColor(TK_COLOR_BTNHIGHLIGHT), TkGetColor(TK_COLOR_BTNSHADOW));
    Deflate(area, 1);
    Fill(dc, CRect(area.left, area.top, std::min(area.right, area.left + 30), area.bottom), RGB(0, 0, 128));
}

CTkDesktopAlertFlatTheme::CTkDesktopAlertFlatTheme() {
    m_grcBack = CTkColorPair(TkGetColor(TK_COLOR_BAR_FACE));
    m_clrHotFill = TkGetColor(TK_COLOR_HOT_FILL);
    m_clrPressedFill = TkGetColor(TK_COLOR_PRESSED_FILL);
    m_grcHotBorder = CTkColorPair(TkGetColor(TK_COLOR_HOT_BORDER));
    m_grcPressedBorder = CTkColorPair(TkGetColor(TK_COLOR_HOT_BORDER));
    m_grcBorder = CTkColorPair(TkGetColor(TK_COLOR_BTNSHADOW));
}

void CTkDesktopAlertFlatTheme::DrawBackground(CDC* dc, CRect rect) {
    FillGradientRect(*dc, &rect, m_grcBack, false);
    DrawBorder(dc, rect);
    CRect inner = rect;
    Deflate(inner, 1);
    CRect band(inner.left, inner.top, inner.right, inner.top + 22);
    FillGradientRect(*dc, &band, RGB(0, 0, 128), RGB(24, 180, 192), true);
    CRect area(inner.left, band.bottom, inner.right, inner.bottom);
    Deflate(area, 1);
    Fill(dc, CRect(area.left, area.top, std::min(area.right, area.left + 30), area.bottom), RGB(0, 0, 128));
}

CTkDesktopAlertSchemeTheme::CTkDesktopAlertSchemeTheme() {
    CTkSysColors& colors = CTkSysColors::Instance();
    m_grcBack = CTkColorPair(colors.m_grcSecond.clrEnd, colors.m_grcSecond.clrStart);
    m_grcTopBand = colors.m_grcFirst;
    m_grcBorder = CTkColorPair(TkGetColor(TK_COLOR_SCHEME_BORDER));
    switch (CTkSysColors::GetLunaScheme()) {
    case 1:
    case 2:
    case 3: {
        static const COLORREF borders[] = {RGB(0, 0, 128), RGB(63, 93, 56), RGB(75, 75, 111)};
        COLORREF border = borders[CTkSysColors::GetLunaScheme() - 1];
        m_clrHotFill = RGB(255, 238, 194);
        m_clrPressedFill = RGB(254, 128, 62);
        m_grcHotBorder = CTkColorPair(border);
        m_grcPressedBorder = CTkColorPair(border);
        break;
    }
    default:
        break;
    }
}

void CTkDesktopAlertSchemeTheme::DrawBackground(CDC* dc, CRect rect) {
    FillGradientRect(*dc, &rect, m_grcBack, false);
    DrawBorder(dc, rect);
    CRect inner = rect;
    Deflate(inner, 1);
    CRect band(inner.left, inner.top, inner.right, inner.top + 7);
    FillGradientRect(*dc, &band, m_grcTopBand, false);
    int x = band.left + std::max(2, (band.Width() - 36) / 2);
    for (int dot = 0; dot < 9; ++dot, x += 4) {
        Fill(dc, CRect(x, band.top + 1, x + 2, band.top + 3), RGB(40, 50, 71));
        Fill(dc, CRect(x + 1, band.top + 2, x + 3, band.top + 4), RGB(249, 249, 251));
        Fill(dc, CRect(x + 1, band.top + 2, x + 2, band.top + 3), RGB(97, 116, 152));
    }
}

CTkDesktopAlertBandsTheme::CTkDesktopAlertBandsTheme() {
    m_grcBorder = CTkColorPair(TkGetColor(TK_COLOR_BTNHIGHLIGHT), TkGetColor(TK_COLOR_BTNSHADOW));
    m_clrHotFill = RGB(194, 238, 255);
    m_clrPressedFill = RGB(134, 162, 224);
    m_grcHotBorder = CTkColorPair(RGB(114, 142, 184));
    m_grcPressedBorder = CTkColorPair(RGB(114, 142, 184));
}

void CTkDesktopAlertBandsTheme::DrawBackground(CDC* dc, CRect rect) {
    const COLORREF white = RGB(255, 255, 255), pale = RGB(207, 221, 244);
    TkDraw3dRect(*dc, rect, RGB(166, 180, 207), RGB(69, 86, 144));
    Deflate(rect, 1);
    TkDraw3dRect(*dc, rect, white, RGB(207, 222, 244));
    Deflate(rect, 1);
    auto band = [&](int from, int to, COLORREF a, COLORREF b) {
        CRect part(rect.left, rect.top + from, rect.right, std::min<LONG>(rect.bottom, rect.top + to));
        FillGradientRect(*dc, &part, a, b, false);
    };
    band(0, 12, RGB(207, 215, 236), white);
    band(12, 23, white, pale);
    band(23, 40, pale, white);
    band(40, rect.Height(), white, pale);
    TkDraw3dRect(*dc, CRect(rect.left, rect.top + 22, rect.right, rect.bottom), RGB(114, 142, 184),
                 RGB(185, 201, 239));
}

// ---------------------------------------------------------------------------------------------
// The window.

namespace {
RECT SystemWorkArea() {
    RECT work = {};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return work;
}
}  // namespace

CTkDesktopAlertWnd::PFNGETWORKAREA CTkDesktopAlertWnd::s_pfnGetWorkArea = SystemWorkArea;

CTkDesktopAlertWnd::CTkDesktopAlertWnd() {
    m_pPainter.reset(new CTkDesktopAlertCaptionTheme);
    UpdateAnchor();
    m_hUser32 = ::LoadLibraryW(L"USER32.DLL");
    if (m_hUser32)
        m_pfnSetLayered = reinterpret_cast<PFNSETLAYEREDWINDOWATTRIBUTES>(
            reinterpret_cast<void*>(::GetProcAddress(m_hUser32, "SetLayeredWindowAttributes")));
}

CTkDesktopAlertWnd::~CTkDesktopAlertWnd() {
    if (m_hWnd) {
        m_nState = StateHidden;
        NotifyOwner(TK_ALERT_STATECHANGED, (LPARAM)this);
        DestroyWindow();
    }
    ClearItems();
    m_pPainter.reset();
    if (m_hUser32) ::FreeLibrary(m_hUser32);
}

bool CTkDesktopAlertWnd::Create(CWnd* parent) {
    if (m_hWnd) return true;
    const char* className = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    if (m_pfnSetLayered && (m_nAlpha < 255 || m_nAnimation == AnimationFade)) exStyle |= WS_EX_LAYERED;
    if (!CreateEx(exStyle, className, "", WS_POPUP, 0, 0, 0, 0, parent ? parent->GetSafeHwnd() : nullptr, nullptr))
        return false;
    m_nState = StateHidden;
    return true;
}

void CTkDesktopAlertWnd::UpdateAnchor() {
    if (m_bFixedAnchor || !s_pfnGetWorkArea) return;
    const RECT work = s_pfnGetWorkArea();
    m_ptAnchor = CPoint(work.right, work.bottom);
}

bool CTkDesktopAlertWnd::Show(CWnd* parent) {
    if (!Create(parent) || m_nState != StateHidden) return false;
    // The work area may have changed since the last alert (taskbar moved, resolution changed).
    UpdateAnchor();
    StartShowing(true);
    return true;
}

void CTkDesktopAlertWnd::Close() {
    m_nState = StateHidden;
    if (m_hWnd) NotifyOwner(TK_ALERT_STATECHANGED, (LPARAM)this);
    m_bMouseInside = false;
    if (m_hWnd) DestroyWindow();
    m_pHot = nullptr;
    m_pPressed = nullptr;
}

void CTkDesktopAlertWnd::NotifyOwner(WPARAM code, LPARAM argument) {
    if (!m_hWnd) return;
    HWND target = ::GetWindow(m_hWnd, GW_OWNER);
    if (!target) target = ::GetParent(m_hWnd);
    if (target) ::SendMessageW(target, TK_WM_DESKTOPALERT, code, argument);
}

void CTkDesktopAlertWnd::OnClick(CTkPopupItem* item) {
    NotifyOwner(TK_ALERT_CLICKED, (LPARAM)item);
}

void CTkDesktopAlertWnd::SetTheme(int id) {
    CTkDesktopAlertTheme* painter = nullptr;
    switch (id) {
    case 0: painter = new CTkDesktopAlertCaptionTheme; break;
    case 1: painter = new CTkDesktopAlertFlatTheme; break;
    case 2: painter = new CTkDesktopAlertSchemeTheme; break;
    case 3: painter = new CTkDesktopAlertBandsTheme; break;
    default: painter = new CTkDesktopAlertTheme; break;
    }
    m_nThemeId = id;
    SetThemePainter(painter);
}

void CTkDesktopAlertWnd::SetThemePainter(CTkDesktopAlertTheme* painter) {
    if (!painter || painter == m_pPainter.get()) return;
    m_pPainter.reset(painter);
    if (m_hWnd) Invalidate(false);
}

CTkPopupItem* CTkDesktopAlertWnd::AppendItem(CTkPopupItem* item) {
    m_items.push_back(TkAdoptRef(item));
    item->m_pAlert = this;
    item->OnInserted();
    return item;
}

void CTkDesktopAlertWnd::ClearItems() {
    m_items.clear();
    m_pHot = nullptr;
    m_pPressed = nullptr;
}

CTkPopupItem* CTkDesktopAlertWnd::HitTest(POINT point) const {
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        if (::PtInRect(&(*it)->m_rcItem, point)) return *it;
    return nullptr;
}

void CTkDesktopAlertWnd::StartShowing(bool fresh) {
    m_nState = StateShowing;
    NotifyOwner(TK_ALERT_STATECHANGED, (LPARAM)this);
    m_rcTarget = CRect(m_ptAnchor.x - m_nWidth, m_ptAnchor.y - m_nHeight, m_ptAnchor.x, m_ptAnchor.y);
    m_nTargetAlpha = m_nAlpha;
    int steps;
    if (fresh) {
        m_rcCurrent = m_rcTarget;
        m_nCurrentAlpha = m_nTargetAlpha;
        if (m_nAnimation == AnimationNone || m_nDuration == 0) {
            Apply();
            OnShown();
            return;
        }
        if (m_nAnimation == AnimationFade)
            m_nCurrentAlpha = 0;
        else if (m_nAnimation == AnimationSlide)
            m_rcCurrent = CRect(m_ptAnchor.x - m_nWidth, m_ptAnchor.y, m_ptAnchor.x, m_ptAnchor.y);
        else if (m_nAnimation == AnimationUnfold)
            m_rcCurrent = CRect(m_ptAnchor.x, m_ptAnchor.y, m_ptAnchor.x, m_ptAnchor.y);
        steps = m_nStep ? (int)(m_nDuration / m_nStep) : 1;
    } else {
        steps = (m_nStep ? (int)(m_nDuration / m_nStep) : 1) - m_nRemaining;
    }
    m_nRemaining = std::max(steps, 1);
    SetTimer(TimerShowing, m_nStep);
    Apply();
}

void CTkDesktopAlertWnd::StartHiding() {
    m_nState = StateHiding;
    NotifyOwner(TK_ALERT_STATECHANGED, (LPARAM)this);
    if (m_nAnimation != AnimationNone && m_nDuration != 0) {
        if (m_nAnimation == AnimationFade)
            m_nTargetAlpha = 0;
        else if (m_nAnimation == AnimationSlide)
            m_rcTarget = CRect(m_ptAnchor.x - m_nWidth, m_ptAnchor.y, m_ptAnchor.x, m_ptAnchor.y);
        else if (m_nAnimation == AnimationUnfold)
            m_rcTarget = CRect(m_ptAnchor.x, m_ptAnchor.y, m_ptAnchor.x, m_ptAnchor.y);
        m_nRemaining = std::max(m_nStep ? (int)(m_nDuration / m_nStep) : 1, 1);
        SetTimer(TimerHiding, m_nStep);
        Apply();
        return;
    }
    Close();
}

void CTkDesktopAlertWnd::OnShown() {
    m_nState = StateShown;
    NotifyOwner(TK_ALERT_STATECHANGED, (LPARAM)this);
    if (m_nShowTime != 0 && m_hWnd) SetTimer(TimerShown, m_nShowTime);
}

void CTkDesktopAlertWnd::MoveToCurrent() {
    if (!m_hWnd) return;
    ::SetWindowPos(m_hWnd, nullptr, m_rcCurrent.left, m_rcCurrent.top, m_rcCurrent.Width(), m_rcCurrent.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_SHOWWINDOW);
    Invalidate(false);
}

void CTkDesktopAlertWnd::SetOpacity(int alpha) {
    if (m_pfnSetLayered && m_hWnd && (::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED))
        m_pfnSetLayered(m_hWnd, 0, (BYTE)alpha, LWA_ALPHA);
}

void CTkDesktopAlertWnd::Step(int remaining) {
    const int previousAlpha = m_nCurrentAlpha;
    auto move = [remaining](LONG current, LONG target) -> LONG {
        if (current == target) return current;
        LONG delta = std::max<LONG>(std::labs(current - target) / remaining, 1);
        return current < target ? std::min(current + delta, target) : std::max(current - delta, target);
    };
    if (remaining > 0) {
        m_rcCurrent.left = move(m_rcCurrent.left, m_rcTarget.left);
        m_rcCurrent.top = move(m_rcCurrent.top, m_rcTarget.top);
        m_rcCurrent.right = move(m_rcCurrent.right, m_rcTarget.right);
        m_rcCurrent.bottom = move(m_rcCurrent.bottom, m_rcTarget.bottom);
        m_nCurrentAlpha = (int)move(m_nCurrentAlpha, m_nTargetAlpha);
    } else {
        m_rcCurrent = m_rcTarget;
        m_nCurrentAlpha = m_nTargetAlpha;
    }
    MoveToCurrent();
    if (!m_bMouseInside && m_nCurrentAlpha != previousAlpha) SetOpacity(m_nCurrentAlpha);
    if (m_hWnd) UpdateWindow();
}

void CTkDesktopAlertWnd::Apply() {
    MoveToCurrent();
    if (!m_bMouseInside) SetOpacity(m_nCurrentAlpha);
    if (m_hWnd) UpdateWindow();
}

void CTkDesktopAlertWnd::OnTimerTick(UINT_PTR id) {
    if (id == TimerShowing || id == TimerHiding) {
        const int remaining = m_nRemaining;
        Step(remaining);
        m_nRemaining = remaining - 1;
        if (remaining <= 1) {
            KillTimer(id);
            if (id == TimerShowing)
                OnShown();
            else
                Close();
        }
    } else if (id == TimerShown) {
        if (m_bMouseInside) return;
        KillTimer(TimerShown);
        StartHiding();
    }
}

void CTkDesktopAlertWnd::OnMouseMove(POINT point) {
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    if (::PtInRect(&client, point) || m_pPressed) {
        if (!m_bMouseInside) {
            m_bMouseInside = true;
            SetOpacity(255);
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&track);
        }
        if (m_nState == StateHiding) {
            KillTimer(TimerHiding);
            StartShowing(false);
        }
    } else if (m_bMouseInside) {
        m_bMouseInside = false;
        SetOpacity(m_nAlpha);
    }
    CTkPopupItem* hit = HitTest(point);
    if (m_pPressed && hit != m_pPressed) hit = nullptr;
    if (hit != m_pHot) {
        m_pHot = hit;
        Invalidate(false);
    }
}

void CTkDesktopAlertWnd::OnLButtonDown(POINT point) {
    m_pPressed = HitTest(point);
    if (m_pPressed) {
        ::SetCapture(m_hWnd);
        Invalidate(false);
    }
}

void CTkDesktopAlertWnd::OnLButtonUp(POINT point) {
    if (m_pPressed) {
        CTkPopupItem* pressed = m_pPressed;
        m_pPressed = nullptr;
        ::ReleaseCapture();
        if (pressed == m_pHot) {
            OnClick(pressed);
        } else {
            OnMouseMove(point);
        }
        if (m_hWnd) Invalidate(false);
    }
}

void CTkDesktopAlertWnd::DrawAlert(CDC* dc) {
    if (m_pPainter) m_pPainter->DrawBackground(dc, CRect(0, 0, m_nWidth, m_nHeight));
    for (CTkPopupItem* item : m_items) item->Draw(dc);
}

void CTkDesktopAlertWnd::OnPaintAlert() {
    CPaintDC paint(this);
    CTkOffscreenDC offscreen(paint.GetSafeHdc(), CRect(0, 0, m_nWidth, m_nHeight));
    DrawAlert(&offscreen);
}

LRESULT CTkDesktopAlertWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    switch (message) {
    case WM_PAINT: OnPaintAlert(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_TIMER: OnTimerTick((UINT_PTR)wParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(point); return 0;
    case WM_MOUSELEAVE: OnMouseMove(POINT{-1, -1}); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(point); return 0;
    case WM_LBUTTONUP: OnLButtonUp(point); return 0;
    case WM_CAPTURECHANGED:
        if (m_pPressed) {
            m_pPressed = nullptr;
            Invalidate(false);
        }
        return 0;
    default: return CWnd::WindowProc(message, wParam, lParam);
    }
}
