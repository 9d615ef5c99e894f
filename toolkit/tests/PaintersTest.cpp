// The theme painters drawn into 32-bit canvases and probed at the points and colours each theme
// draws; every painter under a system without visual styles, with the XP olive scheme, and
// under Wine's own visual style.
#include "PainterTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

namespace {

const COLORREF kPaper = RGB(10, 20, 30);

// Theme 3 on a system without visual styles draws exactly the classic pictures.
int ExpectedLook(int theme, int seam) {
    if (theme == TK_THEME_VISUAL_STYLES && seam != kSeamWineStyle) return TK_THEME_CLASSIC;
    return theme;
}

// ---------------------------------------------------------------------------------------------
// The factory and the current painter.

TEST(TkThemeFactory, ThemeIdsGiveTheFourPaintersAndUnknownIdsClassic) {
    const int kinds[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 1}, {-1, 1}, {99, 1}};
    for (const auto& kind : kinds) {
        CPainterScope painter(kind[0]);
        EXPECT_EQ(kind[1], painter->GetThemeKind()) << kind[0];
        EXPECT_EQ(kind[0], painter->GetThemeId()) << kind[0];
    }
    CPainterScope flat(0), classic(1);
    EXPECT_TRUE(flat->HasPopupShadow());
    EXPECT_FALSE(classic->HasPopupShadow());
}

TEST(TkThemeFactory, SelectingTheCurrentThemeKeepsThePainter) {
    CTkThemePainter::ReleaseCurrent();
    CTkThemePainter* flatLuna = CTkThemePainter::SelectTheme(TK_THEME_FLAT_LUNA);
    ASSERT_NE(nullptr, flatLuna);
    EXPECT_EQ(flatLuna, CTkThemePainter::GetCurrent());
    EXPECT_EQ(nullptr, CTkThemePainter::SelectTheme(TK_THEME_FLAT_LUNA));
    EXPECT_EQ(flatLuna, CTkThemePainter::GetCurrent());
    CTkThemePainter* classic = CTkThemePainter::SelectTheme(TK_THEME_CLASSIC);
    ASSERT_NE(nullptr, classic);
    EXPECT_EQ(TK_THEME_CLASSIC, CTkThemePainter::GetCurrent()->GetThemeKind());
    CTkThemePainter::ReleaseCurrent();
}

TEST(TkThemeFactory, TheCurrentPainterIsNeverAbsent) {
    CTkThemePainter::ReleaseCurrent();
    CTkThemePainter* current = CTkThemePainter::GetCurrent();
    ASSERT_NE(nullptr, current);
    EXPECT_EQ(TK_THEME_CLASSIC, current->GetThemeKind());
    EXPECT_EQ(current, CTkThemePainter::GetCurrent());
    EXPECT_EQ(current, CTkThemePainter::PainterFor(nullptr));

    // A bar and a loose control painted before any theme was selected draw with it.
    CTkThemePainter::ReleaseCurrent();
    ASSERT_TRUE(TkDesktopReady());
    CTestBar bar(100, 26, TK_BAR_POSITION_TOP);
    CTkControl* button = bar.AddButton(CRect(10, 2, 33, 25), "");
    button->m_nSelected = TK_CONTROL_SELECTION_MOUSE;
    CTkTestCanvas canvas(100, 26, kPaper);
    CDC* dc = CDC::FromHandle(canvas.dc());
    bar.GetPainter()->PaintBarBackground(dc, &bar);
    bar.GetPainter()->DrawControl(dc, button, true);
    EXPECT_NE(kPaper, canvas.At(50, 13));
    CTkControlButton loose;
    EXPECT_NE(nullptr, loose.GetPainter());
    CTkThemePainter::ReleaseCurrent();
}

TEST(TkThemeFactory, AManagersOwnPainterWinsForItsBars) {
    ASSERT_TRUE(TkDesktopReady());
    CTkThemePainter::ReleaseCurrent();
    CTkThemePainter::SelectTheme(TK_THEME_CLASSIC);
    CTkCommandBars manager;
    CTestBar bar(100, 26, TK_BAR_POSITION_TOP);
    bar.m_pManager = &manager;
    EXPECT_EQ(CTkThemePainter::GetCurrent(), bar.GetPainter());
    CTkThemePainter* flat = CTkThemePainter::CreateTheme(TK_THEME_FLAT);
    manager.SetPainter(flat);
    EXPECT_EQ(flat, bar.GetPainter());
    EXPECT_EQ(flat, CTkThemePainter::PainterFor(&manager));
    CTkControl* button = bar.AddButton(CRect(0, 0, 23, 23), "");
    EXPECT_EQ(flat, button->GetPainter());
    // A bar's own painter wins over the manager's.
    CTkThemePainter* own = CTkThemePainter::CreateTheme(TK_THEME_VISUAL_STYLES);
    bar.SetPainter(own);
    EXPECT_EQ(own, bar.GetPainter());
    bar.SetPainter(nullptr);
    manager.SetPainter(nullptr);
    own->InternalRelease();
    flat->InternalRelease();
    EXPECT_EQ(CTkThemePainter::GetCurrent(), bar.GetPainter());
    CTkThemePainter::ReleaseCurrent();
}

