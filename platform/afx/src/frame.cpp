#include "afxcmn.h"
#include "afxcreate.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// CFrameWnd.

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

bool CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra) {
    // The active view first, then the frame itself, then the application.
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra)) return true;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra)) return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra);
}

bool CFrameWnd::PreTranslateMessage(MSG*) {
    return false;
}

void CFrameWnd::InitialUpdateFrame(void*, bool makeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, true);
    RecalcLayout();
    if (makeVisible) {
        ShowWindow(SW_SHOW);
        ::SetActiveWindow(m_hWnd);
        UpdateWindow();
    }
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND child, const RECT& rect) {
    if (!layout->hDWP) return;
    const UINT flags = SWP_NOACTIVATE | SWP_NOZORDER;
    HDWP next = ::DeferWindowPos(layout->hDWP, child, nullptr, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, flags);
    if (next) {
        layout->hDWP = next;
        return;
    }
    // The deferred moves were given up: this one goes at once and the rest start again.
    ::SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, flags);
    layout->hDWP = ::BeginDeferWindowPos(4);
}

void CFrameWnd::RecalcLayout() {
    if (!m_hWnd) return;
    m_nIdleFlags &= ~idleLayout;
    AFX_SIZEPARENTPARAMS layout = {};
    GetClientRect(&layout.rect);
    layout.bStretch = TRUE;
    layout.hDWP = ::BeginDeferWindowPos(8);
    HWND view = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    HWND statusBar = ::GetDlgItem(m_hWnd, ID_VIEW_STATUS_BAR);
    if (statusBar) ::SendMessageW(statusBar, WM_SIZEPARENT, 0, (LPARAM)&layout);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (child != view && child != statusBar) ::SendMessageW(child, WM_SIZEPARENT, 0, (LPARAM)&layout);
    if (view) {
        CRect rest(layout.rect);
        if (rest.right < rest.left) rest.right = rest.left;
        if (rest.bottom < rest.top) rest.bottom = rest.top;
        AfxRepositionWindow(&layout, view, rest);
    }
    if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}

void CFrameWnd::OnBarCheck(UINT barId) {
    HWND bar = ::GetDlgItem(m_hWnd, barId);
    if (!bar) return;
    ::ShowWindow(bar, ::IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI) {
    HWND bar = ::GetDlgItem(m_hWnd, cmdUI->m_nID);
    if (!bar) {
        cmdUI->Enable(false);
        return;
    }
    cmdUI->SetCheck(::IsWindowVisible(bar) ? 1 : 0);
    cmdUI->Enable(true);
}

void CFrameWnd::UpdateMenuItems(HMENU menu) {
    CCmdUI state;
    state.m_hMenu = menu;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(menu, i);
        if (id == 0 || id == (UINT)-1) continue;  // separator or sub-menu
        state.m_nID = id;
        state.m_nIndex = i;
        state.DoUpdate(this, true);
    }
}

void CFrameWnd::OnSize(UINT, int, int) {
    RecalcLayout();
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (m_nIdleFlags & idleLayout) RecalcLayout();
    // The frame's bars (and any other child that keeps command states) update themselves.
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, wParam, 0, true);
    return 0;
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    if (!HIWORD(lParam)) UpdateMenuItems(reinterpret_cast<HMENU>(wParam));
    return 0;
}

// ---------------------------------------------------------------------------------------------
// CView.

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
    OnInitialUpdate();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// CDialog.

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
        if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CDialog))) return static_cast<CDialog*>(wnd)->OnInitDialog();
        return TRUE;
    }
    return FALSE;
}

const DLGTEMPLATE* CDialog::LoadTemplate() const {
    HINSTANCE resources = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(resources, MAKEINTRESOURCEW(m_nIDHelp), (LPCWSTR)RT_DIALOG);
    if (!found) return nullptr;
    HGLOBAL loaded = ::LoadResource(resources, found);
    return loaded ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
}

INT_PTR CDialog::DoModal() {
    const DLGTEMPLATE* tmpl = LoadTemplate();
    if (!tmpl) return -1;
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!parent && AfxGetMainWnd() && ::IsWindowVisible(AfxGetMainWnd()->m_hWnd)) parent = AfxGetMainWnd()->m_hWnd;
    m_bModal = true;
    AfxHookWindowCreate(this);
    INT_PTR result = ::DialogBoxIndirectParamW(AfxGetResourceHandle(), tmpl, parent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    m_bModal = false;
    if (m_hWnd) Detach();
    return result;
}

