#include "commandbars/TkToolBar.h"

#include "commandbars/TkBarArchive.h"
#include "commandbars/TkBarDragTracker.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkDockBar.h"
#include "commandbars/TkShortcutText.h"
#include "painters/TkDrawTools.h"
#include "painters/TkThemePainter.h"

#include <algorithm>

IMPLEMENT_SERIAL(CTkToolBar, CTkCommandBar, TK_ARCHIVE_SCHEMA)
IMPLEMENT_DYNCREATE(CTkControlClose, CTkControlButton)
IMPLEMENT_DYNCREATE(CTkControlToggle, CTkControlButton)

namespace {

// Posted to a toolbar whose reset was chosen in a popup: the reset runs once the popup's item
// has returned, so it never frees the popup chain it was chosen from.
const UINT kResetToOriginal = WM_USER + 0x120;

// The hide flag the toolbar gives its own buttons while it measures the others.
const int kHiddenWhileMeasuring = 0x1;
// What the expand button adds to the docked length.
const int kExpandButtonRoom = 11;

void RegisterToolbarButtons() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    CTkControls::RegisterControlClass(TK_CONTROL_TYPE_BUTTON, ID_TK_CLOSE_BUTTON, RUNTIME_CLASS(CTkControlClose));
}

CFrameWnd* FrameOf(CWnd* window) {
    return window && window->IsFrameWnd() ? static_cast<CFrameWnd*>(window) : nullptr;
}

const CTkCommandBarsSettings* SettingsOf(const CTkCommandBars* manager) {
    return manager ? manager->GetCommandBarsOptions() : nullptr;
}

bool SameCommand(const CTkControl* a, const CTkControl* b) {
    return a->m_nId == b->m_nId && a->m_nType == b->m_nType;
}

int IndexOfCommand(const CTkControls* controls, const CTkControl* control, int from) {
    for (int i = from; i < controls->GetCount(); ++i)
        if (SameCommand(controls->GetControl(i), control)) return i;
    return -1;
}

}  // namespace

CTkToolBar::CTkToolBar() {
    RegisterToolbarButtons();
    m_dwStyle = TK_BAR_STYLE_GRIPPER;
    m_bCloseButton = 1;
}

CTkToolBar::~CTkToolBar() {
    if (m_pDockBar) m_pDockBar->RemoveBar(this);
}

const char* CTkToolBar::WindowClass() {
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
}

bool CTkToolBar::Create(DWORD style, CWnd* parentFrame, UINT id) {
    m_dwStyle = (int)(style & 0x40FFFF);
    const DWORD windowStyle = (style & 0xFFBF0000) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!CreateEx(0, WindowClass(), nullptr, windowStyle, 0, 0, 0, 0, parentFrame ? parentFrame->GetSafeHwnd() : nullptr,
                  (HMENU)(UINT_PTR)id))
        return false;
    m_nPosition = TK_BAR_POSITION_TOP;
    EnableToolTips((m_dwStyle & TK_BAR_STYLE_TOOLTIPS) != 0);
    return true;
}

void CTkToolBar::EnableDocking(int flags) {
    if (!m_pDragTracker) m_pDragTracker = std::make_unique<CTkBarDragTracker>(this);
    m_dwFlags = flags;
}

// ---------------------------------------------------------------------------------------------
// Buttons from a resource.

int CTkToolBar::LoadToolBar(UINT resourceId, bool loadImages) {
    m_nBarId = resourceId;
    m_pControls->RemoveAllControls();
    ResetTracking();
    CTkToolbarResource resource;
    if (!TkReadToolbarResource(AfxGetResourceHandle(), resourceId, resource)) return 0;
    SetButtons(resource.ids.data(), (int)resource.ids.size());
    int result = 1;
    if (loadImages) {
        std::vector<UINT> ids;
        for (UINT id : resource.ids)
            if (id != 0) ids.push_back(id);
        if (!GetIconStore()->AddIconsFromBitmapResource(resourceId, ids.data(), (int)ids.size(), resource.width,
                                                        resource.height, CTkIconStore::StateNormal))
            result = 0;
        if (resource.width != 16) m_szIcon = CSize(resource.width, resource.height);
    }
    if (result) m_pControls->KeepOriginal();
    return result;
}

