// Finds a top-level window by its process and its class name, and waits for what another
// process does, for the tests that run the program in processes of their own.
#pragma once

#include <windows.h>

#include <cwchar>
#include <functional>
#include <string>

// Polls the condition every 50 ms, without pumping (what it looks at is another
// process's), until it holds or the time is up; returns the condition.
inline bool PollUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += 50) {
        if (condition()) return true;
        if (waited >= timeoutMs) return false;
        ::Sleep(50);
    }
}

// True when the class name begins with the prefix.
inline bool ClassNameStartsWith(const wchar_t* className, const wchar_t* prefix) {
    return wcsncmp(className, prefix, wcslen(prefix)) == 0;
}

// The first top-level window that the filter accepts, or null; one pass, no waiting. The filter
// is called as accept(window, processId, className).
template <class Accept>
HWND FindTopLevelWindow(Accept accept) {
    struct Search {
        Accept& accept;
        HWND found;
    } search = {accept, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            wchar_t cls[128] = {};
            ::GetClassNameW(hwnd, cls, 128);
            if (!s->accept(hwnd, pid, static_cast<const wchar_t*>(cls))) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        (LPARAM)&search);
    return search.found;
}

// The program's hidden main window. The class library names a class after its module, style,
// cursor, brush and icon ("Afx:module:style:cursor:brush:icon"); only the main window's class has
// all three of cursor, brush and icon (the frames have an icon only, the notification icon's
// hidden window none), and unlike the frames it is not visible. The platform does not give
// another process's class icon, so the name is read.
inline bool IsHiddenMainWindow(HWND hwnd) {
    wchar_t cls[128] = {};
    ::GetClassNameW(hwnd, cls, 128);
    int field = 0, filled = 0;
    for (const wchar_t* part = cls; part; part = wcschr(part, L':')) {
        if (*part == L':') ++part;
        if (field++ >= 3 && wcsspn(part, L"0") != wcscspn(part, L":")) ++filled;
    }
    return !::IsWindowVisible(hwnd) && field == 6 && filled == 3;
}

// The folder of the running program: the programs under test are built beside the tests.
inline std::wstring ThisProgramDirectory() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path);
    return full.substr(0, full.find_last_of(L'\\'));
}
