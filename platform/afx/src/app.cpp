#include "afxdisp.h"

#include <shellapi.h>

#include <vector>

namespace {

CWinApp* g_app = nullptr;
HINSTANCE g_resourceHandle = nullptr;
AFX_MSGBOX_HOOK g_messageBoxHook;

HINSTANCE ProgramInstance() {
    return ::GetModuleHandleW(nullptr);
}

class CRegKey {
public:
    explicit CRegKey(HKEY key = nullptr) : m_key(key) {}
    ~CRegKey() {
        if (m_key) ::RegCloseKey(m_key);
    }
    HKEY m_key;
};

}  // namespace

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ProgramInstance();
}

HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle ? g_resourceHandle : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE resources) {
    g_resourceHandle = resources;
}

AFX_MSGBOX_HOOK AfxSetMessageBoxHook(AFX_MSGBOX_HOOK hook) {
    AFX_MSGBOX_HOOK previous = std::move(g_messageBoxHook);
    g_messageBoxHook = std::move(hook);
    return previous;
}

int AfxMessageBox(const char* text, UINT type, UINT helpId) {
    if (g_app) return g_app->DoMessageBox(text, type, helpId);
    if (g_messageBoxHook) return g_messageBoxHook(CString(text), type);
    return ::MessageBoxW(nullptr, CString(text).Wide().c_str(), L"", type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
    CString text;
    text.LoadString(promptId);
    return AfxMessageBox(text, type, helpId == (UINT)-1 ? promptId : helpId);
}

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

CWinApp::CWinApp(const char* appName) {
    if (appName) {
        m_strAppName = appName;
        m_pszAppName = m_strAppName;
    }
    m_pPreviousApp = g_app;
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = m_pPreviousApp;
}

bool CWinApp::InitApplication() {
    if (!m_hInstance) m_hInstance = ProgramInstance();
    if (!m_pszAppName) {
        // The title string of the program's own resources, else the program's file name.
        if (!m_strAppName.LoadString(m_hInstance, AFX_IDS_APP_TITLE)) {
            char path[MAX_PATH] = {};
            ::GetModuleFileNameA(m_hInstance, path, MAX_PATH);
            CString full(path);
            m_strAppName = full.Mid(full.ReverseFind('\\') + 1);
            int dot = m_strAppName.ReverseFind('.');
            if (dot > 0) m_strAppName = m_strAppName.Left(dot);
        }
        m_pszAppName = m_strAppName;
    }
    return true;
}

int CWinApp::ExitInstance() {
    return (int)m_msgCur.wParam;
}

bool CWinApp::PreTranslateMessage(MSG* msg) {
    AfxRelayToolTipMessage(msg);
    return CWnd::WalkPreTranslateTree(msg->hwnd, msg);
}

bool CWinApp::PumpMessage() {
    if (!::GetMessageW(&m_msgCur, nullptr, 0, 0)) return false;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return true;
}

bool CWinApp::OnIdle(LONG count) {
    if (count == 0) {
        // Update the user interface of the main window and of every visible frame of the thread.
        if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        std::vector<HWND> frames;
        ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hwnd, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&frames));
        for (HWND hwnd : frames) {
            if (m_pMainWnd && hwnd == m_pMainWnd->m_hWnd) continue;
            CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
            if (wnd && wnd->IsFrameWnd() && ::IsWindowVisible(hwnd)) wnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        }
        return true;
    }
    CWnd::DeleteTempMap();
    return false;
}

