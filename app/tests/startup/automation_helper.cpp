// What a script test cannot do from inside a blocked automation call: registers the program
// and checks its class's registry entries, dismisses the running program's sign-in dialog,
// asks it to exit and reads the message box it answers with, and waits for it to end.
//   automation_helper register                 (runs "TarvockVelko.exe /RegServer" from beside
//                                              the helper, checks HKCR)
//   automation_helper cancel-sign-in MS        (cancels the program's first dialog within MS)
//   automation_helper exit-refused             (exit command; expects string 113, program stays)
//   automation_helper wait-exit MS             (the program ends within MS, else it is ended)
//   automation_helper record-url LOG URL       (stands in for the browser: appends URL to LOG)
//   automation_helper second-start             (a second copy reaches the running one and ends
//                                              without a message box)
//   automation_helper wait-lines LOG N MS      (LOG holds N lines within MS)
//   automation_helper clear-credentials        (removes the profile's "Login" values)
//   automation_helper store-credentials USER PASSWORD ACCOUNT
//                                              (the profile's "Login" values, password protected
//                                              as the program stores it)
// Exit code 0 when the step did what was expected.
#include <windows.h>
#include <tlhelp32.h>
#include <wincrypt.h>

#include "support/TopLevelWindows.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <set>
#include <string>

namespace {

const wchar_t kProgram[] = L"TarvockVelko.exe";

std::set<DWORD> ProgramProcesses() {
    std::set<DWORD> ids;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W entry = {sizeof entry};
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, kProgram) == 0) ids.insert(entry.th32ProcessID);
    ::CloseHandle(snapshot);
    return ids;
}

// A top-level window of the program whose class begins with the prefix and that the filter,
// when given, accepts.
HWND FindProgramWindow(const wchar_t* classPrefix, DWORD timeoutMs, bool (*accept)(HWND, void*) = nullptr,
                       void* context = nullptr) {
    HWND found = nullptr;
    PollUntil([&] {
        const std::set<DWORD> ids = ProgramProcesses();
        found = FindTopLevelWindow([&](HWND hwnd, DWORD pid, const wchar_t* cls) {
            return ids.count(pid) && ClassNameStartsWith(cls, classPrefix) && (!accept || accept(hwnd, context));
        });
        return found != nullptr;
    }, timeoutMs);
    return found;
}

bool IsHiddenMainWindow(HWND hwnd, void*) {
    return ::IsHiddenMainWindow(hwnd);
}

// Prints what went wrong and appends it to automation_helper.log beside the helper, where the
// script tests read it into their failure message.
void Report(const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::fputs(text, stdout);
    if (FILE* file = _wfopen((ThisProgramDirectory() + L"\\automation_helper.log").c_str(), L"a")) {
        std::fputs(text, file);
        std::fclose(file);
    }
}

