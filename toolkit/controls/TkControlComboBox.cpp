#include "controls/TkControlComboBox.h"

#include "afxarchive.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkWorkArea.h"
#include "controls/TkControls.h"
#include "painters/TkThemePainter.h"

#include <algorithm>

IMPLEMENT_SERIAL(CTkControlComboBoxList, CTkCommandBar, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CTkControlComboBox, CTkControlPopup, VERSIONABLE_SCHEMA | 7)

namespace {
// WS_EX_STATICEDGE | WS_EX_TOOLWINDOW; WS_POPUP | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL.
const DWORD kListExStyle = 0x20080;
const DWORD kListStyle = 0x82A00000;
const int kMaxRows = 12;
// The list's border: the window border and the static edge.
const int kListFrame = 4;

}  // namespace

// ---------------------------------------------------------------------------------------------
// The list.

CTkControlComboBoxList::CTkControlComboBoxList() {
    m_nBarType = TK_BAR_TYPE_POPUP;
    m_nPosition = TK_BAR_POSITION_LIST;
    m_nMRUWidth = 0;
}

CTkControlComboBoxList::~CTkControlComboBoxList() {
    LeaveModalLoop();
    m_pCombo = nullptr;
    if (GetSafeHwnd()) DestroyWindow();
}

CTkCommandBar* CTkControlComboBoxList::GetParentBar() const {
    return m_pCombo ? m_pCombo->GetParentBar() : nullptr;
}

CTkControl* CTkControlComboBoxList::GetOwnerControl() const {
    return m_pCombo;
}

bool CTkControlComboBoxList::CreateListWindow(HWND owner) {
    if (GetSafeHwnd()) return true;
    return CreateEx(kListExStyle, "LISTBOX", "", kListStyle, 0, 0, 0, 0, owner, nullptr);
}

void CTkControlComboBoxList::SetOwnerWindow(HWND owner) {
    if (GetSafeHwnd()) ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)owner);
}

int CTkControlComboBoxList::AddString(const char* text) {
    if (!CreateListWindow(nullptr)) return LB_ERR;
    return (int)::SendMessageA(m_hWnd, LB_ADDSTRING, 0, (LPARAM)(text ? text : ""));
}

int CTkControlComboBoxList::GetCount() const {
    return GetSafeHwnd() ? (int)SendMessage(LB_GETCOUNT) : 0;
}

CString CTkControlComboBoxList::GetString(int index) const {
    if (!GetSafeHwnd()) return CString();
    const int length = (int)::SendMessageA(m_hWnd, LB_GETTEXTLEN, (WPARAM)index, 0);
    if (length <= 0) return CString();
    std::string text((size_t)length + 1, '\0');
    const int copied = (int)::SendMessageA(m_hWnd, LB_GETTEXT, (WPARAM)index, (LPARAM)&text[0]);
    return CString(text.c_str(), std::max(0, std::min(copied, length)));
}

void CTkControlComboBoxList::ResetContent() {
    if (GetSafeHwnd()) SendMessage(LB_RESETCONTENT);
}

void CTkControlComboBoxList::Copy(const CTkCommandBar* from, bool recursive) {
    CTkCommandBar::Copy(from, recursive);
    if (auto* list = dynamic_cast<const CTkControlComboBoxList*>(from)) CopyStrings(list);
}

void CTkControlComboBoxList::CopyStrings(const CTkControlComboBoxList* from) {
    if (!from || from == this) return;
    m_nMRUWidth = from->m_nMRUWidth;
    ResetContent();
    for (int i = 0; i < from->GetCount(); ++i) AddString(from->GetString(i));
}

void CTkControlComboBoxList::EnterModalLoop() {
    if (m_bModalLoop) return;
    m_bModalLoop = true;
    CTkMouseTracker::ForThread().EnterModalLoop();
}

void CTkControlComboBoxList::LeaveModalLoop() {
    if (!m_bModalLoop) return;
    m_bModalLoop = false;
    CTkMouseTracker::ForThread().LeaveModalLoop();
}

