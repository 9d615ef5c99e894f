#include "afxwin.h"
#include "afxcreate.h"

#include <memory>

// A thread's objects (thread_local with a destructor: the handle maps below, the toolkit's hooks
// and trackers) are destroyed at the thread's end by the C++ runtime's thread-exit key, and their
// storage is given back by the emulated-TLS key. Keys are served in the order they were made,
// and the storage key is made by the first thread object used, so it came first: every such
// destructor then ran on freed storage and damaged the heap. Making the thread-exit key before
// anything else, at start-up, puts the destructors before the storage's release.
extern "C" int __cxa_thread_atexit(void (*)(void*), void*, void*);
extern "C" void* __dso_handle;
namespace {
struct CThreadExitKeyFirst {
    CThreadExitKeyFirst() { __cxa_thread_atexit([](void*) {}, nullptr, &__dso_handle); }
} g_threadExitKeyFirst __attribute__((init_priority(101)));
}  // namespace

namespace {

// The thread's handle maps: permanent objects, and temporary ones made by FromHandle.
std::map<HWND, CWnd*>& PermanentMap() {
    static thread_local std::map<HWND, CWnd*> map;
    return map;
}
std::map<HWND, std::unique_ptr<CWnd>>& TemporaryMap() {
    static thread_local std::map<HWND, std::unique_ptr<CWnd>> map;
    return map;
}

// The creation hook: the object waiting for the next window the thread creates.
thread_local CWnd* t_wndInit = nullptr;
thread_local HHOOK t_cbtHook = nullptr;
// The message being handled, for Default().
thread_local MSG t_lastMsg = {};
// The objects whose windows are being made, the innermost first: a creation that fails leaves
// them to their callers.
thread_local CAfxCreatingWindow* t_creating = nullptr;

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_wndInit) {
        CWnd* wnd = t_wndInit;
        t_wndInit = nullptr;
        wnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(t_cbtHook, code, wParam, lParam);
}

}  // namespace

void AfxHookWindowCreate(CWnd* wnd) {
    if (!t_cbtHook) t_cbtHook = ::SetWindowsHookExW(WH_CBT, CbtFilterHook, nullptr, ::GetCurrentThreadId());
    t_wndInit = wnd;
}

CAfxCreatingWindow::CAfxCreatingWindow(CWnd* wnd) : m_wnd(wnd), m_outer(t_creating) {
    t_creating = this;
    AfxHookWindowCreate(wnd);
}

CAfxCreatingWindow::~CAfxCreatingWindow() {
    t_creating = m_outer;
}

bool CAfxCreatingWindow::IsCreating(const CWnd* wnd) {
    for (const CAfxCreatingWindow* scope = t_creating; scope; scope = scope->m_outer)
        if (scope->m_wnd == wnd) return true;
    return false;
}

bool AfxUnhookWindowCreate() {
    bool attached = t_wndInit == nullptr;
    t_wndInit = nullptr;
    return attached;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    static std::set<std::string> registered;
    char name[96];
    std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", (void*)AfxGetInstanceHandle(), classStyle,
                  (void*)cursor, (void*)background, (void*)icon);
    auto it = registered.find(name);
    if (it != registered.end()) return it->c_str();
    std::wstring wideName = CString(name).Wide();
    WNDCLASSW wc = {};
    if (!::GetClassInfoW(AfxGetInstanceHandle(), wideName.c_str(), &wc)) {
        wc.style = classStyle;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = wideName.c_str();
        if (!::RegisterClassW(&wc)) return nullptr;
    }
    return registered.insert(name).first->c_str();
}

// Ends a window's life in its object: leaves the handle map; the main window ends the loop.
void AfxHandleNcDestroy(CWnd* wnd) {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == wnd) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    if (wnd->m_pfnSuper) ::SetWindowLongPtrW(wnd->m_hWnd, GWLP_WNDPROC, (LONG_PTR)wnd->m_pfnSuper);
    wnd->m_pfnSuper = nullptr;
    wnd->Detach();
    if (!CAfxCreatingWindow::IsCreating(wnd)) wnd->PostNcDestroy();
}

MSG* AfxGetCurrentMessage() {
    return &t_lastMsg;
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    MSG saved = t_lastMsg;
    t_lastMsg = {hwnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hwnd) == wnd) AfxHandleNcDestroy(wnd);
    t_lastMsg = saved;
    return result;
}

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        HWND hwnd = m_hWnd;
        if (m_pfnSuper) ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
        Detach();
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    auto& map = PermanentMap();
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hwnd)) return wnd;
    auto& temp = TemporaryMap()[hwnd];
    if (!temp) {
        temp.reset(new CWnd);
        temp->m_hWnd = hwnd;
    }
    return temp.get();
}

