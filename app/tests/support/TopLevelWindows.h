// Finds a top-level window by its process and its class name, for the tests that run the
// program in processes of their own.
#pragma once

#include <windows.h>

#include <cwchar>

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
