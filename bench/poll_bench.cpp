// The hidden main window's inbox poll, repeated: the process's private memory and handle count
// after the first poll and after COUNT more polls (default 300), the CPU time of one poll (user +
// kernel, averaged) and the median wall time of one poll, once with logging off and once with
// every category at DEBUG into a file, side by side. Each run is a process of its own (this
// program again, "--pass COUNT"), since the SDK reads c:\TarvockLogging.properties when it
// loads: the user's file is moved into a temporary folder for both runs, the debug run's own file
// writes its log there, and the user's file is put back afterwards. Growth beyond noise (private
// memory up by more than 1 MB, or more than 10 handles) is reported, and whether debug logging
// keeps more than 64 KB of heap beyond what logging off does. The window is made and signed in
// (test/test/TEST01) as the main window's tests do, against a stand-in service of its own (run
// under scripts/with-standin), and it needs a display (TARVOCK_NEEDS_DISPLAY=1 with TARVOCK_DISPLAY).
#include "mainwindow/MessengerDlg.h"
#include "signin/LoginState.h"
#include "support/ShellStandIn.h"
#include "support/TestMessengerApp.h"

#include <psapi.h>

#include "BenchSupport.h"
#include "ProcessMemory.h"
#include "RequestLog.h"
#include "ServerLoadSupport.h"
#include "StandinEnvironment.h"
#include "StandinTest.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const size_t kMemoryNoise = 1024 * 1024;  // bytes
const DWORD kHandleNoise = 10;
const long long kLoggingNoise = 64 * 1024;  // what debug logging may add to the growth, in bytes
const char kLoggingProperties[] = "c:\\TarvockLogging.properties";
const char kPassOption[] = "--pass";

struct Usage {
    size_t privateBytes = 0;    // PrivateUsage
    DWORD handles = 0;          // GetProcessHandleCount
    size_t committedPrivate = 0;  // committed MEM_PRIVATE pages, from VirtualQuery
    size_t heapInUse = 0;       // blocks in use in the process's heaps, from HeapWalk
    unsigned threads = 0;
    size_t workingSet = 0;
    long listedHandles = -1;    // this process's entries in the system handle list (-1: none given)
};

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
    usage.committedPrivate = testsupport::CommittedPrivateBytes();
    usage.heapInUse = testsupport::HeapBytesInUse();
    usage.threads = testsupport::ThreadCount();
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

// One run's figures: usage after the first poll and after the measured ones, the polls the
// stand-in saw, and the times of one poll.
struct Pass {
    Usage start, after;
    double asked = 0;
    double cpuPerPoll = 0, wallMedian = 0, wallP90 = 0;

    // The figures as one line of numbers, and back (what a run hands to the program that started it).
    std::vector<double> Numbers() const {
        std::vector<double> numbers;
        for (const Usage* usage : {&start, &after}) {
            numbers.insert(numbers.end(), {(double)usage->privateBytes, (double)usage->handles,
                                           (double)usage->committedPrivate, (double)usage->heapInUse,
                                           (double)usage->workingSet, (double)usage->listedHandles,
                                           (double)usage->threads});
        }
        numbers.insert(numbers.end(), {asked, cpuPerPoll, wallMedian, wallP90});
        return numbers;
    }
    static Pass FromNumbers(const std::vector<double>& numbers) {
        if (numbers.size() != 18) throw std::runtime_error("a run handed back no figures");
        Pass pass;
        size_t i = 0;
        for (Usage* usage : {&pass.start, &pass.after}) {
            usage->privateBytes = (size_t)numbers[i++];
            usage->handles = (DWORD)numbers[i++];
            usage->committedPrivate = (size_t)numbers[i++];
            usage->heapInUse = (size_t)numbers[i++];
            usage->workingSet = (size_t)numbers[i++];
            usage->listedHandles = (long)numbers[i++];
            usage->threads = (unsigned)numbers[i++];
        }
        pass.asked = numbers[i++];
        pass.cpuPerPoll = numbers[i++];
        pass.wallMedian = numbers[i++];
        pass.wallP90 = numbers[i++];
        return pass;
    }

