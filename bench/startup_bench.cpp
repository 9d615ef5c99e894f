// The program's start until its notification icon shows, against a minimal program that only adds
// a notification icon: each is started as a new process under the same Wine, COUNT times
// (default 10, alternately), and timed from process creation until the shell has its icon (asked
// from this process, every millisecond, with a modify of the icon that the shell refuses while
// the icon is not there). Printed: the median of each and the ratio program/minimal (target at
// most 2).
//
// The program (TarvockVelko.exe beside this one) starts as COM starts it ("/Embedding"), with no
// stored credentials (the profile's "Login" section is set aside meanwhile and put back), so no
// sign-in runs: its libraries, automation registration, satellite library, toolkit set-up (theme,
// every toolbar's pictures), its version check against the service, and its hidden main window
// with the icon. Its version check needs the stand-in service on the SDK's default address,
// answering a version no newer than the program's: scripts/bench runs one so for this benchmark.
// The minimal program is this program again with "--minimal": a hidden window and its icon.
#include <windows.h>
#include <shellapi.h>

#include "BenchSupport.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The icon id both programs use (the program's tray icon, IDR_TRAY).
const UINT kIconId = 101;
const wchar_t kProfileKey[] = L"Software\\Tarvock\\Tarvock Velko";
const double kTimeoutSeconds = 60;

// --minimal: a hidden window with a notification icon, until the process is ended.
int RunMinimal() {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = kIconId;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = ::LoadIconW(nullptr, (LPCWSTR)IDI_APPLICATION);
    lstrcpynW(icon.szTip, L"Minimal", ARRAYSIZE(icon.szTip));
    if (!window || !::Shell_NotifyIconW(NIM_ADD, &icon)) return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}

struct IconSearch {
    DWORD processId;
    HWND found;
};

// Whether the shell holds an icon of the window (a modify that changes nothing succeeds only then).
bool HasIcon(HWND window) {
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = kIconId;
    return ::Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<IconSearch*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !HasIcon(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// Seconds from creating the process of a command line until the shell holds its icon; the icon is
// taken away and the process ended afterwards.
double StartUntilIcon(const std::wstring& commandLine) {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = bench::Seconds();
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("a program could not be started");
    IconSearch search = {process.dwProcessId, nullptr};
    std::string failure;
    double elapsed = 0;
    for (;;) {
        ::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
        elapsed = bench::Seconds() - start;
        if (search.found) break;
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            failure = "a program ended before its icon showed";
            break;
        }
        if (elapsed > kTimeoutSeconds) {
            failure = "a program showed no icon within a minute (a dialog of its own?)";
            break;
        }
        ::Sleep(1);
    }
    if (search.found) {
        NOTIFYICONDATAW icon = {};
        icon.cbSize = sizeof icon;
        icon.hWnd = search.found;
        icon.uID = kIconId;
        ::Shell_NotifyIconW(NIM_DELETE, &icon);
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (!failure.empty()) throw std::runtime_error(failure);
    return elapsed;
}

// Sets the profile's stored credentials aside for its lifetime and puts them back.
class CCredentialsAside {
public:
    CCredentialsAside() : m_path(std::wstring(kProfileKey) + L"\\Login") {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        wchar_t name[256];
        BYTE data[4096];
        DWORD type = 0;
        for (DWORD i = 0, nameLength = 256, dataLength = sizeof data;
             ::RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataLength) == ERROR_SUCCESS;
             ++i, nameLength = 256, dataLength = sizeof data)
            m_values.push_back({name, type, std::vector<BYTE>(data, data + dataLength)});
        ::RegCloseKey(key);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    }
    ~CCredentialsAside() {
        if (m_values.empty()) return;
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
            std::fprintf(stderr, "startup_bench: the stored credentials could not be put back\n");
            return;
        }
        for (const Value& value : m_values)
            ::RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(), (DWORD)value.data.size());
        ::RegCloseKey(key);
    }
    CCredentialsAside(const CCredentialsAside&) = delete;
    CCredentialsAside& operator=(const CCredentialsAside&) = delete;

private:
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::wstring m_path;
    std::vector<Value> m_values;
};

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

int Run(int count) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    const std::wstring program = folder + L"TarvockVelko.exe";
    if (::GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw std::runtime_error("no TarvockVelko.exe beside this program");

    CCredentialsAside aside;
    // One start of each first: Wine's shell and the program's files settle.
    StartUntilIcon(Quoted(self) + L" --minimal");
    StartUntilIcon(Quoted(program) + L" /Embedding");
    std::vector<double> minimal, full;
    for (int i = 0; i < count; ++i) {
        minimal.push_back(StartUntilIcon(Quoted(self) + L" --minimal"));
        full.push_back(StartUntilIcon(Quoted(program) + L" /Embedding"));
    }
    const double minimalMedian = bench::Median(minimal), programMedian = bench::Median(full);
    std::printf("minimal program, start to notification icon: %.1f ms (median of %d)\n", minimalMedian * 1000, count);
    std::printf("TarvockVelko.exe, start to notification icon (toolkit set-up included): %.1f ms\n", programMedian * 1000);
    std::printf("ratio program/minimal: %.2f (target <= 2)\n", minimalMedian > 0 ? programMedian / minimalMedian : 0.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--minimal") == 0) return RunMinimal();
    return bench::Main(argc, argv, 10, "startup_bench [COUNT]", "startup_bench", Run);
}