// ---------------------------------------------------------------------------------------------
// Text and fonts.

TEST(TkPainterText, MnemonicsAreStrippedAndNumbersMovedForRightToLeft) {
    EXPECT_EQ(CString("Save &As"), CTkThemePainter::StripMnemonics("Save &&As"));
    EXPECT_EQ(CString("File"), CTkThemePainter::StripMnemonics("&File"));
    EXPECT_EQ(CString("a&"), CTkThemePainter::StripMnemonics("a&&&"));
    EXPECT_EQ(CString(""), CTkThemePainter::StripMnemonics("&"));
    EXPECT_EQ(CString("Open 1"), CTkThemePainter::PrepareMenuText("&1 Open", true));
    EXPECT_EQ(CString("Foo 12"), CTkThemePainter::PrepareMenuText("12 Foo", true));
    EXPECT_EQ(CString("1 Open"), CTkThemePainter::PrepareMenuText("&1 Open", false));
    // Short texts are looked at only as far as they go.
    for (const char* text : {"", "1", "1 ", "12", "12 ", "& ", "1 2"})
        EXPECT_EQ(CTkThemePainter::StripMnemonics(text), CTkThemePainter::PrepareMenuText(text, true)) << text;
}

TEST(TkPainterText, CaptionsMeasureWithoutTheirMnemonics) {
    CPainterScope painter(TK_THEME_CLASSIC);
    CTkTestCanvas canvas(200, 40, kPaper);
    CDC* dc = CDC::FromHandle(canvas.dc());
    CTkSelectFont font(dc, &CTkThemePainter::Fonts().regular);
    auto measure = [&](const char* text, bool triangle = false) {
        return painter->PaintControlText(dc, text, CRect(0, 0, 200, 40), false, false, false, triangle, false);
    };
    SIZE plain = {};
    ::GetTextExtentPoint32A(canvas.dc(), "Save &As", 8, &plain);
    EXPECT_EQ(plain.cx, measure("Save &&As").cx);
    EXPECT_EQ(measure("File").cx, measure("&File").cx);
    EXPECT_EQ(measure(" ").cx, measure("").cx);
    EXPECT_EQ(measure("File").cx + 6, measure("File", true).cx);
    CSize vertical = painter->PaintControlText(dc, "File", CRect(0, 0, 40, 200), false, true, false, false, false);
    EXPECT_EQ(measure("File").cx, vertical.cy);

    // Drawn, "Save &&As" shows an ampersand and nothing underlined: the same pixels as the plain text.
    CTkTestCanvas a(200, 40, kPaper), b(200, 40, kPaper);
    for (auto* c : {&a, &b}) ::SelectObject(c->dc(), CTkThemePainter::Fonts().regular.GetSafeHandle());
    painter->PaintControlText(CDC::FromHandle(a.dc()), "Save &&As", CRect(0, 0, 200, 40), true, false, false, false, false);
    CRect rect(0, 0, 200, 40);
    ::DrawTextA(b.dc(), "Save &As", 8, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    EXPECT_TRUE(SameCanvas(a, b));
}

TEST(TkPainterFonts, FontsFollowTheMetricsAndSmallMenuFontsGrow) {
    NONCLIENTMETRICSA metrics = SystemMetrics();
    metrics.lfMenuFont.lfHeight = -8;
    metrics.lfStatusFont.lfHeight = -13;
    LOGFONTA iconTitle = {};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0);
    iconTitle.lfHeight = -12;
    CTkThemePainter::RebuildFonts(&metrics, &iconTitle);
    CTkPainterFonts& fonts = CTkThemePainter::Fonts();
    EXPECT_EQ(-11, FontOf(fonts.regular).lfHeight);
    EXPECT_EQ(700, FontOf(fonts.bold).lfWeight);
    EXPECT_EQ(-13, FontOf(fonts.status).lfHeight);
    EXPECT_EQ(2700, FontOf(fonts.vertical).lfEscapement);
    EXPECT_EQ(900, FontOf(fonts.vertical).lfOrientation);
    EXPECT_EQ(700, FontOf(fonts.verticalBold).lfWeight);
    EXPECT_EQ(-12, FontOf(fonts.marlett).lfHeight);
    EXPECT_STREQ("Marlett", FontOf(fonts.marlett).lfFaceName);
    EXPECT_EQ(700, FontOf(fonts.iconTitleBold).lfWeight);
    // The popup item height is the height of " " in the regular font plus 6.
    CTkTestCanvas canvas(10, 10);
    ::SelectObject(canvas.dc(), fonts.regular.GetSafeHandle());
    SIZE blank = {};
    ::GetTextExtentPoint32A(canvas.dc(), " ", 1, &blank);
    EXPECT_EQ(blank.cy + 6, CTkThemePainter::GetPopupItemHeight());

    metrics.lfMenuFont.lfHeight = -14;
    CTkThemePainter::RebuildFonts(&metrics, &iconTitle);
    EXPECT_EQ(-14, FontOf(CTkThemePainter::Fonts().regular).lfHeight);
    CTkThemePainter::RebuildFonts();
}

