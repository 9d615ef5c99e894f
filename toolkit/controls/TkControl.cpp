#include "controls/TkControl.h"

#include "commandbars/TkBarArchive.h"
#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkMenuSound.h"
#include "commandbars/TkPopupBar.h"
#include "commandbars/TkResourceHandles.h"
#include "controls/TkControls.h"
#include "images/TkIconStore.h"
#include "painters/TkThemePainter.h"
#include "res/TkResource.h"

#include <set>

IMPLEMENT_SERIAL(CTkControl, CCmdTarget, TK_ARCHIVE_SCHEMA)
IMPLEMENT_SERIAL(CTkControlButton, CTkControl, TK_ARCHIVE_SCHEMA)
IMPLEMENT_SERIAL(CTkControlPopup, CTkControl, TK_ARCHIVE_SCHEMA)
IMPLEMENT_DYNCREATE(CTkControlExpand, CTkControlPopup)

bool TkLoadString(UINT id, CString& text) {
    if (HINSTANCE resources = GetToolkitResourceHandle())
        if (text.LoadString(resources, id)) return true;
    return text.LoadString(id);
}

CTkControl::~CTkControl() = default;

int CTkControl::GetEffectiveIconId() const {
    if (m_nCustomIconId != 0) return m_nCustomIconId;
    if (m_nIconId > 0) return m_nIconId;
    return m_nId;
}

CTkIconStore* CTkControl::GetIconStore() const {
    if (m_pParent) return m_pParent->GetIconStore();
    if (m_pControls)
        if (CTkCommandBars* manager = m_pControls->GetManager())
            if (manager->GetOwnIconStore()) return manager->GetOwnIconStore();
    return &CTkIconStore::Global();
}

CTkIconEntry* CTkControl::GetIcon(int width) const {
    const int id = GetEffectiveIconId();
    if (id <= 0) return nullptr;
    return GetIconStore()->GetImage((UINT)id, width);
}

CTkThemePainter* CTkControl::GetPainter() const {
    if (m_pParent) return m_pParent->GetPainter();
    if (m_pControls) return CTkThemePainter::PainterFor(m_pControls->GetManager());
    return CTkThemePainter::GetCurrent();
}

void CTkControl::SetBeginGroup(bool on) {
    m_bBeginGroup = on ? 1 : 0;
    RequestParentLayout();
}

void CTkControl::SetEnabled(bool on) {
    if ((m_bEnabled != 0) == on) return;
    m_bEnabled = on ? 1 : 0;
    RedrawParent();
}

bool CTkControl::Compare(const CTkControl* other) const {
    return other && m_nStyle == other->m_nStyle && m_nType == other->m_nType && m_nId == other->m_nId &&
           m_bBeginGroup == other->m_bBeginGroup && GetEffectiveIconId() == other->GetEffectiveIconId() &&
           m_strCaption == other->m_strCaption && m_strTooltip == other->m_strTooltip &&
           m_strDescription == other->m_strDescription && m_strCustomCaption == other->m_strCustomCaption &&
           ((m_nHideFlags & TK_CONTROL_HIDE_CUSTOMIZE) != 0) == ((other->m_nHideFlags & TK_CONTROL_HIDE_CUSTOMIZE) != 0);
}

CSize CTkControl::GetSize(CDC* dc) {
    return GetPainter()->DrawControl(dc, this, false);
}

void CTkControl::Draw(CDC* dc) {
    GetPainter()->DrawControl(dc, this, true);
}

