#include "TkTestSupport.h"
#include "commandbars/TkResourceHandles.h"
#include "painters/TkColors.h"
#include "painters/TkSystemData.h"
#include "painters/TkWindowsVersion.h"

#include <gtest/gtest.h>

namespace {

// The classic grey scheme's system colours.
CTkColorInputs ClassicInputs() {
    CTkColorInputs in;
    for (int i = 1; i < 28; ++i) in.sysColors[i] = RGB(i, i, i);
    in.sysColors[COLOR_WINDOW] = RGB(255, 255, 255);
    in.sysColors[COLOR_BTNFACE] = RGB(212, 208, 200);
    in.sysColors[COLOR_BTNSHADOW] = RGB(128, 128, 128);
    in.sysColors[COLOR_HIGHLIGHT] = RGB(10, 36, 106);
    in.sysColors[COLOR_HIGHLIGHTTEXT] = RGB(255, 255, 255);
    in.sysColors[COLOR_GRAYTEXT] = RGB(128, 128, 128);
    in.sysColors[COLOR_BTNTEXT] = RGB(0, 0, 0);
    in.sysColors[COLOR_MENUTEXT] = RGB(0, 0, 0);
    in.sysColors[COLOR_WINDOWTEXT] = RGB(0, 0, 0);
    return in;
}

// A private table that does not disturb the process-wide one for other tests.
class CTableScope {
public:
    CTableScope() : m_colors(CTkSysColors::Instance()) {}
    ~CTableScope() { m_colors.Refresh(false); }
    CTkSysColors& operator*() { return m_colors; }
    CTkSysColors* operator->() { return &m_colors; }

private:
    CTkSysColors& m_colors;
};

TEST(TkColors, BlendColorsUsesPerCentBelowOneHundredAndPerMilleAbove) {
    EXPECT_EQ(RGB(100, 50, 1), BlendColors(RGB(200, 100, 2), RGB(0, 0, 0), 50));
    // 100 is per mille: a tenth of a.
    EXPECT_EQ(RGB(20, 10, 0), BlendColors(RGB(200, 100, 2), RGB(0, 0, 0), 100));
    EXPECT_EQ(RGB(219, 216, 209), BlendColors(RGB(255, 255, 255), RGB(212, 208, 200), 165));
    EXPECT_EQ(RGB(0, 0, 0), BlendColors(RGB(255, 255, 255), RGB(0, 0, 0), 0));
    EXPECT_EQ(RGB(255, 255, 255), BlendColors(RGB(255, 255, 255), RGB(0, 0, 0), 1000));
}

TEST(TkColors, ContrastMetric) {
    EXPECT_NEAR(440.85, TkColorBrightness(RGB(255, 255, 255)), 0.01);
    EXPECT_NEAR(195.0, TkColorDistance(RGB(255, 0, 0), RGB(0, 0, 0)), 1e-9);
    EXPECT_TRUE(IsContrastEnough(RGB(255, 255, 255), RGB(0, 0, 0), 35));
    EXPECT_FALSE(IsContrastEnough(RGB(255, 255, 255), RGB(250, 250, 250), 35));
    // A dark background needs twice the limit: red at 195 is enough for 97 but not for 98.
    EXPECT_TRUE(IsContrastEnough(RGB(0, 0, 0), RGB(255, 0, 0), 97));
    EXPECT_FALSE(IsContrastEnough(RGB(0, 0, 0), RGB(255, 0, 0), 98));
}

TEST(TkColors, PullBringsTheColourToTheThreshold) {
    COLORREF pulled = PullColorTowards(RGB(255, 255, 255), RGB(0, 0, 0), 35);
    EXPECT_NEAR(35.0, TkColorDistance(RGB(255, 255, 255), pulled), 2.0);
    EXPECT_EQ(GetRValue(pulled), GetGValue(pulled));
}

TEST(TkColors, PushTakesTheColourToTheThreshold) {
    const COLORREF face = RGB(212, 208, 200);
    COLORREF close = RGB(205, 200, 190);
    ASSERT_FALSE(IsContrastEnough(face, close, 50));
    COLORREF pushed = PushColorAway(face, close, 50);
    EXPECT_NEAR(50.0, TkColorDistance(face, pushed), 2.0);
    // Darker than a light background, not lighter.
    EXPECT_LT(TkColorBrightness(pushed), TkColorBrightness(face));
    // On black the colour is pushed from black's side towards white.
    COLORREF onBlack = PushColorAway(RGB(0, 0, 0), RGB(10, 10, 10), 50);
    EXPECT_NEAR(100.0, TkColorDistance(RGB(0, 0, 0), onBlack), 2.0);
}

TEST(TkColors, GetColorPassesColoursThrough) {
    CTkSysColors& colors = CTkSysColors::Instance();
    EXPECT_TRUE(colors.IsBuilt());
    EXPECT_EQ(57u, colors.GetColor(57));
    EXPECT_EQ(RGB(1, 2, 3), colors.GetColor(RGB(1, 2, 3)));
    EXPECT_EQ(0u, colors.GetColor(TK_COLOR_BLACK));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), colors.GetColor(TK_COLOR_BTNFACE));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), TkGetColor(TK_COLOR_WINDOW));
    EXPECT_EQ(0u, colors.GetColor(TK_COLOR_UNUSED_28));
    EXPECT_EQ(0u, colors.GetColor(TK_COLOR_UNUSED_29));
}