TEST(TkPainterFonts, WindowsHoldingASharedFontGetTheNewOneBeforeTheOldIsDeleted) {
    ASSERT_TRUE(TkDesktopReady());
    CWnd holder;
    ASSERT_TRUE(holder.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HGDIOBJ old = CTkThemePainter::Fonts().status.GetSafeHandle();
    holder.SendMessage(WM_SETFONT, (WPARAM)old, FALSE);
    CTkThemePainter::AddFontUser(holder.GetSafeHwnd());
    CPainterScope painter(TK_THEME_FLAT_LUNA);  // a new painter rebuilds the fonts
    painter->RefreshColorsAndFonts();
    HGDIOBJ now = CTkThemePainter::Fonts().status.GetSafeHandle();
    EXPECT_NE(old, now);
    EXPECT_EQ(now, (HGDIOBJ)holder.SendMessage(WM_GETFONT));
    EXPECT_EQ(0u, ::GetObjectType(old)) << "the old font is deleted";
    CTkThemePainter::RemoveFontUser(holder.GetSafeHwnd());
    holder.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Every painter under every seam: buttons, separators, grippers, borders, popups and sizes.

class TkPainterLooks : public ::testing::TestWithParam<std::tuple<int, int>> {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        m_theme = std::get<0>(GetParam());
        m_seam.reset(new CSeamScope(std::get<1>(GetParam())));
        m_painter.reset(new CPainterScope(m_theme));
        m_look = ExpectedLook(m_theme, std::get<1>(GetParam()));
        if (m_theme == TK_THEME_VISUAL_STYLES && std::get<1>(GetParam()) == kSeamWineStyle && !m_seam->IsStyled())
            GTEST_SKIP() << "no visual style opened on this system";
    }
    CTkThemePainter* P() { return m_painter->get(); }
    COLORREF C(int index) { return P()->GetColor((COLORREF)index); }

    int m_theme = 0, m_look = 0;
    std::unique_ptr<CSeamScope> m_seam;
    std::unique_ptr<CPainterScope> m_painter;
};

TEST_P(TkPainterLooks, ButtonStates) {
    auto face = [&](CTkButtonState state, CTkTestCanvas& canvas) {
        CDC* dc = CDC::FromHandle(canvas.dc());
        P()->PaintButtonFace(dc, CRect(0, 0, 23, 23), state, TK_BAR_POSITION_TOP);
        return ::GetTextColor(canvas.dc());
    };
    CTkButtonState normal, hot, pressed, checked, disabled;
    hot.hot = 1;
    pressed.hot = 1;
    pressed.pressed = 1;
    checked.checked = true;
    disabled.enabled = false;
    CTkTestCanvas cNormal(23, 23, kPaper), cHot(23, 23, kPaper), cPressed(23, 23, kPaper), cChecked(23, 23, kPaper),
        cDisabled(23, 23, kPaper);
    COLORREF tNormal = face(normal, cNormal), tHot = face(hot, cHot), tPressed = face(pressed, cPressed),
             tChecked = face(checked, cChecked), tDisabled = face(disabled, cDisabled);
    if (m_look == TK_THEME_VISUAL_STYLES) {
        EXPECT_FALSE(SameCanvas(cHot, cNormal)) << "the style draws a hot button";
        return;
    }
    // Idle and disabled buttons leave the bar showing.
    EXPECT_TRUE(IsBlank(cNormal, kPaper));
    EXPECT_TRUE(IsBlank(cDisabled, kPaper));
    if (m_look == TK_THEME_CLASSIC) {
        EXPECT_EQ(C(20), cHot.At(0, 0));  // raised
        EXPECT_EQ(C(16), cHot.At(22, 22));
        EXPECT_EQ(kPaper, cHot.At(11, 11));
        EXPECT_EQ(C(16), cPressed.At(0, 0));  // sunken
        EXPECT_EQ(C(20), cPressed.At(22, 22));
        EXPECT_EQ(C(16), cChecked.At(0, 0));
        EXPECT_EQ(C(20), cChecked.At(22, 22));
        // Checked and idle: the dither of face and highlight.
        EXPECT_NE(cChecked.At(2, 2), cChecked.At(3, 2));
        EXPECT_EQ(cChecked.At(2, 2), cChecked.At(3, 3));
        for (COLORREF pixel : {cChecked.At(2, 2), cChecked.At(3, 2)})
            EXPECT_TRUE(pixel == C(15) || pixel == C(20)) << std::hex << pixel;
        EXPECT_EQ(C(18), tNormal);
        EXPECT_EQ(C(18), tHot);
        EXPECT_EQ(C(17), tDisabled);
        return;
    }
    const bool gradients = m_theme == TK_THEME_FLAT_LUNA && std::get<1>(GetParam()) == kSeamOlive;
    if (gradients) {
        // The olive scheme: a gradient from RGB(255,242,200) to RGB(255,212,151) in RGB(63,93,56).
        EXPECT_EQ(RGB(63, 93, 56), cHot.At(0, 0));
        EXPECT_EQ(RGB(63, 93, 56), cHot.At(22, 22));
        EXPECT_TRUE(Near(RGB(255, 242, 200), cHot.At(11, 1), 3)) << std::hex << cHot.At(11, 1);
        EXPECT_TRUE(Near(RGB(255, 212, 151), cHot.At(11, 21), 6)) << std::hex << cHot.At(11, 21);
        EXPECT_TRUE(Near(RGB(254, 142, 75), cPressed.At(11, 1), 6));
        EXPECT_TRUE(Near(RGB(255, 213, 140), cChecked.At(11, 1), 6));
        EXPECT_EQ(RGB(63, 93, 56), cChecked.At(0, 0));
    } else {
        EXPECT_EQ(C(32), cHot.At(0, 0));
        EXPECT_EQ(C(32), cHot.At(22, 22));
        EXPECT_EQ(C(31), cHot.At(5, 5));
        EXPECT_EQ(C(50), cPressed.At(0, 0));
        EXPECT_EQ(C(33), cPressed.At(5, 5));
        EXPECT_EQ(C(50), cChecked.At(0, 0));
        EXPECT_EQ(C(36), cChecked.At(5, 5));
    }
    EXPECT_EQ(C(46), tNormal);
    EXPECT_EQ(C(45), tHot);
    EXPECT_EQ(C(47), tPressed);
    EXPECT_EQ(C(45), tChecked);
    EXPECT_EQ(C(40), tDisabled);
}

TEST_P(TkPainterLooks, SeparatorsGrippersAndBorders) {
    CTestBar bar(200, 26, TK_BAR_POSITION_TOP);
    bar.m_dwStyle = TK_BAR_STYLE_GRIPPER;
    CTkControl* first = bar.AddButton(CRect(8, 2, 31, 25), "");
    CTkControl* second = bar.AddButton(CRect(37, 2, 60, 25), "");
    first->m_rcRow = second->m_rcRow = CRect(8, 2, 192, 25);
    second->m_bBeginGroup = 1;
    CTkTestCanvas canvas(200, 26, kPaper);
    CDC* dc = CDC::FromHandle(canvas.dc());
    CSize gripper = P()->PaintGripper(dc, &bar, false);
    CSize separator = P()->PaintSeparator(dc, &bar, second, false);
    P()->PaintBarBackground(dc, &bar);
    P()->PaintGripper(dc, &bar, true);
    P()->PaintSeparator(dc, &bar, second, true);
    if (m_look == TK_THEME_VISUAL_STYLES) {
        EXPECT_EQ(CSize(8, 0).cx, gripper.cx);
        EXPECT_NE(kPaper, canvas.At(100, 13));
        return;
    }
    EXPECT_EQ(6, gripper.cx);
    EXPECT_EQ(0, gripper.cy);
    if (m_look == TK_THEME_CLASSIC) {
        EXPECT_EQ(8, separator.cy);
        EXPECT_EQ(C(20), canvas.At(0, 0));  // raised border
        EXPECT_EQ(C(16), canvas.At(199, 25));
        EXPECT_EQ(C(15), canvas.At(100, 13));
        EXPECT_EQ(C(20), canvas.At(3, 3));  // gripper strip
        EXPECT_EQ(C(16), canvas.At(5, 22));
        EXPECT_EQ(C(16), canvas.At(33, 10));  // etched separator at left - 4
        EXPECT_EQ(C(20), canvas.At(34, 10));
        return;
    }
    EXPECT_EQ(3, separator.cy);
    EXPECT_EQ(C(39), canvas.At(33, 10));  // separator line at left - 4
    if (m_theme == TK_THEME_FLAT) {
        EXPECT_EQ(C(15), canvas.At(0, 5));   // frame
        EXPECT_EQ(C(15), canvas.At(1, 1));   // rounded corner
        EXPECT_EQ(C(30), canvas.At(100, 13));
        for (int y = 5; y < 21; y += 2) EXPECT_EQ(C(38), canvas.At(3, y)) << y;  // gripper lines
        EXPECT_EQ(C(30), canvas.At(3, 6));
    } else {
        const CTkLunaColors& luna = static_cast<CTkThemePainterFlatLuna*>(P())->GetLunaColors();
        EXPECT_EQ(C(20), canvas.At(34, 10));  // the separator's light line
        EXPECT_EQ(C(38), canvas.At(5, 5));    // gripper dots
        EXPECT_EQ(C(20), canvas.At(7, 7));
        EXPECT_EQ(luna.shadowLine, canvas.At(100, 25));  // shadow line along the bottom
        EXPECT_TRUE(Near(luna.body.clrStart, canvas.At(100, 1), 6)) << std::hex << canvas.At(100, 1);
    }
}

TEST_P(TkPainterLooks, PopupBarsAndMenuItems) {
    CTestBar popup(150, 60, TK_BAR_POSITION_POPUP, TK_BAR_TYPE_POPUP);
    const int itemHeight = CTkThemePainter::GetPopupItemHeight();
    CTkControl* item = popup.AddButton(CRect(3, 3, 147, 3 + itemHeight), "&Open");
    item->m_strShortcutText = "Ctrl+O";
    CTkControl* checked = popup.AddButton(CRect(3, 3 + itemHeight, 147, 3 + 2 * itemHeight), "Bold");
    checked->m_bChecked = 1;
    CTkTestCanvas canvas(150, 60, kPaper);
    CDC* dc = CDC::FromHandle(canvas.dc());
    CTkSelectFont font(dc, &CTkThemePainter::Fonts().regular);
    CSize measured = P()->DrawControl(dc, item, false);
    SIZE caption = {}, keys = {};
    ::GetTextExtentPoint32A(canvas.dc(), "Open", 4, &caption);
    ::GetTextExtentPoint32A(canvas.dc(), "Ctrl+O", 6, &keys);
    EXPECT_EQ(std::max(20, itemHeight - 4), measured.cy);
    const bool flat = m_look == TK_THEME_FLAT || m_look == TK_THEME_FLAT_LUNA;
    EXPECT_EQ(caption.cx + keys.cx + (flat ? itemHeight + 44 : 60), measured.cx);
    EXPECT_EQ(CRect(3, 3, 3, 3).left, P()->GetBarBorders(&popup).left + (flat ? 1 : 0));

    P()->PaintBarBackground(dc, &popup);
    P()->DrawControl(dc, checked, true);
    if (flat) {
        // The side strip: the image gutter of the menus, popup item height + 5 wide.
        EXPECT_EQ(C(43), canvas.At(0, 30));
        COLORREF gutter = canvas.At(2, 40), beyond = canvas.At(itemHeight + 10, 40);
        if (m_theme == TK_THEME_FLAT) {
            EXPECT_EQ(C(30), gutter);
        } else {
            EXPECT_TRUE(Near(static_cast<CTkThemePainterFlatLuna*>(P())->GetLunaColors().body.clrStart, gutter, 8));
        }
        EXPECT_EQ(C(41), beyond);
        EXPECT_EQ(C(50), canvas.At((itemHeight + 4) / 2 - 10 + 3, checked->m_rcControl.top + itemHeight / 2 - 10 + 5 - 5))
            << "the checked item's cell is framed";
    } else if (m_look == TK_THEME_VISUAL_STYLES) {
        EXPECT_EQ(C(16), canvas.At(0, 0));  // popups: the menu colour in a shadow-coloured border
        EXPECT_EQ(C(16), canvas.At(149, 59));
        EXPECT_EQ(C(4), canvas.At(75, 50));
    } else {
        EXPECT_EQ(C(0), canvas.At(149, 59));  // outer frame, black at the bottom-right
        EXPECT_EQ(C(15), canvas.At(0, 0));
        EXPECT_EQ(C(20), canvas.At(1, 1));  // then raised
        EXPECT_EQ(C(15), canvas.At(75, 50));
    }
    // The check mark of an item without an image, in its cell.
    const int mid = (checked->m_rcControl.top + checked->m_rcControl.bottom) / 2;
    const int cellLeft = flat ? 3 + (itemHeight + 4) / 2 - 10 : 3;
    EXPECT_EQ(::GetTextColor(canvas.dc()), canvas.At(cellLeft + 8, mid - 10 + 11));
    EXPECT_EQ(::GetTextColor(canvas.dc()), canvas.At(cellLeft + 6, mid - 10 + 9));

    CSize strip = P()->PaintPopupCaptionStrip(dc, CRect(0, 0, 100, 10), true, false);
    EXPECT_EQ(flat ? 9 : 8, strip.cy);
}

TEST_P(TkPainterLooks, ToolbarButtonSizes) {
    CTestBar bar(300, 26, TK_BAR_POSITION_TOP);
    CTkControl* bare = bar.AddButton(CRect(0, 0, 23, 23), "");
    CTkControl* text = bar.AddButton(CRect(30, 0, 100, 23), "&Send");
    CTkControl* split = bar.AddButton(CRect(0, 0, 34, 23), "");
    split->m_nType = TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP;
    CTkTestCanvas canvas(300, 26, kPaper);
    CDC* dc = CDC::FromHandle(canvas.dc());
    EXPECT_EQ(23, P()->DrawControl(dc, bare, false).cx);
    EXPECT_EQ(23, P()->DrawControl(dc, bare, false).cy);
    EXPECT_EQ(34, P()->DrawControl(dc, split, false).cx);
    ::SelectObject(canvas.dc(), CTkThemePainter::Fonts().regular.GetSafeHandle());
    SIZE send = {};
    ::GetTextExtentPoint32A(canvas.dc(), "Send", 4, &send);
    CSize measured = P()->DrawControl(dc, text, false);
    EXPECT_EQ(7 + send.cx, measured.cx);
    EXPECT_EQ(std::max<int>(23, send.cy + 6), measured.cy);
    // A vertical bar turns the caption.
    CTestBar left(26, 300, TK_BAR_POSITION_LEFT);
    CTkControl* down = left.AddButton(CRect(0, 0, 23, 70), "&Send");
    CSize turned = P()->DrawControl(dc, down, false);
    EXPECT_EQ(7 + send.cx, turned.cy);

    // The expand button sits at the end of the bar.
    CTkControlPopup expand;
    expand.m_pParent = &bar;
    EXPECT_EQ(0, P()->PaintSpecialGlyph(dc, TK_GLYPH_EXPAND, &expand, false).cx);
    EXPECT_EQ(CRect(287, 2, 298, 24).left, expand.m_rcControl.left);
    EXPECT_EQ(24, expand.m_rcControl.bottom);
    expand.m_pParent = &left;
    P()->PaintSpecialGlyph(dc, TK_GLYPH_EXPAND, &expand, false);
    EXPECT_EQ(287, expand.m_rcControl.top);
    EXPECT_EQ(298, expand.m_rcControl.bottom);
    expand.m_pParent = nullptr;
}

TEST_P(TkPainterLooks, StatusPanes) {
    CTkTestCanvas canvas(100, 20, kPaper);
    CDC* dc = CDC::FromHandle(canvas.dc());
    P()->PaintStatusPane(dc, CRect(10, 2, 90, 18), 0, "");
    CTkTestCanvas bare(100, 20, kPaper);
    P()->PaintStatusPane(CDC::FromHandle(bare.dc()), CRect(10, 2, 90, 18), SBPS_NOBORDERS, "");
    EXPECT_TRUE(IsBlank(bare, kPaper));
    if (m_look == TK_THEME_CLASSIC || m_look == TK_THEME_VISUAL_STYLES) {
        EXPECT_EQ(C(16), canvas.At(10, 2));
        EXPECT_EQ(C(20), canvas.At(89, 17));
    } else if (m_look == TK_THEME_FLAT) {
        EXPECT_EQ(C(16), canvas.At(10, 2));
        EXPECT_EQ(C(16), canvas.At(89, 17));
    } else {
        const COLORREF border = static_cast<CTkThemePainterFlatLuna*>(P())->GetLunaColors().statusBorder;
        EXPECT_EQ(border, canvas.At(10, 2));
        if (std::get<1>(GetParam()) != kSeamOlive) {
            EXPECT_EQ(BlendColors(C(15), C(5), 70), border);
        }
    }
    // A disabled pane draws no text.
    CTkTestCanvas text(100, 20, kPaper), none(100, 20, kPaper);
    ::SelectObject(text.dc(), CTkThemePainter::Fonts().status.GetSafeHandle());
    P()->PaintStatusPane(CDC::FromHandle(text.dc()), CRect(0, 0, 100, 20), SBPS_NOBORDERS, "WWWW");
    P()->PaintStatusPane(CDC::FromHandle(none.dc()), CRect(0, 0, 100, 20), SBPS_NOBORDERS | SBPS_DISABLED, "WWWW");
    EXPECT_FALSE(IsBlank(text, kPaper));
    EXPECT_TRUE(IsBlank(none, kPaper));
}

std::string LookName(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
    const char* themes[] = {"Flat", "Classic", "FlatLuna", "VisualStyles"};
    const char* seams[] = {"Unthemed", "Olive", "WineStyle"};
    return std::string(themes[std::get<0>(info.param)]) + seams[std::get<1>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryPainter, TkPainterLooks,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3),
                                            ::testing::Values(kSeamUnthemed, kSeamOlive, kSeamWineStyle)),
                         LookName);

