#include "commandbars/TkCommandBar.h"

#include "commandbars/TkBarArchive.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkRefHolder.h"
#include "commandbars/TkShortcutText.h"
#include "commandbars/TkToolBar.h"
#include "customize/TkCustomizeDrag.h"
#include "customize/TkCustomizeSheet.h"
#include "images/TkIconStore.h"
#include "painters/TkThemePainter.h"

#include <vector>

IMPLEMENT_SERIAL(CTkCommandBar, CWnd, TK_ARCHIVE_SCHEMA)

CTkCommandBar::CTkCommandBar() {
    m_pControls.Attach(new CTkControls);
    m_pControls->m_pOwnerBar = this;
}

CTkCommandBar::~CTkCommandBar() {
    // A window destroyed after this destructor no longer reaches the bar's WM_DESTROY.
    if (m_pDropSource) m_pDropSource->RemoveTarget(this);
    if (m_nTrackingMode && m_hWnd) SetTrackingMode(TK_TRACKING_NONE, false, false);
    CTkKeyboardHook::ForThread().RemoveSink(&m_keyboardSink);
    CTkMouseTracker::ForThread().ForgetBar(this);
    m_pControls->m_pOwnerBar = nullptr;
    m_pControls.Reset();
    m_pPainter.Reset();
    m_pIconStore.Reset();
}

CWnd* CTkCommandBar::GetSite() const {
    if (CTkCommandBars* manager = GetManager())
        if (manager->GetSite()) return manager->GetSite();
    CTkCommandBar* root = GetRootBar();
    if (root->m_pOwnerWnd) return root->m_pOwnerWnd;
    if (root->m_hWnd)
        if (HWND parent = ::GetParent(root->m_hWnd)) return CWnd::FromHandle(parent);
    return AfxGetMainWnd();
}

CWnd* CTkCommandBar::GetCommandTarget() const {
    CTkCommandBar* root = GetRootBar();
    if (root->m_hwndCommandTarget && ::IsWindow(root->m_hwndCommandTarget))
        return CWnd::FromHandle(root->m_hwndCommandTarget);
    return GetSite();
}

int CTkCommandBar::ResetTracking() {
    m_nHotIndex = m_nPopupIndex = -1;
    DelayLayout();
    return -1;
}

void CTkCommandBar::Copy(const CTkCommandBar* from, bool recursive) {
    m_nBarType = from->m_nBarType;
    m_nPosition = from->m_nPosition;
    m_nBarId = from->m_nBarId;
    m_dwFlags = from->m_dwFlags;
    m_dwStyle = from->m_dwStyle;
    m_strTitle = from->m_strTitle;
    m_bCustomizable = from->m_bCustomizable;
    m_nMRUWidth = from->m_nMRUWidth;
    m_szIcon = from->m_szIcon;
    m_szButton = from->m_szButton;
    CTkControls* controls = from->m_pControls->Clone(recursive);
    m_pControls->m_pOwnerBar = nullptr;
    m_pControls.Attach(controls);
    m_pControls->SetOwnerBar(this);
    m_pManager = from->m_pManager;
}

CTkCommandBar* CTkCommandBar::Clone(bool recursive) const {
    CObject* object = GetRuntimeClass()->CreateObject();
    auto* copy = dynamic_cast<CTkCommandBar*>(object);
    if (!copy) {
        delete object;
        return nullptr;
    }
    copy->Copy(this, recursive);
    return copy;
}

void CTkCommandBar::BuildFromMenu(HMENU menu, bool removeAll) {
    if (removeAll) m_pControls->RemoveAllControls();
    bool group = false;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoA(menu, (UINT)position, TRUE, &info) && (info.fType & MFT_SEPARATOR)) {
            group = m_pControls->GetCount() > 0;
            continue;
        }
        if (CTkControl* control = m_pControls->AddMenuItem(menu, position)) {
            if (group) control->m_bBeginGroup = 1;
            group = false;
        }
    }
    DelayLayout();
}

