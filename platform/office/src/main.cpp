// OutlookHost.exe: plays the mail client for our add-in. Serves the fake object model, connects
// the registered add-ins, clicks their buttons on request and prints every call made.
//
//   OutlookHost.exe [--version TEXT] [--no-explorer] [--fail MEMBER] [--log FILE] COMMAND...
//   commands: connect | click N | set-parameter N TEXT | disconnect | sleep MS
//
// Exit code: 0 when every command ran (the add-in's failures are only logged), 2 on a usage
// error, 1 when the host itself fails.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <exception>
#include <string>
#include <vector>

#include "OfficeHost.h"

namespace {

const char kUsage[] =
    "usage: OutlookHost.exe [--version TEXT] [--no-explorer] [--fail MEMBER] [--log FILE] COMMAND...\n"
    "commands: connect | click N | set-parameter N TEXT | disconnect | sleep MS\n";

struct Command {
    std::wstring name;
    unsigned long number = 0;
    std::wstring text;
};

struct Options {
    officehost::HostSwitches switches;
    std::wstring logFile;
    std::vector<Command> commands;
};

bool ParseNumber(const wchar_t* text, unsigned long* number) {
    if (!text || !*text) return false;
    wchar_t* end = nullptr;
    *number = std::wcstoul(text, &end, 10);
    return *end == L'\0' && text[0] != L'-';
}

// False (with a message on stderr) on a usage error.
bool Parse(int argc, wchar_t** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        auto value = [&](const wchar_t** out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        const wchar_t* text = nullptr;
        if (arg == L"--version" && value(&text)) {
            options->switches.version = text;
        } else if (arg == L"--no-explorer") {
            options->switches.noActiveExplorer = true;
        } else if (arg == L"--fail" && value(&text)) {
            options->switches.failingMember = text;
        } else if (arg == L"--log" && value(&text)) {
            options->logFile = text;
        } else if (arg == L"connect" || arg == L"disconnect") {
            options->commands.push_back({arg});
        } else if (arg == L"click" || arg == L"sleep") {
            Command command{arg};
            if (!value(&text) || !ParseNumber(text, &command.number) || (arg == L"click" && command.number == 0)) {
                std::fprintf(stderr, "OutlookHost: %ls needs a number\n", arg.c_str());
                return false;
            }
            options->commands.push_back(command);
        } else if (arg == L"set-parameter") {
            Command command{arg};
            if (!value(&text) || !ParseNumber(text, &command.number) || command.number == 0 || !value(&text)) {
                std::fprintf(stderr, "OutlookHost: set-parameter needs a button number and a text\n");
                return false;
            }
            command.text = text;
            options->commands.push_back(command);
        } else {
            std::fprintf(stderr, "OutlookHost: unexpected argument %ls\n", arg.c_str());
            return false;
        }
    }
    if (options->commands.empty()) {
        std::fprintf(stderr, "OutlookHost: no command\n");
        return false;
    }
    return true;
}

// Waits while dispatching messages, so calls from other apartments and processes get through.
void PumpFor(DWORD milliseconds) {
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

// Runs the commands; false (with a message on stderr) when the host cannot carry one out.
bool Run(const Options& options, officehost::FakeOutlook& outlook, officehost::CallLog& log) {
    officehost::AddinHost host(outlook, log);
    for (const auto& command : options.commands) {
        if (command.name == L"connect") {
            host.ConnectAll();
        } else if (command.name == L"disconnect") {
            host.DisconnectAll();
        } else if (command.name == L"sleep") {
            PumpFor(command.number);
        } else if (command.number > outlook.ButtonCount()) {
            std::fprintf(stderr, "OutlookHost: there is no button %lu (%zu made)\n", command.number, outlook.ButtonCount());
            return false;
        } else if (command.name == L"click") {
            outlook.Click(command.number - 1);
        } else {
            outlook.SetParameter(command.number - 1, command.text);
        }
    }
    return true;
}

bool Report(const officehost::CallLog& log, const std::wstring& logFile) {
    if (!logFile.empty()) {
        if (log.WriteToFile(logFile)) return true;
        std::fprintf(stderr, "OutlookHost: cannot write %ls\n", logFile.c_str());
        return false;
    }
    const std::string text = officehost::ToUtf8Text(log.Lines());
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!Parse(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (FAILED(::CoInitialize(nullptr))) {
        std::fprintf(stderr, "OutlookHost: CoInitialize failed\n");
        return 1;
    }
    int status = 0;
    {
        officehost::CallLog log;
        try {
            officehost::FakeOutlook outlook(options.switches, log);
            if (!Run(options, outlook, log)) status = 1;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "OutlookHost: %s\n", error.what());
            status = 1;
        }
        if (!Report(log, options.logFile)) status = 1;
    }
    ::CoUninitialize();
    return status;
}