CRect CTkControlComboBoxList::PlaceBelow(const CRect& exclude, int width, int height) {
    const CRect work = GetWorkAreaOfRect(exclude);
    const int bottom = work.bottom - 5;
    CRect place(exclude.left, exclude.bottom, exclude.left + width, exclude.bottom + height);
    if (place.bottom > bottom) {
        if (exclude.top - height >= work.top)
            place.OffsetRect(0, exclude.top - height - place.top);  // above the combo
        else if (exclude.top - work.top > bottom - exclude.bottom)
            place = CRect(place.left, work.top, place.right, exclude.top);  // more room above
        else
            place.bottom = bottom;
    }
    if (place.right > work.right) place.OffsetRect(work.right - place.right, 0);
    if (place.left < work.left) place.OffsetRect(work.left - place.left, 0);
    return place;
}

int CTkControlComboBoxList::Popup(CTkControl* control, bool byKeyboard) {
    auto* combo = dynamic_cast<CTkControlComboBox*>(control);
    CTkCommandBar* bar = combo ? combo->GetParentBar() : nullptr;
    if (!bar || !bar->GetSafeHwnd()) return 0;
    CWnd* site = bar->GetSite();
    HWND owner = site ? site->GetSafeHwnd() : nullptr;
    if (!CreateListWindow(owner)) return 0;
    SetOwnerWindow(owner);
    SendMessage(WM_SETFONT, (WPARAM)CTkThemePainter::Fonts().iconTitle.GetSafeHandle(), FALSE);
    m_pCombo = combo;
    if (owner) ::SendMessageW(owner, TK_WM_POPUP_PREPARE, 0, (LPARAM)this);
    if (m_pCombo != combo || !GetSafeHwnd()) return 0;  // the site closed or destroyed it
    EnterModalLoop();
    SetTrackingMode(TK_TRACKING_ACTIVE, false, byKeyboard);

    CRect exclude = combo->GetRect();
    ::MapWindowPoints(bar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&exclude), 2);
    const int rows = std::min(std::max(GetCount(), 1), kMaxRows);
    const int itemHeight = std::max(1, (int)SendMessage(LB_GETITEMHEIGHT, 0));
    const int width = m_nMRUWidth > 0 ? m_nMRUWidth : exclude.Width();
    const int height = itemHeight * rows + kListFrame;
    const CRect place = PlaceBelow(exclude, width, height);
    SetWindowPos(HWND_TOPMOST, place.left, place.top, place.Width(), place.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const int selection = combo->GetCurSel();
    if (selection >= 0) SendMessage(LB_SETTOPINDEX, (WPARAM)selection);
    return 1;
}

int CTkControlComboBoxList::SetTrackingMode(int mode, bool selectFirst, bool byKeyboard) {
    if (mode) return CTkCommandBar::SetTrackingMode(mode, selectFirst, byKeyboard);
    const int changed = CTkCommandBar::SetTrackingMode(TK_TRACKING_NONE, selectFirst, byKeyboard);
    LeaveModalLoop();
    if (GetSafeHwnd()) ShowWindow(SW_HIDE);
    CTkControlComboBox* combo = m_pCombo;
    if (!combo) return changed;
    CTkCommandBar* bar = combo->GetParentBar();
    if (bar) {
        // Closed from this side (Esc, a click outside): the combo's bar closes its popup too.
        if (combo->IsPopupOpen() && bar->m_nPopupIndex == combo->m_nIndex) bar->SetPopuped(-1, false);
        bar->SetSelected(-1, false);
    }
    m_pCombo = nullptr;
    if (CWnd* site = bar ? bar->GetSite() : nullptr)
        if (site->GetSafeHwnd()) site->UpdateWindow();
    return changed;
}

int CTkControlComboBoxList::OnHookKeyDown(UINT key) {
    CTkControlComboBox* combo = m_pCombo;
    if (!combo || !GetSafeHwnd()) return 0;
    switch (key) {
    case VK_ESCAPE: {
        CTkCommandBar* bar = combo->GetParentBar();
        if (!bar) return SetTrackingMode(TK_TRACKING_NONE, true, false), 1;
        bar->SetPopuped(-1, true);
        if (bar->m_nBarType != TK_BAR_TYPE_POPUP) bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
        return 1;
    }
    case VK_TAB:
        return 0;
    case VK_RETURN:
        combo->Execute();
        return 1;
    default: {
        const int before = (int)SendMessage(LB_GETCURSEL);
        SendMessage(WM_KEYDOWN, key, 0);
        if ((int)SendMessage(LB_GETCURSEL) != before) combo->OnSelChanged();
        return 1;
    }
    }
}

