// A module that shows message boxes when asked: what an add-in does when something goes wrong.
#include <windows.h>

extern "C" __declspec(dllexport) int ShowProbeBoxA(const char* text, const char* caption, UINT type) {
    return ::MessageBoxA(nullptr, text, caption, type);
}

extern "C" __declspec(dllexport) int ShowProbeBoxW(const wchar_t* text, const wchar_t* caption, UINT type) {
    return ::MessageBoxW(nullptr, text, caption, type);
}
