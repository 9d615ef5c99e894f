// Customising bars: a control dragged between the manager's bars (the drop mark, the drop, the
// cursors, a move inside one bar), the same drags driven by real input on the test display, and
// the control's context menu run from the customise sheet.
#include "BarStateTestSupport.h"
#include "HookTestSupport.h"
#include "PainterTestSupport.h"
#include "commandbars/TkHooks.h"
#include "commandbars/TkPopupBar.h"
#include "commandbars/TkToolBar.h"
#include "controls/TkControlEdit.h"
#include "customize/TkCustomizeContext.h"
#include "customize/TkCustomizeDrag.h"
#include "images/TkIconStore.h"
#include "res/TkResource.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

// A point of a control of a bar, in screen coordinates, at a fraction of its width.
POINT ScreenPointOf(const CTkCommandBar* bar, const CTkControl* control, double along = 0.5) {
    const CRect& r = control->m_rcControl;
    POINT point = {r.left + (int)(r.Width() * along), (r.top + r.bottom) / 2};
    ::ClientToScreen(bar->m_hWnd, &point);
    return point;
}

std::string Edges(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// A bar of the manager: made after the manager is known, so it is a drop target from its
// creation; its controls lie in one row, laid out by the painter.
class CDropBar : public CTkCommandBar {
public:
    bool Create(CTkCommandBars* manager, CWnd* frame, const CRect& rect, int position = TK_BAR_POSITION_TOP) {
        m_pManager = manager;
        m_nPosition = position;
        return CreateEx(0, nullptr, "bar", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.Width(), rect.Height(),
                        frame->GetSafeHwnd(), nullptr) != FALSE;
    }
    void OnRecalcLayout() override {
        if (!m_hWnd) return;
        CClientDC dc(this);
        m_pControls->LayoutRows(&dc, 2000, TK_LAYOUT_COMMIT | TK_LAYOUT_HORIZONTAL, CRect(2, 2, 2, 2));
        Invalidate(false);
    }
    CTkControl* Add(int id, const char* caption, bool beginGroup = false) {
        auto* button = new CTkControlButton;
        button->m_strCaption = caption;
        button->m_bBeginGroup = beginGroup ? 1 : 0;
        m_pControls->Add(button, id);
        OnRecalcLayout();
        return button;
    }
    std::string Captions() const {
        std::string text;
        for (int i = 0; i < m_pControls->GetCount(); ++i) text += (const char*)GetControl(i)->GetDisplayCaption();
        return text;
    }
    POINT ScreenPointOf(const CTkControl* control, double along = 0.5) const {
        return ::ScreenPointOf(this, control, along);
    }
};

// A frame with a manager (customise mode on) and bars of it: two with buttons and an empty one.
class CDragScene {
public:
    bool Create(const CRect& frameRect) {
        if (!frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, frameRect.left, frameRect.top,
                            frameRect.Width(), frameRect.Height(), nullptr, nullptr))
            return false;
        manager = new CTkCommandBars;
        manager->AttachFrame(&frame);
        auto* store = new CTkIconStore;
        manager->SetIconStore(store);
        store->InternalRelease();
        for (int i = 0; i < 3; ++i) {
            bars[i] = new CDropBar;
            if (!bars[i]->Create(manager, &frame, CRect(0, 30 * i, 300, 30 * i + 26))) return false;
        }
        bars[0]->Add(1, "a");
        bars[0]->Add(2, "b", true);
        bars[0]->Add(3, "c");
        bars[1]->Add(10, "x");
        manager->SetCustomizeMode(true);
        return true;
    }
    ~CDragScene() {
        for (CDropBar*& bar : bars) {
            if (bar && bar->GetSafeHwnd()) bar->DestroyWindow();
            if (bar) bar->InternalRelease();
            bar = nullptr;
        }
        if (manager) manager->InternalRelease();
        if (frame.GetSafeHwnd()) frame.DestroyWindow();
    }
    CDragScene() = default;
    CDragScene(const CDragScene&) = delete;
    CDragScene& operator=(const CDragScene&) = delete;
    CTkControlDragSource* Source() const { return manager->GetControlDragSource(); }
    POINT ScreenPointIn(CWnd* window, int x, int y) const {
        POINT point = {x, y};
        ::ClientToScreen(window->m_hWnd, &point);
        return point;
    }

    CWnd frame;
    CTkCommandBars* manager = nullptr;
    CDropBar* bars[3] = {};
};

