// Toolbars: buttons from toolbar resources, the site's say in them, docked and floating layouts,
// the close button, reset to the original buttons and the add-or-remove list; and the text of
// shortcut keys from a frame's accelerators.
#include "PainterTestSupport.h"
#include "commandbars/TkCommandBarsSettings.h"
#include "commandbars/TkShortcutText.h"
#include "commandbars/TkToolBar.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A rectangle as its edges, for comparisons that print.
std::string Edges(const RECT& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

bool RunningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A frame that records the create-control queries and commands its bars send.
class CTestFrame : public CFrameWnd {
public:
    std::vector<CTkControlRequest> queries;
    int commands = 0;
    int unknownTypeFor = 0;        // answer this id with a type no collection makes
    int ownControlFor = 0;         // answer this id with a control of the frame's own
    CTkControl* ownControl = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TK_WM_CONTROL_CREATE) {
            auto* request = reinterpret_cast<CTkControlRequest*>(lParam);
            queries.push_back(*request);
            if (request->nId == unknownTypeFor) request->nType = 42;
            if (request->nId == ownControlFor) {
                ownControl = new CTkControlButton;
                ownControl->m_strCaption = "own";
                request->pControl = ownControl;
                return 1;
            }
            return 0;
        }
        if (message == WM_COMMAND || message == TK_WM_EXECUTE) ++commands;
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override {}
};

class TkToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 10, 10, 500, 300, nullptr, nullptr));
        m_bar.reset(new CTkToolBar);
        m_bar->m_strTitle = "Standard";
        ASSERT_TRUE(m_bar->Create(WS_CHILD | WS_VISIBLE | TK_BAR_STYLE_GRIPPER, &m_frame, 0xE800));
        m_previousHook = AfxSetMessageBoxHook([this](const CString& text, UINT type) {
            m_prompts.push_back(text);
            m_promptTypes.push_back(type);
            return m_answer;
        });
    }
    void TearDown() override {
        AfxSetMessageBoxHook(m_previousHook);
        if (m_bar && m_bar->GetSafeHwnd()) m_bar->DestroyWindow();
        m_bar.reset();
        if (m_frame.GetSafeHwnd()) m_frame.DestroyWindow();
        TkPumpPending();
    }
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (int i = 0; i < m_bar->GetControls()->GetCount(); ++i)
            if (!m_bar->GetControl(i)->m_bTemporary) ids.push_back(m_bar->GetControl(i)->m_nId);
        return ids;
    }
    std::vector<int> Groups() const {
        std::vector<int> ids;
        for (int i = 0; i < m_bar->GetControls()->GetCount(); ++i)
            if (m_bar->GetControl(i)->m_bBeginGroup) ids.push_back(m_bar->GetControl(i)->m_nId);
        return ids;
    }

    CTestFrame m_frame;
    std::unique_ptr<CTkToolBar> m_bar;
    AFX_MSGBOX_HOOK m_previousHook;
    std::vector<CString> m_prompts;
    std::vector<UINT> m_promptTypes;
    int m_answer = IDOK;
};

// ---------------------------------------------------------------------------------------------
// Toolbar resources.