TEST(TkColors, ClassicTable) {
    CTableScope colors;
    CTkColorInputs in = ClassicInputs();
    colors->Build(in);
    EXPECT_EQ(RGB(219, 216, 209), colors->GetColor(TK_COLOR_BAR_FACE));
    EXPECT_EQ(colors->GetColor(TK_COLOR_BAR_FACE), colors->GetColor(TK_COLOR_FACE_TINT));
    EXPECT_EQ(RGB(227, 223, 215), colors->GetColor(TK_COLOR_3DLIGHT));
    // The light face: the face brightened by the largest byte's headroom (212 -> 247).
    EXPECT_EQ(RGB(212 * 247 / 212, 208 * 247 / 212, 200 * 247 / 212), colors->GetColor(TK_COLOR_FACE_LIGHT));
    // The dark shadow: the shadow darkened by 43 of its largest byte.
    EXPECT_EQ(RGB(85, 85, 85), colors->GetColor(TK_COLOR_SHADOW_DARK));
    COLORREF hot = colors->GetColor(TK_COLOR_HOT_FILL);
    EXPECT_EQ(RGB(GetRValue(hot) * 3 / 4, GetGValue(hot) * 3 / 4, GetBValue(hot) * 3 / 4),
              colors->GetColor(TK_COLOR_HOT_FILL_DARK));
    COLORREF bar = colors->GetColor(TK_COLOR_BAR_FACE), highlight = colors->GetColor(TK_COLOR_HIGHLIGHT),
             window = colors->GetColor(TK_COLOR_WINDOW);
    EXPECT_EQ(RGB(GetRValue(bar) * 50 / 100 + GetRValue(highlight) * 10 / 100 + GetRValue(window) * 40 / 100,
                  GetGValue(bar) * 50 / 100 + GetGValue(highlight) * 10 / 100 + GetGValue(window) * 40 / 100,
                  GetBValue(bar) * 50 / 100 + GetBValue(highlight) * 10 / 100 + GetBValue(window) * 40 / 100),
              colors->GetColor(TK_COLOR_CHECKED_FILL));
    // Every contrast rule holds afterwards (within rounding) for the menu text entries.
    EXPECT_TRUE(IsContrastEnough(colors->GetColor(TK_COLOR_BAR_FACE), colors->GetColor(TK_COLOR_BAR_TEXT), 170));
    EXPECT_EQ(CTkColorPair(in.sysColors[COLOR_BTNSHADOW]).clrEnd, colors->m_grcFirst.clrStart);
    EXPECT_EQ(in.sysColors[COLOR_BTNFACE], colors->m_grcSecond.clrStart);
    EXPECT_EQ(BlendColors(in.sysColors[COLOR_BTNFACE], in.sysColors[COLOR_WINDOW], 205), colors->m_grcSecond.clrEnd);
    EXPECT_EQ(in.sysColors[COLOR_BTNSHADOW], colors->m_grcThird.clrEnd);
    EXPECT_EQ(in.sysColors[COLOR_BTNSHADOW], colors->GetColor(TK_COLOR_SCHEME_BORDER));
}