bool CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDHelp = templateId;
    m_pParentWnd = parent;
    const DLGTEMPLATE* tmpl = LoadTemplate();
    if (!tmpl) return false;
    CAfxCreatingWindow creating(this);
    HWND hwnd = ::CreateDialogIndirectParamW(AfxGetResourceHandle(), tmpl, parent ? parent->m_hWnd : nullptr,
                                             AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!hwnd && m_hWnd) Detach();
    return hwnd != nullptr;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    if (m_bModal) {
        ::EndDialog(m_hWnd, result);
    } else {
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

bool CDialog::PreTranslateMessage(MSG* msg) {
    return !m_bModal && ::IsDialogMessageW(m_hWnd, msg);
}

// ---------------------------------------------------------------------------------------------
// CFormView: a dialog template made a child window.

IMPLEMENT_DYNAMIC(CFormView, CView)

INT_PTR CALLBACK AfxFormDlgProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? FALSE : FALSE;
}

bool CFormView::Create(const char*, const char*, DWORD style, const RECT& rect, CWnd* parent, UINT id, void*) {
    HINSTANCE resources = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(resources, MAKEINTRESOURCEW(m_nIDTemplate), (LPCWSTR)RT_DIALOG);
    HGLOBAL loaded = found ? ::LoadResource(resources, found) : nullptr;
    const DLGTEMPLATE* tmpl = loaded ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
    if (!tmpl) return false;
    CAfxCreatingWindow creating(this);
    HWND hwnd = ::CreateDialogIndirectParamW(resources, tmpl, parent->m_hWnd, AfxFormDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!hwnd) {
        if (m_hWnd) Detach();
        return false;
    }
    // A child of its frame, without the template's caption and border.
    LONG_PTR ws = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    ws &= ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | DS_MODALFRAME);
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, ws | WS_CHILD | (style & WS_VISIBLE));
    ::SetParent(hwnd, parent->m_hWnd);
    ::SetWindowLongPtrW(hwnd, GWLP_ID, id);
    ::SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (style & WS_VISIBLE) ::ShowWindow(hwnd, SW_SHOW);
    return true;
}

bool CFormView::PreTranslateMessage(MSG* msg) {
    if ((GetStyle() & WS_CHILD) && WalkPreTranslateTree(::GetParent(m_hWnd), msg)) return true;
    const bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                       (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input || !::GetWindow(m_hWnd, GW_CHILD)) return false;
    return ::IsDialogMessageW(m_hWnd, msg) != FALSE;
}

// ---------------------------------------------------------------------------------------------
// Data exchange.

HWND CDataExchange::PrepareCtrl(int id) {
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    m_idLastControl = control;
    return control;
}

void CDataExchange::Fail() {
    if (m_idLastControl) {
        ::SetFocus(m_idLastControl);
        ::SendMessageW(m_idLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND control = dx->PrepareEditCtrl(id);
    CWnd* wnd = CWnd::FromHandle(control);
    if (!wnd) return;
    if (dx->m_bSaveAndValidate) {
        value = wnd->GetWindowText();
    } else {
        wnd->SetWindowText(value);
    }
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareEditCtrl(id);
    CWnd* wnd = CWnd::FromHandle(control);
    if (!wnd) return;
    if (dx->m_bSaveAndValidate) {
        CString text = wnd->GetWindowText();
        text.Trim();
        char* end = nullptr;
        long number = std::strtol(text, &end, 10);
        if (text.IsEmpty() || (end && *end)) {
            AfxMessageBox("Please enter an integer.", MB_ICONEXCLAMATION);
            dx->Fail();
        }
        value = (int)number;
    } else {
        CString text;
        text.Format("%d", value);
        wnd->SetWindowText(text);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) {
        value = (int)::SendMessageW(control, BM_GETCHECK, 0, 0);
    } else {
        ::SendMessageW(control, BM_SETCHECK, value, 0);
    }
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) value = -1;
    // The group runs from the first button to the next control with WS_GROUP.
    int index = 0;
    HWND button = control;
    do {
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
        button = ::GetWindow(button, GW_HWNDNEXT);
    } while (button && !(::GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP));
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND hwnd = dx->PrepareCtrl(id);
    if (hwnd) control.SubclassWindow(hwnd);
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars) {
    if (dx->m_bSaveAndValidate && value.GetLength() > maxChars) {
        CString text;
        text.Format("Enter no more than %d characters.", maxChars);
        AfxMessageBox(text, MB_ICONEXCLAMATION);
        dx->Fail();
    }
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue)) {
        CString text;
        text.Format("Please enter an integer between %d and %d.", minValue, maxValue);
        AfxMessageBox(text, MB_ICONEXCLAMATION);
        dx->Fail();
    }
}