class TkCustomizeDrop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_scene.Create(CRect(20, 20, 420, 220)));
        TkPumpPending();
    }
    CDragScene m_scene;
};

TEST_F(TkCustomizeDrop, TheMarkFollowsThePointAndADropInsertsASelectedCopy) {
    CDropBar* a = m_scene.bars[0];
    CDropBar* b = m_scene.bars[1];
    CDropBar* empty = m_scene.bars[2];
    CTkControl* first = a->GetControl(0);
    CTkControl* second = a->GetControl(1);
    CTkControl* third = a->GetControl(2);

    // The bars of the manager are its drop targets, in the order they came.
    EXPECT_EQ((std::vector<CTkCommandBar*>{a, b, empty}), m_scene.Source()->GetTargets());

    // Before a control (its left half), after the last (inside its right edge), after one
    // whose next begins a group (inside too), and on the empty bar at its start.
    auto place = a->CalcDropPlace(nullptr, CPoint(second->m_rcControl.left + 2, 12));
    EXPECT_EQ(1, place.index);
    EXPECT_FALSE(place.after);
    const CRect& r2 = second->m_rcControl;
    EXPECT_EQ(Edges(CRect(r2.left, r2.top, r2.left + 6, r2.bottom)), Edges(place.mark));
    place = a->CalcDropPlace(nullptr, CPoint(third->m_rcControl.right - 1, 12));
    EXPECT_EQ(2, place.index);
    EXPECT_TRUE(place.after);
    EXPECT_EQ(Edges(CRect(third->m_rcControl.right - 6, r2.top, third->m_rcControl.right, r2.bottom)), Edges(place.mark));
    place = a->CalcDropPlace(nullptr, CPoint(first->m_rcControl.right - 1, 12));
    EXPECT_EQ(Edges(CRect(first->m_rcControl.right - 6, r2.top, first->m_rcControl.right, r2.bottom)),
              Edges(place.mark));
    place = empty->CalcDropPlace(nullptr, CPoint(50, 10));
    EXPECT_EQ(-1, place.index);
    EXPECT_EQ(Edges(CRect(2, 2, 8, 24)), Edges(place.mark));
    EXPECT_TRUE(a->CalcDropPlace(second, CPoint(second->m_rcControl.left + 1, 12)).mark.IsRectEmpty())
        << "no mark over the dragged control itself";

    // The drag of "a": the cursor copies until the move flag is set, shows no drop off the bars.
    CTkControlDragSource* source = m_scene.Source();
    source->StartAt(first, false, a->ScreenPointOf(first));
    const POINT overB = m_scene.ScreenPointIn(b, 150, 12);
    source->DragOver(overB);
    EXPECT_EQ(b, source->GetTarget());
    EXPECT_EQ(source->GetCopyCursor(), source->GetRuleCursor());
    EXPECT_EQ(source->GetCopyCursor(), ::GetCursor());
    source->SetMove(true);
    EXPECT_EQ(source->GetMoveCursor(), ::GetCursor());
    EXPECT_FALSE(b->m_rcDropMark.IsRectEmpty()) << "the mark shows where the control goes";
    source->DragOver(m_scene.ScreenPointIn(&m_scene.frame, 350, 150));
    EXPECT_EQ(nullptr, source->GetTarget());
    EXPECT_TRUE(b->m_rcDropMark.IsRectEmpty()) << "leaving the bar takes the mark away";
    EXPECT_EQ(source->GetNoDropCursor(), ::GetCursor());
    source->DragOver(overB);
    EXPECT_EQ(CTkControlDragSource::kMoved, source->Release(overB, true));
    source->Finish();
    EXPECT_EQ("xa", b->Captions());
    EXPECT_EQ("abc", a->Captions()) << "the step only drops; the drag's owner takes the original away";
    EXPECT_EQ(b->GetControl(1), m_scene.manager->GetSelectedControl());
    EXPECT_NE(first, b->GetControl(1)) << "a copy is dropped";

    // Released off every bar after moving: 0; without moving: cancelled.
    source->StartAt(first, false, a->ScreenPointOf(first));
    EXPECT_EQ(CTkControlDragSource::kReleasedOutside, source->Release(overB, true));
    EXPECT_EQ(CTkControlDragSource::kCancelled, source->Release(overB, false));

    // Dropped onto itself more than 4 pixels away: it begins a group on its far half, and on
    // its near half it no longer does; nothing moves.
    const POINT start = a->ScreenPointOf(second, 0.5);
    for (double along : {0.95, 0.05}) {
        source->StartAt(second, false, start);
        const POINT at = a->ScreenPointOf(second, along);
        source->DragOver(at);
        EXPECT_EQ(CTkControlDragSource::kCancelled, source->Release(at, true));
        source->Finish();
        EXPECT_EQ(along > 0.5 ? 1 : 0, second->m_bBeginGroup);
    }
    EXPECT_EQ("abc", a->Captions());

    // A forced copy (the commands list) shows the copy cursor and copies, Ctrl or not.
    source->StartAt(third, true, a->ScreenPointOf(third));
    source->SetMove(true);
    const POINT overEmpty = m_scene.ScreenPointIn(empty, 100, 12);
    source->DragOver(overEmpty);
    EXPECT_EQ(source->GetCopyCursor(), ::GetCursor());
    EXPECT_EQ(CTkControlDragSource::kCopied, source->Release(overEmpty, true));
    source->Finish();
    EXPECT_EQ("c", empty->Captions());

    // A bar's window going takes it out of the targets; a drop-down list never is one.
    empty->DestroyWindow();
    EXPECT_EQ((std::vector<CTkCommandBar*>{a, b}), source->GetTargets());
    CDropBar list;
    ASSERT_TRUE(list.Create(m_scene.manager, &m_scene.frame, CRect(0, 100, 100, 120), TK_BAR_POSITION_LIST));
    EXPECT_EQ(2u, source->GetTargets().size());
    list.DestroyWindow();
}

