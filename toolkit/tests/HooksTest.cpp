// The subclass registry, the keyboard hook's routing and the mouse tracker, called directly on
// windows of the test's own.
#include "HookTestSupport.h"
#include "TkTestSupport.h"
#include "commandbars/TkHooks.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const UINT kProbe = WM_APP + 1;

// A sink that logs the probe message under its name and answers as told.
class CProbeSink : public ITkHookSink {
public:
    CProbeSink(char name, std::string* log, int answer = TK_HOOK_IGNORED, LRESULT value = 0)
        : m_name(name), m_log(log), m_answer(answer), m_value(value) {}
    int OnHookMessage(HWND hwnd, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT* result) override {
        if (message != kProbe && message != WM_KEYDOWN) return TK_HOOK_IGNORED;
        *m_log += m_name;
        m_hwnd = hwnd;
        m_key = *wParam;
        m_lParam = *lParam;
        if (m_onCall) m_onCall();
        *result = m_value;
        return m_answer;
    }
    char m_name;
    std::string* m_log;
    int m_answer;
    LRESULT m_value;
    HWND m_hwnd = (HWND)-1;
    WPARAM m_key = 0;
    LPARAM m_lParam = -1;
    std::function<void()> m_onCall;
};

class TkSubclassRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        m_wnd = TkCreateRecordingWindow(CRect(10, 10, 110, 60));
        ASSERT_TRUE(m_wnd);
        m_ownProc = ::GetWindowLongPtrW(m_wnd, GWLP_WNDPROC);
    }
    void TearDown() override {
        if (::IsWindow(m_wnd)) ::DestroyWindow(m_wnd);
    }
    CTkSubclassRegistry& registry() { return CTkSubclassRegistry::Instance(); }
    HWND m_wnd = nullptr;
    LONG_PTR m_ownProc = 0;
    std::string m_log;
};

TEST_F(TkSubclassRegistry, TheSinkAddedLastIsAskedFirst) {
    CProbeSink a('A', &m_log), b('B', &m_log);
    ASSERT_TRUE(registry().AddSink(m_wnd, &a));
    ASSERT_TRUE(registry().AddSink(m_wnd, &b));
    EXPECT_NE(m_ownProc, ::GetWindowLongPtrW(m_wnd, GWLP_WNDPROC));

    // Neither is interested: both are asked, the last added first, then the window itself.
    EXPECT_EQ(kRecordingAnswer, ::SendMessageW(m_wnd, kProbe, 1, 2));
    EXPECT_EQ("BA", m_log);
    EXPECT_EQ(m_wnd, b.m_hwnd);
    EXPECT_EQ(1, TkRecordedCount(m_wnd, kProbe));

    // Handled: the sink's result, the window and the earlier sink never see it.
    m_log.clear();
    b.m_answer = TK_HOOK_HANDLED;
    b.m_value = 42;
    EXPECT_EQ(42, ::SendMessageW(m_wnd, kProbe, 0, 0));
    EXPECT_EQ("B", m_log);
    EXPECT_EQ(1, TkRecordedCount(m_wnd, kProbe));

    // Stop: the walk ends but the window handles the message.
    m_log.clear();
    b.m_answer = TK_HOOK_STOP;
    EXPECT_EQ(kRecordingAnswer, ::SendMessageW(m_wnd, kProbe, 0, 0));
    EXPECT_EQ("B", m_log);
    EXPECT_EQ(2, TkRecordedCount(m_wnd, kProbe));

    // Adding a sink twice keeps one entry.
    m_log.clear();
    b.m_answer = TK_HOOK_IGNORED;
    registry().AddSink(m_wnd, &a);
    ::SendMessageW(m_wnd, kProbe, 0, 0);
    EXPECT_EQ("BA", m_log);
    registry().RemoveSinkEverywhere(&a);
    registry().RemoveSinkEverywhere(&b);
}

