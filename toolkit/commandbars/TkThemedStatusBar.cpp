#include "commandbars/TkThemedStatusBar.h"

#include "painters/TkThemePainter.h"

BEGIN_MESSAGE_MAP(CTkThemedStatusBar, CStatusBar)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CTkThemedStatusBar::~CTkThemedStatusBar() {
    if (m_hWnd) CTkThemePainter::RemoveFontUser(m_hWnd);
}

CTkThemePainter* CTkThemedStatusBar::GetPainter() const {
    return CTkThemePainter::PainterFor(m_pManager);
}

bool CTkThemedStatusBar::SetIndicators(const UINT* ids, int count) {
    GetPainter();  // the shared fonts exist once a painter does
    SendMessage(WM_SETFONT, (WPARAM)CTkThemePainter::Fonts().status.GetSafeHandle(), FALSE);
    CTkThemePainter::AddFontUser(m_hWnd);
    if (!CStatusBar::SetIndicators(ids, count)) return false;
    SendMessage(SB_SETMINHEIGHT, 20);
    SendMessage(WM_SIZE);
    return true;
}

void CTkThemedStatusBar::DoPaint(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    CTkThemePainter* painter = GetPainter();
    painter->PaintStatusBarBackground(dc, this);
    CTkSelectFont font(dc, &CTkThemePainter::Fonts().status);
    COLORREF oldText = dc->SetTextColor(painter->GetColor(TK_COLOR_BTNTEXT));
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        CRect rect;
        GetItemRect(i, &rect);
        UINT id = 0, style = 0;
        int width = 0;
        GetPaneInfo(i, id, style, width);
        if (i == count - 1) {
            if (style & SBPS_STRETCH) {
                rect.right = client.right;
                if (GetStyle() & SBARS_SIZEGRIP)
                    rect.right -= ::GetSystemMetrics(SM_CXSMICON) + ::GetSystemMetrics(SM_CXEDGE);
            } else {
                rect.right = rect.left + width + 3 * ::GetSystemMetrics(SM_CXEDGE);
            }
        }
        painter->PaintStatusPane(dc, rect, style, GetPaneText(i));
    }
    HWND parent = ::GetParent(m_hWnd);
    if (parent && (::GetWindowLongW(parent, GWL_STYLE) & WS_THICKFRAME) && (GetStyle() & SBARS_SIZEGRIP) &&
        !::IsZoomed(parent))
        painter->PaintSizeGrip(dc, client);
    dc->SetTextColor(oldText);
}

void CTkThemedStatusBar::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CTkOffscreenDC offscreen(paint.GetSafeHdc(), client);
    DoPaint(&offscreen);
}

void CTkThemedStatusBar::OnSize(UINT type, int cx, int cy) {
    CStatusBar::OnSize(type, cx, cy);
    Invalidate(false);
}

BOOL CTkThemedStatusBar::OnEraseBkgnd(HDC) {
    return TRUE;
}

void CTkThemedStatusBar::OnDestroy() {
    CTkThemePainter::RemoveFontUser(m_hWnd);
    Default();
}
