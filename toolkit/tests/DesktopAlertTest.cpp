#include "TkTestSupport.h"
#include "alerts/TkDesktopAlert.h"
#include "painters/TkColors.h"

#include <gtest/gtest.h>

#include <array>
#include <typeinfo>
#include <vector>

namespace {

// Rectangles compared member by member (CRect has no equality of its own).
std::array<LONG, 4> R(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The owner: records the alert's notifications and the state at each.
class CAlertOwner : public CWnd {
public:
    struct Note {
        WPARAM code;
        LPARAM argument;
        int state;
    };
    std::vector<Note> notes;
    CTkDesktopAlertWnd* alert = nullptr;
    bool Create() { return CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TK_WM_DESKTOPALERT) {
            notes.push_back({wParam, lParam, alert ? alert->GetState() : -1});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<int> States() const {
        std::vector<int> states;
        for (const Note& note : notes)
            if (note.code == TK_ALERT_STATECHANGED) states.push_back(note.state);
        return states;
    }
};

class TkDesktopAlert : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(owner.Create());
        owner.alert = &alert;
    }
    void TearDown() override {
        alert.Close();
        owner.DestroyWindow();
    }
    void Tick(UINT id, int times = 1) {
        for (int i = 0; i < times; ++i) alert.SendMessage(WM_TIMER, id, 0);
    }
    LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    CAlertOwner owner;
    CTkDesktopAlertWnd alert;
};

TEST_F(TkDesktopAlert, Defaults) {
    CRect work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.right, alert.GetAnchor().x);
    EXPECT_EQ(work.bottom, alert.GetAnchor().y);
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, alert.GetState());
    EXPECT_EQ(0, alert.GetThemeId());
    EXPECT_NE(nullptr, alert.GetPainter());
    EXPECT_TRUE(alert.HasLayeredFunction());
}

TEST_F(TkDesktopAlert, ShowWithoutAnimationIsShownAtOnceInTheCorner) {
    alert.SetShowTime(0);
    ASSERT_TRUE(alert.Show(&owner));
    EXPECT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    EXPECT_EQ((std::vector<int>{CTkDesktopAlertWnd::StateShowing, CTkDesktopAlertWnd::StateShown}), owner.States());
    EXPECT_EQ((LPARAM)&alert, owner.notes[0].argument);
    CRect rect;
    ::GetWindowRect(alert.GetSafeHwnd(), &rect);
    EXPECT_EQ(alert.GetAnchor().x, rect.right);
    EXPECT_EQ(alert.GetAnchor().y, rect.bottom);
    EXPECT_EQ(170, rect.Width());
    EXPECT_EQ(130, rect.Height());
    EXPECT_TRUE(::IsWindowVisible(alert.GetSafeHwnd()));
    DWORD exStyle = (DWORD)::GetWindowLongPtrW(alert.GetSafeHwnd(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_LAYERED);
    EXPECT_EQ(MA_NOACTIVATE, alert.SendMessage(WM_MOUSEACTIVATE, 0, 0));
    // Showing again is refused while it is up; show time 0 keeps it there.
    EXPECT_FALSE(alert.Show(&owner));
    TkPumpPending();
    EXPECT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    alert.Close();
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, alert.GetState());
    EXPECT_EQ(nullptr, alert.GetSafeHwnd());
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, owner.States().back());
    // The next Show creates the window again.
    ASSERT_TRUE(alert.Show(&owner));
    EXPECT_NE(nullptr, alert.GetSafeHwnd());
}