// A drag run by the real drag source's steps instead of the mouse: it drops the control at a
// point of a bar and answers as the drag loop would.
class CSteppedDrag : public ITkControlDragSource {
public:
    DWORD DoDragControl(CTkControl* control) override {
        CTkControlDragSource* source = manager->GetControlDragSource();
        source->StartAt(control, false, start);
        source->SetMove(!copy);
        source->DragOver(drop);
        const int result = source->Release(drop, true);
        source->Finish();
        selectedAfterDrop = manager->GetSelectedControl();
        return result == CTkControlDragSource::kMoved || result == CTkControlDragSource::kReleasedOutside
                   ? DROPEFFECT_MOVE
                   : DROPEFFECT_NONE;
    }
    CTkCommandBars* manager = nullptr;
    POINT start = {}, drop = {};
    bool copy = false;
    CTkControl* selectedAfterDrop = nullptr;
};

// The ids of the bar's own controls (not the expand button the bar makes for itself).
std::vector<int> Ids(const CTkCommandBar* bar) {
    std::vector<int> ids;
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
        if (!bar->GetControl(i)->m_bTemporary) ids.push_back(bar->GetControl(i)->m_nId);
    return ids;
}

// Bars customised by dragging are saved with the frame's layout and come back in a new frame.
class TkCustomizeDragState : public CTkProfileTest {};

TEST_F(TkCustomizeDragState, BarsCustomisedByDraggingComeBackInANewFrame) {
    std::vector<int> standard, format, tools;
    {
        CTkStateScene scene;
        ASSERT_TRUE(scene.Create());
        scene.manager->SetCustomizeMode(true);
        CSteppedDrag drag;
        drag.manager = scene.manager;
        scene.manager->m_pControlDragSource = &drag;
        // Standard's first button moves behind Format's last; Drawing's first is copied to the
        // front of Tools.
        CTkControl* moved = scene.standard->GetControl(0);
        drag.start = ScreenPointOf(scene.standard, moved);
        drag.drop = ScreenPointOf(scene.format, scene.format->GetControl(2), 0.9);
        moved->CustomizeStartDrag();
        CTkControl* copied = scene.drawing->GetControl(0);
        drag.start = ScreenPointOf(scene.drawing, copied);
        drag.drop = ScreenPointOf(scene.tools, scene.tools->GetControl(0), 0.1);
        drag.copy = true;
        copied->CustomizeStartDrag();
        scene.manager->m_pControlDragSource = scene.manager->GetControlDragSource();
        scene.manager->SetCustomizeMode(false);
        scene.Layout();
        standard = Ids(scene.standard);
        format = Ids(scene.format);
        tools = Ids(scene.tools);
        scene.manager->SaveBarState(Profile());
    }
    EXPECT_EQ((std::vector<int>{101, 102}), standard);
    EXPECT_EQ((std::vector<int>{200, 201, 202, 100}), format);
    EXPECT_EQ((std::vector<int>{300, 400, 401, 402}), tools);

    CTkStateScene scene;
    ASSERT_TRUE(scene.Create());
    scene.manager->LoadBarState(Profile());
    scene.Layout();
    EXPECT_EQ(standard, Ids(scene.standard));
    EXPECT_EQ(format, Ids(scene.format));
    EXPECT_EQ(tools, Ids(scene.tools));
    EXPECT_EQ((std::vector<int>{300, 301, 302}), Ids(scene.drawing)) << "the copy's source as it was";
}