TEST_F(TkToolBarTest, AToolbarResourceGivesItsIdsSeparatorsAndPictures) {
    EXPECT_EQ(1, m_bar->LoadToolBar(700, true));
    EXPECT_EQ(700u, m_bar->m_nBarId);
    EXPECT_EQ((std::vector<int>{100, 101, 102}), Ids());
    // Only the button after an inner separator begins a group; the trailing one does nothing.
    EXPECT_EQ((std::vector<int>{101}), Groups());
    // The site was asked once for every button, as a button of this bar with its title.
    ASSERT_EQ(3u, m_frame.queries.size());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(TK_CONTROL_TYPE_BUTTON, m_frame.queries[i].nType);
        EXPECT_EQ(m_bar.get(), m_frame.queries[i].pBar);
        EXPECT_STREQ("Standard", m_frame.queries[i].strCaption);
    }
    EXPECT_EQ(101, m_frame.queries[1].nId);
    EXPECT_EQ(2, m_frame.queries[1].nPosition);
    // The pictures came from the bitmap of the same id; 16 wide leaves the sizes derived.
    for (UINT id : {100u, 101u, 102u}) EXPECT_NE(nullptr, m_bar->GetIconStore()->GetImage(id, 16)) << id;
    EXPECT_EQ(16, m_bar->GetIconSize().cx);
    EXPECT_EQ(16, m_bar->GetIconSize().cy);
    // What was loaded is kept as the original buttons.
    ASSERT_NE(nullptr, m_bar->GetControls()->GetOriginal());
    EXPECT_EQ(3, m_bar->GetControls()->GetOriginal()->GetCount());
    EXPECT_FALSE(m_bar->GetControls()->IsCustomized());
    // A second bar (another frame's) loads the same pictures again.
    std::unique_ptr<CTkToolBar> second(new CTkToolBar);
    EXPECT_EQ(1, second->LoadToolBar(700, true));

    EXPECT_EQ(1, m_bar->LoadToolBar(701, false));
    EXPECT_EQ((std::vector<int>{100, 101}), Ids());
    EXPECT_EQ((std::vector<int>{100}), Groups());

    EXPECT_EQ(1, m_bar->LoadToolBar(702, true));
    EXPECT_EQ(32, m_bar->GetIconSize().cx);
    EXPECT_EQ(16, m_bar->GetIconSize().cy);
    EXPECT_EQ(39, m_bar->GetButtonSize().cx);
    EXPECT_EQ(23, m_bar->GetButtonSize().cy);
}

TEST_F(TkToolBarTest, MissingDamagedOrPicturelessResourcesFail) {
    m_bar->LoadToolBar(700, false);
    EXPECT_EQ(0, m_bar->LoadToolBar(799, false));
    EXPECT_EQ(0, m_bar->GetControls()->GetCount());

    // A record whose item count runs past its end is refused whole, by the bar and the store.
    CTkToolbarResource resource;
    EXPECT_FALSE(TkReadToolbarResource(AfxGetResourceHandle(), 703, resource));
    EXPECT_TRUE(resource.ids.empty());
    EXPECT_EQ(0, m_bar->LoadToolBar(703, false));
    EXPECT_EQ(0, m_bar->GetControls()->GetCount());
    CTkIconStore store;
    EXPECT_FALSE(store.LoadToolbarIcons(703, 700));

    // Without a picture strip the buttons stay, but the load reports the failure.
    EXPECT_EQ(0, m_bar->LoadToolBar(704, true));
    EXPECT_EQ((std::vector<int>{100, 101, 102}), Ids());
}

TEST_F(TkToolBarTest, TheSiteSuppliesOrSkipsButtons) {
    m_frame.unknownTypeFor = 101;
    m_frame.ownControlFor = 102;
    EXPECT_EQ(1, m_bar->LoadToolBar(700, false));
    // 101 got a type nothing makes and is left out; 102 is the site's own control.
    EXPECT_EQ((std::vector<int>{100, 102}), Ids());
    EXPECT_EQ(m_frame.ownControl, m_bar->GetControl(1));
    EXPECT_EQ(m_bar.get(), m_frame.ownControl->GetParentBar());
    EXPECT_STREQ("own", m_bar->GetControl(1)->m_strCaption);
    // The group mark of the skipped button passes to the next one.
    EXPECT_EQ((std::vector<int>{102}), Groups());
}

// ---------------------------------------------------------------------------------------------
// Layouts.

TEST_F(TkToolBarTest, ADirectlyPlacedToolbarTakesTheTopOfTheFrame) {
    m_bar->LoadToolBar(700, false);
    const CSize expected = m_bar->CalcDockingLayout(32000, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, 0);
    EXPECT_GT(expected.cx, 3 * 23);
    EXPECT_GE(expected.cy, 22);

    // Measuring only: the room shrinks, nothing moves.
    AFX_SIZEPARENTPARAMS layout = {nullptr, {0, 0, 480, 250}, {0, 0}, TRUE};
    m_bar->SendMessage(WM_SIZEPARENT, 0, (LPARAM)&layout);
    EXPECT_EQ(expected.cy, layout.rect.top);
    EXPECT_EQ(expected.cy, layout.sizeTotal.cy);
    EXPECT_EQ(expected.cx, layout.sizeTotal.cx);

    // Placing: the bar is moved to the top of the room and its buttons get their places.
    layout = {::BeginDeferWindowPos(1), {0, 20, 480, 250}, {0, 0}, TRUE};
    m_bar->SendMessage(WM_SIZEPARENT, 0, (LPARAM)&layout);
    ::EndDeferWindowPos(layout.hDWP);
    CRect window;
    m_bar->GetWindowRect(&window);
    m_frame.ScreenToClient(&window);
    EXPECT_EQ(Edges(CRect(0, 20, expected.cx, 20 + expected.cy)), Edges(window));
    EXPECT_EQ(20 + expected.cy, layout.rect.top);
    EXPECT_GT(m_bar->GetControl(0)->GetRect().Width(), 0);

    // A hidden bar takes no room.
    m_bar->SetVisible(false);
    EXPECT_FALSE(m_bar->IsVisible());
    EXPECT_FALSE(m_bar->IsWindowVisible());
    layout = {nullptr, {0, 0, 480, 250}, {0, 0}, TRUE};
    m_bar->SendMessage(WM_SIZEPARENT, 0, (LPARAM)&layout);
    EXPECT_EQ(0, layout.rect.top);
}