TEST_F(TkDesktopAlert, FadeInTakesSixteenStepsAndEndsOnTheTarget) {
    alert.SetAnimation(CTkDesktopAlertWnd::AnimationFade);
    alert.SetAlpha(200);
    alert.SetShowTime(0);
    ASSERT_TRUE(alert.Show(&owner));
    EXPECT_TRUE((DWORD)::GetWindowLongPtrW(alert.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(CTkDesktopAlertWnd::StateShowing, alert.GetState());
    EXPECT_EQ(16, alert.GetRemainingSteps());
    EXPECT_EQ(0, alert.GetCurrentAlpha());
    int previous = 0;
    for (int step = 1; step < 16; ++step) {
        Tick(CTkDesktopAlertWnd::TimerShowing);
        EXPECT_GT(alert.GetCurrentAlpha(), previous) << step;
        EXPECT_LT(alert.GetCurrentAlpha(), 200) << step;
        previous = alert.GetCurrentAlpha();
        EXPECT_EQ(CTkDesktopAlertWnd::StateShowing, alert.GetState());
    }
    Tick(CTkDesktopAlertWnd::TimerShowing);
    EXPECT_EQ(200, alert.GetCurrentAlpha());
    EXPECT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    BYTE alpha = 0;
    DWORD flags = 0;
    if (::GetLayeredWindowAttributes(alert.GetSafeHwnd(), nullptr, &alpha, &flags)) {
        EXPECT_EQ(200, alpha);
    }
}

TEST_F(TkDesktopAlert, ShortDurationTakesOneStep) {
    alert.SetAnimation(CTkDesktopAlertWnd::AnimationSlide);
    alert.SetAnimationDuration(10);
    alert.SetShowTime(0);
    ASSERT_TRUE(alert.Show(&owner));
    EXPECT_EQ(1, alert.GetRemainingSteps());
    EXPECT_EQ(0, alert.GetCurrentRect().Height());
    Tick(CTkDesktopAlertWnd::TimerShowing);
    EXPECT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    EXPECT_EQ(130, alert.GetCurrentRect().Height());
}

TEST_F(TkDesktopAlert, SlideAndUnfoldGrowFromTheAnchor) {
    alert.SetAnchor(POINT{600, 500});
    alert.SetAnimation(CTkDesktopAlertWnd::AnimationSlide);
    alert.SetShowTime(0);
    ASSERT_TRUE(alert.Show(&owner));
    EXPECT_EQ(R(CRect(430, 500, 600, 500)), R(alert.GetCurrentRect()));
    Tick(CTkDesktopAlertWnd::TimerShowing);
    EXPECT_EQ(500 - 130 / 16, alert.GetCurrentRect().top);
    Tick(CTkDesktopAlertWnd::TimerShowing, 15);
    EXPECT_EQ(R(CRect(430, 370, 600, 500)), R(alert.GetCurrentRect()));
    CRect window;
    ::GetWindowRect(alert.GetSafeHwnd(), &window);
    EXPECT_EQ(R(CRect(430, 370, 600, 500)), R(window));
    alert.Close();
    alert.SetAnimation(CTkDesktopAlertWnd::AnimationUnfold);
    ASSERT_TRUE(alert.Show(&owner));
    EXPECT_EQ(R(CRect(600, 500, 600, 500)), R(alert.GetCurrentRect()));
    Tick(CTkDesktopAlertWnd::TimerShowing, 16);
    EXPECT_EQ(R(CRect(430, 370, 600, 500)), R(alert.GetCurrentRect()));
}

TEST_F(TkDesktopAlert, ShowTimeEndsInHidingAndClosing) {
    alert.SetAnimation(CTkDesktopAlertWnd::AnimationFade);
    ASSERT_TRUE(alert.Show(&owner));
    Tick(CTkDesktopAlertWnd::TimerShowing, 16);
    ASSERT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    Tick(CTkDesktopAlertWnd::TimerShown);
    EXPECT_EQ(CTkDesktopAlertWnd::StateHiding, alert.GetState());
    EXPECT_EQ(16, alert.GetRemainingSteps());
    Tick(CTkDesktopAlertWnd::TimerHiding, 15);
    EXPECT_EQ(CTkDesktopAlertWnd::StateHiding, alert.GetState());
    Tick(CTkDesktopAlertWnd::TimerHiding);
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, alert.GetState());
    EXPECT_EQ(nullptr, alert.GetSafeHwnd());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 0}), owner.States());
}

