#include "commandbars/TkPopupBar.h"

#include "commandbars/TkBarArchive.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkDropShadow.h"
#include "commandbars/TkMenuEffects.h"
#include "commandbars/TkMenuSound.h"
#include "commandbars/TkShortcutText.h"
#include "commandbars/TkToolBar.h"
#include "commandbars/TkWorkArea.h"
#include "painters/TkDrawTools.h"
#include "painters/TkThemePainter.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_SERIAL(CTkPopupBar, CTkCommandBar, TK_ARCHIVE_SCHEMA)
IMPLEMENT_SERIAL(CTkPopupToolBar, CTkPopupBar, TK_ARCHIVE_SCHEMA)
IMPLEMENT_DYNCREATE(CTkControlExpandMenu, CTkControlButton)

const wchar_t* CTkPopupBar::s_pszPreferencesKey = L"Control Panel\\Desktop";

CTkCommandBar* CTkCommandBars::CreateDefaultPopupBar() {
    return CTkPopupBar::CreatePopupBar(this);
}

namespace {
// The hide bits a popup sets itself; a control hidden by nothing else is shown.
const int kPopupHideBits = TK_CONTROL_HIDE_SCROLL | TK_CONTROL_HIDE_USAGE;

bool ShownIgnoringScroll(const CTkControl* control) {
    return (control->m_nHideFlags & ~TK_CONTROL_HIDE_SCROLL) == 0;
}

// A rectangle mapped from a mirrored window may come out with left and right swapped.
void NormalizeRect(CRect& rect) {
    if (rect.left > rect.right) std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
}

// Two chevrons pointing down (or up) in the middle of the rectangle.
void DrawChevrons(HDC dc, const CRect& rect, bool up) {
    const int midX = (rect.left + rect.right) / 2, midY = (rect.top + rect.bottom) / 2;
    const int dir = up ? -1 : 1;
    CTkPenScope pen(dc, ::GetSysColor(COLOR_BTNTEXT));
    for (int chevron = 0; chevron < 2; ++chevron) {
        for (int line = 0; line < 2; ++line) {
            const int y = midY - dir * 3 + dir * (chevron * 4 + line);
            POINT points[3] = {{midX - 3, y}, {midX, y + dir * 3}, {midX + 4, y - dir}};
            ::Polyline(dc, points, 3);
        }
    }
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// The expand button.

void CTkControlExpandMenu::Draw(CDC* dc) {
    CTkThemePainter* painter = GetPainter();
    CTkButtonState state = CTkThemePainter::StateOf(this);
    if (state.hot) painter->PaintButtonFrame(dc, m_rcControl, state, TK_BAR_POSITION_POPUP);
    DrawChevrons(dc->GetSafeHdc(), m_rcControl, false);
}

void CTkControlExpandMenu::Execute() {
    if (auto* popup = dynamic_cast<CTkPopupBar*>(m_pParent)) popup->Expand();
}

void CTkControlExpandMenu::OnMouseHover() {
    auto* popup = dynamic_cast<CTkPopupBar*>(m_pParent);
    CTkCommandBars* manager = popup ? popup->GetManager() : nullptr;
    if (popup && (!manager || manager->GetCommandBarsOptions()->m_bShowFullAfterDelay)) popup->Expand();
}

// ---------------------------------------------------------------------------------------------
// Construction and the window.

CTkPopupBar::CTkPopupBar() {
    m_nBarType = TK_BAR_TYPE_POPUP;
    m_nPosition = TK_BAR_POSITION_POPUP;
    m_pOwnerPopup = this;
}

CTkPopupBar::~CTkPopupBar() {
    StopScrollTimers();
    StopGripperTimer();
    if (m_hWnd) CTkDropShadows::Instance().RemoveShadows(m_hWnd);
}

CTkPopupBar* CTkPopupBar::CreatePopupBar(CTkCommandBars* manager) {
    auto* bar = new CTkPopupBar;
    bar->m_pManager = manager;
    return bar;
}

CTkPopupBar* CTkPopupBar::CreatePopupBar(CTkCommandBar* owner) {
    auto* bar = new CTkPopupBar;
    if (owner) {
        bar->m_pManager = owner->GetManager();
        bar->m_pOwnerWnd = owner->GetSite();
    }
    return bar;
}

CTkCommandBar* CTkPopupBar::GetParentBar() const {
    return m_pControlPopup ? m_pControlPopup->GetParentBar() : nullptr;
}

bool CTkPopupBar::IsRarelyUsed(const CTkControl* control) const {
    return m_bExpanded && m_usageHidden.count(control) != 0;
}

bool CTkPopupBar::CreatePopupWindow() {
    const char* windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    DWORD exStyle = WS_EX_TOOLWINDOW;
    if (CWnd* site = GetSite())
        if (site->GetSafeHwnd()) exStyle |= (DWORD)::GetWindowLongW(site->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL;
    return CreateEx(exStyle, windowClass, "", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr,
                    nullptr);
}

bool CTkPopupBar::DestroyWindow() {
    if (!m_hWnd) return false;
    StopScrollTimers();
    StopGripperTimer();
    CTkDropShadows::Instance().RemoveShadows(m_hWnd);
    // Hosted control windows (an edit box) outlive the popup: they go back to the site.
    CWnd* site = GetSite();
    HWND siteWindow = site ? site->GetSafeHwnd() : nullptr;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child;) {
        HWND next = ::GetWindow(child, GW_HWNDNEXT);
        ::ShowWindow(child, SW_HIDE);
        ::SetParent(child, siteWindow);
        child = next;
    }
    return CTkCommandBar::DestroyWindow();
}

void CTkPopupBar::Copy(const CTkCommandBar* from, bool recursive) {
    CTkCommandBar::Copy(from, recursive);
    if (const auto* popup = dynamic_cast<const CTkPopupBar*>(from)) {
        m_bTearOff = popup->m_bTearOff;
        m_strTearOffCaption = popup->m_strTearOffCaption;
        m_nTearOffId = popup->m_nTearOffId;
        m_nTearOffWidth = popup->m_nTearOffWidth;
        m_rcBorders = popup->m_rcBorders;
        m_bShadow = popup->m_bShadow;
    }
}

// ---------------------------------------------------------------------------------------------
// Opening and closing.

int CTkPopupBar::Popup(CTkControl* control, bool byKeyboard) {
    m_pControlPopup = control;
    if (!m_hWnd && !CreatePopupWindow()) {
        m_pControlPopup = nullptr;
        return 0;
    }
    if (CWnd* site = GetSite())
        if (site->GetSafeHwnd()) site->SendMessage(TK_WM_POPUP_PREPARE, 0, (LPARAM)this);
    m_bHasHidden = 0;
    m_bExpanded = (IsCustomizeMode() || CTkMouseTracker::ForThread().IsExpandAll()) ? 1 : 0;
    m_bReanimate = 0;
    if (control) CalcAnchor();
    UpdateShortcutTexts();
    const CSize size = CalcSize();
    AdjustPosition(size.cx, size.cy);
    SetTrackingMode(TK_TRACKING_ACTIVE, byKeyboard, byKeyboard);
    m_nPendingUpdate &= ~TK_BAR_PENDING_LAYOUT;
    UpdateCommandUI(true);
    PaintWithAnimation();
    CTkMenuSoundPlayer::Instance().Play(CTkMenuSoundPlayer::RequestPopup);
    if (m_nPosition == TK_BAR_POSITION_POPUP && m_bShadow) AddShadows();
    return 1;
}

int CTkPopupBar::PopupAt(int x, int y, int flags, const RECT& excludeRect) {
    m_ptAnchor = CPoint(x, y);
    m_rcExclude = excludeRect;
    m_nPopupFlags = flags;
    return Popup(nullptr, false);
}

bool CTkPopupBar::TrackModal() {
    CHoldRef holdSelf(this);  // the loop may run while whoever holds the popup lets it go
    bool quit = false;
    while (m_nTrackingMode && IsWindow()) {
        MSG msg;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The program is ending: the message loop above ours must see the quit too.
            ::PostQuitMessage(got == 0 ? (int)msg.wParam : 0);
            quit = true;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (quit && m_nTrackingMode) CTkMouseTracker::ForThread().CloseTracked();
    if (quit && m_nTrackingMode) SetTrackingMode(TK_TRACKING_NONE, true, false);
    return !quit;
}

int CTkPopupBar::SetTrackingMode(int mode, bool selectFirst, bool byKeyboard) {
    const int changed = CTkCommandBar::SetTrackingMode(mode, selectFirst, byKeyboard);
    if (mode || !changed) return changed;
    StopScrollTimers();
    StopGripperTimer();
    if (m_hWnd) {
        CTkDropShadows::Instance().RemoveShadows(m_hWnd);
        ShowWindow(SW_HIDE);
    }
    // The opening control's bar no longer has this popup open (also when the popup closed itself).
    if (CTkControl* control = m_pControlPopup) {
        m_pControlPopup = nullptr;
        if (auto* popupControl = dynamic_cast<CTkControlPopup*>(control)) popupControl->m_bPopupOpen = 0;
        if (CTkCommandBar* bar = control->GetParentBar()) {
            if (bar->m_nPopupIndex == control->m_nIndex) bar->m_nPopupIndex = -1;
            if (bar->GetSafeHwnd()) bar->Invalidate(false);
        }
    }
    if (CWnd* site = GetSite())
        if (site->GetSafeHwnd()) site->UpdateWindow();
    return changed;
}

int CTkPopupBar::SetSelected(int index, bool byKeyboard) {
    if (m_bScrolling && index >= 0 && index < m_pControls->GetCount()) {
        while (index < m_nFirstShown && ScrollBy(-1)) {
        }
        while (index >= m_nLastShown && ScrollBy(1)) {
        }
    }
    return CTkCommandBar::SetSelected(index, byKeyboard);
}

int CTkPopupBar::OnHookKeyDown(UINT key) {
    if (m_bTearOffDragging) {
        // Keys belong to the drag: Escape ends it, the rest wait.
        if (key == VK_ESCAPE) {
            m_bTearOffCancel = true;
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the drag loop
        }
        return 1;
    }
    if (key == VK_DOWN && m_bHasHidden && !m_bExpanded && !IsCustomizeMode()) {
        const int last = m_pControls->NextNavigable(-1, -1);
        if (::GetKeyState(VK_CONTROL) < 0 || (last >= 0 && m_nHotIndex == last)) {
            Expand();
            if (::GetKeyState(VK_CONTROL) < 0) return 1;
        }
    }
    // Left and right leave a submenu, or move along the menu bar that opened the popup.
    const bool rtl = IsRightToLeft();
    const UINT closeKey = rtl ? VK_RIGHT : VK_LEFT, openKey = rtl ? VK_LEFT : VK_RIGHT;
    CTkCommandBar* parent = GetParentBar();
    if (parent && (key == closeKey || key == openKey) && m_nPopupIndex == -1) {
        CTkControl* hot = GetControl(m_nHotIndex);
        const bool opens = key == openKey && hot && hot->IsPopupType() && hot->m_bEnabled;
        if (!opens) {
            if (parent->m_nBarType == TK_BAR_TYPE_POPUP) {
                if (key == closeKey) {
                    parent->SetPopuped(-1, true);
                    parent->SetTrackingMode(TK_TRACKING_ACTIVE, false, true);
                }
                return 1;
            }
            return parent->OnHookKeyDown(key);
        }
    }
    return CTkCommandBar::OnHookKeyDown(key);
}

void CTkPopupBar::Reposition() {
    if (m_bCalcRunning || !m_hWnd || !IsWindowVisible()) return;
    CTkDropShadows::Instance().RemoveShadows(m_hWnd);
    if (m_pControlPopup) CalcAnchor();
    const CSize size = CalcSize();
    AdjustPosition(size.cx, size.cy);
    if (m_bReanimate) {
        m_bReanimate = 0;
        const int kind = GetAnimationKind();
        if (kind >= 2 && kind <= 4) {
            PaintWithAnimation();
            CTkMenuSoundPlayer::Instance().Play(CTkMenuSoundPlayer::RequestPopup);
        }
    }
    if (m_bShadow) AddShadows();
    Invalidate(false);
}

void CTkPopupBar::Expand() {
    if (m_bExpanded || !m_bHasHidden) return;
    m_bExpanded = 1;
    m_bReanimate = 1;
    SetSelected(-1, false);
    Reposition();
    CTkMouseTracker::ForThread().SetExpandAll(true);
}

// ---------------------------------------------------------------------------------------------
// Size and place.

void CTkPopupBar::UpdateShortcutTexts() {
    CTkCommandBars* manager = GetManager();
    if (!manager) return;
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        if (control->m_nId <= 0 || (control->m_nHideFlags & ~kPopupHideBits)) continue;
        CString text;
        const bool found = manager->GetAccelTable()
                               ? CTkShortcutText::FindInTable(manager->GetAccelTable(), (UINT)control->m_nId, text)
                               : CTkShortcutText::FindForCommand((UINT)control->m_nId, text, this);
        // A command without a shortcut keeps the text its caption brought.
        if (found) control->m_strShortcutText = text;
    }
}

bool CTkPopupBar::IsHiddenCommand(int id) const {
    CTkCommandBars* manager = GetManager();
    return manager && id > 0 && manager->IsCommandHidden((UINT)id);
}

void CTkPopupBar::UpdateHiddenControls() {
    CTkCommandBars* manager = GetManager();
    const bool full = !manager || manager->GetCommandBarsOptions()->m_bAlwaysShowFullMenus;
    m_usageHidden.clear();
    m_bHasHidden = 0;
    CTkControl* expand = m_pControls->FindById(TK_ID_POPUP_EXPAND);
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        control->m_nHideFlags &= ~kPopupHideBits;
        if (!full && control != expand && IsHiddenCommand(control->m_nId)) m_usageHidden.insert(control);
    }
    if (full) {
        m_bExpanded = 1;
    } else if (!m_bExpanded) {
        // Hidden commands hide only when something else stays to be shown.
        bool anyShown = false;
        for (int i = 0; i < m_pControls->GetCount() && !anyShown; ++i) {
            const CTkControl* control = m_pControls->GetControl(i);
            anyShown = control != expand && !m_usageHidden.count(control) && control->m_nHideFlags == 0;
        }
        if (anyShown) {
            for (const CTkControl* hidden : m_usageHidden)
                const_cast<CTkControl*>(hidden)->m_nHideFlags |= TK_CONTROL_HIDE_USAGE;
            m_bHasHidden = m_usageHidden.empty() ? 0 : 1;
        }
    }
    if (m_bHasHidden && !expand) {
        auto* button = new CTkControlExpandMenu;
        m_pControls->Add(button, TK_ID_POPUP_EXPAND, CString(), -1, true);
        button->m_nFlags = TK_CONTROL_FLAG_NO_NAVIGATE | TK_CONTROL_FLAG_NO_UPDATE | TK_CONTROL_FLAG_NO_MOVE;
    } else if (!m_bHasHidden && expand) {
        if (GetControl(m_nHotIndex) == expand) m_nHotIndex = -1;
        m_pControls->RemoveControl(expand);
    }
}

CSize CTkPopupBar::CalcSize() {
    m_bCalcRunning = 1;
    UpdateHiddenControls();
    const CRect work = m_rcExclude.IsRectEmpty() ? GetWorkAreaOfPoint(m_ptAnchor) : GetWorkAreaOfRect(m_rcExclude);
    // The width limit of one control is a third of the work area's right coordinate (none on a
    // monitor that lies wholly left of the primary one).
    const int limit = work.right / 3;
    CTkThemePainter* painter = GetPainter();
    CClientDC dc(this);
    const int left = m_rcBorders.left;
    const int gripper = GripperHeight(&dc);
    int top = m_rcBorders.top + gripper;
    int widest = 0, bottom = -1;
    bool first = true;
    CTkControl* expand = m_pControls->FindById(TK_ID_POPUP_EXPAND);
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        control->OnCalcDynamicSize(0);
        TkSetRectEmpty(control->m_rcControl);
        if (!control->IsVisible() || control == expand) continue;
        if (control->m_bBeginGroup && !first) top += painter->PaintSeparator(&dc, this, control, false).cy;
        first = false;
        CTkSelectFont font(&dc, painter->GetControlFont(this, control->m_bDefaultItem != 0));
        CSize size = control->GetSize(&dc);
        if (limit > 0) size.cx = std::min<int>(size.cx, limit);
        control->m_rcControl = CRect(left, top, left + size.cx, top + size.cy);
        top += size.cy;
        bottom = top;
        widest = std::max<int>(widest, size.cx);
    }
    if (expand && expand->IsVisible()) {
        expand->m_rcControl = CRect(left, top, left, top + CTkControlExpandMenu::kHeight);
        top += CTkControlExpandMenu::kHeight;
        bottom = top;
    }
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        if (control->IsVisible()) control->m_rcControl.right = left + widest;
    }
    m_nColumnWidth = widest;
    m_rcGripper = gripper ? CRect(left, m_rcBorders.top, left + widest, m_rcBorders.top + gripper) : CRect();
    m_bCalcRunning = 0;
    return CSize(std::max<int>(kMinimumSize, left + widest + m_rcBorders.right),
                 (bottom < 0 ? kMinimumSize : bottom) + m_rcBorders.bottom);
}

