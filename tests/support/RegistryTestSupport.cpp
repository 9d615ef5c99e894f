#include "RegistryTestSupport.h"

namespace testsupport {

namespace {

// The names a key's subkeys (or values) enumerate to.
template <class Enumerate>
std::set<std::wstring> Names(const std::wstring& path, Enumerate enumerate) {
    std::set<std::wstring> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = 256;
        if (enumerate(key, i, name, &len) != ERROR_SUCCESS) break;
        names.insert(name);
    }
    ::RegCloseKey(key);
    return names;
}

}  // namespace

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

std::wstring Value(const std::wstring& path, const wchar_t* name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<missing>";
    const LONG rc = ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return L"<missing>";
    return data;
}

std::set<std::wstring> SubKeys(const std::wstring& path) {
    return Names(path, [](HKEY key, DWORD i, wchar_t* name, DWORD* len) {
        return ::RegEnumKeyExW(key, i, name, len, nullptr, nullptr, nullptr, nullptr);
    });
}

std::set<std::wstring> ValueNames(const std::wstring& path) {
    return Names(path, [](HKEY key, DWORD i, wchar_t* name, DWORD* len) {
        return ::RegEnumValueW(key, i, name, len, nullptr, nullptr, nullptr, nullptr);
    });
}

DWORD RunRegsvr32(const std::wstring& arguments) {
    std::wstring commandLine = L"regsvr32.exe /s " + arguments;
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return static_cast<DWORD>(-1);
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = static_cast<DWORD>(-1);
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return exitCode;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace testsupport