void CTkControl::Copy(const CTkControl* from, bool) {
    m_nId = from->m_nId;
    m_nUserValue = from->m_nUserValue;
    m_nFlags = from->m_nFlags;
    m_nType = from->m_nType;
    m_strCaption = from->m_strCaption;
    m_strShortcutText = from->m_strShortcutText;
    m_strCaptionShortcut = from->m_strCaptionShortcut;
    m_strTooltip = from->m_strTooltip;
    m_strDescription = from->m_strDescription;
    m_strParameter = from->m_strParameter;
    m_nCustomIconId = from->m_nCustomIconId;
    m_nIconId = from->m_nIconId;
    m_bTemporary = from->m_bTemporary;
    m_strCustomCaption = from->m_strCustomCaption;
    m_strCategory = from->m_strCategory;
    m_nHideFlags = from->m_nHideFlags;
    m_bDefaultItem = from->m_bDefaultItem;
    m_bBeginGroup = from->m_bBeginGroup;
    m_bCloseOnExecute = from->m_bCloseOnExecute;
    m_shownIn = from->m_shownIn;
    m_hiddenIn = from->m_hiddenIn;
    m_nStyle = from->m_nStyle;
}

CTkControl* CTkControl::Clone(bool recursive) const {
    CObject* object = GetRuntimeClass()->CreateObject();
    CTkControl* copy = dynamic_cast<CTkControl*>(object);
    if (!copy) {
        delete object;
        copy = new CTkControlButton;
    }
    copy->Copy(this, recursive);
    return copy;
}

void CTkControl::SetID(int id) {
    if (id == m_nId) return;
    CString text;
    if (id > 0 && TkLoadString((UINT)id, text)) {
        const int newline = text.Find('\n');
        if (newline > 0) {
            m_strDescription = text.Left(newline);
            m_strTooltip = text.Mid(newline + 1);
        } else {
            m_strDescription = m_strTooltip = text;
        }
        m_strCaption = m_strTooltip;
    }
    m_nId = id;
}

void CTkControl::SetCaption(const CString& text) {
    CString caption = text;
    const int tab = text.Find('\t');
    if (tab >= 0) {
        m_strCaptionShortcut = text.Mid(tab + 1);
        caption = text.Left(tab);
    }
    if (caption.Compare(m_strCaption) != 0) {
        m_strCaption = caption;
        RequestParentLayout();
    }
}

void CTkControl::SetCaptionFromResource(UINT stringId) {
    CString text;
    if (TkLoadString(stringId, text)) SetCaption(text);
}

void CTkControl::RequestParentLayout() {
    if (m_pParent) m_pParent->DelayLayout();
}

void CTkControl::RedrawParent() {
    if (m_pParent && m_pParent->GetSafeHwnd()) m_pParent->DelayRedraw();
}

void CTkControl::SetDefaultItem(bool on) {
    if ((m_bDefaultItem != 0) == on) return;
    m_bDefaultItem = on ? 1 : 0;
    RequestParentLayout();
}

