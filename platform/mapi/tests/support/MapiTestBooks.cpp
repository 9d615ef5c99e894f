#include "MapiTestBooks.h"

#include <atomic>

namespace mapitest {

namespace {

void WriteFile(const std::wstring& path, const std::string& text) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

HMODULE Provider() {
    HMODULE module = ::GetModuleHandleW(L"mapi32.dll");
    return module && ::GetProcAddress(module, "TarvockMapiGetCounters") ? module : nullptr;
}

}  // namespace

CCard::CCard(const std::string& displayName) {
    m_lines.push_back("FN:" + displayName);
}

CCard& CCard::Name(const std::string& given, const std::string& surname) {
    return Line("N:" + surname + ";" + given + ";;;");
}

CCard& CCard::Nickname(const std::string& nickname) {
    return Line("NICKNAME:" + nickname);
}

CCard& CCard::Mobile(const std::string& number) {
    return Line("TEL;TYPE=CELL:" + number);
}

CCard& CCard::Phone(const std::string& types, const std::string& number) {
    return Line("TEL;TYPE=" + types + ":" + number);
}

CCard& CCard::Address(const std::vector<std::string>& streetLines, const std::string& town, const std::string& county,
                      const std::string& postcode, const std::string& country) {
    std::string street;
    for (size_t i = 0; i < streetLines.size(); ++i) street += (i ? "\\n" : "") + streetLines[i];
    return Line("ADR;TYPE=HOME:;;" + street + ";" + town + ";" + county + ";" + postcode + ";" + country);
}

CCard& CCard::Email(const std::string& address) {
    return Line("EMAIL;TYPE=INTERNET:" + address);
}

CCard& CCard::Group() {
    return Line("KIND:group");
}

CCard& CCard::Line(const std::string& line) {
    m_lines.push_back(line);
    return *this;
}

std::string CCard::Text() const {
    std::string text = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    for (const std::string& line : m_lines) text += line + "\r\n";
    return text + "END:VCARD\r\n";
}

CTestBooks::CTestBooks() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_root = std::wstring(temp) + L"tarvock-mapi-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(counter++);
    RemoveTree(m_root);
    ::CreateDirectoryW(m_root.c_str(), nullptr);
}

CTestBooks::~CTestBooks() {
    RemoveTree(m_root);
}

void CTestBooks::AddBook(const std::wstring& folder, const std::string& bookIni) {
    const std::wstring path = m_root + L"\\" + folder;
    ::CreateDirectoryW(path.c_str(), nullptr);
    if (!bookIni.empty()) WriteFile(path + L"\\book.ini", bookIni);
}

void CTestBooks::SetPersonal(const std::wstring& folder) {
    WriteFile(m_root + L"\\profile.ini", "[Profile]\r\nPersonalAddressBook=" + std::string(folder.begin(), folder.end()) + "\r\n");
}

void CTestBooks::AddFile(const std::wstring& folder, const std::wstring& file, const std::string& text) {
    WriteFile(m_root + L"\\" + folder + L"\\" + file, text);
}

CEnvironment::CEnvironment(const wchar_t* name, const std::wstring& value) : m_name(name) {
    wchar_t buffer[4096];
    const DWORD len = ::GetEnvironmentVariableW(name, buffer, 4096);
    m_hadValue = len > 0 && len < 4096;
    if (m_hadValue) m_previous.assign(buffer, len);
    ::SetEnvironmentVariableW(name, value.c_str());
}

CEnvironment::~CEnvironment() {
    ::SetEnvironmentVariableW(m_name.c_str(), m_hadValue ? m_previous.c_str() : nullptr);
}

TarvockMapiCounters ProviderCounters() {
    TarvockMapiCounters counters = {};
    if (HMODULE module = Provider()) {
        auto get = reinterpret_cast<void(WINAPI*)(TarvockMapiCounters*)>(::GetProcAddress(module, "TarvockMapiGetCounters"));
        get(&counters);
    }
    return counters;
}

void ResetProviderCounters() {
    if (HMODULE module = Provider()) {
        auto reset = reinterpret_cast<void(WINAPI*)()>(::GetProcAddress(module, "TarvockMapiResetCounters"));
        reset();
    }
}

bool ProviderLoaded() {
    return Provider() != nullptr;
}

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int len = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(len, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], len);
    return wide;
}

}  // namespace mapitest
