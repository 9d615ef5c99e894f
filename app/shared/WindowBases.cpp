#include "shared/WindowBases.h"

#include "commandbars/TkCommandBars.h"
#include "commandbars/TkMenuBar.h"
#include "customize/TkCustomizeContext.h"
#include "painters/TkThemePainter.h"
#include "startup/MessengerApp.h"

IMPLEMENT_DYNAMIC(CFrameBase, CFrameWnd)

BEGIN_MESSAGE_MAP(CFrameBase, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(TK_ID_CUSTOMIZE, OnCustomize)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateBarCheck)
END_MESSAGE_MAP()

namespace {

// The menu bar keeps the menu it was built from: the class library's menu switching is ignored.
const int kKeepOwnMenu = 0x400;

}  // namespace

CFrameBase::~CFrameBase() {
    // The bars' windows went with the frame's; the manager releases the bar objects.
    if (m_pCommandBars) m_pCommandBars->InternalRelease();
    m_pCommandBars = nullptr;
}

bool CFrameBase::Create(CWnd*) {
    CString title;
    title.LoadString(GetBarResourceId(kTitle));
    HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(GetBarResourceId(kIcon)));

    HDC screen = ::GetDC(nullptr);
    int screenWidth = ::GetDeviceCaps(screen, HORZRES);
    int screenHeight = ::GetDeviceCaps(screen, VERTRES);
    ::ReleaseDC(nullptr, screen);
    const int width = 500, height = 400;
    int x = (screenWidth - width) / 2, y = (screenHeight - height) / 2;

    const char* windowClass = AfxRegisterWndClass(0, nullptr, nullptr, icon);
    if (!CreateEx(WS_EX_CLIENTEDGE, windowClass, title, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr))
        return false;
    if (!CreateClientView()) {
        m_bAutoDelete = false;  // the caller still owns the object
        DestroyWindow();
        m_bAutoDelete = true;
        return false;
    }
    ShowWindow(SW_SHOW);
    InitialUpdateFrame(nullptr, true);
    if (CMessengerApp* app = CMessengerApp::Get()) app->AddFrame(m_hWnd);
    return true;
}

bool CFrameBase::CreateFormClientView(CFormView* view) {
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST)) {
        delete view;
        return false;
    }
    LONG_PTR exStyle = ::GetWindowLongPtrW(view->m_hWnd, GWL_EXSTYLE);
    ::SetWindowLongPtrW(view->m_hWnd, GWL_EXSTYLE, exStyle & ~WS_EX_CLIENTEDGE);
    SetActiveView(view);
    return true;
}

void CFrameBase::PostNcDestroy() {
    if (m_bAutoDelete) delete this;
}

int CFrameBase::OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    // Without a status bar or a toolbar the window opens with the bars made so far.
    static const UINT indicators[] = {0, 0};
    if (!m_statusBar.Create(this, WS_CHILD | WS_VISIBLE, ID_VIEW_STATUS_BAR) || !m_statusBar.SetIndicators(indicators, 2))
        return 0;
    m_statusBar.SetPaneInfo(0, 0, SBPS_STRETCH | SBPS_POPOUT, 150);
    m_statusBar.SetPaneInfo(1, 0, SBPS_POPOUT, 150);
    if (!InitCommandBars()) return 0;
    m_statusBar.m_pManager = m_pCommandBars;

    m_pMenuBar = m_pCommandBars->CreateMenuBar("Menu Bar", GetBarResourceId(kMenu), RUNTIME_CLASS(CTkMenuBar));
    if (m_pMenuBar) m_pMenuBar->m_dwFlags |= kKeepOwnMenu;
    CTkToolBar* toolBar = m_pCommandBars->AddBar("Toolbar", TK_BAR_POSITION_TOP, RUNTIME_CLASS(CTkToolBar));
    if (!toolBar) return 0;
    if (!toolBar->LoadToolBar(GetBarResourceId(kToolbar), true)) {
        // An empty toolbar is of no use: it stays hidden (the user may still show it).
        toolBar->SetVisible(false);
        m_pCommandBars->RecalcFrameLayout();
        return 0;
    }
    m_pToolBar = toolBar;
    for (int i = 0; CTkControl* control = toolBar->GetControl(i); ++i) {
        control->m_nStyle = TK_CONTROL_STYLE_ICON_AND_CAPTION;
        control->RequestParentLayout();
    }

    CString title;
    title.LoadString(GetBarResourceId(kTitle));
    m_strProfileKey = "CommandBars\\" + title;
    LoadCommandBars(m_strProfileKey);
    return 0;
}

