#include "support/BrowserRecorder.h"

#include <windows.h>

#include <fstream>

namespace {
// Marks a command key that did not exist before, so it is removed again.
const wchar_t kAbsent[] = L"\x1";
}  // namespace

CBrowserRecorder::CBrowserRecorder(const wchar_t* logName) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir = dir.substr(0, dir.find_last_of(L'\\'));
    m_log = CString((dir + L"\\" + logName).c_str());
    ::DeleteFileA(m_log);
    ::SetEnvironmentVariableA("TARVOCK_URL_LOG", m_log);
    const std::wstring command = L"\"" + dir + L"\\url_recorder.exe\" \"%1\"";
    for (const wchar_t* scheme : {L"http", L"https"}) {
        const std::wstring key = std::wstring(scheme) + L"\\shell\\open\\command";
        wchar_t old[1024] = {};
        LONG size = sizeof old;
        const bool had = ::RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), old, &size) == ERROR_SUCCESS;
        m_saved.push_back({key, had ? std::wstring(old) : std::wstring(kAbsent)});
        ::RegSetValueW(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, command.c_str(), 0);
    }
}

CBrowserRecorder::~CBrowserRecorder() {
    for (auto& saved : m_saved) {
        if (saved.second == kAbsent) {
            ::RegDeleteTreeW(HKEY_CLASSES_ROOT, saved.first.c_str());
        } else {
            ::RegSetValueW(HKEY_CLASSES_ROOT, saved.first.c_str(), REG_SZ, saved.second.c_str(), 0);
        }
    }
    ::DeleteFileA(m_log);
}

std::vector<std::string> CBrowserRecorder::WaitFor(size_t count) {
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) {
        lines.clear();
        std::ifstream file(m_log.str());
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        if (lines.size() >= count) break;
        ::Sleep(50);
    }
    return lines;
}