TEST(TkColors, BlackButtonFace) {
    CTableScope colors;
    CTkColorInputs in = ClassicInputs();
    in.sysColors[COLOR_BTNFACE] = 0;
    colors->Build(in);
    EXPECT_EQ(RGB(35, 35, 35), colors->GetColor(TK_COLOR_FACE_LIGHT));
    EXPECT_EQ(RGB(127, 127, 127), colors->GetColor(TK_COLOR_SHADOW_DARK));
}

TEST(TkColors, LowColourKeepsTheDefaultsButAppliesTheScheme) {
    CTableScope colors;
    CTkColorInputs in = ClassicInputs();
    in.lowColor = true;
    in.lunaScheme = 3;
    colors->Build(in);
    EXPECT_EQ(in.sysColors[COLOR_BTNFACE], colors->GetColor(TK_COLOR_BAR_FACE));
    EXPECT_EQ(in.sysColors[COLOR_WINDOW], colors->GetColor(TK_COLOR_HOT_FILL));
    EXPECT_EQ(in.sysColors[COLOR_HIGHLIGHT], colors->GetColor(TK_COLOR_PRESSED_FILL));
    EXPECT_EQ(in.sysColors[COLOR_BTNTEXT], colors->GetColor(TK_COLOR_SHADOW_DARK));
    EXPECT_EQ(in.sysColors[COLOR_BTNFACE], colors->GetColor(TK_COLOR_FACE_LIGHT));
    EXPECT_EQ(in.sysColors[COLOR_3DLIGHT], colors->GetColor(TK_COLOR_3DLIGHT));
    EXPECT_EQ(in.sysColors[COLOR_BTNFACE], colors->GetColor(TK_COLOR_RARELY_USED_BACK));
    EXPECT_EQ(RGB(124, 124, 148), colors->GetColor(TK_COLOR_SCHEME_BORDER));
    EXPECT_EQ(RGB(215, 215, 229), colors->m_grcSecond.clrStart);
    EXPECT_EQ(RGB(243, 243, 247), colors->m_grcSecond.clrEnd);
}

TEST(TkColors, LunaSchemes) {
    CTableScope colors;
    CTkColorInputs in = ClassicInputs();
    in.lunaScheme = 1;
    colors->Build(in);
    EXPECT_EQ(RGB(0, 45, 150), colors->GetColor(TK_COLOR_SCHEME_BORDER));
    EXPECT_EQ(RGB(89, 135, 214), colors->m_grcFirst.clrStart);
    in.lunaScheme = 2;
    colors->Build(in);
    EXPECT_EQ(RGB(96, 128, 88), colors->GetColor(TK_COLOR_SCHEME_BORDER));
    EXPECT_EQ(RGB(73, 91, 67), colors->m_grcThird.clrEnd);
    in.lunaScheme = 3;
    colors->Build(in);
    EXPECT_EQ(RGB(124, 124, 148), colors->GetColor(TK_COLOR_SCHEME_BORDER));
    EXPECT_EQ(RGB(215, 215, 229), colors->m_grcSecond.clrStart);
    EXPECT_EQ(RGB(243, 243, 247), colors->m_grcSecond.clrEnd);
}

