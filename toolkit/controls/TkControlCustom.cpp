#include "controls/TkControlCustom.h"

#include "afxarchive.h"
#include "commandbars/TkCommandBar.h"

#include <set>

IMPLEMENT_SERIAL(CTkControlCustom, CTkControlButton, VERSIONABLE_SCHEMA | 7)

namespace {
// The class library's ids of the status bar, the four dock bars and the view.
const int kStatusBarId = 59393;
const int kFirstDockBarId = 59419;
const int kLastDockBarId = 59422;
const int kViewId = 59648;

// The ids of the frame's own parts: the status bar, the dock bars and the view.
bool IsFrameId(int id) {
    return id == kStatusBarId || id == kViewId || (id >= kFirstDockBarId && id <= kLastDockBarId);
}

bool IsBarWindow(HWND hwnd) {
    return hwnd && dynamic_cast<CTkCommandBar*>(CWnd::FromHandlePermanent(hwnd)) != nullptr;
}

// The frame's window with the id: its own child, else a window a bar of the frame took in to
// host (docked bars are children of the frame's dock bars, floating ones are owned by the frame).
HWND FindFrameWindow(HWND frame, int id) {
    if (HWND child = ::GetDlgItem(frame, id)) return child;
    struct CSearch {
        HWND frame;
        int id;
        HWND found;
    } search{frame, id, nullptr};
    const WNDENUMPROC inBar = [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<CSearch*>(param);
        if (::GetDlgCtrlID(hwnd) != s->id || !IsBarWindow(::GetParent(hwnd))) return TRUE;
        s->found = hwnd;
        return FALSE;
    };
    ::EnumChildWindows(frame, inBar, (LPARAM)&search);
    if (search.found) return search.found;
    ::EnumThreadWindows(::GetWindowThreadProcessId(frame, nullptr), [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<CSearch*>(param);
        if (::GetWindow(hwnd, GW_OWNER) != s->frame || !IsBarWindow(hwnd)) return TRUE;
        struct CInBar {
            int id;
            HWND found;
        } inThisBar{s->id, nullptr};
        ::EnumChildWindows(hwnd, [](HWND child, LPARAM p) -> BOOL {
            auto* b = reinterpret_cast<CInBar*>(p);
            if (::GetDlgCtrlID(child) != b->id) return TRUE;
            b->found = child;
            return FALSE;
        }, (LPARAM)&inThisBar);
        s->found = inThisBar.found;
        return s->found ? FALSE : TRUE;
    }, (LPARAM)&search);
    return search.found;
}

// The windows hosted by a custom control, in the whole process.
std::set<HWND>& HostedWindows() {
    static std::set<HWND> windows;
    return windows;
}
}  // namespace

CTkControlCustom::CTkControlCustom() {
    m_nType = TK_CONTROL_TYPE_CUSTOM;
    m_nFlags = TK_CONTROL_FLAG_NO_MOVE;
}

CTkControlCustom::~CTkControlCustom() {
    SetHostedWindow(nullptr);
}

bool CTkControlCustom::CanHost(HWND hwnd) {
    return IsHostableKind(hwnd) && !HostedWindows().count(hwnd);
}

bool CTkControlCustom::IsHostableKind(HWND hwnd) {
    if (!hwnd || !::IsWindow(hwnd)) return false;
    if (dynamic_cast<CTkCommandBar*>(CWnd::FromHandlePermanent(hwnd))) return false;
    return !IsFrameId(::GetDlgCtrlID(hwnd));
}

bool CTkControlCustom::MayHostId(HWND frame, int id) {
    if (IsFrameId(id)) return false;
    HWND child = frame ? ::GetDlgItem(frame, id) : nullptr;
    return !child || IsHostableKind(child);
}

bool CTkControlCustom::SetHostedWindow(HWND hwnd) {
    if (hwnd == m_hwndHosted) return true;
    if (hwnd && !CanHost(hwnd)) return false;
    if (m_hwndHosted) {
        CTkSubclassRegistry::Instance().RemoveSink(m_hwndHosted, this);
        HostedWindows().erase(m_hwndHosted);
    }
    m_hwndHosted = hwnd;
    m_pPlacedIn = nullptr;
    if (!hwnd) return true;
    HostedWindows().insert(hwnd);
    m_nHostedId = ::GetDlgCtrlID(hwnd);
    CTkSubclassRegistry::Instance().AddSink(hwnd, this);
    if (m_pParent && !m_rcControl.IsRectEmpty()) SetRect(m_rcControl.left, m_rcControl.top, m_rcControl.right, m_rcControl.bottom);
    return true;
}

