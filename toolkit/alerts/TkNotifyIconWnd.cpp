#include "alerts/TkNotifyIconWnd.h"

#include "painters/TkSystemData.h"
#include "painters/TkWindowsVersion.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

CTkNotifyIconWnd::PFNSHELLNOTIFYICON CTkNotifyIconWnd::s_pfnShellNotifyIcon = ::Shell_NotifyIconA;

namespace {
UINT TaskbarCreatedMessage() {
    static UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

// Copies at most limit - 1 bytes without cutting a double-byte character.
void CopyTip(char* target, const char* text, int limit) {
    int length = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    while (p[length] && length < limit - 1) {
        int size = ::IsDBCSLeadByte(p[length]) && p[length + 1] ? 2 : 1;
        if (length + size > limit - 1) break;
        length += size;
    }
    std::memcpy(target, p, length);
    target[length] = '\0';
}
}  // namespace

CTkNotifyIconWnd::CTkNotifyIconWnd() {
    // The version-5 layout of this build's (64-bit) structure: everything before guidItem.
    m_nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    static_assert(NOTIFYICONDATAA_V2_SIZE == offsetof(NOTIFYICONDATAA, guidItem), "version-5 record size");
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = TK_WM_TRAYNOTIFY;
}

CTkNotifyIconWnd::~CTkNotifyIconWnd() {
    if (!m_bRemoved) Notify(NIM_DELETE, 0);
    if (m_hWnd) DestroyWindow();
    ClearAnimation();
    if (m_pHiddenParent) m_pHiddenParent->DestroyWindow();
}

bool CTkNotifyIconWnd::Notify(DWORD message, UINT flags) {
    NOTIFYICONDATAA record = m_nid;
    record.uFlags = flags;
    return s_pfnShellNotifyIcon && s_pfnShellNotifyIcon(message, &record) != FALSE;
}

bool CTkNotifyIconWnd::Create(const char* tip, UINT, CWnd* notifyWnd, UINT iconResourceId) {
    return Create(tip, notifyWnd, iconResourceId, 0, 0, false);
}

bool CTkNotifyIconWnd::Create(const char* tip, CWnd* notifyWnd, UINT iconResourceId, UINT iconId, UINT defaultItem,
                              bool byPosition) {
    m_nIconResourceId = iconResourceId;
    CString text(tip);
    if (text.GetLength() > m_nTipLimit - 1) text = text.Left(m_nTipLimit - 1);
    m_nTipLimit = 128;
    m_pNotifyWnd = notifyWnd;
    SetIconFromResource(iconResourceId);
    SetTipText(text);
    if (!m_hWnd &&
        !CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr))
        return false;
    m_nid.hWnd = m_hWnd;
    m_nid.uID = iconId;
    m_nDefaultItem = defaultItem;
    m_bDefaultByPosition = byPosition;
    m_nCreateFlags = m_nid.uFlags;
    return AddTrayIcon();
}

bool CTkNotifyIconWnd::AddTrayIcon() {
    if (!m_bRemoved) {
        m_bReAdd = false;
        if (Notify(NIM_DELETE, 0)) {
            m_bHidden = true;
            m_bRemoved = true;
        }
    }
    m_nid.dwState = 0;  // a new icon is never hidden
    m_nid.dwStateMask = 0;
    // Either way the icon is to come back when the taskbar is (re-)created: a failed add is
    // retried then, and a shown icon is added again to the new taskbar.
    m_bReAdd = true;
    if (!Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP)) return false;
    m_bHidden = false;
    m_bRemoved = false;
    return true;
}

bool CTkNotifyIconWnd::RemoveTrayIcon() {
    m_bReAdd = false;
    if (m_bRemoved) return true;
    if (!Notify(NIM_DELETE, 0)) return false;
    m_bHidden = true;
    m_bRemoved = true;
    return true;
}

bool CTkNotifyIconWnd::HideTrayIcon() {
    if (m_bHidden || m_bRemoved) return true;
    if (CTkWindowsVersion::Instance().IsNT5OrLater()) {
        m_nid.dwState = NIS_HIDDEN;
        m_nid.dwStateMask = NIS_HIDDEN;
        m_bHidden = Notify(NIM_MODIFY, NIF_STATE);
        return m_bHidden;
    }
    return RemoveTrayIcon();
}

// Run when the taskbar has been (re-)created and when the work area changes. An icon that was
// shown, or whose add failed, is added again; one hidden or removed on request stays away.
bool CTkNotifyIconWnd::ShowTrayIcon() {
    const bool hiddenOnRequest = m_bHidden && !m_bRemoved;
    if (!m_bReAdd || hiddenOnRequest) return false;
    // The shell may still hold the icon (a work-area change keeps the taskbar): take it out
    // first, so that the add below cannot fail on it or leave a second, stale one behind.
    if (!m_bRemoved) Notify(NIM_DELETE, 0);
    m_nid.dwState = 0;
    m_nid.dwStateMask = 0;
    const bool added = Notify(NIM_ADD, m_nCreateFlags);
    m_bHidden = !added;
    m_bRemoved = !added;
    m_bReAdd = added;
    return added;
}

bool CTkNotifyIconWnd::SetTipText(const char* text) {
    m_strTip = text ? text : "";
    CopyTip(m_nid.szTip, m_strTip, std::min<int>(m_nTipLimit, sizeof m_nid.szTip));
    if (m_bHidden) return true;
    return Notify(NIM_MODIFY, NIF_TIP);
}