TEST_F(TkCustomizeDrop, AMoveInsideItsBarTakesTheOriginalAwayAndTheDropStaysSelected) {
    CDropBar* a = m_scene.bars[0];
    CTkControl* moved = a->GetControl(2);
    moved->InternalAddRef();
    CSteppedDrag drag;
    drag.manager = m_scene.manager;
    drag.start = a->ScreenPointOf(moved);
    drag.drop = a->ScreenPointOf(a->GetControl(0), 0.1);  // before "a": the copy lands ahead of the original
    m_scene.manager->m_pControlDragSource = &drag;
    moved->CustomizeStartDrag();
    m_scene.manager->m_pControlDragSource = m_scene.Source();

    EXPECT_EQ("cab", a->Captions()) << "the original went, not the control now at its old place";
    EXPECT_EQ(nullptr, moved->GetParentBar());
    ASSERT_NE(nullptr, drag.selectedAfterDrop);
    EXPECT_EQ(a->GetControl(0), drag.selectedAfterDrop);
    EXPECT_EQ(a->GetControl(0), m_scene.manager->GetSelectedControl()) << "the dropped copy stays selected";
    EXPECT_NE(moved, m_scene.manager->GetSelectedControl());
    EXPECT_EQ(0, a->GetControl(0)->m_bBeginGroup);
    moved->InternalRelease();
}

// A drag that counts its runs and whether customise mode was on meanwhile; it moves the control
// only when asked to.
class CCountedDrag : public CSteppedDrag {
public:
    DWORD DoDragControl(CTkControl* control) override {
        ++drags;
        customizing = manager->IsCustomizeMode();
        return move ? CSteppedDrag::DoDragControl(control) : DROPEFFECT_NONE;
    }
    int drags = 0;
    bool customizing = false;
    bool move = false;
};

TEST_F(TkCustomizeDrop, AltAndAPressDragAToolbarButtonOutsideCustomiseModeWhereCustomisingAllowsIt) {
    CTkCommandBars* manager = m_scene.manager;
    manager->SetCustomizeMode(false);
    manager->SetCustomizationEnabled(true);
    auto* toolbar = new CTkToolBar;
    toolbar->m_pManager = manager;
    ASSERT_TRUE(toolbar->Create(WS_CHILD | WS_VISIBLE, &m_scene.frame, 0xE801));
    toolbar->SetWindowPos(nullptr, 0, 100, 300, 26, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const char* caption : {"t", "u", "v"}) {
        auto* button = new CTkControlButton;
        button->m_strCaption = caption;
        toolbar->GetControls()->Add(button, 20 + *caption - 't');
    }
    toolbar->GetControl(2)->m_nFlags |= TK_CONTROL_FLAG_NO_MOVE;
    {
        CClientDC dc(toolbar);
        toolbar->GetControls()->LayoutRows(&dc, 2000, TK_LAYOUT_COMMIT | TK_LAYOUT_HORIZONTAL, CRect(2, 2, 2, 2));
    }
    auto captions = [&] {
        std::string text;
        for (int i = 0; i < toolbar->GetControls()->GetCount(); ++i)
            text += (const char*)toolbar->GetControl(i)->GetDisplayCaption();
        return text;
    };
    CCountedDrag drag;
    drag.manager = manager;
    manager->m_pControlDragSource = &drag;
    // A press with Alt held or not; a press that is a plain click finds its release waiting.
    auto press = [&](CTkCommandBar* bar, CTkControl* control, bool alt) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_MENU] = alt ? 0x80 : 0;
        ::SetKeyboardState(keys);
        const CPoint at = control->m_rcControl.CenterPoint();
        const int before = drag.drags;
        bar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        keys[VK_MENU] = 0;
        ::SetKeyboardState(keys);
        TkPumpPending();
        return drag.drags > before;
    };

    // Alt and a press on "t": customise mode holds for the drag only, the button moves to the end
    // of the second bar, and the toolbar is left idle.
    drag.move = true;
    POINT start = toolbar->GetControl(0)->m_rcControl.CenterPoint();
    ::ClientToScreen(toolbar->m_hWnd, &start);
    drag.start = start;
    drag.drop = m_scene.bars[1]->ScreenPointOf(m_scene.bars[1]->GetControl(0), 0.9);
    EXPECT_TRUE(press(toolbar, toolbar->GetControl(0), true));
    EXPECT_TRUE(drag.customizing);
    EXPECT_FALSE(manager->IsCustomizeMode());
    EXPECT_EQ(nullptr, manager->GetSelectedControl());
    EXPECT_EQ("uv", captions());
    EXPECT_EQ("xt", m_scene.bars[1]->Captions());
    EXPECT_EQ(TK_TRACKING_NONE, toolbar->m_nTrackingMode);
    EXPECT_EQ(-1, toolbar->m_nHotIndex);

    // No drag without Alt, for a button that may not move, with the switch off, without
    // customisation, on a toolbar that is not customisable, or on a bar that is not a toolbar.
    drag.move = false;
    EXPECT_FALSE(press(toolbar, toolbar->GetControl(0), false));
    EXPECT_FALSE(press(toolbar, toolbar->GetControl(1), true)) << "v may not move";
    CTkCommandBarsSettings* settings = manager->GetCommandBarsOptions();
    settings->m_bAltDragCustomization = 0;
    EXPECT_FALSE(press(toolbar, toolbar->GetControl(0), true));
    settings->m_bAltDragCustomization = 1;
    manager->SetCustomizationEnabled(false);
    EXPECT_FALSE(press(toolbar, toolbar->GetControl(0), true));
    manager->SetCustomizationEnabled(true);
    toolbar->m_bCustomizable = 0;
    EXPECT_FALSE(press(toolbar, toolbar->GetControl(0), true));
    toolbar->m_bCustomizable = 1;
    EXPECT_FALSE(press(m_scene.bars[0], m_scene.bars[0]->GetControl(0), true));
    EXPECT_TRUE(press(toolbar, toolbar->GetControl(0), true)) << "all conditions met again";
    EXPECT_EQ("uv", captions());
    EXPECT_FALSE(manager->IsCustomizeMode());

    manager->m_pControlDragSource = m_scene.Source();
    toolbar->DestroyWindow();
    toolbar->InternalRelease();
}

