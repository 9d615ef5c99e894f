// For test programs that create the program's main window without caring for its inbox poll:
// a COM apartment on the main thread (the window creates the SDK's inbox service) and a
// stand-in for the shell's notification area (the window's icon calls succeed).
#include "alerts/TkNotifyIconWnd.h"

#include <gtest/gtest.h>
#include <objbase.h>

namespace {

class CMainWindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_initialised = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        m_savedShell = CTkNotifyIconWnd::s_pfnShellNotifyIcon;
        CTkNotifyIconWnd::s_pfnShellNotifyIcon = [](DWORD, PNOTIFYICONDATAA) -> BOOL { return TRUE; };
    }
    void TearDown() override {
        CTkNotifyIconWnd::s_pfnShellNotifyIcon = m_savedShell;
        if (m_initialised) ::CoUninitialize();
    }

private:
    bool m_initialised = false;
    CTkNotifyIconWnd::PFNSHELLNOTIFYICON m_savedShell = nullptr;
};

const ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new CMainWindowEnvironment);

}  // namespace
