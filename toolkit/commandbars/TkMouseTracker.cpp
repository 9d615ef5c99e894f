#include "commandbars/TkHooks.h"

#include <algorithm>
#include <memory>

namespace {
// The point of the last hooked mouse message, to drop repeated moves while popups are open.
struct CLastHookPoint {
    POINT point = {LONG_MIN, LONG_MIN};
} g_lastHookPoint;

bool IsButtonDown(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

bool IsMouseMove(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE;
}

template <class T>
void EraseValue(std::vector<T>& values, const T& value) {
    values.erase(std::remove(values.begin(), values.end(), value), values.end());
}

template <class T>
bool ContainsValue(const std::vector<T>& values, const T& value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Mouse tracker.

CTkMouseTracker& CTkMouseTracker::ForThread() {
    static thread_local std::unique_ptr<CTkMouseTracker> tracker;
    if (!tracker) tracker.reset(new CTkMouseTracker);
    return *tracker;
}

CTkMouseTracker::CTkMouseTracker() {
    m_hHook = ::SetWindowsHookExW(WH_MOUSE, MouseProc, nullptr, ::GetCurrentThreadId());
}

CTkMouseTracker::~CTkMouseTracker() {
    if (m_hWatched && ::IsWindow(m_hWatched)) ::KillTimer(m_hWatched, kMouseLeaveTimer);
    if (m_hHook) ::UnhookWindowsHookEx(m_hHook);
}

void CTkMouseTracker::TrackBar(ITkTrackedBar* bar) {
    if (!bar) return;
    if (m_tracked.empty() && m_pMenuBar && m_pMenuBar != bar) m_pMenuBar->ClearHotItem();
    if (ContainsValue(m_tracked, bar)) return;
    m_tracked.push_back(bar);
    ++m_nChanges;
}

void CTkMouseTracker::UntrackBar(ITkTrackedBar* bar) {
    if (!ContainsValue(m_tracked, bar)) return;
    EraseValue(m_tracked, bar);
    ++m_nChanges;
    if (m_tracked.empty()) {
        // Setting the cursor where it is gives hot-tracking windows a fresh mouse move.
        POINT cursor;
        if (::GetCursorPos(&cursor)) ::SetCursorPos(cursor.x, cursor.y);
    }
}

void CTkMouseTracker::CloseTracked() {
    if (!m_tracked.empty()) m_tracked.front()->LeaveTracking();
}

bool CTkMouseTracker::IsTracked(const ITkTrackedBar* bar) const {
    return std::find(m_tracked.begin(), m_tracked.end(), bar) != m_tracked.end();
}

void CTkMouseTracker::ForgetBar(ITkTrackedBar* bar) {
    if (ContainsValue(m_tracked, bar)) {
        EraseValue(m_tracked, bar);
        ++m_nChanges;
    }
    if (m_pMenuBar == bar) m_pMenuBar = nullptr;
    if (m_pLastSelected == bar) m_pLastSelected = nullptr;
}

void CTkMouseTracker::LeaveModalLoop() {
    if (m_nModalLoops > 0) --m_nModalLoops;
}

void CTkMouseTracker::EndBarDrag() {
    if (m_nBarDrags > 0) --m_nBarDrags;
}

void CTkMouseTracker::AddExtraWindow(HWND hwnd) {
    if (hwnd && !ContainsValue(m_extraWindows, hwnd)) m_extraWindows.push_back(hwnd);
}

void CTkMouseTracker::RemoveExtraWindow(HWND hwnd) {
    EraseValue(m_extraWindows, hwnd);
}

void CTkMouseTracker::WatchMouseLeave(HWND hwnd) {
    if (hwnd == m_hWatched) return;
    HWND previous = m_hWatched;
    m_hWatched = hwnd;
    if (previous && ::IsWindow(previous)) {
        // The previous window's timer must not fire later and end the new watch.
        ::KillTimer(previous, kMouseLeaveTimer);
        ::SendMessageW(previous, WM_MOUSELEAVE, 0, 0);
    }
    if (m_hWatched == hwnd && hwnd && ::IsWindow(hwnd))
        ::SetTimer(hwnd, kMouseLeaveTimer, kMouseLeavePeriod, MouseLeaveTimerProc);
}

void CALLBACK CTkMouseTracker::MouseLeaveTimerProc(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    CTkMouseTracker& tracker = ForThread();
    if (!::IsWindow(hwnd)) {
        ::KillTimer(hwnd, id);
        if (tracker.m_hWatched == hwnd) tracker.m_hWatched = nullptr;
        return;
    }
    POINT cursor = {};
    RECT rect = {};
    ::GetCursorPos(&cursor);
    ::GetWindowRect(hwnd, &rect);
    if (::PtInRect(&rect, cursor)) {
        bool isChild = (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0;
        HWND foreground = ::GetForegroundWindow();
        if (!isChild || (foreground && ::GetAncestor(hwnd, GA_ROOT) == ::GetLastActivePopup(foreground))) return;
    }
    ::KillTimer(hwnd, id);
    if (tracker.m_hWatched == hwnd) tracker.m_hWatched = nullptr;
    ::PostMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
}

LRESULT CALLBACK CTkMouseTracker::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    CTkMouseTracker& tracker = ForThread();
    if (code == HC_ACTION) {
        const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (tracker.FilterMouse((UINT)wParam, info->pt)) return 1;
    }
    return ::CallNextHookEx(tracker.m_hHook, code, wParam, lParam);
}

bool CTkMouseTracker::FilterMouse(UINT message, POINT point) {
    POINT& last = g_lastHookPoint.point;
    if (!m_tracked.empty() && IsMouseMove(message) && point.x == last.x && point.y == last.y) return true;
    last = point;
    if (!m_tracked.empty() && !IsInsideTracked(::WindowFromPoint(point), point)) ForwardToTracked(message, point);
    return false;
}

bool CTkMouseTracker::IsInsideTracked(HWND under, POINT point) const {
    for (ITkTrackedBar* bar : m_tracked) {
        HWND hwnd = bar->GetTrackedWindow();
        if (!hwnd) continue;
        RECT rect = {};
        if (under && ::IsChild(hwnd, under)) return true;
        if (::GetWindowRect(hwnd, &rect) && ::PtInRect(&rect, point)) return true;
    }
    if (m_tracked.front()->IsCustomizing()) {
        for (HWND extra : m_extraWindows) {
            RECT rect = {};
            if (::IsWindow(extra) && ::GetWindowRect(extra, &rect) && ::PtInRect(&rect, point)) return true;
        }
    }
    return false;
}

void CTkMouseTracker::ForwardToTracked(UINT message, POINT point) {
    // Closing one bar closes the bars opened from it: stop once the chain has changed.
    const std::vector<ITkTrackedBar*> bars = m_tracked;
    const unsigned changes = m_nChanges;
    for (ITkTrackedBar* bar : bars) {
        if (m_nChanges != changes) break;
        if (IsMouseMove(message)) {
            HWND hwnd = bar->GetTrackedWindow();
            if (!hwnd) continue;
            POINT client = point;
            ::ScreenToClient(hwnd, &client);
            ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
        } else if (IsButtonDown(message) ||
                   ((message == WM_LBUTTONUP || message == WM_NCLBUTTONUP) && !IsModalLoopRunning())) {
            bar->LeaveTracking();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Keyboard hook.

CTkKeyboardHook& CTkKeyboardHook::ForThread() {
    static thread_local std::unique_ptr<CTkKeyboardHook> hook;
    if (!hook) hook.reset(new CTkKeyboardHook);
    return *hook;
}

CTkKeyboardHook::~CTkKeyboardHook() {
    if (m_hHook) ::UnhookWindowsHookEx(m_hHook);
}

void CTkKeyboardHook::AddSink(ITkHookSink* sink) {
    if (!sink) return;
    if (!m_hHook)
        m_hHook = ::SetWindowsHookExW(WH_KEYBOARD, KeyboardProc, AfxGetInstanceHandle(), ::GetCurrentThreadId());
    if (!HasSink(sink)) m_sinks.push_back(sink);
}

void CTkKeyboardHook::RemoveSink(ITkHookSink* sink) {
    EraseValue(m_sinks, sink);
}

bool CTkKeyboardHook::HasSink(const ITkHookSink* sink) const {
    return std::find(m_sinks.begin(), m_sinks.end(), sink) != m_sinks.end();
}

int CTkKeyboardHook::RouteKey(UINT message, WPARAM wParam, LPARAM lParam) {
    // A sink may close its popup and leave the list while it is called.
    const std::vector<ITkHookSink*> sinks = m_sinks;
    for (ITkHookSink* sink : sinks) {
        if (!HasSink(sink)) continue;
        WPARAM w = wParam;
        LPARAM l = lParam;
        LRESULT result = 0;
        int answer = sink->OnHookMessage(nullptr, message, &w, &l, &result);
        if (answer == TK_HOOK_STOP) return 0;
        if (answer != TK_HOOK_IGNORED) return 1;
    }
    return 1;
}

bool CTkKeyboardHook::FilterKey(int code, WPARAM key, LPARAM flags) {
    const bool keyUp = (flags & 0x80000000) != 0;
    const bool altContext = (flags & 0x20000000) != 0;
    const bool repeated = (flags & 0x40000000) != 0;
    if (code != HC_ACTION) return false;
    if (keyUp) {
        // The release of an Alt whose press closed the popups goes with the press: the default
        // handling, which never saw the press, would take it for Alt pressed alone and enter the
        // menu bar again.
        if (key != VK_MENU || !m_bAltPressTaken) return false;
        m_bAltPressTaken = false;
        return true;
    }
    if (key == VK_MENU && !repeated) m_bAltPressTaken = false;
    if (m_sinks.empty()) return false;
    if (!altContext) return RouteKey(WM_KEYDOWN, key, 0) == 1;
    CTkMouseTracker& tracker = CTkMouseTracker::ForThread();
    if (tracker.IsModalLoopRunning()) return false;
    if (key == VK_MENU) {
        if (repeated) return false;
        tracker.CloseTracked();
        m_bAltPressTaken = true;
        return true;
    }
    return RouteKey(WM_KEYDOWN, key, 0) == 1;
}

LRESULT CALLBACK CTkKeyboardHook::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    CTkKeyboardHook& hook = ForThread();
    if (hook.FilterKey(code, wParam, lParam)) return 1;
    return ::CallNextHookEx(hook.m_hHook, code, wParam, lParam);
}

bool TkNextCaptureMessage(MSG& msg) {
    // A quit request comes through any filter: it is passed on and ends the loop.
    while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            return false;
        }
        ::DispatchMessageW(&msg);
    }
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        ::PostQuitMessage(got == 0 ? (int)msg.wParam : 0);
        return false;
    }
    return true;
}
