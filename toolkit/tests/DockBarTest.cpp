// Dock bars on a test frame: the row list, the exact places the row layout gives toolbars of
// fixed sizes, the frame's layout around the dock bars, and the drag tracker's moves, resizes
// and double clicks driven by posted mouse messages.
#include "DockTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Rows = std::vector<CTkToolBar*>;

class DockBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_scene.Create(CRect(100, 100, 100 + kClientWidth, 100 + kClientHeight)));
    }
    CTkDockBar* Top() { return m_scene.DockBar(0); }
    CTkDockBar* Left() { return m_scene.DockBar(2); }

    CTkDockScene m_scene;
};

TEST_F(DockBarTest, TheSideOfADockStyle) {
    EXPECT_EQ(0, TkGetBarDockSide(0x2800));
    EXPECT_EQ(1, TkGetBarDockSide(0x8200));
    EXPECT_EQ(2, TkGetBarDockSide(0x1400));
    EXPECT_EQ(3, TkGetBarDockSide(0x4100));
    EXPECT_TRUE(Top()->IsHorizontal());
    EXPECT_FALSE(Left()->IsHorizontal());
    EXPECT_EQ(0x2800u, Top()->m_dwDockStyle);
}

TEST_F(DockBarTest, InsertingByTheCentreChoosesTheRowOrMakesOne) {
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(100, 26), 0);
    m_scene.Layout();
    ASSERT_EQ((Rows{nullptr, a, nullptr, b, nullptr}), Top()->GetBars());
    ASSERT_EQ(CRect(0, 26, 100, 52), m_scene.PlaceInDock(b));

    CTkFixedToolBar* x = m_scene.NewBar(CSize(50, 26));
    const CRect rect(0, 0, 50, 26);
    // Exactly on the far edge of A's row: a row of its own between A and B.
    Top()->InsertBar(x, rect, POINT{25, 26});
    EXPECT_EQ((Rows{nullptr, a, nullptr, x, nullptr, b, nullptr}), Top()->GetBars());
    Top()->RemoveBar(x);
    EXPECT_EQ((Rows{nullptr, a, nullptr, b, nullptr}), Top()->GetBars());
    Top()->InsertBar(x, rect, POINT{25, 30});
    EXPECT_EQ((Rows{nullptr, a, nullptr, x, b, nullptr}), Top()->GetBars());
    Top()->RemoveBar(x);
    Top()->InsertBar(x, rect, POINT{25, 10});
    EXPECT_EQ((Rows{nullptr, x, a, nullptr, b, nullptr}), Top()->GetBars());
    Top()->RemoveBar(x);
    Top()->InsertBar(x, rect, POINT{25, 60});
    EXPECT_EQ((Rows{nullptr, a, nullptr, b, nullptr, x, nullptr}), Top()->GetBars());
    Top()->RemoveBar(x);
    // Above the dock bar's own edge: a new first row.
    Top()->InsertBar(x, rect, POINT{25, -3});
    EXPECT_EQ((Rows{nullptr, x, nullptr, a, nullptr, b, nullptr}), Top()->GetBars());
    Top()->RemoveBar(x);
    EXPECT_EQ((Rows{nullptr, a, nullptr, b, nullptr}), Top()->GetBars());
}

TEST_F(DockBarTest, RemovingLeavesNoEmptyRowAndAnAbsentBarChangesNothing) {
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* c = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* stranger = m_scene.NewBar(CSize(50, 26));
    Top()->RemoveBar(stranger);
    Top()->RemoveBar(nullptr);
    EXPECT_EQ((Rows{nullptr, a, nullptr, b, nullptr, c, nullptr}), Top()->GetBars());
    Top()->RemoveBar(b);
    EXPECT_EQ((Rows{nullptr, a, nullptr, c, nullptr}), Top()->GetBars());
    Top()->RemoveBar(c);
    Top()->RemoveBar(a);
    EXPECT_EQ((Rows{nullptr}), Top()->GetBars());
    // A bar docked for the first time had no dock bar to leave.
    Top()->DockBarAt(stranger, nullptr);
    EXPECT_EQ((Rows{nullptr, stranger, nullptr}), Top()->GetBars());
    EXPECT_EQ(Top(), stranger->m_pDockBar);
    EXPECT_EQ(Top()->m_hWnd, ::GetParent(stranger->m_hWnd));
}