bool CTkCommandBar::IsRightToLeft() const {
    return m_hWnd && (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

CTkCommandBar* CTkCommandBar::GetRootBar() const {
    const CTkCommandBar* bar = this;
    for (int depth = 0; depth < 64 && bar->GetParentBar(); ++depth) bar = bar->GetParentBar();
    return const_cast<CTkCommandBar*>(bar);
}

CTkCommandBars* CTkCommandBar::GetManager() const {
    const CTkCommandBar* bar = this;
    for (int depth = 0; depth < 64 && bar; ++depth, bar = bar->GetParentBar())
        if (bar->m_pManager) return bar->m_pManager;
    return nullptr;
}

CTkThemePainter* CTkCommandBar::GetPainter() const {
    if (m_pPainter) return m_pPainter;
    if (CTkCommandBars* manager = GetManager())
        if (manager->GetOwnPainter()) return manager->GetOwnPainter();
    if (CTkThemePainter* root = GetRootBar()->m_pPainter) return root;
    return CTkThemePainter::GetCurrent();
}

CTkIconStore* CTkCommandBar::GetIconStore() const {
    if (m_pIconStore) return m_pIconStore;
    if (CTkCommandBars* manager = GetManager())
        if (manager->GetOwnIconStore()) return manager->GetOwnIconStore();
    if (CTkIconStore* root = GetRootBar()->m_pIconStore) return root;
    return &CTkIconStore::Global();
}

void CTkCommandBar::SetPainter(CTkThemePainter* painter) {
    m_pPainter.Reset(painter);
}

void CTkCommandBar::SetIconStore(CTkIconStore* store) {
    m_pIconStore.Reset(store);
}

CSize CTkCommandBar::GetIconSize() const {
    if (m_szIcon.cx || m_szIcon.cy) return m_szIcon;
    CTkCommandBars* manager = GetManager();
    if (!manager) return CSize(16, 16);
    const CTkCommandBarsSettings* settings = manager->GetCommandBarsOptions();
    if (m_nBarType == TK_BAR_TYPE_POPUP) return settings->m_szPopupIcons;
    CSize size = settings->m_szIcons;
    if (!size.cx && !size.cy) size = CSize(16, 16);
    if (settings->m_bLargeIcons) {
        if (settings->m_szLargeIcons.cx || settings->m_szLargeIcons.cy) return settings->m_szLargeIcons;
        return CSize(size.cx * 2, size.cy * 2);
    }
    return size;
}

CSize CTkCommandBar::GetButtonSize() const {
    if (m_szButton.cx || m_szButton.cy) return m_szButton;
    CSize icon = GetIconSize();
    return CSize(icon.cx + 7, icon.cy + 7);
}

bool CTkCommandBar::IsTextBelowIcons() const {
    if (m_nTextBelowIcons != 2) return m_nTextBelowIcons != 0;
    CTkCommandBars* manager = GetManager();
    return manager && manager->GetCommandBarsOptions()->m_bShowTextBelowIcons;
}

bool CTkCommandBar::HasWrappedControls() const {
    for (int i = 0; i < m_pControls->GetCount(); ++i)
        if (m_pControls->GetControl(i)->m_nHideFlags & TK_CONTROL_HIDE_WRAP) return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Tracking and selection.

namespace {

// Feeds one control its command state: enabled, checked, caption.
class CTkControlCmdUI : public CCmdUI {
public:
    explicit CTkControlCmdUI(CTkControl* control) : m_pControl(control) { m_nID = (UINT)control->m_nId; }
    void Enable(bool on) override {
        m_pControl->SetEnabled(on);
        m_bEnableChanged = true;
    }
    void SetCheck(int check) override {
        if ((m_pControl->m_bChecked != 0) == (check != 0)) return;
        m_pControl->m_bChecked = check ? 1 : 0;
        m_pControl->RedrawParent();
    }
    void SetText(const char* text) override { m_pControl->SetCaption(text); }

private:
    CTkControl* m_pControl;
};

}  // namespace

bool CTkCommandBar::IsSiteInHelpMode() const {
    CWnd* site = GetSite();
    return site && site->IsFrameWnd() && static_cast<CFrameWnd*>(site)->m_bHelpMode;
}

bool CTkCommandBar::IsCustomizeMode() const {
    CTkCommandBars* manager = GetManager();
    return manager && manager->IsCustomizeMode();
}

void CTkCommandBar::InvalidateChain() {
    for (CTkCommandBar* bar = this; bar; bar = bar->GetParentBar())
        if (bar->GetSafeHwnd()) bar->Invalidate(false);
}

int CTkCommandBar::Popup(CTkControl*, bool) {
    return 0;
}

int CTkCommandBar::SetTrackingMode(int mode, bool selectFirst, bool byKeyboard) {
    if ((m_nTrackingMode && mode) || mode == m_nTrackingMode) {
        m_nTrackingMode = mode;
        return 0;
    }
    m_nTrackingMode = mode;
    if (mode) {
        if (m_nBarType == TK_BAR_TYPE_MENUBAR)
            if (CWnd* site = GetSite()) site->SendMessage(TK_WM_MENUBAR_TRACKING, (WPARAM)this);
        m_bStartedByMouse = !selectFirst && !byKeyboard;
        if (!m_hwndSavedFocus) {
            m_hwndSavedFocus = ::GetFocus();
            if (!m_hwndSavedFocus)
                if (CWnd* site = GetSite()) m_hwndSavedFocus = site->GetSafeHwnd();
            if (m_hwndSavedFocus) ::HideCaret(m_hwndSavedFocus);
        }
        CTkMouseTracker::ForThread().TrackBar(this);
        CTkKeyboardHook::ForThread().AddSink(&m_keyboardSink);
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        if (selectFirst) SetSelected(m_pControls->NextNavigable(-1, 1), true);
    } else {
        m_bStartedByMouse = 0;
        CTkMouseTracker& tracker = CTkMouseTracker::ForThread();
        tracker.UntrackBar(this);
        CTkKeyboardHook::ForThread().RemoveSink(&m_keyboardSink);
        SetPopuped(-1, false);
        if (selectFirst) SetSelected(-1, false);
        if (m_hwndSavedFocus) {
            ::ShowCaret(m_hwndSavedFocus);
            m_hwndSavedFocus = nullptr;
        }
        m_nPendingUpdate &= ~TK_BAR_PENDING_REDRAW;
        if (!tracker.HasTrackedBars()) tracker.SetExpandAll(false);
        if (m_hWnd) {
            Invalidate(false);
            HWND parent = ::GetParent(m_hWnd);
            if (parent && ::GetFocus() == m_hWnd) ::SetFocus(::GetNextDlgTabItem(parent, m_hWnd, FALSE));
        }
    }
    m_bMouseDownPending = 0;
    return 1;
}

int CTkCommandBar::SetSelected(int index, bool byKeyboard) {
    if (index == m_nHotIndex || !IsWindow()) return 0;
    if (index != -1 && !GetControl(index)) return 0;
    if (CTkControl* old = GetControl(m_nHotIndex)) old->SetSelected(TK_CONTROL_SELECTION_NONE);
    m_nHotIndex = index;
    if (index == -1) {
        KillTimer(kHoverTimer);
    } else {
        GetControl(index)->SetSelected(byKeyboard ? TK_CONTROL_SELECTION_KEYBOARD : TK_CONTROL_SELECTION_MOUSE);
        CTkMouseTracker::ForThread().SetLastSelectedBar(this);
        if (!byKeyboard) SetTimer(kHoverTimer, 300);
    }
    m_nPendingUpdate &= ~TK_BAR_PENDING_REDRAW;
    Invalidate(false);
    return 1;
}

int CTkCommandBar::SetPopuped(int index, bool byKeyboard) {
    if (index == m_nPopupIndex) return 0;
    CTkControl* control = index == -1 ? nullptr : GetControl(index);
    if (index != -1 && (!control || !dynamic_cast<CTkControlPopup*>(control) || !control->m_bEnabled)) return 0;
    if (CTkControl* open = GetControl(m_nPopupIndex)) {
        m_nPopupIndex = -1;
        open->SetPopuped(false);
    }
    m_nPopupIndex = -1;
    if (control) {
        m_nPopupIndex = index;
        SetTrackingMode(TK_TRACKING_POPUP, false, byKeyboard);
        SetSelected(index, byKeyboard);
        control->SetPopuped(true);
        CTkCommandBars* manager = GetManager();
        if (manager && manager->GetCommandBarsOptions()->m_bShowFullAfterDelay && m_hWnd)
            SetTimer(kShowFullTimer, 800);
    }
    m_nPendingUpdate &= ~TK_BAR_PENDING_REDRAW;
    if (m_hWnd) Invalidate(false);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Keyboard.

int CTkCommandBar::OnHookKeyDown(UINT key) {
    if (IsCustomizeMode()) return 0;
    if (key == VK_TAB) return OnNavigate(::GetKeyState(VK_SHIFT) < 0 ? TK_NAVIGATE_PREVIOUS : TK_NAVIGATE_NEXT);
    if (key == VK_RETURN) return OnNavigate(TK_NAVIGATE_EXECUTE);
    const bool horizontal = m_nPosition == TK_BAR_POSITION_TOP || m_nPosition == TK_BAR_POSITION_BOTTOM ||
                            m_nPosition == TK_BAR_POSITION_FLOATING;
    const bool rtl = IsRightToLeft();
    switch (key) {
    case VK_ESCAPE: return OnNavigate(TK_NAVIGATE_ESCAPE);
    case VK_END: return OnNavigate(TK_NAVIGATE_LAST);
    case VK_HOME: return OnNavigate(TK_NAVIGATE_FIRST);
    case VK_LEFT:
        return OnNavigate(horizontal ? (rtl ? TK_NAVIGATE_NEXT : TK_NAVIGATE_PREVIOUS)
                                     : (rtl ? TK_NAVIGATE_OPEN : TK_NAVIGATE_CLOSE));
    case VK_UP: return OnNavigate(horizontal ? TK_NAVIGATE_CLOSE : TK_NAVIGATE_PREVIOUS);
    case VK_RIGHT:
        return OnNavigate(horizontal ? (rtl ? TK_NAVIGATE_PREVIOUS : TK_NAVIGATE_NEXT)
                                     : (rtl ? TK_NAVIGATE_CLOSE : TK_NAVIGATE_OPEN));
    case VK_DOWN: return OnNavigate(horizontal ? TK_NAVIGATE_OPEN : TK_NAVIGATE_NEXT);
    default: break;
    }
    const UINT character = ::MapVirtualKeyA(key, 2) & 0xFFFF;
    if (!character) return 1;
    bool ambiguous = false;
    const int found = FindMnemonic((char)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)character), &ambiguous);
    if (found >= 0) {
        SetSelected(found, true);
        if (!ambiguous)
            if (CTkControl* control = GetControl(found)) control->OnClick(true, CPoint());
    } else if (key != VK_SHIFT && key != VK_CONTROL) {
        ::MessageBeep(0);
    }
    return 1;
}

int CTkCommandBar::OnNavigate(int code) {
    switch (code) {
    case TK_NAVIGATE_NEXT:
    case TK_NAVIGATE_PREVIOUS: {
        const int next = m_pControls->NextNavigable(m_nHotIndex, code == TK_NAVIGATE_NEXT ? 1 : -1);
        if (next >= 0) SetSelected(next, true);
        return 1;
    }
    case TK_NAVIGATE_CLOSE:
        if (m_nPopupIndex == -1) return 0;
        SetPopuped(-1, true);
        SetTrackingMode(TK_TRACKING_ACTIVE, false, false);
        return 1;
    case TK_NAVIGATE_OPEN: {
        CTkControl* hot = GetControl(m_nHotIndex);
        if (hot && m_nHotIndex != m_nPopupIndex) {
            hot->m_nSelected = TK_CONTROL_SELECTION_KEYBOARD;
            SetPopuped(m_nHotIndex, true);
        }
        return 1;
    }
    case TK_NAVIGATE_ESCAPE:
        if (CTkCommandBar* parent = GetParentBar()) parent->SetTrackingMode(TK_TRACKING_ACTIVE, false, false);
        SetTrackingMode(TK_TRACKING_NONE, true, false);
        return 1;
    case TK_NAVIGATE_EXECUTE:
        if (CTkControl* hot = GetControl(m_nHotIndex)) {
            hot->m_nSelected = TK_CONTROL_SELECTION_KEYBOARD;
            hot->OnClick(true, CPoint());
        }
        return 1;
    case TK_NAVIGATE_FIRST:
    case TK_NAVIGATE_LAST: {
        const int found = m_pControls->NextNavigable(-1, code == TK_NAVIGATE_FIRST ? 1 : -1);
        if (found >= 0) SetSelected(found, true);
        return 1;
    }
    default:
        return 0;
    }
}

int CTkCommandBar::FindMnemonic(char character, bool* ambiguous) const {
    if (ambiguous) *ambiguous = false;
    const int start = m_pControls->NextNavigable(m_nHotIndex, 1, true, false, true);
    if (start < 0) return -1;
    auto upper = [](char c) { return (char)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)c); };
    const char wanted = upper(character);
    int marked = -1, fallback = -1;
    int index = start;
    for (int visited = 0; visited < m_pControls->GetCount(); ++visited) {
        const CString& caption = m_pControls->GetControl(index)->GetDisplayCaption();
        const int amp = caption.Find('&');
        if (amp >= 0 && amp < caption.GetLength() - 1) {
            if (upper(caption[amp + 1]) == wanted) {
                if (marked >= 0) {
                    if (ambiguous) *ambiguous = true;
                    return marked;
                }
                marked = index;
            }
        } else if (!caption.IsEmpty() && upper(caption[0]) == wanted) {
            if (fallback >= 0) {
                if (ambiguous) *ambiguous = true;
            } else {
                fallback = index;
            }
        }
        index = m_pControls->NextNavigable(index, 1, true, false, false);
        if (index < 0 || index == start) break;
    }
    return marked >= 0 ? marked : fallback;
}

