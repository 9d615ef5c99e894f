// Opening a popup menu of 20 commands until it is painted: our popup bar against the system's own
// TrackPopupMenu with the same 20 items, in the same Wine: the median time of each and the ratio
// ours/system (target <= 2). The system's menu counts as painted when its loop first goes idle
// (WM_ENTERIDLE to the owner), which it does once the menu window has been shown and painted; ours
// when PopupAt has returned and the thread's queue holds nothing more to dispatch. It needs a
// display (TARVOCK_NEEDS_DISPLAY=1 and TARVOCK_DISPLAY).
// usage: popup_bench [COUNT]
#include "BenchSupport.h"

#include "afxwin.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkPopupBar.h"
#include "painters/TkThemePainter.h"

#include <cstdio>
#include <stdexcept>

namespace {

class CBenchApp : public CWinApp {
public:
    CBenchApp() : CWinApp("popup_bench") {}
};
CBenchApp theApp;

const int kItems = 20;
const UINT_PTR kSafetyTimer = 1;

// The owner of the system's menu: ends the menu the first time its loop goes idle.
class CMenuOwner : public CWnd {
public:
    double painted = 0;
    bool timedOut = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && painted == 0) {
            painted = bench::Seconds();
            ::EndMenu();
            return 0;
        }
        if (message == WM_TIMER && wParam == kSafetyTimer) {
            KillTimer(kSafetyTimer);
            timedOut = true;
            ::EndMenu();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

int Run(int count) {
    theApp.InitApplication();
    CTkThemePainter::SelectTheme(TK_THEME_FLAT_LUNA);

    CMenuOwner owner;
    if (!owner.CreateEx(0, nullptr, "popup_bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr))
        throw std::runtime_error("no owner window");
    owner.SetForegroundWindow();

    HMENU menu = ::CreatePopupMenu();
    CTkCommandBars manager;
    manager.AttachFrame(&owner);
    manager.GetCommandBarsOptions()->m_nAnimationType = TK_MENU_ANIMATION_NONE;  // the system's menu does not animate here
    CTkPopupBar* popup = CTkPopupBar::CreatePopupBar(&manager);
    popup->m_bShadow = 0;  // nor does it cast a shadow
    for (int i = 0; i < kItems; ++i) {
        char caption[32];
        std::snprintf(caption, sizeof caption, "Command %d", i + 1);
        ::AppendMenuA(menu, MF_STRING, 1000 + i, caption);
        auto* control = new CTkControlButton;
        control->m_strCaption = caption;
        popup->GetControls()->Add(control, 1000 + i);
    }
    Pump();

    std::vector<double> ours, system;
    for (int i = 0; i < count + 5; ++i) {
        const double start = bench::Seconds();
        if (!popup->PopupAt(200, 100, 0, CRect())) throw std::runtime_error("the popup bar did not open");
        Pump();
        const double oursEnd = bench::Seconds();
        popup->SetTrackingMode(TK_TRACKING_NONE, true, false);
        Pump();

        owner.painted = 0;
        owner.SetTimer(kSafetyTimer, 5000);
        const double systemStart = bench::Seconds();
        ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, 200, 100, 0,
                         owner.GetSafeHwnd(), nullptr);
        owner.KillTimer(kSafetyTimer);
        if (owner.timedOut || owner.painted == 0) throw std::runtime_error("the system's menu never went idle");
        Pump();
        if (i < 5) continue;  // warm-up
        ours.push_back(oursEnd - start);
        system.push_back(owner.painted - systemStart);
    }
    const double oursMedian = bench::Median(ours), systemMedian = bench::Median(system);
    std::printf("popup bar of %d commands, open to painted: %.3f ms (median of %d)\n", kItems, oursMedian * 1000, count);
    std::printf("system TrackPopupMenu of %d items, open to painted: %.3f ms\n", kItems, systemMedian * 1000);
    std::printf("ratio ours/system: %.2f (target <= 2)\n", systemMedian > 0 ? oursMedian / systemMedian : 0.0);
    popup->DestroyWindow();
    popup->InternalRelease();
    ::DestroyMenu(menu);
    owner.DestroyWindow();
    CTkThemePainter::ReleaseCurrent();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, 100, "popup_bench [COUNT]", "popup_bench", Run);
}