CSize CTkPopupToolBar::CalcSize() {
    m_bCalcRunning = 1;
    CClientDC dc(this);
    const int gripper = GripperHeight(&dc);
    const CRect margins(m_rcBorders.left, m_rcBorders.top + gripper, m_rcBorders.right, m_rcBorders.bottom);
    const CSize size = m_pControls->LayoutRows(&dc, kMaxRowWidth + margins.left + margins.right,
                                               TK_LAYOUT_COMMIT, margins);
    m_rcGripper = gripper ? CRect(m_rcBorders.left, m_rcBorders.top, std::max<int>(m_rcBorders.left, size.cx - m_rcBorders.right),
                                  m_rcBorders.top + gripper)
                          : CRect();
    m_bCalcRunning = 0;
    return CSize(std::max<int>(kMinimumSize, size.cx), std::max<int>(kMinimumSize, size.cy));
}

void CTkPopupBar::CalcAnchor() {
    CTkControl* control = m_pControlPopup;
    CTkCommandBar* bar = control ? control->GetParentBar() : nullptr;
    if (!bar || !bar->GetSafeHwnd()) return;
    CRect rect = control->m_rcControl;
    ::MapWindowPoints(bar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    NormalizeRect(rect);
    if (control->IsPopupType()) GetPainter()->AdjustPopupExcludeRect(rect, control);
    CWnd* site = GetSite();
    const bool rtl = site && site->GetSafeHwnd() &&
                     (::GetWindowLongW(site->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    const CTkPopupAnchor anchor = TkCalcPopupAnchor(rect, control, bar, rtl);
    m_ptAnchor = anchor.anchor;
    m_rcExclude = anchor.exclude;
    m_nPopupFlags = anchor.flags;
}

void CTkPopupBar::AdjustPosition(int width, int height) {
    CTkPopupPlacement placement;
    placement.work = m_rcExclude.IsRectEmpty() ? GetWorkAreaOfPoint(m_ptAnchor) : GetWorkAreaOfRect(m_rcExclude);
    placement.exclude = m_rcExclude;
    placement.anchor = m_ptAnchor;
    placement.flags = m_nPopupFlags;
    placement.size = CSize(width, height);
    TkPlacePopup(placement);
    m_nPopupFlags = placement.flags;
    m_bScrolling = placement.scrolling ? 1 : 0;
    m_nFirstShown = 0;
    SetWindowPos(HWND_TOPMOST, placement.position.x, placement.position.y, placement.size.cx, placement.size.cy,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    LayoutVisibleRange(placement.size.cy);
}

void CTkPopupBar::LayoutVisibleRange(int height) {
    const int count = m_pControls->GetCount();
    for (int i = 0; i < count; ++i) m_pControls->GetControl(i)->m_nHideFlags &= ~TK_CONTROL_HIDE_SCROLL;
    TkSetRectEmpty(m_rcScrollUp);
    TkSetRectEmpty(m_rcScrollDown);
    m_nLastShown = count;
    if (!m_bScrolling) {
        m_nFirstShown = 0;
        return;
    }
    CTkThemePainter* painter = GetPainter();
    CClientDC dc(this);
    const int left = m_rcBorders.left, right = m_rcBorders.left + m_nColumnWidth;
    const int top = m_rcBorders.top + GripperHeight(&dc);
    const int limit = height - m_rcBorders.bottom;
    m_nFirstShown = std::max(0, std::min(m_nFirstShown, count - 1));
    // Lays the range out; returns one past the last control that fits.
    auto place = [&](int reserve, bool commit) {
        int y = top + (m_nFirstShown > 0 ? kScrollButtonHeight : 0);
        bool firstShown = true;
        int last = m_nFirstShown;
        for (int i = m_nFirstShown; i < count; ++i) {
            CTkControl* control = m_pControls->GetControl(i);
            if (!ShownIgnoringScroll(control)) {
                last = i + 1;
                continue;
            }
            const int gap = control->m_bBeginGroup && !firstShown ? painter->PaintSeparator(&dc, this, control, false).cy : 0;
            const int h = control->m_rcControl.Height();
            if (y + gap + h > limit - reserve) break;
            if (commit) control->m_rcControl = CRect(left, y + gap, right, y + gap + h);
            y += gap + h;
            firstShown = false;
            last = i + 1;
        }
        return last;
    };
    int last = place(0, false);
    const bool more = last < count;
    last = place(more ? kScrollButtonHeight : 0, true);
    m_nLastShown = last;
    for (int i = 0; i < count; ++i)
        if (i < m_nFirstShown || i >= m_nLastShown) m_pControls->GetControl(i)->m_nHideFlags |= TK_CONTROL_HIDE_SCROLL;
    if (m_nFirstShown > 0) m_rcScrollUp = CRect(left, top, right, top + kScrollButtonHeight);
    if (m_nLastShown < count) m_rcScrollDown = CRect(left, limit - kScrollButtonHeight, right, limit);
}

bool CTkPopupBar::ScrollBy(int step) {
    if (!m_bScrolling || !m_hWnd) return false;
    const int count = m_pControls->GetCount();
    int first = m_nFirstShown;
    if (step > 0) {
        if (m_nLastShown >= count) return false;
        do ++first;
        while (first < count - 1 && !ShownIgnoringScroll(m_pControls->GetControl(first)));
    } else {
        if (first <= 0) return false;
        do --first;
        while (first > 0 && !ShownIgnoringScroll(m_pControls->GetControl(first)));
    }
    m_nFirstShown = first;
    CRect client;
    GetClientRect(&client);
    LayoutVisibleRange(client.Height());
    Invalidate(false);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Painting, shadows, scrolling by hover.

int CTkPopupBar::GetAnimationKind() const {
    CTkCommandBars* manager = GetManager();
    if (!manager || (m_hWnd && ::GetWindow(m_hWnd, GW_CHILD))) return 5;
    const int setting = manager->GetCommandBarsOptions()->m_nAnimationType;
    DWORD mask = 0;
    if (setting == TK_MENU_ANIMATION_SYSTEM) TkReadUserPreferencesMask(&mask, HKEY_CURRENT_USER, s_pszPreferencesKey);
    return TkPopupAnimationKind(setting, mask, std::rand());
}

void CTkPopupBar::PaintWithAnimation() {
    int kind = GetAnimationKind();
    if (IsCustomizeMode()) kind = 5;
    m_nLastAnimation = kind;
    if (kind < 2 || kind > 4) {
        UpdateWindow();
        return;
    }
    if (CTkCommandBar* parent = GetParentBar())
        if (parent->GetSafeHwnd()) parent->UpdateWindow();
    if (CWnd* site = GetSite())
        if (site->GetSafeHwnd()) site->UpdateWindow();
    CRect client;
    GetClientRect(&client);
    CClientDC dc(this);
    CBitmap bitmap;
    if (client.IsRectEmpty() || !bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height())) {
        UpdateWindow();
        return;
    }
    {
        CTkBitmapDC image(dc.GetSafeHdc(), bitmap);
        DrawCommandBar(&image.GetDC());
        GetPainter()->AnimatePopup(&dc, &image.GetDC(), client, kind);
    }
    ::ValidateRect(m_hWnd, nullptr);
}

void CTkPopupBar::AddShadows() {
    CTkThemePainter* painter = GetPainter();
    CTkShadowStyle style;
    style.painterForcesShadows = painter->HasPopupShadow();
    style.customizing = IsCustomizeMode();
    CTkDropShadows& shadows = CTkDropShadows::Instance();
    shadows.AddShadows(m_hWnd, m_rcExclude, style);
    CTkCommandBar* parent = GetParentBar();
    if (m_pControlPopup && parent && parent->GetSafeHwnd() && parent->m_nPosition != TK_BAR_POSITION_POPUP &&
        m_pControlPopup->IsPopupType()) {
        CRect rect = m_pControlPopup->m_rcControl;
        ::MapWindowPoints(parent->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
        NormalizeRect(rect);
        shadows.AddControlShadows(m_hWnd, rect, style);
    }
}

void CTkPopupBar::DrawCommandBar(CDC* dc) {
    CTkCommandBar::DrawCommandBar(dc);
    CTkThemePainter* painter = GetPainter();
    if (m_bTearOff && !m_rcGripper.IsRectEmpty()) painter->PaintPopupCaptionStrip(dc, m_rcGripper, m_bGripperHot != 0, true);
    if (!m_bScrolling) return;
    HDC hdc = dc->GetSafeHdc();
    if (!m_rcScrollUp.IsRectEmpty()) {
        painter->FillRect(dc, m_rcScrollUp, TK_COLOR_MENU);
        DrawChevrons(hdc, m_rcScrollUp, true);
    }
    if (!m_rcScrollDown.IsRectEmpty()) {
        painter->FillRect(dc, m_rcScrollDown, TK_COLOR_MENU);
        DrawChevrons(hdc, m_rcScrollDown, false);
    }
}

void CTkPopupBar::StopScrollTimers() {
    if (m_hwndScrollTimer && ::IsWindow(m_hwndScrollTimer)) {
        ::KillTimer(m_hwndScrollTimer, kScrollDownTimer);
        ::KillTimer(m_hwndScrollTimer, kScrollUpTimer);
    }
    m_hwndScrollTimer = nullptr;
}

void CTkPopupBar::OnScrollHover(POINT point) {
    UINT_PTR wanted = 0;
    if (m_bScrolling && ::PtInRect(&m_rcScrollDown, point)) wanted = kScrollDownTimer;
    if (m_bScrolling && ::PtInRect(&m_rcScrollUp, point)) wanted = kScrollUpTimer;
    if (!wanted) {
        StopScrollTimers();
        return;
    }
    if (m_hwndScrollTimer) return;  // already scrolling that way or the other
    m_hwndScrollTimer = m_hWnd;
    ::SetTimer(m_hWnd, wanted, kScrollPeriod, nullptr);
}

LRESULT CTkPopupBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
        OnScrollHover({(short)LOWORD(lParam), (short)HIWORD(lParam)});
        OnGripperHover({(short)LOWORD(lParam), (short)HIWORD(lParam)});
        break;
    case WM_LBUTTONDOWN: {
        const POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        if (m_bTearOff && !IsCustomizeMode() && ::PtInRect(&m_rcGripper, point)) {
            POINT screen = point;
            ::ClientToScreen(m_hWnd, &screen);
            TrackTearOff(screen);
            return 0;
        }
        break;
    }
    case WM_MOUSELEAVE:
        StopScrollTimers();
        break;
    case WM_TIMER:
        if (wParam == kScrollDownTimer || wParam == kScrollUpTimer) {
            if (!ScrollBy(wParam == kScrollDownTimer ? 1 : -1)) StopScrollTimers();
            return 0;
        }
        if (wParam == kTearOffTimer) {
            // The gripper stays hot while the cursor stays on it.
            POINT cursor;
            ::GetCursorPos(&cursor);
            ::ScreenToClient(m_hWnd, &cursor);
            if (!IsWindowVisible() || !::PtInRect(&m_rcGripper, cursor)) StopGripperTimer();
            return 0;
        }
        break;
    case WM_DESTROY:
        StopScrollTimers();
        StopGripperTimer();
        CTkDropShadows::Instance().RemoveShadows(m_hWnd);
        break;
    default:
        break;
    }
    return CTkCommandBar::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Tearing off.

int CTkPopupBar::GripperHeight(CDC* dc) {
    return m_bTearOff ? GetPainter()->PaintPopupCaptionStrip(dc, CRect(), false, false).cy : 0;
}

void CTkPopupBar::StopGripperTimer() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::KillTimer(m_hWnd, kTearOffTimer);
        if (m_bGripperHot) ::InvalidateRect(m_hWnd, &m_rcGripper, FALSE);
    }
    m_bGripperHot = 0;
}

void CTkPopupBar::OnGripperHover(POINT point) {
    if (!m_bTearOff || m_bGripperHot || IsCustomizeMode() || !::PtInRect(&m_rcGripper, point)) return;
    m_bGripperHot = 1;
    ::SetTimer(m_hWnd, kTearOffTimer, kScrollPeriod, nullptr);
    ::InvalidateRect(m_hWnd, &m_rcGripper, FALSE);
}

void CTkPopupBar::TrackTearOff(POINT screenPoint) {
    const HWND hwnd = m_hWnd;
    if (!hwnd || !m_bTearOff || m_bTearOffDragging || IsCustomizeMode()) return;
    if (::GetCapture() && ::GetCapture() != hwnd) return;
    // Anything the loop dispatches may let the popup or the manager go.
    CHoldRef holdPopup(this);
    CHoldRef holdManager(GetManager());
    CTkModalLoopScope modal;
    m_bTearOffDragging = 1;
    m_bTearOffCancel = false;
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
    ::SetCapture(hwnd);
    POINT last = screenPoint;
    while (!m_bTearOffCancel && ::IsWindow(hwnd) && ::GetCapture() == hwnd && m_nTrackingMode) {
        MSG msg;
        if (!TkNextCaptureMessage(msg)) break;
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) break;
        if (msg.message == WM_MOUSEMOVE) {
            if (msg.pt.x != last.x || msg.pt.y != last.y) {
                last = msg.pt;
                TearOffStep(msg.pt);
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (::IsWindow(hwnd) && ::GetCapture() == hwnd) ::ReleaseCapture();
    m_bTearOffDragging = 0;
    m_bTearOffCancel = false;
    EndTearOff();
}

void CTkPopupBar::TearOffStep(POINT screenPoint) {
    if (!m_hWnd) return;
    CRect reach = m_rcGripper;
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&reach), 2);
    NormalizeRect(reach);
    reach.InflateRect(kTearOffReach, kTearOffReach);
    if (reach.PtInRect(screenPoint)) {
        // Back on the gripper: the popup again instead of the floating bar.
        if (m_pTearOffBar && m_pTearOffBar->IsVisible()) m_pTearOffBar->SetVisible(false);
        if (!IsWindowVisible()) {
            ShowWindow(SW_SHOWNA);
            if (m_nPosition == TK_BAR_POSITION_POPUP && m_bShadow) AddShadows();
        }
        return;
    }
    if (!m_pTearOffBar) {
        m_pTearOffBar = MakeTearOffBar();
        if (!m_pTearOffBar) return;
    }
    if (IsWindowVisible()) {
        CTkDropShadows::Instance().RemoveShadows(m_hWnd);
        ShowWindow(SW_HIDE);
    }
    CTkToolBar* bar = m_pTearOffBar;
    if (!bar->IsVisible()) bar->SetVisible(true);
    if (!bar->GetSafeHwnd()) return;
    m_szTearOffBar = bar->CalcDynamicLayout(0, TK_LAYOUT_MRU_WIDTH | TK_LAYOUT_HORIZONTAL | TK_LAYOUT_COMMIT);
    // The top edge's middle sits just above the cursor, so the cursor holds the bar by its caption.
    bar->SetWindowPos(nullptr, screenPoint.x - m_szTearOffBar.cx / 2, screenPoint.y - kTearOffReach, m_szTearOffBar.cx,
                      m_szTearOffBar.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    bar->Invalidate(false);
}

CTkRef<CTkToolBar> CTkPopupBar::MakeTearOffBar() {
    CTkCommandBars* manager = GetManager();
    if (!manager) return {};
    if (auto* existing = dynamic_cast<CTkToolBar*>(manager->FindBar(m_nTearOffId))) {
        m_bTearOffMade = false;
        m_nTearOffBarPosition = existing->m_nPosition;
        m_bTearOffBarVisible = existing->IsVisible();
        if (!manager->FloatCommandBar(existing)) return {};
        return CTkRef<CTkToolBar>(existing);
    }
    CTkRef<CTkToolBar> bar(manager->AddUserBar(m_strTearOffCaption, m_nTearOffId, true));
    if (!bar) return {};
    m_bTearOffMade = true;
    if (m_nTearOffWidth > 0) bar->m_nMRUWidth = m_nTearOffWidth;
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        if (control->m_nId == TK_ID_POPUP_EXPAND) continue;
        if (CTkControl* copy = bar->GetControls()->InsertCopy(control, -1, true)) copy->m_nHideFlags &= ~kPopupHideBits;
    }
    return bar;
}

void CTkPopupBar::EndTearOff() {
    CTkRef<CTkToolBar> bar = std::move(m_pTearOffBar);
    if (!bar) return;
    if (bar->IsVisible()) {
        // Torn off: the popups close and the floating bar stays.
        CTkMouseTracker::ForThread().CloseTracked();
    } else if (CTkCommandBars* manager = bar->GetManager()) {
        if (m_bTearOffMade) {
            manager->RemoveBar(bar);
        } else {
            // A bar that was elsewhere goes back there as it was.
            if (TkIsDockedPosition(m_nTearOffBarPosition)) bar->SetPosition(m_nTearOffBarPosition);
            if (m_bTearOffBarVisible) bar->SetVisible(true);
        }
    }
}
