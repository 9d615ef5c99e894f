// The themed status bar in a frame of its own: panes, widths and texts drawn by the current
// painter, the size grip, and the new font after the fonts are rebuilt; and a picture of a test
// bar drawn by each painter for review.
#include "PainterTestSupport.h"
#include "commandbars/TkThemedStatusBar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

const COLORREF kPaper = RGB(10, 20, 30);

class TkThemedStatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 0, 0, 400, 120, nullptr, nullptr));
        ASSERT_TRUE(m_bar.Create(&m_frame, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP));
    }
    void TearDown() override {
        if (m_frame.GetSafeHwnd()) m_frame.DestroyWindow();
        CTkThemePainter::ReleaseCurrent();
    }
    void Panes(UINT style0, UINT style1) {
        const UINT ids[] = {0, 0};
        ASSERT_TRUE(m_bar.SetIndicators(ids, 2));
        m_bar.SetPaneInfo(0, 0, style0, 150);
        m_bar.SetPaneInfo(1, 0, style1, 150);
    }
    // The bar painted into a canvas of its client size.
    std::unique_ptr<CTkTestCanvas> Paint() {
        CRect client;
        m_bar.GetClientRect(&client);
        auto canvas = std::make_unique<CTkTestCanvas>(client.Width(), client.Height(), kPaper);
        m_bar.DoPaint(CDC::FromHandle(canvas->dc()));
        return canvas;
    }
    CRect Pane(int index) {
        CRect rect;
        m_bar.GetItemRect(index, &rect);
        return rect;
    }
    static CRect Deflate(const CRect& rect) { return CRect(rect.left + 2, rect.top + 1, rect.right - 2, rect.bottom - 1); }
    // Rows of a rectangle that hold a pixel other than the colour.
    static int InkRows(const CTkTestCanvas& canvas, const CRect& rect, COLORREF background) {
        int rows = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                if (canvas.At(x, y) != background) {
                    ++rows;
                    break;
                }
            }
        }
        return rows;
    }

    CWnd m_frame;
    CTkThemedStatusBar m_bar;
};

TEST_F(TkThemedStatusBarTest, PanesTextsAndWidthsAreDrawnByTheCurrentPainter) {
    CSeamScope plain(kSeamUnthemed);
    CTkThemePainter::ReleaseCurrent();  // painted before any theme was selected: the classic one
    Panes(SBPS_STRETCH, SBPS_NORMAL);
    EXPECT_EQ(CTkThemePainter::Fonts().status.GetSafeHandle(), (HGDIOBJ)m_bar.SendMessage(WM_GETFONT));
    CRect window;
    m_bar.GetWindowRect(&window);
    EXPECT_GE(window.Height(), 20);
    m_bar.SetPaneText(1, "WWW");
    EXPECT_EQ(CString("WWW"), m_bar.GetPaneText(1));

    auto canvas = Paint();
    CTkThemePainter* painter = CTkThemePainter::GetCurrent();
    ASSERT_EQ(TK_THEME_CLASSIC, painter->GetThemeKind());
    const int edge = ::GetSystemMetrics(SM_CXEDGE);
    const CRect last = Pane(1);
    const int middle = (last.top + last.bottom) / 2;
    // The last pane, not stretched, is as wide as its width and three edges; the background beyond.
    EXPECT_EQ(painter->GetColor(TK_COLOR_BTNSHADOW), canvas->At(last.left, last.top));
    EXPECT_EQ(painter->GetColor(TK_COLOR_BTNHIGHLIGHT), canvas->At(last.left + 150 + 3 * edge - 1, middle));
    EXPECT_EQ(painter->GetColor(TK_COLOR_BTNFACE), canvas->At(last.left + 150 + 3 * edge + 1, last.top + 2));
    // Its text is inside it, and the empty pane has none.
    EXPECT_GT(InkRows(*canvas, CRect(last.left + 2, last.top + 1, last.left + 100, last.bottom - 1),
                      painter->GetColor(TK_COLOR_BTNFACE)),
              4);
    const CRect first = Pane(0);
    EXPECT_EQ(0, InkRows(*canvas, CRect(first.left + 2, first.top + 2, first.right - 2, first.bottom - 2),
                         painter->GetColor(TK_COLOR_BTNFACE)));
    // The frame has a thick border and is not maximised: the size grip.
    CRect client;
    m_bar.GetClientRect(&client);
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), canvas->At(client.right - 4, client.bottom - 2));

    // The window's own painting goes through the same code without a fault.
    m_frame.ShowWindow(SW_SHOWNA);
    m_bar.Invalidate(false);
    m_bar.UpdateWindow();
}

