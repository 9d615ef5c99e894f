#include "MessengerDlg.h"

#include "resource.h"

IMPLEMENT_DYNAMIC(CMessengerDlg, CFrameWnd)

bool CMessengerDlg::CreateHidden(CWnd* parent) {
    HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_TRAY));
    const char* windowClass =
        AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), icon);
    return CreateEx(0, windowClass, "", WS_POPUP, 0, 0, 0, 0, parent ? parent->m_hWnd : nullptr, nullptr);
}
