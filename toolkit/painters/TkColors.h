// The toolkit's table of 57 colours built from the system colours, and the colour arithmetic it
// uses.
#pragma once

#include "painters/TkDrawTools.h"

// The entries of the colour table. Entries 1 to 27 hold the system colours of the same numbers
// (COLOR_...); entries 30 to 56 are the toolkit's own, derived from them and, with an XP colour
// scheme, replaced by the scheme's colours. A colour argument below TK_COLOR_COUNT is one of these.
enum TkColor : int {
    TK_COLOR_BLACK = 0,
    TK_COLOR_BACKGROUND = COLOR_BACKGROUND,  // the desktop
    TK_COLOR_ACTIVECAPTION = COLOR_ACTIVECAPTION,
    TK_COLOR_INACTIVECAPTION = COLOR_INACTIVECAPTION,
    TK_COLOR_MENU = COLOR_MENU,
    TK_COLOR_WINDOW = COLOR_WINDOW,
    TK_COLOR_WINDOWFRAME = COLOR_WINDOWFRAME,
    TK_COLOR_MENUTEXT = COLOR_MENUTEXT,
    TK_COLOR_WINDOWTEXT = COLOR_WINDOWTEXT,
    TK_COLOR_CAPTIONTEXT = COLOR_CAPTIONTEXT,
    TK_COLOR_ACTIVEBORDER = COLOR_ACTIVEBORDER,
    TK_COLOR_INACTIVEBORDER = COLOR_INACTIVEBORDER,
    TK_COLOR_APPWORKSPACE = COLOR_APPWORKSPACE,  // an XP scheme gives its own
    TK_COLOR_HIGHLIGHT = COLOR_HIGHLIGHT,
    TK_COLOR_HIGHLIGHTTEXT = COLOR_HIGHLIGHTTEXT,
    TK_COLOR_BTNFACE = COLOR_BTNFACE,
    TK_COLOR_BTNSHADOW = COLOR_BTNSHADOW,
    TK_COLOR_GRAYTEXT = COLOR_GRAYTEXT,
    TK_COLOR_BTNTEXT = COLOR_BTNTEXT,
    TK_COLOR_INACTIVECAPTIONTEXT = COLOR_INACTIVECAPTIONTEXT,
    TK_COLOR_BTNHIGHLIGHT = COLOR_BTNHIGHLIGHT,
    TK_COLOR_3DDKSHADOW = COLOR_3DDKSHADOW,
    TK_COLOR_3DLIGHT = COLOR_3DLIGHT,  // the button face made a little lighter
    TK_COLOR_INFOTEXT = COLOR_INFOTEXT,
    TK_COLOR_INFOBK = COLOR_INFOBK,
    TK_COLOR_UNUSED_25 = 25,  // no system colour has this number
    TK_COLOR_HOTLIGHT = COLOR_HOTLIGHT,
    TK_COLOR_GRADIENTACTIVECAPTION = COLOR_GRADIENTACTIVECAPTION,
    TK_COLOR_UNUSED_28 = 28,  // always black
    TK_COLOR_UNUSED_29 = 29,  // always black