TEST_F(TkSubclassRegistry, TheLastSinkGoneGivesTheWindowItsProcedureBack) {
    CProbeSink a('A', &m_log), b('B', &m_log);
    registry().AddSink(m_wnd, &a);
    registry().AddSink(m_wnd, &b);
    registry().RemoveSink(m_wnd, &a);
    EXPECT_TRUE(registry().IsSubclassed(m_wnd));
    registry().RemoveSink(m_wnd, &b);
    EXPECT_FALSE(registry().IsSubclassed(m_wnd));
    EXPECT_EQ(m_ownProc, ::GetWindowLongPtrW(m_wnd, GWLP_WNDPROC));
    ::SendMessageW(m_wnd, kProbe, 0, 0);
    EXPECT_EQ("", m_log);

    // A window that goes while subclassed drops its record; later removals do nothing.
    registry().AddSink(m_wnd, &a);
    ::DestroyWindow(m_wnd);
    EXPECT_FALSE(registry().IsSubclassed(m_wnd));
    EXPECT_FALSE(registry().HasSink(m_wnd, &a));
    registry().RemoveSink(m_wnd, &a);
    EXPECT_FALSE(registry().AddSink(m_wnd, &a));
}

LONG_PTR g_laterPrevious = 0;
LRESULT CALLBACK LaterSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(reinterpret_cast<WNDPROC>(g_laterPrevious), hwnd, message, wParam, lParam);
}

TEST_F(TkSubclassRegistry, ASubclassInstalledAfterTheRegistryIsNotOverwritten) {
    CProbeSink a('A', &m_log);
    registry().AddSink(m_wnd, &a);
    g_laterPrevious = ::SetWindowLongPtrW(m_wnd, GWLP_WNDPROC, (LONG_PTR)&LaterSubclassProc);
    registry().RemoveSink(m_wnd, &a);
    EXPECT_EQ((LONG_PTR)&LaterSubclassProc, ::GetWindowLongPtrW(m_wnd, GWLP_WNDPROC));
    // The registry stays in the chain as a pass-through.
    EXPECT_EQ(kRecordingAnswer, ::SendMessageW(m_wnd, kProbe, 0, 0));
    EXPECT_EQ("", m_log);
    EXPECT_EQ(1, TkRecordedCount(m_wnd, kProbe));
    ::DestroyWindow(m_wnd);
    EXPECT_FALSE(registry().IsSubclassed(m_wnd));
}

TEST_F(TkSubclassRegistry, SinksThatRemoveThemselvesDuringTheWalkAreSafe) {
    // The first sink stays; the two added after it leave while the message is offered.
    CProbeSink keeper('K', &m_log), first('1', &m_log), second('2', &m_log);
    registry().AddSink(m_wnd, &keeper);
    registry().AddSink(m_wnd, &first);
    registry().AddSink(m_wnd, &second);
    second.m_onCall = [&] { registry().RemoveSink(m_wnd, &second); };
    first.m_onCall = [&] { registry().RemoveSink(m_wnd, &first); };
    EXPECT_EQ(kRecordingAnswer, ::SendMessageW(m_wnd, kProbe, 0, 0));
    EXPECT_EQ("21K", m_log);
    EXPECT_TRUE(registry().HasSink(m_wnd, &keeper));

    // A sink that removes a later one: that one is not asked any more.
    m_log.clear();
    registry().AddSink(m_wnd, &first);
    first.m_onCall = [&] { registry().RemoveSink(m_wnd, &keeper); };
    ::SendMessageW(m_wnd, kProbe, 0, 0);
    EXPECT_EQ("1", m_log);

    // Every sink leaves during the walk: the record goes, the window's own procedure still
    // handles the message and is back in place afterwards.
    m_log.clear();
    first.m_onCall = [&] { registry().RemoveSink(m_wnd, &first); };
    EXPECT_EQ(2, TkRecordedCount(m_wnd, kProbe));
    ::SendMessageW(m_wnd, kProbe, 0, 0);
    EXPECT_EQ("1", m_log);
    EXPECT_FALSE(registry().IsSubclassed(m_wnd));
    EXPECT_EQ(3, TkRecordedCount(m_wnd, kProbe));
    EXPECT_EQ(m_ownProc, ::GetWindowLongPtrW(m_wnd, GWLP_WNDPROC));

    // The same on WM_DESTROY, the way a popup's shadows leave with it.
    CProbeSink onDestroy('D', &m_log);
    class CLeaveOnDestroy : public ITkHookSink {
    public:
        int OnHookMessage(HWND hwnd, UINT message, WPARAM*, LPARAM*, LRESULT*) override {
            if (message == WM_DESTROY) {
                CTkSubclassRegistry::Instance().RemoveSink(hwnd, this);
                ++left;
            }
            return TK_HOOK_IGNORED;
        }
        int left = 0;
    } leaveA, leaveB;
    registry().AddSink(m_wnd, &leaveA);
    registry().AddSink(m_wnd, &leaveB);
    ::DestroyWindow(m_wnd);
    EXPECT_EQ(1, leaveA.left);
    EXPECT_EQ(1, leaveB.left);
    EXPECT_FALSE(registry().IsSubclassed(m_wnd));
}

