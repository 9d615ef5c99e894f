#include "TkTestSupport.h"
#include "commandbars/TkResourceHandles.h"
#include "commandbars/TkWorkArea.h"

#include <gtest/gtest.h>

namespace {

CRect PrimaryWorkArea() {
    CRect area;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// Plays a system without the multiple-monitor functions for one scope.
class CNoMonitorFunctions {
public:
    CNoMonitorFunctions() : m_saved(CTkMonitorFunctions::Instance()) { CTkMonitorFunctions::Instance() = {}; }
    ~CNoMonitorFunctions() { CTkMonitorFunctions::Instance() = m_saved; }

private:
    CTkMonitorFunctions m_saved;
};

bool Equal(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

TEST(TkWorkArea, MonitorFunctionsAreFound) {
    EXPECT_TRUE(CTkMonitorFunctions::Instance().IsMultiMonitor());
}

TEST(TkWorkArea, NoMonitorGivesThePrimaryWorkArea) {
    CRect area = GetWorkAreaOfMonitor(nullptr);
    EXPECT_TRUE(Equal(PrimaryWorkArea(), area));
    EXPECT_FALSE(area.IsRectEmpty());
}

TEST(TkWorkArea, MonitorOfARectangleOnScreen) {
    HMONITOR monitor = ::MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetMonitorInfoW(monitor, &info));
    EXPECT_TRUE(Equal(info.rcWork, GetWorkAreaOfMonitor(monitor)));
    EXPECT_TRUE(Equal(info.rcWork, GetWorkAreaOfRect(CRect(100, 100, 200, 200))));
    EXPECT_TRUE(Equal(info.rcWork, GetWorkAreaOfPoint(POINT{5, 5})));
}

TEST(TkWorkArea, RectangleOutsideEveryMonitorFallsBackToThePrimary) {
    EXPECT_TRUE(Equal(PrimaryWorkArea(), GetWorkAreaOfRect(CRect(-5000, -5000, -4000, -4000))));
    EXPECT_TRUE(Equal(PrimaryWorkArea(), GetWorkAreaOfPoint(POINT{-5000, 20})));
}

TEST(TkWorkArea, WithoutMonitorFunctionsARectangleLeftOfTheScreenGetsThePrimary) {
    CNoMonitorFunctions none;
    EXPECT_FALSE(CTkMonitorFunctions::Instance().IsMultiMonitor());
    EXPECT_TRUE(Equal(PrimaryWorkArea(), GetWorkAreaOfRect(CRect(-300, 10, -100, 50))));
    EXPECT_TRUE(Equal(PrimaryWorkArea(), GetWorkAreaOfRect(CRect(10, 10, 50, 50))));
    EXPECT_TRUE(Equal(PrimaryWorkArea(), GetWorkAreaOfCursor()));
}

TEST(TkWorkArea, CursorWorkArea) {
    ::SetCursorPos(20, 20);
    EXPECT_TRUE(Equal(PrimaryWorkArea(), GetWorkAreaOfCursor()));
}

TEST(TkWorkArea, ResourceHandlesAreKept) {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    SetToolkitResourceHandles(module, reinterpret_cast<HINSTANCE>(0x1000));
    EXPECT_EQ(module, GetToolkitInstanceHandle());
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(0x1000), GetToolkitResourceHandle());
    SetToolkitResourceHandles(module, module);
    EXPECT_EQ(module, GetToolkitResourceHandle());
}

// Two monitors side by side through the seam: the primary (0, 0, 1280, 1024) with a taskbar of
// 40 pixels at the bottom, and a second one to its right (1280, 0, 2304, 768) with a taskbar of
// 30 pixels at its top.
const HMONITOR kFirst = reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x5101));
const HMONITOR kSecond = reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x5102));
const RECT kFirstScreen = {0, 0, 1280, 1024}, kFirstWork = {0, 0, 1280, 984};
const RECT kSecondScreen = {1280, 0, 2304, 768}, kSecondWork = {1280, 30, 2304, 768};
DWORD g_lastFlags = 0;
DWORD g_lastInfoSize = 0;
bool g_infoFails = false;

HMONITOR WINAPI FakeMonitorFromPoint(POINT point, DWORD flags) {
    g_lastFlags = flags;
    if (::PtInRect(&kFirstScreen, point)) return kFirst;
    if (::PtInRect(&kSecondScreen, point)) return kSecond;
    return flags == MONITOR_DEFAULTTONULL ? nullptr : kFirst;
}

