// One of the build's programs in a process of its own, for the tests that run the real program:
// started on the calling thread's desktop, its top-level windows found, and ended when it
// outlives its test.
#pragma once

#include "support/TopLevelWindows.h"

#include <windows.h>

#include <functional>
#include <string>

class CProgramProcess {
public:
    CProgramProcess(const std::wstring& exe, const wchar_t* args) {
        std::wstring line = L"\"" + exe + L"\" " + args;
        wchar_t desktop[256] = {};
        ::GetUserObjectInformationW(::GetThreadDesktop(::GetCurrentThreadId()), UOI_NAME, desktop, sizeof desktop,
                                    nullptr);
        STARTUPINFOW si = {sizeof si};
        si.lpDesktop = desktop;
        started =
            ::CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi) != FALSE;
    }
    ~CProgramProcess() {
        if (!started) return;
        if (!Exited(0)) ::TerminateProcess(m_pi.hProcess, 99);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }
    CProgramProcess(const CProgramProcess&) = delete;
    CProgramProcess& operator=(const CProgramProcess&) = delete;

    // A top-level window of the process that the filter accepts (asked with the window and its
    // class name), waiting for one at most the time given; none once the process has ended.
    HWND FindWindowWhere(const std::function<bool(HWND, const wchar_t*)>& accept, DWORD timeoutMs) {
        HWND found = nullptr;
        PollUntil([&] {
            found = FindTopLevelWindow([&](HWND hwnd, DWORD pid, const wchar_t* cls) {
                return pid == m_pi.dwProcessId && accept(hwnd, cls);
            });
            return found || Exited(0);
        }, timeoutMs);
        return found;
    }
    // A top-level window of the process whose class begins with the prefix.
    HWND FindWindowOf(const wchar_t* classPrefix, DWORD timeoutMs) {
        auto named = [&](HWND, const wchar_t* cls) { return ClassNameStartsWith(cls, classPrefix); };
        return FindWindowWhere(named, timeoutMs);
    }
    bool Exited(DWORD timeoutMs) { return ::WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() {
        DWORD code = 0;
        ::GetExitCodeProcess(m_pi.hProcess, &code);
        return code;
    }
    bool started = false;

private:
    PROCESS_INFORMATION m_pi = {};
};
