// Layout and paint of a command bar of 40 buttons against the system's own toolbar control with
// the same 40 buttons, in the same Wine: the median time of one layout and paint of each and the
// ratio ours/system (target <= 1.5). It needs a display (TARVOCK_NEEDS_DISPLAY=1 and
// TARVOCK_DISPLAY).
// usage: bar_bench [COUNT]
#include "BenchSupport.h"

#include "afxwin.h"
#include "commandbars/TkCommandBar.h"
#include "painters/TkThemePainter.h"

#include <commctrl.h>

#include <cstdio>
#include <stdexcept>

namespace {

class CBenchApp : public CWinApp {
public:
    CBenchApp() : CWinApp("bar_bench") {}
};
CBenchApp theApp;

const int kButtons = 40;

class CBenchBar : public CTkCommandBar {
public:
    void Layout() {
        CClientDC dc(this);
        CRect client;
        GetClientRect(&client);
        m_pControls->LayoutRows(&dc, client.Width(), 0x4A, CRect(2, 2, 2, 2));
    }
};

// Paints the window now, through its own WM_PAINT.
void PaintNow(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
}

int Run(int count) {
    theApp.InitApplication();
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    CTkThemePainter::SelectTheme(TK_THEME_FLAT_LUNA);

    CWnd host;
    if (!host.CreateEx(0, nullptr, "bar_bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1200, 200, nullptr, nullptr))
        throw std::runtime_error("no host window");
    CBenchBar bar;
    bar.m_nPosition = TK_BAR_POSITION_TOP;
    if (!bar.CreateEx(0, nullptr, "bar", WS_CHILD | WS_VISIBLE, 0, 0, 1150, 60, host.GetSafeHwnd(), nullptr))
        throw std::runtime_error("no command bar");
    HWND toolbar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST |
                                     TBSTYLE_WRAPABLE | CCS_NORESIZE | CCS_NODIVIDER,
                                     0, 80, 1150, 60, host.GetSafeHwnd(), nullptr, nullptr, nullptr);
    if (!toolbar) throw std::runtime_error("no system toolbar");
    ::SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(toolbar, TB_SETIMAGELIST, 0, 0);
    for (int i = 0; i < kButtons; ++i) {
        char caption[16];
        std::snprintf(caption, sizeof caption, "Cmd %d", i + 1);
        auto* control = new CTkControlButton;
        control->m_strCaption = caption;
        control->m_bBeginGroup = i % 8 == 7;
        bar.GetControls()->Add(control, 1000 + i);
        std::wstring wide = CString(caption).Wide();
        TBBUTTON button = {I_IMAGENONE, 1000 + i, TBSTATE_ENABLED, (BYTE)(BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT)};
        button.iString = (INT_PTR)wide.c_str();
        ::SendMessageW(toolbar, TB_ADDBUTTONSW, 1, (LPARAM)&button);
        if (i % 8 == 7) {
            TBBUTTON separator = {0, 0, TBSTATE_ENABLED, BTNS_SEP};
            ::SendMessageW(toolbar, TB_ADDBUTTONSW, 1, (LPARAM)&separator);
        }
    }
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);

    std::vector<double> ours, system;
    for (int i = 0; i < count + 5; ++i) {
        double start = bench::Seconds();
        bar.Layout();
        PaintNow(bar.GetSafeHwnd());
        double middle = bench::Seconds();
        ::SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
        PaintNow(toolbar);
        double end = bench::Seconds();
        if (i < 5) continue;  // warm-up
        ours.push_back(middle - start);
        system.push_back(end - middle);
    }
    const double oursMedian = bench::Median(ours), systemMedian = bench::Median(system);
    std::printf("command bar of %d buttons, layout and paint: %.3f ms (median of %d)\n", kButtons, oursMedian * 1000, count);
    std::printf("system toolbar of %d buttons, layout and paint: %.3f ms\n", kButtons, systemMedian * 1000);
    std::printf("ratio ours/system: %.2f (target <= 1.5)\n", systemMedian > 0 ? oursMedian / systemMedian : 0.0);
    bar.DestroyWindow();
    host.DestroyWindow();
    CTkThemePainter::ReleaseCurrent();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, 200, "bar_bench [COUNT]", "bar_bench", Run);
}