TEST_F(TkDesktopAlert, RealTimersRunTheWholeCycle) {
    alert.SetAnimation(CTkDesktopAlertWnd::AnimationSlide);
    alert.SetAnimationDuration(64);
    alert.SetShowTime(100);
    ASSERT_TRUE(alert.Show(&owner));
    // Keep the mouse away from the alert so the show time runs out.
    ::SetCursorPos(0, 0);
    EXPECT_TRUE(TkPumpUntil([&] { return alert.GetState() == CTkDesktopAlertWnd::StateHidden; }, 5000));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 0}), owner.States());
}

TEST_F(TkDesktopAlert, MouseInsideKeepsTheAlertAndBringsAHidingOneBack) {
    alert.SetAnimation(CTkDesktopAlertWnd::AnimationFade);
    alert.SetAlpha(180);
    ASSERT_TRUE(alert.Show(&owner));
    Tick(CTkDesktopAlertWnd::TimerShowing, 16);
    alert.SendMessage(WM_MOUSEMOVE, 0, At(20, 20));
    EXPECT_TRUE(alert.IsMouseInside());
    Tick(CTkDesktopAlertWnd::TimerShown);
    EXPECT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    alert.SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(alert.IsMouseInside());
    Tick(CTkDesktopAlertWnd::TimerShown);
    ASSERT_EQ(CTkDesktopAlertWnd::StateHiding, alert.GetState());
    Tick(CTkDesktopAlertWnd::TimerHiding, 6);
    EXPECT_EQ(10, alert.GetRemainingSteps());
    alert.SendMessage(WM_MOUSEMOVE, 0, At(20, 20));
    EXPECT_EQ(CTkDesktopAlertWnd::StateShowing, alert.GetState());
    // It comes back in as many steps as it had gone.
    EXPECT_EQ(6, alert.GetRemainingSteps());
    Tick(CTkDesktopAlertWnd::TimerShowing, 6);
    EXPECT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    EXPECT_EQ(180, alert.GetCurrentAlpha());
}

TEST_F(TkDesktopAlert, ClickReportsTheItem) {
    alert.SetShowTime(0);
    auto* first = alert.AppendItem(new CTkPopupItem(CRect(10, 10, 60, 30), "First", 1));
    auto* second = alert.AppendItem(new CTkPopupItem(CRect(10, 40, 60, 60), "Second", 2));
    EXPECT_EQ(&alert, first->m_pAlert);
    ASSERT_TRUE(alert.Show(&owner));
    owner.notes.clear();
    alert.SendMessage(WM_MOUSEMOVE, 0, At(20, 20));
    EXPECT_EQ(first, alert.GetHotItem());
    EXPECT_TRUE(first->IsHot());
    alert.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    EXPECT_EQ(first, alert.GetPressedItem());
    EXPECT_TRUE(first->IsPressed());
    alert.SendMessage(WM_LBUTTONUP, 0, At(20, 20));
    ASSERT_EQ(1u, owner.notes.size());
    EXPECT_EQ((WPARAM)TK_ALERT_CLICKED, owner.notes[0].code);
    EXPECT_EQ((LPARAM)first, owner.notes[0].argument);
    EXPECT_EQ(nullptr, alert.GetPressedItem());
    // Pressing one item and releasing over another clicks nothing.
    owner.notes.clear();
    alert.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    alert.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(20, 50));
    EXPECT_EQ(nullptr, alert.GetHotItem());
    alert.SendMessage(WM_LBUTTONUP, 0, At(20, 50));
    EXPECT_TRUE(owner.notes.empty());
    EXPECT_EQ(second, alert.GetHotItem());
}

TEST_F(TkDesktopAlert, LaterItemWinsTheHitTest) {
    auto* under = alert.AppendItem(new CTkPopupItem(CRect(0, 0, 100, 100), "under"));
    auto* over = alert.AppendItem(new CTkPopupItem(CRect(50, 50, 80, 80), "over"));
    EXPECT_EQ(over, alert.HitTest(POINT{60, 60}));
    EXPECT_EQ(under, alert.HitTest(POINT{10, 10}));
    EXPECT_EQ(nullptr, alert.HitTest(POINT{150, 10}));
    EXPECT_EQ(2, alert.GetItemCount());
    alert.ClearItems();
    EXPECT_EQ(0, alert.GetItemCount());
}

