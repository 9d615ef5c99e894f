// The classic theme (raised and sunken 3-D frames in the system's button colours) and the
// visual-styles theme, which draws toolbars, split buttons, grippers and backgrounds with the
// system's visual styles and falls back to the classic drawing wherever they are missing.
#pragma once

#include "painters/TkThemePainter.h"
#include "painters/TkVisualStyles.h"

class CTkThemePainterClassic : public CTkThemePainter {
public:
    CTkThemePainterClassic();

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
    CSize PaintSpecialGlyph(CDC* dc, int kind, CTkControl* control, bool draw) override;
    CRect GetBarBorders(CTkCommandBar* bar) override;
    CSize PaintPopupCaptionStrip(CDC* dc, const CRect& rect, bool active, bool draw) override;
    void PaintControlImage(CDC* dc, CPoint position, CSize size, CTkIconEntry* image,
                           const CTkButtonState& state) override;
    int GetThemeKind() const override { return TK_THEME_CLASSIC; }

    using CTkThemePainter::PaintControlText;
    // A caption in a rectangle; disabled, unselected text is embossed when asked.
    void PaintControlText(CDC* dc, const CString& text, const CRect& rect, UINT format, bool enabled, bool selected,
                          bool embossed);

protected:
    // A menu-item row: image cell, caption and shortcut text; the size with extraWidth added.
    CSize PaintMenuRow(CDC* dc, CTkControl* control, bool draw, int captionLeft, int shortcutLeft, int extraWidth);
    // The 20 x 20 image cell of a menu item or toggle item: frame, image or check mark.
    void PaintMenuCell(CDC* dc, CTkControl* control, const CRect& cell, bool selected);
    // The checked-idle dither: a checkerboard of face and highlight.
    void PaintDither(CDC* dc, const CRect& rect);
    CSize PaintFieldControl(CDC* dc, CTkControl* control, bool draw, bool combo);
};

class CTkThemePainterVisualStyles : public CTkThemePainterClassic {
public:
    CTkThemePainterVisualStyles();

    void PaintSplitButton(CDC* dc, const CRect& rect, CTkControl* control) override;
    void PaintBarBackground(CDC* dc, CTkCommandBar* bar) override;
    void PaintButtonFrame(CDC* dc, const CRect& rect, const CTkButtonState& state, int position) override;
    CSize PaintGripper(CDC* dc, CTkCommandBar* bar, bool draw) override;
    void AdjustPopupExcludeRect(CRect& rect, CTkControl* control) override;
    void PaintDockBarBackground(CDC* dc, CWnd* dockBar) override;
    void PaintStatusBarBackground(CDC* dc, CWnd* statusBar) override;
    void RefreshColorsAndFonts() override;
    int GetThemeKind() const override { return TK_THEME_VISUAL_STYLES; }

protected:
    // The rebar background over a window's client area, aligned with its parent frame.
    bool PaintRebarBackground(CDC* dc, CWnd* window);

    CTkVisualStyles m_rebar;
    CTkVisualStyles m_toolbar;
};
