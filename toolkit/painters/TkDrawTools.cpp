#include "painters/TkDrawTools.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Selection scopes.

CTkSelectObject::CTkSelectObject(HDC dc, HGDIOBJ object) : m_hDC(dc), m_hOld(nullptr) {
    if (m_hDC && object) m_hOld = ::SelectObject(m_hDC, object);
}

CTkSelectObject::~CTkSelectObject() {
    if (m_hDC && m_hOld) ::SelectObject(m_hDC, m_hOld);
}

CTkSelectFont::CTkSelectFont(CDC* dc, CFont* font) : m_pDC(dc), m_hOld(nullptr) {
    if (m_pDC && m_pDC->GetSafeHdc() && font && font->GetSafeHandle())
        m_hOld = ::SelectObject(m_pDC->GetSafeHdc(), font->GetSafeHandle());
}

CTkSelectFont::~CTkSelectFont() {
    if (m_pDC && m_hOld) ::SelectObject(m_pDC->GetSafeHdc(), m_hOld);
}

CTkPenScope::CTkPenScope(HDC dc, COLORREF colour) : m_hDC(dc) {
    if (m_pen.CreatePen(PS_SOLID, 1, colour) && m_hDC) m_hOld = ::SelectObject(m_hDC, m_pen.GetSafeHandle());
}

CTkPenScope::~CTkPenScope() {
    if (m_hDC && m_hOld) ::SelectObject(m_hDC, m_hOld);
    m_pen.DeleteObject();
}

CTkBrushScope::CTkBrushScope(HDC dc, COLORREF colour) : m_hDC(dc) {
    Select(colour);
}

CTkBrushScope::~CTkBrushScope() {
    if (m_hDC && m_hOld) ::SelectObject(m_hDC, m_hOld);
    m_brush.DeleteObject();
}

void CTkBrushScope::Select(COLORREF colour) {
    m_hOld = nullptr;
    if (m_brush.CreateSolidBrush(colour) && m_hDC) m_hOld = ::SelectObject(m_hDC, m_brush.GetSafeHandle());
}

void CTkBrushScope::SetColor(COLORREF colour) {
    if (m_hDC && m_hOld) ::SelectObject(m_hDC, m_hOld);
    m_brush.DeleteObject();
    Select(colour);
}

// ---------------------------------------------------------------------------------------------
// Memory device contexts.

CTkBitmapDC::CTkBitmapDC(HDC reference, HBITMAP bitmap) {
    CDC ref;
    ref.Attach(reference);
    m_dc.CreateCompatibleDC(&ref);
    ref.Detach();
    if (m_dc.GetSafeHdc() && bitmap) m_hOld = ::SelectObject(m_dc.GetSafeHdc(), bitmap);
}

CTkBitmapDC::~CTkBitmapDC() {
    if (m_dc.GetSafeHdc() && m_hOld) ::SelectObject(m_dc.GetSafeHdc(), m_hOld);
    // The CDC deletes the memory context it created.
}

CTkOffscreenDC::CTkOffscreenDC(HDC target, const RECT& rect) : m_hTarget(target), m_rect(rect) {
    m_hDC = ::CreateCompatibleDC(target);
    m_bOwned = true;
    if (!m_hDC) return;
    if (m_bitmap.Attach(::CreateCompatibleBitmap(target, std::max(1L, rect.right), std::max(1L, rect.bottom))))
        m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.GetSafeHandle());
}

CTkOffscreenDC::~CTkOffscreenDC() {
    if (m_hDC && m_hOldBitmap) {
        ::BitBlt(m_hTarget, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
                 m_rect.top, SRCCOPY);
        ::SelectObject(m_hDC, m_hOldBitmap);
    }
    m_bitmap.DeleteObject();
    // CDC's destructor deletes the memory context.
}

// ---------------------------------------------------------------------------------------------
// Rectangles.

CRect& TkSetRectEmpty(CRect& rect) {
    ::SetRectEmpty(&rect);
    return rect;
}

CRect& TkGetWindowRect(HWND hwnd, CRect& rect) {
    if (!hwnd || !::GetWindowRect(hwnd, &rect)) ::SetRectEmpty(&rect);
    return rect;
}