// --- Real input: presses, moves and releases through SendInput on a desktop of the test's own.

// Presses on a point, moves in steps to another and releases there (with Ctrl held, or Esc
// pressed before the release).
void SendDrag(POINT from, POINT to, bool ctrl, bool escape = false) {
    std::vector<INPUT> input;
    if (ctrl) input.push_back(TkKeyInput(VK_CONTROL, false));
    input.push_back(TkMouseInput(from, 0));
    input.push_back(TkMouseInput(from, MOUSEEVENTF_LEFTDOWN));
    for (int step = 1; step <= 4; ++step)
        input.push_back(TkMouseInput({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4}, 0));
    if (escape) {
        input.push_back(TkKeyInput(VK_ESCAPE, false));
        input.push_back(TkKeyInput(VK_ESCAPE, true));
    }
    input.push_back(TkMouseInput(to, MOUSEEVENTF_LEFTUP));
    if (ctrl) input.push_back(TkKeyInput(VK_CONTROL, true));
    ::SendInput((UINT)input.size(), input.data(), sizeof(INPUT));
}

struct CInputDrags {
    bool desktop = false, created = false;
    std::string movedFrom, movedTo, copiedFrom, copiedTo, afterCancel, afterRemove;
};

DWORD WINAPI RunInputDrags(void* param) {
    auto& out = *static_cast<CInputDrags*>(param);
    out.desktop = TkUseOwnDesktop(L"TarvockCustomizeDragTests");
    if (!out.desktop) return 0;
    CDragScene scene;
    out.created = scene.Create(CRect(100, 100, 600, 400));
    if (!out.created) return 0;
    CDropBar* a = scene.bars[0];
    CDropBar* b = scene.bars[1];
    auto drag = [&](const std::function<POINT()>& from, const std::function<POINT()>& to, bool ctrl, bool escape,
                    const std::function<bool()>& done) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            TkBringToFront(scene.frame.m_hWnd, 1000);
            SendDrag(from(), to(), ctrl, escape);
            if (TkPumpUntil([&] { return done() && !::GetCapture(); }, 3000)) return;
        }
    };
    // "a" moves to the end of the second bar.
    drag([&] { return a->ScreenPointOf(a->GetControl(0)); }, [&] { return b->ScreenPointOf(b->GetControl(0), 0.9); },
         false, false, [&] { return b->GetControls()->GetCount() == 2; });
    out.movedFrom = a->Captions();
    out.movedTo = b->Captions();
    // With Ctrl held "x" is copied before "b".
    drag([&] { return b->ScreenPointOf(b->GetControl(0)); }, [&] { return a->ScreenPointOf(a->GetControl(0), 0.1); },
         true, false, [&] { return a->GetControls()->GetCount() == 3; });
    out.copiedFrom = b->Captions();
    out.copiedTo = a->Captions();
    // Esc during a drag off the bars leaves the control; the same drag released removes it.
    auto off = [&] { return scene.ScreenPointIn(&scene.frame, 450, 250); };
    drag([&] { return a->ScreenPointOf(a->GetControl(2)); }, off, false, true, [] { return true; });
    out.afterCancel = a->Captions();
    drag([&] { return a->ScreenPointOf(a->GetControl(2)); }, off, false, false,
         [&] { return a->GetControls()->GetCount() == 2; });
    out.afterRemove = a->Captions();
    return 0;
}

