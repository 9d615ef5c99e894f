#include "options/AboutDlg.h"

#include "resource.h"
#include "shared/ModuleVersionInfo.h"

CAboutDlg::CAboutDlg(CWnd* parent)
    : CDHtmlDialogBase(IDR_HTML_ABOUT, IDR_TRAY, CSize(400, 290), parent),
      m_version(VersionText(AfxGetInstanceHandle())) {}

CString CAboutDlg::VersionText(HMODULE module) {
    CModuleVersionInfo info;
    info.Create(module);
    const VS_FIXEDFILEINFO& fixed = info.GetFixedFileInfo();
    CString format, text;
    format.LoadString(IDS_VERSION_TEXT);
    text.Format(format, (int)HIWORD(fixed.dwFileVersionMS), (int)LOWORD(fixed.dwFileVersionMS),
                (int)HIWORD(fixed.dwFileVersionLS), (int)LOWORD(fixed.dwFileVersionLS));
    return text;
}

void CAboutDlg::DoDataExchange(CDataExchange* dx) {
    CDHtmlDialogBase::DoDataExchange(dx);
    DDX_DHtml_ElementInnerText(dx, "version", m_version);
}
