// The server's message boxes go through one function, which tests replace to see them.
#pragma once

#include <windows.h>

typedef int(WINAPI* MessageBoxFunction)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// MessageBoxA without owner, unless a test replaced it.
int ShowMessageBox(const char* text, const char* caption, UINT type);
// Replaces the function (null restores MessageBoxA); returns the one before.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);