TEST_F(DockBarTest, AStretchingBarAlwaysEndsUpAloneInItsRow) {
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* b = m_scene.NewBar(CSize(100, 26));
    CTkFixedToolBar* stretch = m_scene.NewBar(CSize(100, 26));
    stretch->m_dwFlags |= TK_BAR_FLAG_STRETCH;
    m_scene.Layout();
    // Dropped into A's row, then B into the same row after it.
    CRect onA = m_scene.ScreenRectInDock(Top(), CRect(150, 0, 250, 26));
    Top()->DockBarAt(stretch, &onA);
    EXPECT_EQ((Rows{nullptr, stretch, nullptr, a, nullptr}), Top()->GetBars());
    m_scene.Layout();
    CRect onStretch = m_scene.ScreenRectInDock(Top(), CRect(150, 0, 250, 26));
    Top()->DockBarAt(b, &onStretch);
    EXPECT_EQ((Rows{nullptr, b, nullptr, stretch, nullptr, a, nullptr}), Top()->GetBars());
}

TEST_F(DockBarTest, RowLayoutPlacesBarsAtTheirDockedEdgesAndPushesOverlapsRight) {
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(120, 26), 100);
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(120, 26), 0, true);
    ASSERT_EQ((Rows{nullptr, a, b, nullptr}), Top()->GetBars());
    a->calls.clear();
    CSize size = Top()->CalcDockBarLayout(300, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, nullptr);
    EXPECT_EQ(26, size.cy);
    EXPECT_EQ(CRect(0, 0, 120, 26), m_scene.PlaceInDock(a));
    EXPECT_EQ(CRect(120, 0, 240, 26), m_scene.PlaceInDock(b));
    // Each bar was measured for the row, then laid out committed at its slot and the row's thickness.
    EXPECT_EQ((std::vector<CTkFixedToolBar::CCall>{{300, 0x8A, 0}, {120, 0xCA, 26}}), a->calls);
    // The bar that comes first in the list keeps its place; the other gives way to the left.
    a->m_pDragTracker->m_rcLastDock = CRect(150, 0, 270, 26);
    b->m_pDragTracker->m_rcLastDock = CRect(100, 0, 220, 26);
    Top()->CalcDockBarLayout(300, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, nullptr);
    EXPECT_EQ(CRect(150, 0, 270, 26), m_scene.PlaceInDock(a));
    EXPECT_EQ(CRect(30, 0, 150, 26), m_scene.PlaceInDock(b));
    // Nothing is pulled past the row's start: B stays at 0 and A moves right of it.
    a->m_pDragTracker->m_rcLastDock = CRect(100, 0, 220, 26);
    b->m_pDragTracker->m_rcLastDock = CRect(0, 0, 120, 26);
    Top()->CalcDockBarLayout(300, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, nullptr);
    EXPECT_EQ(CRect(0, 0, 120, 26), m_scene.PlaceInDock(b));
    EXPECT_EQ(CRect(120, 0, 240, 26), m_scene.PlaceInDock(a));
}

TEST_F(DockBarTest, BarsWithTheSameEdgeKeepTheirListOrderOnEveryLayout) {
    CTkFixedToolBar* c = m_scene.AddBar(Top(), CSize(80, 26), 0);
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(70, 26), 0, true);
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(60, 26), 0, true);
    ASSERT_EQ((Rows{nullptr, a, b, c, nullptr}), Top()->GetBars());
    for (int pass = 0; pass < 3; ++pass) {
        Top()->CalcDockBarLayout(400, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, nullptr);
        EXPECT_EQ(CRect(0, 0, 60, 26), m_scene.PlaceInDock(a));
        EXPECT_EQ(CRect(60, 0, 130, 26), m_scene.PlaceInDock(b));
        EXPECT_EQ(CRect(130, 0, 210, 26), m_scene.PlaceInDock(c));
    }
    std::vector<CTkToolBar*> row;
    Top()->GetRowBars(2, row);
    EXPECT_EQ((Rows{a, b, c}), row);
}