void CTkControlComboBoxList::PaintBorder() {
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc) return;
    CRect rect;
    ::GetWindowRect(m_hWnd, &rect);
    rect.OffsetRect(-rect.left, -rect.top);
    CTkThemePainter* painter = GetPainter();
    HBRUSH border = ::CreateSolidBrush(painter->GetColor(TK_COLOR_BTNSHADOW));
    ::FrameRect(dc, &rect, border);
    ::DeleteObject(border);
    ::InflateRect(&rect, -1, -1);
    ::FrameRect(dc, &rect, ::GetSysColorBrush(COLOR_WINDOW));
    ::ReleaseDC(m_hWnd, dc);
}

LRESULT CTkControlComboBoxList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCPAINT: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        PaintBorder();
        return result;
    }
    case WM_ERASEBKGND: {
        CRect client;
        GetClientRect(&client);
        ::FillRect((HDC)wParam, &client, ::GetSysColorBrush(COLOR_WINDOW));
        return 1;
    }
    case WM_MOUSEMOVE:
        if (m_pCombo) {
            const LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, lParam);
            if (!HIWORD(hit) && (int)LOWORD(hit) != m_pCombo->GetCurSel()) m_pCombo->SetCurSel((int)LOWORD(hit));
            CTkMouseTracker::ForThread().WatchMouseLeave(m_hWnd);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return 0;  // the list takes neither the focus nor the capture
    case WM_LBUTTONUP:
        if (m_pCombo) {
            CRect client;
            GetClientRect(&client);
            if (::PtInRect(&client, point)) m_pCombo->Execute();
        }
        return 0;
    case WM_DESTROY:
        if (m_nTrackingMode) SetTrackingMode(TK_TRACKING_NONE, false, false);
        LeaveModalLoop();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The combo box.

CTkControlComboBox::CTkControlComboBox() {
    m_nType = TK_CONTROL_TYPE_COMBO;
    m_pList = new CTkControlComboBoxList;
    AttachChildBar(TkAdoptRef(m_pList));  // the child-bar link holds it
}

CTkControlComboBox::~CTkControlComboBox() {
    if (m_pList->m_pCombo == this) m_pList->SetTrackingMode(TK_TRACKING_NONE, false, false);
    m_pList->m_pCombo = nullptr;
    m_field.Destroy();
}

void CTkControlComboBox::SetEditable(bool on) {
    m_bEditable = on ? 1 : 0;
    if (on) {
        m_field.CreateObject();
    } else {
        m_field.Destroy();
    }
    m_pLaidOutBar = nullptr;
    RequestParentLayout();
}

CString CTkControlComboBox::GetText() {
    return m_field.GetText();
}

void CTkControlComboBox::SetText(const CString& text) {
    m_field.SetText(text);
    RedrawParent();
}

int CTkControlComboBox::GetCurSel() const {
    return m_pList->GetSafeHwnd() ? (int)m_pList->SendMessage(LB_GETCURSEL) : -1;
}

void CTkControlComboBox::SetCurSel(int index) {
    if (!m_pList->GetSafeHwnd() || index == GetCurSel()) return;
    m_pList->SendMessage(LB_SETCURSEL, (WPARAM)index);
    OnSelChanged();
}

CString CTkControlComboBox::GetListText() const {
    const int selection = GetCurSel();
    return selection >= 0 ? m_pList->GetString(selection) : CString();
}

void CTkControlComboBox::OnSelChanged() {
    m_field.SetText(GetListText());
    if (m_pParent && m_pParent->GetSafeHwnd()) m_pParent->Invalidate(false);
}

CSize CTkControlComboBox::GetSize(CDC* dc) {
    CSize size = CTkControl::GetSize(dc);
    m_nCaptionWidth = TkFieldCaptionWidth(this, true);
    m_nDropButtonWidth = ::GetSystemMetrics(SM_CXVSCROLL) + 2;
    size.cx = m_nCaptionWidth + m_nWidth;
    return size;
}

