// The theme painters: all drawing of command bars, their controls and the status bar goes
// through one painter, which decides how things look. The base keeps the painter's copy of the
// colour table, the shared fonts and the operations that look the same in every theme; each
// theme supplies the rest. Every operation that measures and draws takes a draw flag and
// returns a size, drawing only when the flag is set.
#pragma once

#include "afxcmn.h"
#include "painters/TkColors.h"

#include <vector>

class CTkCommandBar;
class CTkCommandBars;
class CTkControl;
class CTkIconEntry;

// The state a button face or frame is drawn in.
struct CTkButtonState {
    int hot = 0;          // 1 hot; 2 a disabled item selected by keyboard
    int pressed = 0;      // 1 pressed; 2 held down
    bool enabled = true;
    bool checked = false;
    bool popupOpen = false;
    bool withBorder = true;
};

enum TkThemeId : int {
    TK_THEME_FLAT = 0,
    TK_THEME_CLASSIC = 1,
    TK_THEME_FLAT_LUNA = 2,
    TK_THEME_VISUAL_STYLES = 3,
};

enum TkSpecialGlyph : int {
    TK_GLYPH_EXPAND = 0,
    TK_GLYPH_MORE_ITEMS = 1,
    TK_GLYPH_CLOSE = 2,
    TK_GLYPH_ARROW = 3,
    TK_GLYPH_TOGGLE_ITEM = 4,
};

enum TkPopupAnimation : int {
    TK_ANIMATION_NONE = 0,
    TK_ANIMATION_SLIDE = 2,
    TK_ANIMATION_UNFOLD = 3,
    TK_ANIMATION_FADE = 4,
};

// One row of a popup bar that grows while it expands: its source rows and whether it was hidden.
struct CTkExpandRow {
    int top = 0;
    int bottom = 0;
    bool hidden = false;
};

// The fonts shared by every painter, rebuilt together.
struct CTkPainterFonts {
    CFont regular, bold, status, vertical, verticalBold, smallCaption, iconTitle, iconTitleBold, marlett;
    // The symbol font of the caption glyphs (the close glyph, the MDI child's caption buttons):
    // eight points scaled by 96 / the screen's horizontal resolution.
    CFont glyph;
};

class CTkThemePainter : public CCmdTarget {
public:
    ~CTkThemePainter() override;

    // A new painter for a theme id: 0 flat, 2 flat with XP colours, 3 visual styles, any other
    // classic. The caller owns the one reference.
    static CTkThemePainter* CreateTheme(int themeId);
    // Makes a painter of that theme current; none when the current one has that id already.
    static CTkThemePainter* SelectTheme(int themeId);
    // The process-wide current painter; a classic painter is made when none was selected yet.
    static CTkThemePainter* GetCurrent();
    // The painter in force for a manager's bars: its own painter when it has one, else current.
    static CTkThemePainter* PainterFor(const CTkCommandBars* manager);
    // Releases the current painter (exit).
    static void ReleaseCurrent();

    int GetThemeId() const { return m_nThemeId; }
    // A colour argument: a TkColor entry of this painter's table, or the colour itself.
    COLORREF GetColor(COLORREF indexOrColor) const {
        return indexOrColor < (COLORREF)TK_COLOR_COUNT ? m_colors[indexOrColor] : indexOrColor;
    }
    // Writes entries of this painter's own copy of the table.
    void SetColors(int count, const int* indices, const COLORREF* colors);

    // --- The painter's operations, declared in the order of their entries in the virtual-function table.
    virtual CSize PaintMenuItem(CDC* dc, CTkControl* control, bool draw) = 0;
    virtual CSize PaintToolbarControl(CDC* dc, CTkControl* control, bool draw);
    virtual void PaintSplitButton(CDC* dc, const CRect& rect, CTkControl* control);
    virtual CSize PaintComboControl(CDC* dc, CTkControl* control, bool draw) = 0;
    virtual CSize PaintEditControl(CDC* dc, CTkControl* control, bool draw) = 0;
    // A command in the customise dialog's list; control may be none.
    virtual void PaintListItem(CDC* dc, CTkControl* control, const CRect& rect, bool selected, CWnd* list) = 0;
    virtual void PaintBarBackground(CDC* dc, CTkCommandBar* bar) = 0;
    // The face of a button by state; leaves the text colour for its caption.
    virtual void PaintButtonFace(CDC* dc, const CRect& rect, const CTkButtonState& state, int position) = 0;
    virtual void PaintControlFace(CDC* dc, CTkControl* control);
    virtual void PaintButtonFrame(CDC* dc, const CRect& rect, const CTkButtonState& state, int position) = 0;
    virtual CSize PaintGripper(CDC* dc, CTkCommandBar* bar, bool draw) = 0;
    virtual CSize PaintSeparator(CDC* dc, CTkCommandBar* bar, CTkControl* control, bool draw) = 0;
    // Widens or shrinks the rectangle a control's popup must not cover.
    virtual void AdjustPopupExcludeRect(CRect& rect, CTkControl* control) = 0;
    virtual void PaintStatusPane(CDC* dc, const CRect& rect, UINT style, const CString& text) = 0;
    virtual void PaintSizeGrip(CDC* dc, const CRect& client);
    virtual void PaintDockBarBackground(CDC* dc, CWnd* dockBar);
    virtual void PaintStatusBarBackground(CDC* dc, CWnd* statusBar);
    virtual void RefreshColorsAndFonts();
    virtual bool HasPopupShadow() const { return false; }
    virtual CSize PaintSpecialGlyph(CDC* dc, int kind, CTkControl* control, bool draw);
    // Left, top, right and bottom border widths of a bar.
    virtual CRect GetBarBorders(CTkCommandBar* bar);
    virtual CSize PaintPopupCaptionStrip(CDC* dc, const CRect& rect, bool active, bool draw) = 0;
    virtual void PaintControlImage(CDC* dc, CPoint position, CSize size, CTkIconEntry* image,
                                   const CTkButtonState& state) = 0;
    virtual int GetThemeKind() const = 0;
    virtual CFont* GetControlFont(CTkCommandBar* bar, bool bold);
    virtual void AnimatePopup(CDC* dest, CDC* source, const CRect& rect, int kind);
    virtual void AnimateExpand(CDC* dest, CDC* source, const CRect& rect, const std::vector<CTkExpandRow>& rows);

