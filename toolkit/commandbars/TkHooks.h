// What open menus and popups see of messages they do not own: the thread's mouse tracker (a
// WH_MOUSE hook that closes the popup chain on a click outside it and watches for the mouse
// leaving a bar), the thread's keyboard hook that routes keys to the tracking bars, and the
// subclass registry that offers a window's messages to sinks (drop shadows, the frame).
#pragma once

#include "afxwin.h"

#include <unordered_map>
#include <vector>

// Answers of a sink.
enum TkHookAnswer : int {
    TK_HOOK_IGNORED = 0,  // not interested: the next sink, then the window, sees the message
    TK_HOOK_HANDLED = 1,  // handled: the walk ends and *result is the message's result
    TK_HOOK_STOP = 2,     // the walk ends and the message goes on to the window
};

// An object that is offered messages of windows it does not own, or keys (hwnd null).
class ITkHookSink {
public:
    virtual int OnHookMessage(HWND hwnd, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT* result) = 0;

protected:
    ~ITkHookSink() = default;
};

// A command bar as the mouse tracker sees it (the bars whose popups are open).
class ITkTrackedBar {
public:
    // The bar's window, or null while it has none.
    virtual HWND GetTrackedWindow() const = 0;
    // Ends the bar's tracking mode; on the root bar this closes the whole popup chain.
    virtual void LeaveTracking() = 0;
    // True while the bar's manager is in customise mode.
    virtual bool IsCustomizing() const = 0;
    // Selects no control (a menu bar in tracking mode when its first popup opens elsewhere).
    virtual void ClearHotItem() = 0;

protected:
    ~ITkTrackedBar() = default;
};

// The thread's mouse hook and the state of its open popup chain. All work is on the thread that
// owns the bars; the hook is installed with the tracker and removed with it.
class CTkMouseTracker {
public:
    static constexpr UINT_PTR kMouseLeaveTimer = 113341;
    static constexpr UINT kMouseLeavePeriod = 50;

    // The calling thread's tracker, created on first use.
    static CTkMouseTracker& ForThread();
    CTkMouseTracker();
    ~CTkMouseTracker();
    CTkMouseTracker(const CTkMouseTracker&) = delete;
    CTkMouseTracker& operator=(const CTkMouseTracker&) = delete;

    // The chain of bars whose popups are open; the first is its root.
    void TrackBar(ITkTrackedBar* bar);
    void UntrackBar(ITkTrackedBar* bar);
    // Tells the root bar to leave tracking, which closes the chain.
    void CloseTracked();
    bool IsTracked(const ITkTrackedBar* bar) const;
    bool HasTrackedBars() const { return !m_tracked.empty(); }
    const std::vector<ITkTrackedBar*>& GetTrackedBars() const { return m_tracked; }
    // A bar that goes away: untracked and forgotten as menu bar and last selected bar.
    void ForgetBar(ITkTrackedBar* bar);

    // The menu bar in tracking mode, whose hot item is cleared when the first popup opens.
    void SetTrackingMenuBar(ITkTrackedBar* bar) { m_pMenuBar = bar; }
    ITkTrackedBar* GetTrackingMenuBar() const { return m_pMenuBar; }
    // The bar whose control was selected last.
    void SetLastSelectedBar(ITkTrackedBar* bar) { m_pLastSelected = bar; }
    ITkTrackedBar* GetLastSelectedBar() const { return m_pLastSelected; }

    // Raised while a popup runs a capture loop of its own (a combo-box list, a tear-off drag):
    // a button release outside the popups then closes nothing, and Alt passes.
    void EnterModalLoop() { ++m_nModalLoops; }
    void LeaveModalLoop();
    bool IsModalLoopRunning() const { return m_nModalLoops > 0; }
    // Raised while a bar is dragged: hot tracking and tooltips stop on every bar.
    void BeginBarDrag() { ++m_nBarDrags; }
    void EndBarDrag();
    bool IsBarDragRunning() const { return m_nBarDrags > 0; }

    // Once one popup was expanded, popups opened later in the session open expanded.
    void SetExpandAll(bool expand) { m_bExpandAll = expand; }
    bool IsExpandAll() const { return m_bExpandAll; }

    // Further windows that count as inside the popups while the root bar customises.
    void AddExtraWindow(HWND hwnd);
    void RemoveExtraWindow(HWND hwnd);

    // Posts WM_MOUSELEAVE to the window once the cursor leaves it or its frame stops being
    // active; the window watched before gets its WM_MOUSELEAVE at once.
    void WatchMouseLeave(HWND hwnd);
    HWND GetWatchedWindow() const { return m_hWatched; }

    // The hook's work for one mouse message at a screen point; true swallows the message.
    bool FilterMouse(UINT message, POINT screenPoint);
    bool IsHooked() const { return m_hHook != nullptr; }

private:
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK MouseLeaveTimerProc(HWND hwnd, UINT, UINT_PTR id, DWORD);
    bool IsInsideTracked(HWND under, POINT point) const;
    void ForwardToTracked(UINT message, POINT point);