TEST_F(TkToolBarTest, ADockableToolbarShowsItsExpandButtonAtTheEnd) {
    m_bar->LoadToolBar(700, false);
    const CSize plain = m_bar->CalcDockingLayout(32000, TK_LAYOUT_COMMIT | TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, 0);
    EXPECT_EQ(nullptr, m_bar->GetControls()->FindById(ID_TK_EXPAND_BUTTON));

    m_bar->EnableDocking(0x1F);
    ASSERT_NE(nullptr, m_bar->GetDragTracker());
    EXPECT_EQ(0x1F, m_bar->m_dwFlags);
    const CSize docked = m_bar->CalcDockingLayout(32000, TK_LAYOUT_COMMIT | TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, 0);
    EXPECT_EQ(plain.cx + 11, docked.cx);
    CTkControl* expand = m_bar->GetControls()->FindById(ID_TK_EXPAND_BUTTON);
    ASSERT_NE(nullptr, expand);
    EXPECT_TRUE(expand->m_bTemporary);
    EXPECT_TRUE(expand->IsVisible());
    EXPECT_EQ(Edges(CRect(docked.cx - 13, 2, docked.cx - 2, docked.cy - 2)), Edges(expand->GetRect()));
    // Temporary buttons are not part of the bar's buttons as the user made them.
    EXPECT_FALSE(m_bar->GetControls()->IsCustomized());

    // With the manager's expand-button switch off, a bar whose buttons all fit shows none.
    CTkCommandBars* manager = new CTkCommandBars;
    manager->GetCommandBarsOptions()->m_bShowExpandButtonAlways = 0;
    m_bar->m_pManager = manager;
    const CSize fits = m_bar->CalcDockingLayout(32000, TK_LAYOUT_COMMIT | TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, 0);
    EXPECT_EQ(plain.cx, fits.cx);
    EXPECT_FALSE(m_bar->GetControls()->FindById(ID_TK_EXPAND_BUTTON)->IsVisible());
    // Measuring only, it keeps room for the button beside the shortest layout.
    const CSize measured = m_bar->CalcDockingLayout(32000, TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, 0);
    EXPECT_EQ(plain.cx, measured.cx);
    m_bar->m_pManager = nullptr;
    manager->InternalRelease();
}