    // What a control's size and draw requests call: edits and combo boxes get their font and
    // margins first; controls of popup bars are menu items; all others toolbar controls.
    CSize DrawControl(CDC* dc, CTkControl* control, bool draw);
    // The state a control's face is drawn in.
    static CTkButtonState StateOf(const CTkControl* control);

    void PaintGradient(CDC* dc, const CRect& rect, COLORREF from, COLORREF to, bool horizontal);
    // Shape tools; colours are table indices or colours.
    void PaintTriangle(CDC* dc, POINT a, POINT b, POINT c, COLORREF colour);
    void PaintLine(CDC* dc, int x1, int y1, int x2, int y2, COLORREF colour);
    void FillRect(CDC* dc, const CRect& rect, COLORREF colour);
    // Filled with fill and framed in a one-pixel border.
    void PaintFramedRect(CDC* dc, const CRect& rect, COLORREF fill, COLORREF border);
    void PaintFrame(CDC* dc, const CRect& rect, COLORREF colour);
    void Draw3dRect(CDC* dc, const CRect& rect, COLORREF topLeft, COLORREF bottomRight);
    // The check mark in an image cell at (x, y); rightToLeft gives the mirrored form.
    void PaintCheckMark(CDC* dc, int x, int y, COLORREF colour, bool rightToLeft);

    // "&&" stays one "&"; every other "&" goes.
    static CString StripMnemonics(const CString& text);
    // Strips mnemonics and, for bars laid out right to left, puts a leading number behind.
    static CString PrepareMenuText(const CString& text, bool rightToLeft);
    // Measures and draws a caption; returns its size.
    CSize PaintControlText(CDC* dc, const CString& text, const CRect& rect, bool draw, bool vertical, bool centred,
                           bool triangle, bool embossed);
    CSize MeasureCaption(CDC* dc, const CString& caption, const CRect& rect, bool hasImage, bool vertical,
                         CSize imageCell);

    // --- Shared fonts and metrics.
    static CTkPainterFonts& Fonts();
    // Rebuilds the nine fonts from the system's metrics (or the given ones, for tests); windows
    // registered as holding a shared font get its new version before the old one is deleted.
    static void RebuildFonts(const NONCLIENTMETRICSA* metrics = nullptr, const LOGFONTA* iconTitle = nullptr);
    static void AddFontUser(HWND window);
    static void RemoveFontUser(HWND window);
    static int GetPopupItemHeight();
    static bool IsTahomaSeen();

    // Image options the themes set.
    bool m_bFadedIdleImages = false;
    bool m_bShadowedHotImages = false;
    int m_nAnimationSteps = 10;
    int m_nAnimationLength = 100;

protected:
    CTkThemePainter();
    // Draws a control's image of the bar's image width at a point; false without a picture.
    CTkIconEntry* ControlIcon(CTkControl* control, int width);
    // Small helpers of the themes.
    static CRect ClientOf(CWnd* window);
    static CRect Deflated(const CRect& rect, int dx, int dy);
    static SIZE TextExtent(HDC dc, const CString& text);
    // The shortcut text shown beside a menu item's caption.
    static const CString& ShortcutOf(const CTkControl* control);
    // A status pane's text, unless the pane is disabled.
    static void PaintPaneText(CDC* dc, const CRect& rect, UINT style, const CString& text);
    // The part of a customise-list row right of its image cell: caption, popup arrow, field.
    void PaintListItemText(CDC* dc, CTkControl* control, const CRect& rect, CWnd* list, int captionLeft,
                           COLORREF text, COLORREF splitLine, COLORREF fieldBorder, int fieldGap);
    // The text of a combo box's field, left of its drop button.
    static void PaintFieldText(CDC* dc, CTkControl* control, const CRect& field, const CRect& button);
    // A floating bar's caption: its title on a strip at least 18 pixels high; returns its size.
    CSize PaintFloatingCaption(CDC* dc, CTkCommandBar* bar, COLORREF fill, COLORREF text, bool draw);

    int m_nThemeId = TK_THEME_CLASSIC;
    COLORREF m_colors[TK_COLOR_COUNT] = {};
};
