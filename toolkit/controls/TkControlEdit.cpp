#include "controls/TkControlEdit.h"

#include "afxarchive.h"
#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkPopupBar.h"
#include "controls/TkControls.h"
#include "painters/TkThemePainter.h"

IMPLEMENT_SERIAL(CTkControlEdit, CTkControl, VERSIONABLE_SCHEMA | 7)
IMPLEMENT_SERIAL(CTkControlLabel, CTkControl, VERSIONABLE_SCHEMA | 7)

namespace {
// Child, auto-scrolling horizontally.
const DWORD kFieldStyle = WS_CHILD | ES_AUTOHSCROLL;
// The gap the painters leave between a caption and its field.
const int kCaptionGap = 22;


}  // namespace

int TkFieldCaptionWidth(const CTkControl* control, bool shown) {
    if (!shown) return 0;
    CTkCommandBar* bar = control->GetParentBar();
    const bool inPopup = bar && bar->m_nBarType == TK_BAR_TYPE_POPUP;
    if (control->m_strCaption.IsEmpty() && !inPopup) return 0;
    const CString caption = CTkThemePainter::StripMnemonics(control->GetDisplayCaption());
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, CTkThemePainter::Fonts().iconTitle.GetSafeHandle());
    SIZE size = {};
    ::GetTextExtentPoint32A(screen, caption, caption.GetLength(), &size);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    return size.cx + kCaptionGap;
}

void TkHideFieldWhenVertical(CTkControl* control, DWORD mode) {
    control->ModifyHideFlags(TK_CONTROL_HIDE_VERTICAL, (mode & TK_LAYOUT_VERT_DOCK) != 0);
}

// ---------------------------------------------------------------------------------------------
// The edit window.

BEGIN_MESSAGE_MAP(CTkEdit, CEdit)
    ON_MESSAGE(WM_RBUTTONUP, OnRButtonUp)
    ON_MESSAGE(WM_CONTEXTMENU, OnContextMenu)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
    ON_MESSAGE(WM_DESTROY, OnDestroyWindow)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_CHAR, OnChar)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_COMMAND(TK_ID_EDIT_COPY, OnCopy)
    ON_COMMAND(TK_ID_EDIT_CUT, OnCut)
    ON_COMMAND(TK_ID_EDIT_PASTE, OnPaste)
    ON_UPDATE_COMMAND_UI(TK_ID_EDIT_COPY, OnUpdateClipboardCommand)
    ON_UPDATE_COMMAND_UI(TK_ID_EDIT_CUT, OnUpdateClipboardCommand)
    ON_UPDATE_COMMAND_UI(TK_ID_EDIT_PASTE, OnUpdateClipboardCommand)
END_MESSAGE_MAP()

bool CTkEdit::IsCommandEnabled(UINT id) const {
    if (!m_hWnd) return false;
    if (id == TK_ID_EDIT_PASTE) return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE;
    if (id != TK_ID_EDIT_COPY && id != TK_ID_EDIT_CUT) return false;
    DWORD start = 0, end = 0;
    ::SendMessageW(m_hWnd, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    return start != end;
}

bool CTkEdit::RunCommand(UINT id) {
    UINT message = 0;
    switch (id) {
    case TK_ID_EDIT_COPY: message = WM_COPY; break;
    case TK_ID_EDIT_CUT: message = WM_CUT; break;
    case TK_ID_EDIT_PASTE: message = WM_PASTE; break;
    default: return false;
    }
    if (m_hWnd) SendMessage(message);
    return true;
}

bool CTkEdit::ShowsContextMenu() const {
    CTkControl* control = m_pHost ? m_pHost->GetControl() : nullptr;
    CTkCommandBar* bar = control ? control->GetParentBar() : nullptr;
    return bar && !control->IsCustomizeMode() && bar->m_nBarType != TK_BAR_TYPE_POPUP &&
           !CTkMouseTracker::ForThread().HasTrackedBars();
}

int CTkEdit::TrackContextMenu(POINT screen) {
    CTkControl* control = m_pHost ? m_pHost->GetControl() : nullptr;
    CTkCommandBar* bar = control ? control->GetParentBar() : nullptr;
    const HWND window = m_hWnd;
    if (!window || !bar) return 0;
    if (::GetFocus() != window) SendMessage(EM_SETSEL, 0, -1);
    CTkRef<CTkPopupBar> popup = TkAdoptRef(CTkPopupBar::CreatePopupBar(bar));
    for (UINT id : {TK_ID_EDIT_CUT, TK_ID_EDIT_COPY, TK_ID_EDIT_PASTE})
        popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, (int)id);
    int command = 0;
    {
        CTkModalLoopScope modalLoop;
        if (CTkCommandBars* manager = bar->GetManager()) {
            command = manager->TrackPopupMenu(popup, TK_TPM_RETURNCMD | TK_TPM_RIGHTBUTTON, screen.x, screen.y, this);
        } else {
            popup->m_pReturnCommand = &command;
            popup->m_hwndCommandTarget = window;
            popup->m_bRightButtonAsLeft = 1;
            if (popup->PopupAt(screen.x, screen.y, 0, CRect())) popup->TrackModal();
            popup->m_pReturnCommand = nullptr;
        }
    }
    popup.Reset();
    // The field may have gone while the menu ran.
    if (command && CWnd::FromHandlePermanent(window) == this) RunCommand((UINT)command);
    return command;
}

