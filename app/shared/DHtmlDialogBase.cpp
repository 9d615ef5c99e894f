#include "shared/DHtmlDialogBase.h"

#include "resource.h"
#include "shared/Helpers.h"
#include "shared/WindowBases.h"

IMPLEMENT_DYNAMIC(CDHtmlDialogBase, CDHtmlDialog)

BEGIN_MESSAGE_MAP(CDHtmlDialogBase, CDHtmlDialog)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CDHtmlDialogBase::CDHtmlDialogBase(UINT htmlId, UINT iconId, CSize size, CWnd* parent)
    : CModelessDialog(IDD_HTML_HOST, htmlId, parent), m_iconId(iconId), m_size(size) {}

bool CDHtmlDialogBase::CreateModeless() {
    return CreateModelessWindow(IDD_HTML_HOST, m_pParentWnd);
}

bool CDHtmlDialogBase::OnInitDialog() {
    CDHtmlDialog::OnInitDialog();
    SetWindowIcon(*this, m_iconId);
    SetWindowPos(nullptr, 0, 0, m_size.cx, m_size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
    return true;
}

void CDHtmlDialogBase::OnBeforeNavigate(LPDISPATCH disp, const char* url) {
    CDHtmlDialog::OnBeforeNavigate(disp, url);
    if (GetQueryParameter(url, "action").CompareNoCase("close") != 0) return;
    if (m_bModeless) {
        PostMessage(WM_CLOSE);
    } else {
        EndDialog(IDCANCEL);
    }
}

HRESULT CDHtmlDialogBase::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    return S_OK;
}

void CDHtmlDialogBase::OnClose() {
    // The default handling may already destroy the window (and with it this object).
    HWND window = m_hWnd;
    bool modeless = m_bModeless;
    Default();
    if (modeless && ::IsWindow(window)) ::DestroyWindow(window);
}