TEST_F(TkSubclassRegistry, TheCurrentMessageIsSavedWholeAndRestored) {
    MSG* current = AfxGetCurrentMessage();
    const MSG outer = {reinterpret_cast<HWND>(0x1234), 0x4321, 0x1111222233334444ull, 0x5555666677778888ll,
                       0x12345678, {-7, 99}};
    *current = outer;

    MSG seenOuter = {}, seenInner = {}, afterInner = {};
    CProbeSink sink('S', &m_log);
    int depth = 0;
    sink.m_onCall = [&] {
        if (depth++ == 0) {
            seenOuter = *current;
            ::SendMessageW(m_wnd, kProbe, 5, 6);
            afterInner = *current;
        } else {
            seenInner = *current;
        }
    };
    registry().AddSink(m_wnd, &sink);
    ::SendMessageW(m_wnd, kProbe, 3, 4);
    registry().RemoveSink(m_wnd, &sink);

    EXPECT_EQ(m_wnd, seenOuter.hwnd);
    EXPECT_EQ(kProbe, seenOuter.message);
    EXPECT_EQ(3u, seenOuter.wParam);
    EXPECT_EQ(4, seenOuter.lParam);
    EXPECT_EQ(5u, seenInner.wParam);
    EXPECT_EQ(0, std::memcmp(&seenOuter, &afterInner, sizeof(MSG)));
    EXPECT_EQ(0, std::memcmp(&outer, current, sizeof(MSG)));
    *current = MSG{};
}

// ---------------------------------------------------------------------------------------------
// Keyboard routing.

class TkKeyboardHook : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(TkDesktopReady()); }
    void TearDown() override {
        for (CProbeSink* sink : {&a, &b}) CTkKeyboardHook::ForThread().RemoveSink(sink);
    }
    CTkKeyboardHook& hook() { return CTkKeyboardHook::ForThread(); }
    std::string m_log;
    CProbeSink a{'A', &m_log}, b{'B', &m_log};
};

TEST_F(TkKeyboardHook, RouteKeyAsksTheSinksInOrder) {
    EXPECT_FALSE(hook().HasSinks());
    hook().AddSink(&a);
    hook().AddSink(&b);
    hook().AddSink(&a);
    EXPECT_TRUE(hook().IsHooked());

    // Nobody claims the key: it is swallowed all the same.
    EXPECT_EQ(1, hook().RouteKey(WM_KEYDOWN, 'X', 0));
    EXPECT_EQ("AB", m_log);
    EXPECT_EQ(nullptr, a.m_hwnd);
    EXPECT_EQ((WPARAM)'X', b.m_key);

    struct Case {
        int a, b, result;
        const char* asked;
    } cases[] = {{0, 2, 0, "AB"}, {0, 1, 1, "AB"}, {1, 2, 1, "A"}, {2, 1, 0, "A"}, {1, 0, 1, "A"}};
    for (const Case& c : cases) {
        m_log.clear();
        a.m_answer = c.a;
        b.m_answer = c.b;
        EXPECT_EQ(c.result, hook().RouteKey(WM_KEYDOWN, VK_DOWN, 0)) << c.a << c.b;
        EXPECT_EQ(c.asked, m_log) << c.a << c.b;
    }
}

TEST_F(TkKeyboardHook, ASinkThatLeavesWhileCalledDoesNotHideTheNext) {
    hook().AddSink(&a);
    hook().AddSink(&b);
    a.m_onCall = [&] { hook().RemoveSink(&a); };
    b.m_answer = TK_HOOK_STOP;
    EXPECT_EQ(0, hook().RouteKey(WM_KEYDOWN, VK_ESCAPE, 0));
    EXPECT_EQ("AB", m_log);
    EXPECT_FALSE(hook().HasSink(&a));
}