    // Where the system's own figures are 0 (Wine), the address space's and the handle list's count.
    bool PrivateGiven() const { return start.privateBytes != 0 || after.privateBytes != 0; }
    bool HandlesGiven() const { return start.handles != 0 || after.handles != 0; }
    long long MemoryGrowth() const {
        return PrivateGiven() ? (long long)after.privateBytes - (long long)start.privateBytes
                              : (long long)after.committedPrivate - (long long)start.committedPrivate;
    }
    long HandleGrowth() const {
        return HandlesGiven() ? (long)after.handles - (long)start.handles : after.listedHandles - start.listedHandles;
    }
};

const char kResultTag[] = "poll-pass:";

// One run in this process: sign in, the first poll, then the measured polls.
Pass MeasurePolls(int polls) {
    if (standin::ServiceUrl().empty() || standin::ServerBase().empty())
        throw std::runtime_error("TARVOCK_STANDIN_URL is not set: run under scripts/with-standin");
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

    Pass pass;
    dlg->PollInbox(CMessengerDlg::kPollTimer);  // the first poll, as after start
    PumpPending();
    pass.start = Measure();

    std::vector<double> wall;
    wall.reserve(polls);
    const double cpuBefore = CpuSeconds();
    for (int i = 0; i < polls; ++i) {
        const double began = bench::Seconds();
        dlg->PollInbox(CMessengerDlg::kPollTimer);
        wall.push_back(bench::Seconds() - began);
        PumpPending();
    }
    pass.cpuPerPoll = (CpuSeconds() - cpuBefore) / polls;
    pass.after = Measure();
    pass.wallMedian = bench::Median(wall);
    pass.wallP90 = bench::Percentile(wall, 0.9);

    dlg->DestroyWindow();  // deletes the object
    CLoginState::SignOut();
    CLoginState::ReleaseCachedCollections();
    DeleteAccountsSection();
    PumpPending();

    // Every poll reached the stand-in (a failed poll is silent in the window).
    pass.asked = (double)log.ByOperation(L"GetLatestMessages").size();
    return pass;
}

// The run of "--pass POLLS": its figures as one tagged line on the standard output.
int RunPass(int polls) {
    const Pass pass = MeasurePolls(polls);
    std::printf("%s", kResultTag);
    for (double number : pass.Numbers()) std::printf(" %.17g", number);
    std::printf("\n");
    std::fflush(stdout);
    return 0;
}

// This program again with "--pass POLLS"; its figures, read from its standard output.
Pass RunPassProcess(int polls) {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(path, length) + L"\" --pass " + std::to_wstring(polls);

    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) throw std::runtime_error("CreatePipe failed");
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    const BOOL started =
        ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        throw std::runtime_error("cannot start a measuring run of poll_bench");
    }
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got) output.append(buffer, got);
    ::CloseHandle(readEnd);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    const size_t tag = output.rfind(kResultTag);
    if (exitCode != 0 || tag == std::string::npos)
        throw std::runtime_error("a measuring run failed (exit code " + std::to_string(exitCode) + ")");
    std::istringstream numbers(output.substr(tag + std::strlen(kResultTag)));
    std::vector<double> values;
    for (double value; numbers >> value;) values.push_back(value);
    return Pass::FromNumbers(values);
}

