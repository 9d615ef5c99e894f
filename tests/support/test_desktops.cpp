// Holds desktops open for a whole test run (started by scripts/wine-server).
//
// usage: test_desktops.exe READY_FILE NAME...
// Every named desktop gets a thread of this program that uses it and makes a window there, so the
// desktop's own process starts now, with this program's display, and stays until Wine is stopped:
// a program started on a desktop takes that process's display driver, and a desktop whose process
// began without a display lets no window be made. READY_FILE is written once every desktop is up
// or given up on: a first line "ready", then the names of those that did not come up.
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
    holder->ok = TestUseDesktop(holder->name.c_str(), 60000);
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