void CTkToolBar::SetButtons(const UINT* ids, int count) {
    m_pControls->RemoveAllControls();
    ResetTracking();
    CWnd* site = GetSite();
    bool group = false;
    for (int position = 0; position < count; ++position) {
        const int id = (int)ids[position];
        if (id == 0) {
            group = true;
            continue;
        }
        CTkControlRequest request = {id, this, TK_CONTROL_TYPE_BUTTON, m_strTitle, nullptr, nullptr, position};
        if (site && site->GetSafeHwnd()) site->SendMessage(TK_WM_CONTROL_CREATE, 0, (LPARAM)&request);
        CTkControl* control = nullptr;
        if (request.pControl) {
            control = m_pControls->Add(request.pControl, id);
        } else {
            // A type the collection cannot make (the site's answer) skips the id.
            control = m_pControls->AddNew(request.nType, id);
            if (!control) continue;
            control->RequestParentLayout();
            if (control->IsPopupType() && control->m_nIconId != id) control->m_nIconId = id;
        }
        if (group) control->SetBeginGroup(true);
        group = false;
    }
    DelayLayout();
}

// ---------------------------------------------------------------------------------------------
// Showing, placing and laying out.

void CTkToolBar::SetVisible(bool show) {
    m_bVisible = show ? 1 : 0;
    if (!show) SetTrackingMode(TK_TRACKING_NONE, true, false);
    if (m_hWnd) ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    if (!IsFloating()) RecalcFrameLayout();
    if (!show && m_bUserToolbar)
        if (CTkCommandBars* manager = GetManager()) manager->OnUserBarHidden(this);
}

int CTkToolBar::SetPosition(int position) {
    if (position == TK_BAR_POSITION_NONE) {
        // Nowhere: out of its dock row (a floating bar keeps its hidden window).
        if (m_pDockBar) m_pDockBar->RemoveBar(this);
        m_pDockBar = nullptr;
        m_nPosition = TK_BAR_POSITION_NONE;
        return 1;
    }
    CTkCommandBars* manager = GetManager();
    if (!manager) return 0;
    if (position == TK_BAR_POSITION_FLOATING) return manager->FloatCommandBar(this) ? 1 : 0;
    if (!TkIsDockedPosition(position)) return 0;
    return manager->DockCommandBar(this, manager->GetDockBar(position), nullptr) ? 1 : 0;
}

void CTkToolBar::OnRecalcLayout() {
    if (IsFloating()) {
        if (!m_hWnd) return;
        const CSize size = CalcDynamicLayout(-1, TK_LAYOUT_COMMIT | TK_LAYOUT_MRU_WIDTH | TK_LAYOUT_HORIZONTAL);
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Invalidate(false);
    } else {
        RecalcFrameLayout();
    }
}

int CTkToolBar::OnHookKeyDown(UINT key) {
    HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (!m_pDragTracker && parent && key == VK_TAB) {
        HWND next = ::GetNextDlgTabItem(parent, m_hWnd, ::GetKeyState(VK_SHIFT) < 0);
        if (next && next != m_hWnd) ::SetFocus(next);
        if (::GetFocus() != m_hWnd) {
            SetTrackingMode(TK_TRACKING_NONE, true, false);
            return 1;
        }
    }
    return CTkCommandBar::OnHookKeyDown(key);
}

bool CTkToolBar::IsExpandButtonOn() const {
    const CTkCommandBarsSettings* settings = SettingsOf(GetManager());
    return !settings || settings->m_bShowExpandButtonAlways;
}

void CTkToolBar::RecalcFrameLayout() {
    if (CTkCommandBars* manager = GetManager())
        manager->RecalcFrameLayout();
    else if (CFrameWnd* frame = FrameOf(GetSite()))
        frame->RecalcLayout();
}

CTkControl* CTkToolBar::TemporaryButton(int type, UINT id) {
    CTkControl* button = m_pControls->FindById((int)id);
    if (!button) button = m_pControls->AddNew(type, (int)id, CString(), -1, true);
    if (button) button->SetHideFlags(kHiddenWhileMeasuring);
    return button;
}

int CTkToolBar::CaptionHeight(CDC* dc) {
    const int position = m_nPosition;
    m_nPosition = TK_BAR_POSITION_FLOATING;
    const int height = GetPainter()->PaintGripper(dc, this, false).cy;
    m_nPosition = position;
    return height;
}

