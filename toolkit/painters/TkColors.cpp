#include "painters/TkColors.h"

#include "commandbars/TkWorkArea.h"
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
    c[0] = 0;
    for (int i = 1; i < 28; ++i) c[i] = in.sysColors[i];
    c[28] = c[29] = 0;

    static const int defaults[][2] = {{30, 15}, {31, 5},  {32, 13}, {33, 13}, {34, 16}, {35, 17}, {36, 5},
                                      {37, 13}, {38, 16}, {39, 16}, {40, 16}, {41, 5},  {42, 16}, {43, 16},
                                      {44, 8},  {45, 7},  {46, 18}, {47, 14}, {48, 15}, {49, 18}, {50, 13},
                                      {51, 15}, {52, 16}, {53, 15}, {54, 16}, {55, 15}, {56, 15}};
    for (const auto& d : defaults) c[d[0]] = c[d[1]];

    if (!in.lowColor) {
        static const int blends[][4] = {{30, 5, 15, 165}, {31, 13, 5, 30},  {33, 13, 5, 50},  {41, 15, 5, 143},
                                        {35, 17, 5, 70},  {38, 16, 5, 75},  {39, 16, 5, 70},  {43, 46, 16, 20},
                                        {40, 16, 5, 90},  {42, 15, 16, 90}};
        for (const auto& b : blends) c[b[0]] = BlendColors(c[b[1]], c[b[2]], b[3]);

        if (IsContrastEnough(c[15], c[30], 35)) c[30] = PullColorTowards(c[15], c[30], 35);

        static const int contrasts[][3] = {{31, 30, 50},  {32, 30, 100}, {33, 30, 30},  {35, 41, 80},  {37, 33, 100},
                                           {38, 30, 85},  {39, 30, 50},  {43, 47, 100}, {40, 30, 80},  {44, 41, 180},
                                           {45, 31, 180}, {46, 30, 180}, {47, 33, 180}};
        for (const auto& k : contrasts)
            if (!IsContrastEnough(c[k[1]], c[k[0]], k[2])) c[k[0]] = PushColorAway(c[k[1]], c[k[0]], k[2]);

        if (IsContrastEnough(c[41], c[35], 145)) c[35] = PullColorTowards(c[41], c[35], 145);

        auto part = [](COLORREF colour, int shift, int percent) { return (int)((colour >> shift) & 0xFF) * percent / 100; };
        c[36] = RGB(part(c[30], 0, 50) + part(c[13], 0, 10) + part(c[5], 0, 40),
                    part(c[30], 8, 50) + part(c[13], 8, 10) + part(c[5], 8, 40),
                    part(c[30], 16, 50) + part(c[13], 16, 10) + part(c[5], 16, 40));

        auto maxByte = [](COLORREF colour) {
            return std::max({(int)GetRValue(colour), (int)GetGValue(colour), (int)GetBValue(colour)});
        };
        int m = maxByte(c[15]);
        if (m == 0) {
            c[48] = RGB(35, 35, 35);
        } else {
            int factor = m + std::min(35, 255 - m);
            c[48] = RGB(GetRValue(c[15]) * factor / m, GetGValue(c[15]) * factor / m, GetBValue(c[15]) * factor / m);
        }
        if (c[15] == 0) {
            c[49] = RGB(127, 127, 127);
        } else {
            m = maxByte(c[16]);
            if (m == 0) {
                c[49] = 0;
            } else {
                int factor = std::max(m - 43, 0);
                c[49] = RGB(GetRValue(c[16]) * factor / m, GetGValue(c[16]) * factor / m, GetBValue(c[16]) * factor / m);
            }
        }
        c[34] = RGB((int)(GetRValue(c[31]) * 0.75), (int)(GetGValue(c[31]) * 0.75), (int)(GetBValue(c[31]) * 0.75));
        c[53] = c[30];
        c[22] = RGB(std::min(255, GetRValue(c[15]) + 15), std::min(255, GetGValue(c[15]) + 15),
                    std::min(255, GetBValue(c[15]) + 15));
    }

    m_grcFirst.SetColors(c[16], c[16]);
    m_grcSecond.SetColors(c[15], BlendColors(c[15], c[5], 205));
    m_grcThird.SetColors(c[15], c[16]);
    switch (in.lunaScheme) {
    case 1:
        c[54] = RGB(0, 45, 150);
        m_grcFirst.SetColors(RGB(89, 135, 214), RGB(0, 45, 150));
        m_grcSecond.SetColors(RGB(158, 190, 245), RGB(196, 218, 250));
        m_grcThird.SetColors(RGB(89, 135, 214), RGB(0, 45, 150));
        break;
    case 2:
        c[54] = RGB(96, 128, 88);
        m_grcFirst.SetColors(RGB(175, 192, 130), RGB(99, 122, 68));
        m_grcSecond.SetColors(RGB(217, 217, 167), RGB(242, 241, 228));
        m_grcThird.SetColors(RGB(120, 142, 111), RGB(73, 91, 67));
        break;
    case 3:
        c[54] = RGB(124, 124, 148);
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

// ---------------------------------------------------------------------------------------------
// Version tests.

CTkWindowsVersion::CTkWindowsVersion() {
    m_info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&m_info);
#pragma GCC diagnostic pop
}

CTkWindowsVersion& CTkWindowsVersion::Instance() {
    static CTkWindowsVersion version;
    return version;
}

bool CTkWindowsVersion::IsWin95Family(const OSVERSIONINFOA& info) {
    return info.dwPlatformId == 1 && info.dwMajorVersion == 4 && info.dwMinorVersion < 10;
}

bool CTkWindowsVersion::IsNT5OrLater(const OSVERSIONINFOA& info) {
    return info.dwPlatformId >= 2 && info.dwMajorVersion >= 5;
}

bool CTkWindowsVersion::IsWin95Family() const {
    return IsWin95Family(m_info);
}

bool CTkWindowsVersion::IsNT5OrLater() const {
    return IsNT5OrLater(m_info);
}

// ---------------------------------------------------------------------------------------------
// System data.

CTkSystemData& CTkSystemData::Instance() {
    static CTkSystemData data;
    return data;
}

CTkSystemData::CTkSystemData() {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    SetToolkitResourceHandles(module, module);
    Refresh();
}

CTkSystemData::~CTkSystemData() {
    m_fontRegular.DeleteObject();
    m_fontBold.DeleteObject();
}

void CTkSystemData::Refresh() {
    m_nSmallIconWidth = ::GetSystemMetrics(SM_CXSMICON);
    m_nSmallIconHeight = ::GetSystemMetrics(SM_CYSMICON);
    BuildFonts();
}

void CTkSystemData::BuildFonts() {
    m_fontRegular.DeleteObject();
    m_fontBold.DeleteObject();
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    LOGFONTA base = {};
    base.lfHeight = metrics.lfMenuFont.lfHeight;
    base.lfWeight = metrics.lfMenuFont.lfWeight;
    base.lfItalic = metrics.lfMenuFont.lfItalic;
    lstrcpynA(base.lfFaceName, metrics.lfMenuFont.lfFaceName, LF_FACESIZE);
    HDC screen = ::GetDC(nullptr);
    base.lfCharSet = (BYTE)::GetTextCharsetInfo(screen, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (!m_fontRegular.CreateFontIndirect(&base)) return;
    LOGFONTA bold = base;
    bold.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&bold);
}