LRESULT CTkEdit::OnRButtonUp(WPARAM wParam, LPARAM lParam) {
    if (!ShowsContextMenu()) return DefWindowProc(WM_RBUTTONUP, wParam, lParam);
    POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ::ClientToScreen(m_hWnd, &point);
    TrackContextMenu(point);
    return 0;
}

LRESULT CTkEdit::OnContextMenu(WPARAM, LPARAM lParam) {
    // Never the edit window's own menu (the system's). From the keyboard, below the field.
    if (!ShowsContextMenu()) return 0;
    POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    if ((DWORD)lParam == 0xFFFFFFFF) {
        CRect rect;
        GetWindowRect(&rect);
        point = CPoint(rect.left, rect.bottom);
    }
    TrackContextMenu(point);
    return 0;
}

LRESULT CTkEdit::OnSetFocus(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProc(WM_SETFOCUS, wParam, lParam);
    if (m_pHost) m_pHost->OnFocusGained((HWND)wParam);
    PostMessage(EM_SETSEL, 0, -1);
    return result;
}

LRESULT CTkEdit::OnKillFocus(WPARAM wParam, LPARAM lParam) {
    if (m_pHost) m_pHost->OnFocusLost();
    return DefWindowProc(WM_KILLFOCUS, wParam, lParam);
}

LRESULT CTkEdit::OnDestroyWindow(WPARAM wParam, LPARAM lParam) {
    if (m_pHost) m_pHost->OnWindowGone(GetWindowText());
    return DefWindowProc(WM_DESTROY, wParam, lParam);
}

