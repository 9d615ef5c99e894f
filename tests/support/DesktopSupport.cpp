#include "DesktopSupport.h"

#include <string>

namespace {

bool WindowsCanBeCreated(DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += 100) {
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe) {
            ::DestroyWindow(probe);
            return true;
        }
        if (waited >= timeoutMs) return false;
        ::Sleep(100);
    }
}

bool UseDesktop(const std::wstring& name, DWORD timeoutMs) {
    HDESK desktop = ::CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop && ::SetThreadDesktop(desktop) && WindowsCanBeCreated(timeoutMs);
}

}  // namespace

bool TestUseOwnDesktop(const wchar_t* name) {
    if (UseDesktop(name, 20000)) return true;
    return UseDesktop(std::wstring(name) + L"-" + std::to_wstring(::GetCurrentProcessId()), 40000);
}
