// The hidden main window's inbox poll, repeated: the process's private memory and handle count
// after the first poll and after COUNT more polls (default 100), the CPU time of one poll (user +
// kernel, averaged) and the median wall time of one poll. Growth beyond noise (private memory up
// by more than 1 MB, or more than 10 handles) is reported. The window is made and signed in
// (test/test/TEST01) as the main window's tests do, against a stand-in service of its own (run
// under scripts/with-standin), and it needs a display (TARVOCK_NEEDS_DISPLAY=1 with TARVOCK_DISPLAY).
#include "LoginState.h"
#include "MessengerDlg.h"
#include "TestMessengerApp.h"

#include <psapi.h>

#include "BenchSupport.h"
#include "RequestLog.h"
#include "StandinEnvironment.h"
#include "StandinTest.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const size_t kMemoryNoise = 1024 * 1024;  // bytes
const DWORD kHandleNoise = 10;

// Stands in for the shell's notification area (the icon's calls succeed).
class CShellStandIn {
public:
    CShellStandIn() : m_saved(CTkNotifyIconWnd::s_pfnShellNotifyIcon) {
        CTkNotifyIconWnd::s_pfnShellNotifyIcon = [](DWORD, PNOTIFYICONDATAA) -> BOOL { return TRUE; };
    }
    ~CShellStandIn() { CTkNotifyIconWnd::s_pfnShellNotifyIcon = m_saved; }

private:
    CTkNotifyIconWnd::PFNSHELLNOTIFYICON m_saved;
};

struct Usage {
    size_t privateBytes = 0;    // PrivateUsage
    DWORD handles = 0;          // GetProcessHandleCount
    size_t committedPrivate = 0;  // committed MEM_PRIVATE pages, from VirtualQuery
    size_t workingSet = 0;
    long listedHandles = -1;    // this process's entries in the system handle list (-1: none given)
};

// The committed private pages of the address space (Wine leaves PrivateUsage at 0).
size_t CommittedPrivateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    const char* address = nullptr;
    while (::VirtualQuery(address, &info, sizeof(info)) == sizeof(info)) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

// This process's handles in the system handle list (Wine answers 0 to GetProcessHandleCount).
long ListedHandles() {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ACCESS_MASK access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    if (!query) return -1;
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        LONG status = query(16 /* SystemHandleInformation */, buffer.data(), (ULONG)buffer.size(), &needed);
        if (status == 0) {
            const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
            const Entry* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
            const ULONG pid = ::GetCurrentProcessId();
            long mine = 0;
            for (ULONG i = 0; i < count; ++i)
                if (entries[i].ownerPid == pid) ++mine;
            return mine;
        }
        if (status != (LONG)0xC0000004 /* STATUS_INFO_LENGTH_MISMATCH */) return -1;
        buffer.resize(needed > buffer.size() ? needed + 65536 : buffer.size() * 2);
    }
    return -1;
}

Usage Measure() {
    Usage usage;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters)))
        throw std::runtime_error("GetProcessMemoryInfo failed");
    usage.privateBytes = counters.PrivateUsage;
    usage.workingSet = counters.WorkingSetSize;
    usage.committedPrivate = CommittedPrivateBytes();
    usage.listedHandles = ListedHandles();
    if (!::GetProcessHandleCount(::GetCurrentProcess(), &usage.handles))
        throw std::runtime_error("GetProcessHandleCount failed");
    return usage;
}

// The process's user + kernel time in seconds.
double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        throw std::runtime_error("GetProcessTimes failed");
    auto seconds = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The SDK beside this program registered in the prefix (the main window and the sign-in create its
// objects through COM), as the tests' registration fixture leaves it.
void RegisterSdk() {
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dll(path, length);
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"TarvockSDK2.dll";
    HMODULE sdk = ::LoadLibraryW(dll.c_str());
    if (!sdk) throw std::runtime_error("cannot load TarvockSDK2.dll beside the program");
    auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(sdk, "DllRegisterServer"));
    HRESULT hr = reg ? reg() : E_NOINTERFACE;
    ::FreeLibrary(sdk);
    bench::Check(hr, "TarvockSDK2.dll DllRegisterServer");
}

void DeleteAccountsSection() {
    HKEY app = AfxGetApp()->GetAppRegistryKey();
    if (!app) return;
    ::RegDeleteKeyW(app, L"Accounts\\TEST01");
    ::RegDeleteKeyW(app, L"Accounts");
    ::RegCloseKey(app);
}