// ---------------------------------------------------------------------------------------------
// Drawing, command states and the window's messages.

void CTkCommandBar::DrawCommandBar(CDC* dc) {
    CTkThemePainter* painter = GetPainter();
    painter->PaintBarBackground(dc, this);
    if (m_dwStyle & TK_BAR_STYLE_GRIPPER) painter->PaintGripper(dc, this, true);
    bool first = true;
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        if (!control->IsVisible()) continue;
        if (control->m_bBeginGroup && !first) painter->PaintSeparator(dc, this, control, true);
        first = false;
        CTkSelectFont font(dc, painter->GetControlFont(this, control->m_bDefaultItem != 0));
        control->Draw(dc);
    }
    if (!IsCustomizeMode()) return;
    // The control selected for customising is framed twice.
    CTkCommandBars* manager = GetManager();
    CTkControl* selected = manager ? manager->GetSelectedControl() : nullptr;
    if (selected && selected->GetParentBar() == this && selected->IsVisible()) {
        CRect frame = selected->m_rcControl;
        const COLORREF ink = ::GetSysColor(COLOR_BTNTEXT);
        dc->Draw3dRect(frame, ink, ink);
        frame.InflateRect(-1, -1);
        dc->Draw3dRect(frame, ink, ink);
    }
    DrawDropMark(dc);
}