// ---------------------------------------------------------------------------------------------
// GDI.

bool CGdiObject::Attach(HGDIOBJ object) {
    DeleteObject();
    m_hObject = object;
    return object != nullptr;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

bool CGdiObject::DeleteObject() {
    if (!m_hObject) return false;
    bool deleted = ::DeleteObject(m_hObject) != FALSE;
    m_hObject = nullptr;
    return deleted;
}

bool CFont::CreatePointFont(int tenthsOfPoint, const char* face, CDC* dc) {
    HDC screen = dc ? dc->m_hDC : ::GetDC(nullptr);
    LOGFONTA font = {};
    font.lfHeight = -::MulDiv(tenthsOfPoint, ::GetDeviceCaps(screen, LOGPIXELSY), 720);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    if (!dc) ::ReleaseDC(nullptr, screen);
    return CreateFontIndirect(&font);
}

bool CBitmap::LoadBitmap(UINT id) {
    return Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)));
}

bool CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

CDC::~CDC() {
    if (m_bOwned && m_hDC) ::DeleteDC(m_hDC);
}

CDC* CDC::FromHandle(HDC dc) {
    static thread_local CDC temporary;
    temporary.m_bOwned = false;
    temporary.m_hDC = dc;
    return dc ? &temporary : nullptr;
}

bool CDC::Attach(HDC dc) {
    m_hDC = dc;
    m_bOwned = false;
    return dc != nullptr;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    m_hDC = nullptr;
    m_bOwned = false;
    return dc;
}

bool CDC::CreateCompatibleDC(CDC* dc) {
    m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    m_bOwned = true;
    return m_hDC != nullptr;
}

void CDC::FillSolidRect(const RECT& rect, COLORREF colour) {
    COLORREF old = ::SetBkColor(m_hDC, colour);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    FillSolidRect(CRect(rect.left, rect.top, rect.left + width - 1, rect.top + 1), topLeft);
    FillSolidRect(CRect(rect.left, rect.top, rect.left + 1, rect.top + height - 1), topLeft);
    FillSolidRect(CRect(rect.right - 1, rect.top, rect.right, rect.bottom), bottomRight);
    FillSolidRect(CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), bottomRight);
}

bool CDC::TextOut(int x, int y, const CString& text) {
    std::wstring wide = text.Wide();
    return ::TextOutW(m_hDC, x, y, wide.c_str(), (int)wide.size()) != FALSE;
}

int CDC::DrawText(const CString& text, RECT* rect, UINT format) {
    std::wstring wide = text.Wide();
    return ::DrawTextW(m_hDC, wide.c_str(), (int)wide.size(), rect, format);
}

CSize CDC::GetTextExtent(const CString& text) const {
    std::wstring wide = text.Wide();
    SIZE size = {};
    ::GetTextExtentPoint32W(m_hDC, wide.c_str(), (int)wide.size(), &size);
    return CSize(size.cx, size.cy);
}

bool CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sx, sy, rop) != FALSE;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Common controls.

int CTabCtrl::InsertItem(int index, const char* text) {
    std::wstring wide = CString(text).Wide();
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = &wide[0];
    return (int)::SendMessageW(m_hWnd, TCM_INSERTITEMW, index, (LPARAM)&item);
}

BEGIN_MESSAGE_MAP(CStatusBar, CWnd)
    ON_WM_SIZE()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