TEST(TkCustomizeDragInput, ButtonsMoveCopyAndLeaveTheBarsUnderTheMouse) {
    CInputDrags out;
    HANDLE thread = ::CreateThread(nullptr, 0, RunInputDrags, &out, 0, nullptr);
    ::WaitForSingleObject(thread, 90000);
    ::CloseHandle(thread);
    ASSERT_TRUE(out.desktop);
    ASSERT_TRUE(out.created);
    EXPECT_EQ("bc", out.movedFrom);
    EXPECT_EQ("xa", out.movedTo);
    EXPECT_EQ("xa", out.copiedFrom) << "a copy leaves the source as it was";
    EXPECT_EQ("xbc", out.copiedTo);
    EXPECT_EQ("xbc", out.afterCancel);
    EXPECT_EQ("xb", out.afterRemove);
}

// --- The context menu, from the running customise sheet.

// Steps run one by one from the message loops of the running sheet and its menu, once the
// sheet shows.
std::deque<std::function<void()>> g_steps;
void CALLBACK RunNextStep(HWND, UINT, UINT_PTR id, DWORD) {
    if (g_steps.empty()) {
        ::KillTimer(nullptr, id);
        return;
    }
    CTkCustomizeSheet* sheet = CTkCustomizeSheet::GetRunning();
    if (sheet && !::IsWindowVisible(sheet->m_hWnd)) return;
    // A step that opens the menu returns once a later step, run from the menu's loop, closed it.
    auto step = std::move(g_steps.front());
    g_steps.pop_front();
    step();
}

// The open context menu (a popup bar of no manager that the thread tracks), or none.
CTkPopupBar* OpenMenu() {
    for (ITkTrackedBar* tracked : CTkMouseTracker::ForThread().GetTrackedBars()) {
        auto* bar = dynamic_cast<CTkPopupBar*>(CWnd::FromHandlePermanent(tracked ? tracked->GetTrackedWindow() : nullptr));
        if (bar && !bar->GetManager() && !bar->GetParentBar()) return bar;
    }
    return nullptr;
}

HBITMAP SolidAlphaBitmap(COLORREF colour) {
    HBITMAP bitmap = TkCreateAlphaBitmap(16, 16);
    BITMAP bm = {};
    ::GetObjectW(bitmap, sizeof bm, &bm);
    auto* bits = static_cast<DWORD*>(bm.bmBits);
    for (int i = 0; i < 256; ++i)
        bits[i] = 0xFF000000 | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    return bitmap;
}