bool CTkCommandBar::ApplyContextVisibility() {
    CTkCommandBars* manager = GetManager();
    const int context = manager ? manager->GetContextId() : 0;
    if (!context) return false;
    bool changed = false;
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        const bool hide = (!control->m_shownIn.empty() && !control->m_shownIn.count(context)) ||
                          control->m_hiddenIn.count(context) != 0;
        if (control->ModifyHideFlags(TK_CONTROL_HIDE_CONTEXT, hide)) changed = true;
    }
    return changed;
}

namespace {

// The class library's update of a window's child controls: each child with an id asks the
// target's handlers; a push button without a handler is disabled when asked to.
void UpdateChildControls(CWnd* parent, CCmdTarget* target, bool disableIfNoHandler) {
    for (HWND child = ::GetWindow(parent->GetSafeHwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CWnd* window = CWnd::FromHandlePermanent(child);
        const int id = ::GetDlgCtrlID(child);
        if (!window || id == 0) continue;
        char cls[16] = "";
        ::GetClassNameA(child, cls, sizeof cls);
        const LONG type = ::GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
        const bool pushButton = _stricmp(cls, "Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
        CCmdUI update;
        update.m_nID = (UINT)id;
        update.m_pOther = window;
        update.DoUpdate(target, disableIfNoHandler && pushButton);
    }
}

}  // namespace

LRESULT CTkCommandBar::HelpHitTest(POINT point) const {
    if (const CTkControl* control = m_pControls->ControlAtPoint(point.x, point.y))
        if (control->m_nId) return 0x10000 + (LRESULT)(UINT)control->m_nId;
    const int id = m_hWnd ? ::GetDlgCtrlID(m_hWnd) : 0;
    return id ? 0x50000 + (LRESULT)(UINT)id : 0;
}

void CTkCommandBar::UpdateCommandUI(bool disableIfNoHandler) {
    if (!IsWindow() || !IsWindowVisible()) return;
    if (ApplyContextVisibility()) m_nPendingUpdate |= TK_BAR_PENDING_LAYOUT;
    const bool customizing = IsCustomizeMode();
    const bool noUpdate = GetRootBar()->m_bNoCommandUpdate != 0;
    CWnd* target = GetCommandTarget();
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        if (control->m_nExecuted) {
            control->m_nExecuted = 0;
            DelayRedraw();
        }
        if (noUpdate || (control->m_nFlags & TK_CONTROL_FLAG_NO_UPDATE)) continue;
        CTkControlCmdUI update(control);
        update.m_nIndex = (UINT)i;
        update.m_pOther = this;
        if (OnCmdMsg(update.m_nID, (int)CN_UPDATE_COMMAND_UI, &update)) continue;
        if (customizing) {
            // The target may still set the state; what nobody handles stays usable for editing.
            if (!target || !target->OnCmdMsg(update.m_nID, (int)CN_UPDATE_COMMAND_UI, &update))
                control->SetEnabled(true);
        } else if (target) {
            update.DoUpdate(target, disableIfNoHandler);
        }
    }
    if (m_nPendingUpdate & TK_BAR_PENDING_REDRAW) {
        m_nPendingUpdate &= ~TK_BAR_PENDING_REDRAW;
        Invalidate(false);
    }
    if (m_nPendingUpdate & TK_BAR_PENDING_LAYOUT) {
        m_nPendingUpdate &= ~TK_BAR_PENDING_LAYOUT;
        OnRecalcLayout();
    }
    if (target) UpdateChildControls(this, target, disableIfNoHandler);
}

INT_PTR CTkCommandBar::OnToolHitTest(POINT point, TOOLINFOW* info) const {
    const INT_PTR child = CWnd::OnToolHitTest(point, info);
    if (child != -1) return child;
    // No tooltips over bars outside an open popup chain, during a bar drag, or over an open menu.
    CTkMouseTracker& tracker = CTkMouseTracker::ForThread();
    if ((tracker.HasTrackedBars() && !tracker.IsTracked(this)) || tracker.IsBarDragRunning()) return -1;
    if (m_nTrackingMode == TK_TRACKING_POPUP && m_nPosition != TK_BAR_POSITION_POPUP) return -1;
    CTkCommandBars* manager = GetManager();
    const CTkCommandBarsSettings* settings = manager ? manager->GetCommandBarsOptions() : nullptr;
    if (settings && !settings->m_bToolBarScreenTips) return -1;
    const CTkControl* control = m_pControls->ControlAtPoint(point.x, point.y);
    if (!control) return -1;
    CString text = control->GetTooltip();
    if (text.IsEmpty()) return -1;
    CString shortcut;
    if (settings && settings->m_bToolBarAccelTips &&
        CTkShortcutText::FindForCommand((UINT)control->m_nId, shortcut, this) && !shortcut.IsEmpty())
    {
        text += " (";
        text += shortcut;
        text += ")";
    }
    if (info && info->cbSize >= 40) {
        info->hwnd = m_hWnd;
        info->uId = (UINT_PTR)control->m_nId;
        info->rect = control->m_rcControl;
        info->lpszText = AfxAllocToolTipText(text);
    }
    return control->m_nId ? control->m_nId : -1;
}

void CTkCommandBar::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CTkOffscreenDC offscreen(paint.GetSafeHdc(), client);
    DrawCommandBar(&offscreen);
}

