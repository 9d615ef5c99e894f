#include "painters/TkVisualStyles.h"

namespace {
using PFNOPENTHEMEDATA = HANDLE(WINAPI*)(HWND, LPCWSTR);
using PFNCLOSETHEMEDATA = HRESULT(WINAPI*)(HANDLE);
using PFNDRAWTHEMEBACKGROUND = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
using PFNGETCURRENTTHEMENAME = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
using PFNISAPPTHEMED = BOOL(WINAPI*)();

bool g_forceUnthemed = false;

template <class F>
F As(FARPROC proc) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(proc));
}
}  // namespace

CTkVisualStyles::CTkVisualStyles() {
    m_hUxTheme = ::LoadLibraryW(L"UxTheme.dll");
    m_hComCtl = ::LoadLibraryW(L"comctl32.dll");
}

CTkVisualStyles::~CTkVisualStyles() {
    CloseTheme();
    if (m_hUxTheme) ::FreeLibrary(m_hUxTheme);
    if (m_hComCtl) ::FreeLibrary(m_hComCtl);
}

FARPROC CTkVisualStyles::Lookup(FARPROC& cache, const char* name) {
    if (!m_hUxTheme) return nullptr;
    if (!cache) cache = ::GetProcAddress(m_hUxTheme, name);
    return cache;
}

void CTkVisualStyles::OpenTheme(HWND hwnd, LPCWSTR classList) {
    if (!m_hUxTheme) return;
    CloseTheme();
    if (auto open = As<PFNOPENTHEMEDATA>(Lookup(m_pfnOpenThemeData, "OpenThemeData")))
        m_hTheme = open(hwnd, classList);
}

void CTkVisualStyles::CloseTheme() {
    if (m_hUxTheme && m_hTheme) {
        if (auto close = As<PFNCLOSETHEMEDATA>(Lookup(m_pfnCloseThemeData, "CloseThemeData"))) close(m_hTheme);
    }
    m_hTheme = nullptr;
}

HRESULT CTkVisualStyles::DrawBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip) {
    auto draw = As<PFNDRAWTHEMEBACKGROUND>(Lookup(m_pfnDrawThemeBackground, "DrawThemeBackground"));
    if (!draw) return E_FAIL;
    return draw(m_hTheme, dc, part, state, rect, clip);
}

HRESULT CTkVisualStyles::GetCurrentThemeName(LPWSTR fileName, int fileNameLength, LPWSTR colorName,
                                             int colorNameLength, LPWSTR sizeName, int sizeNameLength) {
    auto get = As<PFNGETCURRENTTHEMENAME>(Lookup(m_pfnGetCurrentThemeName, "GetCurrentThemeName"));
    if (!get) return E_FAIL;
    return get(fileName, fileNameLength, colorName, colorNameLength, sizeName, sizeNameLength);
}

void CTkVisualStyles::SetForceUnthemed(bool on) {
    g_forceUnthemed = on;
}

bool CTkVisualStyles::IsThemed() {
    if (!m_hTheme || g_forceUnthemed) return false;
    auto themed = As<PFNISAPPTHEMED>(Lookup(m_pfnIsAppThemed, "IsAppThemed"));
    return themed && themed() != FALSE;
}
