// Controls and their collections: texts from string resources, comparison with originals,
// creation by type and from menus, keyboard navigation, and the row layout with controls of
// fixed sizes.
#include "PainterTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A loose collection of fixed controls, released at the end.
class CFixedRow {
public:
    CFixedRow() : m_controls(new CTkControls) {}
    ~CFixedRow() { m_controls->InternalRelease(); }
    CTkControl* Add(int width, int height, bool beginGroup = false) {
        return m_controls->Append(new CFixedControl(CSize(width, height), beginGroup));
    }
    CTkControls* operator->() { return m_controls; }
    CTkControls* get() { return m_controls; }
    CRect Rect(int index) { return m_controls->GetControl(index)->m_rcControl; }

private:
    CTkControls* m_controls;
};

CSize Layout(CFixedRow& row, int length, DWORD mode, int margin = 2, int minimum = 0) {
    CTkTestCanvas canvas(4, 4);
    CCanvasDC dc(canvas);
    return row->LayoutRows(&dc, length, mode, CRect(margin, margin, margin, margin), minimum);
}

const DWORD kDockedCommit = TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_COMMIT | TK_LAYOUT_HORIZONTAL;

// ---------------------------------------------------------------------------------------------
// Texts, copies and comparison.

TEST(TkControl, TextsComeFromTheStringResourceOfTheId) {
    CTkControlButton control;
    control.SetID(601);
    EXPECT_EQ(CString("Open a file"), control.m_strDescription);
    EXPECT_EQ(CString("Open"), control.m_strTooltip);
    EXPECT_EQ(CString("Open"), control.m_strCaption);
    control.SetID(602);
    EXPECT_EQ(CString("Plain"), control.m_strDescription);
    EXPECT_EQ(CString("Plain"), control.m_strCaption);
    control.SetID(603);
    EXPECT_EQ(CString("\nLeading"), control.m_strTooltip);
    control.SetID(699);  // no such string: the texts stay, the id changes
    EXPECT_EQ(699, control.m_nId);
    EXPECT_EQ(CString("\nLeading"), control.m_strCaption);

    ASSERT_TRUE(TkDesktopReady());
    CTestBar bar(100, 26, TK_BAR_POSITION_TOP);
    CTkControl* button = bar.AddButton(CRect(), "");
    bar.m_nPendingUpdate = 0;
    button->SetCaption("Save\tCtrl+S");
    EXPECT_EQ(CString("Save"), button->m_strCaption);
    EXPECT_EQ(CString("Ctrl+S"), button->m_strCaptionShortcut);
    EXPECT_EQ(TK_BAR_PENDING_LAYOUT, bar.m_nPendingUpdate);
    bar.m_nPendingUpdate = 0;
    button->SetCaption("Save");
    EXPECT_EQ(0, bar.m_nPendingUpdate) << "the same caption asks for no layout";
}

TEST(TkControl, EffectiveIconAndComparison) {
    CTkControlButton a, b;
    a.m_nId = 120;
    EXPECT_EQ(120, a.GetEffectiveIconId());
    a.m_nIconId = 7;
    EXPECT_EQ(7, a.GetEffectiveIconId());
    a.m_nCustomIconId = 0x10AAA;
    EXPECT_EQ(0x10AAA, a.GetEffectiveIconId());
    a.m_strCaption = "Send";
    CTkControl* copy = a.Clone(false);
    EXPECT_TRUE(a.Compare(copy));
    copy->m_nUserValue = 5;
    EXPECT_TRUE(a.Compare(copy)) << "the user value is not compared";
    copy->m_nHideFlags = TK_CONTROL_HIDE_CUSTOMIZE;
    EXPECT_FALSE(a.Compare(copy));
    copy->InternalRelease();
    b.Copy(&a, false);
    b.m_strCustomCaption = "Go";
    EXPECT_FALSE(a.Compare(&b));
}

TEST(TkControls, OriginalsTemporaryControlsAndCustomisation) {
    CFixedRow row;
    row.Add(23, 22)->m_nId = 1;
    row.Add(23, 22)->m_nId = 2;
    row->KeepOriginal();
    EXPECT_FALSE(row->IsCustomized());
    CTkControl* temporary = row.Add(23, 22);
    temporary->m_bTemporary = 1;
    EXPECT_FALSE(row->IsCustomized()) << "temporary controls do not count";
    CTkControls* copy = row->Clone(true);
    EXPECT_EQ(2, copy->GetCount());
    EXPECT_TRUE(copy->SameAs(row.get()));
    EXPECT_TRUE(copy->GetOriginal() && copy->GetOriginal()->SameAs(row->GetOriginal()));
    copy->InternalRelease();
    row->RemoveControlAt(0);
    EXPECT_TRUE(row->IsCustomized());
    row->RemoveControlAt(99);  // nothing
    EXPECT_EQ(2, row->GetCount());
}