void CTkCommandBar::OnMouseMove(POINT point) {
    if (IsCustomizeMode()) return;
    CTkMouseTracker& tracker = CTkMouseTracker::ForThread();
    if ((tracker.HasTrackedBars() && !tracker.IsTracked(this)) || tracker.IsBarDragRunning()) return;
    if (m_nPosition != TK_BAR_POSITION_POPUP) {
        HWND owner = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
        if (::GetForegroundWindow() != ::GetLastActivePopup(owner)) return;
    }
    int candidate = (m_nTrackingMode && !(m_nBarType == TK_BAR_TYPE_POPUP && m_nPopupIndex == -1)) ? m_nHotIndex : -1;
    for (int i = 0; i < m_pControls->GetCount(); ++i) {
        CTkControl* control = m_pControls->GetControl(i);
        if (!control->IsVisible() || !::PtInRect(&control->m_rcControl, point)) continue;
        candidate = i;
        tracker.WatchMouseLeave(m_hWnd);
        control->OnMouseMove(point);
    }
    SetSelected(candidate, false);
}

void CTkCommandBar::OnCustomizeContextMenu(POINT point) {
    CTkControl* control = m_pControls->ControlAtPoint(point.x, point.y);
    if (!control || !control->IsVisible() || (control->m_nFlags & TK_CONTROL_FLAG_NO_MOVE)) return;
    CTkCommandBars* manager = GetManager();
    CHoldRef holdSelf(this), holdControl(control);
    SetPopuped(-1, false);
    SetSelected(-1, false);
    manager->SetSelectedControl(control);
    if (CTkCustomizeSheet* sheet = manager->GetControlDragSource()->GetCustomizeSheet()) {
        POINT screen = point;
        ::ClientToScreen(m_hWnd, &screen);
        sheet->ShowContextMenu(screen);
    }
}