void CFrameBase::LoadCommandBars(const CString& profileKey) {
    m_pCommandBars->LoadBarState(profileKey);
    m_pCommandBars->LoadOptions(profileKey);
}

bool CFrameBase::InitCommandBars() {
    CTkThemePainter::GetCurrent();  // the classic theme when the program selected none
    CObject* object = RUNTIME_CLASS(CTkCommandBars)->CreateObject();
    m_pCommandBars = dynamic_cast<CTkCommandBars*>(object);
    if (!m_pCommandBars) {
        delete object;
        return false;
    }
    m_pCommandBars->AttachFrame(this);
    m_pCommandBars->EnableDocking();
    return true;
}

CTkControl* CFrameBase::FindBarControl(UINT id, bool visibleOnly) const {
    return m_pCommandBars ? m_pCommandBars->FindControl(0, (int)id, visibleOnly, true) : nullptr;
}

bool CFrameBase::PreTranslateMessage(MSG* msg) {
    if (CFrameWnd::PreTranslateMessage(msg)) return true;
    return m_pCommandBars && m_pCommandBars->FilterFrameMessage(msg);
}

bool CFrameBase::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (m_pCommandBars && m_pCommandBars->HandleFrameMessage(message, wParam, lParam, result)) return true;
    if (message == TK_WM_EXECUTE && lParam) {
        // A control ran its command: the frame's routing sees it as a notification of the
        // control's id; unhandled, the control sends it again as WM_COMMAND.
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT handlerResult = 0;
        AFX_NOTIFY notify = {&handlerResult, header};
        if (!OnCmdMsg((UINT)header->idFrom, (int)MAKELONG(header->code, WM_NOTIFY), &notify)) return false;
        *result = handlerResult;
        return true;
    }
    return CFrameWnd::OnWndMsg(message, wParam, lParam, result);
}

void CFrameBase::OnDestroy() {
    // Every window of a kind shares the layout: the last one closed wins.
    if (m_pCommandBars && !m_strProfileKey.IsEmpty()) {
        m_pCommandBars->SaveBarState(m_strProfileKey);
        m_pCommandBars->SaveOptions(m_strProfileKey);
    }
    if (CMessengerApp* app = CMessengerApp::Get()) app->RemoveFrame(m_hWnd);
    CFrameWnd::OnDestroy();
}

void CFrameBase::OnCustomize() {
    if (m_pCommandBars) TkRunFrameCustomizeSheet(m_pCommandBars, GetBarResourceId(kMenu));
}

void CFrameBase::OnBarCheck(UINT id) {
    if (id == ID_VIEW_TOOLBAR) {
        if (m_pCommandBars && m_pToolBar) m_pCommandBars->ToggleBarVisible(m_pCommandBars->FindIndex(m_pToolBar));
    } else if (m_statusBar.GetSafeHwnd()) {
        m_statusBar.ShowWindow(m_statusBar.IsWindowVisible() ? SW_HIDE : SW_SHOW);
        RecalcLayout();
    }
}

void CFrameBase::OnUpdateBarCheck(CCmdUI* cmdUI) {
    if (cmdUI->m_nID == ID_VIEW_TOOLBAR) {
        cmdUI->Enable(m_pToolBar != nullptr);
        cmdUI->SetCheck(m_pToolBar && m_pToolBar->IsVisible() ? 1 : 0);
    } else {
        cmdUI->Enable(m_statusBar.GetSafeHwnd() != nullptr);
        cmdUI->SetCheck(m_statusBar.GetSafeHwnd() && m_statusBar.IsWindowVisible() ? 1 : 0);
    }
}

void CFrameBase::OnClose() {
    CloseIfAllowed();
}

void CFrameBase::OnFileClose() {
    CloseIfAllowed();
}

void CFrameBase::CloseIfAllowed() {
    CMessengerApp* app = CMessengerApp::Get();
    bool alreadyAsked = app && app->IsClosingFrames();
    if (!alreadyAsked && !CanClose()) return;
    DestroyWindow();
}

void SetWindowIcon(CWnd& window, UINT iconId) {
    HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(iconId));
    window.SetIcon(icon, true);
    window.SetIcon(icon, false);
}

bool CDialogBase::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowIcon(*this, m_iconId);
    return true;
}

void CFormViewBase::StretchControl(UINT controlId, int right, int bottom) {
    HWND control = ::GetDlgItem(m_hWnd, controlId);
    if (!control) return;
    CRect rect;
    ::GetWindowRect(control, &rect);
    ScreenToClient(&rect);
    if (right != 0) rect.right = right - 4;
    if (bottom != 0) rect.bottom = bottom - 6;
    ::SetWindowPos(control, nullptr, 0, 0, rect.Width(), rect.Height(),
                   SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
}