TEST_F(TkDesktopAlert, ItemsKeepCopiesOfTheirIcons) {
    auto* item = alert.AppendItem(new CTkPopupItem(CRect(0, 0, 16, 16), ""));
    HICON icon = ::LoadIconW(nullptr, (LPCWSTR)IDI_APPLICATION);
    item->SetIcon(icon);
    item->SetIcon(icon, CTkPopupItem::IconHot);
    EXPECT_NE(nullptr, item->GetIcon());
    EXPECT_NE(icon, item->GetIcon());
    EXPECT_NE(nullptr, item->GetIcon(CTkPopupItem::IconHot));
    EXPECT_EQ(nullptr, item->GetIcon(CTkPopupItem::IconPressed));
    EXPECT_EQ(item->GetFont(), (HFONT)alert.GetPainter()->m_font.GetSafeHandle());
}

TEST_F(TkDesktopAlert, ThemesPick) {
    alert.SetTheme(2);
    EXPECT_EQ(2, alert.GetThemeId());
    EXPECT_NE(nullptr, dynamic_cast<CTkDesktopAlertSchemeTheme*>(alert.GetPainter()));
    alert.SetTheme(3);
    EXPECT_NE(nullptr, dynamic_cast<CTkDesktopAlertBandsTheme*>(alert.GetPainter()));
    alert.SetTheme(9);
    EXPECT_EQ(typeid(CTkDesktopAlertTheme), typeid(*alert.GetPainter()));
}

TEST(TkDesktopAlertThemes, BandsThemeFramesAndBands) {
    CTkDesktopAlertBandsTheme theme;
    CTkTestCanvas canvas(170, 130);
    CDC dc;
    dc.Attach(canvas.dc());
    theme.DrawBackground(&dc, CRect(0, 0, 170, 130));
    EXPECT_EQ(RGB(166, 180, 207), canvas.At(0, 0));
    EXPECT_EQ(RGB(166, 180, 207), canvas.At(0, 60));
    EXPECT_EQ(RGB(69, 86, 144), canvas.At(169, 129));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(1, 1));
    EXPECT_EQ(RGB(207, 222, 244), canvas.At(168, 128));
    EXPECT_EQ(RGB(207, 215, 236), canvas.At(80, 2));          // first band's top row
    EXPECT_EQ(RGB(114, 142, 184), canvas.At(80, 24));         // the frame 22 px below the inner top
    EXPECT_EQ(RGB(114, 142, 184), canvas.At(2, 80));
    dc.Detach();
}

TEST(TkDesktopAlertThemes, CaptionThemeBandAndStrip) {
    CTkDesktopAlertCaptionTheme theme;
    CTkTestCanvas canvas(170, 130);
    CDC dc;
    dc.Attach(canvas.dc());
    theme.DrawBackground(&dc, CRect(0, 0, 170, 130));
    EXPECT_EQ(TkGetColor(TK_COLOR_BTNHIGHLIGHT), canvas.At(0, 0));
    EXPECT_EQ(TkGetColor(TK_COLOR_BTNSHADOW), canvas.At(169, 129));
    COLORREF bandLeft = canvas.At(1, 10), bandRight = canvas.At(168, 10);
    EXPECT_LE(GetRValue(bandLeft), 2);
    EXPECT_NEAR(128, GetBValue(bandLeft), 2);
    EXPECT_NEAR(192, GetBValue(bandRight), 3);
    EXPECT_EQ(RGB(0, 0, 128), canvas.At(10, 80));   // the strip
    EXPECT_NE(RGB(0, 0, 128), canvas.At(60, 80));
    dc.Detach();
}

