// Popup bars without their windows: where a popup is placed for a work area, a control and a
// size, which animation the settings choose, and a popup bar's archive record.
#include "afxarchive.h"
#include "commandbars/TkBarArchive.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkPopupBar.h"
#include "commandbars/TkWorkArea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// --- Placement as a function of work area, control rectangle, anchor, flags and size.

struct CPlaceCase {
    const char* name;
    CRect exclude;
    CPoint anchor;  // used for points; controls take theirs from the rectangle
    int flags;
    CSize size;
    CPoint position;
    int height;
    bool scrolling;
    int flagsAfter;
};

CTkPopupPlacement Place(const CRect& work, const CRect& exclude, CPoint anchor, int flags, CSize size) {
    CTkPopupPlacement p;
    p.work = work;
    p.exclude = exclude;
    p.flags = flags;
    p.size = size;
    if (!exclude.IsRectEmpty()) {
        const bool below = (flags & TK_POPUP_BELOW) != 0;
        anchor = CPoint(below ? exclude.left : exclude.right, below ? exclude.bottom : exclude.top);
    }
    p.anchor = anchor;
    TkPlacePopup(p);
    return p;
}

TEST(TkPopupPlacement, OnTheTestScreenPopupsFlipMoveOrScrollButNeverLeaveTheWorkArea) {
    const CRect screen(0, 0, 1280, 1024);  // B = 1019
    const CRect none;
    const CPlaceCase cases[] = {
        {"menu title", CRect(100, 20, 140, 40), {}, 2, {200, 300}, {100, 40}, 300, false, 2},
        {"menu title at the right edge", CRect(1200, 20, 1240, 40), {}, 2, {200, 300}, {1080, 40}, 300, false, 3},
        {"right to left below", CRect(500, 20, 540, 40), {}, 3, {200, 300}, {340, 40}, 300, false, 3},
        {"near the bottom: above the control", CRect(100, 900, 140, 920), {}, 2, {200, 300}, {100, 600}, 300, false, 2},
        {"too tall under a low control", CRect(100, 700, 140, 720), {}, 2, {200, 1200}, {100, 0}, 700, true, 2},
        {"too tall under a high control", CRect(100, 100, 140, 120), {}, 2, {200, 1200}, {100, 120}, 899, true, 2},
        {"submenu", CRect(300, 200, 500, 222), {}, 0, {180, 150}, {500, 200}, 150, false, 0},
        {"submenu at the right edge", CRect(1100, 200, 1250, 222), {}, 0, {180, 150}, {920, 200}, 150, false, 1},
        {"submenu at the bottom", CRect(300, 950, 500, 972), {}, 0, {180, 150}, {500, 869}, 150, false, 0},
        {"submenu taller than the screen", CRect(300, 400, 500, 422), {}, 0, {180, 1500}, {500, 0}, 1019, true, 0},
        {"context point near the corner", none, {1200, 1000}, 0, {150, 200}, {1130, 800}, 200, false, 0},
        {"point in the upper half", none, {100, 300}, 0, {150, 900}, {100, 119}, 900, false, 0},
        {"point below the bottom line", none, {100, 1020}, 0, {150, 200}, {100, 820}, 200, false, 0},
        {"point opened to the left at the left edge", none, {50, 100}, 1, {150, 200}, {0, 100}, 200, false, 0},
    };
    for (const CPlaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CTkPopupPlacement p = Place(screen, c.exclude, c.anchor, c.flags, c.size);
        EXPECT_EQ(c.position.x, p.position.x);
        EXPECT_EQ(c.position.y, p.position.y);
        EXPECT_EQ(c.height, p.size.cy);
        EXPECT_EQ(c.scrolling, p.scrolling);
        EXPECT_EQ(c.flagsAfter, p.flags);
        EXPECT_GE(p.position.x, screen.left);
        EXPECT_LE(p.position.x + p.size.cx, screen.right);
        EXPECT_GE(p.position.y, screen.top);
    }
}

TEST(TkPopupPlacement, TheUpperHalfIsMeasuredFromTheWorkAreasOwnTop) {
    // A monitor below the primary one: a point 300 pixels into it is in its upper half.
    const CRect lower(0, 1024, 1280, 2048);  // B = 2043
    CTkPopupPlacement p = Place(lower, CRect(), CPoint(100, 1324), 0, CSize(150, 900));
    EXPECT_EQ(2043 - 900, p.position.y);
    EXPECT_EQ(900, p.size.cy);
    EXPECT_FALSE(p.scrolling);
    // 800 pixels into it, the popup opens upwards from the point, up to the monitor's top.
    p = Place(lower, CRect(), CPoint(100, 1824), 0, CSize(150, 900));
    EXPECT_EQ(1024, p.position.y);  // as far up as the monitor goes
    // A monitor left of the primary: a popup at its right edge flips left and stays on it.
    const CRect left(-1280, 0, 0, 1024);
    p = Place(left, CRect(-150, 200, -20, 222), {}, 0, CSize(180, 150));
    EXPECT_EQ(-150 - 180, p.position.x);
    EXPECT_EQ(TK_POPUP_LEFT, p.flags);
    p = Place(left, CRect(-1270, 20, -1230, 40), {}, 3, CSize(200, 100));
    EXPECT_EQ(-1280, p.position.x);
    EXPECT_EQ(TK_POPUP_BELOW, p.flags);
}