// ---------------------------------------------------------------------------------------------
// Operations drawn alike by every theme.

TEST(TkThemePainter, SizeGripSplitArrowAndCheckMark) {
    CPainterScope painter(TK_THEME_CLASSIC);
    CTkTestCanvas grip(40, 20, kPaper);
    painter->PaintSizeGrip(CDC::FromHandle(grip.dc()), CRect(0, 0, 40, 20));
    for (int x : {36, 37, 32, 33, 28, 29}) EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), grip.At(x, 18)) << x;
    for (int x : {35, 31, 27}) EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), grip.At(x, 18)) << x;
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), grip.At(39, 15));
    EXPECT_EQ(kPaper, grip.At(20, 18));

    ASSERT_TRUE(TkDesktopReady());
    CTestBar bar(100, 26, TK_BAR_POSITION_TOP);
    CTkControl* split = bar.AddButton(CRect(0, 0, 34, 23), "");
    split->m_nType = TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP;
    CTkTestCanvas arrow(34, 23, kPaper);
    ::SetTextColor(arrow.dc(), RGB(200, 0, 0));
    painter->PaintSplitButton(CDC::FromHandle(arrow.dc()), split->m_rcControl, split);
    EXPECT_EQ(painter->GetColor(TK_COLOR_BTNTEXT), arrow.At(27, 11));
    EXPECT_EQ(painter->GetColor(TK_COLOR_BTNTEXT), arrow.At(25, 10));
    EXPECT_EQ(kPaper, arrow.At(27, 14));
    EXPECT_EQ(kPaper, arrow.At(22, 11));

    CTkTestCanvas check(20, 20, kPaper), mirrored(20, 20, kPaper);
    painter->PaintCheckMark(CDC::FromHandle(check.dc()), 0, 0, RGB(0, 0, 200), false);
    painter->PaintCheckMark(CDC::FromHandle(mirrored.dc()), 0, 0, RGB(0, 0, 200), true);
    for (POINT p : {POINT{6, 9}, POINT{8, 11}, POINT{12, 7}, POINT{6, 10}, POINT{8, 12}})
        EXPECT_EQ(RGB(0, 0, 200), check.At(p.x, p.y)) << p.x << "," << p.y;
    for (POINT p : {POINT{6, 7}, POINT{10, 11}, POINT{6, 8}}) EXPECT_EQ(RGB(0, 0, 200), mirrored.At(p.x, p.y));
    // Colours past the table are used as they are.
    CTkTestCanvas raw(4, 4, kPaper);
    painter->FillRect(CDC::FromHandle(raw.dc()), CRect(0, 0, 4, 4), 57);
    EXPECT_EQ(RGB(57, 0, 0), raw.At(1, 1));
}

