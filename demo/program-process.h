/* Finds the running desktop program's process (the demo's helper programs share it). */
#pragma once
#include <windows.h>
#include <tlhelp32.h>
#include <wchar.h>

static DWORD ProgramProcess(void) {
    DWORD found = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {sizeof entry};
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, L"TarvockVelko.exe") == 0) found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}
