#include "DesktopSupport.h"

#include <cstdio>
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

}  // namespace

bool TestUseDesktop(const wchar_t* name, DWORD timeoutMs) {
    HDESK desktop = ::CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop && ::SetThreadDesktop(desktop) && WindowsCanBeCreated(timeoutMs);
}

bool TestUseOwnDesktop(const wchar_t* name) {
    // A desktop that is late says so on the test's output, with how long it took.
    const DWORD start = ::GetTickCount();
    if (TestUseDesktop(name, 20000)) return true;
    std::fprintf(stderr, "desktop %ls: no window could be created in %lu ms (error %lu); trying one of this process's own\n",
                 name, ::GetTickCount() - start, ::GetLastError());
    const std::wstring own = std::wstring(name) + L"-" + std::to_wstring(::GetCurrentProcessId());
    const bool ready = TestUseDesktop(own.c_str(), 40000);
    std::fprintf(stderr, "desktop %ls: %s after %lu ms (error %lu)\n", own.c_str(), ready ? "ready" : "not ready",
                 ::GetTickCount() - start, ::GetLastError());
    return ready;
}