TEST_F(TkToolBarTest, AFloatingToolbarHasACaptionCloseButtonAndSizingEdges) {
    m_bar->LoadToolBar(700, false);
    std::unique_ptr<CTkToolBar> floating(new CTkToolBar);
    floating->m_strTitle = "Floating";
    floating->m_pOwnerWnd = &m_frame;
    ASSERT_TRUE(floating->SetFloatingMode(&m_frame, true));
    floating->m_nPosition = TK_BAR_POSITION_FLOATING;
    const DWORD style = floating->GetStyle();
    EXPECT_EQ((DWORD)(WS_POPUP | 0x100), style & (WS_POPUP | WS_CHILD | 0x100));
    EXPECT_EQ(m_frame.GetSafeHwnd(), ::GetWindow(floating->GetSafeHwnd(), GW_OWNER));
    CRect window;
    floating->GetWindowRect(&window);
    EXPECT_EQ(100, window.left);
    EXPECT_EQ(100, window.top);
    // A floating toolbar keeps in step with its frame's activation.
    EXPECT_EQ(1, floating->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE));

    floating->SetButtons(std::vector<UINT>{100, 0, 101}.data(), 3);
    floating->OnRecalcLayout();
    floating->GetWindowRect(&window);
    CTkControl* close = floating->GetControls()->FindById(ID_TK_CLOSE_BUTTON);
    ASSERT_NE(nullptr, close);
    ASSERT_NE(nullptr, dynamic_cast<CTkControlClose*>(close));
    CClientDC dc(nullptr);
    const int caption = CTkThemePainter::GetCurrent()->PaintGripper(&dc, floating.get(), false).cy;
    const int limit = window.Width() - 3;
    EXPECT_EQ(Edges(CRect(limit - caption, 3, limit, caption + 3)), Edges(close->GetRect()));
    CTkControl* expand = floating->GetControls()->FindById(ID_TK_EXPAND_BUTTON);
    ASSERT_NE(nullptr, expand);
    EXPECT_EQ(Edges(CRect(limit - 2 * caption, 3, limit - caption, caption + 3)), Edges(expand->GetRect()));
    // The first button sits below the caption, inside the 3-pixel border.
    EXPECT_EQ(3, floating->GetControl(0)->GetRect().left);
    EXPECT_GE(floating->GetControl(0)->GetRect().top, caption + 4);

    // The edges 3 pixels wide size the window.
    auto hit = [&](int x, int y) {
        return floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
    };
    EXPECT_EQ(HTLEFT, hit(2, window.Height() / 2));
    EXPECT_EQ(HTRIGHT, hit(window.Width() - 3, window.Height() / 2));
    EXPECT_EQ(HTTOP, hit(window.Width() / 2, 1));
    EXPECT_EQ(HTBOTTOM, hit(window.Width() / 2, window.Height() - 3));
    EXPECT_EQ(HTCLIENT, hit(window.Width() / 2, window.Height() / 2));
    EXPECT_EQ(MA_NOACTIVATE, floating->SendMessage(WM_MOUSEACTIVATE, (WPARAM)m_frame.GetSafeHwnd(), 0));

    // The close button hides the bar and sends no command.
    close->Execute();
    EXPECT_FALSE(floating->IsVisible());
    EXPECT_FALSE(floating->IsWindowVisible());
    EXPECT_EQ(0, m_frame.commands);

    // A floating bar without the close button, and a floating menu bar, lay out without one.
    std::unique_ptr<CTkToolBar> plain(new CTkToolBar);
    plain->m_bCloseButton = 0;
    plain->m_nPosition = TK_BAR_POSITION_FLOATING;
    plain->SetButtons(std::vector<UINT>{100}.data(), 1);
    const CSize size = plain->CalcDynamicLayout(-1, TK_LAYOUT_COMMIT | TK_LAYOUT_MRU_WIDTH | TK_LAYOUT_HORIZONTAL);
    EXPECT_EQ(nullptr, plain->GetControls()->FindById(ID_TK_CLOSE_BUTTON));
    EXPECT_EQ(Edges(CRect(size.cx - 3 - caption, 3, size.cx - 3, caption + 3)),
              Edges(plain->GetControls()->FindById(ID_TK_EXPAND_BUTTON)->GetRect()));
    plain->m_nBarType = TK_BAR_TYPE_MENUBAR;
    plain->SetButtons(std::vector<UINT>{100}.data(), 1);
    plain->CalcDynamicLayout(-1, TK_LAYOUT_COMMIT | TK_LAYOUT_MRU_WIDTH | TK_LAYOUT_HORIZONTAL);
    EXPECT_EQ(1, plain->GetControls()->GetCount());

    floating->DestroyWindow();
}

