#include "painters/TkWindowsVersion.h"

CTkWindowsVersion::CTkWindowsVersion() {
    m_info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&m_info);
#pragma GCC diagnostic pop
}

CTkWindowsVersion& CTkWindowsVersion::Instance() {
    static CTkWindowsVersion version;
    return version;
}

bool CTkWindowsVersion::IsWin95Family(const OSVERSIONINFOA& info) {
    return info.dwPlatformId == 1 && info.dwMajorVersion == 4 && info.dwMinorVersion < 10;
}

bool CTkWindowsVersion::IsNT5OrLater(const OSVERSIONINFOA& info) {
    return info.dwPlatformId >= 2 && info.dwMajorVersion >= 5;
}

bool CTkWindowsVersion::IsWin95Family() const {
    return IsWin95Family(m_info);
}

bool CTkWindowsVersion::IsNT5OrLater() const {
    return IsNT5OrLater(m_info);
}