void CTkControlComboBox::SetRect(int left, int top, int right, int bottom) {
    const CRect rect(left, top, right, bottom);
    if (::EqualRect(&rect, &m_rcControl) && m_pParent == m_pLaidOutBar && (!m_bEditable || m_field.GetWindow())) return;
    CTkControl::SetRect(left, top, right, bottom);
    m_pLaidOutBar = m_pParent;
    if (m_bEditable)
        m_field.Layout(m_pParent, CRect(left + m_nCaptionWidth + 4, top + 3, right - m_nDropButtonWidth - 3, bottom - 3));
}

void CTkControlComboBox::SetEnabled(bool on) {
    CTkControlPopup::SetEnabled(on);
    m_field.Enable(on);
}

void CTkControlComboBox::SetHideFlags(int flags) {
    CTkControlPopup::SetHideFlags(flags);
    m_field.Show(flags == 0);
}

void CTkControlComboBox::SetParent(CTkCommandBar* bar) {
    const bool moved = bar != m_pParent;
    CTkControlPopup::SetParent(bar);
    if (!moved) return;
    m_pLaidOutBar = nullptr;
    if (!bar) {
        if (m_pList->m_pCombo == this) m_pList->SetTrackingMode(TK_TRACKING_NONE, false, false);
        m_field.Destroy();
        if (m_bEditable) m_field.CreateObject();
        return;
    }
    CWnd* site = bar->GetSite();
    m_pList->SetOwnerWindow(site ? site->GetSafeHwnd() : nullptr);
}

void CTkControlComboBox::OnCalcDynamicSize(DWORD mode) {
    TkHideFieldWhenVertical(this, mode);
}

int CTkControlComboBox::SetPopuped(bool open) {
    if (open) {
        m_nSavedSel = GetCurSel();
        return CTkControlPopup::SetPopuped(true);
    }
    const int result = CTkControlPopup::SetPopuped(false);
    if (GetCurSel() != m_nSavedSel) SetCurSel(m_nSavedSel);
    return result;
}

void CTkControlComboBox::OnClick(bool byKeyboard, POINT point) {
    CTkCommandBar* bar = m_pParent;
    if (!m_bEnabled || !bar) return;
    if (IsCustomizeMode()) {
        bar->SetSelected(-1, false);
        CTkControl::OnClick(byKeyboard, point);  // dragged as any control, the list stays shut
        return;
    }
    if (byKeyboard && m_field.GetWindow()) {
        m_field.ClickByKeyboard();
        return;
    }
    CTkControlPopup::OnClick(byKeyboard, point);
}

void CTkControlComboBox::Execute() {
    m_nSavedSel = GetCurSel();
    CTkControlPopup::Execute();
}

void CTkControlComboBox::Copy(const CTkControl* from, bool recursive) {
    CTkControl::Copy(from, recursive);  // not the popup's copy: the list stays this combo's own
    auto* combo = dynamic_cast<const CTkControlComboBox*>(from);
    if (!combo) return;
    m_nCaptionWidth = combo->m_nCaptionWidth;
    m_nDropButtonWidth = combo->m_nDropButtonWidth;
    m_nThirdWord = combo->m_nThirdWord;
    m_nWidth = combo->m_nWidth;
    SetEditable(combo->m_bEditable != 0);
    SetText(const_cast<CTkControlComboBox*>(combo)->GetText());
    m_pList->Copy(combo->m_pList, recursive);
}

void CTkControlComboBox::ToggleList() {
    CTkCommandBar* bar = m_pParent;
    if (!bar) return;
    if (IsPopupOpen())
        bar->SetPopuped(-1, true);
    else
        bar->SetPopuped(m_nIndex, true);
}

int CTkControlComboBox::CComboField::OnFieldKey(UINT key) {
    if (!GetWindow()) return TK_HOOK_HANDLED;
    auto* combo = static_cast<CTkControlComboBox*>(m_pControl);
    if (key == VK_F4) {
        combo->ToggleList();
        return TK_HOOK_STOP;
    }
    // While the list is open its keys (Esc, Enter, arrows) go to it before the bars see them.
    if (combo->IsPopupOpen()) return combo->m_pList->OnHookKeyDown(key) ? TK_HOOK_HANDLED : TK_HOOK_IGNORED;
    return CTkFieldHost::OnFieldKey(key);
}