TEST_F(DockBarTest, ABarThatDoesNotFitGoesToAFurtherRowAndTheListStaysAsItWas) {
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(200, 26), 100);
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(200, 26), 0, true);
    // Bars that may not hide buttons need the whole row.
    a->m_dwFlags &= ~TK_BAR_FLAG_HIDE_WRAP;
    b->m_dwFlags &= ~TK_BAR_FLAG_HIDE_WRAP;
    CSize size = Top()->CalcDockBarLayout(300, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, nullptr);
    EXPECT_EQ(52, size.cy);
    EXPECT_EQ(CRect(0, 0, 200, 26), m_scene.PlaceInDock(a));
    EXPECT_EQ(CRect(100, 26, 300, 52), m_scene.PlaceInDock(b));
    EXPECT_EQ((Rows{nullptr, a, b, nullptr}), Top()->GetBars());
}

TEST_F(DockBarTest, BarsThatMayHideButtonsAreSqueezedToTheRow) {
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(200, 26), 100);
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(200, 26), 0, true);
    ASSERT_EQ((Rows{nullptr, a, b, nullptr}), Top()->GetBars());
    // Both may hide buttons (flag 0x20, set by EnableDocking(0x3F)) down to 50 pixels.
    ASSERT_TRUE(a->m_dwFlags & TK_BAR_FLAG_HIDE_WRAP);
    a->least = b->least = 50;
    CSize size = Top()->CalcDockBarLayout(300, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, nullptr);
    EXPECT_EQ(26, size.cy);
    EXPECT_EQ(CRect(0, 0, 100, 26), m_scene.PlaceInDock(a));
    EXPECT_EQ(CRect(100, 0, 300, 26), m_scene.PlaceInDock(b));
    // Too short even for the least lengths: the rightmost bar goes to a further row.
    size = Top()->CalcDockBarLayout(90, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, nullptr);
    EXPECT_EQ(52, size.cy);
    EXPECT_EQ(0, m_scene.PlaceInDock(a).top);
    EXPECT_EQ(26, m_scene.PlaceInDock(b).top);
    // In full customise mode every button shows: no squeezing.
    m_scene.manager->SetCustomizeMode(true);
    a->calls.clear();
    Top()->CalcDockBarLayout(300, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, nullptr);
    ASSERT_FALSE(a->calls.empty());
    EXPECT_EQ(0xAu, a->calls[0].mode);
    m_scene.manager->SetCustomizeMode(false);
}

TEST_F(DockBarTest, AVerticalDockBarLaysItsRowsOutDownwards) {
    // A and B share the first column; C has one of its own.
    CTkFixedToolBar* b = m_scene.AddBar(Left(), CSize(120, 26), 50);
    CTkFixedToolBar* c = m_scene.AddBar(Left(), CSize(80, 30), 0);
    CTkFixedToolBar* a = m_scene.AddBar(Left(), CSize(120, 26), 0, true);
    ASSERT_EQ((Rows{nullptr, a, b, nullptr, c, nullptr}), Left()->GetBars());
    c->calls.clear();
    CSize size = Left()->CalcDockBarLayout(300, TK_LAYOUT_VERT_DOCK, nullptr);
    EXPECT_EQ(56, size.cx);
    EXPECT_EQ(CRect(0, 0, 26, 120), m_scene.PlaceInDock(a));
    EXPECT_EQ(CRect(0, 120, 26, 240), m_scene.PlaceInDock(b));
    EXPECT_EQ(CRect(26, 0, 56, 80), m_scene.PlaceInDock(c));
    EXPECT_EQ(0x90u, c->calls[0].mode);
    EXPECT_EQ(2, a->m_pDragTracker->m_nLastDockSide);
}

