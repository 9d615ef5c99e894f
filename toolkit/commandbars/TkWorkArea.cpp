#include "commandbars/TkWorkArea.h"

const HMONITOR TK_PRIMARY_MONITOR = reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x12340042));

namespace {

template <class F>
F As(FARPROC proc) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(proc));
}

CRect PrimaryWorkArea() {
    CRect area;
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        area = CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    return area;
}

bool OnPrimaryScreen(LONG x, LONG y) {
    return x >= 0 && y >= 0 && x < ::GetSystemMetrics(SM_CXSCREEN) && y < ::GetSystemMetrics(SM_CYSCREEN);
}
}  // namespace

CTkMonitorFunctions& CTkMonitorFunctions::Instance() {
    static CTkMonitorFunctions functions = [] {
        CTkMonitorFunctions f;
        if (HMODULE user = ::GetModuleHandleW(L"user32.dll")) {
            f.pfnMonitorFromRect = As<PFNMONITORFROMRECT>(::GetProcAddress(user, "MonitorFromRect"));
            f.pfnMonitorFromPoint = As<PFNMONITORFROMPOINT>(::GetProcAddress(user, "MonitorFromPoint"));
            f.pfnGetMonitorInfo = As<PFNGETMONITORINFO>(::GetProcAddress(user, "GetMonitorInfoW"));
        }
        return f;
    }();
    return functions;
}

CRect GetWorkAreaOfMonitor(HMONITOR monitor) {
    const CTkMonitorFunctions& f = CTkMonitorFunctions::Instance();
    if (monitor && monitor != TK_PRIMARY_MONITOR && f.pfnGetMonitorInfo) {
        MONITORINFO info = {};
        info.cbSize = sizeof info;  // 40
        if (f.pfnGetMonitorInfo(monitor, &info)) return CRect(info.rcWork);
    }
    return PrimaryWorkArea();
}

CRect GetWorkAreaOfRect(const RECT& rect) {
    const CTkMonitorFunctions& f = CTkMonitorFunctions::Instance();
    HMONITOR monitor = nullptr;
    if (f.IsMultiMonitor())
        monitor = f.pfnMonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    else if (rect.right > 0 && rect.bottom > 0 && OnPrimaryScreen(rect.left, rect.top))
        monitor = TK_PRIMARY_MONITOR;
    return GetWorkAreaOfMonitor(monitor);
}

CRect GetWorkAreaOfPoint(POINT point) {
    const CTkMonitorFunctions& f = CTkMonitorFunctions::Instance();
    HMONITOR monitor = nullptr;
    if (f.IsMultiMonitor())
        monitor = f.pfnMonitorFromPoint(point, MONITOR_DEFAULTTONULL);
    else if (OnPrimaryScreen(point.x, point.y))
        monitor = TK_PRIMARY_MONITOR;
    return GetWorkAreaOfMonitor(monitor);
}

CRect GetWorkAreaOfCursor() {
    POINT point = {};
    ::GetCursorPos(&point);
    return GetWorkAreaOfPoint(point);
}
