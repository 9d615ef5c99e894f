// A desktop of the test process's own, on the test display, for tests that open windows.
#pragma once

#include <windows.h>

// Makes the calling thread use a desktop of that name and waits until windows can be created on
// it: the desktop's own process starts with the first window and, under load, late. When the
// named desktop does not come up (its process may be ending as another test program leaves it),
// a desktop of the name and this process's id is used instead. False when no desktop came up.
bool TestUseOwnDesktop(const wchar_t* name);
// Makes the calling thread use the named desktop and waits until windows can be created on it;
// false when they cannot within the time.
bool TestUseDesktop(const wchar_t* name, DWORD timeoutMs);