void CWnd::DeleteTempMap() {
    for (auto& entry : TemporaryMap()) entry.second->m_hWnd = nullptr;
    TemporaryMap().clear();
}

bool CWnd::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd) return false;
    m_hWnd = hwnd;
    PermanentMap()[hwnd] = this;
    auto& temp = TemporaryMap();
    auto it = temp.find(hwnd);
    if (it != temp.end()) it->second->m_hWnd = nullptr;  // a stale temporary no longer speaks for it
    return true;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (hwnd) {
        auto& map = PermanentMap();
        auto it = map.find(hwnd);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hWnd = nullptr;
    return hwnd;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd)) return false;
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (old != AfxWndProc) m_pfnSuper = old;
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND control = ::GetDlgItem(parent->m_hWnd, id);
    return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

bool CWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!cs.lpszClass) {
        static std::wstring defaultClass;
        defaultClass = CString(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                   (HBRUSH)(COLOR_WINDOW + 1))).Wide();
        cs.lpszClass = defaultClass.c_str();
    }
    return true;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, void* param) {
    std::wstring wideClass = className ? CString(className).Wide() : std::wstring();
    std::wstring wideName = CString(windowName).Wide();
    CREATESTRUCTW cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className ? wideClass.c_str() : nullptr;
    cs.lpszName = wideName.c_str();
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return false;
    CAfxCreatingWindow creating(this);
    HWND hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    if (!hwnd) {
        if (m_hWnd) Detach();
        return false;
    }
    return m_hWnd == hwnd;
}

bool CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, void*) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr, (HMENU)(UINT_PTR)id);
}

bool CWnd::DestroyWindow() {
    if (!m_hWnd) return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return false;
        *result = 1;
        return true;
    }
    if (message == WM_NOTIFY) {
        LRESULT notifyResult = 0;
        if (!OnNotify(wParam, lParam, &notifyResult)) return false;
        *result = notifyResult;
        return true;
    }
    if (message == WM_DRAWITEM) {
        // An owner-drawn control draws itself (reflection), unless its parent draws it.
        auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        CWnd* child = draw && draw->CtlType != ODT_MENU ? FromHandlePermanent(draw->hwndItem) : nullptr;
        if (child && child->OnChildNotify(message, wParam, lParam, result)) return true;
    }
    const AFX_MSGMAP_ENTRY* entry = FindEntry(message, 0, 0);
    if (!entry) return false;
    AFX_MSGCALL call = {message, wParam, lParam, nullptr, 0};
    if (!entry->pfn(this, call)) return false;
    *result = call.result;
    return true;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_lastMsg.message, t_lastMsg.wParam, t_lastMsg.lParam);
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control) {
        // A control's own notification may be handled by the control first (reflection).
        if (CWnd* child = FromHandlePermanent(control)) {
            LRESULT ignored = 0;
            if (child->OnChildNotify(WM_COMMAND, wParam, lParam, &ignored)) return true;
        }
    } else {
        code = CN_COMMAND;  // menu (0) and accelerator (1)
    }
    return OnCmdMsg(id, code, nullptr);
}

bool CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (CWnd* child = FromHandlePermanent(header->hwndFrom)) {
        if (child->OnChildNotify(WM_NOTIFY, 0, lParam, result)) return true;
    }
    const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_NOTIFY, header->code, (UINT)header->idFrom);
    if (!entry) return false;
    AFX_MSGCALL call = {WM_NOTIFY, header->idFrom, lParam, nullptr, 0};
    if (!entry->pfn(this, call)) return false;
    *result = call.result;
    return true;
}

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    UINT code = message == WM_NOTIFY    ? reinterpret_cast<NMHDR*>(lParam)->code
                : message == WM_COMMAND ? HIWORD(wParam)
                                        : 0;
    const AFX_MSGMAP_ENTRY* entry = FindEntry(message + WM_REFLECT_BASE, code, 0);
    if (!entry) return false;
    AFX_MSGCALL call = {message, wParam, lParam, nullptr, 0};
    if (!entry->pfn(this, call)) return false;
    *result = call.result;
    return true;
}

bool CWnd::PreTranslateMessage(MSG*) {
    return false;
}