TEST_F(TkCustomizeDrop, TheContextMenuChangesTheControlItsPictureAndItsLayout) {
    CDropBar* a = m_scene.bars[0];
    CTkControl* first = a->GetControl(0);
    CTkControl* second = a->GetControl(1);
    CTkControl* third = a->GetControl(2);
    CTkIconStore* store = m_scene.manager->GetOwnIconStore();
    CTkIconImage picture = CTkIconImage::FromAlphaBitmap(SolidAlphaBitmap(RGB(200, 0, 0)));
    ASSERT_TRUE(store->AddIcon(picture, 2, 16));
    a->OnRecalcLayout();
    m_scene.manager->SetCustomizeMode(false);  // the sheet switches it on

    CTkCustomizeContext context(m_scene.manager);
    CTkCustomizeSheet sheet(&context);
    auto rightClick = [&](CTkControl* control) {
        const CRect& r = control->m_rcControl;
        a->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    };
    auto item = [](int id) {
        CTkPopupBar* menu = OpenMenu();
        return menu ? menu->GetControls()->FindById(id) : nullptr;
    };
    std::vector<int> firstStates, secondStates;
    auto states = [&](std::vector<int>& out) {
        for (int id = ID_TK_CUSTOMIZE_RESET; id <= ID_TK_CUSTOMIZE_BEGIN_GROUP; ++id) {
            CTkControl* control = item(id);
            out.push_back(control ? control->m_bEnabled * 2 + control->m_bChecked : -1);
        }
    };
    const int groupedLeft = second->m_rcControl.left;
    int ungroupedLeft = 0, autoWidth = second->m_rcControl.Width(), captionWidth = 0;
    CString shownName;
    size_t paletteCount = 0;
    int paletteImage = 0;
    bool squareRows = false;
    g_steps = {
        [&] { rightClick(second); },  // the menu of "b" runs until a later step closes it
        [&] {
            states(secondStates);
            if (CTkControl* name = item(ID_TK_CUSTOMIZE_NAME)) shownName = name->GetFieldText();
            CTkCommandBar* palette = item(ID_TK_CUSTOMIZE_CHANGE_IMAGE) ? item(ID_TK_CUSTOMIZE_CHANGE_IMAGE)->GetCommandBar() : nullptr;
            if (palette && palette->GetControls()->GetCount() == 42) {
                paletteCount = 42;
                static_cast<CTkPopupToolBar*>(palette)->CalcSize();
                paletteImage = palette->GetControl(5)->m_nIconId;
                // Six buttons a row: the seventh begins the second row.
                const int top = palette->GetControl(0)->m_rcControl.top;
                squareRows = palette->GetControl(5)->m_rcControl.top == top &&
                             palette->GetControl(6)->m_rcControl.top > top &&
                             palette->GetControl(6)->m_rcControl.left == palette->GetControl(0)->m_rcControl.left;
            }
            if (CTkControl* group = item(ID_TK_CUSTOMIZE_BEGIN_GROUP)) group->Execute();
        },
        [&] {
            ungroupedLeft = second->m_rcControl.left;
            rightClick(second);
        },
        [&] {
            if (CTkControl* style = item(ID_TK_CUSTOMIZE_STYLE_CAPTION)) style->Execute();
        },
        [&] {
            captionWidth = second->m_rcControl.Width();
            rightClick(second);
        },
        [&] {
            auto* name = dynamic_cast<CTkControlEdit*>(item(ID_TK_CUSTOMIZE_NAME));
            if (name) {
                name->SetText("bee");
                name->Execute();
            }
        },
        [&] { rightClick(second); },
        [&] {
            // The palette opens beside its item; a click on a picture gives it to "b".
            CTkControl* change = item(ID_TK_CUSTOMIZE_CHANGE_IMAGE);
            if (change) OpenMenu()->SetPopuped(change->m_nIndex, false);
        },
        [&] {
            CTkControl* change = item(ID_TK_CUSTOMIZE_CHANGE_IMAGE);
            CTkCommandBar* palette = change ? change->GetCommandBar() : nullptr;
            if (palette && palette->GetControl(3)) palette->GetControl(3)->Execute();
        },
        [&] { rightClick(first); },
        [&] {
            states(firstStates);
            CTkMouseTracker::ForThread().CloseTracked();
        },
        [&] { sheet.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(sheet.m_hWnd, IDCANCEL)); },
    };
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, RunNextStep);
    sheet.DoModal();
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(g_steps.empty()) << "the sheet ended before its steps";

    // "b" (not first, begins a group, a picture): enabled and checked as it is.
    // Order: reset, delete, name, copy, paste, reset picture, edit, change, automatic,
    // picture and caption, caption only, begin a group. 2 enabled, 1 checked.
    ASSERT_EQ(12u, secondStates.size());
    EXPECT_EQ(0, secondStates[0]) << "nothing to reset yet";
    EXPECT_EQ(2, secondStates[1]);
    EXPECT_EQ(2, secondStates[3]) << "a picture to copy";
    EXPECT_EQ(0, secondStates[5]) << "no custom picture to reset";
    EXPECT_EQ(2, secondStates[6]);
    EXPECT_EQ(3, secondStates[8]) << "automatic style, checked";
    EXPECT_EQ(2, secondStates[9]);
    EXPECT_EQ(2, secondStates[10]);
    EXPECT_EQ(3, secondStates[11]) << "begins a group, and may stop";
    EXPECT_STREQ("b", shownName) << "the name field shows the control's name";
    // The palette: a button per picture of bitmap 9322, each under its own image index, in a
    // square of rows.
    EXPECT_EQ(42u, paletteCount);
    EXPECT_EQ(0x50000 + 5, paletteImage);
    EXPECT_TRUE(squareRows);

    // Begin a group, then caption only: the control and the layout follow.
    EXPECT_EQ(0, second->m_bBeginGroup);
    EXPECT_EQ(groupedLeft - TK_SEPARATOR_SIZE, ungroupedLeft) << "the separator before it went";
    EXPECT_EQ(TK_CONTROL_STYLE_CAPTION, second->m_nStyle);
    EXPECT_NE(autoWidth, captionWidth);
    EXPECT_EQ(third->m_rcControl.left, second->m_rcControl.right) << "the next control moved with it";
    // The name and the palette's picture.
    EXPECT_STREQ("bee", second->GetDisplayCaption());
    EXPECT_GE((UINT)second->m_nCustomIconId, (UINT)CTkIconStore::kFirstCustomBase);

    // "a", the first control: a group cannot begin there.
    ASSERT_EQ(12u, firstStates.size());
    EXPECT_EQ(0, firstStates[11] & 2);
}