TEST_F(TkToolBarTest, ATabInAToolbarWithoutDockingMovesToTheNextDialogItem) {
    // A toolbar hosted among the items of a window (not dockable) passes Tab on to them.
    CWnd host;
    ASSERT_TRUE(host.CreateEx(WS_EX_CONTROLPARENT, nullptr, "host", WS_POPUP | WS_VISIBLE, 50, 50, 300, 100, nullptr, nullptr));
    std::unique_ptr<CTkToolBar> bar(new CTkToolBar);
    ASSERT_TRUE(bar->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, &host, 1));
    bar->SetButtons(std::vector<UINT>{100, 101}.data(), 2);
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 200, 10, 80, 20, host.GetSafeHwnd(),
                                  (HMENU)2, nullptr, nullptr);
    ASSERT_TRUE(TkBringToFront(host.GetSafeHwnd()));
    // Taking the focus starts tracking with the first button selected.
    bar->SetFocus();
    TkPumpPending();
    EXPECT_EQ(TK_TRACKING_ACTIVE, bar->m_nTrackingMode);
    EXPECT_EQ(0, bar->m_nHotIndex);
    EXPECT_EQ(1, bar->OnHookKeyDown(VK_TAB));
    EXPECT_EQ(edit, ::GetFocus());
    EXPECT_EQ(TK_TRACKING_NONE, bar->m_nTrackingMode);
    // A dockable toolbar navigates its own buttons with Tab.
    bar->EnableDocking(0x1F);
    bar->SetTrackingMode(TK_TRACKING_ACTIVE, true, true);
    EXPECT_EQ(1, bar->OnHookKeyDown(VK_TAB));
    EXPECT_EQ(1, bar->m_nHotIndex);
    bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
    bar->DestroyWindow();
    host.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Reset and the add-or-remove list.

TEST_F(TkToolBarTest, TheAddOrRemoveListBringsBackRemovedButtons) {
    m_bar->LoadToolBar(700, false);
    // The user removed 101 and the expand button is there.
    m_bar->EnableDocking(0x1F);
    m_bar->CalcDockingLayout(32000, TK_LAYOUT_COMMIT | TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, 0);
    m_bar->GetControls()->RemoveControl(m_bar->GetControls()->FindById(101));
    m_bar->GetControl(0)->ModifyHideFlags(TK_CONTROL_HIDE_CUSTOMIZE, true);  // 100 hidden by the user

    HACCEL table = nullptr;
    ACCEL accel[] = {{FVIRTKEY | FCONTROL, 'S', 102}};
    table = ::CreateAcceleratorTableA(accel, 1);
    m_frame.m_hAccelTable = table;

    std::unique_ptr<CTkCommandBar> popup(new CTkCommandBar);
    popup->m_nBarType = TK_BAR_TYPE_POPUP;
    m_bar->AddHiddenControls(popup.get());

    // The toolbar holds the originals again, the removed ones marked as removed, in their places.
    EXPECT_EQ((std::vector<int>{100, 101, 102}), Ids());
    EXPECT_TRUE(m_bar->GetControls()->FindById(101)->m_nHideFlags & TK_CONTROL_HIDE_CUSTOMIZE);
    EXPECT_TRUE(m_bar->GetControls()->FindById(100)->m_nHideFlags & TK_CONTROL_HIDE_CUSTOMIZE);
    EXPECT_EQ(0, m_bar->GetControls()->FindById(102)->m_nHideFlags & TK_CONTROL_HIDE_CUSTOMIZE);

    // One item per button (not the expand button), then the reset item.
    ASSERT_EQ(4, popup->GetControls()->GetCount());
    for (int i = 0; i < 3; ++i) {
        auto* item = dynamic_cast<CTkControlToggle*>(popup->GetControl(i));
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(m_bar->GetControl(i), item->GetTargetControl());
        EXPECT_TRUE(item->m_bEnabled);
        EXPECT_EQ(i == 2, item->m_bChecked != 0) << i;
        EXPECT_EQ(100 + i, item->m_nIconId);
    }
    CString ctrlS = CTkShortcutText::Format(accel[0]);
    EXPECT_EQ(ctrlS, popup->GetControl(2)->m_strShortcutText);
    EXPECT_TRUE(popup->GetControl(0)->m_strShortcutText.IsEmpty());
    auto* reset = dynamic_cast<CTkControlToggle*>(popup->GetControl(3));
    ASSERT_NE(nullptr, reset);
    EXPECT_TRUE(reset->m_bBeginGroup);
    EXPECT_EQ(m_bar.get(), reset->GetTargetToolBar());
    EXPECT_STREQ("&Reset Toolbar", reset->m_strCaption);

    // Checking an item shows its button again.
    popup->GetControl(1)->Execute();
    EXPECT_TRUE(m_bar->GetControls()->FindById(101)->IsVisible());
    EXPECT_TRUE(popup->GetControl(1)->m_bChecked);
    popup->GetControl(1)->Execute();
    EXPECT_FALSE(m_bar->GetControls()->FindById(101)->IsVisible());

    m_frame.m_hAccelTable = nullptr;
    ::DestroyAcceleratorTable(table);
}