TEST(TkThemePainter, ClassicExcludeRectsAndBorders) {
    ASSERT_TRUE(TkDesktopReady());
    CPainterScope painter(TK_THEME_CLASSIC);
    CTestBar popup(50, 50, TK_BAR_POSITION_POPUP, TK_BAR_TYPE_POPUP), left(26, 100, TK_BAR_POSITION_LEFT),
        top(100, 26, TK_BAR_POSITION_TOP);
    auto adjusted = [&](CTestBar& bar) {
        CTkControl* control = bar.AddButton(CRect(0, 0, 1, 1), "");
        control->m_nType = TK_CONTROL_TYPE_POPUP;
        CRect rect(100, 100, 200, 120);
        painter->AdjustPopupExcludeRect(rect, control);
        return rect;
    };
    EXPECT_TRUE(SameRect(CRect(101, 100, 199, 120), adjusted(popup)));
    EXPECT_TRUE(SameRect(CRect(100, 99, 200, 121), adjusted(left)));
    EXPECT_TRUE(SameRect(CRect(99, 100, 201, 120), adjusted(top)));
    EXPECT_EQ(3, painter->GetBarBorders(&popup).top);
    EXPECT_EQ(2, painter->GetBarBorders(&top).top);
    // A floating bar's caption is at least 18 pixels high, in the active caption colour.
    CTestBar floating(120, 60, TK_BAR_POSITION_FLOATING);
    floating.m_strTitle = "Tools";
    CTkTestCanvas canvas(120, 60, kPaper);
    CSize caption = painter->PaintGripper(CDC::FromHandle(canvas.dc()), &floating, true);
    EXPECT_GE(caption.cy, 18);
    EXPECT_EQ(painter->GetColor(TK_COLOR_ACTIVECAPTION), canvas.At(4, 4));
}

