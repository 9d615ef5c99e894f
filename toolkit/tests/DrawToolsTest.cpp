#include "TkTestSupport.h"
#include "painters/TkDrawTools.h"
#include "painters/TkVisualStyles.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

// Plays a system without msimg32's GradientFill for one scope.
class CNoGradientFill {
public:
    CNoGradientFill() : m_saved(CTkGradientFill::Instance().m_pfnGradientFill) {
        CTkGradientFill::Instance().m_pfnGradientFill = nullptr;
    }
    ~CNoGradientFill() { CTkGradientFill::Instance().m_pfnGradientFill = m_saved; }

private:
    CTkGradientFill::PFNGRADIENTFILL m_saved;
};

TEST(TkDrawTools, BlendColorLinearWeighsTheFirstColour) {
    EXPECT_EQ(kRed, BlendColorLinear(kRed, kBlue, 1.0));
    EXPECT_EQ(kBlue, BlendColorLinear(kRed, kBlue, 0.0));
    EXPECT_EQ(RGB(127, 0, 127), BlendColorLinear(kRed, kBlue, 0.5));
    EXPECT_EQ(RGB(25, 50, 63), BlendColorLinear(RGB(0, 0, 0), RGB(100, 200, 255), 0.75));
}

TEST(TkDrawTools, GradientFillIsLoadedFromMsimg32) {
    EXPECT_NE(nullptr, CTkGradientFill::Instance().m_hModule);
    EXPECT_NE(nullptr, CTkGradientFill::Instance().m_pfnGradientFill);
}

TEST(TkDrawTools, DisplayIsNotLowColour) {
    EXPECT_FALSE(IsLowColorDisplay());
}

TEST(TkDrawTools, HorizontalGradientRunsFromTheFirstColumn) {
    CTkTestCanvas canvas(120, 10);
    CRect rect(10, 2, 110, 8);
    FillGradientRect(canvas.dc(), &rect, kRed, kBlue, true);
    COLORREF first = canvas.At(10, 4), last = canvas.At(109, 4);
    EXPECT_GE(GetRValue(first), 250);
    EXPECT_LE(GetBValue(first), 5);
    EXPECT_LE(GetRValue(last), 5);
    EXPECT_GE(GetBValue(last), 250);
    COLORREF middle = canvas.At(60, 4);
    EXPECT_NEAR(127, GetRValue(middle), 6);
    // Outside the rectangle nothing changed.
    EXPECT_EQ(kWhite, canvas.At(9, 4));
    EXPECT_EQ(kWhite, canvas.At(110, 4));
    EXPECT_EQ(kWhite, canvas.At(50, 1));
    EXPECT_EQ(kWhite, canvas.At(50, 8));
    // Columns share one colour.
    EXPECT_EQ(canvas.At(30, 2), canvas.At(30, 7));
}

TEST(TkDrawTools, VerticalGradientRunsFromTheTopRow) {
    CTkTestCanvas canvas(10, 110);
    CRect rect(0, 0, 10, 100);
    FillGradientRect(canvas.dc(), &rect, CTkColorPair(kRed, kBlue), false);
    EXPECT_GE(GetRValue(canvas.At(5, 0)), 250);
    EXPECT_GE(GetBValue(canvas.At(5, 99)), 250);
    EXPECT_EQ(canvas.At(0, 50), canvas.At(9, 50));
    EXPECT_EQ(kWhite, canvas.At(5, 100));
}

TEST(TkDrawTools, EqualColoursGiveASolidFill) {
    CTkTestCanvas canvas(20, 20);
    CRect rect(0, 0, 20, 20);
    FillGradientRect(canvas.dc(), &rect, RGB(10, 200, 30), RGB(10, 200, 30), true);
    EXPECT_EQ(RGB(10, 200, 30), canvas.At(0, 0));
    EXPECT_EQ(RGB(10, 200, 30), canvas.At(19, 19));
}

TEST(TkDrawTools, EmptyOrMissingRectangleDrawsNothing) {
    CTkTestCanvas canvas(20, 20);
    CRect empty(5, 0, 5, 20);
    FillGradientRect(canvas.dc(), &empty, kRed, kBlue, true);
    FillGradientRect(canvas.dc(), nullptr, kRed, kBlue, true);
    CNoGradientFill noLibrary;
    FillGradientRect(canvas.dc(), &empty, kRed, kBlue, true);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(kWhite, canvas.At(x, 10)) << x;
}