bool CTkControl::ModifyHideFlags(int bits, bool set) {
    const int flags = set ? (m_nHideFlags | bits) : (m_nHideFlags & ~bits);
    if (flags == m_nHideFlags) return false;
    SetHideFlags(flags);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Clicks, selection and execution.

namespace {
const UINT kSetMessageString = 0x0362;
const UINT kPopMessageString = 0x0375;
const UINT kIdleMessage = 0xE001;
}  // namespace

int CTkControl::SetSelected(int state) {
    if (state == m_nSelected) return 0;
    if (state == TK_CONTROL_SELECTION_KEYBOARD && m_pParent) m_pParent->SetPopuped(-1, true);
    m_nSelected = state;
    if (m_pParent && m_pParent->GetSafeHwnd()) {
        if (CWnd* site = m_pParent->GetSite()) {
            site->SendMessage(TK_WM_CONTROL_SELECTED, state ? (WPARAM)this : 0);
            if (state && !m_strDescription.IsEmpty())
                site->SendMessage(kSetMessageString, 0, (LPARAM)(const char*)m_strDescription);
            else
                site->SendMessage(kPopMessageString, kIdleMessage);
        }
        m_pParent->DelayRedraw();
        m_pParent->Invalidate(false);
    }
    return 1;
}

void CTkControl::Execute() {
    CTkCommandBar* bar = m_pParent;
    CTkCommandBar* root = bar ? bar->GetRootBar() : nullptr;
    // Where the command goes is found while the popup chain still leads to the root bar.
    CWnd* target = bar ? bar->GetCommandTarget() : nullptr;
    HWND targetWindow = target ? target->GetSafeHwnd() : nullptr;
    CHoldRef holdSelf(this);
    CTkMenuSoundPlayer::Instance().Play(CTkMenuSoundPlayer::RequestCommand);
    m_nExecuted = 2;
    auto endTracking = [&]() {
        CTkMouseTracker::ForThread().CloseTracked();
        for (CTkCommandBar* walk = bar; walk; walk = walk->GetParentBar())
            walk->SetTrackingMode(TK_TRACKING_NONE, true, false);
    };
    if (root && root->m_pReturnCommand) {
        endTracking();
        *root->m_pReturnCommand = m_nId;
        return;
    }
    // A rarely used command run once is shown from then on, and so is the menu it was found in.
    if (CTkCommandBars* manager = bar ? bar->GetManager() : nullptr) {
        manager->OnCommandExecuted((UINT)m_nId);
        if (bar->m_nBarType == TK_BAR_TYPE_POPUP)
            if (CTkControl* opener = bar->GetOwnerControl())
                if (opener->m_nId != 0) manager->OnCommandExecuted((UINT)opener->m_nId);
    }
    const bool closed = m_bCloseOnExecute != 0;
    if (closed) endTracking();
    if (m_nId != 0 && targetWindow && ::IsWindow(targetWindow)) {
        CTkExecuteRecord record = {{nullptr, (UINT_PTR)m_nId, TK_CONTROL_EXECUTED}, this};
        if (!::SendMessageW(targetWindow, TK_WM_EXECUTE, (WPARAM)m_nId, (LPARAM)&record))
            ::SendMessageW(targetWindow, WM_COMMAND, (WPARAM)m_nId, 0);
    }
    if (!closed && m_nId != 0 && m_pParent && m_pParent->GetSafeHwnd()) {
        m_pParent->UpdateCommandUI(false);
        m_pParent->Invalidate(false);
    }
}

void CTkControl::OnClick(bool byKeyboard, POINT) {
    if (!m_bEnabled) return;
    if (IsCustomizeMode()) {
        m_pParent->SetPopuped(-1, false);
        m_pParent->SetSelected(-1, false);
        CustomizeStartDrag();
        return;
    }
    if (byKeyboard) {
        Execute();
        return;
    }
    if (m_pParent && m_pParent->m_nBarType == TK_BAR_TYPE_POPUP) return;  // runs on button-up
    TrackPressed(CRect());
}

bool CTkControl::IsCustomizeMode() const {
    CTkCommandBars* manager = m_pParent ? m_pParent->GetManager() : nullptr;
    return manager && manager->IsCustomizeMode();
}

void CTkControl::CustomizeStartDrag() {
    CTkCommandBar* bar = m_pParent;
    CTkCommandBars* manager = bar ? bar->GetManager() : nullptr;
    if (!manager) return;
    // The drag runs a loop of its own, in which the control may be dropped elsewhere and its bar
    // or frame closed; the move below releases the collection's reference.
    CHoldRef holdSelf(this), holdBar(bar), holdManager(manager);
    manager->SetSelectedControl(this);
    ITkControlDragSource* source = manager->m_pControlDragSource;
    const DWORD effect = source ? source->DoDragControl(this) : DROPEFFECT_NONE;
    CTkControls* controls = m_pControls;
    if (effect == DROPEFFECT_MOVE && controls && controls->GetControl(m_nIndex) == this) {
        if (bar->GetSafeHwnd()) {
            bar->SetPopuped(-1, false);
            bar->SetSelected(-1, false);
        }
        if (manager->GetSelectedControl() == this) manager->SetSelectedControl(nullptr);
        const int count = controls->GetCount();
        if (m_bBeginGroup && m_nIndex < count - 1) controls->GetControl(m_nIndex + 1)->SetBeginGroup(true);
        if (m_nIndex == 0 && count >= 2) controls->GetControl(1)->SetBeginGroup(false);
        // The copy dropped into the same bar sits beside the original: the original goes by
        // identity, never by the place it had when the drag began.
        controls->RemoveControl(this);
        bar->OnRecalcLayout();
    }
    // The selection is shown again where it is now (the dropped copy, or this control when it stayed).
    if (CTkControl* selected = manager->GetSelectedControl())
        if (CTkCommandBar* shown = selected->GetParentBar())
            if (shown->GetSafeHwnd()) shown->Invalidate(false);
}

void CTkControl::CustomizeDragOver(CTkControl*, POINT) {
    if (!m_pParent) return;
    m_pParent->SetPopuped(-1, false);
    m_pParent->SetSelected(-1, false);
}

void CTkControl::OnLButtonUp(POINT) {
    if (m_bEnabled && m_pParent && m_pParent->m_nBarType == TK_BAR_TYPE_POPUP) Execute();
}

void CTkControl::OnMouseHover() {
    if (!m_pParent) return;
    if (m_pParent->SetPopuped(-1, false) && m_pParent->m_nTrackingMode == TK_TRACKING_POPUP &&
        m_pParent->m_nBarType != TK_BAR_TYPE_POPUP)
        m_pParent->SetTrackingMode(TK_TRACKING_NONE, false, false);
}

bool CTkControl::IsCursorOver() const {
    if (!m_pParent || !m_pParent->GetSafeHwnd()) return false;
    POINT cursor;
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_pParent->GetSafeHwnd(), &cursor);
    return ::PtInRect(&m_rcControl, cursor) != FALSE;
}