bool CTkControlCustom::AttachHostedById(HWND frame) {
    if (!frame || m_nHostedId == 0) return false;
    HWND child = FindFrameWindow(frame, m_nHostedId);
    if (!child || !SetHostedWindow(child)) {
        m_nHostedId = 0;  // nothing hosted: the control stays empty
        return false;
    }
    return true;
}

void CTkControlCustom::SetRect(int left, int top, int right, int bottom) {
    const CRect rect(left, top, right, bottom);
    const bool unchanged = ::EqualRect(&rect, &m_rcPlaced) && m_pPlacedIn == m_pParent;
    CTkControlButton::SetRect(left, top, right, bottom);
    if (!m_hwndHosted || !::IsWindow(m_hwndHosted) || !m_pParent || !m_pParent->GetSafeHwnd() || unchanged) {
        UpdateVisibility();
        return;
    }
    m_rcPlaced = rect;
    m_pPlacedIn = m_pParent;
    if (::GetParent(m_hwndHosted) != m_pParent->GetSafeHwnd()) ::SetParent(m_hwndHosted, m_pParent->GetSafeHwnd());
    ::MoveWindow(m_hwndHosted, left + m_rcMargins.left, top + m_rcMargins.top,
                 rect.Width() - m_rcMargins.left - m_rcMargins.right, rect.Height() - m_rcMargins.top - m_rcMargins.bottom,
                 TRUE);
    UpdateVisibility();
}

void CTkControlCustom::UpdateVisibility() {
    if (!m_hwndHosted || !::IsWindow(m_hwndHosted)) return;
    const bool vertical = m_pParent && m_pParent->IsVertical();
    const bool show = m_pParent && IsVisible() && !(vertical && m_nVerticalOption == 0);
    ::ShowWindow(m_hwndHosted, show ? SW_SHOWNA : SW_HIDE);
}

void CTkControlCustom::SetHideFlags(int flags) {
    CTkControlButton::SetHideFlags(flags);
    UpdateVisibility();
}

void CTkControlCustom::SetParent(CTkCommandBar* bar) {
    if (bar != m_pParent) m_pPlacedIn = nullptr;
    CTkControlButton::SetParent(bar);
    if (!bar) UpdateVisibility();
}

void CTkControlCustom::OnClick(bool byKeyboard, POINT point) {
    if (IsCustomizeMode()) CTkControlButton::OnClick(byKeyboard, point);
}

void CTkControlCustom::Copy(const CTkControl* from, bool recursive) {
    CTkControlButton::Copy(from, recursive);
    if (auto* custom = dynamic_cast<const CTkControlCustom*>(from)) {
        m_rcMargins = custom->m_rcMargins;
        m_szControl = custom->m_szControl;
        m_nVerticalOption = custom->m_nVerticalOption;
        m_nHostedId = custom->m_nHostedId;  // the window itself stays with one control
    }
}

int CTkControlCustom::OnHookMessage(HWND hwnd, UINT message, WPARAM* wParam, LPARAM* lParam, LRESULT*) {
    if (message == WM_DESTROY && hwnd == m_hwndHosted) {
        const int id = m_nHostedId;
        SetHostedWindow(nullptr);  // the id stays, for a window made again later
        m_nHostedId = id;
        return TK_HOOK_IGNORED;
    }
    if (message != WM_MOUSEMOVE || hwnd != m_hwndHosted || !m_pParent || !m_pParent->GetSafeHwnd())
        return TK_HOOK_IGNORED;
    POINT point = {(short)LOWORD(*lParam), (short)HIWORD(*lParam)};
    ::MapWindowPoints(hwnd, m_pParent->GetSafeHwnd(), &point, 1);
    m_pParent->SendMessage(WM_MOUSEMOVE, *wParam, MAKELPARAM(point.x, point.y));
    return TK_HOOK_IGNORED;
}
