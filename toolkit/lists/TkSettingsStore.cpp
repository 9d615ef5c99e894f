#include "lists/TkSettingsStore.h"

#include "afxwin.h"

namespace {
// Closes a key at the end of a scope.
struct CKeyScope {
    HKEY m_key;
    explicit CKeyScope(HKEY key) : m_key(key) {}
    ~CKeyScope() {
        if (m_key) ::RegCloseKey(m_key);
    }
    CKeyScope(const CKeyScope&) = delete;
    CKeyScope& operator=(const CKeyScope&) = delete;
};

const REGSAM kAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;

HKEY CreateKey(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (!parent || ::RegCreateKeyExW(parent, CString(name).Wide().c_str(), 0, nullptr, 0, kAccess, nullptr, &key,
                                     nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool IsEmpty(const char* text) {
    return !text || !*text;
}
}  // namespace

bool CTkSettingsStore::HaveNames() {
    if (!m_pszRegistryKey || !m_pszProfileName) {
        if (CWinApp* app = AfxGetApp()) {
            m_pszRegistryKey = app->m_pszRegistryKey;
            m_pszProfileName = app->m_pszProfileName;
        }
    }
    return !IsEmpty(m_pszRegistryKey) && !IsEmpty(m_pszProfileName);
}

HKEY CTkSettingsStore::GetAppKey() {
    if (!HaveNames()) return nullptr;
    CKeyScope software(CreateKey(m_hRoot, "Software"));
    CKeyScope maker(CreateKey(software.m_key, m_pszRegistryKey));
    return CreateKey(maker.m_key, m_pszProfileName);
}

HKEY CTkSettingsStore::GetSectionKey(const char* section) {
    if (IsEmpty(section)) return nullptr;
    CKeyScope app(GetAppKey());
    return CreateKey(app.m_key, section);
}

bool CTkSettingsStore::WriteString(const char* section, const char* entry, const char* text) {
    if (IsEmpty(section)) return false;
    if (!entry) {
        CKeyScope app(GetAppKey());
        return app.m_key && ::RegDeleteKeyW(app.m_key, CString(section).Wide().c_str()) == ERROR_SUCCESS;
    }
    CKeyScope key(GetSectionKey(section));
    if (!key.m_key) return false;
    std::wstring name = CString(entry).Wide();
    if (!text) return ::RegDeleteValueW(key.m_key, name.c_str()) == ERROR_SUCCESS;
    std::wstring data = CString(text).Wide();
    return ::RegSetValueExW(key.m_key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            (DWORD)((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

CString CTkSettingsStore::GetString(const char* section, const char* entry, const char* defaultText) {
    CKeyScope key(GetSectionKey(section));
    if (!key.m_key) return CString(defaultText);
    std::wstring name = CString(entry).Wide();
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key.m_key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return CString(defaultText);
    // Room for the value and a terminator of our own: a stored text need not end in one.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    if (::RegQueryValueExW(key.m_key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || read > size)
        return CString(defaultText);
    buffer[read / sizeof(wchar_t)] = L'\0';
    return CString(buffer.data());
}