TEST(TkDesktopAlertThemes, SchemeThemeGrip) {
    CTkDesktopAlertSchemeTheme theme;
    CTkTestCanvas canvas(170, 130);
    CDC dc;
    dc.Attach(canvas.dc());
    theme.DrawBackground(&dc, CRect(0, 0, 170, 130));
    const int bandLeft = 1, bandTop = 1, x = bandLeft + (168 - 36) / 2;
    EXPECT_EQ(RGB(40, 50, 71), canvas.At(x, bandTop + 1));
    EXPECT_EQ(RGB(97, 116, 152), canvas.At(x + 1, bandTop + 2));
    EXPECT_EQ(RGB(249, 249, 251), canvas.At(x + 2, bandTop + 3));
    EXPECT_EQ(RGB(40, 50, 71), canvas.At(x + 4 * 8, bandTop + 1));
    EXPECT_EQ(TkGetColor(TK_COLOR_SCHEME_BORDER), canvas.At(0, 0));
    dc.Detach();
}

TEST_F(TkDesktopAlert, ItemsPaintBackgroundAndText) {
    alert.SetTheme(9);
    auto* filled = alert.AppendItem(new CTkPopupItem(CRect(10, 10, 40, 20), ""));
    filled->m_clrBack = RGB(255, 0, 0);
    auto* text = alert.AppendItem(new CTkPopupItem(CRect(10, 40, 160, 70), "WWWW"));
    text->m_clrText = RGB(0, 0, 255);
    CTkTestCanvas canvas(170, 130);
    CDC dc;
    dc.Attach(canvas.dc());
    alert.DrawAlert(&dc);
    dc.Detach();
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(20, 15));
    int blue = 0;
    for (int y = 40; y < 70; ++y)
        for (int x = 10; x < 160; ++x)
            if (canvas.At(x, y) == RGB(0, 0, 255)) ++blue;
    EXPECT_GT(blue, 10);
    // The background of unknown themes: the face colour and a shadow frame.
    EXPECT_EQ(TkGetColor(TK_COLOR_BTNSHADOW), canvas.At(0, 0));
    EXPECT_EQ(TkGetColor(TK_COLOR_BTNFACE), canvas.At(100, 100));
}

TEST_F(TkDesktopAlert, PaintsThroughTheWindow) {
    alert.SetShowTime(0);
    alert.SetTheme(3);
    ASSERT_TRUE(alert.Show(&owner));
    TkPumpPending();
    HDC screen = ::GetDC(alert.GetSafeHwnd());
    ::RedrawWindow(alert.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(RGB(166, 180, 207), ::GetPixel(screen, 0, 0));
    ::ReleaseDC(alert.GetSafeHwnd(), screen);
}

// The work area the alert sees, for one scope.
RECT g_workArea = {0, 0, 800, 600};
RECT TestWorkArea() {
    return g_workArea;
}
class CWorkAreaScope {
public:
    explicit CWorkAreaScope(const RECT& area) : m_saved(CTkDesktopAlertWnd::s_pfnGetWorkArea) {
        g_workArea = area;
        CTkDesktopAlertWnd::s_pfnGetWorkArea = TestWorkArea;
    }
    ~CWorkAreaScope() { CTkDesktopAlertWnd::s_pfnGetWorkArea = m_saved; }

private:
    CTkDesktopAlertWnd::PFNGETWORKAREA m_saved;
};

TEST_F(TkDesktopAlert, CornerFollowsTheWorkAreaAtEveryShow) {
    CWorkAreaScope area(RECT{0, 0, 800, 600});
    alert.SetShowTime(0);
    ASSERT_TRUE(alert.Show(&owner));
    CRect rect;
    ::GetWindowRect(alert.GetSafeHwnd(), &rect);
    EXPECT_EQ(R(CRect(630, 470, 800, 600)), R(rect));
    alert.Close();
    // The taskbar moved (or the screen changed) between two alerts.
    g_workArea = RECT{100, 40, 1000, 700};
    ASSERT_TRUE(alert.Show(&owner));
    EXPECT_EQ(1000, alert.GetAnchor().x);
    EXPECT_EQ(700, alert.GetAnchor().y);
    ::GetWindowRect(alert.GetSafeHwnd(), &rect);
    EXPECT_EQ(R(CRect(830, 570, 1000, 700)), R(rect));
    alert.Close();
    // A corner set by the owner is kept whatever the work area; clearing it goes back.
    alert.SetAnchor(POINT{500, 400});
    ASSERT_TRUE(alert.Show(&owner));
    ::GetWindowRect(alert.GetSafeHwnd(), &rect);
    EXPECT_EQ(R(CRect(330, 270, 500, 400)), R(rect));
    alert.Close();
    alert.ClearAnchor();
    EXPECT_FALSE(alert.HasFixedAnchor());
    ASSERT_TRUE(alert.Show(&owner));
    EXPECT_EQ(1000, alert.GetAnchor().x);
}

TEST_F(TkDesktopAlert, CornerOfTheRealWorkArea) {
    CRect work;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    alert.SetShowTime(0);
    ASSERT_TRUE(alert.Show(&owner));
    CRect rect;
    ::GetWindowRect(alert.GetSafeHwnd(), &rect);
    EXPECT_EQ(R(CRect(work.right - 170, work.bottom - 130, work.right, work.bottom)), R(rect));
}

// Text pixels of one colour inside a rectangle of the canvas.
int CountColour(const CTkTestCanvas& canvas, const RECT& rect, COLORREF colour) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (canvas.At(x, y) == colour) ++count;
    return count;
}