bool CWnd::WalkPreTranslateTree(HWND hwnd, MSG* msg) {
    for (; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd) {
            if (wnd->PreTranslateMessage(msg)) return true;
            if (wnd->PreTranslatesParents()) break;
        }
        if (!(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

bool CWnd::UpdateData(bool saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
        return true;
    } catch (const CUserException&) {
        return false;
    }
}

void CWnd::SetWindowText(const char* text) {
    ::SetWindowTextW(m_hWnd, CString(text).Wide().c_str());
}

CString CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(length + 1, L'\0');
    ::GetWindowTextW(m_hWnd, &text[0], length + 1);
    text.resize(length);
    return CString(text.c_str());
}

void CWnd::SetDlgItemText(int id, const char* text) {
    ::SetDlgItemTextW(m_hWnd, id, CString(text).Wide().c_str());
}

CString CWnd::GetDlgItemText(int id) const {
    HWND control = ::GetDlgItem(m_hWnd, id);
    if (!control) return CString();
    return FromHandle(control)->GetWindowText();
}

void CWnd::ScreenToClient(RECT* rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    CRect area;
    HWND owner = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) {
        ::GetClientRect(::GetParent(m_hWnd), &area);
    } else if (owner && ::IsWindowVisible(owner)) {
        ::GetWindowRect(owner, &area);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    CRect mine;
    GetWindowRect(&mine);
    int x = area.left + (area.Width() - mine.Width()) / 2;
    int y = area.top + (area.Height() - mine.Height()) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool deep) {
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, message, wParam, lParam);
        if (deep) FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, deep);
    }
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    return FromHandle(top ? top : m_hWnd);
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND parent = ::GetParent(m_hWnd); parent; parent = ::GetParent(parent)) {
        CWnd* wnd = FromHandlePermanent(parent);
        if (wnd && wnd->IsFrameWnd()) return static_cast<CFrameWnd*>(wnd);
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Controls.

int CComboBox::AddString(const char* text) {
    return (int)::SendMessageW(m_hWnd, CB_ADDSTRING, 0, (LPARAM)CString(text).Wide().c_str());
}

CString CComboBox::GetLBText(int index) const {
    int length = (int)SendMessage(CB_GETLBTEXTLEN, index);
    if (length < 0) return CString();
    std::wstring text(length + 1, L'\0');
    SendMessage(CB_GETLBTEXT, index, (LPARAM)&text[0]);
    text.resize(length);
    return CString(text.c_str());
}

int CComboBox::InsertString(int index, const char* text) {
    return (int)::SendMessageW(m_hWnd, CB_INSERTSTRING, index, (LPARAM)CString(text).Wide().c_str());
}

int CComboBox::FindStringExact(int after, const char* text) const {
    return (int)::SendMessageW(m_hWnd, CB_FINDSTRINGEXACT, after, (LPARAM)CString(text).Wide().c_str());
}

void* CComboBox::GetItemDataPtr(int index) const {
    LRESULT data = SendMessage(CB_GETITEMDATA, index);
    return data == CB_ERR ? nullptr : reinterpret_cast<void*>(data);
}

int CListBox::InsertString(int index, const char* text) {
    return (int)::SendMessageW(m_hWnd, LB_INSERTSTRING, index, (LPARAM)CString(text).Wide().c_str());
}

int CListBox::FindStringExact(int after, const char* text) const {
    return (int)::SendMessageW(m_hWnd, LB_FINDSTRINGEXACT, after, (LPARAM)CString(text).Wide().c_str());
}

void* CListBox::GetItemDataPtr(int index) const {
    LRESULT data = SendMessage(LB_GETITEMDATA, index);
    return data == LB_ERR ? nullptr : reinterpret_cast<void*>(data);
}

int CListBox::AddString(const char* text) {
    return (int)::SendMessageW(m_hWnd, LB_ADDSTRING, 0, (LPARAM)CString(text).Wide().c_str());
}

CString CListBox::GetText(int index) const {
    int length = (int)SendMessage(LB_GETTEXTLEN, index);
    if (length < 0) return CString();
    std::wstring text(length + 1, L'\0');
    SendMessage(LB_GETTEXT, index, (LPARAM)&text[0]);
    text.resize(length);
    return CString(text.c_str());
}

// ---------------------------------------------------------------------------------------------
// The wait cursor.

namespace {
thread_local int t_waitDepth = 0;
}

CWaitCursor::CWaitCursor() {
    ++t_waitDepth;
    m_previous = ::SetCursor(::LoadCursorW(nullptr, (LPCWSTR)IDC_WAIT));
}

CWaitCursor::~CWaitCursor() {
    if (--t_waitDepth == 0) {
        ::SetCursor(m_previous);
    }
}

void CWaitCursor::Restore() {
    ::SetCursor(::LoadCursorW(nullptr, (LPCWSTR)IDC_WAIT));
}
