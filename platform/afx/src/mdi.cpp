#include "afxmdi.h"
#include "afxcreate.h"

namespace {

// True when the window's own procedure is the system's default one: the MDI procedures take
// its place. A window subclassed over another procedure keeps that procedure.
bool IsPlainDefault(WNDPROC super) {
    return !super || super == ::DefWindowProcW || super == ::DefWindowProcA;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CMDIFrameWnd.

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

bool CMDIFrameWnd::CreateClient(HMENU windowMenu) {
    if (!m_hWnd || m_hWndMDIClient) return false;
    CLIENTCREATESTRUCT ccs = {windowMenu, AFX_IDM_FIRST_MDICHILD};
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    m_hWndMDIClient = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL |
                                            WS_HSCROLL,
                                        0, 0, client.right, client.bottom, m_hWnd,
                                        (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST, AfxGetInstanceHandle(), &ccs);
    if (!m_hWndMDIClient) return false;
    RecalcLayout();
    return true;
}

HWND CMDIFrameWnd::MDIGetActiveHwnd(bool* maximized) const {
    BOOL max = FALSE;
    HWND active = m_hWndMDIClient ? (HWND)::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&max) : nullptr;
    if (maximized) *maximized = active && max;
    return active;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(bool* maximized) const {
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(MDIGetActiveHwnd(maximized)));
}

void CMDIFrameWnd::MDIActivate(HWND child) const {
    if (m_hWndMDIClient) ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)child, 0);
}

void CMDIFrameWnd::MDIMaximize(HWND child) const {
    if (m_hWndMDIClient) ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)child, 0);
}

void CMDIFrameWnd::MDIRestore(HWND child) const {
    if (m_hWndMDIClient) ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)child, 0);
}

bool CMDIFrameWnd::PreTranslateMessage(MSG* msg) {
    // Ctrl+F4, Ctrl+F6 and the child's system-menu keys.
    if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, msg)) return true;
    return CFrameWnd::PreTranslateMessage(msg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsPlainDefault(m_pfnSuper)) return CFrameWnd::DefWindowProc(message, wParam, lParam);
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// CMDIChildWnd.

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_SIZE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

bool CMDIChildWnd::Create(const char* className, const char* title, DWORD style, const RECT& rect,
                          CMDIFrameWnd* frame) {
    if (m_hWnd || !frame || !frame->m_hWndMDIClient) return false;
    CREATESTRUCTW cs = {};
    std::wstring wideClass = className ? CString(className).Wide() : std::wstring();
    cs.lpszClass = className ? wideClass.c_str() : nullptr;
    if (!PreCreateWindow(cs)) return false;
    std::wstring wideTitle = CString(title).Wide();
    MDICREATESTRUCTW mcs = {};
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = wideTitle.c_str();
    mcs.hOwner = AfxGetInstanceHandle();
    mcs.x = rect.left;
    mcs.y = rect.top;
    mcs.cx = rect.right - rect.left;
    mcs.cy = rect.bottom - rect.top;
    mcs.style = style;
    m_pMDIFrame = frame;
    CAfxCreatingWindow creating(this);
    HWND hwnd = (HWND)::SendMessageW(frame->m_hWndMDIClient, WM_MDICREATE, 0, (LPARAM)&mcs);
    AfxUnhookWindowCreate();
    if (!hwnd || m_hWnd != hwnd) {
        if (m_hWnd) Detach();
        m_pMDIFrame = nullptr;
        return false;
    }
    return true;
}

void CMDIChildWnd::MDIDestroy() {
    if (m_hWnd && m_pMDIFrame && m_pMDIFrame->m_hWndMDIClient)
        ::SendMessageW(m_pMDIFrame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::OnSize(UINT type, int cx, int cy) {
    CFrameWnd::OnSize(type, cx, cy);
    // The MDI system follows maximising and restoring through the child's WM_SIZE.
    Default();
}

void CMDIChildWnd::OnClose() {
    MDIDestroy();
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsPlainDefault(m_pfnSuper)) return CFrameWnd::DefWindowProc(message, wParam, lParam);
    return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}
