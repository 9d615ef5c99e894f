// The operating system's version, read once, and the tests the toolkit makes of it.
#pragma once

#include "afx.h"

class CTkWindowsVersion {
public:
    static CTkWindowsVersion& Instance();
    // Platform 1, major 4, minor below 10.
    bool IsWin95Family() const;
    // Platform at least 2 and major at least 5.
    bool IsNT5OrLater() const;
    const OSVERSIONINFOA& Info() const { return m_info; }
    static bool IsWin95Family(const OSVERSIONINFOA& info);
    static bool IsNT5OrLater(const OSVERSIONINFOA& info);

private:
    CTkWindowsVersion();
    OSVERSIONINFOA m_info = {};
};