TEST(TkControls, CreationByTypeAndFromMenus) {
    CTkControls* controls = new CTkControls;
    EXPECT_EQ(nullptr, controls->AddNew(9, 100));
    EXPECT_EQ(nullptr, controls->AddNew(0, 100));
    EXPECT_EQ(0, controls->GetCount());
    CTkControl* button = controls->AddNew(TK_CONTROL_TYPE_BUTTON, 601);
    ASSERT_TRUE(button);
    EXPECT_EQ(CString("Open"), button->m_strCaption);
    CTkControl* popup = controls->AddNew(TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP, 610, "p", 0);
    ASSERT_TRUE(dynamic_cast<CTkControlPopup*>(popup));
    EXPECT_EQ(0, popup->m_nIndex);
    EXPECT_EQ(TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP, popup->m_nType);
    EXPECT_EQ(CString("&Tools"), popup->m_strCaption);
    EXPECT_EQ(CString("p"), popup->m_strParameter);
    controls->InternalRelease();

    // A bar built from a menu; the site may change what an item becomes.
    ASSERT_TRUE(TkDesktopReady());
    class CSite : public CWnd {
    public:
        std::function<LRESULT(UINT, LPARAM)> answer;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (answer && message >= TK_WM_EXECUTE && message <= TK_WM_MENUBAR_TRACKING) return answer(message, lParam);
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } site;
    ASSERT_TRUE(site.CreateEx(0, nullptr, "site", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CTestBar bar(200, 26, TK_BAR_POSITION_TOP);
    bar.m_pOwnerWnd = &site;
    int asked = 0;
    site.answer = [&](UINT message, LPARAM lParam) -> LRESULT {
        if (message != TK_WM_CONTROL_CREATE) return 0;
        ++asked;
        auto* request = reinterpret_cast<CTkControlRequest*>(lParam);
        if (request->nId == 602) request->nType = TK_CONTROL_TYPE_CUSTOM;  // an unknown kind: skipped
        return 1;
    };
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(610));
    ASSERT_TRUE(menu);
    bar.BuildFromMenu(::GetSubMenu(menu, 0), true);
    ::DestroyMenu(menu);
    EXPECT_EQ(3, asked) << "every item but the separator and the skipped id";
    ASSERT_EQ(2, bar.GetControls()->GetCount());
    CTkControl* open = bar.GetControl(0);
    EXPECT_EQ(CString("&Open"), open->m_strCaption);
    EXPECT_EQ(CString("Ctrl+O"), open->m_strCaptionShortcut);
    CTkControl* more = bar.GetControl(1);
    EXPECT_EQ(TK_CONTROL_TYPE_POPUP, more->m_nType);
    EXPECT_TRUE(dynamic_cast<CTkControlPopup*>(more));
    EXPECT_EQ(1, more->m_bBeginGroup) << "the separator makes the next item begin a group";
    EXPECT_EQ(&bar, more->GetParentBar());
}

TEST(TkControls, FindingAndHitTesting) {
    ASSERT_TRUE(TkDesktopReady());
    CTestBar bar(200, 26, TK_BAR_POSITION_TOP);
    CTkControl* first = bar.AddButton(CRect(0, 0, 20, 20), "a");
    auto* popup = new CTkControlPopup;
    popup->m_rcControl = CRect(20, 0, 40, 20);
    bar.GetControls()->Add(popup, 7);
    CTkControl* last = bar.AddButton(CRect(40, 0, 60, 20), "c");
    last->m_nId = 9;
    auto* child = new CTestBar(100, 100, TK_BAR_POSITION_POPUP, TK_BAR_TYPE_POPUP);
    CTkControl* inner = child->AddButton(CRect(), "inner");
    inner->m_nId = 9;
    popup->AttachChildBar(child);
    child->InternalRelease();
    EXPECT_EQ(inner, bar.GetControls()->FindByTypeAndId(0, 9, false, true)) << "depth first, right after the popup";
    EXPECT_EQ(last, bar.GetControls()->FindByTypeAndId(0, 9, false, false));
    EXPECT_EQ(first, bar.GetControls()->FindById(-1));
    EXPECT_EQ(popup, bar.GetControls()->ControlAtPoint(25, 5));
    popup->m_nHideFlags = TK_CONTROL_HIDE_WRAP;
    EXPECT_EQ(nullptr, bar.GetControls()->ControlAtPoint(25, 5));
    EXPECT_EQ(inner, bar.GetControls()->FindByTypeAndId(0, 9, true, true));
    inner->m_nHideFlags = TK_CONTROL_HIDE_CUSTOMIZE;
    EXPECT_EQ(last, bar.GetControls()->FindByTypeAndId(0, 9, true, true));
    // A popup whose child bar holds a popup sharing that bar copies without end.
    auto* loop = new CTkControlPopup;
    loop->AttachChildBar(child);
    child->GetControls()->Append(loop);
    CTkControl* copy = popup->Clone(true);
    auto* copied = dynamic_cast<CTkControlPopup*>(copy);
    ASSERT_TRUE(copied && copied->GetChildBar());
    EXPECT_NE(child, copied->GetChildBar());
    EXPECT_TRUE(popup->ContainsControl(loop));
    copy->InternalRelease();
    loop->AttachChildBar(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Keyboard navigation.

TEST(TkControls, NavigationNeverLoops) {
    CFixedRow row;
    for (int i = 0; i < 5; ++i) row.Add(23, 22)->m_nHideFlags = TK_CONTROL_HIDE_CUSTOMIZE;
    for (int from : {-1, 0, 3, 5, 99, -7})
        for (int step : {1, -1}) EXPECT_EQ(from >= 0 && from < 5 ? from : -1, row->NextNavigable(from, step)) << from;
    row->GetControl(3)->m_nHideFlags = 0;
    EXPECT_EQ(3, row->NextNavigable(3, 1));
    EXPECT_EQ(3, row->NextNavigable(-1, 1));
    EXPECT_EQ(3, row->NextNavigable(5, -1)) << "End starts from the count";
    row->GetControl(1)->m_nHideFlags = 0;
    EXPECT_EQ(1, row->NextNavigable(3, 1)) << "wraps";
    EXPECT_EQ(3, row->NextNavigable(-1, -1));
    row->GetControl(4)->m_nHideFlags = TK_CONTROL_HIDE_SCROLL;
    EXPECT_EQ(4, row->NextNavigable(3, 1)) << "scrolled-out items are navigable";
    row->GetControl(4)->m_nHideFlags = TK_CONTROL_HIDE_USAGE;
    EXPECT_EQ(1, row->NextNavigable(3, 1, true, false, true));
    EXPECT_EQ(4, row->NextNavigable(3, 1, true, false, false));
    row->GetControl(1)->m_nFlags = TK_CONTROL_FLAG_NO_NAVIGATE;
    EXPECT_EQ(3, row->NextNavigable(3, 1));
    EXPECT_EQ(1, row->NextNavigable(3, 1, false));
    CTkControls empty;
    EXPECT_EQ(-1, empty.NextNavigable(-1, 1));
}

// ---------------------------------------------------------------------------------------------
// Row layout.

TEST(TkControlsLayout, WrapsDockedRowsAtTheLength) {
    CFixedRow row;
    for (int i = 0; i < 5; ++i) row.Add(23, 22);
    CSize size = Layout(row, 60, kDockedCommit);
    EXPECT_EQ(60, size.cx);
    EXPECT_EQ(70, size.cy);
    EXPECT_TRUE(SameRect(CRect(2, 2, 25, 24), row.Rect(0)));
    EXPECT_TRUE(SameRect(CRect(25, 2, 48, 24), row.Rect(1)));
    EXPECT_TRUE(SameRect(CRect(2, 24, 25, 46), row.Rect(2)));
    EXPECT_TRUE(SameRect(CRect(2, 46, 25, 68), row.Rect(4)));
    EXPECT_TRUE(SameRect(CRect(2, 2, 58, 24), row->GetControl(0)->m_rcRow));
    EXPECT_EQ(0, row->GetControl(1)->m_bWrap);
    EXPECT_EQ(1, row->GetControl(2)->m_bWrap);
    EXPECT_EQ(1, row->GetControl(4)->m_bWrap);
}

TEST(TkControlsLayout, GroupsStayWholeAndRowsNeverExceedTheLength) {
    CFixedRow row;
    for (int i = 0; i < 7; ++i) row.Add(23, 22, i == 2);
    CSize size = Layout(row, 100, kDockedCommit, 0);
    EXPECT_EQ(1, row->GetControl(2)->m_bWrap);
    EXPECT_EQ(1, row->GetControl(6)->m_bWrap);
    EXPECT_EQ(0, row->GetControl(3)->m_bWrap);
    EXPECT_TRUE(SameRect(CRect(0, 28, 23, 50), row.Rect(2))) << "a new row that begins a group starts 6 lower";
    EXPECT_TRUE(SameRect(CRect(69, 28, 92, 50), row.Rect(5)));
    EXPECT_TRUE(SameRect(CRect(0, 50, 23, 72), row.Rect(6)));
    EXPECT_EQ(100, size.cx);
    EXPECT_EQ(72, size.cy);

    // Lengths from nothing to plenty, with groups and wide controls: no row is longer than the
    // length unless it holds a single control, and every control is placed.
    for (int length = 0; length < 200; length += 7) {
        CFixedRow mixed;
        for (int i = 0; i < 9; ++i) mixed.Add(15 + (i * 17) % 40, 22, i % 3 == 1);
        Layout(mixed, length, kDockedCommit, 0);
        int rowStart = 0;
        for (int i = 1; i <= mixed->GetCount(); ++i) {
            if (i < mixed->GetCount() && !mixed->GetControl(i)->m_bWrap) continue;
            const int right = mixed.Rect(i - 1).right, left = mixed.Rect(rowStart).left;
            if (i - 1 > rowStart) {
                EXPECT_LE(right - left, std::max(length, 0)) << length << " row from " << rowStart;
            }
            rowStart = i;
        }
    }
}

TEST(TkControlsLayout, EmptyBarsHiddenOverflowAndFarEnd) {
    CFixedRow empty;
    empty.Add(23, 22)->m_nHideFlags = TK_CONTROL_HIDE_CUSTOMIZE;
    CSize size = Layout(empty, 100, kDockedCommit);
    EXPECT_EQ(27, size.cx);
    EXPECT_EQ(26, size.cy);
    EXPECT_EQ(40, Layout(empty, 100, kDockedCommit, 2, 40).cy);

    CFixedRow row;
    for (int i = 0; i < 5; ++i) row.Add(23, 22);
    size = Layout(row, 60, kDockedCommit | TK_LAYOUT_HIDE_WRAP);
    EXPECT_EQ(60, size.cx) << "stretched to the length";
    EXPECT_EQ(26, size.cy);
    EXPECT_EQ(0, row->GetControl(1)->m_nHideFlags);
    for (int i = 2; i < 5; ++i) EXPECT_EQ(TK_CONTROL_HIDE_WRAP, row->GetControl(i)->m_nHideFlags) << i;
    size = Layout(row, 200, kDockedCommit | TK_LAYOUT_HIDE_WRAP);
    EXPECT_EQ(0, row->GetControl(4)->m_nHideFlags) << "room again: shown again";

    CFixedRow aligned;
    aligned.Add(23, 22);
    aligned.Add(20, 22)->m_nFlags = TK_CONTROL_FLAG_RIGHT_ALIGN;
    size = Layout(aligned, 100, kDockedCommit | TK_LAYOUT_STRETCH);
    EXPECT_EQ(100, size.cx);
    EXPECT_TRUE(SameRect(CRect(78, 2, 98, 24), aligned.Rect(1)));
}

TEST(TkControlsLayout, FloatingBarsTakeTheSmallestWidthOfTheirRows) {
    CFixedRow row;
    for (int i = 0; i < 6; ++i) row.Add(23, 22);
    CSize size = Layout(row, 100, TK_LAYOUT_COMMIT);
    EXPECT_EQ(73, size.cx);
    EXPECT_EQ(48, size.cy);
    EXPECT_EQ(1, row->GetControl(3)->m_bWrap);
    // Asked for a height: the narrowest layout that is not taller.
    size = Layout(row, 52, TK_LAYOUT_COMMIT | TK_LAYOUT_LENGTH_IS_HEIGHT);
    EXPECT_EQ(48, size.cy);
    EXPECT_EQ(73, size.cx);
    // A vertical dock bar: a column from the top, centred across.
    CFixedRow column;
    column.Add(23, 22);
    column.Add(19, 22);
    size = Layout(column, 100, TK_LAYOUT_VERT_DOCK | TK_LAYOUT_COMMIT);
    EXPECT_EQ(27, size.cx);
    EXPECT_TRUE(SameRect(CRect(2, 2, 25, 24), column.Rect(0)));
    EXPECT_TRUE(SameRect(CRect(4, 24, 23, 46), column.Rect(1)));
    // A collection without a bar uses the length where a bar's width is asked for.
    size = Layout(column, 40, TK_LAYOUT_MRU_WIDTH | TK_LAYOUT_COMMIT);
    EXPECT_EQ(40, size.cx);
    EXPECT_EQ(48, size.cy);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Customise drags.

namespace {

std::vector<std::string>* g_lifeLog = nullptr;

class CLoggedButton : public CTkControlButton {
public:
    explicit CLoggedButton(const char* name) : m_name(name) { m_strCaption = name; }
    ~CLoggedButton() override {
        if (g_lifeLog) g_lifeLog->push_back(m_name + " freed");
    }
    std::string m_name;
};

class CLoggedBar : public CTestBar {
public:
    CLoggedBar() : CTestBar(200, 26, TK_BAR_POSITION_TOP) {}
    ~CLoggedBar() override {
        if (g_lifeLog) g_lifeLog->push_back("bar freed");
    }
    void OnRecalcLayout() override {
        if (g_lifeLog) g_lifeLog->push_back("bar laid out");
    }
};

// A drag that lets go of everything the test held while it runs, then answers its effect.
class CLettingGoDrag : public ITkControlDragSource {
public:
    DWORD DoDragControl(CTkControl* control) override {
        dragged.push_back((const char*)control->m_strCaption);
        selectedDuring = manager->GetSelectedControl() == control;
        for (CCmdTarget* target : letGo) target->InternalRelease();
        letGo.clear();
        logDuringDrag = *g_lifeLog;
        return effect;
    }
    CTkCommandBars* manager = nullptr;
    DWORD effect = DROPEFFECT_MOVE;
    std::vector<CCmdTarget*> letGo;
    std::vector<std::string> dragged, logDuringDrag;
    bool selectedDuring = false;
};

}  // namespace

TEST(TkControlCustomizeDrag, AMovedControlLeavesItsBarAndEverythingLivesUntilTheDragEnds) {
    ASSERT_TRUE(TkDesktopReady());
    std::vector<std::string> log;
    g_lifeLog = &log;
    CTkCommandBars* manager = new CTkCommandBars;
    CLettingGoDrag drag;
    drag.manager = manager;
    manager->m_pControlDragSource = &drag;
    manager->SetCustomizeModeQuick(true);

    auto* bar = new CLoggedBar;
    bar->m_pManager = manager;
    CTkControls* controls = bar->GetControls();
    for (const char* name : {"a", "b", "c", "d"}) controls->Append(new CLoggedButton(name));
    for (int i = 0; i < 4; ++i) controls->GetControl(i)->m_rcControl = CRect(4 + 30 * i, 2, 30 + 30 * i, 24);
    controls->GetControl(1)->m_bBeginGroup = 1;

    // A copy leaves the bar as it was; the control stays the selected one.
    drag.effect = DROPEFFECT_COPY;
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 10));  // a click in customise mode drags
    ASSERT_EQ(std::vector<std::string>{"b"}, drag.dragged);
    EXPECT_TRUE(drag.selectedDuring);
    EXPECT_EQ(4, controls->GetCount());
    EXPECT_EQ(controls->GetControl(1), manager->GetSelectedControl());

    // A move of a control that begins a group: the next one begins it instead.
    drag.effect = DROPEFFECT_MOVE;
    controls->GetControl(1)->CustomizeStartDrag();
    EXPECT_EQ(3, controls->GetCount());
    EXPECT_STREQ("c", controls->GetControl(1)->m_strCaption);
    EXPECT_EQ(1, controls->GetControl(1)->m_bBeginGroup);
    EXPECT_EQ(nullptr, manager->GetSelectedControl());
    EXPECT_EQ((std::vector<std::string>{"bar laid out", "b freed"}), log);

    // Moving the first control: the new first one no longer begins a group.
    controls->GetControl(1)->m_bBeginGroup = 1;
    controls->GetControl(0)->m_bBeginGroup = 0;
    CTkControl* first = controls->GetControl(0);
    first->CustomizeStartDrag();
    EXPECT_EQ(0, controls->GetControl(0)->m_bBeginGroup);
    log.clear();

    // The drag lets go of the bar and the manager: the dragged control, its bar and the manager
    // live until the drag is over, and only then go.
    drag.letGo = {bar, manager};
    CTkControl* last = controls->GetControl(1);
    last->CustomizeStartDrag();
    EXPECT_TRUE(drag.logDuringDrag.empty()) << "nothing was freed while the drag ran";
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ("bar laid out", log.front());
    for (const char* freed : {"bar freed", "c freed", "d freed"})
        EXPECT_NE(log.end(), std::find(log.begin(), log.end(), freed)) << freed << " once the drag is over";
    g_lifeLog = nullptr;
}