HMONITOR WINAPI FakeMonitorFromRect(LPCRECT rect, DWORD flags) {
    g_lastFlags = flags;
    RECT first = {}, second = {};
    ::IntersectRect(&first, rect, &kFirstScreen);
    ::IntersectRect(&second, rect, &kSecondScreen);
    const LONG a = (first.right - first.left) * (first.bottom - first.top);
    const LONG b = (second.right - second.left) * (second.bottom - second.top);
    if (a == 0 && b == 0) return flags == MONITOR_DEFAULTTONULL ? nullptr : kFirst;
    return b > a ? kSecond : kFirst;
}

BOOL WINAPI FakeGetMonitorInfo(HMONITOR monitor, LPMONITORINFO info) {
    g_lastInfoSize = info->cbSize;
    if (g_infoFails || info->cbSize < sizeof(MONITORINFO)) return FALSE;
    if (monitor == kFirst) {
        info->rcMonitor = kFirstScreen;
        info->rcWork = kFirstWork;
        info->dwFlags = MONITORINFOF_PRIMARY;
        return TRUE;
    }
    if (monitor == kSecond) {
        info->rcMonitor = kSecondScreen;
        info->rcWork = kSecondWork;
        info->dwFlags = 0;
        return TRUE;
    }
    return FALSE;
}

class CTwoMonitors {
public:
    CTwoMonitors() : m_saved(CTkMonitorFunctions::Instance()) {
        CTkMonitorFunctions fake;
        fake.pfnMonitorFromPoint = FakeMonitorFromPoint;
        fake.pfnMonitorFromRect = FakeMonitorFromRect;
        fake.pfnGetMonitorInfo = FakeGetMonitorInfo;
        CTkMonitorFunctions::Instance() = fake;
        g_infoFails = false;
    }
    ~CTwoMonitors() {
        CTkMonitorFunctions::Instance() = m_saved;
        g_infoFails = false;
    }

private:
    CTkMonitorFunctions m_saved;
};

TEST(TkWorkArea, SeveralMonitorsThroughTheSeam) {
    CTwoMonitors monitors;
    EXPECT_TRUE(CTkMonitorFunctions::Instance().IsMultiMonitor());
    EXPECT_TRUE(Equal(kFirstWork, GetWorkAreaOfMonitor(kFirst)));
    EXPECT_TRUE(Equal(kSecondWork, GetWorkAreaOfMonitor(kSecond)));
    // The record handed to the monitor function has the size of this build's structure.
    EXPECT_EQ((DWORD)sizeof(MONITORINFO), g_lastInfoSize);
    // Rectangles: the monitor that holds the larger part.
    EXPECT_TRUE(Equal(kSecondWork, GetWorkAreaOfRect(CRect(1400, 100, 1600, 300))));
    EXPECT_EQ((DWORD)MONITOR_DEFAULTTONULL, g_lastFlags);
    EXPECT_TRUE(Equal(kFirstWork, GetWorkAreaOfRect(CRect(1200, 100, 1300, 300))));
    EXPECT_TRUE(Equal(kSecondWork, GetWorkAreaOfRect(CRect(1250, 100, 1400, 300))));
    // Points.
    EXPECT_TRUE(Equal(kSecondWork, GetWorkAreaOfPoint(POINT{2000, 700})));
    EXPECT_TRUE(Equal(kFirstWork, GetWorkAreaOfPoint(POINT{1279, 1000})));
    // Off every monitor (below the second one): the primary display's work area.
    EXPECT_TRUE(Equal(PrimaryWorkArea(), GetWorkAreaOfPoint(POINT{2000, 900})));
    EXPECT_TRUE(Equal(PrimaryWorkArea(), GetWorkAreaOfRect(CRect(-500, -500, -100, -100))));
    // The cursor is asked of the same functions.
    ::SetCursorPos(30, 30);
    EXPECT_TRUE(Equal(kFirstWork, GetWorkAreaOfCursor()));
    // A monitor that cannot be asked gives the primary display's work area.
    g_infoFails = true;
    EXPECT_TRUE(Equal(PrimaryWorkArea(), GetWorkAreaOfPoint(POINT{2000, 700})));
}

TEST(TkWorkArea, TheOneMonitorOfTheDisplay) {
    // Wine under the X display has exactly one monitor; every place on it has its work area.
    EXPECT_EQ(1, ::GetSystemMetrics(SM_CMONITORS));
    HMONITOR monitor = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetMonitorInfoW(monitor, &info));
    EXPECT_TRUE(info.dwFlags & MONITORINFOF_PRIMARY);
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_TRUE(Equal(info.rcWork, GetWorkAreaOfPoint(POINT{cx - 1, cy - 1})));
    EXPECT_TRUE(Equal(info.rcWork, GetWorkAreaOfRect(CRect(cx - 50, cy - 50, cx + 50, cy + 50))));
    EXPECT_TRUE(Equal(PrimaryWorkArea(), info.rcWork));
}

}  // namespace
