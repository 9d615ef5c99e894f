#include "afxdlgs.h"
#include "afxcreate.h"

// ---------------------------------------------------------------------------------------------
// The modal loop of a window.

int CWnd::RunModalLoop(DWORD flags) {
    m_bContinueModal = true;
    m_nModalResult = -1;
    bool idle = !(flags & MLF_NOIDLEMSG) || (flags & MLF_SHOWONIDLE);
    bool showIdle = (flags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    LONG idleCount = 0;
    MSG msg;
    for (;;) {
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showIdle = false;
            }
            if (!ContinueModal()) break;
            if ((flags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++)) idle = false;
        }
        do {
            if (!ContinueModal()) {
                m_bContinueModal = false;
                return m_nModalResult;
            }
            if (!::GetMessageW(&msg, nullptr, 0, 0)) {
                ::PostQuitMessage((int)msg.wParam);  // the outer loop must see the quit too
                m_bContinueModal = false;
                return -1;
            }
            CWinApp* app = AfxGetApp();
            if (!app || !app->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (msg.message != WM_PAINT && msg.message != WM_TIMER && msg.message != WM_MOUSEMOVE &&
                msg.message != WM_NCMOUSEMOVE && msg.message != 0x0118 /* caret blink */) {
                idle = !(flags & MLF_NOIDLEMSG) || showIdle;
                idleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

bool CWnd::ContinueModal() {
    return m_bContinueModal && m_hWnd && ::IsWindow(m_hWnd);
}

void CWnd::EndModalLoop(int result) {
    m_nModalResult = result;
    if (m_bContinueModal) {
        m_bContinueModal = false;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
    }
}

void CWinApp::EnableModeless(bool enable) {
    if (enable) {
        if (m_nModelessDisabled > 0) --m_nModelessDisabled;
    } else {
        ++m_nModelessDisabled;
    }
}

// ---------------------------------------------------------------------------------------------
// CPropertyPage.

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId), m_nIDCaption(captionId) {}

bool CPropertyPage::PreparePage(CPropertySheet* sheet) {
    const DLGTEMPLATE* tmpl = LoadTemplate();
    if (!tmpl) return false;
    m_pSheet = sheet;
    m_psp = {};
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_DLGINDIRECT;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pResource = tmpl;
    m_psp.pfnDlgProc = PageDlgProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    if (m_nIDCaption) {
        CString caption;
        caption.LoadString(m_nIDCaption);
        m_strCaption = caption.Wide();
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_strCaption.c_str();
    }
    return true;
}

INT_PTR CALLBACK CPropertyPage::PageDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    // The system hands the page its (copied) description: its lParam is the page object.
    auto* page = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
    if (!page || !page->SubclassWindow(hwnd)) return TRUE;
    return page->OnInitDialog();
}

bool CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case PSN_SETACTIVE:
        *result = OnSetActive() ? 0 : -1;
        return true;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        return true;
    case PSN_APPLY:
        *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return true;
    case PSN_RESET:
        OnReset();
        return true;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
}

bool CPropertyPage::OnApply() {
    OnOK();
    return true;
}

void CPropertyPage::OnReset() {
    OnCancel();
}

void CPropertyPage::SetModified(bool changed) {
    if (!m_pSheet || !m_pSheet->m_hWnd || !m_hWnd) return;
    ::SendMessageW(m_pSheet->m_hWnd, changed ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

// ---------------------------------------------------------------------------------------------
// CPropertySheet.

namespace {

// Set while a sheet that is to start hidden is made on this thread.
thread_local bool t_makeHidden = false;

// Takes WS_VISIBLE off the sheet's dialog template before its window is made, so that a sheet
// asked for hidden never shows (the system's template is visible).
int CALLBACK PreCreateSheet(HWND, UINT message, LPARAM lParam) {
    if (message != PSCB_PRECREATE || !lParam || !t_makeHidden) return 0;
    const WORD* words = reinterpret_cast<const WORD*>(lParam);
    // An extended template (signature 0xFFFF) has its style after the version, signature, help
    // id and extended style.
    DWORD* style = words[1] == 0xFFFF ? reinterpret_cast<DWORD*>(lParam + 3 * sizeof(DWORD))
                                      : reinterpret_cast<DWORD*>(lParam);
    *style &= ~WS_VISIBLE;
    return 0;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage) {
    CommonConstruct(parent, selectPage);
    if (captionId) {
        CString caption;
        caption.LoadString(captionId);
        m_strCaption = caption.Wide();
    }
}

CPropertySheet::CPropertySheet(const char* caption, CWnd* parent, UINT selectPage) {
    CommonConstruct(parent, selectPage);
    m_strCaption = CString(caption).Wide();
}

void CPropertySheet::CommonConstruct(CWnd* parent, UINT selectPage) {
    m_pParentWnd = parent;
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = selectPage;
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (!page) return;
    m_pages.push_back(page);
    page->m_pSheet = this;
    if (m_hWnd && page->PreparePage(this)) {
        HPROPSHEETPAGE handle = ::CreatePropertySheetPageW(&page->m_psp);
        if (handle) ::SendMessageW(m_hWnd, PSM_ADDPAGE, 0, (LPARAM)handle);
    }
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[(size_t)index] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == page) return (int)i;
    return -1;
}

int CPropertySheet::GetActiveIndex() const {
    if (!m_hWnd) return (int)m_psh.nStartPage;
    HWND tab = GetTabControl();
    return tab ? (int)::SendMessageW(tab, TCM_GETCURSEL, 0, 0) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    if (!m_hWnd) return GetPage(GetActiveIndex());
    HWND current = (HWND)::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0);
    for (CPropertyPage* page : m_pages)
        if (page->m_hWnd && page->m_hWnd == current) return page;
    return nullptr;
}

bool CPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= GetPageCount()) return false;
    if (!m_hWnd) {
        m_psh.nStartPage = (UINT)index;
        return true;
    }
    return ::SendMessageW(m_hWnd, PSM_SETCURSEL, (WPARAM)index, 0) != 0;
}