bool CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CWnd::Create(STATUSCLASSNAMEA, "", style, CRect(0, 0, 0, 0), parent, id);
}

bool CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (count < 0 || (count > 0 && !ids)) return false;
    m_panes.clear();
    for (int i = 0; i < count; ++i) m_panes.push_back({ids[i], SBPS_NORMAL, 100, CString()});
    UpdateParts();
    for (int i = 0; i < count; ++i) SetPaneText(i, "");
    return true;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    if (index < 0 || index >= GetCount()) return;
    Pane& pane = m_panes[index];
    pane.id = id;
    pane.style = style;
    pane.width = width;
    UpdateParts();
    SetPaneText(index, pane.text);  // the drawing style travels with the text
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    if (index < 0 || index >= GetCount()) {
        id = style = 0;
        width = 0;
        return;
    }
    id = m_panes[index].id;
    style = m_panes[index].style;
    width = m_panes[index].width;
}

bool CStatusBar::SetPaneText(int index, const char* text) {
    if (index < 0 || (index >= GetCount() && !(index == 0 && m_panes.empty()))) return false;
    UINT drawing = 0;
    if (index < GetCount()) {
        m_panes[index].text = text;
        drawing = m_panes[index].style & (SBT_NOBORDERS | SBT_POPOUT);
    }
    return ::SendMessageW(m_hWnd, SB_SETTEXTW, index | drawing, (LPARAM)CString(text).Wide().c_str()) != 0;
}

CString CStatusBar::GetPaneText(int index) const {
    if (index >= 0 && index < GetCount()) return m_panes[index].text;
    int length = LOWORD(SendMessage(SB_GETTEXTLENGTHW, index));
    std::wstring text(length + 1, L'\0');
    SendMessage(SB_GETTEXTW, index, (LPARAM)&text[0]);
    text.resize(length);
    return CString(text.c_str());
}

void CStatusBar::UpdateParts() {
    if (!m_hWnd || m_panes.empty()) return;
    CRect client;
    GetClientRect(&client);
    int fixed = 0, stretching = 0;
    for (const Pane& pane : m_panes) {
        if (pane.style & SBPS_STRETCH) {
            ++stretching;
        } else {
            fixed += pane.width;
        }
    }
    // The size grip keeps its corner.
    int available = client.Width() - ((GetStyle() & SBARS_SIZEGRIP) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0);
    int spare = available > fixed ? available - fixed : 0;
    std::vector<int> edges;
    int right = 0;
    for (const Pane& pane : m_panes) {
        int width = pane.width;
        if (pane.style & SBPS_STRETCH) width = (std::max)(pane.width, spare / stretching);
        right += width;
        edges.push_back(right);
    }
    SendMessage(SB_SETPARTS, edges.size(), (LPARAM)edges.data());
}

LRESULT CStatusBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!layout || !(GetStyle() & WS_VISIBLE)) return 0;
    // The control places itself along the parent's bottom at the height of its font.
    if (layout->hDWP) SendMessage(WM_SIZE, SIZE_RESTORED, 0);
    CRect bar;
    GetWindowRect(&bar);
    layout->rect.bottom -= bar.Height();
    layout->sizeTotal.cy += bar.Height();
    return 0;
}

void CStatusBar::OnSize(UINT, int, int) {
    Default();
    UpdateParts();
}

bool CRichEditCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!AfxInitRichEdit2()) return false;
    return CWnd::Create("RichEdit20W", "", style, rect, parent, id);
}

void CRichEditCtrl::SetSel(long start, long end) {
    CHARRANGE range = {start, end};
    SendMessage(EM_EXSETSEL, 0, (LPARAM)&range);
}

long CRichEditCtrl::GetTextLength() const {
    GETTEXTLENGTHEX query = {GTL_NUMCHARS, 1200};
    return (long)SendMessage(EM_GETTEXTLENGTHEX, (WPARAM)&query, 0);
}

bool AfxInitCommonControls(DWORD classes) {
    INITCOMMONCONTROLSEX init = {sizeof init, classes};
    return ::InitCommonControlsEx(&init) != FALSE;
}

bool AfxInitRichEdit2() {
    static HMODULE richEdit = ::LoadLibraryW(L"riched20.dll");
    return richEdit != nullptr;
}