CSize CTkToolBar::CalcDockingLayout(int length, DWORD mode, int minimum) {
    CTkThemePainter* painter = GetPainter();
    CClientDC dc(nullptr);
    CTkSelectFont font(&dc, painter->GetControlFont(this, false));
    CRect margins = painter->GetBarBorders(this);
    if (m_dwStyle & TK_BAR_STYLE_GRIPPER) {
        const CSize gripper = painter->PaintGripper(&dc, this, false);
        margins.left += gripper.cx;
        margins.top += gripper.cy;
    }
    if (CTkControl* close = m_pControls->FindById(ID_TK_CLOSE_BUTTON)) close->SetHideFlags(kHiddenWhileMeasuring);
    const bool horizontal = (mode & TK_LAYOUT_HORZ_DOCK) != 0;

    CTkControl* expand = nullptr;
    if (m_nBarType != TK_BAR_TYPE_MENUBAR && m_pDragTracker) {
        expand = TemporaryButton(TK_CONTROL_TYPE_BUTTON_POPUP, ID_TK_EXPAND_BUTTON);
        if (!IsExpandButtonOn()) {
            if (!(mode & TK_LAYOUT_COMMIT)) {
                CSize size = m_pControls->LayoutRows(&dc, length, mode, margins, minimum);
                const CSize least = m_pControls->LayoutRows(&dc, 1, mode, margins, minimum);
                if (horizontal)
                    size.cx = std::max<int>(size.cx, least.cx + kExpandButtonRoom);
                else
                    size.cy = std::max<int>(size.cy, least.cy + kExpandButtonRoom);
                return size;
            }
            const CSize size = m_pControls->LayoutRows(&dc, length, mode, margins, minimum);
            if (!HasHiddenControls()) return size;
        }
        if (horizontal)
            margins.right += kExpandButtonRoom;
        else
            margins.bottom += kExpandButtonRoom;
    }
    const CSize size = m_pControls->LayoutRows(&dc, length, mode, margins, minimum);
    if (expand) {
        expand->SetHideFlags(0);
        if (horizontal)
            expand->SetRect(size.cx - 13, 2, size.cx - 2, size.cy - 2);
        else
            expand->SetRect(2, size.cy - 13, size.cx - 2, size.cy - 2);
    }
    return size;
}

CSize CTkToolBar::CalcDynamicLayout(int length, DWORD mode) {
    CTkThemePainter* painter = GetPainter();
    CClientDC dc(nullptr);
    CTkSelectFont font(&dc, painter->GetControlFont(this, false));
    const int caption = CaptionHeight(&dc);
    const CRect margins(3, caption + 4, 3, 3);
    CTkControl* close = nullptr;
    CTkControl* expand = nullptr;
    if (m_nBarType != TK_BAR_TYPE_MENUBAR) {
        if (m_bCloseButton) close = TemporaryButton(TK_CONTROL_TYPE_BUTTON, ID_TK_CLOSE_BUTTON);
        expand = TemporaryButton(TK_CONTROL_TYPE_BUTTON_POPUP, ID_TK_EXPAND_BUTTON);
    }
    const CSize size = m_pControls->LayoutRows(&dc, length, mode, margins);
    int limit = size.cx - 3;
    if (close) {
        close->SetHideFlags(0);
        close->SetRect(limit - caption, 3, limit, caption + 3);
        limit -= caption;
    }
    if (expand && limit - caption > 0 && IsExpandButtonOn()) {
        expand->SetHideFlags(0);
        expand->m_bWrap = 1;
        expand->SetRect(limit - caption, 3, limit, caption + 3);
    }
    return size;
}

DWORD CTkToolBar::DockedMode() const {
    DWORD mode = TK_LAYOUT_COMMIT | TK_LAYOUT_HORZ_DOCK | TK_LAYOUT_HORIZONTAL;
    if (m_dwFlags & TK_BAR_FLAG_STRETCH) mode |= TK_LAYOUT_STRETCH;
    if (m_dwFlags & TK_BAR_FLAG_HIDE_WRAP) mode |= TK_LAYOUT_HIDE_WRAP;
    return mode;
}

void CTkToolBar::OnSizeParent(AFX_SIZEPARENTPARAMS* layout) {
    DWORD mode = DockedMode();
    if (!layout->hDWP) mode &= ~(DWORD)TK_LAYOUT_COMMIT;
    CRect remaining(layout->rect);
    CSize size = CalcDockingLayout(32000, mode, 0);
    size.cx = std::min<int>(size.cx, remaining.Width());
    size.cy = std::min<int>(size.cy, remaining.Height());
    const CRect place(remaining.left, remaining.top, remaining.left + size.cx, remaining.top + size.cy);
    layout->rect.top += size.cy;
    layout->sizeTotal.cy += size.cy;
    layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, size.cx);
    AfxRepositionWindow(layout, m_hWnd, place);
}