TEST_F(TkDesktopAlert, AmpersandsAreDrawnAsTyped) {
    alert.SetTheme(9);
    const CRect box(10, 40, 160, 70);
    auto* text = alert.AppendItem(new CTkPopupItem(box, "&&&&&&"));
    text->m_clrText = RGB(0, 0, 255);
    CTkTestCanvas canvas(170, 130);
    {
        CDC dc;
        dc.Attach(canvas.dc());
        alert.DrawAlert(&dc);
        dc.Detach();
    }
    // The same caption drawn by hand, once as typed and once with prefix processing.
    auto reference = [&](UINT format) {
        CTkTestCanvas out(170, 130);
        CDC dc;
        dc.Attach(out.dc());
        alert.GetPainter()->DrawBackground(&dc, CRect(0, 0, 170, 130));
        LOGFONTA logFont = {};
        ::GetObjectA(text->GetFont(), sizeof logFont, &logFont);
        logFont.lfWeight = FW_NORMAL;
        logFont.lfUnderline = FALSE;
        HFONT font = ::CreateFontIndirectA(&logFont);
        HGDIOBJ old = ::SelectObject(out.dc(), font);
        ::SetBkMode(out.dc(), TRANSPARENT);
        ::SetTextColor(out.dc(), RGB(0, 0, 255));
        RECT rect = box;
        ::DrawTextA(out.dc(), "&&&&&&", -1, &rect, format);
        ::SelectObject(out.dc(), old);
        ::DeleteObject(font);
        dc.Detach();
        return CountColour(out, box, RGB(0, 0, 255));
    };
    const int drawn = CountColour(canvas, box, RGB(0, 0, 255));
    const int asTyped = reference(DT_NOPREFIX);
    const int prefixed = reference(0);
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(asTyped, drawn);
    EXPECT_LT(prefixed, asTyped);  // "&&" would be one "&": half the ampersands
}

// The owner of an alert with a close button: an item click is reported with the item, and the
// owner closes the alert when it is the close button's.
class CClosingOwner : public CAlertOwner {
public:
    UINT closeId = 0;
    std::vector<UINT> clickedIds;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TK_WM_DESKTOPALERT && wParam == TK_ALERT_CLICKED) {
            auto* item = reinterpret_cast<CTkPopupItem*>(lParam);
            clickedIds.push_back(item->m_nID);
            LRESULT result = CAlertOwner::WindowProc(message, wParam, lParam);
            if (item->m_nID == closeId && alert) alert->Close();
            return result;
        }
        return CAlertOwner::WindowProc(message, wParam, lParam);
    }
};

