#include "commandbars/TkMenuEffects.h"

#include <vector>

bool TkReadUserPreferencesMask(DWORD* mask, HKEY root, const wchar_t* subKey) {
    *mask = 0;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    LONG status = ::RegQueryValueExW(key, L"UserPreferencesMask", nullptr, &type, nullptr, &size);
    std::vector<BYTE> data(size < sizeof(DWORD) ? sizeof(DWORD) : size, 0);
    if (status == ERROR_SUCCESS && type == REG_BINARY)
        status = ::RegQueryValueExW(key, L"UserPreferencesMask", nullptr, &type, data.data(), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_BINARY) return false;
    *mask = (DWORD)data[0] | (DWORD)data[1] << 8 | (DWORD)data[2] << 16 | (DWORD)data[3] << 24;
    return true;
}

int TkMenuAnimationFromMask(DWORD mask) {
    if (!(mask & TK_PREF_MENU_ANIMATION)) return 0;
    return (mask & TK_PREF_MENU_FADE) ? 4 : 3;
}

int TkGetSystemMenuAnimation() {
    DWORD mask = 0;
    TkReadUserPreferencesMask(&mask);
    return TkMenuAnimationFromMask(mask);
}

bool TkIsSystemDropShadowOn() {
    BOOL on = FALSE;
    return ::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &on, 0) && on;
}
