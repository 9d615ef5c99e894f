// Reads and writes text values of the program's registry profile: under the root key,
// "Software\<registry key>\<profile name>\<section>", the names taken from the application
// object. Made on the stack for each read or write; every key is closed after each call.
#pragma once

#include "afx.h"

class CTkSettingsStore {
public:
    explicit CTkSettingsStore(HKEY root = HKEY_CURRENT_USER) : m_hRoot(root) {}

    // The profile key, created when missing (the caller closes it); none when the application
    // has no registry key or profile name yet, or on failure.
    HKEY GetAppKey();
    // The section's key under the profile key, created when missing; none for an empty
    // section name or on failure.
    HKEY GetSectionKey(const char* section);

    // With an entry: writes the text as REG_SZ, or deletes the value when the text is null.
    // Without an entry: deletes the whole section. An empty section name is refused (false).
    bool WriteString(const char* section, const char* entry, const char* text);
    // The entry's text (up to its first zero); the default when it is missing, not text, or
    // cannot be read.
    CString GetString(const char* section, const char* entry, const char* defaultText = nullptr);

private:
    bool HaveNames();

    HKEY m_hRoot;
    const char* m_pszRegistryKey = nullptr;
    const char* m_pszProfileName = nullptr;
};