void CPropertySheet::SetTitle(const char* caption) {
    m_strCaption = CString(caption).Wide();
    if (m_hWnd) ::SendMessageW(m_hWnd, PSM_SETTITLEW, 0, (LPARAM)m_strCaption.c_str());
}

HWND CPropertySheet::GetSafeOwner() const {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd()) owner = AfxGetMainWnd()->m_hWnd;
    if (owner) owner = ::GetAncestor(owner, GA_ROOT);
    return owner;
}

bool CPropertySheet::Create(CWnd* parent, DWORD style, DWORD exStyle) {
    if (m_hWnd || m_pages.empty()) return false;
    if (parent) m_pParentWnd = parent;
    m_pageData.clear();
    for (CPropertyPage* page : m_pages) {
        if (!page->PreparePage(this)) return false;
        m_pageData.push_back(page->m_psp);
    }
    m_psh.dwFlags |= PSH_MODELESS | PSH_PROPSHEETPAGE;
    m_psh.hwndParent = GetSafeOwner();
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption.c_str();
    m_psh.nPages = (UINT)m_pageData.size();
    m_psh.ppsp = m_pageData.data();
    if (m_psh.nStartPage >= m_psh.nPages) m_psh.nStartPage = 0;
    m_nEndButton = IDCANCEL;
    const bool visible = style == (DWORD)-1 || (style & WS_VISIBLE);
    if (!(m_psh.dwFlags & PSH_USECALLBACK)) {
        m_psh.dwFlags |= PSH_USECALLBACK;
        m_psh.pfnCallback = PreCreateSheet;
    }
    t_makeHidden = !visible;
    CAfxCreatingWindow creating(this);
    INT_PTR created = ::PropertySheetW(&m_psh);
    AfxUnhookWindowCreate();
    t_makeHidden = false;
    if (created <= 0 || !m_hWnd) {
        if (created > 0) ::DestroyWindow((HWND)created);
        if (m_hWnd) Detach();
        return false;
    }
    ShowWindow(visible ? SW_SHOWNORMAL : SW_HIDE);  // also when a callback of the caller's showed it
    if (exStyle) ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | exStyle);
    return true;
}

INT_PTR CPropertySheet::DoModal() {
    HWND owner = GetSafeOwner();
    bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (!Create(nullptr, 0)) return -1;
    if (disableOwner) ::EnableWindow(owner, FALSE);
    int result = RunModalLoop(MLF_SHOWONIDLE);
    if (disableOwner) ::EnableWindow(owner, TRUE);
    if (m_hWnd && ::GetActiveWindow() == m_hWnd && owner) ::SetActiveWindow(owner);
    DestroyWindow();
    return result;
}

bool CPropertySheet::ContinueModal() {
    if (!CWnd::ContinueModal()) return false;
    if (::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0)) return true;
    m_nModalResult = m_nEndButton;
    return false;
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    if (message == WM_INITDIALOG) OnInitDialog();
    return result;
}