TEST_F(TkKeyboardHook, TheHookSwallowsKeysForTheSinksAndAltClosesThePopups) {
    const LPARAM down = 1, up = 0xC0000001, alt = 0x20000001, altRepeat = 0x60000001;
    CTkFakeBar popup;
    CTkMouseTracker& tracker = CTkMouseTracker::ForThread();

    // Without sinks every key passes.
    EXPECT_FALSE(hook().FilterKey(HC_ACTION, 'F', down));

    hook().AddSink(&a);
    a.m_answer = TK_HOOK_HANDLED;
    EXPECT_TRUE(hook().FilterKey(HC_ACTION, 'F', down));
    EXPECT_EQ((WPARAM)'F', a.m_key);
    EXPECT_EQ(0, a.m_lParam);
    a.m_answer = TK_HOOK_STOP;
    EXPECT_FALSE(hook().FilterKey(HC_ACTION, 'F', down));
    m_log.clear();
    EXPECT_FALSE(hook().FilterKey(HC_ACTION, 'F', up));
    EXPECT_FALSE(hook().FilterKey(HC_NOREMOVE, 'F', down));
    EXPECT_EQ("", m_log);

    // Alt closes the open popups once; holding it down does not repeat that.
    tracker.TrackBar(&popup);
    EXPECT_FALSE(hook().FilterKey(HC_ACTION, VK_MENU, altRepeat));
    EXPECT_EQ(0, popup.m_left);
    EXPECT_TRUE(hook().FilterKey(HC_ACTION, VK_MENU, alt));
    EXPECT_EQ(1, popup.m_left);
    EXPECT_FALSE(tracker.HasTrackedBars());
    EXPECT_EQ("", m_log);
    // Its release goes with it, once; a release whose press passed passes too.
    const LPARAM altUp = 0xC0000001;
    EXPECT_TRUE(hook().FilterKey(HC_ACTION, VK_MENU, altUp));
    EXPECT_FALSE(hook().FilterKey(HC_ACTION, VK_MENU, altUp));
    EXPECT_TRUE(hook().FilterKey(HC_ACTION, VK_MENU, alt));
    EXPECT_FALSE(hook().FilterKey(HC_ACTION, VK_MENU, altRepeat));
    hook().RemoveSink(&a);
    EXPECT_FALSE(hook().FilterKey(HC_ACTION, VK_MENU, alt));  // a press the hook leaves alone
    EXPECT_FALSE(hook().FilterKey(HC_ACTION, VK_MENU, altUp));
    hook().AddSink(&a);
    EXPECT_EQ("", m_log);

    // Alt with another key goes to the sinks.
    a.m_answer = TK_HOOK_HANDLED;
    EXPECT_TRUE(hook().FilterKey(HC_ACTION, 'F', alt));
    EXPECT_EQ("A", m_log);

    // While a popup runs its own loop, Alt passes.
    tracker.TrackBar(&popup);
    {
        CTkModalLoopScope loop;
        EXPECT_TRUE(tracker.IsModalLoopRunning());
        EXPECT_FALSE(hook().FilterKey(HC_ACTION, VK_MENU, alt));
    }
    EXPECT_FALSE(tracker.IsModalLoopRunning());
    EXPECT_EQ(1, popup.m_left);
    {
        CTkBarDragScope drag;
        EXPECT_TRUE(tracker.IsBarDragRunning());
    }
    EXPECT_FALSE(tracker.IsBarDragRunning());
    tracker.ForgetBar(&popup);
}

// ---------------------------------------------------------------------------------------------
// Mouse tracking.

class TkMouseTracker : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(tracker().IsHooked());
        // A menu bar and a popup opened from it, and a window of the program outside both.
        m_menuBar.Create(CRect(100, 100, 400, 120));
        m_popup.Create(CRect(100, 120, 250, 300));
        m_outside = TkCreateRecordingWindow(CRect(500, 500, 600, 600));
        m_popup.m_chain = {&m_menuBar, &m_popup};
        m_menuBar.m_chain = m_popup.m_chain;
    }
    void TearDown() override {
        tracker().ForgetBar(&m_menuBar);
        tracker().ForgetBar(&m_popup);
        ::DestroyWindow(m_outside);
    }
    void OpenChain() {
        tracker().TrackBar(&m_menuBar);
        tracker().TrackBar(&m_popup);
    }
    CTkMouseTracker& tracker() { return CTkMouseTracker::ForThread(); }
    CTkFakeBar m_menuBar, m_popup;
    HWND m_outside = nullptr;
};