CRect& TkGetWindowRect(const CWnd* wnd, CRect& rect) {
    return TkGetWindowRect(wnd ? wnd->GetSafeHwnd() : nullptr, rect);
}

CRect& TkGetClientRect(const CWnd* wnd, CRect& rect) {
    if (!wnd || !wnd->GetSafeHwnd() || !::GetClientRect(wnd->GetSafeHwnd(), &rect)) ::SetRectEmpty(&rect);
    return rect;
}

// ---------------------------------------------------------------------------------------------
// Colours and gradients.

bool IsLowColorDisplay(HDC dc) {
    HDC probe = dc;
    if (!probe) probe = ::GetDC(::GetDesktopWindow());
    int bits = probe ? ::GetDeviceCaps(probe, BITSPIXEL) : 0;
    if (!dc && probe) ::ReleaseDC(::GetDesktopWindow(), probe);
    return bits >= 1 && bits <= 8;
}

COLORREF BlendColorLinear(COLORREF a, COLORREF b, double weight) {
    auto mix = [weight](int byteA, int byteB) {
        double value = (1.0 - weight) * byteB + weight * byteA;
        int result = (int)value;
        return (BYTE)std::min(255, std::max(0, result));
    };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

CTkGradientFill::CTkGradientFill() {
    m_hModule = ::LoadLibraryW(L"msimg32.dll");
    if (m_hModule)
        m_pfnGradientFill = reinterpret_cast<PFNGRADIENTFILL>(
            reinterpret_cast<void*>(::GetProcAddress(m_hModule, "GradientFill")));
}

CTkGradientFill::~CTkGradientFill() {
    if (m_hModule) ::FreeLibrary(m_hModule);
}

namespace {
CTkGradientFill g_gradientFill;  // filled at program start, freed at exit
}

CTkGradientFill& CTkGradientFill::Instance() {
    return g_gradientFill;
}

static void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void FillGradientRect(HDC dc, const RECT* rect, COLORREF from, COLORREF to, bool horizontal) {
    if (!dc || !rect || ::IsRectEmpty(rect)) return;
    if (IsLowColorDisplay(dc) || from == to) {
        FillSolid(dc, *rect, from);
        return;
    }
    if (auto gradientFill = CTkGradientFill::Instance().m_pfnGradientFill) {
        TRIVERTEX vertices[2] = {};
        vertices[0].x = rect->left;
        vertices[0].y = rect->top;
        vertices[0].Red = (COLOR16)(GetRValue(from) << 8);
        vertices[0].Green = (COLOR16)(GetGValue(from) << 8);
        vertices[0].Blue = (COLOR16)(GetBValue(from) << 8);
        vertices[1].x = rect->right;
        vertices[1].y = rect->bottom;
        vertices[1].Red = (COLOR16)(GetRValue(to) << 8);
        vertices[1].Green = (COLOR16)(GetGValue(to) << 8);
        vertices[1].Blue = (COLOR16)(GetBValue(to) << 8);
        GRADIENT_RECT gradient = {0, 1};
        gradientFill(dc, vertices, 2, &gradient, 1, horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    // Drawn by hand, one column (row) at a time, only where the clip region allows.
    RECT area = *rect;
    RECT clip = {};
    if (::GetClipBox(dc, &clip) != NULLREGION && !::IsRectEmpty(&clip)) {
        if (!::IntersectRect(&area, &clip, rect)) return;
    }
    if (horizontal) {
        int width = rect->right - rect->left;
        if (width <= 0) width = 1;
        for (int x = area.left; x < area.right; ++x) {
            double weight = 1.0 - double(x - rect->left) / width;
            RECT column = {x, area.top, x + 1, area.bottom};
            FillSolid(dc, column, BlendColorLinear(from, to, weight));
        }
    } else {
        int height = rect->bottom - rect->top;
        if (height <= 0) height = 1;
        for (int y = area.top; y < area.bottom; ++y) {
            double weight = 1.0 - double(y - rect->top) / height;
            RECT row = {area.left, y, area.right, y + 1};
            FillSolid(dc, row, BlendColorLinear(from, to, weight));
        }
    }
}

void FillGradientRect(HDC dc, const RECT* rect, const CTkColorPair& colors, bool horizontal) {
    FillGradientRect(dc, rect, colors.clrStart, colors.clrEnd, horizontal);
}