bool CTkCommandBar::StartAltDrag(CTkControl* control) {
    CTkCommandBars* manager = GetManager();
    if (!manager || !IsCustomizable() || !dynamic_cast<CTkToolBar*>(this) ||
        (control->m_nFlags & TK_CONTROL_FLAG_NO_MOVE) || ::GetKeyState(VK_MENU) >= 0 ||
        !manager->IsCustomizationEnabled() || !manager->GetCommandBarsOptions()->m_bAltDragCustomization)
        return false;
    // The drag may drop the control elsewhere and close this bar on the way.
    CHoldRef holdSelf(this), holdControl(control), holdManager(manager);
    manager->SetCustomizeModeQuick(true);
    SetPopuped(-1, false);
    SetSelected(-1, false);
    control->CustomizeStartDrag();
    manager->SetCustomizeModeQuick(false);
    manager->RecalcFrameLayout();
    if (m_hWnd) SetTrackingMode(TK_TRACKING_NONE, true, false);
    return true;
}

void CTkCommandBar::OnLButtonDown(POINT point) {
    m_bMouseDownPending = 0;
    CTkControl* control = m_pControls->ControlAtPoint(point.x, point.y);
    if (!control) {
        Default();
        return;
    }
    const bool customizing = IsCustomizeMode();
    if (!customizing && StartAltDrag(control)) return;
    if (customizing && (!m_bCustomizable || (control->m_nFlags & TK_CONTROL_FLAG_NO_MOVE))) return;
    control->OnClick(false, point);
}

