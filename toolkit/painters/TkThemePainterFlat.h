// The flat theme (flat bars on a tinted background, hot and checked buttons as filled
// rectangles with a one-pixel border, menus with a shaded image gutter, shadows under popups)
// and the flat theme with the XP scheme colours, the one the program selects: gradients on
// bars and menus, and with the blue, olive or silver scheme of the XP style its fixed colours
// and gradient buttons.
#pragma once

#include "painters/TkThemePainter.h"
#include "painters/TkVisualStyles.h"

class CTkThemePainterFlat : public CTkThemePainter {
public:
    CTkThemePainterFlat();

    CSize PaintMenuItem(CDC* dc, CTkControl* control, bool draw) override;
    CSize PaintComboControl(CDC* dc, CTkControl* control, bool draw) override;
    CSize PaintEditControl(CDC* dc, CTkControl* control, bool draw) override;
    void PaintListItem(CDC* dc, CTkControl* control, const CRect& rect, bool selected, CWnd* list) override;
    void PaintBarBackground(CDC* dc, CTkCommandBar* bar) override;
    void PaintButtonFace(CDC* dc, const CRect& rect, const CTkButtonState& state, int position) override;
    void PaintButtonFrame(CDC* dc, const CRect& rect, const CTkButtonState& state, int position) override;
    CSize PaintGripper(CDC* dc, CTkCommandBar* bar, bool draw) override;
    CSize PaintSeparator(CDC* dc, CTkCommandBar* bar, CTkControl* control, bool draw) override;
    void AdjustPopupExcludeRect(CRect& rect, CTkControl* control) override;
    void PaintStatusPane(CDC* dc, const CRect& rect, UINT style, const CString& text) override;
    bool HasPopupShadow() const override { return true; }
    CSize PaintSpecialGlyph(CDC* dc, int kind, CTkControl* control, bool draw) override;
    CSize PaintPopupCaptionStrip(CDC* dc, const CRect& rect, bool active, bool draw) override;
    void PaintControlImage(CDC* dc, CPoint position, CSize size, CTkIconEntry* image,
                           const CTkButtonState& state) override;
    int GetThemeKind() const override { return TK_THEME_FLAT; }

    // The fill of the menus' image gutter.
    virtual void PaintMenuGutter(CDC* dc, const CRect& rect, bool rarelyUsed);

    // The text colour of a button face by state.
    static int TextColorOf(const CTkButtonState& state);

protected:
    // Floating bars: a double frame with its inner corners; popup bars: tint, gutter and seam.
    void PaintFloatingBackground(CDC* dc, CTkCommandBar* bar, COLORREF fill);
    void PaintPopupBackground(CDC* dc, CTkCommandBar* bar);
    // Joins an open popup to the control that opened it.
    void PaintPopupSeam(CDC* dc, CTkCommandBar* popup);
    CSize PaintFieldControl(CDC* dc, CTkControl* control, bool draw, bool combo);
};

// The extra colours of the flat XP painter.
struct CTkLunaColors {
    CTkColorPair bar;            // bar gradient start / end
    CTkColorPair body;           // toolbar body start / end
    CTkColorPair popupOpen;      // a button whose popup is open
    COLORREF shadowLine = 0;     // under docked toolbars
    COLORREF floatingCaption = 0;
    CTkColorPair expand;         // the expand button
    CTkColorPair rarelyGutter;   // gutter of rarely used items
    COLORREF imageShade1 = 0;
    COLORREF imageShade2 = 0;
    COLORREF statusBorder = 0;
};

class CTkThemePainterFlatLuna : public CTkThemePainterFlat {
public:
    CTkThemePainterFlatLuna();

    void PaintBarBackground(CDC* dc, CTkCommandBar* bar) override;
    void PaintButtonFrame(CDC* dc, const CRect& rect, const CTkButtonState& state, int position) override;
    CSize PaintGripper(CDC* dc, CTkCommandBar* bar, bool draw) override;
    CSize PaintSeparator(CDC* dc, CTkCommandBar* bar, CTkControl* control, bool draw) override;
    void PaintStatusPane(CDC* dc, const CRect& rect, UINT style, const CString& text) override;
    void PaintSizeGrip(CDC* dc, const CRect& client) override;
    void PaintDockBarBackground(CDC* dc, CWnd* dockBar) override;
    void RefreshColorsAndFonts() override;
    CSize PaintSpecialGlyph(CDC* dc, int kind, CTkControl* control, bool draw) override;
    CRect GetBarBorders(CTkCommandBar* bar) override;
    CSize PaintPopupCaptionStrip(CDC* dc, const CRect& rect, bool active, bool draw) override;
    int GetThemeKind() const override { return TK_THEME_FLAT_LUNA; }
    void PaintMenuGutter(CDC* dc, const CRect& rect, bool rarelyUsed) override;

    const CTkLunaColors& GetLunaColors() const { return m_luna; }
    bool IsSchemeApplied() const { return m_bSchemeApplied; }

protected:
    // The bar gradient over at least half the screen's width, aligned with the window's parent.
    void PaintBarGradient(CDC* dc, CWnd* window, const CRect& client);
    void PaintToolbarBody(CDC* dc, CTkCommandBar* bar, const CRect& client);
    void PaintDots(CDC* dc, int x, int y);

    CTkVisualStyles m_status;
    CTkLunaColors m_luna;
    bool m_bSchemeApplied = false;
};
