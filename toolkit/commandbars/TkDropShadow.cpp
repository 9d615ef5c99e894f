#include "commandbars/TkDropShadow.h"

#include "commandbars/TkMenuEffects.h"
#include "images/TkIconStore.h"
#include "painters/TkDrawTools.h"

#include <algorithm>

namespace {
bool Overlaps(const RECT& a, const RECT& b) {
    RECT common;
    return ::IntersectRect(&common, &a, &b) != FALSE;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// One strip.

CTkDropShadowWnd::CTkDropShadowWnd(CTkDropShadows* owner, int orientation, HWND popup, const CTkShadowStyle& style)
    : m_pOwner(owner),
      m_nOrientation(orientation),
      m_bPainterShadow(style.painterForcesShadows),
      m_clrShadow(style.shadowColor),
      m_hPopup(popup) {}

bool CTkDropShadowWnd::CreateOnce(bool layered) {
    if (m_hWnd) return true;
    m_bLayered = layered;
    const char* className = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | (layered ? WS_EX_LAYERED : 0);
    return CreateEx(exStyle, className, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
}

void CTkDropShadowWnd::PlaceStrip(const CRect& strip) {
    m_rcStrip = strip;
    ::SetWindowRgn(m_hWnd, nullptr, FALSE);
    SetWindowPos(nullptr, strip.left, strip.top, strip.Width(), strip.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (m_bLayered) RenderLayered();
}

void CTkDropShadowWnd::FillShadowPixels(DWORD* pixels, int width, int height, int orientation, COLORREF colour,
                                        bool painterShadow) {
    const int step = painterShadow ? kAlphaStep / 2 : kAlphaStep;
    const int length = orientation == Bottom ? width : height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Across: the distance from the popup's edge; along: the position on the edge.
            int across = orientation == Bottom ? y : x;
            int along = orientation == Bottom ? x : y;
            int alpha = std::min(255, step * (across + 1));
            int fromEnd = std::min(along, length - 1 - along);
            if (fromEnd < kFadeLength) alpha = alpha * (fromEnd + 1) / (kFadeLength + 1);
            DWORD r = GetRValue(colour) * alpha / 255, g = GetGValue(colour) * alpha / 255,
                  b = GetBValue(colour) * alpha / 255;
            pixels[y * width + x] = (DWORD)alpha << 24 | r << 16 | g << 8 | b;
        }
    }
}

void CTkDropShadowWnd::RenderLayered() {
    const int width = m_rcStrip.Width(), height = m_rcStrip.Height();
    auto update = m_pOwner->GetUpdateLayeredWindow();
    if (width <= 0 || height <= 0 || !update) return;
    DWORD* pixels = nullptr;
    HBITMAP bitmap = TkCreateAlphaBitmap(width, height, &pixels);
    if (!bitmap) return;
    FillShadowPixels(pixels, width, height, m_nOrientation, m_clrShadow, m_bPainterShadow);
    HDC screen = ::GetDC(nullptr);
    {
        CTkBitmapDC source(screen, bitmap);
        POINT destination = {m_rcStrip.left, m_rcStrip.top};
        SIZE size = {width, height};
        POINT origin = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        update(m_hWnd, screen, &destination, &size, source.GetSafeHdc(), &origin, 0, &blend, ULW_ALPHA);
    }
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(bitmap);
}

int CTkDropShadowWnd::OnHookMessage(HWND, UINT message, WPARAM* wParam, LPARAM*, LRESULT*) {
    switch (message) {
    case WM_SHOWWINDOW:
        if (*wParam)
            SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            ShowWindow(SW_HIDE);
        break;
    case WM_DESTROY:
        m_pOwner->DeleteShadow(this);  // this object is gone from here on
        break;
    }
    return TK_HOOK_IGNORED;
}

LRESULT CTkDropShadowWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        CDC::FromHandle(dc)->FillSolidRect(client, m_bLayered ? RGB(0, 0, 0) : ::GetSysColor(COLOR_BTNSHADOW));
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The list.

CTkDropShadows& CTkDropShadows::Instance() {
    static CTkDropShadows shadows;
    return shadows;
}

CTkDropShadows::CTkDropShadows() : m_pfnSystemDropShadow(TkIsSystemDropShadowOn) {
    // The registry is made first so that it outlives the shadows, which leave it when they go.
    CTkSubclassRegistry::Instance();
    m_hUser32 = ::LoadLibraryW(L"user32.dll");
    if (m_hUser32)
        m_pfnUpdateLayered = reinterpret_cast<PFNUPDATELAYEREDWINDOW>(
            reinterpret_cast<void*>(::GetProcAddress(m_hUser32, "UpdateLayeredWindow")));
}

CTkDropShadows::~CTkDropShadows() {
    while (!m_shadows.empty()) DeleteShadow(m_shadows.back());
    if (m_hUser32) ::FreeLibrary(m_hUser32);
}

void CTkDropShadows::AddShadows(HWND popup, const RECT& excludeRect, const CTkShadowStyle& style) {
    if (style.customizing || !::IsWindow(popup)) return;
    if (!style.painterForcesShadows && !(HasLayeredShadows() && m_pfnSystemDropShadow())) return;
    CRect popupRect;
    ::GetWindowRect(popup, &popupRect);
    CreateShadow(CTkDropShadowWnd::Bottom, popupRect, excludeRect, popup, style);
    CreateShadow(CTkDropShadowWnd::Right, popupRect, excludeRect, popup, style);
}

void CTkDropShadows::AddControlShadows(HWND popup, const RECT& controlRect, const CTkShadowStyle& style) {
    if (style.customizing || !style.painterForcesShadows || !::IsWindow(popup)) return;
    CreateShadow(CTkDropShadowWnd::Bottom, controlRect, CRect(), popup, style);
    CreateShadow(CTkDropShadowWnd::Right, controlRect, CRect(), popup, style);
}

void CTkDropShadows::RemoveShadows(HWND popup) {
    for (CTkDropShadowWnd* shadow : GetShadows(popup)) DeleteShadow(shadow);
}

std::vector<CTkDropShadowWnd*> CTkDropShadows::GetShadows(HWND popup) const {
    std::vector<CTkDropShadowWnd*> found;
    for (CTkDropShadowWnd* shadow : m_shadows)
        if (!popup || shadow->GetPopup() == popup) found.push_back(shadow);
    return found;
}

CTkDropShadowWnd* CTkDropShadows::CreateShadow(int orientation, const CRect& popupRect, const CRect& excludeRect,
                                               HWND popup, const CTkShadowStyle& style) {
    auto* shadow = new CTkDropShadowWnd(this, orientation, popup, style);
    if (!shadow->CreateOnce(HasLayeredShadows())) {
        delete shadow;
        return nullptr;
    }
    const int t = GetThickness();
    CRect strip = orientation == CTkDropShadowWnd::Bottom
                      ? CRect(popupRect.left + t, popupRect.bottom, popupRect.right + t, popupRect.bottom + t)
                      : CRect(popupRect.right, popupRect.top + t, popupRect.right + t, popupRect.bottom);
    ShortenAgainstOthers(orientation, strip);
    shadow->PlaceStrip(strip);
    m_shadows.push_back(shadow);
    CutRegion(shadow, excludeRect);
    shadow->SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CTkSubclassRegistry::Instance().AddSink(popup, shadow);
    return shadow;
}

void CTkDropShadows::ShortenAgainstOthers(int orientation, CRect& strip) const {
    for (CTkDropShadowWnd* other : m_shadows) {
        if (other->GetOrientation() == orientation) continue;
        const CRect& theirs = other->m_rcStrip;
        if (!Overlaps(strip, theirs)) continue;
        if (orientation == CTkDropShadowWnd::Bottom) {
            if (theirs.left <= strip.left)
                strip.left = std::min(strip.right, theirs.right);
            else
                strip.right = theirs.left;
        } else {
            if (theirs.top <= strip.top)
                strip.top = std::min(strip.bottom, theirs.bottom);
            else
                strip.bottom = theirs.top;
        }
    }
}

void CTkDropShadows::CutRegion(CTkDropShadowWnd* shadow, const CRect& excludeRect) const {
    const CRect strip = shadow->m_rcStrip;
    std::vector<CRect> cuts;
    if (shadow->IsPainterShadow() && !excludeRect.IsRectEmpty()) cuts.push_back(excludeRect);
    for (CTkDropShadowWnd* other : m_shadows) {
        CRect popupRect;
        if (::IsWindow(other->GetPopup()) && ::GetWindowRect(other->GetPopup(), &popupRect)) cuts.push_back(popupRect);
    }
    HRGN region = nullptr;
    for (CRect cut : cuts) {
        if (!Overlaps(cut, strip)) continue;
        if (!region) region = ::CreateRectRgn(0, 0, strip.Width(), strip.Height());
        cut.OffsetRect(-strip.left, -strip.top);
        HRGN hole = ::CreateRectRgnIndirect(&cut);
        ::CombineRgn(region, region, hole, RGN_DIFF);
        ::DeleteObject(hole);
    }
    // The window owns the region from here on.
    if (region) ::SetWindowRgn(shadow->m_hWnd, region, TRUE);
}

void CTkDropShadows::DeleteShadow(CTkDropShadowWnd* shadow) {
    auto it = std::find(m_shadows.begin(), m_shadows.end(), shadow);
    if (it == m_shadows.end()) return;
    m_shadows.erase(it);
    CTkSubclassRegistry::Instance().RemoveSink(shadow->GetPopup(), shadow);
    if (shadow->GetSafeHwnd()) {
        shadow->ShowWindow(SW_HIDE);
        shadow->DestroyWindow();
    }
    delete shadow;
}
