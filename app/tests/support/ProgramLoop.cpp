#include "support/ProgramLoop.h"

#include "support/TestMessengerApp.h"

#include "DesktopSupport.h"

#include <cstring>
#include <string>

bool PumpAsProgramUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    return TestPumpUntil(condition, timeoutMs, [](MSG* msg) { return theTestApp.PreTranslateMessage(msg); });
}

void SettleAsProgram() {
    PumpAsProgramUntil([] { return false; }, 300);
}

bool InputAsProgramUntil(const std::function<void()>& input, const std::function<bool()>& condition) {
    return TestInputUntil(input, [&] { return PumpAsProgramUntil(condition, 1500); });
}

bool BringToFrontWithFocus(HWND window, HWND focus) {
    // Another test program on the display may take the foreground at any moment: the window must
    // still hold it once its activation is handled.
    auto ready = [&] {
        return ::GetForegroundWindow() == window && ::GetActiveWindow() == window && ::GetFocus() == focus;
    };
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (!ready()) {
            ::SetForegroundWindow(window);
            ::SetActiveWindow(window);
            ::SetFocus(focus);
            if (!PumpAsProgramUntil(ready, 100)) continue;
        }
        SettleAsProgram();
        if (ready()) return true;
    }
    return false;
}

CLayoutProfileScope::CLayoutProfileScope(const char* profile)
    : m_profile(profile), m_saved(theTestApp.m_pszProfileName) {
    theTestApp.m_pszProfileName = m_profile;
    Clear(m_profile);
}

CLayoutProfileScope::~CLayoutProfileScope() {
    Clear(m_profile);
    theTestApp.m_pszProfileName = m_saved;
}

void CLayoutProfileScope::Clear(const char* profile) {
    const std::wstring key = L"Software\\TarvockTests\\" + std::wstring(profile, profile + strlen(profile));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}