TEST(TkDesktopAlertOwner, ClickReportsTheItemIdAndTheCloseButtonCloses) {
    ASSERT_TRUE(TkDesktopReady());
    CClosingOwner owner;
    ASSERT_TRUE(owner.Create());
    CTkDesktopAlertWnd alert;
    owner.alert = &alert;
    owner.closeId = 900;
    alert.SetTheme(3);
    alert.SetShowTime(0);
    auto* link = alert.AppendItem(new CTkPopupItem(CRect(10, 40, 150, 60), "Read the message", 501));
    auto* close = alert.AppendItem(new CTkPopupItem(CRect(150, 4, 166, 20), "x", 900));
    close->m_bButton = true;
    ASSERT_TRUE(alert.Show(&owner));
    ASSERT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    owner.notes.clear();
    // A click on the text item: code 1 with the item, whose id the owner reads.
    alert.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, 50));
    alert.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 50));
    alert.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 50));
    ASSERT_EQ(1u, owner.notes.size());
    EXPECT_EQ((WPARAM)TK_ALERT_CLICKED, owner.notes[0].code);
    EXPECT_EQ((LPARAM)link, owner.notes[0].argument);
    EXPECT_EQ((std::vector<UINT>{501}), owner.clickedIds);
    EXPECT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    // The close button, hot under the mouse, is painted with the theme's hot fill and frame.
    alert.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(158, 12));
    ASSERT_EQ(close, alert.GetHotItem());
    {
        CTkTestCanvas canvas(170, 130);
        CDC dc;
        dc.Attach(canvas.dc());
        alert.DrawAlert(&dc);
        dc.Detach();
        EXPECT_EQ(RGB(194, 238, 255), canvas.At(162, 17));
        EXPECT_EQ(RGB(114, 142, 184), canvas.At(150, 4));
        EXPECT_EQ(RGB(114, 142, 184), canvas.At(165, 19));
    }
    // Pressed: the pressed fill.
    alert.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(158, 12));
    {
        CTkTestCanvas canvas(170, 130);
        CDC dc;
        dc.Attach(canvas.dc());
        alert.DrawAlert(&dc);
        dc.Detach();
        EXPECT_EQ(RGB(134, 162, 224), canvas.At(162, 17));
    }
    owner.notes.clear();
    alert.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(158, 12));
    EXPECT_EQ((std::vector<UINT>{501, 900}), owner.clickedIds);
    ASSERT_EQ(2u, owner.notes.size());
    EXPECT_EQ((WPARAM)TK_ALERT_CLICKED, owner.notes[0].code);
    EXPECT_EQ((LPARAM)close, owner.notes[0].argument);
    EXPECT_EQ((WPARAM)TK_ALERT_STATECHANGED, owner.notes[1].code);
    EXPECT_EQ((LPARAM)&alert, owner.notes[1].argument);
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, owner.notes[1].state);
    EXPECT_EQ(CTkDesktopAlertWnd::StateHidden, alert.GetState());
    EXPECT_EQ(nullptr, alert.GetSafeHwnd());
    EXPECT_EQ(nullptr, alert.GetHotItem());
    EXPECT_EQ(nullptr, alert.GetPressedItem());
    // It can be shown again afterwards.
    ASSERT_TRUE(alert.Show(&owner));
    EXPECT_EQ(CTkDesktopAlertWnd::StateShown, alert.GetState());
    alert.Close();
    owner.alert = nullptr;
    owner.DestroyWindow();
}

TEST_F(TkDesktopAlert, StateChangesAreReportedWithCodeTwoAndTheRegisteredMessage) {
    EXPECT_EQ(0x8A1Fu, TK_WM_DESKTOPALERT);
    alert.SetAnimation(CTkDesktopAlertWnd::AnimationSlide);
    ASSERT_TRUE(alert.Show(&owner));
    Tick(CTkDesktopAlertWnd::TimerShowing, 16);
    Tick(CTkDesktopAlertWnd::TimerShown);
    Tick(CTkDesktopAlertWnd::TimerHiding, 16);
    ASSERT_EQ(4u, owner.notes.size());
    const int expected[] = {1, 2, 3, 0};
    for (size_t i = 0; i < owner.notes.size(); ++i) {
        EXPECT_EQ((WPARAM)TK_ALERT_STATECHANGED, owner.notes[i].code) << i;
        EXPECT_EQ((LPARAM)&alert, owner.notes[i].argument) << i;
        EXPECT_EQ(expected[i], owner.notes[i].state) << i;
    }
}

}  // namespace