int Run(int polls) {
    if (standin::ServiceUrl().empty() || standin::ServerBase().empty()) {
        std::fprintf(stderr, "TARVOCK_STANDIN_URL is not set: run under scripts/with-standin\n");
        return 2;
    }
    RegisterSdk();
    const standin::RequestLog log;
    log.Reset();
    standin::PointSdkAtStandin();

    CSatelliteScope satellite;
    CShellStandIn shell;
    CMessageBoxRecorder boxes;
    CLoginState::ReleaseCachedCollections();
    DeleteAccountsSection();
    if (!CLoginState::SignInCore("test", "test", "TEST01", true)) throw std::runtime_error("sign-in failed");
    CMessengerDlg* dlg = new CMessengerDlg;
    if (!dlg->CreateHidden(CWnd::FromHandle(::GetDesktopWindow()))) {
        delete dlg;
        throw std::runtime_error("the main window was not created (no display? run with TARVOCK_NEEDS_DISPLAY=1 and TARVOCK_DISPLAY set)");
    }
    if (!dlg->GetInboxService()) throw std::runtime_error("the main window has no inbox service");

    dlg->PollInbox(CMessengerDlg::kPollTimer);  // the first poll, as after start
    PumpPending();
    const Usage start = Measure();

    std::vector<double> wall;
    wall.reserve(polls);
    const double cpuBefore = CpuSeconds();
    for (int i = 0; i < polls; ++i) {
        const double began = bench::Seconds();
        dlg->PollInbox(CMessengerDlg::kPollTimer);
        wall.push_back(bench::Seconds() - began);
        PumpPending();
    }
    const double cpuPerPoll = (CpuSeconds() - cpuBefore) / polls;
    const Usage after = Measure();

    dlg->DestroyWindow();  // deletes the object
    CLoginState::SignOut();
    CLoginState::ReleaseCachedCollections();
    DeleteAccountsSection();
    PumpPending();

    // Every poll reached the stand-in (a failed poll is silent in the window).
    const size_t asked = log.ByOperation(L"GetLatestMessages").size();
    // Where the system's own figures are 0 (Wine), the address space's and the handle list's count.
    const bool privateGiven = start.privateBytes != 0 || after.privateBytes != 0;
    const bool handlesGiven = start.handles != 0 || after.handles != 0;
    const long long memoryGrowth = privateGiven ? (long long)after.privateBytes - (long long)start.privateBytes
                                                : (long long)after.committedPrivate - (long long)start.committedPrivate;
    const long handleGrowth = handlesGiven ? (long)after.handles - (long)start.handles
                                           : after.listedHandles - start.listedHandles;
    const bool memoryGrew = memoryGrowth > (long long)kMemoryNoise;
    const bool handlesGrew = handleGrowth > (long)kHandleNoise;

    std::printf("  polls measured              %d (GetLatestMessages requests seen by the stand-in: %zu)\n", polls,
                asked);
    std::printf("  private memory after start  %10.1f KB\n", start.privateBytes / 1024.0);
    std::printf("  private memory after %-4d   %10.1f KB  (growth %+.1f KB)\n", polls, after.privateBytes / 1024.0,
                ((long long)after.privateBytes - (long long)start.privateBytes) / 1024.0);
    std::printf("  handles after start         %10lu\n", (unsigned long)start.handles);
    std::printf("  handles after %-4d          %10lu  (growth %+ld)\n", polls, (unsigned long)after.handles,
                (long)after.handles - (long)start.handles);
    std::printf("  committed private pages     %10.1f KB -> %10.1f KB  (growth %+.1f KB; VirtualQuery)\n",
                start.committedPrivate / 1024.0, after.committedPrivate / 1024.0,
                ((long long)after.committedPrivate - (long long)start.committedPrivate) / 1024.0);
    std::printf("  working set                 %10.1f KB -> %10.1f KB  (growth %+.1f KB)\n", start.workingSet / 1024.0,
                after.workingSet / 1024.0, ((long long)after.workingSet - (long long)start.workingSet) / 1024.0);
    std::printf("  handles in the handle list  %10ld -> %10ld  (growth %+ld)\n", start.listedHandles,
                after.listedHandles, after.listedHandles - start.listedHandles);
    std::printf("  growth judged on            %s, %s\n", privateGiven ? "PrivateUsage" : "committed private pages",
                handlesGiven ? "GetProcessHandleCount" : "the handle list");
    std::printf("  CPU time per poll           %10.3f ms (user + kernel, mean)\n", cpuPerPoll * 1000.0);
    std::printf("  wall time per poll          %10.3f ms (median; 90th percentile %.3f ms)\n",
                bench::Median(wall) * 1000.0, bench::Percentile(wall, 0.9) * 1000.0);
    std::printf("  growth beyond noise (> 1 MB or > 10 handles): memory %s, handles %s\n", memoryGrew ? "YES" : "no",
                handlesGrew ? "YES" : "no");
    if (asked < (size_t)polls + 1) {
        std::fprintf(stderr, "poll bench: only %zu of %d polls reached the stand-in\n", asked, polls + 1);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, 100, "poll_bench [POLLS]", "poll bench failed", Run);
}