TEST_F(TkToolBarTest, ResetAsksThenBringsBackTheOriginalButtons) {
    m_bar->LoadToolBar(700, false);
    m_bar->GetControls()->RemoveControl(m_bar->GetControls()->FindById(100));
    m_bar->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 120);

    m_answer = IDCANCEL;
    m_bar->ResetToOriginal();
    ASSERT_EQ(1u, m_prompts.size());
    EXPECT_STREQ("Are you sure you want to reset the changes made to the 'Standard' toolbar?", m_prompts[0]);
    EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONWARNING), m_promptTypes[0]);
    EXPECT_EQ((std::vector<int>{101, 102, 120}), Ids());

    m_answer = IDOK;
    m_bar->ResetToOriginal();
    EXPECT_EQ((std::vector<int>{100, 101, 102}), Ids());
    EXPECT_EQ((std::vector<int>{101}), Groups());

    // A bar without originals reloads its resource; one that is not resettable is left alone.
    std::unique_ptr<CTkToolBar> loose(new CTkToolBar);
    loose->m_nBarId = 700;
    loose->SetButtons(std::vector<UINT>{120, 121}.data(), 2);
    ASSERT_EQ(nullptr, loose->GetControls()->GetOriginal());
    loose->ResetToOriginal();
    ASSERT_EQ(3, loose->GetControls()->GetCount());
    EXPECT_EQ(100, loose->GetControl(0)->m_nId);
    m_bar->m_bResettable = 0;
    m_prompts.clear();
    m_bar->ResetToOriginal();
    EXPECT_TRUE(m_prompts.empty());
}

TEST_F(TkToolBarTest, ResetFromItsItemLeavesThePopupChainItRunsIn) {
    m_bar->LoadToolBar(700, false);
    m_bar->EnableDocking(0x1F);
    m_bar->CalcDockingLayout(32000, TK_LAYOUT_COMMIT | TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL, 0);
    auto* expand = dynamic_cast<CTkControlPopup*>(m_bar->GetControls()->FindById(ID_TK_EXPAND_BUTTON));
    ASSERT_NE(nullptr, expand);
    // The options popup hangs below the expand button, as when the user opens it.
    CTkCommandBar* options = new CTkCommandBar;
    options->m_nBarType = TK_BAR_TYPE_POPUP;
    expand->AttachChildBar(options);
    options->InternalRelease();
    m_bar->AddHiddenControls(options);
    CTkControl* resetItem = options->GetControl(options->GetControls()->GetCount() - 1);
    resetItem->InternalAddRef();
    expand->InternalAddRef();

    resetItem->Execute();
    // The reset waits until the item has returned: the popup chain is still whole.
    EXPECT_TRUE(m_prompts.empty());
    EXPECT_EQ(expand, m_bar->GetControls()->FindById(ID_TK_EXPAND_BUTTON));
    EXPECT_EQ(options, expand->GetCommandBar());
    EXPECT_EQ(options, resetItem->GetParentBar());

    TkPumpUntil([&] { return !m_prompts.empty(); }, 2000);
    ASSERT_EQ(1u, m_prompts.size());
    EXPECT_EQ((std::vector<int>{100, 101, 102}), Ids());
    // The old expand button went with the reset; the layout after it made a new one.
    EXPECT_NE(expand, m_bar->GetControls()->FindById(ID_TK_EXPAND_BUTTON));
    resetItem->InternalRelease();
    expand->InternalRelease();
}

// ---------------------------------------------------------------------------------------------
// Shortcut texts.

