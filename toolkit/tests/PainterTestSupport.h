// Helpers of the painter and bar tests: a painter made for one scope, the system states the
// painters are tested under, a test bar window and canvas comparisons.
#pragma once

#include "TkTestSupport.h"
#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"
#include "painters/TkThemePainterClassic.h"
#include "painters/TkThemePainterFlat.h"

#include <cstdlib>
#include <memory>

// A new painter of a theme, released at the end of the scope.
class CPainterScope {
public:
    explicit CPainterScope(int theme) : m_painter(CTkThemePainter::CreateTheme(theme)) {}
    ~CPainterScope() { m_painter->InternalRelease(); }
    CPainterScope(const CPainterScope&) = delete;
    CPainterScope& operator=(const CPainterScope&) = delete;
    CTkThemePainter* get() const { return m_painter; }
    CTkThemePainter* operator->() const { return m_painter; }

private:
    CTkThemePainter* m_painter;
};

// The system states the painters are tested under.
enum : int {
    kSeamUnthemed = 0,   // no visual style at all
    kSeamOlive = 1,      // the XP style's olive scheme, visual-styles drawing off
    kSeamWineStyle = 2,  // the system as it is, with a main window for the styles to open on
    kSeamBlue = 3,
    kSeamSilver = 4,
};

class CSeamScope {
public:
    explicit CSeamScope(int seam) {
        const int schemes[] = {0, 2, -1, 1, 3};
        CTkSysColors::SetLunaSchemeOverride(schemes[seam]);
        CTkVisualStyles::SetForceUnthemed(seam != kSeamWineStyle);
        if (seam == kSeamWineStyle && TkDesktopReady()) {
            m_main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr);
            m_saved = AfxGetApp()->m_pMainWnd;
            AfxGetApp()->m_pMainWnd = &m_main;
            CTkVisualStyles probe;
            probe.OpenTheme(m_main.GetSafeHwnd(), L"TOOLBAR");
            m_styled = probe.IsThemed();
        }
        CTkSysColors::Instance().Refresh(false);
    }
    ~CSeamScope() {
        if (m_main.GetSafeHwnd()) {
            AfxGetApp()->m_pMainWnd = m_saved;
            m_main.DestroyWindow();
        }
        CTkSysColors::SetLunaSchemeOverride(-1);
        CTkVisualStyles::SetForceUnthemed(false);
        CTkSysColors::Instance().Refresh(false);
    }
    CSeamScope(const CSeamScope&) = delete;
    CSeamScope& operator=(const CSeamScope&) = delete;
    bool IsStyled() const { return m_styled; }

private:
    CWnd m_main;
    CWnd* m_saved = nullptr;
    bool m_styled = false;
};

// A button of a fixed size.
class CFixedControl : public CTkControlButton {
public:
    explicit CFixedControl(CSize size, bool beginGroup = false) : m_size(size) { m_bBeginGroup = beginGroup ? 1 : 0; }
    CSize GetSize(CDC*) override { return m_size; }
    CSize m_size;
};

// A command bar window of a given size, hidden, holding test controls at fixed rectangles.
class CTestBar : public CTkCommandBar {
public:
    CTestBar(int width, int height, int position, int type = TK_BAR_TYPE_TOOLBAR, CWnd* parent = nullptr) {
        m_nPosition = position;
        m_nBarType = type;
        CreateEx(0, nullptr, "bar", parent ? WS_CHILD | WS_VISIBLE : WS_POPUP, 0, 0, width, height,
                 parent ? parent->GetSafeHwnd() : nullptr, nullptr);
    }
    ~CTestBar() override {
        if (GetSafeHwnd()) DestroyWindow();
    }
    CTkControl* AddButton(const CRect& rect, const char* caption) {
        auto* control = new CTkControlButton;
        control->m_rcControl = rect;
        control->m_strCaption = caption;
        return GetControls()->Append(control);
    }
};

// A device-context object of a canvas of its own (CDC::FromHandle shares one temporary object).
class CCanvasDC : public CDC {
public:
    explicit CCanvasDC(const CTkTestCanvas& canvas) { Attach(canvas.dc()); }
};

inline bool SameCanvas(const CTkTestCanvas& a, const CTkTestCanvas& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

inline bool IsBlank(const CTkTestCanvas& canvas, COLORREF paper) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.At(x, y) != paper) return false;
    return true;
}

inline bool SameRect(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

inline bool Near(COLORREF expected, COLORREF actual, int tolerance) {
    return std::abs(GetRValue(expected) - GetRValue(actual)) <= tolerance &&
           std::abs(GetGValue(expected) - GetGValue(actual)) <= tolerance &&
           std::abs(GetBValue(expected) - GetBValue(actual)) <= tolerance;
}

inline LOGFONTA FontOf(const CFont& font) {
    LOGFONTA data = {};
    ::GetObjectA(font.GetSafeHandle(), sizeof data, &data);
    return data;
}

inline NONCLIENTMETRICSA SystemMetrics() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    return metrics;
}