TEST_F(TkMouseTracker, AClickOutsideThePopupsClosesTheChainFromItsRoot) {
    OpenChain();
    OpenChain();
    ASSERT_EQ(2u, tracker().GetTrackedBars().size());
    EXPECT_FALSE(tracker().FilterMouse(WM_LBUTTONDOWN, POINT{150, 200}));
    EXPECT_FALSE(tracker().FilterMouse(WM_RBUTTONDOWN, POINT{390, 110}));
    EXPECT_EQ(0, m_menuBar.m_left + m_popup.m_left);

    EXPECT_FALSE(tracker().FilterMouse(WM_NCLBUTTONDOWN, POINT{550, 550}));
    EXPECT_EQ(1, m_menuBar.m_left);
    // The root's close ended the chain: the popup is not told a second time.
    EXPECT_EQ(0, m_popup.m_left);
    EXPECT_FALSE(tracker().HasTrackedBars());

    // With nothing tracked a click changes nothing.
    EXPECT_FALSE(tracker().FilterMouse(WM_LBUTTONDOWN, POINT{550, 550}));
    EXPECT_EQ(1, m_menuBar.m_left);
}

TEST_F(TkMouseTracker, AChildWindowOfAPopupCountsAsInside) {
    HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, m_popup.m_hWnd,
                                   nullptr, nullptr, nullptr);
    ASSERT_TRUE(child);
    ::ShowWindow(m_popup.m_hWnd, SW_SHOWNOACTIVATE);
    OpenChain();
    EXPECT_FALSE(tracker().FilterMouse(WM_LBUTTONDOWN, POINT{120, 135}));
    EXPECT_TRUE(tracker().HasTrackedBars());
    ::DestroyWindow(child);
}

TEST_F(TkMouseTracker, AReleaseOutsideClosesOnlyWithoutAPopupLoop) {
    OpenChain();
    {
        CTkModalLoopScope comboList;
        EXPECT_FALSE(tracker().FilterMouse(WM_LBUTTONUP, POINT{550, 550}));
        EXPECT_FALSE(tracker().FilterMouse(WM_NCLBUTTONUP, POINT{560, 550}));
        EXPECT_TRUE(tracker().HasTrackedBars());
        // A press still closes them.
    }
    EXPECT_FALSE(tracker().FilterMouse(WM_LBUTTONUP, POINT{570, 550}));
    EXPECT_EQ(1, m_menuBar.m_left);
    EXPECT_FALSE(tracker().HasTrackedBars());
}

TEST_F(TkMouseTracker, MovesOutsideReachTheBarsInClientCoordinatesAndRepeatsAreSwallowed) {
    OpenChain();
    EXPECT_FALSE(tracker().FilterMouse(WM_MOUSEMOVE, POINT{520, 530}));
    EXPECT_EQ(1, TkRecordedCount(m_popup.m_hWnd, WM_MOUSEMOVE));
    EXPECT_EQ(MAKELPARAM(420, 410), TkLastRecorded(m_popup.m_hWnd, WM_MOUSEMOVE).lParam);
    EXPECT_EQ(MAKELPARAM(420, 430), TkLastRecorded(m_menuBar.m_hWnd, WM_MOUSEMOVE).lParam);
    // The same point again is dropped while popups are open.
    EXPECT_TRUE(tracker().FilterMouse(WM_MOUSEMOVE, POINT{520, 530}));
    EXPECT_TRUE(tracker().FilterMouse(WM_NCMOUSEMOVE, POINT{520, 530}));
    EXPECT_EQ(1, TkRecordedCount(m_popup.m_hWnd, WM_MOUSEMOVE));
    EXPECT_FALSE(tracker().FilterMouse(WM_MOUSEMOVE, POINT{521, 530}));
    EXPECT_EQ(2, TkRecordedCount(m_popup.m_hWnd, WM_MOUSEMOVE));
    // Inside a popup nothing is forwarded.
    EXPECT_FALSE(tracker().FilterMouse(WM_MOUSEMOVE, POINT{150, 150}));
    EXPECT_EQ(2, TkRecordedCount(m_popup.m_hWnd, WM_MOUSEMOVE));
    tracker().UntrackBar(&m_popup);
    tracker().UntrackBar(&m_menuBar);
    EXPECT_FALSE(tracker().FilterMouse(WM_MOUSEMOVE, POINT{521, 530}));
}