TEST(TkShortcutTextTest, KeyNamesComeFromThePlatformThenFromTheFixedTable) {
    // The fixed table names 108 keys.
    int named = 0;
    for (UINT key = 0; key < 256; ++key) named += !CTkShortcutText::FixedKeyName(key).IsEmpty();
    EXPECT_EQ(108, named);
    EXPECT_STREQ("0", CTkShortcutText::FixedKeyName('0'));
    EXPECT_STREQ("Z", CTkShortcutText::FixedKeyName('Z'));
    EXPECT_STREQ("Num 5", CTkShortcutText::FixedKeyName(VK_NUMPAD5));
    EXPECT_STREQ("F12", CTkShortcutText::FixedKeyName(VK_F12));
    EXPECT_STREQ("Ctrl", CTkShortcutText::FixedKeyName(VK_CONTROL));
    EXPECT_STREQ("Scrl Lock", CTkShortcutText::FixedKeyName(VK_SCROLL));
    EXPECT_STREQ("Oem Clear", CTkShortcutText::FixedKeyName(254));
    EXPECT_TRUE(CTkShortcutText::FixedKeyName(200).IsEmpty());

    // The platform's names, first letter upper case and the rest lower case. Under Wine they are
    // the X11 key names.
    if (RunningUnderWine()) {
        EXPECT_STREQ("Control", CTkShortcutText::KeyName(VK_CONTROL));
        EXPECT_STREQ("Delete", CTkShortcutText::KeyName(VK_DELETE));
        EXPECT_STREQ("Escape", CTkShortcutText::KeyName(VK_ESCAPE));
        // The numeric pad's 5 has no scan code there: the fixed name.
        EXPECT_STREQ("Num 5", CTkShortcutText::KeyName(VK_NUMPAD5));
    } else {
        EXPECT_STREQ("Ctrl", CTkShortcutText::KeyName(VK_CONTROL));
    }
    EXPECT_STREQ("S", CTkShortcutText::KeyName('S'));
    EXPECT_STREQ("F5", CTkShortcutText::KeyName(VK_F5));
}

TEST(TkShortcutTextTest, AcceleratorsRenderAndTheBestOneIsChosen) {
    const CString ctrl = CTkShortcutText::KeyName(VK_CONTROL), shift = CTkShortcutText::KeyName(VK_SHIFT),
                  alt = CTkShortcutText::KeyName(VK_MENU);
    ACCEL all = {FVIRTKEY | FCONTROL | FSHIFT | FALT, 'S', 1};
    EXPECT_EQ(ctrl + "+" + shift + "+" + alt + "+S", CTkShortcutText::Format(all));
    ACCEL save = {FVIRTKEY | FCONTROL, 'S', 1};
    EXPECT_STREQ(RunningUnderWine() ? "Control+S" : "Ctrl+S", CTkShortcutText::Format(save));
    ACCEL escape = {0, 27, 1};
    EXPECT_TRUE(CTkShortcutText::Format(escape).IsEmpty());
    ACCEL character = {FCONTROL, 'q', 1};
    EXPECT_EQ(ctrl + "+q", CTkShortcutText::Format(character));
    ACCEL noKey = {FVIRTKEY | FCONTROL, 0, 1};
    EXPECT_EQ(ctrl, CTkShortcutText::Format(noKey));

    ACCEL entries[] = {
        {FVIRTKEY | FCONTROL, 'S', 500}, {FVIRTKEY, 'S', 500},           // plain beats Ctrl
        {FVIRTKEY | FSHIFT, 'X', 501}, {FVIRTKEY | FALT, 'X', 501},      // Alt beats Shift
        {FVIRTKEY | FSHIFT, VK_F5, 502},
    };
    HACCEL table = ::CreateAcceleratorTableA(entries, 5);
    CString text;
    EXPECT_TRUE(CTkShortcutText::FindInTable(table, 500, text));
    EXPECT_STREQ("S", text);
    EXPECT_TRUE(CTkShortcutText::FindInTable(table, 501, text));
    EXPECT_EQ(alt + "+X", text);
    // A text that is one of the command's entries stays.
    text = ctrl + "+S";
    EXPECT_TRUE(CTkShortcutText::FindInTable(table, 500, text));
    EXPECT_EQ(ctrl + "+S", text);
    EXPECT_TRUE(CTkShortcutText::FindInTable(table, 502, text));
    EXPECT_EQ(shift + "+F5", text);
    EXPECT_FALSE(CTkShortcutText::FindInTable(table, 503, text));
    EXPECT_TRUE(text.IsEmpty());

    // A command's text comes from the bar's frame; a frame without accelerators gives none.
    ASSERT_TRUE(TkDesktopReady());
    CTestFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CTkToolBar bar;
    bar.m_pOwnerWnd = &frame;
    text = "stale";
    EXPECT_FALSE(CTkShortcutText::FindForCommand(500, text, &bar));
    EXPECT_TRUE(text.IsEmpty());
    frame.m_hAccelTable = table;
    EXPECT_TRUE(CTkShortcutText::FindForCommand(502, text, &bar));
    EXPECT_EQ(shift + "+F5", text);
    frame.m_hAccelTable = nullptr;
    frame.DestroyWindow();
    ::DestroyAcceleratorTable(table);
}

}  // namespace