// Copying and pasting a button's picture, and the palette, straight through the sheet's commands.
TEST_F(TkCustomizeDrop, ButtonPicturesGoThroughTheClipboardAndFailedPastesChangeNothing) {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    CDropBar* a = m_scene.bars[0];
    CTkControl* second = a->GetControl(1);
    CTkIconStore* store = m_scene.manager->GetOwnIconStore();
    CTkIconImage picture = CTkIconImage::FromAlphaBitmap(SolidAlphaBitmap(RGB(0, 0, 200)));
    ASSERT_TRUE(store->AddIcon(picture, 2, 16));
    CTkCustomizeContext context(m_scene.manager);
    CTkCustomizeSheet sheet(&context);
    m_scene.manager->SetSelectedControl(second);

    // Copy: the bitmap, the alpha marker and the icon set.
    sheet.OnCustomizeCommand(ID_TK_CUSTOMIZE_COPY_IMAGE);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(::IsClipboardFormatAvailable(store->GetAlphaMarkerFormat()));
    EXPECT_TRUE(::IsClipboardFormatAvailable(store->GetToolbarImageFormat()));
    // Paste: a new custom picture.
    const UINT next = store->GetNextCustomId() + 1;
    sheet.OnCustomizeCommand(ID_TK_CUSTOMIZE_PASTE_IMAGE);
    EXPECT_EQ((int)next, second->m_nCustomIconId);
    ASSERT_NE(nullptr, store->GetImage(next, 16));

    // A clipboard with no picture on it: the control keeps its custom picture.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(::GlobalLock(text), "abc", 4);
    ::GlobalUnlock(text);
    ::SetClipboardData(CF_TEXT, text);
    ::CloseClipboard();
    sheet.OnCustomizeCommand(ID_TK_CUSTOMIZE_PASTE_IMAGE);
    EXPECT_EQ((int)next, second->m_nCustomIconId);

    // A palette button without a picture: nothing changes.
    CTkControlButton stray;
    stray.m_nId = ID_TK_CUSTOMIZE_CHANGE_IMAGE;
    stray.m_nIconId = 0x50000 + 999;
    CTkExecuteRecord record = {{nullptr, ID_TK_CUSTOMIZE_CHANGE_IMAGE, TK_CONTROL_EXECUTED}, &stray};
    EXPECT_EQ(1, sheet.OnExecuteMenuControl(ID_TK_CUSTOMIZE_CHANGE_IMAGE, (LPARAM)&record));
    EXPECT_EQ((int)next, second->m_nCustomIconId);

    // Reset picture, then reset: back to the command's own picture and name.
    second->m_strCustomCaption = "bee";
    sheet.OnCustomizeCommand(ID_TK_CUSTOMIZE_RESET);
    EXPECT_EQ(0, second->m_nCustomIconId);
    EXPECT_STREQ("b", second->GetDisplayCaption());
    // Delete: the control leaves its bar and the selection.
    sheet.OnCustomizeCommand(ID_TK_CUSTOMIZE_DELETE);
    EXPECT_EQ("ac", a->Captions());
    EXPECT_EQ(nullptr, m_scene.manager->GetSelectedControl());
    ::OleUninitialize();
}

}  // namespace