TEST_F(DockBarTest, TheFrameLayoutGivesEachDockBarTheRoomOfItsRows) {
    // Two bars too wide for one row of the 400-pixel frame.
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(250, 26), 100);
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(250, 26), 0, true);
    CTkFixedToolBar* l = m_scene.AddBar(Left(), CSize(100, 24), 0);
    m_scene.Layout();
    CRect client;
    m_scene.frame->GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, client.Width(), 52), m_scene.PlaceInFrame(Top()));
    EXPECT_EQ(CRect(0, 52, 24, client.Height()), m_scene.PlaceInFrame(Left()));
    EXPECT_EQ(CRect(24, 52, client.Width(), client.Height()), m_scene.PlaceInFrame(m_scene.view));
    EXPECT_EQ(0, m_scene.PlaceInFrame(m_scene.DockBar(1)).Height());
    EXPECT_EQ(CRect(0, 0, 250, 26), m_scene.PlaceInDock(a));
    EXPECT_EQ(CRect(100, 26, 350, 52), m_scene.PlaceInDock(b));
    // A hidden bar takes no room.
    l->SetVisible(false);
    m_scene.Layout();
    EXPECT_EQ(0, m_scene.PlaceInFrame(Left()).Width());
    EXPECT_EQ(CRect(0, 52, client.Width(), client.Height()), m_scene.PlaceInFrame(m_scene.view));
}

// The manager's row popups take the bars of the dock row, and a bar it removes leaves its row.
TEST_F(DockBarTest, TheManagersRowPopupsFollowTheDockRowAndARemovedBarLeavesItsRow) {
    CTkFixedToolBar* a = m_scene.AddBar(Top(), CSize(100, 26), 0);
    CTkFixedToolBar* b = m_scene.AddBar(Top(), CSize(100, 26), 150, true);
    CTkFixedToolBar* c = m_scene.AddBar(Top(), CSize(100, 26), 0);
    m_scene.Layout();
    ASSERT_EQ((Rows{nullptr, b, a, nullptr, c, nullptr}), Top()->GetBars());
    const char* titles[] = {"A", "B", "C"};
    CTkFixedToolBar* bars[] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        bars[i]->m_strTitle = titles[i];
        const UINT ids[] = {UINT(100 * (i + 1)), UINT(100 * (i + 1) + 1)};
        bars[i]->SetButtons(ids, 2);
        bars[i]->GetControl(1)->m_nHideFlags = TK_CONTROL_HIDE_WRAP;
        m_scene.manager->AppendBar(bars[i]);
    }
    CTkCommandBar* popup = m_scene.manager->CreateDefaultPopupBar();
    ASSERT_NE(nullptr, popup);
    auto contents = [&] {
        std::vector<CString> texts;
        for (int i = 0; i < popup->GetControls()->GetCount(); ++i) {
            CTkControl* control = popup->GetControl(i);
            texts.push_back(control->m_strCaption.IsEmpty() ? CString(std::to_string(control->m_nId).c_str())
                                                             : control->m_strCaption);
        }
        popup->GetControls()->RemoveAllControls();
        return texts;
    };
    // B's row holds A and B, in their order along the row; C is alone in its row.
    m_scene.manager->FillToolbarOptionsPopup(b, popup);
    EXPECT_EQ((std::vector<CString>{"A", "B"}), contents());
    m_scene.manager->FillRowOverflowPopup(a, popup);
    EXPECT_EQ((std::vector<CString>{"101", "201"}), contents());
    m_scene.manager->FillRowOverflowPopup(c, popup);
    EXPECT_EQ((std::vector<CString>{"301"}), contents());

    // Removed from the manager, B leaves its dock row and the row popups forget it.
    m_scene.manager->RemoveBar(b);
    EXPECT_EQ((Rows{nullptr, a, nullptr, c, nullptr}), Top()->GetBars());
    EXPECT_EQ(nullptr, b->m_pDockBar);
    EXPECT_EQ(TK_BAR_POSITION_NONE, b->m_nPosition);
    m_scene.manager->FillToolbarOptionsPopup(a, popup);
    EXPECT_EQ((std::vector<CString>{"A"}), contents());
    // A bar out of every row is a row of its own.
    m_scene.manager->FillRowOverflowPopup(b, popup);
    EXPECT_EQ((std::vector<CString>{"201"}), contents());
    popup->InternalRelease();
}

}  // namespace