TEST_F(TkMouseTracker, MenuBarHotItemAndCustomiseWindows) {
    // The menu bar in tracking mode loses its hot item when the first popup opens elsewhere.
    tracker().SetTrackingMenuBar(&m_menuBar);
    tracker().TrackBar(&m_popup);
    EXPECT_EQ(1, m_menuBar.m_hotCleared);
    tracker().TrackBar(&m_menuBar);
    EXPECT_EQ(1, m_menuBar.m_hotCleared);
    tracker().UntrackBar(&m_popup);
    tracker().UntrackBar(&m_menuBar);
    tracker().TrackBar(&m_menuBar);
    EXPECT_EQ(1, m_menuBar.m_hotCleared);
    tracker().ForgetBar(&m_menuBar);
    EXPECT_EQ(nullptr, tracker().GetTrackingMenuBar());

    // While customising, the extra windows count as inside.
    m_popup.m_customizing = true;
    m_popup.m_chain = {&m_popup};
    tracker().TrackBar(&m_popup);
    tracker().AddExtraWindow(m_outside);
    EXPECT_FALSE(tracker().FilterMouse(WM_LBUTTONDOWN, POINT{550, 550}));
    EXPECT_TRUE(tracker().HasTrackedBars());
    tracker().RemoveExtraWindow(m_outside);
    EXPECT_FALSE(tracker().FilterMouse(WM_LBUTTONDOWN, POINT{551, 550}));
    EXPECT_FALSE(tracker().HasTrackedBars());
}

