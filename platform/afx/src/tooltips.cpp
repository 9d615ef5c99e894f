// Tooltips of the class library: one tooltip window per thread holds the one tool under the
// mouse, which the window under the mouse names through OnToolHitTest.
#include "afxcmn.h"

#include <cstdlib>
#include <cwchar>

namespace {

LONG g_textsAlive = 0;

struct CThreadToolTip {
    HWND tip = nullptr;
    HWND toolWnd = nullptr;
    UINT_PTR toolId = 0;
    UINT toolFlags = 0;
    RECT toolRect = {};
    INT_PTR hit = -1;
};

thread_local CThreadToolTip t_tip;

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) || message == WM_MOUSELEAVE;
}

void RemoveTool() {
    if (t_tip.hit == -1) return;
    if (t_tip.tip && ::IsWindow(t_tip.tip)) {
        TOOLINFOW info = {};
        info.cbSize = sizeof info;
        info.hwnd = t_tip.toolWnd;
        info.uId = t_tip.toolId;
        ::SendMessageW(t_tip.tip, TTM_DELTOOLW, 0, (LPARAM)&info);
    }
    t_tip.hit = -1;
    t_tip.toolWnd = nullptr;
}

// The thread's tooltip, owned by the top-level window of the tool's window.
HWND ToolTipFor(HWND toolWnd) {
    HWND root = ::GetAncestor(toolWnd, GA_ROOT);
    if (t_tip.tip && (!::IsWindow(t_tip.tip) || ::GetWindow(t_tip.tip, GW_OWNER) != root)) {
        if (::IsWindow(t_tip.tip)) ::DestroyWindow(t_tip.tip);
        t_tip.tip = nullptr;
        t_tip.hit = -1;
    }
    if (!t_tip.tip) {
        AfxInitCommonControls(ICC_BAR_CLASSES);
        t_tip.tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, root, nullptr,
                                      nullptr, nullptr);
        if (t_tip.tip) ::SendMessageW(t_tip.tip, TTM_SETMAXTIPWIDTH, 0, 300);
    }
    return t_tip.tip;
}

// The window under the mouse that shows tooltips: the message's window or a parent of it.
CWnd* ToolTipWindow(HWND hwnd) {
    for (; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
        if (wnd && wnd->AreToolTipsEnabled()) return wnd;
        if (!(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

}  // namespace

wchar_t* AfxAllocToolTipText(const char* text) {
    std::wstring wide = CString(text).Wide();
    auto* copy = static_cast<wchar_t*>(std::malloc((wide.size() + 1) * sizeof(wchar_t)));
    if (!copy) return nullptr;
    std::wmemcpy(copy, wide.c_str(), wide.size() + 1);
    ::InterlockedIncrement(&g_textsAlive);
    return copy;
}

void AfxFreeToolTipText(wchar_t* text) {
    if (!text || text == LPSTR_TEXTCALLBACKW) return;
    ::InterlockedDecrement(&g_textsAlive);
    std::free(text);
}

LONG AfxToolTipTextsAlive() {
    return g_textsAlive;
}

HWND AfxGetThreadToolTip() {
    return t_tip.tip && ::IsWindow(t_tip.tip) ? t_tip.tip : nullptr;
}

INT_PTR AfxGetCurrentToolId() {
    return t_tip.hit;
}

INT_PTR CWnd::OnToolHitTest(POINT point, TOOLINFOW* info) const {
    HWND child = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == m_hWnd) return -1;
    const int id = ::GetDlgCtrlID(child);
    if (info && info->cbSize >= 40) {
        info->hwnd = m_hWnd;
        info->uId = (UINT_PTR)child;
        info->uFlags |= TTF_IDISHWND;
        info->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return id ? id : -1;
}

void AfxRelayToolTipMessage(const MSG* msg) {
    if (!msg || !IsMouseMessage(msg->message)) return;
    CWnd* wnd = ToolTipWindow(msg->hwnd);
    const bool client = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
    TOOLINFOW info = {};
    info.cbSize = sizeof info;
    INT_PTR hit = -1;
    POINT point = msg->pt;
    if (wnd && client && wnd->IsWindow()) {
        ::ScreenToClient(wnd->m_hWnd, &point);
        hit = wnd->OnToolHitTest(point, &info);
    }
    if (hit == -1 || !info.hwnd) {
        AfxFreeToolTipText(info.lpszText);
        RemoveTool();
        return;
    }
    const bool sameTool = t_tip.hit == hit && t_tip.toolWnd == info.hwnd && t_tip.toolFlags == info.uFlags &&
                          ::EqualRect(&t_tip.toolRect, &info.rect) && t_tip.tip && ::IsWindow(t_tip.tip);
    if (!sameTool) {
        RemoveTool();
        if (HWND tip = ToolTipFor(info.hwnd)) {
            info.uFlags |= TTF_TRANSPARENT;
            if (::SendMessageW(tip, TTM_ADDTOOLW, 0, (LPARAM)&info)) {
                t_tip.hit = hit;
                t_tip.toolWnd = info.hwnd;
                t_tip.toolId = info.uId;
                t_tip.toolFlags = info.uFlags & ~TTF_TRANSPARENT;
                t_tip.toolRect = info.rect;
            }
        }
    } else {
        ::SendMessageW(t_tip.tip, TTM_UPDATETIPTEXTW, 0, (LPARAM)&info);
    }
    AfxFreeToolTipText(info.lpszText);
    if (t_tip.hit == -1) return;
    // The tooltip reads the point in the client area of the tool's window.
    MSG relayed = *msg;
    relayed.hwnd = info.hwnd;
    POINT inTool = msg->pt;
    ::ScreenToClient(info.hwnd, &inTool);
    relayed.lParam = MAKELPARAM(inTool.x, inTool.y);
    ::SendMessageW(t_tip.tip, TTM_RELAYEVENT, 0, (LPARAM)&relayed);
}
