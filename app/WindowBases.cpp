#include "WindowBases.h"

#include "MessengerApp.h"

IMPLEMENT_DYNAMIC(CFrameBase, CFrameWnd)

BEGIN_MESSAGE_MAP(CFrameBase, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
END_MESSAGE_MAP()

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
    static const UINT indicators[] = {0, 0};
    if (m_statusBar.Create(this) && m_statusBar.SetIndicators(indicators, 2)) {
        m_statusBar.SetPaneInfo(0, 0, SBPS_STRETCH | SBPS_POPOUT, 150);
        m_statusBar.SetPaneInfo(1, 0, SBPS_POPOUT, 150);
    }
    return 0;
}

void CFrameBase::OnDestroy() {
    if (CMessengerApp* app = CMessengerApp::Get()) app->RemoveFrame(m_hWnd);
    CFrameWnd::OnDestroy();
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

bool CDialogBase::OnInitDialog() {
    CDialog::OnInitDialog();
    HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_iconId));
    SetIcon(icon, true);
    SetIcon(icon, false);
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