TEST_F(TkThemedStatusBarTest, AStretchedLastPaneStopsBeforeTheGripAndMaximisedFramesHaveNoGrip) {
    CSeamScope plain(kSeamUnthemed);
    CTkThemePainter::SelectTheme(TK_THEME_CLASSIC);
    Panes(SBPS_NORMAL, SBPS_STRETCH);
    auto canvas = Paint();
    CRect client;
    m_bar.GetClientRect(&client);
    const int right = client.right - (::GetSystemMetrics(SM_CXSMICON) + ::GetSystemMetrics(SM_CXEDGE));
    const CRect last = Pane(1);
    CTkThemePainter* painter = CTkThemePainter::GetCurrent();
    EXPECT_EQ(painter->GetColor(TK_COLOR_BTNHIGHLIGHT), canvas->At(right - 1, (last.top + last.bottom) / 2));
    EXPECT_EQ(painter->GetColor(TK_COLOR_BTNFACE), canvas->At(right + 1, last.top + 1));

    m_frame.ShowWindow(SW_MAXIMIZE);
    if (!::IsZoomed(m_frame.GetSafeHwnd())) GTEST_SKIP() << "the frame did not maximise";
    canvas = Paint();
    m_bar.GetClientRect(&client);
    EXPECT_EQ(painter->GetColor(TK_COLOR_BTNFACE), canvas->At(client.right - 4, client.bottom - 2));
}

TEST_F(TkThemedStatusBarTest, EachPainterDrawsThePanesAndAManagersPainterWins) {
    CSeamScope plain(kSeamUnthemed);
    Panes(SBPS_STRETCH, SBPS_NORMAL);
    for (int theme = 0; theme < 4; ++theme) {
        CTkThemePainter::ReleaseCurrent();
        CTkThemePainter* painter = CTkThemePainter::SelectTheme(theme);
        auto canvas = Paint();
        const CRect pane = Pane(1);
        COLORREF border = painter->GetColor(TK_COLOR_BTNSHADOW);
        if (theme == TK_THEME_FLAT_LUNA)
            border = static_cast<CTkThemePainterFlatLuna*>(painter)->GetLunaColors().statusBorder;
        EXPECT_EQ(border, canvas->At(pane.left, pane.top)) << theme;
        if (theme != TK_THEME_FLAT_LUNA)
            border = theme == TK_THEME_FLAT ? painter->GetColor(TK_COLOR_BTNSHADOW)
                                            : painter->GetColor(TK_COLOR_BTNHIGHLIGHT);
        EXPECT_EQ(border, canvas->At(pane.left + 20, pane.bottom - 1))
            << theme;
    }
    CTkCommandBars manager;
    CTkThemePainter* flat = CTkThemePainter::CreateTheme(TK_THEME_FLAT);
    manager.SetPainter(flat);
    m_bar.m_pManager = &manager;
    EXPECT_EQ(flat, m_bar.GetPainter());
    auto canvas = Paint();
    EXPECT_EQ(flat->GetColor(TK_COLOR_BTNSHADOW), canvas->At(Pane(1).left + 20, Pane(1).bottom - 1));
    m_bar.m_pManager = nullptr;
    manager.SetPainter(nullptr);
    flat->InternalRelease();
}

TEST_F(TkThemedStatusBarTest, RepaintsWithTheNewFontAfterASettingsChange) {
    CSeamScope plain(kSeamUnthemed);
    CTkThemePainter::SelectTheme(TK_THEME_CLASSIC);
    Panes(SBPS_STRETCH, SBPS_NORMAL);
    m_bar.SetPaneText(1, "Wg");
    CTkThemePainter* painter = CTkThemePainter::GetCurrent();
    const int before = InkRows(*Paint(), Deflate(Pane(1)), painter->GetColor(TK_COLOR_BTNFACE));

    NONCLIENTMETRICSA metrics = SystemMetrics();
    metrics.lfStatusFont.lfHeight = -16;
    HGDIOBJ old = CTkThemePainter::Fonts().status.GetSafeHandle();
    CTkThemePainter::RebuildFonts(&metrics);
    HGDIOBJ now = CTkThemePainter::Fonts().status.GetSafeHandle();
    EXPECT_EQ(now, (HGDIOBJ)m_bar.SendMessage(WM_GETFONT)) << "the bar holds the new font";
    EXPECT_EQ(0u, ::GetObjectType(old));
    const int after = InkRows(*Paint(), Deflate(Pane(1)), painter->GetColor(TK_COLOR_BTNFACE));
    EXPECT_GT(after, before);
    CTkThemePainter::RebuildFonts();
}

