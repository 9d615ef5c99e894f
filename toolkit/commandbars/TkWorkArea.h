// The work area of the monitor that holds a rectangle, a point or the cursor.
#pragma once

#include "afx.h"

// The monitor's work area; without a monitor (or when it cannot be asked) the primary display's.
CRect GetWorkAreaOfMonitor(HMONITOR monitor);
CRect GetWorkAreaOfRect(const RECT& rect);
CRect GetWorkAreaOfPoint(POINT point);
CRect GetWorkAreaOfCursor();

// The monitor functions of user32, looked up at run time; tests may clear them to play a
// system without multiple-monitor support.
struct CTkMonitorFunctions {
    using PFNMONITORFROMRECT = HMONITOR(WINAPI*)(LPCRECT, DWORD);
    using PFNMONITORFROMPOINT = HMONITOR(WINAPI*)(POINT, DWORD);
    using PFNGETMONITORINFO = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
    PFNMONITORFROMRECT pfnMonitorFromRect = nullptr;
    PFNMONITORFROMPOINT pfnMonitorFromPoint = nullptr;
    PFNGETMONITORINFO pfnGetMonitorInfo = nullptr;
    bool IsMultiMonitor() const { return pfnMonitorFromRect && pfnMonitorFromPoint && pfnGetMonitorInfo; }
    static CTkMonitorFunctions& Instance();
};

// The pseudo-handle of the primary display used where the monitor functions are missing.
extern const HMONITOR TK_PRIMARY_MONITOR;
