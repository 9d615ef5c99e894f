// Wide texts as ANSI code-page strings: the inserts of error texts and the log lines.
#pragma once

#include <windows.h>

#include <string>

inline std::string AnsiText(const wchar_t* text) {
    if (!text || !*text) return std::string();
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(length > 0 ? length - 1 : 0, '\0');
    if (length > 1) ::WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    return narrow;
}
