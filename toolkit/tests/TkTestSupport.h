// Helpers of the toolkit's tests: an application object, a private desktop, a pumped message
// queue and a 32-bit DIB section to draw into and probe.
#pragma once

#include "afxwin.h"

#include <functional>

// Dispatches the thread's pending messages.
void TkPumpPending();
// Pumps messages until the condition holds or the time is up; returns the condition.
bool TkPumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Makes the top-level window the foreground and active one, asking again while other programs on
// the shared display take the activation; true once it is both. Activation moves only when the
// thread pumps, so a check made right after this without pumping sees the window active.
bool TkBringToFront(HWND top, DWORD timeoutMs = 5000);
// The calling thread's top-level window of that class and title (either may be null): other test
// programs share the desktop, so a window is never looked for among all of its windows.
HWND TkFindThreadWindow(const wchar_t* className, const wchar_t* title);
// True once the thread's desktop lets windows be created.
bool TkDesktopReady();
// Moves the calling thread (which has no windows yet) to the named desktop and waits until
// windows can be created there; the test programs' main thread is on "TarvockToolkitTests".
bool TkUseOwnDesktop(const wchar_t* name);

// A top-down 32-bit DIB section selected into a memory device context.
class CTkTestCanvas {
public:
    CTkTestCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~CTkTestCanvas();
    CTkTestCanvas(const CTkTestCanvas&) = delete;
    CTkTestCanvas& operator=(const CTkTestCanvas&) = delete;
    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    // The pixel as a COLORREF (alpha dropped); flushes GDI first.
    COLORREF At(int x, int y) const;
    BYTE AlphaAt(int x, int y) const;
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};
