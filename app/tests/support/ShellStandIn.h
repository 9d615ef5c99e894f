// Stands in for the shell's notification area while it lives: the notification icon's calls
// succeed without a shell.
#pragma once

#include "alerts/TkNotifyIconWnd.h"

class CShellStandIn {
public:
    CShellStandIn() : m_saved(CTkNotifyIconWnd::s_pfnShellNotifyIcon) {
        CTkNotifyIconWnd::s_pfnShellNotifyIcon = [](DWORD, PNOTIFYICONDATAA) -> BOOL { return TRUE; };
    }
    ~CShellStandIn() { CTkNotifyIconWnd::s_pfnShellNotifyIcon = m_saved; }
    CShellStandIn(const CShellStandIn&) = delete;
    CShellStandIn& operator=(const CShellStandIn&) = delete;

private:
    CTkNotifyIconWnd::PFNSHELLNOTIFYICON m_saved;
};