LRESULT CTkCommandBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    switch (message) {
    case WM_CREATE:
        if (m_nPosition != TK_BAR_POSITION_LIST)
            if (CTkCommandBars* manager = GetManager()) manager->GetControlDragSource()->AddTarget(this);
        if (m_nBarType != TK_BAR_TYPE_POPUP) EnableToolTips(true);
        break;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        OnMouseMove(point);
        return 0;
    case WM_MOUSELEAVE:
    case WM_NCMOUSEMOVE:
        if (!m_nTrackingMode || (m_nBarType == TK_BAR_TYPE_POPUP && m_nPopupIndex == -1)) SetSelected(-1, false);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(point);
        return 0;
    case WM_LBUTTONUP:
        if (IsCustomizeMode() || m_bMouseDownPending) return 0;
        if (CTkControl* control = m_pControls->ControlAtPoint(point.x, point.y)) {
            control->OnLButtonUp(point);
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (IsCustomizeMode()) return 0;
        if (CTkControl* control = m_pControls->ControlAtPoint(point.x, point.y)) control->OnLButtonDblClk(point);
        return 0;
    case WM_RBUTTONUP:
        if (IsCustomizeMode()) break;
        if (CTkControl* control = m_pControls->ControlAtPoint(point.x, point.y)) {
            if (GetRootBar()->m_bRightButtonAsLeft)
                control->OnLButtonUp(point);
            else
                control->OnRButtonUp(point);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            KillTimer(kHoverTimer);
            if (CTkControl* hot = GetControl(m_nHotIndex)) hot->OnMouseHover();
            return 0;
        }
        if (wParam == kShowFullTimer) {
            // The pointer rested on an open menu's title: the menu shows all of its commands.
            KillTimer(kShowFullTimer);
            if (m_nPopupIndex != -1 && m_nPopupIndex == m_nHotIndex)
                if (auto* popup = dynamic_cast<CTkControlPopup*>(GetControl(m_nHotIndex)))
                    if (popup->IsCursorOver()) popup->ExpandChild();
            return 0;
        }
        break;
    case WM_IDLEUPDATECMDUI:
        UpdateCommandUI(wParam != 0);
        return 0;
    case WM_INITIALUPDATE:
        UpdateCommandUI(true);
        return 0;
    case WM_NCHITTEST:
        if (!IsSiteInHelpMode()) break;
        {
            POINT client = point;
            ::ScreenToClient(m_hWnd, &client);
            const CTkControl* control = m_pControls->ControlAtPoint(client.x, client.y);
            return control && control->IsPopupType() && !control->m_nId ? HTMENU : HTCLIENT;
        }
    case WM_NCLBUTTONDOWN:
        if (!IsSiteInHelpMode()) break;
        {
            POINT client = point;
            ::ScreenToClient(m_hWnd, &client);
            OnLButtonDown(client);
            return 0;
        }
    case WM_HELPHITTEST:
        return HelpHitTest(point);
    case WM_DESTROY:
        if (m_pDropSource) m_pDropSource->RemoveTarget(this);
        if (m_nTrackingMode) SetTrackingMode(TK_TRACKING_NONE, false, false);
        break;
    case WM_RBUTTONDOWN:
        if (!IsCustomizeMode() || !m_bCustomizable) break;
        OnCustomizeContextMenu(point);
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