bool CTkToolBar::SetFloatingMode(CWnd* frame, bool floating) {
    HWND owner = frame ? frame->GetSafeHwnd() : nullptr;
    if (!m_hWnd) {
        CWnd* site = GetSite();
        const DWORD exStyle =
            site && site->GetSafeHwnd() ? (DWORD)::GetWindowLongW(site->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL : 0;
        const CPoint at = m_pDragTracker ? m_pDragTracker->m_ptLastFloat : CPoint(100, 100);
        if (!CreateEx(exStyle, WindowClass(), m_strTitle, 0x86000100, at.x, at.y, 0, 0, owner, nullptr)) return false;
        ShowWindow(SW_SHOWNA);
    }
    const DWORD style = GetStyle();
    if (floating) {
        ::SetParent(m_hWnd, nullptr);
        ::SetWindowLongW(m_hWnd, GWL_STYLE, (LONG)((style & ~(DWORD)WS_CHILD) | WS_POPUP | 0x100));
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)owner);
    } else {
        ::SetWindowLongW(m_hWnd, GWL_STYLE, (LONG)((style & ~(DWORD)WS_POPUP) | WS_CHILD));
    }
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

void CTkToolBar::Copy(const CTkCommandBar* from, bool recursive) {
    CTkCommandBar::Copy(from, recursive);
    if (const auto* toolbar = dynamic_cast<const CTkToolBar*>(from)) {
        m_bResettable = toolbar->m_bResettable;
        m_bUserToolbar = toolbar->m_bUserToolbar;
        m_bCloseButton = toolbar->m_bCloseButton;
    }
}

// ---------------------------------------------------------------------------------------------
// Resetting and the add-or-remove-buttons list.

void CTkToolBar::ResetToOriginal() {
    if (!m_bResettable || !m_nBarId || !IsCustomizable()) return;
    CString format, prompt;
    TkLoadString(IDS_TK_RESET_TOOLBAR_PROMPT, format);
    prompt.Format(format, (const char*)m_strTitle);
    if (AfxMessageBox(prompt, MB_OKCANCEL | MB_ICONWARNING) != IDOK) return;
    if (CTkControls* original = m_pControls->GetOriginal()) {
        CHoldRef holdOriginal(original);
        m_pControls->RemoveAllControls();
        for (int i = 0; i < original->GetCount(); ++i) {
            CTkControl* control = original->GetControl(i);
            if (!control->m_bTemporary) m_pControls->InsertCopy(control, -1, true);
        }
        ResetTracking();
    } else {
        LoadToolBar(m_nBarId, false);
    }
    UpdateCommandUI(true);
    OnRecalcLayout();
}

void CTkToolBar::AddHiddenControls(CTkCommandBar* popupBar) {
    CTkControls* original = m_pControls->GetOriginal();
    CTkRef<CTkControls> work = TkAdoptRef(original ? original->Clone(true) : new CTkControls);

    // The buttons the user removed come back below as copies in the places they first had.
    for (int i = m_pControls->GetCount(); i-- > 0;) {
        if (!(m_pControls->GetControl(i)->m_nHideFlags & TK_CONTROL_HIDE_CUSTOMIZE)) continue;
        if (m_nHotIndex > i) --m_nHotIndex;
        if (m_nPopupIndex > i) --m_nPopupIndex;
        m_pControls->RemoveControlAt(i);
    }
    int t = 0;
    for (int w = 0; w < work->GetCount();) {
        CTkControl* wanted = work->GetControl(w);
        CTkControl* present = m_pControls->GetControl(t);
        if (present && SameCommand(present, wanted)) {
            ++t;
            ++w;
        } else if (present && IndexOfCommand(m_pControls, wanted, t) >= 0) {
            // The user moved or added this one: the original's later entry is not missing.
            const int later = IndexOfCommand(work, present, w + 1);
            if (later >= 0) work->RemoveControlAt(later);
            ++t;
        } else {
            CTkControl* copy = m_pControls->InsertCopy(wanted, t, true);
            copy->m_nHideFlags = TK_CONTROL_HIDE_CUSTOMIZE;
            if (m_nHotIndex >= t) ++m_nHotIndex;
            if (m_nPopupIndex >= t) ++m_nPopupIndex;
            ++t;
            ++w;
        }
    }
    work.Reset();

    CTkControls* items = popupBar->GetControls();
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        if (control->m_bTemporary) continue;
        auto* item = new CTkControlToggle;
        item->m_strCaption = control->GetDisplayCaption();
        if (control->m_nType >= TK_CONTROL_TYPE_BUTTON && control->m_nType <= TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP)
            item->m_nIconId = control->GetEffectiveIconId();
        CTkShortcutText::FindForCommand((UINT)control->m_nId, item->m_strShortcutText, this);
        item->m_bEnabled = original && IndexOfCommand(original, control, 0) >= 0;
        item->m_bChecked = !(control->m_nHideFlags & TK_CONTROL_HIDE_CUSTOMIZE);
        item->SetTargetControl(control);
        items->Add(item, 0);
    }
    if (original && !m_bUserToolbar && m_bResettable) {
        auto* reset = new CTkControlToggle;
        TkLoadString(IDS_TK_RESET_TOOLBAR, reset->m_strCaption);
        reset->m_bBeginGroup = 1;
        reset->SetTargetToolBar(this);
        items->Add(reset, 0);
    }
}