// c:\TarvockLogging.properties for the two runs: the user's file waits in a temporary folder of
// our own (logging off), then our file sends every category at DEBUG to a log in that folder;
// at the end the user's file is back as it was and the folder is gone.
class CLoggingPropertiesScope {
public:
    CLoggingPropertiesScope() {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "tarvock-poll-bench-" + std::to_string(::GetCurrentProcessId());
        if (!::CreateDirectoryA(m_folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + m_folder);
        m_saved = m_folder + "\\TarvockLogging.properties.saved";
        m_logFile = m_folder + "\\poll_bench.log";
        if (::GetFileAttributesA(kLoggingProperties) != INVALID_FILE_ATTRIBUTES) {
            if (!::MoveFileExA(kLoggingProperties, m_saved.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING))
                throw std::runtime_error("cannot move c:\\TarvockLogging.properties aside");
            m_hadFile = true;
        }
    }
    ~CLoggingPropertiesScope() {
        ::DeleteFileA(kLoggingProperties);
        if (m_hadFile && !::MoveFileExA(m_saved.c_str(), kLoggingProperties, MOVEFILE_COPY_ALLOWED))
            std::fprintf(stderr, "poll bench: your logging properties are left in %s\n", m_saved.c_str());
        ::DeleteFileA(m_logFile.c_str());
        ::RemoveDirectoryA(m_folder.c_str());
    }
    CLoggingPropertiesScope(const CLoggingPropertiesScope&) = delete;
    CLoggingPropertiesScope& operator=(const CLoggingPropertiesScope&) = delete;

    // Every category at DEBUG into a file appender.
    void SwitchDebugOn() const {
        std::ofstream properties(kLoggingProperties);
        properties << "log4cpp.rootCategory=DEBUG, F\n"
                      "log4cpp.appender.F=FileAppender\n"
                      "log4cpp.appender.F.fileName=" << m_logFile << "\n"
                      "log4cpp.appender.F.layout=PatternLayout\n"
                      "log4cpp.appender.F.layout.ConversionPattern=%d %p %c %m%n\n";
        if (!properties) throw std::runtime_error("cannot write c:\\TarvockLogging.properties");
    }
    std::string LogText() const {
        std::ifstream in(m_logFile, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::string m_folder, m_saved, m_logFile;
    bool m_hadFile = false;
};

void PrintRow(const char* what, const std::string& off, const std::string& debug, const char* note = "") {
    std::printf("  %-30s %18s %18s  %s\n", what, off.c_str(), debug.c_str(), note);
}

std::string Kilobytes(long long bytes, bool sign = true) {
    char text[40];
    std::snprintf(text, sizeof text, sign ? "%+.1f KB" : "%.1f KB", bytes / 1024.0);
    return text;
}

std::string Growth(size_t before, size_t after) { return Kilobytes((long long)after - (long long)before); }

std::string Count(long long value, bool sign = true) {
    char text[40];
    std::snprintf(text, sizeof text, sign ? "%+lld" : "%lld", value);
    return text;
}

std::string Milliseconds(double seconds) {
    char text[40];
    std::snprintf(text, sizeof text, "%.3f ms", seconds * 1000.0);
    return text;
}

// Both runs, each in a process of its own, and their figures side by side.
int Run(int polls) {
    if (standin::ServiceUrl().empty() || standin::ServerBase().empty()) {
        std::fprintf(stderr, "TARVOCK_STANDIN_URL is not set: run under scripts/with-standin\n");
        return 2;
    }
    Pass off, debug;
    std::string logText;
    {
        CLoggingPropertiesScope properties;
        off = RunPassProcess(polls);
        properties.SwitchDebugOn();
        debug = RunPassProcess(polls);
        logText = properties.LogText();
    }
    const size_t loggedRequests = testsupport::Occurrences(logText, " XML request: ");

    std::printf("  polls measured per run        %d (GetLatestMessages requests seen by the stand-in: %.0f and %.0f)\n",
                polls, off.asked, debug.asked);
    PrintRow("", "logging off", "debug logging");
    PrintRow("private memory after start", Kilobytes(off.start.privateBytes, false),
             Kilobytes(debug.start.privateBytes, false), "(PrivateUsage)");
    PrintRow("private memory growth", Growth(off.start.privateBytes, off.after.privateBytes),
             Growth(debug.start.privateBytes, debug.after.privateBytes));
    PrintRow("committed private after start", Kilobytes(off.start.committedPrivate, false),
             Kilobytes(debug.start.committedPrivate, false), "(VirtualQuery)");
    PrintRow("committed private growth", Growth(off.start.committedPrivate, off.after.committedPrivate),
             Growth(debug.start.committedPrivate, debug.after.committedPrivate));
    PrintRow("threads", Count(off.start.threads, false) + " -> " + Count(off.after.threads, false),
             Count(debug.start.threads, false) + " -> " + Count(debug.after.threads, false));
    PrintRow("heap in use growth", Growth(off.start.heapInUse, off.after.heapInUse),
             Growth(debug.start.heapInUse, debug.after.heapInUse), "(HeapWalk)");
    PrintRow("working set growth", Growth(off.start.workingSet, off.after.workingSet),
             Growth(debug.start.workingSet, debug.after.workingSet));
    PrintRow("handles after start", Count(off.start.handles, false), Count(debug.start.handles, false),
             "(GetProcessHandleCount)");
    PrintRow("handles growth", Count((long)off.after.handles - (long)off.start.handles),
             Count((long)debug.after.handles - (long)debug.start.handles));
    PrintRow("handles in the handle list", Count(off.start.listedHandles, false), Count(debug.start.listedHandles, false));
    PrintRow("handle list growth", Count(off.after.listedHandles - off.start.listedHandles),
             Count(debug.after.listedHandles - debug.start.listedHandles));
    PrintRow("CPU time per poll", Milliseconds(off.cpuPerPoll), Milliseconds(debug.cpuPerPoll), "(user + kernel, mean)");
    PrintRow("wall time per poll", Milliseconds(off.wallMedian), Milliseconds(debug.wallMedian), "(median)");
    PrintRow("wall time, 90th percentile", Milliseconds(off.wallP90), Milliseconds(debug.wallP90));
    std::printf("  debug log written             %.1f KB, %zu requests logged\n", logText.size() / 1024.0,
                loggedRequests);
    std::printf("  growth judged on              %s, %s\n", off.PrivateGiven() ? "PrivateUsage" : "committed private pages",
                off.HandlesGiven() ? "GetProcessHandleCount" : "the handle list");
    auto yesNo = [](bool yes) { return yes ? "YES" : "no"; };
    std::printf("  growth beyond noise (> 1 MB or > 10 handles): memory %s / %s, handles %s / %s\n",
                yesNo(off.MemoryGrowth() > (long long)kMemoryNoise), yesNo(debug.MemoryGrowth() > (long long)kMemoryNoise),
                yesNo(off.HandleGrowth() > (long)kHandleNoise), yesNo(debug.HandleGrowth() > (long)kHandleNoise));
    // Judged on the heaps: the committed pages move in steps of megabytes with Wine's worker threads.
    const long long loggingCost = ((long long)debug.after.heapInUse - (long long)debug.start.heapInUse) -
                                  ((long long)off.after.heapInUse - (long long)off.start.heapInUse);
    std::printf("  debug logging keeps more heap than logging off: %s (more than 64 KB: %s)\n",
                Kilobytes(loggingCost).c_str(), yesNo(loggingCost > kLoggingNoise));

    int status = 0;
    for (const Pass* pass : {&off, &debug}) {
        if (pass->asked < polls + 1) {
            std::fprintf(stderr, "poll bench: only %.0f of %d polls reached the stand-in\n", pass->asked, polls + 1);
            status = 1;
        }
    }
    if (loggedRequests < (size_t)polls + 1) {
        std::fprintf(stderr, "poll bench: the debug run logged %zu requests, not %d\n", loggedRequests, polls + 1);
        status = 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], kPassOption) == 0)
        return bench::Main(argc - 1, argv + 1, 100, "poll_bench --pass POLLS", "poll bench run failed", RunPass);
    return bench::Main(argc, argv, 300, "poll_bench [POLLS]", "poll bench failed", Run);
}