TEST(TkThemePainter, FadeEndsOnTheNewPictureAndTakesItsTime) {
    CPainterScope painter(TK_THEME_FLAT);
    CTkTestCanvas screen(50, 20, RGB(255, 0, 0)), picture(50, 20, RGB(0, 0, 255));
    auto start = std::chrono::steady_clock::now();
    CCanvasDC to(screen), from(picture);
    painter->AnimatePopup(&to, &from, CRect(0, 0, 50, 20), TK_ANIMATION_FADE);
    auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(spent.count(), 70);
    EXPECT_TRUE(SameCanvas(screen, picture));
    CTkTestCanvas slid(50, 20, RGB(255, 0, 0));
    painter->m_nAnimationLength = 0;
    CCanvasDC slidDC(slid);
    painter->AnimatePopup(&slidDC, &from, CRect(0, 0, 50, 20), TK_ANIMATION_SLIDE);
    EXPECT_TRUE(SameCanvas(slid, picture));
}

// ---------------------------------------------------------------------------------------------
// The flat XP painter's own colours.

TEST(TkFlatLuna, SchemeColoursStayInThePaintersOwnTable) {
    CSeamScope olive(kSeamOlive);
    CPainterScope luna(TK_THEME_FLAT_LUNA);
    auto* painter = static_cast<CTkThemePainterFlatLuna*>(luna.get());
    ASSERT_TRUE(painter->IsSchemeApplied());
    EXPECT_EQ(RGB(63, 93, 56), painter->GetColor(TK_COLOR_HOT_BORDER));
    EXPECT_EQ(RGB(255, 238, 194), painter->GetColor(TK_COLOR_HOT_FILL));
    EXPECT_EQ(RGB(254, 128, 62), painter->GetColor(TK_COLOR_PRESSED_FILL));
    EXPECT_EQ(RGB(244, 244, 238), painter->GetColor(TK_COLOR_MENU_BACK));
    EXPECT_EQ(RGB(151, 160, 123), painter->GetColor(TK_COLOR_APPWORKSPACE));
    EXPECT_EQ(RGB(0, 0, 0), painter->GetColor(TK_COLOR_PRESSED_TEXT));
    EXPECT_EQ(CTkSysColors::Instance().m_grcSecond.clrEnd, painter->GetColor(TK_COLOR_FACE_GRADIENT_END));
    // The process-wide table, and a painter made beside it, keep the system's colours.
    for (int index : {12, 31, 32, 33, 41, 51, 52, 56}) {
        EXPECT_NE(painter->GetColor((COLORREF)index), CTkSysColors::Instance().GetColor((COLORREF)index)) << index;
        CPainterScope classic(TK_THEME_CLASSIC);
        EXPECT_EQ(CTkSysColors::Instance().GetColor((COLORREF)index), classic->GetColor((COLORREF)index)) << index;
    }
}