int CWinApp::Run() {
    bool idle = true;
    LONG idleCount = 0;
    MSG peek;
    for (;;) {
        while (idle && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        do {
            if (!PumpMessage()) return ExitInstance();
            UINT message = m_msgCur.message;
            if (message != WM_PAINT && message != WM_TIMER && message != 0x0118 /* caret blink */ &&
                message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

int CWinApp::DoMessageBox(const char* text, UINT type, UINT) {
    if (g_messageBoxHook) return g_messageBoxHook(CString(text), type);
    HWND owner = m_pMainWnd && ::IsWindowVisible(m_pMainWnd->m_hWnd) ? ::GetLastActivePopup(m_pMainWnd->m_hWnd)
                                                                      : nullptr;
    return ::MessageBoxW(owner, CString(text).Wide().c_str(), CString(m_pszAppName).Wide().c_str(), type);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    int count = 0;
    std::wstring line = L"program " + CString(m_lpCmdLine).Wide();
    LPWSTR* args = ::CommandLineToArgvW(line.c_str(), &count);
    if (!args) return;
    for (int i = 1; i < count; ++i) {
        CString arg(args[i]);
        bool isFlag = arg.GetLength() > 0 && (arg[0] == '/' || arg[0] == '-');
        info.ParseParam(isFlag ? arg.Mid(1) : arg, isFlag, i == count - 1);
    }
    ::LocalFree(args);
}

void CCommandLineInfo::ParseParam(const char* param, bool isFlag, bool) {
    CString text(param);
    if (!isFlag) {
        if (m_strFileName.IsEmpty()) m_strFileName = text;
        if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
        return;
    }
    if (text.CompareNoCase("Embedding") == 0) {
        m_bRunEmbedded = true;
        m_nShellCommand = FileNothing;
    } else if (text.CompareNoCase("Automation") == 0) {
        m_bRunAutomated = true;
        m_nShellCommand = FileNothing;
    } else if (text.CompareNoCase("Regserver") == 0 || text.CompareNoCase("Register") == 0) {
        m_nShellCommand = AppRegister;
    } else if (text.CompareNoCase("Unregserver") == 0 || text.CompareNoCase("Unregister") == 0) {
        m_nShellCommand = AppUnregister;
    }
}

// ---------------------------------------------------------------------------------------------
// Profile.

void CWinApp::SetRegistryKey(const char* key) {
    m_strRegistryKey = key;
    m_pszRegistryKey = m_strRegistryKey;
    m_strProfileName = m_pszAppName ? m_pszAppName : "";
    m_pszProfileName = m_strProfileName;
}

HKEY CWinApp::GetAppRegistryKey() {
    if (!m_pszRegistryKey || !m_pszProfileName) return nullptr;
    CString path;
    path.Format("Software\\%s\\%s", m_pszRegistryKey, m_pszProfileName);
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.Wide().c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetSectionKey(const char* section) {
    CRegKey app(GetAppRegistryKey());
    if (!app.m_key) return nullptr;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(app.m_key, CString(section).Wide().c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) {
    CRegKey key(GetSectionKey(section));
    if (!key.m_key) return (UINT)defaultValue;
    DWORD value = 0, type = 0, size = sizeof value;
    if (::RegQueryValueExW(key.m_key, CString(entry).Wide().c_str(), nullptr, &type, (BYTE*)&value, &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return (UINT)defaultValue;
    return value;
}

bool CWinApp::WriteProfileInt(const char* section, const char* entry, int value) {
    CRegKey key(GetSectionKey(section));
    DWORD data = (DWORD)value;
    return key.m_key && ::RegSetValueExW(key.m_key, CString(entry).Wide().c_str(), 0, REG_DWORD, (const BYTE*)&data,
                                         sizeof data) == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) {
    CRegKey key(GetSectionKey(section));
    std::wstring name = CString(entry).Wide();
    DWORD type = 0, size = 0;
    if (!key.m_key || ::RegQueryValueExW(key.m_key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return CString(defaultValue);
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(key.m_key, name.c_str(), nullptr, &type, (BYTE*)&value[0], &size);
    return CString(value.c_str());
}

bool CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
    if (!entry) {
        // No entry: the whole section goes, with its values and any sections below it.
        CRegKey app(GetAppRegistryKey());
        if (!app.m_key || !section || !*section) return false;
        const LSTATUS status = ::RegDeleteTreeW(app.m_key, CString(section).Wide().c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    CRegKey key(GetSectionKey(section));
    if (!key.m_key) return false;
    std::wstring name = CString(entry).Wide();
    if (!value) return ::RegDeleteValueW(key.m_key, name.c_str()) == ERROR_SUCCESS;
    std::wstring data = CString(value).Wide();
    return ::RegSetValueExW(key.m_key, name.c_str(), 0, REG_SZ, (const BYTE*)data.c_str(),
                            (DWORD)((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool CWinApp::GetProfileBinary(const char* section, const char* entry, std::vector<BYTE>& data) {
    data.clear();
    CRegKey key(GetSectionKey(section));
    std::wstring name = CString(entry).Wide();
    DWORD type = 0, size = 0;
    if (!key.m_key || ::RegQueryValueExW(key.m_key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_BINARY)
        return false;
    data.resize(size);
    if (size && ::RegQueryValueExW(key.m_key, name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
        data.clear();
        return false;
    }
    return true;
}

bool CWinApp::WriteProfileBinary(const char* section, const char* entry, const BYTE* data, UINT bytes) {
    CRegKey key(GetSectionKey(section));
    return key.m_key && ::RegSetValueExW(key.m_key, CString(entry).Wide().c_str(), 0, REG_BINARY, data, bytes) ==
                            ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------------------------

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int showCmd) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine ? cmdLine : "";
    app->m_nCmdShow = showCmd;
    int result = -1;
    if (app->InitApplication() && app->InitInstance()) {
        result = app->Run();
    } else {
        result = app->ExitInstance();
    }
    AfxOleTerm();
    return result;
}