TEST_F(TkMouseTracker, WatchingANewWindowStopsThePreviousWatch) {
    HWND first = TkCreateRecordingWindow(CRect(700, 100, 800, 200));
    HWND second = TkCreateRecordingWindow(CRect(700, 300, 800, 400));
    ::ShowWindow(first, SW_SHOWNOACTIVATE);
    ::ShowWindow(second, SW_SHOWNOACTIVATE);
    ::SetCursorPos(750, 350);
    tracker().WatchMouseLeave(first);
    EXPECT_EQ(first, tracker().GetWatchedWindow());
    tracker().WatchMouseLeave(second);
    EXPECT_EQ(second, tracker().GetWatchedWindow());
    EXPECT_EQ(1, TkRecordedCount(first, WM_MOUSELEAVE));
    // The first window's timer is gone: it sends no second leave and keeps the new watch.
    TkPumpUntil([] { return false; }, 200);
    EXPECT_EQ(1, TkRecordedCount(first, WM_MOUSELEAVE));
    // The cursor leaves the second window: one leave, and the watch ends.
    ::SetCursorPos(10, 10);
    EXPECT_TRUE(TkPumpUntil([&] { return TkRecordedCount(second, WM_MOUSELEAVE) > 0; }, 2000));
    EXPECT_EQ(nullptr, tracker().GetWatchedWindow());
    TkPumpUntil([] { return false; }, 150);
    EXPECT_EQ(1, TkRecordedCount(second, WM_MOUSELEAVE));
    ::DestroyWindow(first);
    ::DestroyWindow(second);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Real input on the test display: what a popup relies on to close.

namespace {

// A popup that tracks like an open menu: it holds a keyboard sink that closes it on Escape and
// swallows every other key.
class CInputPopup : public CTkFakeBar, public ITkHookSink {
public:
    void Open() {
        m_keys.clear();
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        CTkMouseTracker::ForThread().TrackBar(this);
        CTkKeyboardHook::ForThread().AddSink(this);
    }
    bool IsOpen() const { return CTkMouseTracker::ForThread().IsTracked(this); }
    void LeaveTracking() override {
        CTkFakeBar::LeaveTracking();
        CTkKeyboardHook::ForThread().RemoveSink(this);
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
    int OnHookMessage(HWND, UINT message, WPARAM* wParam, LPARAM*, LRESULT*) override {
        if (message != WM_KEYDOWN) return TK_HOOK_IGNORED;
        m_keys.push_back(*wParam);
        if (*wParam == VK_ESCAPE) LeaveTracking();
        return TK_HOOK_HANDLED;
    }
    std::vector<WPARAM> m_keys;
};

// What the scenarios saw.
struct CInputOutcome {
    bool desktop = false;
    bool escapeClosed = false;
    std::vector<WPARAM> escapeKeys;
    int frameKeyDowns = -1;
    bool altClosed = false;
    std::vector<WPARAM> altKeys;
    bool clickClosed = false;
    int frameClicks = 0;
    bool insideClickSeen = false;
    bool openAfterInsideClick = false;
};

// A frame with the focus and a popup over it, on the calling thread.
class CInputScene {
public:
    CInputScene() {
        m_frame = TkCreateRecordingWindow(CRect(300, 300, 700, 700), 0);
        ::ShowWindow(m_frame, SW_SHOW);
        m_popup.Create(CRect(350, 350, 450, 450));
        ::SetWindowLongPtrW(m_popup.m_hWnd, GWL_EXSTYLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    }
    ~CInputScene() {
        if (m_popup.IsOpen()) m_popup.LeaveTracking();
        ::DestroyWindow(m_frame);
    }
    // Brings the frame to the front, opens the popup and sends the input until the popup
    // closes, a few times should the first input be lost.
    bool ClosesOn(const std::function<void()>& input) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            ::SetFocus(m_frame);
            TkBringToFront(m_frame, 1000);
            m_popup.Open();
            TkPumpPending();
            input();
            if (TkPumpUntil([&] { return !m_popup.IsOpen(); }, 1500)) return true;
            m_popup.LeaveTracking();
        }
        return false;
    }
    void Run(CInputOutcome& out) {
        out.escapeClosed = ClosesOn([] { TkSendKey(VK_ESCAPE); });
        out.escapeKeys = m_popup.m_keys;
        out.frameKeyDowns = TkRecordedCount(m_frame, WM_KEYDOWN);

        out.altClosed = ClosesOn([] { TkSendKey(VK_MENU); });
        out.altKeys = m_popup.m_keys;

        out.clickClosed = ClosesOn([] { TkSendClick(POINT{600, 600}); });
        out.frameClicks = TkRecordedCount(m_frame, WM_LBUTTONDOWN);

        m_popup.Open();
        TkClearRecorded(m_popup.m_hWnd);
        TkSendClick(POINT{400, 400});
        out.insideClickSeen = TkPumpUntil([&] { return TkRecordedCount(m_popup.m_hWnd, WM_LBUTTONUP) > 0; }, 1500);
        out.openAfterInsideClick = m_popup.IsOpen();
    }

private:
    HWND m_frame = nullptr;
    CInputPopup m_popup;
};

DWORD WINAPI RunInputScene(void* param) {
    auto& out = *static_cast<CInputOutcome*>(param);
    out.desktop = TkUseOwnDesktop(L"TarvockToolkitInputTests");
    if (out.desktop) CInputScene().Run(out);
    return 0;
}

// The scenes run once, on a thread of their own and a desktop of their own: the keys and
// clicks reach only this test's windows, never those of the other programs of the run (a
// tracked menu there would close). The thread's tracker and keyboard hook are its own.
const CInputOutcome& InputOutcome() {
    static CInputOutcome outcome;
    static bool ran = false;
    if (!ran) {
        ran = true;
        HANDLE thread = ::CreateThread(nullptr, 0, RunInputScene, &outcome, 0, nullptr);
        ::WaitForSingleObject(thread, 60000);
        ::CloseHandle(thread);
    }
    return outcome;
}

TEST(TkHookInput, EscapeReachesTheSinkAndClosesThePopup) {
    const CInputOutcome& seen = InputOutcome();
    ASSERT_TRUE(seen.desktop);
    EXPECT_TRUE(seen.escapeClosed);
    EXPECT_EQ((std::vector<WPARAM>{VK_ESCAPE}), seen.escapeKeys);
    // The key never reached the frame, which has the focus.
    EXPECT_EQ(0, seen.frameKeyDowns);
}

TEST(TkHookInput, AltClosesThePopupWithoutGoingToTheSinks) {
    const CInputOutcome& seen = InputOutcome();
    ASSERT_TRUE(seen.desktop);
    EXPECT_TRUE(seen.altClosed);
    EXPECT_TRUE(seen.altKeys.empty());
}

TEST(TkHookInput, AClickOutsideClosesThePopupAndAClickInsideDoesNot) {
    const CInputOutcome& seen = InputOutcome();
    ASSERT_TRUE(seen.desktop);
    EXPECT_TRUE(seen.clickClosed);
    EXPECT_GE(seen.frameClicks, 1);
    EXPECT_TRUE(seen.insideClickSeen);
    EXPECT_TRUE(seen.openAfterInsideClick);
}

}  // namespace