    TK_COLOR_FIRST_DERIVED = 30,
    TK_COLOR_BAR_FACE = 30,             // docked bars, idle frames, the menu gutter
    TK_COLOR_HOT_FILL = 31,             // a hot button or menu item
    TK_COLOR_HOT_BORDER = 32,
    TK_COLOR_PRESSED_FILL = 33,         // a pressed button, a checked hot one
    TK_COLOR_HOT_FILL_DARK = 34,        // three quarters of the hot fill
    TK_COLOR_MENU_DISABLED_TEXT = 35,   // disabled captions on menus
    TK_COLOR_CHECKED_FILL = 36,
    TK_COLOR_CHECKED_HOT_BORDER = 37,
    TK_COLOR_GRIPPER = 38,
    TK_COLOR_SEPARATOR = 39,
    TK_COLOR_DISABLED = 40,             // disabled captions and images on bars
    TK_COLOR_MENU_BACK = 41,            // popup bars, the popup caption strip
    TK_COLOR_RARELY_USED_GUTTER = 42,   // the gutter of rarely used menu items
    TK_COLOR_FRAME = 43,                // floating and popup bar frames, an open popup's button
    TK_COLOR_MENU_ITEM_TEXT = 44,       // enabled captions on menus
    TK_COLOR_HOT_TEXT = 45,             // captions of hot buttons and items
    TK_COLOR_BAR_TEXT = 46,             // captions on bars
    TK_COLOR_PRESSED_TEXT = 47,         // captions of pressed buttons
    TK_COLOR_FACE_LIGHT = 48,           // the button face brightened
    TK_COLOR_SHADOW_DARK = 49,          // the button shadow darkened
    TK_COLOR_CHECKED_BORDER = 50,
    TK_COLOR_EXPAND_TINT = 51,          // blended into the expand button's gradient
    TK_COLOR_SCHEME_SHADE = 52,         // the button shadow, or an XP scheme's shade
    TK_COLOR_FACE_TINT = 53,            // the bar face, or an XP scheme's tint
    TK_COLOR_SCHEME_BORDER = 54,        // the desktop alert's border with an XP scheme
    TK_COLOR_FACE_GRADIENT_END = 55,    // the end of the face gradient (the flat XP painter)
    TK_COLOR_RARELY_USED_BACK = 56,     // right of the gutter of rarely used menu items
    TK_COLOR_COUNT = 57,
};

// Blends per byte (weight x a + (scale - weight) x b + scale / 2) / scale; weights below 100 are
// per cent, 100 and above per mille.
COLORREF BlendColors(COLORREF a, COLORREF b, int weight);

// Contrast in a space where red spans 0-195, green 0-390 and blue 0-65.
double TkColorDistance(COLORREF a, COLORREF b);
double TkColorBrightness(COLORREF colour);
// True when b lies further from a than the limit, doubled for a dark a.
bool IsContrastEnough(COLORREF a, COLORREF b, int limit);
// b moved along the line to a until its distance from a is the threshold.
COLORREF PullColorTowards(COLORREF a, COLORREF b, int limit);
// b made lighter or darker, its hue kept, until its distance from a is the threshold.
COLORREF PushColorAway(COLORREF a, COLORREF b, int limit);

// What the table is built from: the system colours 0-27, the low-colour test and the scheme of
// the XP visual style (0 none, 1 blue, 2 olive, 3 silver).
struct CTkColorInputs {
    COLORREF sysColors[28] = {};
    bool lowColor = false;
    int lunaScheme = 0;
    static CTkColorInputs FromSystem();
};

class CTkSysColors {
public:
    static CTkSysColors& Instance();

    // The entry for a TkColor, else the argument itself (a colour).
    COLORREF GetColor(COLORREF index) const;
    // Rebuilds the table from the system; with onlyOnce, only when it was never built.
    void Refresh(bool onlyOnce = false);
    // Builds the table from the given inputs.
    void Build(const CTkColorInputs& inputs);
    bool IsBuilt() const { return m_bBuilt; }

    // 0 none, 1 blue, 2 olive, 3 silver; asked of the system at every call.
    static int GetLunaScheme();
    // Tests play a system with an XP colour scheme through this; -1 asks the system again.
    static void SetLunaSchemeOverride(int scheme);
    // The same rule for given theme file and colour names.
    static int LunaSchemeOf(const wchar_t* fileName, const wchar_t* colorName);

    CTkColorPair m_grcFirst;
    CTkColorPair m_grcSecond;
    CTkColorPair m_grcThird;

private:
    CTkSysColors() = default;
    COLORREF m_colors[TK_COLOR_COUNT] = {};
    bool m_bBuilt = false;
};

// A colour argument of the toolkit: an index into the table or the colour itself.
inline COLORREF TkGetColor(COLORREF indexOrColor) {
    return CTkSysColors::Instance().GetColor(indexOrColor);
}