std::wstring RegistryDefault(const std::wstring& key) {
    wchar_t value[1024] = {};
    LONG size = sizeof value;
    if (::RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return L"";
    return value;
}

int Register() {
    const std::wstring exe = ThisProgramDirectory() + L"\\" + kProgram;
    const wchar_t* program = exe.c_str();
    std::wstring line = L"\"" + exe + L"\" /RegServer";
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(program, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        Report("cannot start the program\n");
        return 1;
    }
    DWORD wait = ::WaitForSingleObject(pi.hProcess, 60000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    if (wait != WAIT_OBJECT_0) {
        Report("the program did not end after /RegServer\n");
        return 1;
    }
    const std::wstring clsid = L"{5AB15002-97A0-4B90-BBE3-D60AF78FB868}";
    int failures = 0;
    auto expect = [&](const std::wstring& key, const std::wstring& expected) {
        std::wstring actual = RegistryDefault(key);
        if (_wcsicmp(actual.c_str(), expected.c_str()) != 0) {
            Report("HKCR\\%ls: expected [%ls] got [%ls]\n", key.c_str(), expected.c_str(), actual.c_str());
            ++failures;
        }
    };
    expect(L"TarvockBrindlepost.Application\\CLSID", clsid);
    expect(L"CLSID\\" + clsid + L"\\ProgID", L"TarvockBrindlepost.Application");
    expect(L"CLSID\\" + clsid + L"\\LocalServer32", program);
    expect(L"CLSID\\" + clsid + L"\\TypeLib", L"{CB43E667-FD7C-450A-BE84-F5442084D0B6}");
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, L"TypeLib\\{CB43E667-FD7C-450A-BE84-F5442084D0B6}\\1.0", 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        Report("the type library is not registered\n");
        ++failures;
    } else {
        ::RegCloseKey(key);
    }
    return failures ? 1 : 0;
}

int CancelSignIn(DWORD timeoutMs) {
    HWND dialog = FindProgramWindow(L"#32770", timeoutMs);
    if (!dialog) {
        Report("no dialog\n");
        return 1;
    }
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

// Whether a dialog is a message box (its text is the static 0xFFFF) showing the text.
bool ShowsText(HWND hwnd, void* expected) {
    wchar_t text[1024] = {};
    return ::GetDlgItemTextW(hwnd, 0xFFFF, text, 1024) > 0 && wcscmp(text, static_cast<const wchar_t*>(expected)) == 0;
}

int ExitRefused() {
    wchar_t expected[1024] = {};
    HMODULE satellite =
        ::LoadLibraryExW((ThisProgramDirectory() + L"\\Velko_en.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (satellite) ::LoadStringW(satellite, 113, expected, 1024);
    if (!expected[0]) {
        Report("string 113 is not in the satellite library\n");
        return 1;
    }
    HWND main = FindProgramWindow(L"Afx:", 20000, IsHiddenMainWindow);
    if (!main) {
        Report("no main window\n");
        return 1;
    }
    ::PostMessageW(main, WM_COMMAND, 32773, 0);
    // Other dialogs of the program (its start page) may open meanwhile: the box is the one that
    // shows the refusal.
    HWND box = FindProgramWindow(L"#32770", 20000, ShowsText, expected);
    if (!box) {
        Report("no message box showing [%ls]\n", expected);
        return 1;
    }
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ::Sleep(1000);
    if (!::IsWindow(main)) {
        Report("the main window is gone after the refusal\n");
        return 1;
    }
    return 0;
}

int WaitExit(DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 100) {
        if (ProgramProcesses().empty()) return 0;
        ::Sleep(100);
    }
    for (DWORD id : ProgramProcesses()) {
        HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process) continue;
        ::TerminateProcess(process, 99);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
    }
    Report("the program did not end; it was ended\n");
    return 1;
}

int RecordUrl(const wchar_t* log, const wchar_t* url) {
    FILE* file = _wfopen(log, L"a");
    if (!file) return 3;
    std::fprintf(file, "%ls\n", url);
    std::fclose(file);
    return 0;
}

int SecondStart() {
    const std::wstring exe = ThisProgramDirectory() + L"\\" + kProgram;
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 1;
    HWND box = nullptr;
    bool exited = false;
    for (DWORD waited = 0; waited <= 30000 && !exited; waited += 50) {
        exited = ::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0;
        box = FindTopLevelWindow(
            [&](HWND, DWORD pid, const wchar_t* cls) { return pid == pi.dwProcessId && wcscmp(cls, L"#32770") == 0; });
        if (box) break;
    }
    int result = 0;
    if (box) {
        wchar_t text[1024] = {};
        ::Sleep(500);
        ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
        Report("the second copy showed a message box: %ls\n", text);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        exited = ::WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
        result = 1;
    }
    if (!exited) {
        Report("the second copy did not end\n");
        ::TerminateProcess(pi.hProcess, 99);
        result = 1;
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return result;
}

int WaitLines(const wchar_t* log, int count, DWORD timeoutMs) {
    const bool arrived = PollUntil([&] {
        int lines = 0;
        if (FILE* file = _wfopen(log, L"r")) {
            for (int c; (c = std::fgetc(file)) != EOF;)
                if (c == '\n') ++lines;
            std::fclose(file);
        }
        return lines >= count;
    }, timeoutMs);
    return arrived ? 0 : 1;
}

int StoreCredentials(const wchar_t* user, const wchar_t* password, const wchar_t* account) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tarvock\\Tarvock Velko\\Login", 0, nullptr, 0, KEY_WRITE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 1;
    auto text = [&](const wchar_t* name, const wchar_t* value) {
        return ::RegSetValueExW(key, name, 0, REG_SZ, (const BYTE*)value, (DWORD)((wcslen(value) + 1) * 2)) ==
               ERROR_SUCCESS;
    };
    char ansi[256] = {};
    ::WideCharToMultiByte(CP_ACP, 0, password, -1, ansi, sizeof ansi, nullptr, nullptr);
    DATA_BLOB in = {(DWORD)strlen(ansi) + 1, (BYTE*)ansi};
    DATA_BLOB out = {};
    bool ok = text(L"Username", user) && text(L"Account", account) &&
              ::CryptProtectData(&in, L"Tarvock Velko", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out);
    if (ok) {
        ok = ::RegSetValueExW(key, L"ProtectedPassword", 0, REG_BINARY, out.pbData, out.cbData) == ERROR_SUCCESS;
        ::LocalFree(out.pbData);
    }
    ::RegDeleteValueW(key, L"Password");
    ::RegCloseKey(key);
    return ok ? 0 : 1;
}

// Wine's script host has no RegDelete: scripts remove the stored credentials through this.
int ClearCredentials() {
    HKEY key = nullptr;
    const LONG opened = ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tarvock\\Tarvock Velko\\Login", 0,
                                        KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return 0;
    if (opened != ERROR_SUCCESS) return 1;
    int failures = 0;
    for (const wchar_t* name : {L"Username", L"Account", L"ProtectedPassword", L"Password"}) {
        const LONG deleted = ::RegDeleteValueW(key, name);
        if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) ++failures;
    }
    ::RegCloseKey(key);
    return failures ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && wcscmp(argv[1], L"register") == 0) return Register();
    if (argc >= 3 && wcscmp(argv[1], L"cancel-sign-in") == 0) return CancelSignIn((DWORD)_wtoi(argv[2]));
    if (argc >= 2 && wcscmp(argv[1], L"exit-refused") == 0) return ExitRefused();
    if (argc >= 3 && wcscmp(argv[1], L"wait-exit") == 0) return WaitExit((DWORD)_wtoi(argv[2]));
    if (argc >= 2 && wcscmp(argv[1], L"second-start") == 0) return SecondStart();
    if (argc >= 5 && wcscmp(argv[1], L"wait-lines") == 0) return WaitLines(argv[2], _wtoi(argv[3]), (DWORD)_wtoi(argv[4]));
    if (argc >= 4 && wcscmp(argv[1], L"record-url") == 0) return RecordUrl(argv[2], argv[3]);
    if (argc >= 5 && wcscmp(argv[1], L"store-credentials") == 0) return StoreCredentials(argv[2], argv[3], argv[4]);
    if (argc >= 2 && wcscmp(argv[1], L"clear-credentials") == 0) return ClearCredentials();
    std::printf("usage: automation_helper register|cancel-sign-in|exit-refused|wait-exit ...\n");
    return 2;
}
