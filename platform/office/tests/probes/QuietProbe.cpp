// A module that never shows a message box (it imports none).
#include <windows.h>

extern "C" __declspec(dllexport) int QuietAnswer() { return static_cast<int>(::GetCurrentProcessId() != 0); }
