// Windows that record their messages, and a command bar as the mouse tracker sees it, for the
// tests of the hooks, the shadows and the input they watch.
#pragma once

#include "commandbars/TkHooks.h"

#include <vector>

// What a recording window answers to every message it does not leave to the system.
const LRESULT kRecordingAnswer = 7;

// A top-level popup window (not shown) that records every message it receives.
HWND TkCreateRecordingWindow(const RECT& rect, DWORD exStyle = WS_EX_TOOLWINDOW);
int TkRecordedCount(HWND hwnd, UINT message);
// The last such message, or an empty one.
MSG TkLastRecorded(HWND hwnd, UINT message);
void TkClearRecorded(HWND hwnd);

// One key event for SendInput.
INPUT TkKeyInput(WORD key, bool up);
// Presses and releases a key through the system's input (SendInput).
void TkSendKey(WORD key);
// A left click at a screen point through the system's input.
void TkSendClick(POINT at);
// One mouse input for SendInput: a move to a screen point with the button flags.
INPUT TkMouseInput(POINT at, DWORD flags);

// A bar with a recording window. Leaving tracking untracks its chain, last first, the way a
// root bar closes the popups opened from it.
class CTkFakeBar : public ITkTrackedBar {
public:
    CTkFakeBar() : m_chain{this} {}
    ~CTkFakeBar();
    bool Create(const RECT& rect);
    HWND GetTrackedWindow() const override { return m_hWnd; }
    void LeaveTracking() override;
    bool IsCustomizing() const override { return m_customizing; }
    void ClearHotItem() override { ++m_hotCleared; }

    HWND m_hWnd = nullptr;
    std::vector<ITkTrackedBar*> m_chain;
    int m_left = 0;
    int m_hotCleared = 0;
    bool m_customizing = false;
};