CTkControl::PFNGETMESSAGE CTkControl::s_pfnGetMessage = ::GetMessageW;

bool CTkControl::TrackPressed(const CRect& given) {
    CTkCommandBar* bar = m_pParent;
    if (!bar || !bar->GetSafeHwnd()) return false;
    HWND window = bar->GetSafeHwnd();
    const CRect rect = given.IsRectEmpty() ? m_rcControl : given;
    CHoldRef holdSelf(this);
    bar->SetSelected(m_nIndex, false);
    m_nExecuted = 1;
    bar->Invalidate(false);
    ::SetCapture(window);
    bool inside = true, execute = false;
    MSG msg;
    while (::IsWindow(window) && ::GetCapture() == window) {
        const BOOL got = s_pfnGetMessage(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage((int)msg.wParam);  // the loop ends; the program's own loop ends next
            break;
        }
        if (got == -1) break;  // no message was read: the press ends, nothing more is known
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == window) {
            POINT point = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
            inside = ::PtInRect(&rect, point) != FALSE;
            const int state = ::PtInRect(&m_rcControl, point) ? TK_CONTROL_SELECTION_MOUSE : TK_CONTROL_SELECTION_NONE;
            if (state != m_nSelected) {
                m_nSelected = state;
                bar->Invalidate(false);
            }
            continue;
        }
        if (msg.message == WM_LBUTTONUP && msg.hwnd == window) {
            execute = m_nSelected != TK_CONTROL_SELECTION_NONE && inside;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (::GetCapture() == window) ::ReleaseCapture();
    if (::IsWindow(window) && m_pParent == bar) {
        if (m_nSelected != TK_CONTROL_SELECTION_NONE || bar->m_nHotIndex == m_nIndex) {
            m_nSelected = TK_CONTROL_SELECTION_NONE;
            bar->m_nHotIndex = -1;
            bar->KillTimer(CTkCommandBar::kHoverTimer);
        }
        m_nExecuted = 0;
        bar->Invalidate(false);
    } else {
        execute = false;
    }
    if (execute) Execute();
    return execute;
}

// ---------------------------------------------------------------------------------------------
// The popup control.

namespace {
// The child bars being copied on this thread: a popup met again inside one shares it.
std::set<const CTkCommandBar*>& BarsBeingCopied() {
    static thread_local std::set<const CTkCommandBar*> bars;
    return bars;
}
}  // namespace

CTkControlPopup::CTkControlPopup() {
    m_nType = TK_CONTROL_TYPE_POPUP;
}

CTkControlPopup::~CTkControlPopup() {
    AttachChildBar(nullptr);
}

int CTkControlPopup::SetPopuped(bool open) {
    if (open) {
        if (!m_pChildBar) return 0;
        m_bPopupOpen = 1;
        if (m_pChildBar->m_nTrackingMode) return 1;
        m_pChildBar->Popup(this, m_nSelected == TK_CONTROL_SELECTION_KEYBOARD);
        return 1;
    }
    m_bPopupOpen = 0;
    if (m_pChildBar) m_pChildBar->SetTrackingMode(TK_TRACKING_NONE, true, false);
    RedrawParent();
    if (m_pParent && m_pParent->GetSafeHwnd()) m_pParent->Invalidate(false);
    return 1;
}

int CTkControlPopup::SetSelected(int state) {
    if (!CTkControl::SetSelected(state)) return 0;
    CTkCommandBar* bar = m_pParent;
    if (!bar || !m_bEnabled) {
        if (bar && state == TK_CONTROL_SELECTION_NONE && m_bPopupOpen && bar->m_nPosition != TK_BAR_POSITION_POPUP)
            bar->SetPopuped(-1, false);
        return 1;
    }
    // A popup is open in the bar, or was until the control before this one was deselected.
    const bool parentOpen = bar->m_nPopupIndex != -1 || bar->m_nTrackingMode == TK_TRACKING_POPUP;
    if (m_nType != TK_CONTROL_TYPE_POPUP && bar->m_nBarType != TK_BAR_TYPE_POPUP) {
        if (state == TK_CONTROL_SELECTION_KEYBOARD && parentOpen) bar->SetPopuped(m_nIndex, true);
    } else if (state != TK_CONTROL_SELECTION_NONE) {
        if (parentOpen && bar->m_nPosition != TK_BAR_POSITION_POPUP) bar->SetPopuped(m_nIndex, state == TK_CONTROL_SELECTION_KEYBOARD);
    } else if (m_bPopupOpen && bar->m_nPosition != TK_BAR_POSITION_POPUP) {
        bar->SetPopuped(-1, false);
    }
    return 1;
}

void CTkControlPopup::OnClick(bool byKeyboard, POINT point) {
    CTkCommandBar* bar = m_pParent;
    if (!m_bEnabled || !bar) return;
    const bool inPopupBar = bar->m_nBarType == TK_BAR_TYPE_POPUP;
    if (m_bPopupOpen && !inPopupBar) {
        bar->SetTrackingMode(TK_TRACKING_NONE, true, false);  // clicking an open menu title closes it
        return;
    }
    const bool customizing = bar->GetManager() && bar->GetManager()->IsCustomizeMode();
    if (!customizing && m_nType == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP) {
        if (inPopupBar) {
            if (byKeyboard) {
                Execute();
                return;
            }
            if (point.x < m_rcControl.right - 20) {
                bar->KillTimer(CTkCommandBar::kHoverTimer);  // the command runs on button-up
                return;
            }
        } else if (!byKeyboard && point.x < m_rcControl.right - 11) {
            TrackPressed(CRect(m_rcControl.left, m_rcControl.top, m_rcControl.right - 11, m_rcControl.bottom));
            return;
        }
    }
    if (customizing) {
        bar->GetManager()->SetSelectedControl(this);
        if (!m_pChildBar || m_pChildBar->m_bCustomizable) bar->SetPopuped(m_nIndex, byKeyboard);
        CustomizeStartDrag();
        return;
    }
    bar->SetPopuped(m_nIndex, byKeyboard);
}

void CTkControlPopup::CustomizeDragOver(CTkControl* dragged, POINT point) {
    if (!m_pParent || (m_pChildBar && !m_pChildBar->m_bCustomizable)) return;
    auto* draggedPopup = dynamic_cast<CTkControlPopup*>(dragged);
    if (draggedPopup && draggedPopup->ContainsControl(this)) {
        CTkControl::CustomizeDragOver(dragged, point);
        return;
    }
    if (m_pParent->m_nPopupIndex != m_nIndex) m_pParent->SetPopuped(m_nIndex, false);
}

void CTkControlPopup::OnLButtonUp(POINT point) {
    if (m_bEnabled && m_nType == TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP && m_pParent &&
        m_pParent->m_nBarType == TK_BAR_TYPE_POPUP && point.x + 20 < m_rcControl.right)
        Execute();
}

void CTkControlPopup::OnLButtonDblClk(POINT point) {
    auto* child = dynamic_cast<CTkPopupBar*>(m_pChildBar.Get());
    if ((m_nType != TK_CONTROL_TYPE_POPUP && m_nType != TK_CONTROL_TYPE_BUTTON_POPUP) || !child) {
        CTkControl::OnLButtonDblClk(point);
        return;
    }
    if (!m_bPopupOpen) {
        if (m_pParent) m_pParent->OnLButtonDown(point);
        return;
    }
    // Double-clicking an open menu runs its default command, else shows all of its commands.
    CTkControls* items = child->GetControls();
    for (int i = 0; i < items->GetCount(); ++i) {
        CTkControl* item = items->GetControl(i);
        if (item->m_bDefaultItem && item->m_bEnabled) {
            item->Execute();
            return;
        }
    }
    if (child->HasHiddenControls() && !child->IsExpanded()) child->Expand();
}

CTkCommandBar* CTkControlPopup::ExpandChild() {
    auto* child = dynamic_cast<CTkPopupBar*>(m_pChildBar.Get());
    if (m_bPopupOpen && child && m_nType == TK_CONTROL_TYPE_POPUP) child->Expand();
    return m_pChildBar;
}

void CTkControlPopup::OnMouseHover() {
    CTkCommandBar* bar = m_pParent;
    if (!m_bEnabled || !bar) return;
    if (bar->m_nTrackingMode == TK_TRACKING_POPUP || bar->m_nBarType == TK_BAR_TYPE_POPUP)
        bar->SetPopuped(m_nIndex, false);
    else
        CTkControl::OnMouseHover();
}

void CTkControlPopup::AttachChildBar(CTkCommandBar* bar) {
    m_pChildBar.Reset(bar);
}

bool CTkControlPopup::Compare(const CTkControl* other) const {
    if (!CTkControl::Compare(other)) return false;
    auto* popup = dynamic_cast<const CTkControlPopup*>(other);
    if (!popup) return false;
    if (m_pChildBar && popup->m_pChildBar)
        return m_pChildBar->GetControls()->SameAs(popup->m_pChildBar->GetControls());
    return true;
}

void CTkControlPopup::Copy(const CTkControl* from, bool recursive) {
    CTkControl::Copy(from, recursive);
    auto* popup = dynamic_cast<const CTkControlPopup*>(from);
    if (!popup || !popup->m_pChildBar) return;
    CTkCommandBar* source = popup->m_pChildBar;
    auto& copying = BarsBeingCopied();
    if (!recursive || copying.count(source)) {
        AttachChildBar(source);
        return;
    }
    copying.insert(source);
    CTkCommandBar* copy = source->Clone(true);
    copying.erase(source);
    AttachChildBar(TkAdoptRef(copy));
}

bool CTkControlPopup::ContainsControl(const CTkControl* control) const {
    std::set<const CTkCommandBar*> seen;
    std::vector<const CTkCommandBar*> pending;
    auto* other = dynamic_cast<const CTkControlPopup*>(control);
    if (other && other->m_pChildBar && other->m_pChildBar == m_pChildBar) return true;
    if (m_pChildBar) pending.push_back(m_pChildBar);
    while (!pending.empty()) {
        const CTkCommandBar* bar = pending.back();
        pending.pop_back();
        if (!seen.insert(bar).second) continue;
        CTkControls* controls = bar->GetControls();
        for (int i = 0; i < controls->GetCount(); ++i) {
            CTkControl* item = controls->GetControl(i);
            if (item == control) return true;
            if (CTkCommandBar* child = item->GetCommandBar()) {
                if (other && child == other->m_pChildBar) return true;
                pending.push_back(child);
            }
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// The expand button.

CTkControlExpand::CTkControlExpand() {
    m_nType = TK_CONTROL_TYPE_BUTTON_POPUP;
    m_nFlags = TK_CONTROL_FLAG_EXPAND | TK_CONTROL_FLAG_NO_UPDATE | TK_CONTROL_FLAG_NO_MOVE;
    m_bTemporary = 1;
}

void CTkControlExpand::SetRect(int left, int top, int right, int bottom) {
    CTkControlPopup::SetRect(left, top, right, bottom);
    m_bControlsHidden = m_pParent && m_pParent->HasWrappedControls() ? 1 : 0;
}

CSize CTkControlExpand::GetSize(CDC* dc) {
    return GetPainter()->PaintSpecialGlyph(dc, TK_GLYPH_EXPAND, this, false);
}

void CTkControlExpand::Draw(CDC* dc) {
    GetPainter()->PaintSpecialGlyph(dc, TK_GLYPH_EXPAND, this, true);
}

int CTkControlExpand::SetPopuped(bool open) {
    CTkCommandBar* bar = m_pParent;
    if (!open) {
        m_bPopupOpen = 0;
        if (m_pChildBar) m_pChildBar->SetTrackingMode(TK_TRACKING_NONE, true, false);
        if (bar && bar->GetSafeHwnd()) bar->Invalidate(false);
        return 1;
    }
    CTkCommandBars* manager = bar ? bar->GetManager() : nullptr;
    if (!manager || !m_pControls) return 0;
    CHoldRef holdSelf(this), holdBar(bar);
    AttachChildBar(nullptr);
    CTkCommandBar* child = m_pControls->RequestChildBar(bar->GetSite(), CString(), m_nId);
    if (!child) return 0;
    AttachChildBar(TkAdoptRef(child));
    child->m_bCustomizable = 0;
    manager->FillRowOverflowPopup(bar, child);
    const CTkCommandBarsSettings* settings = manager->GetCommandBarsOptions();
    if ((settings && settings->m_bShowExpandButtonAlways) || manager->IsCustomizationEnabled()) {
        // The options item's own popup comes the way the button's did (the child bar may not
        // know its manager before it opens).
        CString caption;
        TkLoadString(IDS_TK_TOOLBAR_OPTIONS, caption);
        auto* options = new CTkControlPopup;
        CTkCommandBar* optionsBar = m_pControls->RequestChildBar(bar->GetSite(), caption, 0);
        options->AttachChildBar(TkAdoptRef(optionsBar));
        options->m_bBeginGroup = child->GetControls()->GetCount() > 1 ? 1 : 0;
        child->GetControls()->Append(options);
        options->m_strCaption = caption;
        manager->FillToolbarOptionsPopup(bar, optionsBar);
    } else {
        child->m_nMRUWidth = 150;
    }
    m_bPopupOpen = 1;
    child->Popup(this, m_nSelected == TK_CONTROL_SELECTION_KEYBOARD);
    if (bar->GetSafeHwnd()) bar->Invalidate(false);
    return 1;
}