HICON CTkNotifyIconWnd::LoadSmallIcon(UINT iconResourceId) const {
    const CTkSystemData& data = CTkSystemData::Instance();
    return (HICON)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(iconResourceId), IMAGE_ICON,
                               data.m_nSmallIconWidth, data.m_nSmallIconHeight, 0);
}

bool CTkNotifyIconWnd::SetIconFromResource(UINT iconResourceId) {
    HICON icon = LoadSmallIcon(iconResourceId);
    if (!icon) return false;
    return SetIconHandle(icon);
}

bool CTkNotifyIconWnd::SetIconHandle(HICON icon) {
    if (icon != m_icon.GetIcon()) m_icon.Reset(icon);
    if (m_icon.GetIcon() == m_nid.hIcon) return true;
    m_nid.hIcon = m_icon.GetIcon();
    if (m_bHidden) return true;
    return Notify(NIM_MODIFY, NIF_ICON);
}

void CTkNotifyIconWnd::StopAnimation() {
    if (m_hWnd) KillTimer(m_nAnimationTimer);
    SetTipText(CString(m_strTip));
    SetIconFromResource(m_nIconResourceId);
}

void CTkNotifyIconWnd::StartAnimation(UINT periodMs) {
    if (m_hWnd) SetTimer(m_nAnimationTimer, periodMs);
}

void CTkNotifyIconWnd::SetAnimationTimer(UINT timerId, UINT periodMs) {
    m_nAnimationTimer = timerId;
    StartAnimation(periodMs);
}

bool CTkNotifyIconWnd::SetAnimationIcons(const UINT* iconIds, const char* const* tips, int count) {
    return SetAnimationIcons(iconIds, count, tips);
}

bool CTkNotifyIconWnd::SetAnimationIcons(const UINT* iconIds, int count, const char* const* tips) {
    ClearAnimation();
    for (int i = 0; i < count; ++i) {
        HICON icon = LoadSmallIcon(iconIds[i]);
        if (!icon) return false;
        m_frames.push_back({icon, tips ? CString(tips[i]) : m_strTip});
    }
    return true;
}

void CTkNotifyIconWnd::ClearAnimation() {
    for (auto& frame : m_frames)
        if (frame.icon) ::DestroyIcon(frame.icon);
    m_frames.clear();
    m_nFrame = 0;
}

void CTkNotifyIconWnd::OnAnimationTick() {
    if (m_frames.empty()) return;
    if (m_nFrame >= (int)m_frames.size()) m_nFrame = 0;
    const CFrame& frame = m_frames[m_nFrame];
    CString savedTip = m_strTip;
    if (!frame.tip.IsEmpty()) SetTipText(frame.tip);
    m_strTip = savedTip;  // the frame's tip is shown; the icon's own tip is kept for StopAnimation
    SetIconHandle(::CopyIcon(frame.icon));
    m_nFrame = (m_nFrame + 1) % (int)m_frames.size();
}

bool CTkNotifyIconWnd::AttachToHiddenParent(CWnd* wnd) {
    if (!m_pHiddenParent) {
        auto parent = std::make_unique<CWnd>();
        if (!parent->CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr))
            return false;
        m_pHiddenParent = std::move(parent);
    }
    if (!wnd || !wnd->GetSafeHwnd()) return false;
    ::SetWindowLongPtrW(wnd->GetSafeHwnd(), GWLP_HWNDPARENT, (LONG_PTR)m_pHiddenParent->GetSafeHwnd());
    return true;
}

LRESULT CTkNotifyIconWnd::OnTrayCallback(WPARAM wParam, LPARAM lParam) {
    if ((UINT)wParam != m_nid.uID || !m_pNotifyWnd || !m_pNotifyWnd->GetSafeHwnd()) return 0;
    HWND notify = m_pNotifyWnd->GetSafeHwnd();
    if (::SendMessageW(notify, TK_WM_TRAYNOTIFY, wParam, lParam) != 0) return 1;
    switch ((UINT)LOWORD(lParam)) {
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
    case WM_USER:       // NIN_SELECT
    case WM_USER + 1: { // NIN_KEYSELECT
        HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nid.uID));
        if (!menu) return 0;
        HMENU popup = ::GetSubMenu(menu, 0);
        ::SetMenuDefaultItem(popup, m_nDefaultItem, m_bDefaultByPosition);
        ::SetForegroundWindow(notify);
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        ::TrackPopupMenu(popup, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, notify, nullptr);
        ::PostMessageW(notify, WM_NULL, 0, 0);
        ::DestroyMenu(menu);
        Notify(NIM_SETFOCUS, 0);
        return 1;
    }
    case WM_LBUTTONDBLCLK: {
        ::SetForegroundWindow(notify);
        UINT command = m_nDefaultItem;
        if (m_bDefaultByPosition) {
            command = 0;
            if (HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nid.uID))) {
                command = ::GetMenuItemID(::GetSubMenu(menu, 0), (int)m_nDefaultItem);
                if (command == (UINT)-1) command = 0;
                ::DestroyMenu(menu);
            }
        }
        ::SendMessageW(notify, WM_COMMAND, command, 0);
        return 1;
    }
    default:
        return 1;
    }
}

LRESULT CTkNotifyIconWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TK_WM_TRAYNOTIFY) return OnTrayCallback(wParam, lParam);
    if (message == TaskbarCreatedMessage() && message != 0) {
        ShowTrayIcon();
        return 0;
    }
    if (message == WM_TIMER && (UINT)wParam == m_nAnimationTimer) {
        OnAnimationTick();
        return 0;
    }
    LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    if (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA) ShowTrayIcon();
    return result;
}