TEST(TkFlatLuna, WithoutASchemeTheTableIsTheSystemsAndFramesAreFlat) {
    CSeamScope plain(kSeamUnthemed);
    CPainterScope luna(TK_THEME_FLAT_LUNA);
    auto* painter = static_cast<CTkThemePainterFlatLuna*>(luna.get());
    EXPECT_FALSE(painter->IsSchemeApplied());
    for (int index = 30; index < 55; ++index)
        EXPECT_EQ(CTkSysColors::Instance().GetColor((COLORREF)index), painter->GetColor((COLORREF)index)) << index;
    EXPECT_EQ(BlendColors(painter->GetColor(TK_COLOR_BTNFACE), painter->GetColor(TK_COLOR_WINDOW), 205),
              painter->GetLunaColors().bar.clrEnd);
    ASSERT_TRUE(TkDesktopReady());
    CTestBar top(100, 26, TK_BAR_POSITION_TOP), left(26, 100, TK_BAR_POSITION_LEFT);
    EXPECT_TRUE(SameRect(CRect(4, 2, 2, 2), painter->GetBarBorders(&top)));
    EXPECT_TRUE(SameRect(CRect(2, 2, 2, 2), painter->GetBarBorders(&left)));
}

TEST(TkFlatLuna, BlueMenuBarGradientSpansHalfTheScreen) {
    CSeamScope blue(kSeamBlue);
    CPainterScope luna(TK_THEME_FLAT_LUNA);
    EXPECT_EQ(RGB(158, 190, 245), luna->GetColor(TK_COLOR_BAR_FACE));
    EXPECT_EQ(RGB(0, 45, 150), luna->GetColor(TK_COLOR_FRAME));
    ASSERT_TRUE(TkDesktopReady());
    CTestBar menu(100, 20, TK_BAR_POSITION_TOP, TK_BAR_TYPE_MENUBAR);
    CTkTestCanvas canvas(100, 20, kPaper);
    luna->PaintBarBackground(CDC::FromHandle(canvas.dc()), &menu);
    EXPECT_TRUE(Near(RGB(158, 190, 245), canvas.At(0, 10), 2));
    // At x = 99 the gradient has gone only 99 / (screen width / 2) of its way.
    const int span = std::max(100, ::GetSystemMetrics(SM_CXFULLSCREEN));
    const COLORREF expected = BlendColorLinear(RGB(158, 190, 245), RGB(196, 218, 250), 1.0 - 99.0 / span);
    EXPECT_TRUE(Near(expected, canvas.At(99, 10), 3)) << std::hex << canvas.At(99, 10) << " " << expected;
}

