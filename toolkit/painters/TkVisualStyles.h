// The visual-styles library, loaded at run time so that the program also runs without it.
#pragma once

#include <windows.h>

class CTkVisualStyles {
public:
    CTkVisualStyles();
    ~CTkVisualStyles();
    CTkVisualStyles(const CTkVisualStyles&) = delete;
    CTkVisualStyles& operator=(const CTkVisualStyles&) = delete;

    // Closes the current theme, then opens the class list's theme for the window (none on failure).
    void OpenTheme(HWND hwnd, LPCWSTR classList);
    void CloseTheme();
    HRESULT DrawBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip);
    HRESULT GetCurrentThemeName(LPWSTR fileName, int fileNameLength, LPWSTR colorName, int colorNameLength,
                                LPWSTR sizeName, int sizeNameLength);
    // False while no theme is open, else whether the application is themed.
    bool IsThemed();
    // Tests play a system without visual styles: every wrapper then reports "not themed".
    static void SetForceUnthemed(bool on);

    bool IsLoaded() const { return m_hUxTheme != nullptr; }
    HANDLE GetThemeHandle() const { return m_hTheme; }

private:
    FARPROC Lookup(FARPROC& cache, const char* name);

    HMODULE m_hUxTheme = nullptr;
    HMODULE m_hComCtl = nullptr;
    HANDLE m_hTheme = nullptr;
    FARPROC m_pfnOpenThemeData = nullptr;
    FARPROC m_pfnCloseThemeData = nullptr;
    FARPROC m_pfnDrawThemeBackground = nullptr;
    FARPROC m_pfnGetCurrentThemeName = nullptr;
    FARPROC m_pfnIsAppThemed = nullptr;
};
