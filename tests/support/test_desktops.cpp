// Holds the test programs' desktops open for a whole test run.
//
// usage: test_desktops.exe READY_FILE NAME...
// Every named desktop gets a thread of this program that uses it, so the desktop's own process
// starts once, before the window tests, and stays: a test program never waits for it under load,
// nor joins a desktop whose process is ending as the last program leaves it. READY_FILE is written
// once every desktop is up or given up on; the program then runs until Wine is stopped.
#include "DesktopSupport.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct CDesktopHolder {
    std::wstring name;
    HANDLE ready = nullptr;
    bool ok = false;
};

DWORD WINAPI HoldDesktop(void* parameter) {
    auto* holder = static_cast<CDesktopHolder*>(parameter);
    holder->ok = TestUseOwnDesktop(holder->name.c_str());
    ::SetEvent(holder->ready);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: test_desktops READY_FILE NAME...\n");
        return 2;
    }
    std::vector<CDesktopHolder> holders(argc - 2);
    std::vector<HANDLE> ready;
    for (int i = 2; i < argc; ++i) {
        CDesktopHolder& holder = holders[i - 2];
        holder.name = argv[i];
        holder.ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ready.push_back(holder.ready);
        HANDLE thread = ::CreateThread(nullptr, 0, HoldDesktop, &holder, 0, nullptr);
        if (!thread) return 1;
        ::CloseHandle(thread);
    }
    ::WaitForMultipleObjects((DWORD)ready.size(), ready.data(), TRUE, INFINITE);
    // The file names the desktops that did not come up, after a first line "ready".
    FILE* file = _wfopen(argv[1], L"wb");
    if (!file) return 1;
    std::fprintf(file, "ready\n");
    for (const CDesktopHolder& holder : holders) {
        if (!holder.ok) std::fprintf(file, "%ls\n", holder.name.c_str());
    }
    std::fclose(file);
    ::Sleep(INFINITE);
    return 0;
}
