/* Drives the running desktop program's windows the way a user would, for the demo.
     drive-windows type RECIPIENTS BODY   types the recipients and the text into the send window
     drive-windows send                   presses Send; waits for the program's answer (a message
                                          box) and prints it
     drive-windows confirm                presses OK in the program's message box
     drive-windows click-alert            clicks the text of the desktop alert and waits for the
                                          read window; prints what it shows
     drive-windows customize              opens the send window's customise sheet (command 35001,
                                          the bars' Customize item), places it below the window's
                                          bars and prints its page count
     drive-windows close-customize        closes the customise sheet with its Close button
   Exit code 0 when it worked, 1 otherwise (with the reason on stdout). */
#include <windows.h>
#include <commctrl.h>
#include "program-process.h"
#include <stdio.h>
#include <string.h>
#include <wchar.h>

enum {
    kPane = 0xE900,          /* the frame's view */
    kOriginator = 1022,
    kRecipients = 1023,      /* the read window's received date has the same id */
    kBody = 1025,
    kSendCommand = 32771,
    kCustomizeCommand = 35001,
};

static const wchar_t kSendTitle[] = L"Send a Text Message";
static const wchar_t kReadTitle[] = L"Read a Text Message";
static const wchar_t kCustomizeTitle[] = L"Customize";

/* A visible top-level window of the program: with the title, of the class, or (alert) topmost. */
struct Search {
    DWORD pid;
    const wchar_t* title;
    const wchar_t* className;
    BOOL topmost;
    HWND found;
};

static BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
    struct Search* s = (struct Search*)param;
    DWORD pid = 0;
    wchar_t text[256] = {0};
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
    if (s->title) {
        GetWindowTextW(hwnd, text, 256);
        if (wcscmp(text, s->title) != 0) return TRUE;
    }
    if (s->className) {
        GetClassNameW(hwnd, text, 256);
        if (wcscmp(text, s->className) != 0) return TRUE;
    }
    if (s->topmost && !(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) return TRUE;
    s->found = hwnd;
    return FALSE;
}

/* Waits up to 20 s for the window. */
static HWND WaitForWindow(const wchar_t* title, const wchar_t* className, BOOL topmost) {
    for (int i = 0; i < 200; ++i) {
        struct Search search = {ProgramProcess(), title, className, topmost, NULL};
        if (search.pid) EnumWindows(Visit, (LPARAM)&search);
        if (search.found) return search.found;
        Sleep(100);
    }
    return NULL;
}

/* Moves the window down and to the right by the offset. */
static void MoveBy(HWND window, int offset) {
    RECT rect;
    GetWindowRect(window, &rect);
    SetWindowPos(window, NULL, rect.left + offset, rect.top + offset, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static void Type(HWND edit, const char* text) {
    for (const char* p = text; *p; ++p) SendMessageW(edit, WM_CHAR, (WPARAM)(unsigned char)*p, 1);
}

static void PrintText(const char* label, HWND control) {
    wchar_t text[1024] = {0};
    SendMessageW(control, WM_GETTEXT, 1024, (LPARAM)text);
    printf("  %s: %ls\n", label, text);
}

static HWND SendView(HWND* frame) {
    *frame = WaitForWindow(kSendTitle, NULL, FALSE);
    return *frame ? GetDlgItem(*frame, kPane) : NULL;
}

static int TypeMessage(const char* recipients, const char* body) {
    HWND frame, view = SendView(&frame);
    if (!view) { printf("no send window\n"); return 1; }
    Type(GetDlgItem(view, kRecipients), recipients);
    Type(GetDlgItem(view, kBody), body);
    PrintText("From", GetDlgItem(view, kOriginator));
    PrintText("To", GetDlgItem(view, kRecipients));
    PrintText("Text", GetDlgItem(view, kBody));
    return 0;
}

static int PressSend(void) {
    HWND frame, view = SendView(&frame), box;
    if (!view) { printf("no send window\n"); return 1; }
    PostMessageW(frame, WM_COMMAND, kSendCommand, 0);  /* the Send command of the menu and toolbar */
    box = WaitForWindow(NULL, L"#32770", FALSE);
    if (!box) { printf("the program did not answer\n"); return 1; }
    PrintText("The program says", GetDlgItem(box, 0xFFFF));
    return 0;
}

static int Confirm(void) {
    HWND box = WaitForWindow(NULL, L"#32770", FALSE);
    if (!box) { printf("no message box\n"); return 1; }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

static int ClickAlert(void) {
    HWND alert = WaitForWindow(NULL, NULL, TRUE);
    HWND frame, view;
    LPARAM at = MAKELPARAM(100, 60); /* inside the message text */
    if (!alert) { printf("no desktop alert\n"); return 1; }
    PostMessageW(alert, WM_MOUSEMOVE, 0, at);
    PostMessageW(alert, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(alert, WM_LBUTTONUP, 0, at);
    frame = WaitForWindow(kReadTitle, NULL, FALSE);
    view = frame ? GetDlgItem(frame, kPane) : NULL;
    if (!view) { printf("no read window\n"); return 1; }
    Sleep(300);
    MoveBy(frame, 60);  /* beside the send window, so that both show */
    Sleep(500);
    PrintText("From", GetDlgItem(view, kOriginator));
    PrintText("Received", GetDlgItem(view, kRecipients));
    PrintText("Text", GetDlgItem(view, kBody));
    return 0;
}

static int OpenCustomizeSheet(void) {
    HWND frame, view = SendView(&frame), sheet, tabs;
    RECT frameRect, viewRect;
    if (!view) { printf("no send window\n"); return 1; }
    /* The sheet runs modally inside the program: the command is posted, not sent. */
    PostMessageW(frame, WM_COMMAND, kCustomizeCommand, 0);
    sheet = WaitForWindow(kCustomizeTitle, L"#32770", FALSE);
    if (!sheet) { printf("the customise sheet did not open\n"); return 1; }
    /* Over the send window's view, below its menu bar and toolbar, so that the picture shows both. */
    GetWindowRect(frame, &frameRect);
    GetWindowRect(view, &viewRect);
    SetWindowPos(sheet, NULL, frameRect.left + 60, viewRect.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(500);
    tabs = FindWindowExW(sheet, NULL, L"SysTabControl32", NULL);
    printf("  The customise sheet is open with %d pages\n", tabs ? (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) : 0);
    return 0;
}

static int CloseCustomizeSheet(void) {
    HWND sheet = WaitForWindow(kCustomizeTitle, L"#32770", FALSE);
    if (!sheet) { printf("no customise sheet\n"); return 1; }
    PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 100 && IsWindow(sheet) && IsWindowVisible(sheet); ++i) Sleep(100);
    if (IsWindow(sheet) && IsWindowVisible(sheet)) { printf("the customise sheet stayed open\n"); return 1; }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "type") == 0) return TypeMessage(argv[2], argv[3]);
    if (argc == 2 && strcmp(argv[1], "send") == 0) return PressSend();
    if (argc == 2 && strcmp(argv[1], "confirm") == 0) return Confirm();
    if (argc == 2 && strcmp(argv[1], "click-alert") == 0) return ClickAlert();
    if (argc == 2 && strcmp(argv[1], "customize") == 0) return OpenCustomizeSheet();
    if (argc == 2 && strcmp(argv[1], "close-customize") == 0) return CloseCustomizeSheet();
    printf("usage: drive-windows type RECIPIENTS BODY | send | confirm | click-alert | customize | close-customize\n");
    return 2;
}