LRESULT CTkEdit::OnKeyDown(WPARAM wParam, LPARAM lParam) {
    if (wParam == VK_RETURN && m_pHost) {
        m_pHost->OnEnter();
        return 0;
    }
    return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT CTkEdit::OnChar(WPARAM wParam, LPARAM lParam) {
    if (wParam == '\r') return 0;  // Enter ran the control; no beep
    return DefWindowProc(WM_CHAR, wParam, lParam);
}

LRESULT CTkEdit::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    CTkControl* control = m_pHost ? m_pHost->GetControl() : nullptr;
    CTkCommandBar* bar = control ? control->GetParentBar() : nullptr;
    if (bar && bar->GetSafeHwnd()) {
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ::MapWindowPoints(m_hWnd, bar->GetSafeHwnd(), &point, 1);
        bar->SendMessage(WM_MOUSEMOVE, wParam, MAKELPARAM(point.x, point.y));
    }
    return DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The field host.

CTkFieldHost::~CTkFieldHost() {
    Destroy();
    CTkKeyboardHook::ForThread().RemoveSink(this);
}

void CTkFieldHost::CreateObject() {
    if (!m_pEdit) m_pEdit = new CTkEdit(this);
}

void CTkFieldHost::Layout(CTkCommandBar* bar, const CRect& place) {
    CreateObject();
    if (!bar || !bar->GetSafeHwnd()) return;
    HWND window = m_pEdit->GetSafeHwnd();
    if (!window) {
        if (!m_pEdit->CreateEx(0, "EDIT", m_strText, kFieldStyle, place.left, place.top, place.Width(), place.Height(),
                               bar->GetSafeHwnd(), (HMENU)(UINT_PTR)(m_pControl->m_nId & 0xFFFF)))
            return;
        window = m_pEdit->GetSafeHwnd();
        ::SendMessageW(window, WM_SETFONT, (WPARAM)CTkThemePainter::Fonts().iconTitle.GetSafeHandle(), FALSE);
        CTkThemePainter::AddFontUser(window);
        if (!m_pControl->m_bEnabled) ::EnableWindow(window, FALSE);
    } else if (::GetParent(window) != bar->GetSafeHwnd()) {
        ::SetParent(window, bar->GetSafeHwnd());
    }
    ::SendMessageW(window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    ::MoveWindow(window, place.left, place.top, place.Width(), place.Height(), TRUE);
    Show(m_pControl->IsVisible());
}

void CTkFieldHost::Enable(bool on) {
    if (HWND window = GetWindow()) ::EnableWindow(window, on);
}

void CTkFieldHost::Show(bool on) {
    HWND window = GetWindow();
    if (!window) return;
    if (!on && ::GetFocus() == window) ReturnFocus();
    ::ShowWindow(window, on ? SW_SHOWNA : SW_HIDE);
}

void CTkFieldHost::Destroy() {
    CTkEdit* edit = m_pEdit;
    m_pEdit = nullptr;
    if (!edit) return;
    if (HWND window = edit->GetSafeHwnd()) {
        m_strText = edit->GetWindowText();
        CTkThemePainter::RemoveFontUser(window);
    }
    edit->Unlink();
    CTkKeyboardHook::ForThread().RemoveSink(this);
    edit->DestroyWindow();
    delete edit;
}

CString CTkFieldHost::GetText() {
    if (GetWindow()) m_strText = m_pEdit->GetWindowText();
    return m_strText;
}

void CTkFieldHost::SetText(const CString& text) {
    m_strText = text;
    if (GetWindow()) m_pEdit->SetWindowText(text);
}

void CTkFieldHost::ClickByKeyboard() {
    HWND window = GetWindow();
    if (!window) return;
    if (::GetFocus() == window) {
        m_pControl->Execute();
        return;
    }
    CTkCommandBar* bar = m_pControl->GetParentBar();
    if (bar && bar->m_nBarType != TK_BAR_TYPE_POPUP && bar->m_nTrackingMode)
        bar->SetTrackingMode(TK_TRACKING_NONE, true, false);
    if (::IsWindow(window)) ::SetFocus(window);
}

void CTkFieldHost::ReturnFocus() {
    HWND window = GetWindow();
    HWND target = m_hwndPrevFocus;
    m_hwndPrevFocus = nullptr;
    CTkCommandBar* bar = m_pControl->GetParentBar();
    if (!target || !::IsWindow(target) || target == window) {
        CWnd* site = bar ? bar->GetSite() : nullptr;
        target = site ? site->GetSafeHwnd() : nullptr;
    }
    ::SetFocus(target);
    if (bar && bar->GetSafeHwnd()) {
        bar->Invalidate(false);
        bar->UpdateWindow();
    }
}

void CTkFieldHost::OnFocusGained(HWND previous) {
    if (previous != GetWindow()) m_hwndPrevFocus = previous;
    CTkKeyboardHook::ForThread().AddSink(this);
}

void CTkFieldHost::OnFocusLost() {
    CTkKeyboardHook::ForThread().RemoveSink(this);
}

void CTkFieldHost::OnWindowGone(const CString& text) {
    m_strText = text;
    if (HWND window = GetWindow()) CTkThemePainter::RemoveFontUser(window);
    CTkKeyboardHook::ForThread().RemoveSink(this);
}

void CTkFieldHost::OnEnter() {
    CHoldRef holdControl(m_pControl);
    m_pControl->OnClick(true, CPoint());
}

int CTkFieldHost::OnFieldKey(UINT key) {
    if (!GetWindow()) return TK_HOOK_HANDLED;
    if (key != VK_ESCAPE) return TK_HOOK_STOP;
    if (!HasFocus()) return TK_HOOK_IGNORED;
    ReturnFocus();
    return TK_HOOK_HANDLED;
}

int CTkFieldHost::OnHookMessage(HWND, UINT message, WPARAM* wParam, LPARAM*, LRESULT*) {
    if (message != WM_KEYDOWN) return TK_HOOK_IGNORED;
    return OnFieldKey((UINT)*wParam);
}

// ---------------------------------------------------------------------------------------------
// The edit control.

CTkControlEdit::CTkControlEdit() {
    m_nType = TK_CONTROL_TYPE_EDIT;
}

CTkControlEdit::~CTkControlEdit() {
    m_field.Destroy();
}

CSize CTkControlEdit::GetSize(CDC* dc) {
    CSize size = CTkControl::GetSize(dc);
    size.cx = TkFieldCaptionWidth(this, m_bShowCaption != 0) + m_nWidth;
    return size;
}

void CTkControlEdit::SetRect(int left, int top, int right, int bottom) {
    CTkControl::SetRect(left, top, right, bottom);
    const int captionWidth = TkFieldCaptionWidth(this, m_bShowCaption != 0);
    m_field.Layout(m_pParent, CRect(left + captionWidth + 3, top + 3, right - 3, bottom - 3));
}

void CTkControlEdit::SetEnabled(bool on) {
    CTkControl::SetEnabled(on);
    m_field.Enable(on);
}

void CTkControlEdit::SetHideFlags(int flags) {
    CTkControl::SetHideFlags(flags);
    m_field.Show(flags == 0);
}

void CTkControlEdit::SetParent(CTkCommandBar* bar) {
    CTkControl::SetParent(bar);
    if (!bar) m_field.Destroy();
}

void CTkControlEdit::OnCalcDynamicSize(DWORD mode) {
    TkHideFieldWhenVertical(this, mode);
}

void CTkControlEdit::OnClick(bool byKeyboard, POINT point) {
    if (!m_bEnabled) return;
    if (IsCustomizeMode()) {
        CTkControl::OnClick(byKeyboard, point);  // dragged as any control
        return;
    }
    if (byKeyboard) m_field.ClickByKeyboard();
}

void CTkControlEdit::Copy(const CTkControl* from, bool recursive) {
    CTkControl::Copy(from, recursive);
    if (auto* edit = dynamic_cast<const CTkControlEdit*>(from)) {
        m_nWidth = edit->m_nWidth;
        m_bShowCaption = edit->m_bShowCaption;
        SetText(const_cast<CTkControlEdit*>(edit)->GetText());
    }
}