TEST(TkPopupPlacement, AnchorsOpenBelowHorizontalBarsAndBesideVerticalOnes) {
    CTkControlButton control;
    CTkCommandBar top, right, left;
    top.m_nPosition = TK_BAR_POSITION_TOP;
    right.m_nPosition = TK_BAR_POSITION_RIGHT;
    left.m_nPosition = TK_BAR_POSITION_LEFT;
    CTkPopupBar popup, flipped;
    flipped.m_nPopupFlags = TK_POPUP_LEFT;
    const CRect rect(100, 20, 140, 40);
    CTkPopupAnchor a = TkCalcPopupAnchor(rect, &control, &top, false);
    EXPECT_EQ(TK_POPUP_BELOW, a.flags);
    EXPECT_EQ(CPoint(100, 40), a.anchor);
    EXPECT_EQ(TK_POPUP_BELOW | TK_POPUP_LEFT, TkCalcPopupAnchor(rect, &control, &top, true).flags);
    a = TkCalcPopupAnchor(rect, &control, &popup, false);
    EXPECT_EQ(0, a.flags);
    EXPECT_EQ(CPoint(140, 20), a.anchor);
    EXPECT_EQ(TK_POPUP_LEFT, TkCalcPopupAnchor(rect, &control, &right, false).flags);
    EXPECT_EQ(0, TkCalcPopupAnchor(rect, &control, &left, true).flags);
    EXPECT_EQ(0, TkCalcPopupAnchor(rect, &control, &popup, true).flags);
    EXPECT_EQ(TK_POPUP_LEFT, TkCalcPopupAnchor(rect, &control, &flipped, true).flags);
}

TEST(TkPopupAnimation, TheSettingOrTheSystemsMaskChoosesTheKind) {
    EXPECT_EQ(0, TkPopupAnimationKind(0, 0x80120030, 0));  // menu animation bit clear
    EXPECT_EQ(3, TkPopupAnimationKind(0, 0x2, 0));
    EXPECT_EQ(4, TkPopupAnimationKind(0, 0x202, 0));
    for (int setting = 2; setting <= 5; ++setting) EXPECT_EQ(setting, TkPopupAnimationKind(setting, 0x202, 7));
    int counts[6] = {};
    for (int i = 0; i < 3000; ++i) ++counts[TkPopupAnimationKind(1, 0, std::rand())];
    for (int kind = 2; kind <= 4; ++kind) {
        EXPECT_GT(counts[kind], 850) << kind;
        EXPECT_LT(counts[kind], 1150) << kind;
    }
    EXPECT_EQ(0, counts[0] + counts[1] + counts[5]);
}

// --- The archive record of a popup bar.

std::vector<BYTE> WriteBars(CTkCommandBars& manager, CTkCommandBar* bar) {
    CTkBarList stored;
    TkCollectBars({bar}, stored);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar.m_pDocument = &manager;
    TkWriteBarsArchive(ar, stored);
    return file.GetData();
}

bool ReadBars(CTkCommandBars& manager, const std::vector<BYTE>& bytes, CTkBarList& loaded) {
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = &manager;
    return TkReadBarsArchive(ar, loaded);
}

TEST(TkPopupBarArchive, TearOffFieldsMarginsAndShadowComeBackAndWildMarginsAreRefused) {
    CTkCommandBars manager;
    CTkPopupBar* popup = new CTkPopupToolBar;
    popup->m_pManager = &manager;
    popup->m_bTearOff = 1;
    popup->m_strTearOffCaption = "Tools";
    popup->m_nTearOffId = 42;
    popup->m_nTearOffWidth = 180;
    popup->m_rcBorders = CRect(3, 5, 7, 9);
    popup->m_bShadow = 0;
    popup->GetControls()->Add(new CTkControlButton, 100);
    std::vector<BYTE> bytes = WriteBars(manager, popup);
    {
        CTkBarList loaded;
        ASSERT_TRUE(ReadBars(manager, bytes, loaded));
        ASSERT_EQ(1, loaded.GetCount());
        auto* back = dynamic_cast<CTkPopupToolBar*>(loaded.GetAt(0));
        ASSERT_NE(nullptr, back);
        EXPECT_EQ(1, back->m_bTearOff);
        EXPECT_STREQ("Tools", back->m_strTearOffCaption);
        EXPECT_EQ(42u, back->m_nTearOffId);
        EXPECT_EQ(180, back->m_nTearOffWidth);
        EXPECT_EQ(3, back->m_rcBorders.left);
        EXPECT_EQ(5, back->m_rcBorders.top);
        EXPECT_EQ(7, back->m_rcBorders.right);
        EXPECT_EQ(9, back->m_rcBorders.bottom);
        EXPECT_EQ(0, back->m_bShadow);
        EXPECT_EQ(TK_BAR_TYPE_TOOLBAR, back->m_nBarType);
        EXPECT_EQ(1, back->GetControls()->GetCount());
    }
    // A margin of 5000 pixels is damage: the archive is refused.
    const LONG margins[4] = {3, 5, 7, 9};
    auto at = std::search(bytes.begin(), bytes.end(), (const BYTE*)margins, (const BYTE*)margins + sizeof margins);
    ASSERT_NE(bytes.end(), at);
    const LONG wild = 5000;
    std::memcpy(&*at + 4, &wild, sizeof wild);
    CTkBarList refused;
    EXPECT_FALSE(ReadBars(manager, bytes, refused));
    EXPECT_EQ(0, refused.GetCount());
    popup->InternalRelease();
}

}  // namespace
