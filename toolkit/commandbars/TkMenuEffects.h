// What the system's settings say of menu effects: the menu animation in the user's preference
// mask and the drop-shadow switch.
#pragma once

#include <windows.h>

// Bits of the user's preference mask.
enum : DWORD {
    TK_PREF_MENU_ANIMATION = 0x2,
    TK_PREF_MENU_FADE = 0x200,
};

// Reads the binary value "UserPreferencesMask" under the key (the current user's "Control
// Panel\Desktop" by default) whatever its size (8 bytes and more on current systems, 4 on old
// ones); mask gets its first four bytes, zero-padded. False and 0 when it cannot be read.
bool TkReadUserPreferencesMask(DWORD* mask, HKEY root = HKEY_CURRENT_USER,
                               const wchar_t* subKey = L"Control Panel\\Desktop");
// The popup animation the mask asks for: 0 none, 3 slide, 4 fade.
int TkMenuAnimationFromMask(DWORD mask);
// The popup animation the system asks for now.
int TkGetSystemMenuAnimation();
// The system's drop-shadow setting (SPI_GETDROPSHADOW); off when it cannot be asked.
bool TkIsSystemDropShadowOn();
