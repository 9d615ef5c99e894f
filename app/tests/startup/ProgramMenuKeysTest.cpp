// The menus of a send window from the keyboard, on the running program: started signed in
// against the stand-in (on the SDK's default address), asked for a send window through its
// automation object, clicked into the message text and given Alt+V, then T, as a keyboard sends
// them from this process.
#include "support/TestMessengerApp.h"
#include "support/ProgramProcess.h"

#include "resource.h"
#include "TarvockBrindlepost.h"

#include "DesktopSupport.h"

#include <atlbase.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// Runs a step of automation_helper (beside this program); its exit code.
DWORD RunHelper(const wchar_t* arguments) {
    CProgramProcess helper(ThisProgramDirectory() + L"\\automation_helper.exe", arguments);
    if (!helper.started) return 99;
    return helper.Exited(60000) ? helper.ExitCode() : 98;
}

struct CProgramKeysOutcome {
    bool started = false;
    bool mainWindow = false;
    bool sendAnswered = false;
    bool sendWindow = false;
    bool focusInText = false;
    bool menuOpened[2] = {false, false};
    bool toolbarToggled[2] = {false, false};
    bool menuClosed[2] = {false, false};
    int viewTop[3] = {0, 0, 0};  // at the start, after the first Alt+V, T, after the second
    bool exited = false;
};

// A popup of the program standing on the window (a menu opened from its menu bar).
bool IsPopupOver(HWND popup, HWND window) {
    if (popup == window || !::IsWindowVisible(popup) || !(::GetWindowLongW(popup, GWL_STYLE) & WS_POPUP)) return false;
    RECT bounds, rect;
    ::GetWindowRect(window, &bounds);
    ::GetWindowRect(popup, &rect);
    return rect.left >= bounds.left && rect.left < bounds.right && rect.top > bounds.top && rect.top < bounds.bottom;
}

int TopOf(HWND hwnd) {
    RECT rect = {};
    ::GetWindowRect(hwnd, &rect);
    return rect.top;
}

void RunProgramKeys(CProgramKeysOutcome& out, const CString& sendTitle) {
    CProgramProcess program(ThisProgramDirectory() + L"\\TarvockVelko.exe", L"/StartupGroup");
    out.started = program.started;
    if (!out.started) return;
    const HWND main =
        program.FindWindowWhere([](HWND hwnd, const wchar_t*) { return IsHiddenMainWindow(hwnd); }, 60000);
    out.mainWindow = main != nullptr;
    if (!main) return;

    // The main window is made after the program signed in and registered its class: the
    // automation object is the running program's.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        CComPtr<IApplication> application;
        VARIANT_BOOL opened = VARIANT_FALSE;
        if (SUCCEEDED(application.CoCreateInstance(CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER)))
            out.sendAnswered = SUCCEEDED(application->SendSMS(&opened)) && opened != VARIANT_FALSE;
    }
    ::CoUninitialize();
    const HWND frame = program.FindWindowWhere([&](HWND hwnd, const wchar_t*) {
        char text[256] = {};
        ::GetWindowTextA(hwnd, text, 256);
        return ::IsWindowVisible(hwnd) && sendTitle == text;
    }, 30000);
    out.sendWindow = frame != nullptr;
    const HWND view = frame ? ::GetDlgItem(frame, AFX_IDW_PANE_FIRST) : nullptr;
    const HWND text = view ? ::GetDlgItem(view, IDC_MESSAGE_BODY) : nullptr;
    if (text) {
        const DWORD thread = ::GetWindowThreadProcessId(frame, nullptr);
        auto focus = [&] {
            GUITHREADINFO info = {sizeof info};
            return ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
        };
        auto popupOpen = [&] {
            auto over = [&](HWND hwnd, const wchar_t*) { return IsPopupOver(hwnd, frame); };
            return program.FindWindowWhere(over, 0) != nullptr;
        };
        RECT box = {};
        ::GetWindowRect(text, &box);
        // The window comes to the front and a click puts the focus in the text, as a user does.
        auto clickIntoText = [&] {
            ::SetForegroundWindow(frame);
            PollUntil([&] { return ::GetForegroundWindow() == frame; }, 2000);
            return TestInputUntil([&] { TestSendClick({(box.left + box.right) / 2, (box.top + box.bottom) / 2}); },
                                  [&] { return PollUntil([&] { return focus() == text; }, 2000); });
        };
        out.focusInText = clickIntoText();
        out.viewTop[0] = TopOf(view);
        // Another test program may take the foreground meanwhile and the keys go astray (the menu
        // closes when its window loses the foreground): a round is tried again, three times at most.
        for (int round = 0; out.focusInText && round < 2; ++round) {
            const int before = TopOf(view);
            for (int attempt = 0; attempt < 3 && !out.toolbarToggled[round]; ++attempt) {
                if (attempt > 0 && !clickIntoText()) continue;
                TestPressKey('V', true);
                out.menuOpened[round] = PollUntil(popupOpen, 2000);
                if (!out.menuOpened[round]) continue;
                ::Sleep(300);  // the release of Alt is handled first
                TestPressKey('T');
                out.toolbarToggled[round] = PollUntil([&] { return TopOf(view) != before; }, 2000);
            }
            out.menuClosed[round] = PollUntil([&] { return !popupOpen(); }, 2000) && focus() == text;
            out.viewTop[round + 1] = TopOf(view);
        }
        // The window closes at once for the close command, without asking to send.
        ::PostMessageW(frame, WM_COMMAND, ID_FILE_CLOSE, 0);
    }
    ::PostMessageW(main, WM_COMMAND, ID_APP_EXIT_COMMAND, 0);
    out.exited = program.Exited(30000);
}

}  // namespace

// Alt+V, then T in the running program's send window hides its toolbar (the view moves up into its
// room); again, it shows it (the view is back where it was).
TEST(ProgramMenuKeys, AltVThenTInTheSendWindowsTextHidesAndShowsItsToolbar) {
    CSatelliteScope satellite;
    const CString sendTitle = LoadText(IDS_SEND_WINDOW);
    ASSERT_EQ(0u, RunHelper(L"store-credentials test test TEST01"));
    // The send window's bars start as the program lays them out by default.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarvock\\Tarvock Velko\\CommandBars");
    static CProgramKeysOutcome out;  // outlives a scene that does not end
    const bool ran = TestRunInputScene(L"TarvockVelkoProgramKeys", [sendTitle] {
        out = CProgramKeysOutcome();
        RunProgramKeys(out, sendTitle);
        return true;  // the program is not started again: each input is retried instead
    }, 240000);
    EXPECT_EQ(0u, RunHelper(L"clear-credentials"));
    ASSERT_TRUE(ran);
    ASSERT_TRUE(out.started);
    ASSERT_TRUE(out.mainWindow) << "the program did not sign in and make its main window";
    EXPECT_TRUE(out.sendAnswered) << "SendSMS";
    ASSERT_TRUE(out.sendWindow);
    ASSERT_TRUE(out.focusInText) << "a click into the message text gives it the focus";
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(out.menuOpened[round]) << "Alt+V opens View, round " << round;
        EXPECT_TRUE(out.toolbarToggled[round]) << "T " << (round ? "shows" : "hides") << " the toolbar";
        EXPECT_TRUE(out.menuClosed[round]) << "the menu closes and the text keeps the focus, round " << round;
    }
    EXPECT_LT(out.viewTop[1], out.viewTop[0]) << "the view moves up into the toolbar's room";
    EXPECT_EQ(out.viewTop[0], out.viewTop[2]) << "the view is back below the toolbar";
    EXPECT_TRUE(out.exited) << "the program ends for its exit command";
}