// ---------------------------------------------------------------------------------------------
// The window.

LRESULT CTkToolBar::OnNcHitTest(POINT screen) {
    CRect window;
    GetWindowRect(&window);
    CRect inner(window.left + 3, window.top + 3, window.right - 3, window.bottom - 3);
    if (::PtInRect(&inner, screen)) return CTkCommandBar::WindowProc(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (screen.y < inner.top) return HTTOP;
    if (screen.y >= inner.bottom) return HTBOTTOM;
    if (screen.x < inner.left) return HTLEFT;
    return HTRIGHT;
}

LRESULT CTkToolBar::OnFloatStatus(WPARAM flags) {
    const LRESULT result = (GetStyle() & 0x100) && (flags & FS_SYNCACTIVE) ? 1 : 0;
    if (!IsFloating() || !m_bVisible) return result;
    const CTkCommandBarsSettings* settings = SettingsOf(GetManager());
    if (settings && !settings->m_bSyncFloatingBars) flags &= ~(WPARAM)(FS_ACTIVATE | FS_DEACTIVATE);
    HWND top = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
    const bool topActive = top && ::GetActiveWindow() == top;
    if (flags & FS_DEACTIVATE) {
        if (!topActive) ShowWindow(SW_HIDE);
    }
    if (flags & FS_ACTIVATE) {
        HWND foreground = ::GetForegroundWindow();
        if (!IsWindowVisible() && topActive && foreground && ::IsWindowVisible(foreground) && !::IsIconic(foreground))
            ShowWindow(SW_SHOWNA);
    }
    if (flags & FS_SHOW) ShowWindow(SW_SHOWNA);
    if (flags & FS_HIDE) ShowWindow(SW_HIDE);
    if (flags & FS_ENABLE) EnableWindow(true);
    if (flags & FS_DISABLE) EnableWindow(false);
    return result;
}

LRESULT CTkToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    switch (message) {
    case WM_LBUTTONDOWN:
        SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (!m_pControls->ControlAtPoint(point.x, point.y)) {
            SetTrackingMode(TK_TRACKING_NONE, true, false);
            // Outside the buttons a dockable bar is dragged.
            if (m_pDragTracker && (m_dwFlags & 0x1F)) {
                POINT screen = point;
                ::ClientToScreen(m_hWnd, &screen);
                m_pDragTracker->TrackMove(screen);
            }
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (m_pDragTracker && !m_pControls->ControlAtPoint(point.x, point.y)) {
            m_pDragTracker->ApplyLastPosition();
            return 0;
        }
        break;
    case WM_NCLBUTTONDOWN:
        if (m_pDragTracker && wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT) {
            if (CWnd* top = GetTopLevelParent()) top->SetActiveWindow();
            SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            SetTrackingMode(TK_TRACKING_NONE, true, false);
            m_pDragTracker->TrackResize((int)wParam, point);
            return 0;
        }
        break;
    case WM_RBUTTONDOWN:
        if (CTkCommandBars* manager = GetManager()) {
            if (manager->IsCustomizeMode()) break;
            SetTrackingMode(TK_TRACKING_NONE, true, false);
            SetSelected(-1, false);
            Invalidate(false);
            POINT screen = point;
            ::ClientToScreen(m_hWnd, &screen);
            manager->ShowToolbarsMenu(screen.x, screen.y);
            return 0;
        }
        break;
    case WM_NCHITTEST:
        if (IsFloating()) return OnNcHitTest(point);
        break;
    case WM_NCCREATE: {
        const LRESULT created = CTkCommandBar::WindowProc(message, wParam, lParam);
        if (created && (GetStyle() & 0x100)) {
            HWND top = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
            HWND foreground = ::GetForegroundWindow();
            const bool active = top && (foreground == top || (foreground == ::GetLastActivePopup(top) &&
                                                              ::SendMessageW(foreground, WM_FLOATSTATUS, FS_SYNCACTIVE, 0)));
            SendMessage(WM_FLOATSTATUS, active ? FS_ACTIVATE : FS_DEACTIVATE);
        }
        return created;
    }
    case WM_FLOATSTATUS:
        return OnFloatStatus(wParam);
    case WM_MOUSEACTIVATE:
        if (IsFloating()) return MA_NOACTIVATE;
        break;
    case WM_NCACTIVATE:
        if (wParam) return 0;
        break;
    case WM_SETFOCUS:
        if (!m_hwndSavedFocus) m_hwndSavedFocus = (HWND)wParam;
        CTkCommandBar::WindowProc(message, wParam, lParam);
        if (!m_pDragTracker) SetTrackingMode(TK_TRACKING_ACTIVE, true, false);
        return 0;
    case WM_CLOSE:
        return 0;
    case WM_SIZEPARENT:
        if (m_bVisible && !m_pDockBar && !IsFloating()) OnSizeParent(reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam));
        return 0;
    case kResetToOriginal:
        ResetToOriginal();
        return 0;
    default:
        break;
    }
    return CTkCommandBar::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The toolbar's own buttons.

CSize CTkControlClose::GetSize(CDC* dc) {
    return GetPainter()->PaintSpecialGlyph(dc, TK_GLYPH_CLOSE, this, false);
}

void CTkControlClose::Draw(CDC* dc) {
    GetPainter()->PaintSpecialGlyph(dc, TK_GLYPH_CLOSE, this, true);
}

void CTkControlClose::Execute() {
    if (CTkCommandBar* bar = GetParentBar()) bar->SetVisible(false);
}

CTkControlToggle::~CTkControlToggle() {
    SetTargetControl(nullptr);
}

void CTkControlToggle::SetTargetControl(CTkControl* control) {
    m_pTargetControl.Reset(control);
}

void CTkControlToggle::Copy(const CTkControl* from, bool recursive) {
    CTkControlButton::Copy(from, recursive);
    if (const auto* toggle = dynamic_cast<const CTkControlToggle*>(from)) {
        SetTargetControl(toggle->m_pTargetControl);
        m_pTargetBar = toggle->m_pTargetBar;
    }
}

CSize CTkControlToggle::GetSize(CDC* dc) {
    return GetPainter()->PaintSpecialGlyph(dc, TK_GLYPH_TOGGLE_ITEM, this, false);
}

void CTkControlToggle::Draw(CDC* dc) {
    GetPainter()->PaintSpecialGlyph(dc, TK_GLYPH_TOGGLE_ITEM, this, true);
}

void CTkControlToggle::Execute() {
    if (m_pTargetControl) {
        CTkControl* target = m_pTargetControl;
        const bool removed = (target->m_nHideFlags & TK_CONTROL_HIDE_CUSTOMIZE) != 0;
        target->ModifyHideFlags(TK_CONTROL_HIDE_CUSTOMIZE, !removed);
        m_bChecked = removed ? 1 : 0;
        if (CTkCommandBar* bar = target->GetParentBar()) bar->OnRecalcLayout();
        if (CTkCommandBar* own = GetParentBar()) own->InvalidateChain();
        return;
    }
    if (!m_pTargetBar) return;
    CTkToolBar* toolbar = m_pTargetBar;
    CTkMouseTracker::ForThread().CloseTracked();
    for (CTkCommandBar* walk = GetParentBar(); walk; walk = walk->GetParentBar())
        walk->SetTrackingMode(TK_TRACKING_NONE, true, false);
    // This item lives in a popup of the toolbar's expand button, which the reset removes.
    if (toolbar->GetSafeHwnd())
        toolbar->PostMessage(kResetToOriginal);
    else
        toolbar->ResetToOriginal();
}