    HHOOK m_hHook = nullptr;
    std::vector<ITkTrackedBar*> m_tracked;
    unsigned m_nChanges = 0;  // counts changes of the chain, so walks over it can stop
    int m_nModalLoops = 0;
    int m_nBarDrags = 0;
    ITkTrackedBar* m_pMenuBar = nullptr;
    ITkTrackedBar* m_pLastSelected = nullptr;
    HWND m_hWatched = nullptr;
    bool m_bExpandAll = false;
    std::vector<HWND> m_extraWindows;
};

// Holds one of the tracker's counts raised for one scope, so every way out lowers it.
template <void (CTkMouseTracker::*Raise)(), void (CTkMouseTracker::*Lower)()>
class CTkTrackerCountScope {
public:
    CTkTrackerCountScope() : m_tracker(CTkMouseTracker::ForThread()) { (m_tracker.*Raise)(); }
    ~CTkTrackerCountScope() { (m_tracker.*Lower)(); }
    CTkTrackerCountScope(const CTkTrackerCountScope&) = delete;
    CTkTrackerCountScope& operator=(const CTkTrackerCountScope&) = delete;

private:
    CTkMouseTracker& m_tracker;
};
// A popup's own capture loop runs.
using CTkModalLoopScope = CTkTrackerCountScope<&CTkMouseTracker::EnterModalLoop, &CTkMouseTracker::LeaveModalLoop>;
// A bar is being dragged.
using CTkBarDragScope = CTkTrackerCountScope<&CTkMouseTracker::BeginBarDrag, &CTkMouseTracker::EndBarDrag>;

// The next message of a capture loop (a drag): the paints waiting are dispatched first, so what
// moves is drawn as it goes. False when the program quits: the quit is posted again for the loop
// above, and the capture loop ends.
bool TkNextCaptureMessage(MSG& msg);

// The thread's keyboard hook: while any sink is registered (a tracking menu or popup), key
// presses go to the sinks first and reach the focused window only when a sink lets them pass.
class CTkKeyboardHook {
public:
    static CTkKeyboardHook& ForThread();
    CTkKeyboardHook() = default;
    ~CTkKeyboardHook();
    CTkKeyboardHook(const CTkKeyboardHook&) = delete;
    CTkKeyboardHook& operator=(const CTkKeyboardHook&) = delete;

    // The first sink installs the hook; it stays until the object goes.
    void AddSink(ITkHookSink* sink);
    void RemoveSink(ITkHookSink* sink);
    bool HasSink(const ITkHookSink* sink) const;
    bool HasSinks() const { return !m_sinks.empty(); }

    // Offers a key message to the sinks in order: 1 swallows the key, 0 lets it pass (a sink
    // answered 2). A key no sink claims is swallowed.
    int RouteKey(UINT message, WPARAM wParam, LPARAM lParam);
    // The hook's work for one key event (code, virtual key, key flags); true swallows it.
    bool FilterKey(int code, WPARAM key, LPARAM flags);
    bool IsHooked() const { return m_hHook != nullptr; }

private:
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hHook = nullptr;
    std::vector<ITkHookSink*> m_sinks;
    bool m_bAltPressTaken = false;  // the hook took the last Alt press; its release is taken too
};

// The process's window subclasses: each window with sinks gets the registry's procedure, which
// offers every message to the window's sinks (the last added first) before the window's own
// procedure. Used on the UI thread only.
class CTkSubclassRegistry {
public:
    static CTkSubclassRegistry& Instance();
    CTkSubclassRegistry() = default;
    ~CTkSubclassRegistry();
    CTkSubclassRegistry(const CTkSubclassRegistry&) = delete;
    CTkSubclassRegistry& operator=(const CTkSubclassRegistry&) = delete;

    // False when the window does not exist.
    bool AddSink(HWND hwnd, ITkHookSink* sink);
    // The window's last sink gone, its own procedure comes back.
    void RemoveSink(HWND hwnd, ITkHookSink* sink);
    void RemoveSinkEverywhere(ITkHookSink* sink);
    bool HasSink(HWND hwnd, const ITkHookSink* sink) const;
    bool IsSubclassed(HWND hwnd) const { return m_records.count(hwnd) != 0; }

private:
    struct CRecord {
        HWND hwnd = nullptr;
        WNDPROC oldProc = nullptr;
        std::vector<ITkHookSink*> sinks;
        int calls = 0;          // messages of the window being handled
        bool detached = false;  // out of the map; deleted when the last call returns
        bool Contains(const ITkHookSink* sink) const;
    };
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(CRecord* record, UINT message, WPARAM wParam, LPARAM lParam);
    // Gives the window its procedure back when nobody subclassed it after us; a record that
    // cannot step back stays as a pass-through while the window lives.
    void DropRecordIfEmpty(CRecord* record);
    void Detach(CRecord* record);

    std::unordered_map<HWND, CRecord*> m_records;
};