TEST(TkDrawTools, HandDrawnGradientMatchesTheBlend) {
    CNoGradientFill noLibrary;
    CTkTestCanvas canvas(110, 4);
    CRect rect(10, 0, 110, 4);
    FillGradientRect(canvas.dc(), &rect, kRed, kBlue, true);
    for (int x = 10; x < 110; x += 7) {
        double weight = 1.0 - double(x - 10) / 100;
        EXPECT_EQ(BlendColorLinear(kRed, kBlue, weight), canvas.At(x, 2)) << x;
    }
    EXPECT_EQ(kRed, canvas.At(10, 0));
    EXPECT_EQ(kWhite, canvas.At(9, 0));
}

TEST(TkDrawTools, HandDrawnGradientOfWidthOneIsTheFromColour) {
    CNoGradientFill noLibrary;
    CTkTestCanvas canvas(5, 5);
    CRect rect(2, 0, 3, 5);
    FillGradientRect(canvas.dc(), &rect, kRed, kBlue, true);
    EXPECT_EQ(kRed, canvas.At(2, 0));
    EXPECT_EQ(kRed, canvas.At(2, 4));
    EXPECT_EQ(kWhite, canvas.At(1, 2));
    EXPECT_EQ(kWhite, canvas.At(3, 2));
}

TEST(TkDrawTools, HandDrawnGradientKeepsColoursUnderAClip) {
    CNoGradientFill noLibrary;
    CTkTestCanvas whole(100, 4), clipped(100, 4);
    CRect rect(0, 0, 100, 4);
    FillGradientRect(whole.dc(), &rect, kRed, kBlue, true);
    HRGN right = ::CreateRectRgn(50, 0, 100, 4);
    ::SelectClipRgn(clipped.dc(), right);
    ::DeleteObject(right);
    FillGradientRect(clipped.dc(), &rect, kRed, kBlue, true);
    EXPECT_EQ(kWhite, clipped.At(0, 1));
    EXPECT_EQ(kWhite, clipped.At(49, 1));
    for (int x = 50; x < 100; x += 5) EXPECT_EQ(whole.At(x, 1), clipped.At(x, 1)) << x;
}

TEST(TkDrawTools, PenScopeDrawsInItsColourAndRestoresTheOldPen) {
    CTkTestCanvas canvas(10, 10);
    HGDIOBJ before = ::GetCurrentObject(canvas.dc(), OBJ_PEN);
    {
        CTkPenScope pen(canvas.dc(), RGB(0, 128, 0));
        EXPECT_EQ((HGDIOBJ)pen.GetPen(), ::GetCurrentObject(canvas.dc(), OBJ_PEN));
        ::MoveToEx(canvas.dc(), 0, 5, nullptr);
        ::LineTo(canvas.dc(), 10, 5);
    }
    EXPECT_EQ(before, ::GetCurrentObject(canvas.dc(), OBJ_PEN));
    EXPECT_EQ(RGB(0, 128, 0), canvas.At(3, 5));
    EXPECT_EQ(kWhite, canvas.At(3, 4));
}

TEST(TkDrawTools, BrushScopeChangesColourAndRestores) {
    CTkTestCanvas canvas(10, 10);
    HGDIOBJ before = ::GetCurrentObject(canvas.dc(), OBJ_BRUSH);
    {
        CTkBrushScope brush(canvas.dc(), kRed);
        ::PatBlt(canvas.dc(), 0, 0, 5, 10, PATCOPY);
        brush.SetColor(kBlue);
        EXPECT_EQ((HGDIOBJ)brush.GetBrush(), ::GetCurrentObject(canvas.dc(), OBJ_BRUSH));
        ::PatBlt(canvas.dc(), 5, 0, 5, 10, PATCOPY);
    }
    EXPECT_EQ(before, ::GetCurrentObject(canvas.dc(), OBJ_BRUSH));
    EXPECT_EQ(kRed, canvas.At(2, 2));
    EXPECT_EQ(kBlue, canvas.At(7, 2));
}