// ---------------------------------------------------------------------------------------------
// A picture of one test bar drawn by each painter, for review (painters_screenshot.sh).

void DrawTestBar(CTkThemePainter* painter, CTkTestCanvas& canvas, int top) {
    CTestBar bar(canvas.width(), 30, TK_BAR_POSITION_TOP);
    bar.m_dwStyle = TK_BAR_STYLE_GRIPPER;
    bar.SetPainter(painter);
    const char* captions[] = {"Normal", "Hot", "Pressed", "Checked", "Disabled", "Menu", "Split"};
    CTkTestCanvas probe(10, 10);
    ::SelectObject(probe.dc(), CTkThemePainter::Fonts().regular.GetSafeHandle());
    int x = 10;
    for (int i = 0; i < 7; ++i) {
        CTkControl* control = bar.AddButton(CRect(), captions[i]);
        if (i == 5) control->m_nType = TK_CONTROL_TYPE_POPUP;
        if (i == 6) control->m_nType = TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP;
        control->m_rcControl = CRect(x, 3, x, 26);
        CSize size = painter->DrawControl(CDC::FromHandle(probe.dc()), control, false);
        if (i == 5 || i == 6) x += 6;
        control->m_bBeginGroup = i == 5;
        control->m_rcControl = CRect(x, 3, x + size.cx, 26);
        control->m_rcRow = CRect(10, 3, canvas.width(), 26);
        x += size.cx + 1;
    }
    bar.GetControl(1)->m_nSelected = TK_CONTROL_SELECTION_MOUSE;
    bar.GetControl(2)->m_nSelected = TK_CONTROL_SELECTION_MOUSE;
    bar.GetControl(2)->m_nExecuted = 1;
    bar.GetControl(3)->m_bChecked = 1;
    bar.GetControl(4)->m_bEnabled = 0;
    bar.GetControl(6)->m_nSelected = TK_CONTROL_SELECTION_MOUSE;

    CTkTestCanvas strip(canvas.width(), 30, kPaper);
    CDC* dc = CDC::FromHandle(strip.dc());
    painter->PaintBarBackground(dc, &bar);
    painter->PaintGripper(dc, &bar, true);
    for (int i = 0; i < bar.GetControls()->GetCount(); ++i) {
        CTkControl* control = bar.GetControl(i);
        if (control->m_bBeginGroup) painter->PaintSeparator(dc, &bar, control, true);
        CTkSelectFont font(dc, painter->GetControlFont(&bar, false));
        painter->DrawControl(dc, control, true);
    }
    ::BitBlt(canvas.dc(), 0, top, canvas.width(), 30, strip.dc(), 0, 0, SRCCOPY);
    bar.SetPainter(nullptr);
}

bool WriteBitmap(const CTkTestCanvas& canvas, const char* path) {
    const int width = canvas.width(), height = canvas.height();
    std::vector<DWORD> pixels;
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = canvas.At(x, y);
            pixels.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        }
    BITMAPINFOHEADER info = {sizeof info, width, height, 1, 32, BI_RGB};
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = (DWORD)(file.bfOffBits + pixels.size() * 4);
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
              std::fwrite(pixels.data(), 4, pixels.size(), out) == pixels.size();
    return std::fclose(out) == 0 && ok;
}

TEST(Screenshot, DISABLED_TestBarDrawnByEachPainter) {
    const char* path = std::getenv("TARVOCK_SCREENSHOT_BMP");
    ASSERT_TRUE(path);
    ASSERT_TRUE(TkDesktopReady());
    CTkTestCanvas canvas(560, 5 * 34 + 4, RGB(255, 255, 255));
    {
        CSeamScope plain(kSeamUnthemed);
        for (int theme = 0; theme < 4; ++theme) {
            CPainterScope painter(theme);
            DrawTestBar(painter.get(), canvas, 4 + theme * 34);
        }
    }
    // The flat XP painter once more under the XP style's olive scheme.
    CSeamScope olive(kSeamOlive);
    CPainterScope luna(TK_THEME_FLAT_LUNA);
    DrawTestBar(luna.get(), canvas, 4 + 4 * 34);
    ASSERT_TRUE(WriteBitmap(canvas, path));
}

}  // namespace
