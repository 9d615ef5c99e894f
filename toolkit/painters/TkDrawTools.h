// Small drawing tools shared by the toolkit's painters: selection scopes, an off-screen device
// context, rectangle helpers, a two-colour gradient fill and the low-colour display test.
#pragma once

#include "afxwin.h"

// Two colours of a gradient: where it starts and where it ends.
struct CTkColorPair {
    COLORREF clrStart = 0;
    COLORREF clrEnd = 0;
    CTkColorPair() = default;
    CTkColorPair(COLORREF start, COLORREF end) : clrStart(start), clrEnd(end) {}
    explicit CTkColorPair(COLORREF both) : clrStart(both), clrEnd(both) {}
    void SetColors(COLORREF start, COLORREF end) { clrStart = start; clrEnd = end; }
};

// Selects any GDI object into a device context for one scope and selects the old one back.
class CTkSelectObject {
public:
    CTkSelectObject(HDC dc, HGDIOBJ object);
    virtual ~CTkSelectObject();
    CTkSelectObject(const CTkSelectObject&) = delete;
    CTkSelectObject& operator=(const CTkSelectObject&) = delete;
    HGDIOBJ GetOldObject() const { return m_hOld; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// Selects a font (either may be absent) for one scope.
class CTkSelectFont {
public:
    CTkSelectFont(CDC* dc, CFont* font);
    ~CTkSelectFont();
    CTkSelectFont(const CTkSelectFont&) = delete;
    CTkSelectFont& operator=(const CTkSelectFont&) = delete;

private:
    CDC* m_pDC;
    HGDIOBJ m_hOld;
};

// A solid pen of width 1, created and selected for one scope.
class CTkPenScope {
public:
    CTkPenScope(HDC dc, COLORREF colour);
    ~CTkPenScope();
    CTkPenScope(const CTkPenScope&) = delete;
    CTkPenScope& operator=(const CTkPenScope&) = delete;
    HPEN GetPen() const { return (HPEN)m_pen.GetSafeHandle(); }

private:
    CPen m_pen;
    HDC m_hDC;
    HGDIOBJ m_hOld = nullptr;
};

// A solid brush, created and selected for one scope; its colour can be changed.
class CTkBrushScope {
public:
    CTkBrushScope(HDC dc, COLORREF colour);
    ~CTkBrushScope();
    CTkBrushScope(const CTkBrushScope&) = delete;
    CTkBrushScope& operator=(const CTkBrushScope&) = delete;
    void SetColor(COLORREF colour);
    HBRUSH GetBrush() const { return (HBRUSH)m_brush.GetSafeHandle(); }

private:
    void Select(COLORREF colour);
    CBrush m_brush;
    HDC m_hDC;
    HGDIOBJ m_hOld = nullptr;
};

// A memory device context compatible with a reference one, holding a bitmap for one scope.
class CTkBitmapDC {
public:
    CTkBitmapDC(HDC reference, HBITMAP bitmap);
    ~CTkBitmapDC();
    CTkBitmapDC(const CTkBitmapDC&) = delete;
    CTkBitmapDC& operator=(const CTkBitmapDC&) = delete;
    CDC& GetDC() { return m_dc; }
    HDC GetSafeHdc() const { return m_dc.GetSafeHdc(); }

private:
    CDC m_dc;
    HGDIOBJ m_hOld = nullptr;
};

// Draws off screen in the target's own coordinates and copies the rectangle to the target when
// it ends. The bitmap spans (0, 0) to (right, bottom).
class CTkOffscreenDC : public CDC {
public:
    CTkOffscreenDC(HDC target, const RECT& rect);
    ~CTkOffscreenDC() override;
    CTkOffscreenDC(const CTkOffscreenDC&) = delete;
    CTkOffscreenDC& operator=(const CTkOffscreenDC&) = delete;

private:
    HDC m_hTarget;
    CBitmap m_bitmap;
    CRect m_rect;
    HGDIOBJ m_hOldBitmap = nullptr;
};

// Rectangle helpers; each returns the rectangle it filled.
CRect& TkSetRectEmpty(CRect& rect);
CRect& TkGetWindowRect(HWND hwnd, CRect& rect);
CRect& TkGetWindowRect(const CWnd* wnd, CRect& rect);
CRect& TkGetClientRect(const CWnd* wnd, CRect& rect);

// True when the device context (or the desktop's when none) has 1 to 8 bits per pixel.
bool IsLowColorDisplay(HDC dc = nullptr);

// Per byte (1 - weight) x b + weight x a, truncated and limited to 255; weight from 0 to 1.
COLORREF BlendColorLinear(COLORREF a, COLORREF b, double weight);

// The GradientFill function of msimg32, loaded once at program start.
class CTkGradientFill {
public:
    using PFNGRADIENTFILL = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    CTkGradientFill();
    ~CTkGradientFill();
    CTkGradientFill(const CTkGradientFill&) = delete;
    CTkGradientFill& operator=(const CTkGradientFill&) = delete;
    static CTkGradientFill& Instance();

    HMODULE m_hModule = nullptr;
    PFNGRADIENTFILL m_pfnGradientFill = nullptr;
};

// Fills a rectangle with a two-colour gradient; the first column (row) has the from colour.
void FillGradientRect(HDC dc, const RECT* rect, COLORREF from, COLORREF to, bool horizontal);
void FillGradientRect(HDC dc, const RECT* rect, const CTkColorPair& colors, bool horizontal);