TEST(TkDrawTools, SelectFontAndObjectScopesRestore) {
    CTkTestCanvas canvas(10, 10);
    CDC dc;
    dc.Attach(canvas.dc());
    HGDIOBJ before = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "Tahoma"));
    {
        CTkSelectFont scope(&dc, &font);
        EXPECT_EQ(font.GetSafeHandle(), ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    }
    EXPECT_EQ(before, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    {
        CTkSelectFont none(&dc, nullptr);
        CTkSelectFont noDC(nullptr, &font);
        EXPECT_EQ(before, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    }
    EXPECT_EQ(before, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    {
        CTkSelectObject scope(canvas.dc(), font.GetSafeHandle());
        EXPECT_EQ(before, scope.GetOldObject());
        EXPECT_EQ(font.GetSafeHandle(), ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    }
    EXPECT_EQ(before, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    dc.Detach();
}

TEST(TkDrawTools, BitmapDCDrawsIntoTheBitmap) {
    CTkTestCanvas canvas(4, 4);
    HBITMAP bitmap = ::CreateCompatibleBitmap(canvas.dc(), 8, 8);
    ASSERT_NE(nullptr, bitmap);
    {
        CTkBitmapDC memory(canvas.dc(), bitmap);
        ASSERT_NE(nullptr, memory.GetSafeHdc());
        memory.GetDC().FillSolidRect(CRect(0, 0, 8, 8), RGB(1, 2, 3));
        EXPECT_EQ((HGDIOBJ)bitmap, ::GetCurrentObject(memory.GetSafeHdc(), OBJ_BITMAP));
        ::BitBlt(canvas.dc(), 0, 0, 4, 4, memory.GetSafeHdc(), 0, 0, SRCCOPY);
    }
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(3, 3));
    // The bitmap was selected out again, so it can be deleted.
    EXPECT_TRUE(::DeleteObject(bitmap));
}

TEST(TkDrawTools, OffscreenDCCopiesOnlyItsRectangleInTargetCoordinates) {
    CTkTestCanvas canvas(40, 40);
    {
        CTkOffscreenDC offscreen(canvas.dc(), CRect(10, 10, 30, 30));
        ASSERT_NE(nullptr, offscreen.GetSafeHdc());
        offscreen.FillSolidRect(CRect(0, 0, 40, 40), kBlue);
        offscreen.FillSolidRect(CRect(20, 20, 30, 30), kRed);
        // Nothing reaches the target before the scope ends.
        EXPECT_EQ(kWhite, canvas.At(15, 15));
    }
    EXPECT_EQ(kBlue, canvas.At(10, 10));
    EXPECT_EQ(kBlue, canvas.At(19, 19));
    EXPECT_EQ(kRed, canvas.At(20, 20));
    EXPECT_EQ(kRed, canvas.At(29, 29));
    EXPECT_EQ(kWhite, canvas.At(9, 9));
    EXPECT_EQ(kWhite, canvas.At(30, 30));
    EXPECT_EQ(kWhite, canvas.At(35, 15));
}

TEST(TkDrawTools, RectangleFunctions) {
    CRect rect(1, 2, 3, 4);
    EXPECT_TRUE(TkSetRectEmpty(rect).IsRectEmpty());
    EXPECT_EQ(0, rect.left);
    rect = CRect(1, 2, 3, 4);
    EXPECT_TRUE(TkGetWindowRect(static_cast<const CWnd*>(nullptr), rect).IsRectEmpty());
    ASSERT_TRUE(TkDesktopReady());
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "probe", WS_POPUP, 30, 40, 120, 60, nullptr, nullptr));
    EXPECT_EQ(30, TkGetWindowRect(&wnd, rect).left);
    EXPECT_EQ(100, rect.bottom);
    EXPECT_EQ(150, TkGetWindowRect(wnd.GetSafeHwnd(), rect).right);
    EXPECT_EQ(0, TkGetClientRect(&wnd, rect).left);
    EXPECT_EQ(120, rect.right);
    EXPECT_EQ(60, rect.bottom);
    wnd.DestroyWindow();
}

TEST(TkVisualStyles, NotThemedBeforeATheme) {
    CTkVisualStyles styles;
    EXPECT_FALSE(styles.IsThemed());
    EXPECT_EQ(nullptr, styles.GetThemeHandle());
    styles.CloseTheme();
    styles.CloseTheme();
    EXPECT_FALSE(styles.IsThemed());
}

TEST(TkVisualStyles, OpenThemeKeepsTheHandleAndCloseClearsIt) {
    ASSERT_TRUE(TkDesktopReady());
    CTkVisualStyles styles;
    ASSERT_TRUE(styles.IsLoaded());
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    styles.OpenTheme(wnd.GetSafeHwnd(), L"TOOLBAR");
    if (styles.GetThemeHandle()) {
        // A theme is open: drawing succeeds and the answer follows the application's state.
        CTkTestCanvas canvas(10, 10);
        CRect rect(0, 0, 10, 10);
        EXPECT_EQ(S_OK, styles.DrawBackground(canvas.dc(), 1, 1, &rect, nullptr));
    }
    styles.CloseTheme();
    EXPECT_EQ(nullptr, styles.GetThemeHandle());
    EXPECT_FALSE(styles.IsThemed());
    styles.CloseTheme();
    wnd.DestroyWindow();
}

TEST(TkVisualStyles, CurrentThemeNameAnswersOrFails) {
    CTkVisualStyles styles;
    wchar_t file[260] = L"", colour[260] = L"";
    HRESULT hr = styles.GetCurrentThemeName(file, 260, colour, 260, nullptr, 0);
    if (SUCCEEDED(hr)) {
        EXPECT_NE(L'\0', file[0]);
    }
}

}  // namespace