bool CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    if ((id == IDOK || id == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) m_nEndButton = (int)id;
    return CWnd::OnCommand(wParam, lParam);
}

bool CPropertySheet::PreTranslateMessage(MSG* msg) {
    if (!m_hWnd || !(m_psh.dwFlags & PSH_MODELESS)) return false;
    return ::SendMessageW(m_hWnd, PSM_ISDIALOGMESSAGE, 0, (LPARAM)msg) != 0;
}

// ---------------------------------------------------------------------------------------------
// CCheckListBox.

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

bool CCheckListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    style = (style | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY) & ~LBS_OWNERDRAWVARIABLE;
    return CListBox::Create(style, rect, parent, id);
}

void CCheckListBox::PreSubclassWindow() {
    // Items already in the box (a template's) start unchecked.
    LRESULT count = ::SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0);
    m_items.assign(count > 0 ? (size_t)count : 0, Item());
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    ::SendMessageW(m_hWnd, LB_SETITEMHEIGHT, 0, std::max<LONG>(metrics.tmHeight, 15));
}

CRect CCheckListBox::CheckBoxRect(const RECT& item) {
    const int box = 13;
    int top = item.top + (item.bottom - item.top - box) / 2;
    return CRect(item.left + 1, top, item.left + 1 + box, top + box);
}

void CCheckListBox::SetCheck(int index, int check) {
    if (index < 0 || index >= (int)m_items.size()) return;
    m_items[(size_t)index].check = check;
    CRect item;
    if (::SendMessageW(m_hWnd, LB_GETITEMRECT, index, (LPARAM)&item) != LB_ERR) ::InvalidateRect(m_hWnd, &item, FALSE);
}

int CCheckListBox::GetCheck(int index) const {
    return index >= 0 && index < (int)m_items.size() ? m_items[(size_t)index].check : 0;
}

void CCheckListBox::ToggleCheck(int index) {
    if (index < 0 || index >= (int)m_items.size()) return;
    SetCheck(index, GetCheck(index) == 1 ? 0 : 1);
    ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), CLBN_CHKCHANGE),
                   (LPARAM)m_hWnd);
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        LRESULT index = CListBox::WindowProc(message, wParam, lParam);
        if (index >= 0 && (size_t)index <= m_items.size()) m_items.insert(m_items.begin() + index, Item());
        return index;
    }
    case LB_DELETESTRING: {
        LRESULT left = CListBox::WindowProc(message, wParam, lParam);
        if (left != LB_ERR && wParam < m_items.size()) m_items.erase(m_items.begin() + (ptrdiff_t)wParam);
        return left;
    }
    case LB_RESETCONTENT:
        m_items.clear();
        return CListBox::WindowProc(message, wParam, lParam);
    case LB_SETITEMDATA:
        if (wParam >= m_items.size()) return LB_ERR;
        m_items[wParam].data = (DWORD_PTR)lParam;
        return 0;
    case LB_GETITEMDATA:
        return wParam < m_items.size() ? (LRESULT)m_items[wParam].data : LB_ERR;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        LRESULT hit = ::SendMessageW(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
        int index = HIWORD(hit) ? -1 : (int)LOWORD(hit);
        CRect item;
        bool onBox = index >= 0 && ::SendMessageW(m_hWnd, LB_GETITEMRECT, index, (LPARAM)&item) != LB_ERR &&
                     point.x < CheckBoxRect(item).right + 1;
        LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        if (onBox) ToggleCheck(index);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            ToggleCheck((int)::SendMessageW(m_hWnd, LB_GETCURSEL, 0, 0));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L' ') return 0;
        break;
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT draw) {
    if ((int)draw->itemID < 0) return;
    HDC dc = draw->hDC;
    CRect rect(draw->rcItem);
    CRect box = CheckBoxRect(rect);
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_WINDOW));
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
    int check = GetCheck((int)draw->itemID);
    if (check == 1) state |= DFCS_CHECKED;
    if (check == 2) state |= DFCS_CHECKED | DFCS_INACTIVE;
    ::DrawFrameControl(dc, &box, DFC_BUTTON, state);
    CRect text(box.right + 3, rect.top, rect.right, rect.bottom);
    bool selected = (draw->itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &text, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    std::wstring caption = GetText((int)draw->itemID).Wide();
    CRect textRect(text.left + 2, text.top, text.right, text.bottom);
    ::DrawTextW(dc, caption.c_str(), (int)caption.size(), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (draw->itemState & ODS_FOCUS) ::DrawFocusRect(dc, &text);
}
