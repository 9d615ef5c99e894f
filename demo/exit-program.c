/* Sends the desktop program its exit command (File > Exit) and waits up to 20 s for it to end.
   Exit code 0 when the program has ended, 1 when no window of it was found or it stayed. */
#include <windows.h>
#include "program-process.h"
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

struct Search { DWORD pid; HWND found; };

static BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
    struct Search* s = (struct Search*)param;
    DWORD pid = 0;
    wchar_t cls[128] = {0};
    GetWindowThreadProcessId(hwnd, &pid);
    GetClassNameW(hwnd, cls, 128);
    /* The (hidden) main window: the program's unowned class-library window whose class has the
       frame's icon (the class name ends with the icon's handle: "Afx:instance:style:cursor:brush:icon");
       the notification icon's window has a plain class. */
    const wchar_t* icon = wcsrchr(cls, L':');
    if (pid == s->pid && wcsncmp(cls, L"Afx:", 4) == 0 && !GetWindow(hwnd, GW_OWNER) && icon &&
        wcstoull(icon + 1, NULL, 16) != 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

int main(void) {
    struct Search search = {ProgramProcess(), NULL};
    HANDLE process;
    if (!search.pid) { printf("the program is not running\n"); return 1; }
    EnumWindows(Visit, (LPARAM)&search);
    if (!search.found) { printf("the program's main window was not found\n"); return 1; }
    process = OpenProcess(SYNCHRONIZE, FALSE, search.pid);
    PostMessageW(search.found, WM_COMMAND, 32773 /* the exit command */, 0);
    if (process && WaitForSingleObject(process, 20000) == WAIT_OBJECT_0) return 0;
    printf("the program did not end\n");
    return 1;
}