TEST(TkFlatLuna, SilverStatusPanesAndTheFlatPainterFollowsTheTable) {
    CSeamScope silver(kSeamSilver);
    CPainterScope luna(TK_THEME_FLAT_LUNA);
    CTkTestCanvas canvas(50, 20, kPaper);
    luna->PaintStatusPane(CDC::FromHandle(canvas.dc()), CRect(0, 0, 50, 20), 0, "");
    EXPECT_EQ(RGB(236, 234, 218), canvas.At(0, 0));
    EXPECT_EQ(RGB(0, 0, 0), luna->GetColor(TK_COLOR_PRESSED_TEXT));
    CPainterScope flat(TK_THEME_FLAT);
    CTkTestCanvas gutter(20, 20, kPaper);
    auto* flatPainter = static_cast<CTkThemePainterFlat*>(flat.get());
    flatPainter->PaintMenuGutter(CDC::FromHandle(gutter.dc()), CRect(0, 0, 10, 20), true);
    flatPainter->PaintMenuGutter(CDC::FromHandle(gutter.dc()), CRect(10, 0, 20, 20), false);
    EXPECT_EQ(flat->GetColor(TK_COLOR_RARELY_USED_GUTTER), gutter.At(5, 5));
    EXPECT_EQ(flat->GetColor(TK_COLOR_BAR_FACE), gutter.At(15, 5));
}

}  // namespace
