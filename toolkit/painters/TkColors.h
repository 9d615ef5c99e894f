// The toolkit's table of 57 colours built from the system colours, the colour arithmetic it
// uses, the shared system data (small-icon size, regular and bold font) and version tests.
#pragma once

#include "painters/TkDrawTools.h"

// Colour indices of the table with a name of their own.
enum TkColorIndex : int {
    TK_COLOR_FIRST_DERIVED = 30,
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

    // The entry for 0-56, else the argument itself (a colour).
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

// The operating system's version, read once.
class CTkWindowsVersion {
public:
    static CTkWindowsVersion& Instance();
    // Platform 1, major 4, minor below 10.
    bool IsWin95Family() const;
    // Platform at least 2 and major at least 5.
    bool IsNT5OrLater() const;
    const OSVERSIONINFOA& Info() const { return m_info; }
    static bool IsWin95Family(const OSVERSIONINFOA& info);
    static bool IsNT5OrLater(const OSVERSIONINFOA& info);

private:
    CTkWindowsVersion();
    OSVERSIONINFOA m_info = {};
};

// Small-icon size and the regular and bold fonts of the toolkit's lists and headers.
class CTkSystemData {
public:
    static CTkSystemData& Instance();
    ~CTkSystemData();
    // Reads the metrics and rebuilds the fonts.
    void Refresh();

    int m_nSmallIconWidth = 16;
    int m_nSmallIconHeight = 16;
    CFont m_fontRegular;
    CFont m_fontBold;

private:
    CTkSystemData();
    void BuildFonts();
};