TEST(TkColors, LunaSchemeOfThemeNames) {
    const wchar_t* luna = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
    EXPECT_EQ(1, CTkSysColors::LunaSchemeOf(luna, L"NormalColor"));
    EXPECT_EQ(2, CTkSysColors::LunaSchemeOf(luna, L"HomeStead"));
    EXPECT_EQ(3, CTkSysColors::LunaSchemeOf(luna, L"Metallic"));
    EXPECT_EQ(0, CTkSysColors::LunaSchemeOf(luna, L"Royale"));
    EXPECT_EQ(0, CTkSysColors::LunaSchemeOf(L"C:\\Themes\\Other.msstyles", L"Metallic"));
    EXPECT_EQ(0, CTkSysColors::LunaSchemeOf(L"", L""));
    int scheme = CTkSysColors::GetLunaScheme();
    EXPECT_TRUE(scheme >= 0 && scheme <= 3);
}

TEST(TkColors, RefreshOnlyOnceKeepsABuiltTable) {
    CTableScope colors;
    CTkColorInputs in = ClassicInputs();
    in.sysColors[COLOR_BTNFACE] = RGB(1, 99, 1);
    colors->Build(in);
    colors->Refresh(true);
    EXPECT_EQ(RGB(1, 99, 1), colors->GetColor(TK_COLOR_BTNFACE));
    colors->Refresh(false);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), colors->GetColor(TK_COLOR_BTNFACE));
}

TEST(TkWindowsVersion, Tests) {
    OSVERSIONINFOA info = {};
    info.dwPlatformId = 1;
    info.dwMajorVersion = 4;
    info.dwMinorVersion = 0;
    EXPECT_TRUE(CTkWindowsVersion::IsWin95Family(info));
    info.dwMinorVersion = 10;
    EXPECT_FALSE(CTkWindowsVersion::IsWin95Family(info));
    EXPECT_FALSE(CTkWindowsVersion::IsNT5OrLater(info));
    info.dwPlatformId = 2;
    info.dwMajorVersion = 5;
    info.dwMinorVersion = 0;
    EXPECT_TRUE(CTkWindowsVersion::IsNT5OrLater(info));
    info.dwMajorVersion = 4;
    EXPECT_FALSE(CTkWindowsVersion::IsNT5OrLater(info));
    EXPECT_EQ(148u, CTkWindowsVersion::Instance().Info().dwOSVersionInfoSize);
    EXPECT_TRUE(CTkWindowsVersion::Instance().IsNT5OrLater());
    EXPECT_FALSE(CTkWindowsVersion::Instance().IsWin95Family());
}

TEST(TkSystemData, MetricsFontsAndResourceHandles) {
    CTkSystemData& data = CTkSystemData::Instance();
    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), data.m_nSmallIconWidth);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSMICON), data.m_nSmallIconHeight);
    ASSERT_NE(nullptr, data.m_fontRegular.GetSafeHandle());
    ASSERT_NE(nullptr, data.m_fontBold.GetSafeHandle());
    LOGFONTA regular = {}, bold = {};
    ::GetObjectA(data.m_fontRegular.GetSafeHandle(), sizeof regular, &regular);
    ::GetObjectA(data.m_fontBold.GetSafeHandle(), sizeof bold, &bold);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(metrics.lfMenuFont.lfHeight, regular.lfHeight);
    EXPECT_STREQ(metrics.lfMenuFont.lfFaceName, regular.lfFaceName);
    EXPECT_EQ(700, bold.lfWeight);
    EXPECT_EQ(regular.lfHeight, bold.lfHeight);
    EXPECT_EQ(::GetModuleHandleW(nullptr), GetToolkitResourceHandle());
    HGDIOBJ before = data.m_fontRegular.GetSafeHandle();
    data.Refresh();
    EXPECT_NE(nullptr, data.m_fontRegular.GetSafeHandle());
    (void)before;
}

}  // namespace
