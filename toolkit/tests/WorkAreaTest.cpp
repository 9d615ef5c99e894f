#include "TkTestSupport.h"
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

}  // namespace
