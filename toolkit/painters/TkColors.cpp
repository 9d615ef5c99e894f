#include "painters/TkColors.h"

#include "painters/TkVisualStyles.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <string>

// ---------------------------------------------------------------------------------------------
// Colour arithmetic.

COLORREF BlendColors(COLORREF a, COLORREF b, int weight) {
    const int scale = weight < 100 ? 100 : 1000;
    auto mix = [&](int byteA, int byteB) { return (BYTE)((weight * byteA + (scale - weight) * byteB + scale / 2) / scale); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

namespace {
const double kRange[3] = {195.0, 390.0, 65.0};

struct Scaled {
    double c[3];
};

Scaled ScaleColor(COLORREF colour) {
    return {{GetRValue(colour) * kRange[0] / 255.0, GetGValue(colour) * kRange[1] / 255.0,
             GetBValue(colour) * kRange[2] / 255.0}};
}

double Length(const Scaled& s) {
    return std::sqrt(s.c[0] * s.c[0] + s.c[1] * s.c[1] + s.c[2] * s.c[2]);
}

COLORREF Unscale(Scaled s) {
    BYTE bytes[3];
    for (int i = 0; i < 3; ++i) {
        double v = std::min(std::max(s.c[i], 0.0), kRange[i]);
        int value = (int)(v * 255.0 / kRange[i] + 0.5);
        bytes[i] = (BYTE)std::min(255, std::max(0, value));
    }
    return RGB(bytes[0], bytes[1], bytes[2]);
}

double Threshold(COLORREF a, int limit) {
    int brightness = std::min(220, (int)TkColorBrightness(a));
    return (2.0 - brightness / 220.0) * limit;
}
}  // namespace

double TkColorDistance(COLORREF a, COLORREF b) {
    Scaled sa = ScaleColor(a), sb = ScaleColor(b);
    Scaled d = {{sa.c[0] - sb.c[0], sa.c[1] - sb.c[1], sa.c[2] - sb.c[2]}};
    return Length(d);
}

double TkColorBrightness(COLORREF colour) {
    return Length(ScaleColor(colour));
}

bool IsContrastEnough(COLORREF a, COLORREF b, int limit) {
    double threshold = Threshold(a, limit);
    double distance = TkColorDistance(a, b);
    return distance * distance > threshold * threshold;
}

COLORREF PullColorTowards(COLORREF a, COLORREF b, int limit) {
    double threshold = Threshold(a, limit);
    double d = TkColorDistance(a, b);
    if (d <= 0.0) return b;
    Scaled sa = ScaleColor(a), sb = ScaleColor(b), result;
    for (int i = 0; i < 3; ++i) result.c[i] = sb.c[i] + (sa.c[i] - sb.c[i]) * (d - threshold) / d;
    return Unscale(result);
}

COLORREF PushColorAway(COLORREF a, COLORREF b, int limit) {
    double threshold = Threshold(a, limit);
    double brightA = TkColorBrightness(a), brightB = TkColorBrightness(b);
    bool bBrighter = brightB > brightA;
    bool fromBlack = (!bBrighter && brightA > threshold) || (bBrighter && brightA > 442.0 - threshold);
    Scaled sa = ScaleColor(a), sb = ScaleColor(b);
    if (!fromBlack) {
        for (int i = 0; i < 3; ++i) {
            sa.c[i] = kRange[i] - sa.c[i];
            sb.c[i] = kRange[i] - sb.c[i];
        }
    }
    double length = std::max(Length(sb), 0.001);
    Scaled unit = {{sb.c[0] / length, sb.c[1] / length, sb.c[2] / length}};
    double projection = sa.c[0] * unit.c[0] + sa.c[1] * unit.c[1] + sa.c[2] * unit.c[2];
    double aSquared = sa.c[0] * sa.c[0] + sa.c[1] * sa.c[1] + sa.c[2] * sa.c[2];
    double rayDistanceSquared = std::max(0.0, aSquared - projection * projection);
    double t = projection - std::sqrt(std::max(0.0, threshold * threshold - rayDistanceSquared));
    Scaled result = {{unit.c[0] * t, unit.c[1] * t, unit.c[2] * t}};
    if (!fromBlack)
        for (int i = 0; i < 3; ++i) result.c[i] = kRange[i] - result.c[i];
    return Unscale(result);
}

// ---------------------------------------------------------------------------------------------
// The colour table.

CTkColorInputs CTkColorInputs::FromSystem() {
    CTkColorInputs inputs;
    inputs.sysColors[0] = 0;
    for (int i = 1; i < 28; ++i) inputs.sysColors[i] = ::GetSysColor(i);
    inputs.lowColor = IsLowColorDisplay(nullptr);
    inputs.lunaScheme = CTkSysColors::GetLunaScheme();
    return inputs;
}

CTkSysColors& CTkSysColors::Instance() {
    static CTkSysColors* instance = [] {
        auto* colors = new CTkSysColors;
        colors->Refresh(false);
        return colors;
    }();
    return *instance;
}

COLORREF CTkSysColors::GetColor(COLORREF index) const {
    return index < TK_COLOR_COUNT ? m_colors[index] : index;
}

void CTkSysColors::Refresh(bool onlyOnce) {
    if (onlyOnce && m_bBuilt) return;
    Build(CTkColorInputs::FromSystem());
}

void CTkSysColors::Build(const CTkColorInputs& in) {
    m_bBuilt = true;
    COLORREF* c = m_colors;
    c[TK_COLOR_BLACK] = 0;
    for (int i = TK_COLOR_BACKGROUND; i <= TK_COLOR_GRADIENTACTIVECAPTION; ++i) c[i] = in.sysColors[i];
    c[TK_COLOR_UNUSED_28] = c[TK_COLOR_UNUSED_29] = 0;

    // Every derived entry starts as a system colour.
    static const int defaults[][2] = {
        {TK_COLOR_BAR_FACE, TK_COLOR_BTNFACE},
        {TK_COLOR_HOT_FILL, TK_COLOR_WINDOW},
        {TK_COLOR_HOT_BORDER, TK_COLOR_HIGHLIGHT},
        {TK_COLOR_PRESSED_FILL, TK_COLOR_HIGHLIGHT},
        {TK_COLOR_HOT_FILL_DARK, TK_COLOR_BTNSHADOW},
        {TK_COLOR_MENU_DISABLED_TEXT, TK_COLOR_GRAYTEXT},
        {TK_COLOR_CHECKED_FILL, TK_COLOR_WINDOW},
        {TK_COLOR_CHECKED_HOT_BORDER, TK_COLOR_HIGHLIGHT},
        {TK_COLOR_GRIPPER, TK_COLOR_BTNSHADOW},
        {TK_COLOR_SEPARATOR, TK_COLOR_BTNSHADOW},
        {TK_COLOR_DISABLED, TK_COLOR_BTNSHADOW},
        {TK_COLOR_MENU_BACK, TK_COLOR_WINDOW},
        {TK_COLOR_RARELY_USED_GUTTER, TK_COLOR_BTNSHADOW},
        {TK_COLOR_FRAME, TK_COLOR_BTNSHADOW},
        {TK_COLOR_MENU_ITEM_TEXT, TK_COLOR_WINDOWTEXT},
        {TK_COLOR_HOT_TEXT, TK_COLOR_MENUTEXT},
        {TK_COLOR_BAR_TEXT, TK_COLOR_BTNTEXT},
        {TK_COLOR_PRESSED_TEXT, TK_COLOR_HIGHLIGHTTEXT},
        {TK_COLOR_FACE_LIGHT, TK_COLOR_BTNFACE},
        {TK_COLOR_SHADOW_DARK, TK_COLOR_BTNTEXT},
        {TK_COLOR_CHECKED_BORDER, TK_COLOR_HIGHLIGHT},
        {TK_COLOR_EXPAND_TINT, TK_COLOR_BTNFACE},
        {TK_COLOR_SCHEME_SHADE, TK_COLOR_BTNSHADOW},
        {TK_COLOR_FACE_TINT, TK_COLOR_BTNFACE},
        {TK_COLOR_SCHEME_BORDER, TK_COLOR_BTNSHADOW},
        {TK_COLOR_FACE_GRADIENT_END, TK_COLOR_BTNFACE},
        {TK_COLOR_RARELY_USED_BACK, TK_COLOR_BTNFACE},
    };
    for (const auto& d : defaults) c[d[0]] = c[d[1]];

    if (!in.lowColor) {
        // Entry = BlendColors(a, b, weight), in this order.
        static const int blends[][4] = {
            {TK_COLOR_BAR_FACE, TK_COLOR_WINDOW, TK_COLOR_BTNFACE, 165},
            {TK_COLOR_HOT_FILL, TK_COLOR_HIGHLIGHT, TK_COLOR_WINDOW, 30},
            {TK_COLOR_PRESSED_FILL, TK_COLOR_HIGHLIGHT, TK_COLOR_WINDOW, 50},
            {TK_COLOR_MENU_BACK, TK_COLOR_BTNFACE, TK_COLOR_WINDOW, 143},
            {TK_COLOR_MENU_DISABLED_TEXT, TK_COLOR_GRAYTEXT, TK_COLOR_WINDOW, 70},
            {TK_COLOR_GRIPPER, TK_COLOR_BTNSHADOW, TK_COLOR_WINDOW, 75},
            {TK_COLOR_SEPARATOR, TK_COLOR_BTNSHADOW, TK_COLOR_WINDOW, 70},
            {TK_COLOR_FRAME, TK_COLOR_BAR_TEXT, TK_COLOR_BTNSHADOW, 20},
            {TK_COLOR_DISABLED, TK_COLOR_BTNSHADOW, TK_COLOR_WINDOW, 90},
            {TK_COLOR_RARELY_USED_GUTTER, TK_COLOR_BTNFACE, TK_COLOR_BTNSHADOW, 90},
        };
        for (const auto& b : blends) c[b[0]] = BlendColors(c[b[1]], c[b[2]], b[3]);

        if (IsContrastEnough(c[TK_COLOR_BTNFACE], c[TK_COLOR_BAR_FACE], 35))
            c[TK_COLOR_BAR_FACE] = PullColorTowards(c[TK_COLOR_BTNFACE], c[TK_COLOR_BAR_FACE], 35);

        // Entry pushed away from a background until the two differ by the limit, in this order.
        static const int contrasts[][3] = {
            {TK_COLOR_HOT_FILL, TK_COLOR_BAR_FACE, 50},
            {TK_COLOR_HOT_BORDER, TK_COLOR_BAR_FACE, 100},
            {TK_COLOR_PRESSED_FILL, TK_COLOR_BAR_FACE, 30},
            {TK_COLOR_MENU_DISABLED_TEXT, TK_COLOR_MENU_BACK, 80},
            {TK_COLOR_CHECKED_HOT_BORDER, TK_COLOR_PRESSED_FILL, 100},
            {TK_COLOR_GRIPPER, TK_COLOR_BAR_FACE, 85},
            {TK_COLOR_SEPARATOR, TK_COLOR_BAR_FACE, 50},
            {TK_COLOR_FRAME, TK_COLOR_PRESSED_TEXT, 100},
            {TK_COLOR_DISABLED, TK_COLOR_BAR_FACE, 80},
            {TK_COLOR_MENU_ITEM_TEXT, TK_COLOR_MENU_BACK, 180},
            {TK_COLOR_HOT_TEXT, TK_COLOR_HOT_FILL, 180},
            {TK_COLOR_BAR_TEXT, TK_COLOR_BAR_FACE, 180},
            {TK_COLOR_PRESSED_TEXT, TK_COLOR_PRESSED_FILL, 180},
        };
        for (const auto& k : contrasts)
            if (!IsContrastEnough(c[k[1]], c[k[0]], k[2])) c[k[0]] = PushColorAway(c[k[1]], c[k[0]], k[2]);

        if (IsContrastEnough(c[TK_COLOR_MENU_BACK], c[TK_COLOR_MENU_DISABLED_TEXT], 145))
            c[TK_COLOR_MENU_DISABLED_TEXT] =
                PullColorTowards(c[TK_COLOR_MENU_BACK], c[TK_COLOR_MENU_DISABLED_TEXT], 145);

        auto part = [](COLORREF colour, int shift, int percent) { return (int)((colour >> shift) & 0xFF) * percent / 100; };
        const COLORREF bar = c[TK_COLOR_BAR_FACE], highlight = c[TK_COLOR_HIGHLIGHT], window = c[TK_COLOR_WINDOW];
        c[TK_COLOR_CHECKED_FILL] = RGB(part(bar, 0, 50) + part(highlight, 0, 10) + part(window, 0, 40),
                                       part(bar, 8, 50) + part(highlight, 8, 10) + part(window, 8, 40),
                                       part(bar, 16, 50) + part(highlight, 16, 10) + part(window, 16, 40));

        auto maxByte = [](COLORREF colour) {
            return std::max({(int)GetRValue(colour), (int)GetGValue(colour), (int)GetBValue(colour)});
        };
        const COLORREF face = c[TK_COLOR_BTNFACE], shadow = c[TK_COLOR_BTNSHADOW];
        int m = maxByte(face);
        if (m == 0) {
            c[TK_COLOR_FACE_LIGHT] = RGB(35, 35, 35);
        } else {
            int factor = m + std::min(35, 255 - m);
            c[TK_COLOR_FACE_LIGHT] =
                RGB(GetRValue(face) * factor / m, GetGValue(face) * factor / m, GetBValue(face) * factor / m);
        }
        if (face == 0) {
            c[TK_COLOR_SHADOW_DARK] = RGB(127, 127, 127);
        } else {
            m = maxByte(shadow);
            if (m == 0) {
                c[TK_COLOR_SHADOW_DARK] = 0;
            } else {
                int factor = std::max(m - 43, 0);
                c[TK_COLOR_SHADOW_DARK] =
                    RGB(GetRValue(shadow) * factor / m, GetGValue(shadow) * factor / m, GetBValue(shadow) * factor / m);
            }
        }
        const COLORREF hot = c[TK_COLOR_HOT_FILL];
        c[TK_COLOR_HOT_FILL_DARK] =
            RGB((int)(GetRValue(hot) * 0.75), (int)(GetGValue(hot) * 0.75), (int)(GetBValue(hot) * 0.75));
        c[TK_COLOR_FACE_TINT] = c[TK_COLOR_BAR_FACE];
        c[TK_COLOR_3DLIGHT] = RGB(std::min(255, GetRValue(face) + 15), std::min(255, GetGValue(face) + 15),
                                  std::min(255, GetBValue(face) + 15));
    }

    m_grcFirst.SetColors(c[TK_COLOR_BTNSHADOW], c[TK_COLOR_BTNSHADOW]);
    m_grcSecond.SetColors(c[TK_COLOR_BTNFACE], BlendColors(c[TK_COLOR_BTNFACE], c[TK_COLOR_WINDOW], 205));
    m_grcThird.SetColors(c[TK_COLOR_BTNFACE], c[TK_COLOR_BTNSHADOW]);
    switch (in.lunaScheme) {
    case 1:
        c[TK_COLOR_SCHEME_BORDER] = RGB(0, 45, 150);
        m_grcFirst.SetColors(RGB(89, 135, 214), RGB(0, 45, 150));
        m_grcSecond.SetColors(RGB(158, 190, 245), RGB(196, 218, 250));
        m_grcThird.SetColors(RGB(89, 135, 214), RGB(0, 45, 150));
        break;
    case 2:
        c[TK_COLOR_SCHEME_BORDER] = RGB(96, 128, 88);
        m_grcFirst.SetColors(RGB(175, 192, 130), RGB(99, 122, 68));
        m_grcSecond.SetColors(RGB(217, 217, 167), RGB(242, 241, 228));
        m_grcThird.SetColors(RGB(120, 142, 111), RGB(73, 91, 67));
        break;
    case 3:
        c[TK_COLOR_SCHEME_BORDER] = RGB(124, 124, 148);
        m_grcFirst.SetColors(RGB(168, 167, 191), RGB(112, 111, 145));
        m_grcSecond.SetColors(RGB(215, 215, 229), RGB(243, 243, 247));
        m_grcThird.SetColors(RGB(168, 167, 191), RGB(119, 118, 151));
        break;
    default:
        break;
    }
}

int CTkSysColors::LunaSchemeOf(const wchar_t* fileName, const wchar_t* colorName) {
    auto lower = [](const wchar_t* text) {
        std::wstring s = text ? text : L"";
        for (auto& ch : s) ch = (wchar_t)std::towlower(ch);
        return s;
    };
    std::wstring file = lower(fileName), colour = lower(colorName);
    if (file.find(L"luna.msstyles") == std::wstring::npos) return 0;
    if (colour == L"normalcolor") return 1;
    if (colour == L"homestead") return 2;
    if (colour == L"metallic") return 3;
    return 0;
}

namespace {
int g_lunaSchemeOverride = -1;
}

void CTkSysColors::SetLunaSchemeOverride(int scheme) {
    g_lunaSchemeOverride = scheme;
}

int CTkSysColors::GetLunaScheme() {
    if (g_lunaSchemeOverride >= 0) return g_lunaSchemeOverride;
    CTkVisualStyles styles;
    wchar_t file[260] = L"", colour[260] = L"";
    if (FAILED(styles.GetCurrentThemeName(file, 260, colour, 260, nullptr, 0))) return 0;
    return LunaSchemeOf(file, colour);
}
